#include "Routines_IFO.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

#include "Routines_Common.h"

using namespace quoril;

std::uint8_t IdentifyType(IfoStream& Stream)
{
    // A file must hold at least one byte more than its identifier.
    if (Stream.Size() <= 12) return Ifo_Type_Unknown;
    char Identifier[12];
    ReadBytes(Stream, Identifier, sizeof Identifier);
    if (std::memcmp(Identifier, "DVDVIDEO-VTS", 12) == 0) return Ifo_Type_VTS;
    if (std::memcmp(Identifier, "DVDVIDEO-VMG", 12) == 0) return Ifo_Type_VMG;
    return Ifo_Type_Unknown;
}

namespace {

constexpr std::int32_t Sector_Size = 2048;

// ---------------------------------------------------------------------------
// The table loops that both files share

// The file's stream as the loaders see it: a read that delivers fewer bytes
// than it asked for is noted. Missing bytes read as zero, and zeros can make
// a table cut short by the end of the file look whole: a count of 0 with a
// Last_Byte of 0 matches the one byte that was there, and a part list whose
// last title is empty ends where the seek to that title lands, wherever the
// file ends.
//
// The readers take every number through a primitive, one read of 1 to 4
// bytes per field. Passing each of those on to the file would cost two
// virtual calls per field; instead the file is read ahead a block at a time,
// and a read of a few bytes is served from the block. Positions, sizes and
// the bytes delivered are those of the file. When the load ends, the file
// stands where the last read ended, as if every read had gone to it.
class ShortReadWatch : public IfoStream {
public:
    explicit ShortReadWatch(IfoStream& File) : File(File), Pos(File.Position()) {}
    ShortReadWatch(const ShortReadWatch&) = delete;
    ShortReadWatch& operator=(const ShortReadWatch&) = delete;

    ~ShortReadWatch() override
    {
        try {
            File.Seek(Pos);
        } catch (...) {
            // The load is being abandoned for an error of its own; keep that one.
        }
    }

    std::int64_t Read(void* Buffer, std::int64_t Count) override
    {
        if (Pos >= Block_Start && Count <= Block_End - Pos) {
            const std::uint8_t* From = Block.data() + (Pos - Block_Start);
            switch (Count) {
            case 1: std::memcpy(Buffer, From, 1); Pos += 1; return 1;
            case 2: std::memcpy(Buffer, From, 2); Pos += 2; return 2;
            case 4: std::memcpy(Buffer, From, 4); Pos += 4; return 4;
            default: break;
            }
        }
        return ReadThroughBlock(static_cast<std::uint8_t*>(Buffer), Count);
    }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override
    {
        Forget();
        File.Seek(Pos);
        const std::int64_t Stored = File.Write(Buffer, Count);
        Pos = File.Position();
        return Stored;
    }
    std::int64_t Seek(std::int64_t Position) override { return Pos = File.Seek(Position); }
    std::int64_t Position() const override { return Pos; }
    std::int64_t Size() const override { return File.Size(); }

    bool Came_Up_Short = false;

private:
    static constexpr std::int64_t Block_Size = 8192;

    // Any other read: what the block holds of it, then the rest from the
    // file, through a fresh block unless the rest is a block or longer.
    [[gnu::noinline]] std::int64_t ReadThroughBlock(std::uint8_t* Buffer, std::int64_t Count)
    {
        if (Count <= 0) return 0;
        std::int64_t Delivered = 0;
        if (Pos >= Block_Start && Pos < Block_End) {
            Delivered = std::min(Count, Block_End - Pos);
            std::memcpy(Buffer, Block.data() + (Pos - Block_Start), static_cast<std::size_t>(Delivered));
        }
        const std::int64_t Rest = Count - Delivered;
        if (Rest > 0) {
            const std::int64_t At = Pos + Delivered;
            File.Seek(At);
            if (Rest >= Block_Size) {
                Delivered += std::clamp<std::int64_t>(File.Read(Buffer + Delivered, Rest), 0, Rest);
            } else {
                Block_Start = At;
                Block_End = At + std::clamp<std::int64_t>(File.Read(Block.data(), Block_Size), 0, Block_Size);
                const std::int64_t Taken = std::min(Rest, Block_End - At);
                std::memcpy(Buffer + Delivered, Block.data(), static_cast<std::size_t>(Taken));
                Delivered += Taken;
            }
        }
        Pos += Delivered;
        if (Delivered < Count) Came_Up_Short = true;
        return Delivered;
    }

    void Forget() { Block_Start = Block_End = 0; }

    IfoStream& File;
    std::int64_t Pos;
    std::int64_t Block_Start = 0;   // the file's bytes Block_Start up to Block_End are in Block
    std::int64_t Block_End = 0;
    std::array<std::uint8_t, Block_Size> Block;
};

// The file's stream as the writers see it. The writers put every number out
// through a primitive, one write of 1 to 4 bytes per field; the bytes of
// consecutive writes are gathered into a block instead and handed to the file
// a block at a time, when the writer moves elsewhere, and at the end. What
// the file holds in the end, and where it stands, are as if every write had
// gone to it. The writer must call Flush when done; a writer abandoned by an
// exception hands over what it gathered, as far as the file takes it.
class BlockWriter : public IfoStream {
public:
    explicit BlockWriter(IfoStream& File) : File(File), Block_Start(File.Position()) {}
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    ~BlockWriter() override
    {
        try {
            Flush();
        } catch (...) {
            // The writer is being abandoned for an error of its own; keep that one.
        }
    }

    std::int64_t Write(const void* Buffer, std::int64_t Count) override
    {
        if (Count <= Block_Size - Pending) {
            std::uint8_t* To = Block.data() + Pending;
            switch (Count) {
            case 1: std::memcpy(To, Buffer, 1); Pending += 1; return 1;
            case 2: std::memcpy(To, Buffer, 2); Pending += 2; return 2;
            case 4: std::memcpy(To, Buffer, 4); Pending += 4; return 4;
            default: break;
            }
        }
        return WriteThroughBlock(static_cast<const std::uint8_t*>(Buffer), Count);
    }
    [[gnu::noinline]] std::int64_t Read(void* Buffer, std::int64_t Count) override
    {
        Flush();
        const std::int64_t Delivered = File.Read(Buffer, Count);
        Block_Start = File.Position();
        return Delivered;
    }
    std::int64_t Seek(std::int64_t Position) override
    {
        Flush();
        return Block_Start = File.Seek(Position);
    }
    std::int64_t Position() const override { return Block_Start + Pending; }
    std::int64_t Size() const override
    {
        const std::int64_t Stored = File.Size();
        return Pending > 0 && Block_Start + Pending > Stored ? Block_Start + Pending : Stored;
    }

    // Hands the gathered bytes to the file, which then stands after them.
    void Flush()
    {
        if (Pending == 0) return;
        const std::int64_t Count = Pending;
        Pending = 0;
        File.Write(Block.data(), Count);
        Block_Start = File.Position();
    }

private:
    static constexpr std::int64_t Block_Size = 8192;

