// Video manager records built in code for the VIDEO_TS.IFO tests, and small
// helpers to write, load and inspect the bytes of a file.
//
// Every builder fills the fields that the library only carries with distinct,
// non-zero values, so that a field read from or written to the wrong place
// shows. Fields that the writer recomputes (start sectors, end addresses and
// offsets) are deliberately set to wrong values: a correct file can only come
// from the writer's own layout.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "MemoryStream.h"
#include "library/Quoril.h"
#include "support/Normalize.h"

namespace vmg_test {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t Sector = 2048;

// ---------------------------------------------------------------------------
// Bytes of a file

inline std::uint16_t Get16(const Bytes& File, std::size_t At)
{
    return static_cast<std::uint16_t>(File.at(At) << 8 | File.at(At + 1));
}

inline std::uint32_t Get32(const Bytes& File, std::size_t At)
{
    return std::uint32_t{Get16(File, At)} << 16 | Get16(File, At + 2);
}

inline void Put16(Bytes& File, std::size_t At, std::uint16_t Value)
{
    File.at(At) = static_cast<std::uint8_t>(Value >> 8);
    File.at(At + 1) = static_cast<std::uint8_t>(Value);
}

inline void Put32(Bytes& File, std::size_t At, std::uint32_t Value)
{
    Put16(File, At, static_cast<std::uint16_t>(Value >> 16));
    Put16(File, At + 2, static_cast<std::uint16_t>(Value));
}

inline Bytes Slice(const Bytes& File, std::size_t At, std::size_t Count)
{
    return Bytes(File.begin() + static_cast<std::ptrdiff_t>(At),
                 File.begin() + static_cast<std::ptrdiff_t>(At + Count));
}

// The stream holds the file, written from an empty stream.
inline Bytes Write(const VMG& Record)
{
    MemoryStream Stream;
    MakeIfoVMG(Stream, Record);
    return Stream.Bytes();
}

// A fresh record filled from the file.
inline VMG Load(const Bytes& File)
{
    MemoryStream Stream(File);
    VMG Record;
    LoadIfoVMG(Stream, Record);
    return Record;
}

// ---------------------------------------------------------------------------
// Field values

template <std::size_t N>
std::array<char, N> Chars(std::string_view Text)
{
    std::array<char, N> Field{};
    std::copy_n(Text.begin(), std::min(N, Text.size()), Field.begin());
    return Field;
}

// N bytes Seed, Seed + 7, Seed + 14, ... (mod 256): no two neighbours equal,
// so a shifted or swapped run shows.
template <std::size_t N>
std::array<std::uint8_t, N> Pattern(std::uint8_t Seed)
{
    std::array<std::uint8_t, N> Field{};
    for (std::size_t I = 0; I < N; ++I) Field[I] = static_cast<std::uint8_t>(Seed + 7 * I);
    return Field;
}

template <std::size_t N, std::size_t M>
std::array<std::array<std::uint8_t, N>, M> Groups(std::uint8_t Seed)
{
    std::array<std::array<std::uint8_t, N>, M> Field{};
    for (std::size_t I = 0; I < M; ++I) Field[I] = Pattern<N>(static_cast<std::uint8_t>(Seed + 11 * I));
    return Field;
}

inline MENU_ATTRIBUTES MenuAttributes(std::uint8_t Seed)
{
    MENU_ATTRIBUTES Block;
    Block.Video_Attributes = Pattern<2>(Seed);
    Block.Number_of_Audio_Streams = static_cast<std::uint16_t>(0x0100 + Seed);
    Block.Audio_Attributes = Groups<8, 8>(static_cast<std::uint8_t>(Seed + 1));
    Block.Reserved_1 = Pattern<16>(static_cast<std::uint8_t>(Seed + 2));
    Block.Number_of_Subpicture_Streams = {0x00, static_cast<std::uint8_t>(Seed | 1)};
    Block.Subpicture_Attributes = Pattern<6>(static_cast<std::uint8_t>(Seed + 3));
    Block.Reserved_2 = Pattern<164>(static_cast<std::uint8_t>(Seed + 4));
    return Block;
}

inline TITLE_SET_ATTRIBUTES TitleSetAttributes(std::uint8_t Seed)
{
    TITLE_SET_ATTRIBUTES Block;
    Block.Video_Attributes = Pattern<2>(Seed);
    Block.Number_of_Audio_Streams = static_cast<std::uint16_t>(0x0200 + Seed);
    Block.Audio_Attributes = Groups<8, 8>(static_cast<std::uint8_t>(Seed + 1));
    Block.Reserved_1 = Pattern<16>(static_cast<std::uint8_t>(Seed + 2));
    Block.Number_of_Subpicture_Streams = static_cast<std::uint16_t>(0x0300 + Seed);
    Block.Subpicture_Attributes = Groups<6, 32>(static_cast<std::uint8_t>(Seed + 3));
    Block.Reserved_2 = static_cast<std::uint16_t>(0x0400 + Seed);
    Block.Multichannel_Extension = Groups<24, 8>(static_cast<std::uint8_t>(Seed + 4));
    Block.Reserved_3 = Pattern<40>(static_cast<std::uint8_t>(Seed + 5));
    return Block;
}

// ---------------------------------------------------------------------------
// Program chains

// Which sub-tables a chain has, and how many entries each.
struct ChainShape {
    std::optional<std::array<std::uint16_t, 3>> Commands;   // pre, post, cell; a command table when set
    std::optional<std::uint8_t> Programs;                   // a program map of this many programs when set
    std::optional<std::uint8_t> Cells;                      // both cell tables of this many cells when set
};

// The chain's size in the file, when it begins at an even position.
inline std::size_t ChainSize(const ChainShape& Shape)
{
    std::size_t Size = 236;
    if (Shape.Commands) Size += 8 + 8 * (std::size_t{(*Shape.Commands)[0]} + (*Shape.Commands)[1] + (*Shape.Commands)[2]);
    if (Shape.Programs) Size += *Shape.Programs + *Shape.Programs % 2;
    if (Shape.Cells) Size += 28 * std::size_t{*Shape.Cells};
    return Size;
}

inline VM_Command Command(std::uint8_t Seed)
{
    return Pattern<8>(Seed);
}

// A chain of the given shape. Every sub-table present gets the offset 1 and
// the command table the end address 0x5A5A: wrong on purpose.
inline PGC Chain(const ChainShape& Shape, std::uint8_t Seed)
{
    PGC Chain;
    Chain.Reserved = static_cast<std::uint16_t>(0x0A00 + Seed);
    Chain.Playback_Time = 0x01234500u + Seed;
    Chain.Prohibited_User_Operations = 0x00F0F000u + Seed;
    Chain.Audio_Stream_Control = Groups<2, 8>(static_cast<std::uint8_t>(Seed + 1));
    Chain.Subpicture_Stream_Control = Groups<4, 32>(static_cast<std::uint8_t>(Seed + 2));
    Chain.Next_PGC_Number = static_cast<std::uint16_t>(0x0B00 + Seed);
    Chain.Previous_PGC_Number = static_cast<std::uint16_t>(0x0C00 + Seed);
    Chain.GoUp_PGC_Number = static_cast<std::uint16_t>(0x0D00 + Seed);
    Chain.Still_Time = static_cast<std::uint8_t>(0x30 + Seed);
    Chain.Playback_Mode = static_cast<std::uint8_t>(0x40 + Seed);
    Chain.Palette = Groups<4, 16>(static_cast<std::uint8_t>(Seed + 3));
    if (Shape.Commands) {
        Chain.Offset_of_Command_Table = 1;
        Chain.Number_of_Pre_Commands = (*Shape.Commands)[0];
        Chain.Number_of_Post_Commands = (*Shape.Commands)[1];
        Chain.Number_of_Cell_Commands = (*Shape.Commands)[2];
        Chain.Command_Table_Last_Byte = 0x5A5A;
        std::uint8_t Next = static_cast<std::uint8_t>(Seed + 0x50);
        for (std::size_t I = 0; I < Chain.Number_of_Pre_Commands; ++I) Chain.Pre_Commands.push_back(Command(Next++));
        for (std::size_t I = 0; I < Chain.Number_of_Post_Commands; ++I) Chain.Post_Commands.push_back(Command(Next++));
        for (std::size_t I = 0; I < Chain.Number_of_Cell_Commands; ++I) Chain.Cell_Commands.push_back(Command(Next++));
    }
    if (Shape.Programs) {
        Chain.Offset_of_Program_Map = 1;
        Chain.Number_of_Programs = *Shape.Programs;
        for (std::size_t I = 0; I < *Shape.Programs; ++I) Chain.Program_Map.push_back(static_cast<std::uint8_t>(I + 1));
    }
    if (Shape.Cells) {
        Chain.Offset_of_Cell_Playback = 1;
        Chain.Offset_of_Cell_Position = 1;
        Chain.Number_of_Cells = *Shape.Cells;
        for (std::uint32_t I = 0; I < *Shape.Cells; ++I) {
            C_PBI Cell;
            Cell.Category_Byte_1 = static_cast<std::uint8_t>(0x81 + I);
            Cell.Category_Byte_2 = static_cast<std::uint8_t>(0x91 + Seed);
            Cell.Still_Time = static_cast<std::uint8_t>(I + 2);
            Cell.Command_Number = static_cast<std::uint8_t>(I + 3);
            Cell.Playback_Time = 0x00001525u + I;
            Cell.First_VOBU_Start_Sector = 0x1000u * (I + 1) + Seed;
            Cell.First_ILVU_End_Sector = 0x2000u * (I + 1) + Seed;
            Cell.Last_VOBU_Start_Sector = 0x3000u * (I + 1) + Seed;
            Cell.Last_VOBU_End_Sector = 0x4000u * (I + 1) + Seed;
            Chain.Cell_Playback.push_back(Cell);
            Chain.Cell_Position.push_back(C_POSI{static_cast<std::uint16_t>(0x0100 + I), static_cast<std::uint8_t>(0xE0 + I),
                                                 static_cast<std::uint8_t>(I + 1)});
        }
    }
    return Chain;
}

// ---------------------------------------------------------------------------
// Tables

inline TT_SRP Title(std::uint8_t I)
{
    return TT_SRP{static_cast<std::uint8_t>(0x3C + I), static_cast<std::uint8_t>(1 + I),
                  static_cast<std::uint16_t>(0x0102 + I), static_cast<std::uint16_t>(0xFE01 - I),
                  static_cast<std::uint8_t>(1 + I % 3), static_cast<std::uint8_t>(1 + I),
                  0x00010203u + 0x100u * I};
}

inline TT_SRPT Titles(std::uint16_t Count)
{
    TT_SRPT Table;
    Table.Number_of_Titles = Count;
    Table.Reserved = 0x7E7F;
    Table.Last_Byte = 0xDEADBEEF;
    for (std::uint16_t I = 0; I < Count; ++I) Table.Titles.push_back(Title(static_cast<std::uint8_t>(I)));
    return Table;
}

// A menu language unit holding one chain of each shape; its offsets and end
// address are wrong on purpose.
inline PGCI_LU MenuUnit(const std::vector<ChainShape>& Shapes, std::uint8_t Seed)
{
    PGCI_LU Unit;
    Unit.Number_of_PGCs = static_cast<std::uint16_t>(Shapes.size());
    Unit.Reserved = static_cast<std::uint16_t>(0x5200 + Seed);
    Unit.Last_Byte = 0xFFFF0000u;
    for (std::size_t J = 0; J < Shapes.size(); ++J) {
        const auto S = static_cast<std::uint8_t>(Seed + 16 * J);
        Unit.PGC_Search_Pointers.push_back(
            PGCI_SRP{static_cast<std::uint8_t>(0x80 | (J + 2)), static_cast<std::uint8_t>(0x10 + S),
                     static_cast<std::uint16_t>(0x7700 + S), 0xABCDu});
        Unit.PGCs.push_back(Chain(Shapes[J], S));
    }
    return Unit;
}

inline PGCI_UT MenuTable(std::vector<PGCI_LU> Units)
{
    PGCI_UT Table;
    Table.Number_of_Language_Units = static_cast<std::uint16_t>(Units.size());
    Table.Reserved = 0x0F0E;
    Table.Last_Byte = 3;
    for (std::size_t I = 0; I < Units.size(); ++I)
        Table.Language_Search_Pointers.push_back(
            PGCI_LU_SRP{static_cast<std::uint16_t>(I == 0 ? 0x656E : 0x6672 + I), static_cast<std::uint8_t>(0x20 + I),
                        static_cast<std::uint8_t>(0x80 >> I), 0x11111111u});
    Table.Language_Units = std::move(Units);
    return Table;
}

// Masks of Countries countries for Title_Sets title sets: every row holds
// Title_Sets + 1 masks.
inline PTL_MAIT ParentalTable(std::uint16_t Countries, std::uint16_t Title_Sets)
{
    PTL_MAIT Table;
    Table.Number_of_Countries = Countries;
    Table.Number_of_Title_Sets = Title_Sets;
    Table.Last_Byte = 1;
    for (std::uint16_t I = 0; I < Countries; ++I) {
        Table.Countries.push_back(PTL_MAIT_SRP{static_cast<std::uint16_t>(0x4445 + 0x0101 * I), 0x0BADu,
                                               static_cast<std::uint16_t>(0x5A00 + I)});
        PTL_MAI Masks;
        for (std::uint16_t Row = 0; Row < 8; ++Row)
            for (std::uint16_t K = 0; K <= Title_Sets; ++K)
                Masks[Row].push_back(static_cast<std::uint16_t>(0x1000 * (I + 1) + 0x100 * Row + K));
        Table.PTL_MAIs.push_back(Masks);
    }
    return Table;
}

inline VTS_ATRT AttributeTable(std::uint16_t Title_Sets)
{
    VTS_ATRT Table;
    Table.Number_of_Title_Sets = Title_Sets;
    Table.Reserved = 0x6A6B;
    Table.Last_Byte = 2;
    for (std::uint16_t I = 0; I < Title_Sets; ++I) {
        Table.VTS_ATR_Offsets.push_back(0x0FFFu);
        VTS_ATR Entry;
        Entry.Last_Byte = 9;
        Entry.VTS_Category = 0xC0DE0000u + I;
        Entry.Menu_Attributes = MenuAttributes(static_cast<std::uint8_t>(0x21 + 0x40 * I));
        Entry.Title_Set_Attributes = TitleSetAttributes(static_cast<std::uint8_t>(0x33 + 0x40 * I));
        Table.VTS_ATRs.push_back(Entry);
    }
    return Table;
}

// A text data unit with a consistent Last_Byte: 208 header bytes, the items
// and the text.
inline TXTDT_LU TextUnit(std::uint16_t Items, std::string_view Text, std::uint8_t Seed)
{
    TXTDT_LU Unit;
    Unit.Last_Byte = static_cast<std::uint32_t>(207 + 4 * Items + Text.size());
    Unit.Header_Word_1 = static_cast<std::uint16_t>(0x1100 + Seed);
    Unit.Header_Word_2 = static_cast<std::uint16_t>(0x2200 + Seed);
    Unit.Header_Bytes = Pattern<196>(Seed);
    Unit.Number_of_Items = Items;
    Unit.Header_Word_3 = static_cast<std::uint16_t>(0x3300 + Seed);
    for (std::uint16_t I = 0; I < Items; ++I)
        Unit.Items.push_back(TXTDT_Item{static_cast<std::uint8_t>(0x30 + I), static_cast<std::uint8_t>(Seed),
                                        static_cast<std::uint8_t>(0xA0 + I), static_cast<std::uint8_t>(0xF0 - I)});
    Unit.Text.assign(Text.begin(), Text.end());
    return Unit;
}

inline TXTDT_MGI TextTable(std::vector<TXTDT_LU> Units)
{
    TXTDT_MGI Table;
    Table.Text_Identifier = Chars<15>("QUORIL-TEXTDATA");
    Table.Number_of_Language_Units = static_cast<std::uint8_t>(Units.size());
    Table.Last_Byte = 0x12;
    for (std::size_t I = 0; I < Units.size(); ++I)
        Table.Language_Search_Pointers.push_back(
            TXTDT_LU_SRP{static_cast<std::uint16_t>(0x6465 + I), static_cast<std::uint16_t>(0x0001 + I), 0x7777u});
    Table.Language_Units = std::move(Units);
    return Table;
}

inline C_ADT CellAddresses(std::uint16_t Entries)
{
    C_ADT Table;
    Table.Number_of_VOBs = 2;
    Table.Reserved = 0x0C0D;
    Table.Last_Byte = 5;
    for (std::uint16_t I = 0; I < Entries; ++I)
        Table.Cell_Addresses.push_back(CELL_ADDRESS{static_cast<std::uint16_t>(1 + I / 2), static_cast<std::uint8_t>(1 + I),
                                                    static_cast<std::uint8_t>(0xC0 + I), 0x100u * I, 0x100u * I + 0xFF});
    return Table;
}

inline VOBU_ADMAP VobuMap(std::uint16_t Entries)
{
    VOBU_ADMAP Table;
    Table.Last_Byte = 1;
    for (std::uint32_t I = 0; I < Entries; ++I) Table.VOBU_Start_Sectors.push_back(0x20u * I + 3);
    return Table;
}

// ---------------------------------------------------------------------------
// Whole records

// The header with every carried field set, and all seven tables marked
// present with wrong start sectors. The first-play chain and the bytes after
// it are the caller's to set.
inline VMG Header()
{
    VMG Record;
    Record.Identifier = Chars<12>("DVDVIDEO-VMG");
    Record.Last_Sector_of_VMG = 0x00012345;
    Record.Reserved_1 = Pattern<12>(0x01);
    Record.Last_Sector_of_VMGI = 0x0BADF00D;
    Record.Reserved_2 = 0xA2;
    Record.Version = 0x11;
    Record.Reserved_3 = 0xA3;
    Record.Region_Mask = 0xFE;
    Record.Reserved_4 = 0xA4A5;
    Record.Number_of_Volumes = 0x0102;
    Record.Volume_Number = 0x0304;
    Record.Side_ID = 0xA6;
    Record.Reserved_5 = Pattern<19>(0x05);
    Record.Number_of_Title_Sets = 0x0003;
    Record.Provider_Identifier = Chars<32>("QUORIL TEST PROVIDER 0123456789!");
    Record.POS_Code = Pattern<8>(0x08);
    Record.Reserved_6 = Pattern<24>(0x09);
    Record.Last_Byte_of_VMGI_MAT = 0x000003FF;
    Record.Start_Byte_of_First_Play_PGC = 0x00000400;
    Record.Reserved_7 = Pattern<56>(0x0A);
    Record.Start_Sector_of_Menu_VOBS = 0x00C0FFEE;
    Record.Start_Sector_of_TT_SRPT = 40;
    Record.Start_Sector_of_VMGM_PGCI_UT = 41;
    Record.Start_Sector_of_PTL_MAIT = 42;
    Record.Start_Sector_of_VTS_ATRT = 43;
    Record.Start_Sector_of_TXTDT_MGI = 44;
    Record.Start_Sector_of_VMGM_C_ADT = 45;
    Record.Start_Sector_of_VMGM_VOBU_ADMAP = 46;
    Record.Reserved_8 = Pattern<32>(0x0B);
    Record.Menu_Attributes = MenuAttributes(0x0C);
    Record.Reserved_9 = Pattern<512>(0x0D);
    return Record;
}

// A first-play chain of the given shape whose stored offsets and command
// table end are those of its layout at byte 1024 (they are carried, not
// recomputed).
inline PGC FirstPlay(const ChainShape& Shape, std::uint8_t Seed)
{
    PGC Chain = vmg_test::Chain(Shape, Seed);
    std::uint16_t Offset = 236;
    if (Shape.Commands) {
        Chain.Offset_of_Command_Table = Offset;
        const auto Commands = static_cast<std::uint16_t>((*Shape.Commands)[0] + (*Shape.Commands)[1] + (*Shape.Commands)[2]);
        Chain.Command_Table_Last_Byte = static_cast<std::uint16_t>(7 + 8 * Commands);
        Offset = static_cast<std::uint16_t>(Offset + 8 + 8 * Commands);
    }
    if (Shape.Programs) {
        Chain.Offset_of_Program_Map = Offset;
        Offset = static_cast<std::uint16_t>(Offset + *Shape.Programs + *Shape.Programs % 2);
    }
    if (Shape.Cells) {
        Chain.Offset_of_Cell_Playback = Offset;
        Chain.Offset_of_Cell_Position = static_cast<std::uint16_t>(Offset + 24 * *Shape.Cells);
    }
    return Chain;
}

// Sets the first-play chain and as many bytes after it as end it on the
// boundary of sector End_Sector; the bytes carry a few non-zero values.
inline void SetFirstPlay(VMG& Record, const ChainShape& Shape, std::size_t End_Sector = 1)
{
    Record.First_Play_PGC = FirstPlay(Shape, 0x61);
    Record.Bytes_after_First_Play_PGC.assign(End_Sector * Sector - 1024 - ChainSize(Shape), 0);
    Bytes& After = Record.Bytes_after_First_Play_PGC;
    if (!After.empty()) {
        After.front() = 0x11;
        After[After.size() / 2] = 0x22;
        After.back() = 0x33;
    }
}

// The shapes of the rich record's first-play chain and menu chains.
inline const ChainShape First_Play_Shape{std::array<std::uint16_t, 3>{2, 1, 0}, std::nullopt, std::nullopt};
inline const std::vector<ChainShape> Unit_0_Shapes{
    {std::array<std::uint16_t, 3>{1, 1, 2}, 3, 3},   // commands, an odd program map, cells
    {std::nullopt, 1, 1},                            // no command table
};
inline const std::vector<ChainShape> Unit_1_Shapes{
    {std::array<std::uint16_t, 3>{0, 0, 0}, 5, 5},   // an empty command table
};

// A video manager with all seven tables: three titles; two menu language
// units whose chains carry commands, odd program maps and cells; two
// countries of masks for three title sets; two title set attribute entries;
// two text data units with items and text; a cell address table and a VOBU
// map; a first-play chain with commands and a few non-zero bytes after it.
inline VMG RichVMG()
{
    VMG Record = Header();
    SetFirstPlay(Record, First_Play_Shape);
    Record.VMG_TT_SRPT = Titles(3);
    Record.VMGM_PGCI_UT = MenuTable({MenuUnit(Unit_0_Shapes, 0x01), MenuUnit(Unit_1_Shapes, 0x41)});
    Record.VMG_PTL_MAIT = ParentalTable(2, 3);
    Record.VMG_VTS_ATRT = AttributeTable(2);
    Record.VMG_TXTDT_MGI = TextTable({TextUnit(3, "Quoril title one", 0x71), TextUnit(1, std::string_view("Deux\0zwei", 9), 0x91)});
    Record.VMGM_C_ADT = CellAddresses(3);
    Record.VMGM_VOBU_ADMAP = VobuMap(5);
    return Record;
}

// A video manager whose only table is the given title search pointer table;
// the first-play chain is a bare header.
inline VMG OnlyTitles(TT_SRPT Table)
{
    VMG Record = Header();
    SetFirstPlay(Record, ChainShape{});
    Record.Start_Sector_of_VMGM_PGCI_UT = 0;
    Record.Start_Sector_of_PTL_MAIT = 0;
    Record.Start_Sector_of_VTS_ATRT = 0;
    Record.Start_Sector_of_TXTDT_MGI = 0;
    Record.Start_Sector_of_VMGM_C_ADT = 0;
    Record.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    Record.VMG_TT_SRPT = std::move(Table);
    return Record;
}

// ---------------------------------------------------------------------------
// Comparison

// The record with every field that the writer recomputes or the reader
// judges set to a fixed value, so that a record built in code and the same
// record read back from its file compare equal.
inline VMG WithoutRecomputedFields(VMG Record)
{
    return quoril_test::Normalized(std::move(Record));
}

}  // namespace vmg_test
