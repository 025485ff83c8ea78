#include "Routines_Common.h"

#include <cstring>
#include <stdexcept>

#include "structures/Structure_IFO.h"

namespace quoril {

// ---------------------------------------------------------------------------
// Stream primitives

void WriteFill(IfoStream& Stream, std::uint8_t Value, std::int32_t Count)
{
    std::uint8_t Block[2048];
    std::memset(Block, Value, sizeof Block);
    while (Count > 0) {
        const std::int32_t Now = Count < 2048 ? Count : 2048;
        WriteBytes(Stream, Block, Now);
        Count -= Now;
    }
}

void PatchLastByte(IfoStream& Stream, std::int32_t Table_Start, std::int32_t Last_Byte_Position)
{
    const std::int32_t End = StreamPos(Stream);
    SeekStream(Stream, Last_Byte_Position);
    WriteDWord(Stream, static_cast<std::uint32_t>(End) - static_cast<std::uint32_t>(Table_Start) - 1u);
    SeekStream(Stream, End);
}

// ---------------------------------------------------------------------------
// Table headers

void ReadTableHeader(IfoStream& Stream, std::uint16_t& Count, std::uint16_t& Second, std::uint32_t& Last_Byte)
{
    ReadWord(Stream, Count);
    ReadWord(Stream, Second);
    ReadDWord(Stream, Last_Byte);
}

std::int32_t WriteTableHeader(IfoStream& Stream, std::uint16_t Count, std::uint16_t Second, std::uint32_t Last_Byte)
{
    WriteWord(Stream, Count);
    WriteWord(Stream, Second);
    const std::int32_t Last_Byte_Position = StreamPos(Stream);
    WriteDWord(Stream, Last_Byte);
    return Last_Byte_Position;
}

// ---------------------------------------------------------------------------
// Array sizing

void CheckArrayFits(IfoStream& Stream, std::uint64_t Count, std::uint64_t BytesPerElement,
                    std::string_view Table, std::string_view Field)
{
    const std::int64_t StreamSize = Stream.Size();
    const std::uint64_t Available = StreamSize < 0 ? 0 : static_cast<std::uint64_t>(StreamSize);
    // Count < 2^32 and BytesPerElement < 2^32 here, so the product cannot overflow.
    const std::uint64_t Needed = Count * BytesPerElement;
    if (Needed > Available) {
        throw std::range_error(std::string(Table) + ": " + std::string(Field) + " of " + std::to_string(Count) +
                               " entries needs " + std::to_string(Needed) +
                               " bytes, more than the whole stream holds (" + std::to_string(Available) + " bytes)");
    }
}

// ---------------------------------------------------------------------------
// Refusal of records that a writer cannot lay out

void RefuseRecord(const std::string& Where, const std::string& What)
{
    throw std::invalid_argument(Where + ": " + What);
}

void CheckHolds(const std::string& Where, std::string_view Array, std::size_t Length, std::string_view CountField,
                std::uint64_t Count)
{
    if (Length < Count)
        RefuseRecord(Where, std::string(Array) + " holds " + std::to_string(Length) + " entries but " +
                                std::string(CountField) + " is " + std::to_string(Count));
}

void CheckCounts(const std::string& Where, std::string_view CountField, std::uint64_t Count, std::string_view Array,
                 std::size_t Length)
{
    if (Length != Count)
        RefuseRecord(Where, std::string(CountField) + " is " + std::to_string(Count) + " but " + std::string(Array) +
                                " holds " + std::to_string(Length) + " entries");
}

namespace {

void CheckFits16(const std::string& Where, std::string_view Field, std::int64_t Value)
{
    if (Value > 0xFFFF)
        RefuseRecord(Where, std::string(Field) + " would be " + std::to_string(Value) +
                                ", which does not fit its 16-bit field");
}

}  // namespace

// ---------------------------------------------------------------------------
// Patches

void PatchList::Apply(IfoStream& Stream) const
{
    if (Patches.empty()) return;
    const std::int32_t End = StreamPos(Stream);
    for (const Patch& P : Patches) {
        SeekStream(Stream, P.Position);
        if (P.Width == 2) WriteWord(Stream, static_cast<std::uint16_t>(P.Value));
        else WriteDWord(Stream, P.Value);
    }
    SeekStream(Stream, End);
}

// ---------------------------------------------------------------------------
// Program chain

namespace {

template <std::size_t N, std::size_t M>
void ReadGroups(IfoStream& Stream, std::array<std::array<std::uint8_t, N>, M>& Groups)
{
    ReadBytes(Stream, Groups.data(), static_cast<std::int32_t>(N * M));
}

template <std::size_t N, std::size_t M>
void WriteGroups(IfoStream& Stream, const std::array<std::array<std::uint8_t, N>, M>& Groups)
{
    WriteBytes(Stream, Groups.data(), static_cast<std::int32_t>(N * M));
}

void ReadCommands(IfoStream& Stream, std::vector<VM_Command>& Commands, std::uint16_t Count, std::string_view Table,
                  std::string_view Field)
{
    if (Count == 0) return;   // an empty list keeps what the array held
    SizeArray(Stream, Commands, Count, 8, Table, Field);
    ReadBytes(Stream, Commands.data(), static_cast<std::int32_t>(Count) * 8);
}

void WriteCommands(IfoStream& Stream, const std::vector<VM_Command>& Commands, std::uint16_t Count)
{
    WriteBytes(Stream, Commands.data(), static_cast<std::int32_t>(Count) * 8);
}

}  // namespace

void ReadPGC(IfoStream& Stream, PGC& Record, std::string_view Table)
{
    ReadWord(Stream, Record.Reserved);
    ReadByte(Stream, Record.Number_of_Programs);
    ReadByte(Stream, Record.Number_of_Cells);
    ReadDWord(Stream, Record.Playback_Time);
    ReadDWord(Stream, Record.Prohibited_User_Operations);
    ReadGroups(Stream, Record.Audio_Stream_Control);
    ReadGroups(Stream, Record.Subpicture_Stream_Control);
    ReadWord(Stream, Record.Next_PGC_Number);
    ReadWord(Stream, Record.Previous_PGC_Number);
    ReadWord(Stream, Record.GoUp_PGC_Number);
    ReadByte(Stream, Record.Still_Time);
    ReadByte(Stream, Record.Playback_Mode);
    ReadGroups(Stream, Record.Palette);
    ReadWord(Stream, Record.Offset_of_Command_Table);
    ReadWord(Stream, Record.Offset_of_Program_Map);
    ReadWord(Stream, Record.Offset_of_Cell_Playback);
    ReadWord(Stream, Record.Offset_of_Cell_Position);

    // The offsets only say which sub-tables are present; they follow one
    // another in this order whatever the offsets hold.
    if (Record.Offset_of_Command_Table != 0) {
        ReadWord(Stream, Record.Number_of_Pre_Commands);
        ReadWord(Stream, Record.Number_of_Post_Commands);
        ReadWord(Stream, Record.Number_of_Cell_Commands);
        ReadWord(Stream, Record.Command_Table_Last_Byte);
        ReadCommands(Stream, Record.Pre_Commands, Record.Number_of_Pre_Commands, Table, "Pre_Commands");
        ReadCommands(Stream, Record.Post_Commands, Record.Number_of_Post_Commands, Table, "Post_Commands");
        ReadCommands(Stream, Record.Cell_Commands, Record.Number_of_Cell_Commands, Table, "Cell_Commands");
    }
    if (Record.Offset_of_Program_Map != 0) {
        SizeArray(Stream, Record.Program_Map, Record.Number_of_Programs, 1, Table, "Program_Map");
        ReadBytes(Stream, Record.Program_Map.data(), Record.Number_of_Programs);
        // A map ending at an odd position is followed by one filler byte.
        const std::int32_t Position = StreamPos(Stream);
        if (Position % 2 != 0) SeekStream(Stream, Position + 1);
    }
    if (Record.Offset_of_Cell_Playback != 0) {
        SizeArray(Stream, Record.Cell_Playback, Record.Number_of_Cells, 24, Table, "Cell_Playback");
        for (C_PBI& Cell : Record.Cell_Playback) {
            ReadByte(Stream, Cell.Category_Byte_1);
            ReadByte(Stream, Cell.Category_Byte_2);
            ReadByte(Stream, Cell.Still_Time);
            ReadByte(Stream, Cell.Command_Number);
            ReadDWord(Stream, Cell.Playback_Time);
            ReadDWord(Stream, Cell.First_VOBU_Start_Sector);
            ReadDWord(Stream, Cell.First_ILVU_End_Sector);
            ReadDWord(Stream, Cell.Last_VOBU_Start_Sector);
            ReadDWord(Stream, Cell.Last_VOBU_End_Sector);
        }
    }
    if (Record.Offset_of_Cell_Position != 0) {
        SizeArray(Stream, Record.Cell_Position, Record.Number_of_Cells, 4, Table, "Cell_Position");
        for (C_POSI& Cell : Record.Cell_Position) {
            ReadWord(Stream, Cell.VOB_ID);
            ReadByte(Stream, Cell.Reserved);
            ReadByte(Stream, Cell.Cell_ID);
        }
    }
}

void WritePGC(IfoStream& Stream, const PGC& Record, std::int32_t PGC_Start,
              PGCPatchArray& Patch_Positions, PGCPatchArray& Patch_Values)
{
    WriteWord(Stream, Record.Reserved);
    WriteByte(Stream, Record.Number_of_Programs);
    WriteByte(Stream, Record.Number_of_Cells);
    WriteDWord(Stream, Record.Playback_Time);
    WriteDWord(Stream, Record.Prohibited_User_Operations);
    WriteGroups(Stream, Record.Audio_Stream_Control);
    WriteGroups(Stream, Record.Subpicture_Stream_Control);
    WriteWord(Stream, Record.Next_PGC_Number);
    WriteWord(Stream, Record.Previous_PGC_Number);
    WriteWord(Stream, Record.GoUp_PGC_Number);
    WriteByte(Stream, Record.Still_Time);
    WriteByte(Stream, Record.Playback_Mode);
    WriteGroups(Stream, Record.Palette);
    Patch_Positions[Slot_Command_Table] = StreamPos(Stream);
    WriteWord(Stream, Record.Offset_of_Command_Table);
    Patch_Positions[Slot_Program_Map] = StreamPos(Stream);
    WriteWord(Stream, Record.Offset_of_Program_Map);
    Patch_Positions[Slot_Cell_Playback] = StreamPos(Stream);
    WriteWord(Stream, Record.Offset_of_Cell_Playback);
    Patch_Positions[Slot_Cell_Position] = StreamPos(Stream);
    WriteWord(Stream, Record.Offset_of_Cell_Position);

    // Which sub-tables are written is decided by the stored offsets; how many
    // entries, by the count fields.
    if (Record.Offset_of_Command_Table != 0) {
        const std::int32_t Start = StreamPos(Stream);
        Patch_Values[Slot_Command_Table] = Start - PGC_Start;
        WriteWord(Stream, Record.Number_of_Pre_Commands);
        WriteWord(Stream, Record.Number_of_Post_Commands);
        WriteWord(Stream, Record.Number_of_Cell_Commands);
        Patch_Positions[Slot_Command_Table_Last_Byte] = StreamPos(Stream);
        WriteWord(Stream, Record.Command_Table_Last_Byte);
        WriteCommands(Stream, Record.Pre_Commands, Record.Number_of_Pre_Commands);
        WriteCommands(Stream, Record.Post_Commands, Record.Number_of_Post_Commands);
        WriteCommands(Stream, Record.Cell_Commands, Record.Number_of_Cell_Commands);
        Patch_Values[Slot_Command_Table_Last_Byte] = StreamPos(Stream) - Start - 1;
    } else {
        Patch_Values[Slot_Command_Table] = 0;
        Patch_Values[Slot_Command_Table_Last_Byte] = 0;
    }
    if (Record.Offset_of_Program_Map != 0) {
        Patch_Values[Slot_Program_Map] = StreamPos(Stream) - PGC_Start;
        WriteBytes(Stream, Record.Program_Map.data(), Record.Number_of_Programs);
        if (StreamPos(Stream) % 2 != 0) WriteByte(Stream, 0);
    } else {
        Patch_Values[Slot_Program_Map] = 0;
    }
    if (Record.Offset_of_Cell_Playback != 0) {
        Patch_Values[Slot_Cell_Playback] = StreamPos(Stream) - PGC_Start;
        for (std::size_t I = 0; I < Record.Number_of_Cells; ++I) {
            const C_PBI& Cell = Record.Cell_Playback[I];
            WriteByte(Stream, Cell.Category_Byte_1);
            WriteByte(Stream, Cell.Category_Byte_2);
            WriteByte(Stream, Cell.Still_Time);
            WriteByte(Stream, Cell.Command_Number);
            WriteDWord(Stream, Cell.Playback_Time);
            WriteDWord(Stream, Cell.First_VOBU_Start_Sector);
            WriteDWord(Stream, Cell.First_ILVU_End_Sector);
            WriteDWord(Stream, Cell.Last_VOBU_Start_Sector);
            WriteDWord(Stream, Cell.Last_VOBU_End_Sector);
        }
    } else {
        Patch_Values[Slot_Cell_Playback] = 0;
    }
    if (Record.Offset_of_Cell_Position != 0) {
        Patch_Values[Slot_Cell_Position] = StreamPos(Stream) - PGC_Start;
        for (std::size_t I = 0; I < Record.Number_of_Cells; ++I) {
            const C_POSI& Cell = Record.Cell_Position[I];
            WriteWord(Stream, Cell.VOB_ID);
            WriteByte(Stream, Cell.Reserved);
            WriteByte(Stream, Cell.Cell_ID);
        }
    } else {
        Patch_Values[Slot_Cell_Position] = 0;
    }
}

void AddPGCPatches(PatchList& List, const PGCPatchArray& Patch_Positions, const PGCPatchArray& Patch_Values)
{
    for (std::size_t Slot = 0; Slot < Patch_Values.size(); ++Slot)
        if (Patch_Values[Slot] != 0)
            List.AddWord(Patch_Positions[Slot], static_cast<std::uint16_t>(Patch_Values[Slot]));
}

namespace {

// Where each sub-table of a chain begins, relative to the chain, as WritePGC
// lays them out; 0 for an absent one.
struct PGCLayout {
    std::int64_t Command_Table = 0;
    std::int64_t Command_Table_Last_Byte = 0;
    std::int64_t Program_Map = 0;
    std::int64_t Cell_Playback = 0;
    std::int64_t Cell_Position = 0;
    std::int64_t Size = 0;
};

PGCLayout LayOutPGC(const PGC& Record, std::int64_t PGC_Start)
{
    PGCLayout Layout;
    std::int64_t Offset = PGC_Header_Size;
    if (Record.Offset_of_Command_Table != 0) {
        Layout.Command_Table = Offset;
        const std::int64_t Commands = std::int64_t{Record.Number_of_Pre_Commands} + Record.Number_of_Post_Commands +
                                      Record.Number_of_Cell_Commands;
        Layout.Command_Table_Last_Byte = 8 + 8 * Commands - 1;
        Offset += 8 + 8 * Commands;
    }
    if (Record.Offset_of_Program_Map != 0) {
        Layout.Program_Map = Offset;
        Offset += Record.Number_of_Programs;
        if ((PGC_Start + Offset) % 2 != 0) ++Offset;
    }
    if (Record.Offset_of_Cell_Playback != 0) {
        Layout.Cell_Playback = Offset;
        Offset += 24 * std::int64_t{Record.Number_of_Cells};
    }
    if (Record.Offset_of_Cell_Position != 0) {
        Layout.Cell_Position = Offset;
        Offset += 4 * std::int64_t{Record.Number_of_Cells};
    }
    Layout.Size = Offset;
    return Layout;
}

}  // namespace

std::int64_t PGCSizeInFile(const PGC& Record, std::int64_t PGC_Start)
{
    return LayOutPGC(Record, PGC_Start).Size;
}

void CheckPGCForWriting(const PGC& Record, std::int64_t PGC_Start, const std::string& Where)
{
    if (Record.Offset_of_Command_Table != 0) {
        CheckHolds(Where, "Pre_Commands", Record.Pre_Commands.size(), "Number_of_Pre_Commands",
                   Record.Number_of_Pre_Commands);
        CheckHolds(Where, "Post_Commands", Record.Post_Commands.size(), "Number_of_Post_Commands",
                   Record.Number_of_Post_Commands);
        CheckHolds(Where, "Cell_Commands", Record.Cell_Commands.size(), "Number_of_Cell_Commands",
                   Record.Number_of_Cell_Commands);
    }
    if (Record.Offset_of_Program_Map != 0)
        CheckHolds(Where, "Program_Map", Record.Program_Map.size(), "Number_of_Programs", Record.Number_of_Programs);
    if (Record.Offset_of_Cell_Playback != 0)
        CheckHolds(Where, "Cell_Playback", Record.Cell_Playback.size(), "Number_of_Cells", Record.Number_of_Cells);
    if (Record.Offset_of_Cell_Position != 0)
        CheckHolds(Where, "Cell_Position", Record.Cell_Position.size(), "Number_of_Cells", Record.Number_of_Cells);

    const PGCLayout Layout = LayOutPGC(Record, PGC_Start);
    CheckFits16(Where, "Command_Table_Last_Byte", Layout.Command_Table_Last_Byte);
    CheckFits16(Where, "Offset_of_Program_Map", Layout.Program_Map);
    CheckFits16(Where, "Offset_of_Cell_Playback", Layout.Cell_Playback);
    CheckFits16(Where, "Offset_of_Cell_Position", Layout.Cell_Position);
}

// ---------------------------------------------------------------------------
// Program chain lists

template <class List>
void ReadPGCList(IfoStream& Stream, List& Record, std::string_view Table)
{
    ReadTableHeader(Stream, Record.Number_of_PGCs, Record.Reserved, Record.Last_Byte);
    SizeArray(Stream, Record.PGC_Search_Pointers, Record.Number_of_PGCs, 8, Table, "PGC_Search_Pointers");
    for (PGCI_SRP& Pointer : Record.PGC_Search_Pointers) {
        ReadByte(Stream, Pointer.Category_Byte_1);
        ReadByte(Stream, Pointer.Category_Byte_2);
        ReadWord(Stream, Pointer.Parental_Mask);
        ReadDWord(Stream, Pointer.Offset_of_PGC);
    }
    // The chains are taken to lie back to back in search pointer order, as
    // every authoring tool and our own writer lay them out; the stored
    // offsets are kept but not followed.
    SizeArray(Stream, Record.PGCs, Record.Number_of_PGCs, PGC_Header_Size, Table, "PGCs");
    for (PGC& Chain : Record.PGCs) ReadPGC(Stream, Chain, Table);
}

template <class List>
void WritePGCList(IfoStream& Stream, const List& Record, std::int32_t& Table_Start, std::int32_t& Last_Byte_Position)
{
    Table_Start = StreamPos(Stream);
    Last_Byte_Position = WriteTableHeader(Stream, Record.Number_of_PGCs, Record.Reserved, Record.Last_Byte);

    std::vector<std::int32_t> Offset_Positions(Record.Number_of_PGCs);
    for (std::size_t J = 0; J < Record.Number_of_PGCs; ++J) {
        const PGCI_SRP& Pointer = Record.PGC_Search_Pointers[J];
        WriteByte(Stream, Pointer.Category_Byte_1);
        WriteByte(Stream, Pointer.Category_Byte_2);
        WriteWord(Stream, Pointer.Parental_Mask);
        Offset_Positions[J] = StreamPos(Stream);
        WriteDWord(Stream, Pointer.Offset_of_PGC);
    }

    PatchList Patches;
    for (std::size_t J = 0; J < Record.Number_of_PGCs; ++J) {
        const std::int32_t Chain_Start = StreamPos(Stream);
        Patches.AddDWord(Offset_Positions[J], static_cast<std::uint32_t>(Chain_Start - Table_Start));
        PGCPatchArray Positions{}, Values{};
        WritePGC(Stream, Record.PGCs[J], Chain_Start, Positions, Values);
        AddPGCPatches(Patches, Positions, Values);
    }
    Patches.Apply(Stream);
}

template <class List>
void CheckPGCListForWriting(const List& Record, const std::string& Where)
{
    CheckCounts(Where, "Number_of_PGCs", Record.Number_of_PGCs, "PGC_Search_Pointers",
                Record.PGC_Search_Pointers.size());
    CheckCounts(Where, "Number_of_PGCs", Record.Number_of_PGCs, "PGCs", Record.PGCs.size());
    // Every chain starts at an even position: the list and its pointers are
    // 8-byte multiples, and a chain always ends at an even position.
    for (std::size_t J = 0; J < Record.Number_of_PGCs; ++J)
        CheckPGCForWriting(Record.PGCs[J], 0, Where + ".PGCs[" + std::to_string(J) + "]");
}

template void ReadPGCList<PGCI_LU>(IfoStream&, PGCI_LU&, std::string_view);
template void ReadPGCList<VTS_PGCIT>(IfoStream&, VTS_PGCIT&, std::string_view);
template void WritePGCList<PGCI_LU>(IfoStream&, const PGCI_LU&, std::int32_t&, std::int32_t&);
template void WritePGCList<VTS_PGCIT>(IfoStream&, const VTS_PGCIT&, std::int32_t&, std::int32_t&);
template void CheckPGCListForWriting<PGCI_LU>(const PGCI_LU&, const std::string&);
template void CheckPGCListForWriting<VTS_PGCIT>(const VTS_PGCIT&, const std::string&);

// ---------------------------------------------------------------------------
// Menu PGC information unit table

void ReadPGCI_UT(IfoStream& Stream, PGCI_UT& Record, std::string_view Table)
{
    ReadTableHeader(Stream, Record.Number_of_Language_Units, Record.Reserved, Record.Last_Byte);
    SizeArray(Stream, Record.Language_Search_Pointers, Record.Number_of_Language_Units, 8, Table,
              "Language_Search_Pointers");
    for (PGCI_LU_SRP& Pointer : Record.Language_Search_Pointers) {
        ReadWord(Stream, Pointer.Language_Code);
        ReadByte(Stream, Pointer.Language_Code_Extension);
        ReadByte(Stream, Pointer.Menu_Existence);
        ReadDWord(Stream, Pointer.Offset_of_Language_Unit);
    }
    // The units follow the pointers back to back; their offsets are kept but
    // not followed.
    SizeArray(Stream, Record.Language_Units, Record.Number_of_Language_Units, 8, Table, "Language_Units");
    for (PGCI_LU& Unit : Record.Language_Units) ReadPGCList(Stream, Unit, Table);
}

void WritePGCI_UT(IfoStream& Stream, const PGCI_UT& Record, std::int32_t& Table_Start,
                  std::int32_t& Last_Byte_Position)
{
    Table_Start = StreamPos(Stream);
    Last_Byte_Position = WriteTableHeader(Stream, Record.Number_of_Language_Units, Record.Reserved, Record.Last_Byte);

    std::vector<std::int32_t> Offset_Positions(Record.Language_Search_Pointers.size());
    for (std::size_t I = 0; I < Record.Language_Search_Pointers.size(); ++I) {
        const PGCI_LU_SRP& Pointer = Record.Language_Search_Pointers[I];
        WriteWord(Stream, Pointer.Language_Code);
        WriteByte(Stream, Pointer.Language_Code_Extension);
        WriteByte(Stream, Pointer.Menu_Existence);
        Offset_Positions[I] = StreamPos(Stream);
        WriteDWord(Stream, Pointer.Offset_of_Language_Unit);
    }

    PatchList Patches;
    for (std::size_t K = 0; K < Record.Language_Units.size(); ++K) {
        std::int32_t Unit_Start = 0, Unit_Last_Byte = 0;
        WritePGCList(Stream, Record.Language_Units[K], Unit_Start, Unit_Last_Byte);
        PatchLastByte(Stream, Unit_Start, Unit_Last_Byte);
        Patches.AddDWord(Offset_Positions[K], static_cast<std::uint32_t>(Unit_Start - Table_Start));
    }
    Patches.Apply(Stream);
}

void CheckPGCI_UTForWriting(const PGCI_UT& Record, const std::string& Table)
{
    CheckCounts(Table, "Number_of_Language_Units", Record.Number_of_Language_Units, "Language_Search_Pointers",
                Record.Language_Search_Pointers.size());
    CheckCounts(Table, "Number_of_Language_Units", Record.Number_of_Language_Units, "Language_Units",
                Record.Language_Units.size());
    for (std::size_t K = 0; K < Record.Language_Units.size(); ++K)
        CheckPGCListForWriting(Record.Language_Units[K], Table + ".Language_Units[" + std::to_string(K) + "]");
}

// ---------------------------------------------------------------------------
// Stream attribute blocks

void ReadMenuAttributes(IfoStream& Stream, MENU_ATTRIBUTES& Record)
{
    ReadBytes(Stream, Record.Video_Attributes);
    ReadWord(Stream, Record.Number_of_Audio_Streams);
    ReadGroups(Stream, Record.Audio_Attributes);
    ReadBytes(Stream, Record.Reserved_1);
    ReadBytes(Stream, Record.Number_of_Subpicture_Streams);   // kept as the two file bytes
    ReadBytes(Stream, Record.Subpicture_Attributes);
    ReadBytes(Stream, Record.Reserved_2);
}

void WriteMenuAttributes(IfoStream& Stream, const MENU_ATTRIBUTES& Record)
{
    WriteBytes(Stream, Record.Video_Attributes);
    WriteWord(Stream, Record.Number_of_Audio_Streams);
    WriteGroups(Stream, Record.Audio_Attributes);
    WriteBytes(Stream, Record.Reserved_1);
    WriteBytes(Stream, Record.Number_of_Subpicture_Streams);
    WriteBytes(Stream, Record.Subpicture_Attributes);
    WriteBytes(Stream, Record.Reserved_2);
}

void ReadTitleSetAttributes(IfoStream& Stream, TITLE_SET_ATTRIBUTES& Record)
{
    ReadBytes(Stream, Record.Video_Attributes);
    ReadWord(Stream, Record.Number_of_Audio_Streams);
    ReadGroups(Stream, Record.Audio_Attributes);
    ReadBytes(Stream, Record.Reserved_1);
    ReadWord(Stream, Record.Number_of_Subpicture_Streams);
    ReadGroups(Stream, Record.Subpicture_Attributes);
    ReadWord(Stream, Record.Reserved_2);
    ReadGroups(Stream, Record.Multichannel_Extension);
    ReadBytes(Stream, Record.Reserved_3);
}

void WriteTitleSetAttributes(IfoStream& Stream, const TITLE_SET_ATTRIBUTES& Record)
{
    WriteBytes(Stream, Record.Video_Attributes);
    WriteWord(Stream, Record.Number_of_Audio_Streams);
    WriteGroups(Stream, Record.Audio_Attributes);
    WriteBytes(Stream, Record.Reserved_1);
    WriteWord(Stream, Record.Number_of_Subpicture_Streams);
    WriteGroups(Stream, Record.Subpicture_Attributes);
    WriteWord(Stream, Record.Reserved_2);
    WriteGroups(Stream, Record.Multichannel_Extension);
    WriteBytes(Stream, Record.Reserved_3);
}

// ---------------------------------------------------------------------------
// Cell address table and VOBU address map

void ReadC_ADT(IfoStream& Stream, C_ADT& Record, std::string_view Table)
{
    ReadTableHeader(Stream, Record.Number_of_VOBs, Record.Reserved, Record.Last_Byte);
    // The 8-byte header leaves a remainder of 7 in a well-formed table.
    SizeArray(Stream, Record.Cell_Addresses, Record.Last_Byte / 12, 12, Table, "Cell_Addresses");
    for (CELL_ADDRESS& Cell : Record.Cell_Addresses) {
        ReadWord(Stream, Cell.VOB_ID);
        ReadByte(Stream, Cell.Cell_ID);
        ReadByte(Stream, Cell.Reserved);
        ReadDWord(Stream, Cell.Start_Sector);
        ReadDWord(Stream, Cell.Last_Sector);
    }
}

void WriteC_ADT(IfoStream& Stream, const C_ADT& Record, std::int32_t& Table_Start, std::int32_t& Last_Byte_Position)
{
    Table_Start = StreamPos(Stream);
    Last_Byte_Position = WriteTableHeader(Stream, Record.Number_of_VOBs, Record.Reserved, Record.Last_Byte);
    for (const CELL_ADDRESS& Cell : Record.Cell_Addresses) {
        WriteWord(Stream, Cell.VOB_ID);
        WriteByte(Stream, Cell.Cell_ID);
        WriteByte(Stream, Cell.Reserved);
        WriteDWord(Stream, Cell.Start_Sector);
        WriteDWord(Stream, Cell.Last_Sector);
    }
}

void ReadVOBU_ADMAP(IfoStream& Stream, VOBU_ADMAP& Record, std::string_view Table)
{
    ReadDWord(Stream, Record.Last_Byte);
    // Unsigned arithmetic: a Last_Byte below 3 wraps to a count that no
    // stream can hold and is refused by the size check.
    const std::uint32_t Entries = (Record.Last_Byte - 3u) / 4u;
    SizeArray(Stream, Record.VOBU_Start_Sectors, Entries, 4, Table, "VOBU_Start_Sectors");
    for (std::uint32_t& Sector : Record.VOBU_Start_Sectors) ReadDWord(Stream, Sector);
}

void WriteVOBU_ADMAP(IfoStream& Stream, const VOBU_ADMAP& Record, std::int32_t& Table_Start,
                     std::int32_t& Last_Byte_Position)
{
    Table_Start = StreamPos(Stream);
    Last_Byte_Position = Table_Start;
    WriteDWord(Stream, Record.Last_Byte);
    for (std::uint32_t Sector : Record.VOBU_Start_Sectors) WriteDWord(Stream, Sector);
}

}  // namespace quoril