    // Any other write: into a fresh block, or straight to the file when it
    // is a block or longer.
    [[gnu::noinline]] std::int64_t WriteThroughBlock(const std::uint8_t* Buffer, std::int64_t Count)
    {
        if (Count <= 0) return 0;
        if (Count > Block_Size - Pending) Flush();
        if (Count >= Block_Size) {
            const std::int64_t Stored = File.Write(Buffer, Count);
            Block_Start = File.Position();
            return Stored;
        }
        std::memcpy(Block.data() + Pending, Buffer, static_cast<std::size_t>(Count));
        Pending += Count;
        return Count;
    }

    IfoStream& File;
    std::int64_t Block_Start;   // where the file stands, and where the gathered bytes go
    std::int64_t Pending = 0;   // bytes gathered in Block
    std::array<std::uint8_t, Block_Size> Block;
};

// Reads one table at its start sector and judges it: the flag stays true when
// the bytes consumed match the table's stored Last_Byte and the file held
// every byte that was read. A table whose start sector is 0 is absent and its
// part of the record is left as it was. Read gets the table's first byte and
// returns the Last_Byte it read.
template <class ReadTable>
void ReadTableAt(ShortReadWatch& Stream, std::uint32_t Start_Sector, bool& Flag, std::uint32_t& Last_Byte_Read,
                 ReadTable&& Read)
{
    Flag = true;
    if (Start_Sector == 0) return;
    const std::int32_t Base = static_cast<std::int32_t>(Start_Sector << 11);
    SeekStream(Stream, Base);
    Stream.Came_Up_Short = false;
    const std::uint32_t Stored_Last_Byte = Read(Base);
    const std::uint32_t Measured =
        static_cast<std::uint32_t>(StreamPos(Stream)) - static_cast<std::uint32_t>(Base) - 1u;
    Last_Byte_Read = Measured;
    if (Measured != Stored_Last_Byte || Stream.Came_Up_Short) Flag = false;
}

// Writes one present table from the current sector boundary, which becomes
// its start sector, patches its Last_Byte, and pads it with zero bytes up to
// the next sector boundary. The padding is 0 to 2047 bytes: a table that ends
// exactly on a boundary is followed directly by the next table, as authoring
// tools lay discs out; a whole extra sector would make the file one sector
// longer than the VOB start sectors in its header allow for. Write gets the
// table's first byte and returns the position of its Last_Byte field.
template <class WriteTable>
void WriteTableAt(IfoStream& Stream, std::uint32_t& Start_Sector, std::int32_t& Next_Sector, WriteTable&& Write)
{
    if (Start_Sector == 0) return;
    Start_Sector = static_cast<std::uint32_t>(Next_Sector);
    const std::int32_t Table_Start = StreamPos(Stream);
    const std::int32_t Last_Byte_Position = Write(Table_Start);
    PatchLastByte(Stream, Table_Start, Last_Byte_Position);
    const std::int32_t End = StreamPos(Stream);
    Next_Sector = (End + Sector_Size - 1) / Sector_Size;
    WriteFill(Stream, 0, Next_Sector * Sector_Size - End);
}

// The table loops' views of the codecs that read a table by name and keep
// its Last_Byte in the record ...
template <class Table, class Codec>
auto ReadWith(IfoStream& Stream, Table& Data, std::string_view Name, Codec Read)
{
    return [&Stream, &Data, Name, Read](std::int32_t) {
        Read(Stream, Data, Name);
        return Data.Last_Byte;
    };
}

// ... and of those that write a table and report where its Last_Byte is.
template <class Table, class Codec>
auto WriteWith(IfoStream& Stream, const Table& Data, Codec Write)
{
    return [&Stream, &Data, Write](std::int32_t) {
        std::int32_t Table_Start = 0, Last_Byte_Position = 0;
        Write(Stream, Data, Table_Start, Last_Byte_Position);
        return Last_Byte_Position;
    };
}

[[noreturn]] void RefuseLength(std::string_view Table, const std::string& What)
{
    throw std::range_error(std::string(Table) + ": " + What);
}

// Seek-based tables (part lists, time maps) may point many entries at the same
// bytes; the arrays they ask for together must still fit into the stream.
class ArrayBudget {
public:
    ArrayBudget(IfoStream& Stream, std::string_view Table, std::string_view Field)
        : Left(Stream.Size() < 0 ? 0 : static_cast<std::uint64_t>(Stream.Size())), Table(Table), Field(Field) {}

    void Spend(std::uint64_t Bytes)
    {
        if (Bytes > Left)
            RefuseLength(Table, "its " + std::string(Field) + " need more bytes than the whole stream holds");
        Left -= Bytes;
    }

private:
    std::uint64_t Left;
    std::string_view Table;
    std::string_view Field;
};

}  // namespace

// ---------------------------------------------------------------------------
// Title set information file

