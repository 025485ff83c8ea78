// Stream primitives and the codecs of the structures that both kinds of
// information file contain.
//
// The primitives are the only place where bytes are converted: every 16-bit
// and 32-bit number of an IFO file is big-endian and is held in host order.
// Positions are 32-bit signed byte offsets from the start of the stream.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IfoStream.h"
#include "structures/Structure_Common.h"

namespace quoril {

// ---------------------------------------------------------------------------
// Stream primitives
//
// They are defined here, inline, because the readers and writers call them
// once for every field of a file: each then costs the stream's own Read or
// Write and the conversion, and no call of its own.

// Positions are 32-bit; one at or beyond 2 GiB (a start sector of 0x100000 or
// more shifted into bytes) is taken as the unsigned offset it stands for, so a
// seek never goes before the start of the stream.
inline void SeekStream(IfoStream& Stream, std::int32_t Position)
{
    Stream.Seek(static_cast<std::uint32_t>(Position));
}

inline std::int32_t StreamPos(IfoStream& Stream)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Stream.Position()));
}

// Bytes that a read cannot deliver (at or past the end of the stream) count
// as zero, so a truncated file reads as if it went on with zero bytes.
inline void ReadBytes(IfoStream& Stream, void* Buffer, std::int32_t Count)
{
    if (Count <= 0) return;
    const std::int64_t Delivered = Stream.Read(Buffer, Count);
    const std::int64_t Kept = Delivered < 0 ? 0 : (Delivered > Count ? Count : Delivered);
    if (Kept < Count) std::memset(static_cast<std::uint8_t*>(Buffer) + Kept, 0, static_cast<std::size_t>(Count - Kept));
}

inline void ReadByte(IfoStream& Stream, std::uint8_t& Value)
{
    ReadBytes(Stream, &Value, 1);
}

inline void ReadWord(IfoStream& Stream, std::uint16_t& Value)
{
    std::uint8_t Bytes[2];
    ReadBytes(Stream, Bytes, 2);
    Value = static_cast<std::uint16_t>(Bytes[0] << 8 | Bytes[1]);
}

// One read of four bytes delivers exactly what two reads of two bytes would,
// also at the end of the stream, where the missing bytes count as zero.
inline void ReadDWord(IfoStream& Stream, std::uint32_t& Value)
{
    std::uint8_t Bytes[4];
    ReadBytes(Stream, Bytes, 4);
    Value = static_cast<std::uint32_t>(Bytes[0]) << 24 | static_cast<std::uint32_t>(Bytes[1]) << 16 |
            static_cast<std::uint32_t>(Bytes[2]) << 8 | static_cast<std::uint32_t>(Bytes[3]);
}

template <std::size_t N>
void ReadBytes(IfoStream& Stream, std::array<std::uint8_t, N>& Field) { ReadBytes(Stream, Field.data(), N); }
template <std::size_t N>
void ReadBytes(IfoStream& Stream, std::array<char, N>& Field) { ReadBytes(Stream, Field.data(), N); }

inline void WriteBytes(IfoStream& Stream, const void* Buffer, std::int32_t Count)
{
    if (Count > 0) Stream.Write(Buffer, Count);
}

inline void WriteByte(IfoStream& Stream, std::uint8_t Value)
{
    WriteBytes(Stream, &Value, 1);
}

inline void WriteWord(IfoStream& Stream, std::uint16_t Value)
{
    const std::uint8_t Bytes[2] = {static_cast<std::uint8_t>(Value >> 8), static_cast<std::uint8_t>(Value)};
    WriteBytes(Stream, Bytes, 2);
}

inline void WriteDWord(IfoStream& Stream, std::uint32_t Value)
{
    const std::uint8_t Bytes[4] = {static_cast<std::uint8_t>(Value >> 24), static_cast<std::uint8_t>(Value >> 16),
                                   static_cast<std::uint8_t>(Value >> 8), static_cast<std::uint8_t>(Value)};
    WriteBytes(Stream, Bytes, 4);
}