namespace {

std::uint32_t ReadPTT_SRPT(IfoStream& Stream, VTS_PTT_SRPT& Table, std::int32_t Base)
{
    ReadTableHeader(Stream, Table.Number_of_Titles, Table.Reserved, Table.Last_Byte);
    const std::uint16_t Titles = Table.Number_of_Titles;
    SizeArray(Stream, Table.Title_Offsets, Titles, 4, "PTT_SRPT", "Title_Offsets");
    for (std::uint32_t& Offset : Table.Title_Offsets) ReadDWord(Stream, Offset);

    // The table stores no count of parts: a title's list runs from its offset
    // to the next title's offset, the last one's to Last_Byte inclusive.
    SizeArray(Stream, Table.Parts, Titles, 4, "PTT_SRPT", "Parts");
    ArrayBudget Budget(Stream, "PTT_SRPT", "part lists");
    for (std::size_t K = 0; K < Titles; ++K) {
        const std::uint32_t This = Table.Title_Offsets[K];
        const std::uint32_t Next = K + 1 < Titles ? Table.Title_Offsets[K + 1] : Table.Last_Byte;
        SeekStream(Stream, static_cast<std::int32_t>(static_cast<std::uint32_t>(Base) + This));
        // Unsigned: offsets that decrease wrap to a count no stream can hold.
        const std::uint32_t Count = (Next - This + 1u) >> 2;
        SizeArray(Stream, Table.Parts[K], Count, 4, "PTT_SRPT", "Parts[" + std::to_string(K) + "]");
        Budget.Spend(std::uint64_t{Count} * 4);
        for (PTT_SRP& Part : Table.Parts[K]) {
            ReadWord(Stream, Part.PGCN);
            ReadWord(Stream, Part.PGN);
        }
    }
    return Table.Last_Byte;
}

std::uint32_t ReadTMAPT(IfoStream& Stream, VTS_TMAPT& Table, std::int32_t Base)
{
    ReadTableHeader(Stream, Table.Number_of_TMAPs, Table.Reserved, Table.Last_Byte);
    SizeArray(Stream, Table.TMAP_Offsets, Table.Number_of_TMAPs, 4, "TMAPT", "TMAP_Offsets");
    for (std::uint32_t& Offset : Table.TMAP_Offsets) ReadDWord(Stream, Offset);

    SizeArray(Stream, Table.TMAPs, Table.Number_of_TMAPs, 4, "TMAPT", "TMAPs");
    ArrayBudget Budget(Stream, "TMAPT", "time map entries");
    for (std::size_t I = 0; I < Table.TMAPs.size(); ++I) {
        TMAP& Map = Table.TMAPs[I];
        SeekStream(Stream, static_cast<std::int32_t>(static_cast<std::uint32_t>(Base) + Table.TMAP_Offsets[I]));
        ReadByte(Stream, Map.Time_Unit);
        ReadByte(Stream, Map.Reserved);
        ReadWord(Stream, Map.Number_of_Entries);
        if (Map.Number_of_Entries == 0) continue;   // an empty map keeps the entries the record held
        SizeArray(Stream, Map.Entries, Map.Number_of_Entries, 4, "TMAPT", "TMAPs[" + std::to_string(I) + "].Entries");
        Budget.Spend(std::uint64_t{Map.Number_of_Entries} * 4);
        for (std::uint32_t& Entry : Map.Entries) ReadDWord(Stream, Entry);
    }
    return Table.Last_Byte;
}

void ReadVTSHeader(IfoStream& Stream, VTS& Record)
{
    SeekStream(Stream, 0);
    ReadBytes(Stream, Record.Identifier);
    ReadDWord(Stream, Record.Last_Sector_of_VTS);
    ReadBytes(Stream, Record.Reserved_1);
    ReadDWord(Stream, Record.Last_Sector_of_VTSI);
    ReadByte(Stream, Record.Reserved_2);
    ReadByte(Stream, Record.Version);
    ReadDWord(Stream, Record.VTS_Category);
    ReadBytes(Stream, Record.Reserved_3);
    ReadDWord(Stream, Record.Last_Byte_of_VTSI_MAT);
    ReadBytes(Stream, Record.Reserved_4);
    ReadDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    ReadDWord(Stream, Record.Start_Sector_of_Title_VOBS);
    ReadDWord(Stream, Record.Start_Sector_of_PTT_SRPT);
    ReadDWord(Stream, Record.Start_Sector_of_PGCIT);
    ReadDWord(Stream, Record.Start_Sector_of_VTSM_PGCI_UT);
    ReadDWord(Stream, Record.Start_Sector_of_TMAPT);
    ReadDWord(Stream, Record.Start_Sector_of_VTSM_C_ADT);
    ReadDWord(Stream, Record.Start_Sector_of_VTSM_VOBU_ADMAP);
    ReadDWord(Stream, Record.Start_Sector_of_VTS_C_ADT);
    ReadDWord(Stream, Record.Start_Sector_of_VTS_VOBU_ADMAP);
    ReadBytes(Stream, Record.Reserved_5);
    ReadMenuAttributes(Stream, Record.Menu_Attributes);
    ReadTitleSetAttributes(Stream, Record.Title_Set_Attributes);
    ReadBytes(Stream, Record.Reserved_6);
}

void WriteVTSHeader(IfoStream& Stream, const VTS& Record)
{
    SeekStream(Stream, 0);
    WriteBytes(Stream, Record.Identifier);
    WriteDWord(Stream, Record.Last_Sector_of_VTS);
    WriteBytes(Stream, Record.Reserved_1);
    WriteDWord(Stream, Record.Last_Sector_of_VTSI);
    WriteByte(Stream, Record.Reserved_2);
    WriteByte(Stream, Record.Version);
    WriteDWord(Stream, Record.VTS_Category);
    WriteBytes(Stream, Record.Reserved_3);
    WriteDWord(Stream, Record.Last_Byte_of_VTSI_MAT);
    WriteBytes(Stream, Record.Reserved_4);
    WriteDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    WriteDWord(Stream, Record.Start_Sector_of_Title_VOBS);
    WriteDWord(Stream, Record.Start_Sector_of_PTT_SRPT);
    WriteDWord(Stream, Record.Start_Sector_of_PGCIT);
    WriteDWord(Stream, Record.Start_Sector_of_VTSM_PGCI_UT);
    WriteDWord(Stream, Record.Start_Sector_of_TMAPT);
    WriteDWord(Stream, Record.Start_Sector_of_VTSM_C_ADT);
    WriteDWord(Stream, Record.Start_Sector_of_VTSM_VOBU_ADMAP);
    WriteDWord(Stream, Record.Start_Sector_of_VTS_C_ADT);
    WriteDWord(Stream, Record.Start_Sector_of_VTS_VOBU_ADMAP);
    WriteBytes(Stream, Record.Reserved_5);
    WriteMenuAttributes(Stream, Record.Menu_Attributes);
    WriteTitleSetAttributes(Stream, Record.Title_Set_Attributes);
    WriteBytes(Stream, Record.Reserved_6);
}

std::int32_t WritePTT_SRPT(IfoStream& Stream, const VTS_PTT_SRPT& Table, std::int32_t Table_Start)
{
    const std::int32_t Last_Byte_Position = WriteTableHeader(Stream, Table.Number_of_Titles,
            Table.Reserved, Table.Last_Byte);
    const std::int32_t First_Offset = StreamPos(Stream);
    for (std::uint32_t Offset : Table.Title_Offsets) WriteDWord(Stream, Offset);

    PatchList Patches;
    for (std::size_t K = 0; K < Table.Parts.size(); ++K) {
        Patches.AddDWord(First_Offset + static_cast<std::int32_t>(4 * K),
                         static_cast<std::uint32_t>(StreamPos(Stream) - Table_Start));
        for (const PTT_SRP& Part : Table.Parts[K]) {
            WriteWord(Stream, Part.PGCN);
            WriteWord(Stream, Part.PGN);
        }
    }
    Patches.Apply(Stream);
    return Last_Byte_Position;
}

std::int32_t WriteTMAPT(IfoStream& Stream, const VTS_TMAPT& Table, std::int32_t Table_Start)
{
    const std::int32_t Last_Byte_Position = WriteTableHeader(Stream, Table.Number_of_TMAPs,
            Table.Reserved, Table.Last_Byte);
    const std::int32_t First_Offset = StreamPos(Stream);
    for (std::size_t I = 0; I < Table.TMAPs.size(); ++I) WriteDWord(Stream, Table.TMAP_Offsets[I]);

    PatchList Patches;
    for (std::size_t I = 0; I < Table.TMAPs.size(); ++I) {
        const TMAP& Map = Table.TMAPs[I];
        Patches.AddDWord(First_Offset + static_cast<std::int32_t>(4 * I),
                         static_cast<std::uint32_t>(StreamPos(Stream) - Table_Start));
        WriteByte(Stream, Map.Time_Unit);
        WriteByte(Stream, Map.Reserved);
        WriteWord(Stream, Map.Number_of_Entries);
        for (std::size_t J = 0; J < Map.Number_of_Entries; ++J) WriteDWord(Stream, Map.Entries[J]);
    }
    Patches.Apply(Stream);
    return Last_Byte_Position;
}

// The record must describe what the writer lays out: counts equal to the
// arrays they count, chains whose layout fits their 16-bit fields. Only the
// tables that will be written are checked; an absent table may hold anything.
void CheckVTSForWriting(const VTS& Record)
{
    if (Record.Start_Sector_of_PTT_SRPT != 0) {
        const VTS_PTT_SRPT& Table = Record.PTT_SRPT;
        CheckCounts("PTT_SRPT", "Number_of_Titles", Table.Number_of_Titles, "Title_Offsets", Table.Title_Offsets.size());
        CheckCounts("PTT_SRPT", "Number_of_Titles", Table.Number_of_Titles, "Parts", Table.Parts.size());
    }
    if (Record.Start_Sector_of_PGCIT != 0) CheckPGCListForWriting(Record.PGCIT, "PGCIT");
    if (Record.Start_Sector_of_VTSM_PGCI_UT != 0) CheckPGCI_UTForWriting(Record.VTSM_PGCI_UT, "VTSM_PGCI_UT");
    if (Record.Start_Sector_of_TMAPT != 0) {
        const VTS_TMAPT& Table = Record.TMAPT;
        CheckCounts("TMAPT", "Number_of_TMAPs", Table.Number_of_TMAPs, "TMAP_Offsets", Table.TMAP_Offsets.size());
        CheckCounts("TMAPT", "Number_of_TMAPs", Table.Number_of_TMAPs, "TMAPs", Table.TMAPs.size());
        // A map read with no entries keeps the entries it held before, so
        // the array may be longer than its count; it may not be shorter.
        for (std::size_t I = 0; I < Table.TMAPs.size(); ++I)
            CheckHolds("TMAPT.TMAPs[" + std::to_string(I) + "]", "Entries", Table.TMAPs[I].Entries.size(),
                       "Number_of_Entries", Table.TMAPs[I].Number_of_Entries);
    }
}

}  // namespace

void LoadIfoVTS(IfoStream& File, VTS& Record)
{
    ShortReadWatch Stream(File);
    ReadVTSHeader(Stream, Record);
    std::uint32_t& Measured = Record.Last_Byte_Read;

    ReadTableAt(Stream, Record.Start_Sector_of_PTT_SRPT, Record.PTT_SRPT_OK, Measured,
                [&](std::int32_t Base) { return ReadPTT_SRPT(Stream, Record.PTT_SRPT, Base); });
    ReadTableAt(Stream, Record.Start_Sector_of_PGCIT, Record.PGCIT_OK, Measured,
                ReadWith(Stream, Record.PGCIT, "PGCIT", ReadPGCList<VTS_PGCIT>));
    ReadTableAt(Stream, Record.Start_Sector_of_VTSM_PGCI_UT, Record.VTSM_PGCI_UT_OK, Measured,
                ReadWith(Stream, Record.VTSM_PGCI_UT, "VTSM_PGCI_UT", ReadPGCI_UT));
    ReadTableAt(Stream, Record.Start_Sector_of_TMAPT, Record.TMAPT_OK, Measured,
                [&](std::int32_t Base) { return ReadTMAPT(Stream, Record.TMAPT, Base); });
    ReadTableAt(Stream, Record.Start_Sector_of_VTSM_C_ADT, Record.VTSM_C_ADT_OK, Measured,
                ReadWith(Stream, Record.VTSM_C_ADT, "VTSM_C_ADT", ReadC_ADT));
    ReadTableAt(Stream, Record.Start_Sector_of_VTSM_VOBU_ADMAP, Record.VTSM_VOBU_ADMAP_OK, Measured,
                ReadWith(Stream, Record.VTSM_VOBU_ADMAP, "VTSM_VOBU_ADMAP", ReadVOBU_ADMAP));
    ReadTableAt(Stream, Record.Start_Sector_of_VTS_C_ADT, Record.VTS_C_ADT_OK, Measured,
                ReadWith(Stream, Record.VTS_C_ADT, "VTS_C_ADT", ReadC_ADT));
    ReadTableAt(Stream, Record.Start_Sector_of_VTS_VOBU_ADMAP, Record.VTS_VOBU_ADMAP_OK, Measured,
                ReadWith(Stream, Record.VTS_VOBU_ADMAP, "VTS_VOBU_ADMAP", ReadVOBU_ADMAP));
}

void MakeIfoVTS(IfoStream& File, const VTS& Record)
{
    CheckVTSForWriting(Record);
    BlockWriter Stream(File);

    // The writer's own copy of the header fields it recomputes.
    std::uint32_t Start_Sector_of_PTT_SRPT = Record.Start_Sector_of_PTT_SRPT;
    std::uint32_t Start_Sector_of_PGCIT = Record.Start_Sector_of_PGCIT;
    std::uint32_t Start_Sector_of_VTSM_PGCI_UT = Record.Start_Sector_of_VTSM_PGCI_UT;
    std::uint32_t Start_Sector_of_TMAPT = Record.Start_Sector_of_TMAPT;
    std::uint32_t Start_Sector_of_VTSM_C_ADT = Record.Start_Sector_of_VTSM_C_ADT;
    std::uint32_t Start_Sector_of_VTSM_VOBU_ADMAP = Record.Start_Sector_of_VTSM_VOBU_ADMAP;
    std::uint32_t Start_Sector_of_VTS_C_ADT = Record.Start_Sector_of_VTS_C_ADT;
    std::uint32_t Start_Sector_of_VTS_VOBU_ADMAP = Record.Start_Sector_of_VTS_VOBU_ADMAP;

    WriteVTSHeader(Stream, Record);
    std::int32_t Next_Sector = 1;

    WriteTableAt(Stream, Start_Sector_of_PTT_SRPT, Next_Sector,
                 [&](std::int32_t Start) { return WritePTT_SRPT(Stream, Record.PTT_SRPT, Start); });
    WriteTableAt(Stream, Start_Sector_of_PGCIT, Next_Sector,
                 WriteWith(Stream, Record.PGCIT, WritePGCList<VTS_PGCIT>));
    WriteTableAt(Stream, Start_Sector_of_VTSM_PGCI_UT, Next_Sector,
                 WriteWith(Stream, Record.VTSM_PGCI_UT, WritePGCI_UT));
    WriteTableAt(Stream, Start_Sector_of_TMAPT, Next_Sector,
                 [&](std::int32_t Start) { return WriteTMAPT(Stream, Record.TMAPT, Start); });
    WriteTableAt(Stream, Start_Sector_of_VTSM_C_ADT, Next_Sector,
                 WriteWith(Stream, Record.VTSM_C_ADT, WriteC_ADT));
    WriteTableAt(Stream, Start_Sector_of_VTSM_VOBU_ADMAP, Next_Sector,
                 WriteWith(Stream, Record.VTSM_VOBU_ADMAP, WriteVOBU_ADMAP));
    WriteTableAt(Stream, Start_Sector_of_VTS_C_ADT, Next_Sector,
                 WriteWith(Stream, Record.VTS_C_ADT, WriteC_ADT));
    WriteTableAt(Stream, Start_Sector_of_VTS_VOBU_ADMAP, Next_Sector,
                 WriteWith(Stream, Record.VTS_VOBU_ADMAP, WriteVOBU_ADMAP));

    // The header patch: the file's last sector and the table start sectors.
    // The VOB set start sectors stay as the record holds them.
    SeekStream(Stream, 0x01C);
    WriteDWord(Stream, static_cast<std::uint32_t>(Next_Sector - 1));
    SeekStream(Stream, 0x0C0);
    WriteDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    WriteDWord(Stream, Record.Start_Sector_of_Title_VOBS);
    WriteDWord(Stream, Start_Sector_of_PTT_SRPT);
    WriteDWord(Stream, Start_Sector_of_PGCIT);
    WriteDWord(Stream, Start_Sector_of_VTSM_PGCI_UT);
    WriteDWord(Stream, Start_Sector_of_TMAPT);
    WriteDWord(Stream, Start_Sector_of_VTSM_C_ADT);
    WriteDWord(Stream, Start_Sector_of_VTSM_VOBU_ADMAP);
    WriteDWord(Stream, Start_Sector_of_VTS_C_ADT);
    WriteDWord(Stream, Start_Sector_of_VTS_VOBU_ADMAP);
    Stream.Flush();
}