template <std::size_t N>
void WriteBytes(IfoStream& Stream, const std::array<std::uint8_t, N>& Field) { WriteBytes(Stream, Field.data(), N); }
template <std::size_t N>
void WriteBytes(IfoStream& Stream, const std::array<char, N>& Field) { WriteBytes(Stream, Field.data(), N); }

// Writes Value Count times; nothing when Count is 0 or negative.
void WriteFill(IfoStream& Stream, std::uint8_t Value, std::int32_t Count);

// Stores (current position - Table_Start - 1), the offset of the last byte
// written from the table's first byte, into the 32-bit field at
// Last_Byte_Position, then returns to the current position.
void PatchLastByte(IfoStream& Stream, std::int32_t Table_Start, std::int32_t Last_Byte_Position);

// The 8-byte header that most tables begin with: a 16-bit count, a second
// 16-bit field (reserved in most tables), and the table's 32-bit Last_Byte.
void ReadTableHeader(IfoStream& Stream, std::uint16_t& Count, std::uint16_t& Second, std::uint32_t& Last_Byte);
// Writes the header with Last_Byte as a placeholder; returns the position of
// the Last_Byte field, for PatchLastByte once the table is complete.
std::int32_t WriteTableHeader(IfoStream& Stream, std::uint16_t Count, std::uint16_t Second, std::uint32_t Last_Byte);

// ---------------------------------------------------------------------------
// Array sizing against hostile counts

// Refuses, with std::range_error naming Table and Field, an array of Count
// elements that would need Count * BytesPerElement bytes of file when the
// whole stream holds fewer. A count read from a damaged file can then never
// make a loader allocate more than the file could describe.
void CheckArrayFits(IfoStream& Stream, std::uint64_t Count, std::uint64_t BytesPerElement,
                    std::string_view Table, std::string_view Field);

template <class T>
void SizeArray(IfoStream& Stream, std::vector<T>& Array, std::uint64_t Count, std::uint64_t BytesPerElement,
               std::string_view Table, std::string_view Field)
{
    CheckArrayFits(Stream, Count, BytesPerElement, Table, Field);
    Array.resize(static_cast<std::size_t>(Count));
}

// ---------------------------------------------------------------------------
// Refusal of records that a writer cannot lay out, before anything is written

// Throws std::invalid_argument("Where: What").
[[noreturn]] void RefuseRecord(const std::string& Where, const std::string& What);
// Refuses an array shorter than the count of entries that will be written from it.
void CheckHolds(const std::string& Where, std::string_view Array, std::size_t Length, std::string_view CountField,
                std::uint64_t Count);
// Refuses a count field that differs from the length of the array it counts.
void CheckCounts(const std::string& Where, std::string_view CountField, std::uint64_t Count, std::string_view Array,
                 std::size_t Length);

// ---------------------------------------------------------------------------
// Back-patching of offsets and end addresses

// Fields whose values become known only after the table that holds them is
// written. Apply() seeks to each, writes it, and returns to where it was.
class PatchList {
public:
    void AddWord(std::int32_t Position, std::uint16_t Value) { Patches.push_back({Position, Value, 2}); }
    void AddDWord(std::int32_t Position, std::uint32_t Value) { Patches.push_back({Position, Value, 4}); }
    void Apply(IfoStream& Stream) const;

private:
    struct Patch {
        std::int32_t Position;
        std::uint32_t Value;
        int Width;
    };
    std::vector<Patch> Patches;
};

// ---------------------------------------------------------------------------
// Program chain

// Slots of the patches that WritePGC hands back.
enum PGCPatchSlot { Slot_Command_Table = 0, Slot_Program_Map, Slot_Cell_Playback, Slot_Cell_Position,
                    Slot_Command_Table_Last_Byte };