// ---------------------------------------------------------------------------
// Video manager information file

namespace {

constexpr std::int32_t First_Play_PGC_Start = 1024;

void ReadVMGHeader(IfoStream& Stream, VMG& Record)
{
    SeekStream(Stream, 0);
    ReadBytes(Stream, Record.Identifier);
    ReadDWord(Stream, Record.Last_Sector_of_VMG);
    ReadBytes(Stream, Record.Reserved_1);
    ReadDWord(Stream, Record.Last_Sector_of_VMGI);
    ReadByte(Stream, Record.Reserved_2);
    ReadByte(Stream, Record.Version);
    ReadByte(Stream, Record.Reserved_3);
    ReadByte(Stream, Record.Region_Mask);
    ReadWord(Stream, Record.Reserved_4);
    ReadWord(Stream, Record.Number_of_Volumes);
    ReadWord(Stream, Record.Volume_Number);
    ReadByte(Stream, Record.Side_ID);
    ReadBytes(Stream, Record.Reserved_5);
    ReadWord(Stream, Record.Number_of_Title_Sets);
    ReadBytes(Stream, Record.Provider_Identifier);
    ReadBytes(Stream, Record.POS_Code);
    ReadBytes(Stream, Record.Reserved_6);
    ReadDWord(Stream, Record.Last_Byte_of_VMGI_MAT);
    ReadDWord(Stream, Record.Start_Byte_of_First_Play_PGC);
    ReadBytes(Stream, Record.Reserved_7);
    ReadDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    ReadDWord(Stream, Record.Start_Sector_of_TT_SRPT);
    ReadDWord(Stream, Record.Start_Sector_of_VMGM_PGCI_UT);
    ReadDWord(Stream, Record.Start_Sector_of_PTL_MAIT);
    ReadDWord(Stream, Record.Start_Sector_of_VTS_ATRT);
    ReadDWord(Stream, Record.Start_Sector_of_TXTDT_MGI);
    ReadDWord(Stream, Record.Start_Sector_of_VMGM_C_ADT);
    ReadDWord(Stream, Record.Start_Sector_of_VMGM_VOBU_ADMAP);
    ReadBytes(Stream, Record.Reserved_8);
    ReadMenuAttributes(Stream, Record.Menu_Attributes);
    ReadBytes(Stream, Record.Reserved_9);
}

void WriteVMGHeader(IfoStream& Stream, const VMG& Record)
{
    SeekStream(Stream, 0);
    WriteBytes(Stream, Record.Identifier);
    WriteDWord(Stream, Record.Last_Sector_of_VMG);
    WriteBytes(Stream, Record.Reserved_1);
    WriteDWord(Stream, Record.Last_Sector_of_VMGI);
    WriteByte(Stream, Record.Reserved_2);
    WriteByte(Stream, Record.Version);
    WriteByte(Stream, Record.Reserved_3);
    WriteByte(Stream, Record.Region_Mask);
    WriteWord(Stream, Record.Reserved_4);
    WriteWord(Stream, Record.Number_of_Volumes);
    WriteWord(Stream, Record.Volume_Number);
    WriteByte(Stream, Record.Side_ID);
    WriteBytes(Stream, Record.Reserved_5);
    WriteWord(Stream, Record.Number_of_Title_Sets);
    WriteBytes(Stream, Record.Provider_Identifier);
    WriteBytes(Stream, Record.POS_Code);
    WriteBytes(Stream, Record.Reserved_6);
    WriteDWord(Stream, Record.Last_Byte_of_VMGI_MAT);
    WriteDWord(Stream, Record.Start_Byte_of_First_Play_PGC);
    WriteBytes(Stream, Record.Reserved_7);
    WriteDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    WriteDWord(Stream, Record.Start_Sector_of_TT_SRPT);
    WriteDWord(Stream, Record.Start_Sector_of_VMGM_PGCI_UT);
    WriteDWord(Stream, Record.Start_Sector_of_PTL_MAIT);
    WriteDWord(Stream, Record.Start_Sector_of_VTS_ATRT);
    WriteDWord(Stream, Record.Start_Sector_of_TXTDT_MGI);
    WriteDWord(Stream, Record.Start_Sector_of_VMGM_C_ADT);
    WriteDWord(Stream, Record.Start_Sector_of_VMGM_VOBU_ADMAP);
    WriteBytes(Stream, Record.Reserved_8);
    WriteMenuAttributes(Stream, Record.Menu_Attributes);
    WriteBytes(Stream, Record.Reserved_9);
}

// The bytes from the end of the first-play chain up to the title search
// pointer table, carried verbatim.
void ReadBytesAfterFirstPlayPGC(IfoStream& Stream, VMG& Record)
{
    const std::int32_t Position = StreamPos(Stream);
    const auto Length = static_cast<std::int32_t>((Record.Start_Sector_of_TT_SRPT << 11) -
                                                  static_cast<std::uint32_t>(Position));
    // Without a title search pointer table there is nothing to load. The
    // length is negative then, except for an empty stream, where nothing was
    // read and the position is still 0.
    if (Record.Start_Sector_of_TT_SRPT == 0)
        RefuseLength("Bytes_after_First_Play_PGC",
                     "Start_Sector_of_TT_SRPT is 0, so the bytes after the first-play PGC have no end "
                     "(the file has no title search pointer table)");
    if (Length < 0)
        RefuseLength("Bytes_after_First_Play_PGC",
                     "negative length " + std::to_string(Length) + ": the first-play PGC ends at byte " +
                         std::to_string(Position) + ", after the first byte of the TT_SRPT's sector " +
                         std::to_string(Record.Start_Sector_of_TT_SRPT));
    SizeArray(Stream, Record.Bytes_after_First_Play_PGC, static_cast<std::uint64_t>(Length), 1,
              "Bytes_after_First_Play_PGC", "bytes");
    ReadBytes(Stream, Record.Bytes_after_First_Play_PGC.data(), Length);
}

std::uint32_t ReadTT_SRPT(IfoStream& Stream, TT_SRPT& Table)
{
    ReadTableHeader(Stream, Table.Number_of_Titles, Table.Reserved, Table.Last_Byte);
    SizeArray(Stream, Table.Titles, Table.Number_of_Titles, 12, "VMG_TT_SRPT", "Titles");
    for (TT_SRP& Title : Table.Titles) {
        ReadByte(Stream, Title.Title_Type);
        ReadByte(Stream, Title.Number_of_Angles);
        ReadWord(Stream, Title.Number_of_Chapters);
        ReadWord(Stream, Title.Parental_Mask);
        ReadByte(Stream, Title.VTS_Number);
        ReadByte(Stream, Title.VTS_Title_Number);
        ReadDWord(Stream, Title.Start_Sector_of_VTS);
    }
    return Table.Last_Byte;
}

std::uint32_t ReadPTL_MAIT(IfoStream& Stream, PTL_MAIT& Table, std::int32_t Base)
{
    ReadTableHeader(Stream, Table.Number_of_Countries, Table.Number_of_Title_Sets, Table.Last_Byte);
    SizeArray(Stream, Table.Countries, Table.Number_of_Countries, 8, "VMG_PTL_MAIT", "Countries");
    for (PTL_MAIT_SRP& Country : Table.Countries) {
        ReadWord(Stream, Country.Country_Code);
        ReadDWord(Stream, Country.Offset_of_PTL_MAI);
        ReadWord(Stream, Country.Reserved);
    }
    // Each country's masks: 8 rows of Number_of_Title_Sets + 1 masks.
    const std::uint32_t Masks = std::uint32_t{Table.Number_of_Title_Sets} + 1;
    SizeArray(Stream, Table.PTL_MAIs, Table.Number_of_Countries, 16 * std::uint64_t{Masks}, "VMG_PTL_MAIT",
              "PTL_MAIs");
    for (std::size_t I = 0; I < Table.PTL_MAIs.size(); ++I) {
        SeekStream(Stream, static_cast<std::int32_t>(static_cast<std::uint32_t>(Base) + Table.Countries[I].Offset_of_PTL_MAI));
        for (std::vector<std::uint16_t>& Row : Table.PTL_MAIs[I]) {
            Row.resize(Masks);
            for (std::uint16_t& Mask : Row) ReadWord(Stream, Mask);
        }
    }
    return Table.Last_Byte;
}

std::uint32_t ReadVTS_ATRT(IfoStream& Stream, VTS_ATRT& Table, std::int32_t Base)
{
    ReadTableHeader(Stream, Table.Number_of_Title_Sets, Table.Reserved, Table.Last_Byte);
    SizeArray(Stream, Table.VTS_ATR_Offsets, Table.Number_of_Title_Sets, 4, "VMG_VTS_ATRT", "VTS_ATR_Offsets");
    for (std::uint32_t& Offset : Table.VTS_ATR_Offsets) ReadDWord(Stream, Offset);
    SizeArray(Stream, Table.VTS_ATRs, Table.Number_of_Title_Sets, 776, "VMG_VTS_ATRT", "VTS_ATRs");
    for (std::size_t I = 0; I < Table.VTS_ATRs.size(); ++I) {
        VTS_ATR& Entry = Table.VTS_ATRs[I];
        SeekStream(Stream, static_cast<std::int32_t>(static_cast<std::uint32_t>(Base) + Table.VTS_ATR_Offsets[I]));
        ReadDWord(Stream, Entry.Last_Byte);
        ReadDWord(Stream, Entry.VTS_Category);
        ReadMenuAttributes(Stream, Entry.Menu_Attributes);
        ReadTitleSetAttributes(Stream, Entry.Title_Set_Attributes);
    }
    return Table.Last_Byte;
}

constexpr std::int32_t TXTDT_LU_Header_Size = 208;

std::uint32_t ReadTXTDT_MGI(IfoStream& Stream, TXTDT_MGI& Table)
{
    ReadBytes(Stream, Table.Text_Identifier);
    ReadByte(Stream, Table.Number_of_Language_Units);
    ReadDWord(Stream, Table.Last_Byte);
    SizeArray(Stream, Table.Language_Search_Pointers, Table.Number_of_Language_Units, 8, "VMG_TXTDT_MGI",
              "Language_Search_Pointers");
    for (TXTDT_LU_SRP& Pointer : Table.Language_Search_Pointers) {
        ReadWord(Stream, Pointer.Language_Code);
        ReadWord(Stream, Pointer.Character_Set);
        ReadDWord(Stream, Pointer.Offset_of_Language_Unit);
    }
    // The units follow the pointers back to back; each one's length is its
    // own Last_Byte + 1.
    SizeArray(Stream, Table.Language_Units, Table.Number_of_Language_Units, TXTDT_LU_Header_Size, "VMG_TXTDT_MGI",
              "Language_Units");
    for (std::size_t I = 0; I < Table.Language_Units.size(); ++I) {
        TXTDT_LU& Unit = Table.Language_Units[I];
        const std::string Where = "VMG_TXTDT_MGI.Language_Units[" + std::to_string(I) + "]";
        ReadDWord(Stream, Unit.Last_Byte);
        ReadWord(Stream, Unit.Header_Word_1);
        ReadWord(Stream, Unit.Header_Word_2);
        ReadBytes(Stream, Unit.Header_Bytes);
        ReadWord(Stream, Unit.Number_of_Items);
        ReadWord(Stream, Unit.Header_Word_3);
        SizeArray(Stream, Unit.Items, Unit.Number_of_Items, 4, Where, "Items");
        for (TXTDT_Item& Item : Unit.Items) {
            ReadByte(Stream, Item.Byte_1);
            ReadByte(Stream, Item.Byte_2);
            ReadByte(Stream, Item.Byte_3);
            ReadByte(Stream, Item.Byte_4);
        }
        // What is left of the unit after its header and items. Taken from
        // the counts rather than from how far the stream moved, which is the
        // same in a whole file; in a file cut inside the unit's header it
        // keeps the unit's Last_Byte describing what a writer lays out.
        const auto Text_Length = static_cast<std::int32_t>(Unit.Last_Byte + 1u - TXTDT_LU_Header_Size -
                                                           4u * Unit.Number_of_Items);
        if (Text_Length < 0)
            RefuseLength(Where, "negative Text length " + std::to_string(Text_Length) + ": Last_Byte " +
                                    std::to_string(Unit.Last_Byte) + " ends before the unit's header and " +
                                    std::to_string(Unit.Number_of_Items) + " items");
        SizeArray(Stream, Unit.Text, static_cast<std::uint64_t>(Text_Length), 1, Where, "Text");
        ReadBytes(Stream, Unit.Text.data(), Text_Length);
    }
    return Table.Last_Byte;
}

std::int32_t WriteTT_SRPT(IfoStream& Stream, const TT_SRPT& Table)
{
    const std::int32_t Last_Byte_Position = WriteTableHeader(Stream, Table.Number_of_Titles,
            Table.Reserved, Table.Last_Byte);
    for (std::size_t I = 0; I < Table.Number_of_Titles; ++I) {
        const TT_SRP& Title = Table.Titles[I];
        WriteByte(Stream, Title.Title_Type);
        WriteByte(Stream, Title.Number_of_Angles);
        WriteWord(Stream, Title.Number_of_Chapters);
        WriteWord(Stream, Title.Parental_Mask);
        WriteByte(Stream, Title.VTS_Number);
        WriteByte(Stream, Title.VTS_Title_Number);
        WriteDWord(Stream, Title.Start_Sector_of_VTS);
    }
    return Last_Byte_Position;
}

std::int32_t WritePTL_MAIT(IfoStream& Stream, const PTL_MAIT& Table, std::int32_t Table_Start)
{
    const std::int32_t Last_Byte_Position = WriteTableHeader(Stream, Table.Number_of_Countries,
            Table.Number_of_Title_Sets, Table.Last_Byte);
    std::vector<std::int32_t> Offset_Positions(Table.Number_of_Countries);
    for (std::size_t I = 0; I < Table.Number_of_Countries; ++I) {
        const PTL_MAIT_SRP& Country = Table.Countries[I];
        WriteWord(Stream, Country.Country_Code);
        Offset_Positions[I] = StreamPos(Stream);
        WriteDWord(Stream, Country.Offset_of_PTL_MAI);
        WriteWord(Stream, Country.Reserved);
    }
    // The countries' masks follow the pointers back to back, in country order.
    PatchList Patches;
    for (std::size_t I = 0; I < Table.Number_of_Countries; ++I) {
        Patches.AddDWord(Offset_Positions[I], static_cast<std::uint32_t>(StreamPos(Stream) - Table_Start));
        for (const std::vector<std::uint16_t>& Row : Table.PTL_MAIs[I])
            for (std::size_t K = 0; K <= Table.Number_of_Title_Sets; ++K) WriteWord(Stream, Row[K]);
    }
    Patches.Apply(Stream);
    return Last_Byte_Position;
}

std::int32_t WriteVTS_ATRT(IfoStream& Stream, const VTS_ATRT& Table, std::int32_t Table_Start)
{
    const std::int32_t Last_Byte_Position = WriteTableHeader(Stream, Table.Number_of_Title_Sets,
            Table.Reserved, Table.Last_Byte);
    const std::int32_t First_Offset = StreamPos(Stream);
    for (std::size_t I = 0; I < Table.Number_of_Title_Sets; ++I) WriteDWord(Stream, Table.VTS_ATR_Offsets[I]);

    PatchList Patches;
    for (std::size_t I = 0; I < Table.Number_of_Title_Sets; ++I) {
        const VTS_ATR& Entry = Table.VTS_ATRs[I];
        const std::int32_t Entry_Start = StreamPos(Stream);
        Patches.AddDWord(First_Offset + static_cast<std::int32_t>(4 * I),
                         static_cast<std::uint32_t>(Entry_Start - Table_Start));
        WriteDWord(Stream, Entry.Last_Byte);
        WriteDWord(Stream, Entry.VTS_Category);
        WriteMenuAttributes(Stream, Entry.Menu_Attributes);
        WriteTitleSetAttributes(Stream, Entry.Title_Set_Attributes);
        Patches.AddDWord(Entry_Start, static_cast<std::uint32_t>(StreamPos(Stream) - Entry_Start - 1));
    }
    Patches.Apply(Stream);
    return Last_Byte_Position;
}

std::int32_t WriteTXTDT_MGI(IfoStream& Stream, const TXTDT_MGI& Table, std::int32_t Table_Start)
{
    WriteBytes(Stream, Table.Text_Identifier);
    WriteByte(Stream, Table.Number_of_Language_Units);
    const std::int32_t Last_Byte_Position = StreamPos(Stream);
    WriteDWord(Stream, Table.Last_Byte);
    std::vector<std::int32_t> Offset_Positions(Table.Number_of_Language_Units);
    for (std::size_t I = 0; I < Table.Number_of_Language_Units; ++I) {
        const TXTDT_LU_SRP& Pointer = Table.Language_Search_Pointers[I];
        WriteWord(Stream, Pointer.Language_Code);
        WriteWord(Stream, Pointer.Character_Set);
        Offset_Positions[I] = StreamPos(Stream);
        WriteDWord(Stream, Pointer.Offset_of_Language_Unit);
    }
    // A unit's Last_Byte is carried as held: it matches the bytes written as
    // long as the Text keeps the length that the reader gave it.
    PatchList Patches;
    for (std::size_t I = 0; I < Table.Number_of_Language_Units; ++I) {
        const TXTDT_LU& Unit = Table.Language_Units[I];
        Patches.AddDWord(Offset_Positions[I], static_cast<std::uint32_t>(StreamPos(Stream) - Table_Start));
        WriteDWord(Stream, Unit.Last_Byte);
        WriteWord(Stream, Unit.Header_Word_1);
        WriteWord(Stream, Unit.Header_Word_2);
        WriteBytes(Stream, Unit.Header_Bytes);
        WriteWord(Stream, Unit.Number_of_Items);
        WriteWord(Stream, Unit.Header_Word_3);
        for (std::size_t J = 0; J < Unit.Number_of_Items; ++J) {
            const TXTDT_Item& Item = Unit.Items[J];
            WriteByte(Stream, Item.Byte_1);
            WriteByte(Stream, Item.Byte_2);
            WriteByte(Stream, Item.Byte_3);
            WriteByte(Stream, Item.Byte_4);
        }
        WriteBytes(Stream, Unit.Text.data(), static_cast<std::int32_t>(Unit.Text.size()));
    }
    Patches.Apply(Stream);
    return Last_Byte_Position;
}

// The record must describe what the writer lays out; see CheckVTSForWriting.
// Besides, the first table must begin on the sector boundary where the
// first-play chain and the bytes kept after it end.
void CheckVMGForWriting(const VMG& Record)
{
    CheckPGCForWriting(Record.First_Play_PGC, First_Play_PGC_Start, "First_Play_PGC");
    const std::int64_t End = First_Play_PGC_Start + PGCSizeInFile(Record.First_Play_PGC, First_Play_PGC_Start) +
                             static_cast<std::int64_t>(Record.Bytes_after_First_Play_PGC.size());
    if (End % Sector_Size != 0 || End < Sector_Size)
        RefuseRecord("Bytes_after_First_Play_PGC",
                     "the first-play PGC and the " + std::to_string(Record.Bytes_after_First_Play_PGC.size()) +
                         " bytes after it end at byte " + std::to_string(End) +
                         ", not on a sector boundary at or after byte 2048");

    // A video manager without its title search pointer table could not be
    // read back by any reader, this one included.
    if (Record.Start_Sector_of_TT_SRPT == 0)
        RefuseRecord("Start_Sector_of_TT_SRPT", "0, but a video manager must have a title search pointer table");
    CheckCounts("VMG_TT_SRPT", "Number_of_Titles", Record.VMG_TT_SRPT.Number_of_Titles, "Titles",
                Record.VMG_TT_SRPT.Titles.size());
    if (Record.Start_Sector_of_VMGM_PGCI_UT != 0) CheckPGCI_UTForWriting(Record.VMGM_PGCI_UT, "VMGM_PGCI_UT");
    if (Record.Start_Sector_of_PTL_MAIT != 0) {
        const PTL_MAIT& Table = Record.VMG_PTL_MAIT;
        CheckCounts("VMG_PTL_MAIT", "Number_of_Countries", Table.Number_of_Countries, "Countries",
                    Table.Countries.size());
        CheckCounts("VMG_PTL_MAIT", "Number_of_Countries", Table.Number_of_Countries, "PTL_MAIs",
                    Table.PTL_MAIs.size());
        for (std::size_t I = 0; I < Table.PTL_MAIs.size(); ++I)
            for (std::size_t R = 0; R < Table.PTL_MAIs[I].size(); ++R)
                CheckCounts("VMG_PTL_MAIT.PTL_MAIs[" + std::to_string(I) + "][" + std::to_string(R) + "]",
                            "Number_of_Title_Sets + 1", std::uint32_t{Table.Number_of_Title_Sets} + 1, "the row",
                            Table.PTL_MAIs[I][R].size());
    }
    if (Record.Start_Sector_of_VTS_ATRT != 0) {
        const VTS_ATRT& Table = Record.VMG_VTS_ATRT;
        CheckCounts("VMG_VTS_ATRT", "Number_of_Title_Sets", Table.Number_of_Title_Sets, "VTS_ATR_Offsets",
                    Table.VTS_ATR_Offsets.size());
        CheckCounts("VMG_VTS_ATRT", "Number_of_Title_Sets", Table.Number_of_Title_Sets, "VTS_ATRs",
                    Table.VTS_ATRs.size());
    }
    if (Record.Start_Sector_of_TXTDT_MGI != 0) {
        const TXTDT_MGI& Table = Record.VMG_TXTDT_MGI;
        CheckCounts("VMG_TXTDT_MGI", "Number_of_Language_Units", Table.Number_of_Language_Units,
                    "Language_Search_Pointers", Table.Language_Search_Pointers.size());
        CheckCounts("VMG_TXTDT_MGI", "Number_of_Language_Units", Table.Number_of_Language_Units, "Language_Units",
                    Table.Language_Units.size());
        for (std::size_t I = 0; I < Table.Language_Units.size(); ++I)
            CheckCounts("VMG_TXTDT_MGI.Language_Units[" + std::to_string(I) + "]", "Number_of_Items",
                        Table.Language_Units[I].Number_of_Items, "Items", Table.Language_Units[I].Items.size());
    }
}

}  // namespace

void LoadIfoVMG(IfoStream& File, VMG& Record)
{
    ShortReadWatch Stream(File);
    ReadVMGHeader(Stream, Record);
    ReadPGC(Stream, Record.First_Play_PGC, "First_Play_PGC");   // at byte 1024, where the header ends
    ReadBytesAfterFirstPlayPGC(Stream, Record);
    std::uint32_t& Measured = Record.Last_Byte_Read;

    ReadTableAt(Stream, Record.Start_Sector_of_TT_SRPT, Record.TT_SRPT_OK, Measured,
                [&](std::int32_t) { return ReadTT_SRPT(Stream, Record.VMG_TT_SRPT); });
    ReadTableAt(Stream, Record.Start_Sector_of_VMGM_PGCI_UT, Record.VMGM_PGCI_UT_OK, Measured,
                ReadWith(Stream, Record.VMGM_PGCI_UT, "VMGM_PGCI_UT", ReadPGCI_UT));
    ReadTableAt(Stream, Record.Start_Sector_of_PTL_MAIT, Record.PTL_MAIT_OK, Measured,
                [&](std::int32_t Base) { return ReadPTL_MAIT(Stream, Record.VMG_PTL_MAIT, Base); });
    ReadTableAt(Stream, Record.Start_Sector_of_VTS_ATRT, Record.VTS_ATRT_OK, Measured,
                [&](std::int32_t Base) { return ReadVTS_ATRT(Stream, Record.VMG_VTS_ATRT, Base); });
    ReadTableAt(Stream, Record.Start_Sector_of_TXTDT_MGI, Record.TXTDT_MGI_OK, Measured,
                [&](std::int32_t) { return ReadTXTDT_MGI(Stream, Record.VMG_TXTDT_MGI); });
    ReadTableAt(Stream, Record.Start_Sector_of_VMGM_C_ADT, Record.VMGM_C_ADT_OK, Measured,
                ReadWith(Stream, Record.VMGM_C_ADT, "VMGM_C_ADT", ReadC_ADT));
    ReadTableAt(Stream, Record.Start_Sector_of_VMGM_VOBU_ADMAP, Record.VMGM_VOBU_ADMAP_OK, Measured,
                ReadWith(Stream, Record.VMGM_VOBU_ADMAP, "VMGM_VOBU_ADMAP", ReadVOBU_ADMAP));
}