using PGCPatchArray = std::array<std::int32_t, 5>;

// The size of a program chain in the file, in bytes.
constexpr std::int32_t PGC_Header_Size = 236;

// Table names the structure that holds the chain in the range error that
// refuses a count no stream of this size could hold.
void ReadPGC(IfoStream& Stream, PGC& Record, std::string_view Table = "PGC");
void WritePGC(IfoStream& Stream, const PGC& Record, std::int32_t PGC_Start,
              PGCPatchArray& Patch_Positions, PGCPatchArray& Patch_Values);

// Adds the chain's patches to List: each slot whose value is not 0, as a
// 16-bit value. A slot of value 0 keeps what WritePGC wrote there.
void AddPGCPatches(PatchList& List, const PGCPatchArray& Patch_Positions, const PGCPatchArray& Patch_Values);

// The number of bytes WritePGC writes for the chain when it begins at
// PGC_Start (the program map's filler byte depends on the position).
std::int64_t PGCSizeInFile(const PGC& Record, std::int64_t PGC_Start);

// Refuses, with std::invalid_argument naming Where and the field, a chain
// that WritePGC cannot write faithfully: an array shorter than its count, or
// a sub-table offset or command table end that does not fit its 16-bit field.
void CheckPGCForWriting(const PGC& Record, std::int64_t PGC_Start, const std::string& Where);

// ---------------------------------------------------------------------------
// Program chain lists: a PGCI_LU, and the title PGCIT of a title set, which
// has the same shape. Offset_of_PGC counts from the list's first byte.

template <class List>
void ReadPGCList(IfoStream& Stream, List& Record, std::string_view Table);

// Writes the list at the current position with every Offset_of_PGC and every
// chain's offsets patched, and reports where the list begins and where its
// Last_Byte field is, for PatchLastByte once the list is complete.
template <class List>
void WritePGCList(IfoStream& Stream, const List& Record, std::int32_t& Table_Start,
                  std::int32_t& Last_Byte_Position);

template <class List>
void CheckPGCListForWriting(const List& Record, const std::string& Where);

// ---------------------------------------------------------------------------
// Menu PGC information unit table (both files)

void ReadPGCI_UT(IfoStream& Stream, PGCI_UT& Record, std::string_view Table);
void WritePGCI_UT(IfoStream& Stream, const PGCI_UT& Record, std::int32_t& Table_Start,
                  std::int32_t& Last_Byte_Position);
void CheckPGCI_UTForWriting(const PGCI_UT& Record, const std::string& Table);

// ---------------------------------------------------------------------------
// Stream attribute blocks: 256 and 512 bytes, every byte carried.

void ReadMenuAttributes(IfoStream& Stream, MENU_ATTRIBUTES& Record);
void WriteMenuAttributes(IfoStream& Stream, const MENU_ATTRIBUTES& Record);
void ReadTitleSetAttributes(IfoStream& Stream, TITLE_SET_ATTRIBUTES& Record);
void WriteTitleSetAttributes(IfoStream& Stream, const TITLE_SET_ATTRIBUTES& Record);

// ---------------------------------------------------------------------------
// Cell address table and VOBU address map. The readers derive the number of
// entries from Last_Byte; the writers write every element and report the
// table's start and the position of its Last_Byte for PatchLastByte.

void ReadC_ADT(IfoStream& Stream, C_ADT& Record, std::string_view Table = "C_ADT");
void WriteC_ADT(IfoStream& Stream, const C_ADT& Record, std::int32_t& Table_Start, std::int32_t& Last_Byte_Position);
void ReadVOBU_ADMAP(IfoStream& Stream, VOBU_ADMAP& Record, std::string_view Table = "VOBU_ADMAP");
void WriteVOBU_ADMAP(IfoStream& Stream, const VOBU_ADMAP& Record, std::int32_t& Table_Start,
                     std::int32_t& Last_Byte_Position);

}  // namespace quoril