void MakeIfoVMG(IfoStream& File, const VMG& Record)
{
    CheckVMGForWriting(Record);
    BlockWriter Stream(File);

    std::uint32_t Start_Sector_of_TT_SRPT = Record.Start_Sector_of_TT_SRPT;
    std::uint32_t Start_Sector_of_VMGM_PGCI_UT = Record.Start_Sector_of_VMGM_PGCI_UT;
    std::uint32_t Start_Sector_of_PTL_MAIT = Record.Start_Sector_of_PTL_MAIT;
    std::uint32_t Start_Sector_of_VTS_ATRT = Record.Start_Sector_of_VTS_ATRT;
    std::uint32_t Start_Sector_of_TXTDT_MGI = Record.Start_Sector_of_TXTDT_MGI;
    std::uint32_t Start_Sector_of_VMGM_C_ADT = Record.Start_Sector_of_VMGM_C_ADT;
    std::uint32_t Start_Sector_of_VMGM_VOBU_ADMAP = Record.Start_Sector_of_VMGM_VOBU_ADMAP;

    WriteVMGHeader(Stream, Record);

    // The first-play chain goes out exactly as held: its offsets are not
    // recomputed, and nothing is patched in it.
    PGCPatchArray Positions{}, Values{};
    WritePGC(Stream, Record.First_Play_PGC, First_Play_PGC_Start, Positions, Values);
    WriteBytes(Stream, Record.Bytes_after_First_Play_PGC.data(),
               static_cast<std::int32_t>(Record.Bytes_after_First_Play_PGC.size()));
    std::int32_t Next_Sector = StreamPos(Stream) / Sector_Size;

    WriteTableAt(Stream, Start_Sector_of_TT_SRPT, Next_Sector,
                 [&](std::int32_t) { return WriteTT_SRPT(Stream, Record.VMG_TT_SRPT); });
    WriteTableAt(Stream, Start_Sector_of_VMGM_PGCI_UT, Next_Sector,
                 WriteWith(Stream, Record.VMGM_PGCI_UT, WritePGCI_UT));
    WriteTableAt(Stream, Start_Sector_of_PTL_MAIT, Next_Sector,
                 [&](std::int32_t Start) { return WritePTL_MAIT(Stream, Record.VMG_PTL_MAIT, Start); });
    WriteTableAt(Stream, Start_Sector_of_VTS_ATRT, Next_Sector,
                 [&](std::int32_t Start) { return WriteVTS_ATRT(Stream, Record.VMG_VTS_ATRT, Start); });
    WriteTableAt(Stream, Start_Sector_of_TXTDT_MGI, Next_Sector,
                 [&](std::int32_t Start) { return WriteTXTDT_MGI(Stream, Record.VMG_TXTDT_MGI, Start); });
    WriteTableAt(Stream, Start_Sector_of_VMGM_C_ADT, Next_Sector,
                 WriteWith(Stream, Record.VMGM_C_ADT, WriteC_ADT));
    WriteTableAt(Stream, Start_Sector_of_VMGM_VOBU_ADMAP, Next_Sector,
                 WriteWith(Stream, Record.VMGM_VOBU_ADMAP, WriteVOBU_ADMAP));

    // The header patch: the file's last sector at byte 28, the start sectors
    // from byte 192. The menu VOB set's start sector stays as held.
    SeekStream(Stream, 28);
    WriteDWord(Stream, static_cast<std::uint32_t>(Next_Sector - 1));
    SeekStream(Stream, 192);
    WriteDWord(Stream, Record.Start_Sector_of_Menu_VOBS);
    WriteDWord(Stream, Start_Sector_of_TT_SRPT);
    WriteDWord(Stream, Start_Sector_of_VMGM_PGCI_UT);
    WriteDWord(Stream, Start_Sector_of_PTL_MAIT);
    WriteDWord(Stream, Start_Sector_of_VTS_ATRT);
    WriteDWord(Stream, Start_Sector_of_TXTDT_MGI);
    WriteDWord(Stream, Start_Sector_of_VMGM_C_ADT);
    WriteDWord(Stream, Start_Sector_of_VMGM_VOBU_ADMAP);
    Stream.Flush();
}
