// Title set records built in code for the tests: program chains of every
// shape, menu language units, time maps, cell address tables and VOBU address
// maps, and a rich VTS that holds all eight tables.
//
// Every carried field gets a distinct non-zero pattern, so that a field that
// is dropped, shifted or swapped shows up in a comparison. Every field that
// the writer recomputes (offsets, end addresses, start sectors, the last
// sector of the file) holds a stale value that no layout could produce, so
// that a value copied instead of recomputed shows up too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "structures/Structure_IFO.h"

namespace vts_fixture {

inline std::uint8_t PatternByte(unsigned Seed, std::size_t Index)
{
    return static_cast<std::uint8_t>((Seed * 31u + Index * 7u) % 255u + 1u);
}

template <std::size_t N>
void FillPattern(std::array<std::uint8_t, N>& Bytes, unsigned Seed)
{
    for (std::size_t I = 0; I < N; ++I) Bytes[I] = PatternByte(Seed, I);
}

template <std::size_t N, std::size_t M>
void FillPattern(std::array<std::array<std::uint8_t, N>, M>& Groups, unsigned Seed)
{
    for (std::size_t G = 0; G < M; ++G) FillPattern(Groups[G], Seed + static_cast<unsigned>(G) * 3u);
}

inline VM_Command Command(unsigned Seed)
{
    VM_Command Result{};
    FillPattern(Result, Seed);
    return Result;
}

// Which sub-tables a program chain has, and how many entries each holds.
struct ChainShape {
    bool Command_Table = false;
    std::uint16_t Pre = 0;
    std::uint16_t Post = 0;
    std::uint16_t Cell = 0;
    bool Program_Map = false;
    std::uint8_t Programs = 0;
    bool Cell_Playback = false;
    bool Cell_Position = false;
    std::uint8_t Cells = 0;
};

inline PGC MakeChain(const ChainShape& Shape, unsigned Seed)
{
    PGC Chain;
    Chain.Reserved = static_cast<std::uint16_t>(0x0100 + Seed);
    Chain.Number_of_Programs = Shape.Programs;
    Chain.Number_of_Cells = Shape.Cells;
    Chain.Playback_Time = 0x01234500u + Seed;
    Chain.Prohibited_User_Operations = 0x00A00000u | Seed;
    FillPattern(Chain.Audio_Stream_Control, Seed + 1);
    FillPattern(Chain.Subpicture_Stream_Control, Seed + 2);
    Chain.Next_PGC_Number = static_cast<std::uint16_t>(Seed + 1);
    Chain.Previous_PGC_Number = static_cast<std::uint16_t>(Seed + 2);
    Chain.GoUp_PGC_Number = static_cast<std::uint16_t>(Seed + 3);
    Chain.Still_Time = static_cast<std::uint8_t>(Seed + 4);
    Chain.Playback_Mode = static_cast<std::uint8_t>(Seed + 5);
    FillPattern(Chain.Palette, Seed + 6);

    // Present sub-tables carry stale offsets; the writer lays them out anew.
    if (Shape.Command_Table) {
        Chain.Offset_of_Command_Table = 0x7777;
        Chain.Number_of_Pre_Commands = Shape.Pre;
        Chain.Number_of_Post_Commands = Shape.Post;
        Chain.Number_of_Cell_Commands = Shape.Cell;
        Chain.Command_Table_Last_Byte = 0x5555;
        for (unsigned I = 0; I < Shape.Pre; ++I) Chain.Pre_Commands.push_back(Command(Seed + 10 + I));
        for (unsigned I = 0; I < Shape.Post; ++I) Chain.Post_Commands.push_back(Command(Seed + 40 + I));
        for (unsigned I = 0; I < Shape.Cell; ++I) Chain.Cell_Commands.push_back(Command(Seed + 70 + I));
    }
    if (Shape.Program_Map) {
        Chain.Offset_of_Program_Map = 0x6666;
        for (unsigned I = 0; I < Shape.Programs; ++I)
            Chain.Program_Map.push_back(static_cast<std::uint8_t>(I + 1));
    }
    if (Shape.Cell_Playback) {
        Chain.Offset_of_Cell_Playback = 0x4444;
        for (unsigned I = 0; I < Shape.Cells; ++I) {
            C_PBI Cell;
            Cell.Category_Byte_1 = static_cast<std::uint8_t>(0x10 + I);
            Cell.Category_Byte_2 = static_cast<std::uint8_t>(0x20 + I);
            Cell.Still_Time = static_cast<std::uint8_t>(I);
            Cell.Command_Number = static_cast<std::uint8_t>(255 - I);
            Cell.Playback_Time = 0x00010203u + I;
            Cell.First_VOBU_Start_Sector = 1000u * I + Seed;
            Cell.First_ILVU_End_Sector = 1000u * I + 10;
            Cell.Last_VOBU_Start_Sector = 1000u * I + 900;
            Cell.Last_VOBU_End_Sector = 1000u * I + 999;
            Chain.Cell_Playback.push_back(Cell);
        }
    }
    if (Shape.Cell_Position) {
        Chain.Offset_of_Cell_Position = 0x3333;
        for (unsigned I = 0; I < Shape.Cells; ++I)
            Chain.Cell_Position.push_back({static_cast<std::uint16_t>(0x0100 + I / 10), static_cast<std::uint8_t>(Seed),
                                           static_cast<std::uint8_t>(I + 1)});
    }
    return Chain;
}

inline PGCI_SRP MakeSearchPointer(unsigned Seed)
{
    return {static_cast<std::uint8_t>(0x80 | Seed), static_cast<std::uint8_t>(Seed * 3),
            static_cast<std::uint16_t>(0xF000 | Seed), 0xDEAD0000u + Seed};
}

// A chain list (a title PGCIT or a menu language unit) of the given chains.
template <class List>
List MakeChainList(const std::vector<PGC>& Chains, unsigned Seed)
{
    List Result;
    Result.Number_of_PGCs = static_cast<std::uint16_t>(Chains.size());
    Result.Reserved = static_cast<std::uint16_t>(0x0A00 + Seed);
    Result.Last_Byte = 0xBAD0000u + Seed;
    for (std::size_t I = 0; I < Chains.size(); ++I)
        Result.PGC_Search_Pointers.push_back(MakeSearchPointer(Seed + static_cast<unsigned>(I)));
    Result.PGCs = Chains;
    return Result;
}

inline TMAP MakeTMAP(std::uint8_t Time_Unit, std::uint16_t Entries, unsigned Seed)
{
    TMAP Map;
    Map.Time_Unit = Time_Unit;
    Map.Reserved = static_cast<std::uint8_t>(Seed);
    Map.Number_of_Entries = Entries;
    for (unsigned J = 0; J < Entries; ++J) Map.Entries.push_back(0x80000000u | (Seed << 16) | J);
    return Map;
}

inline C_ADT MakeC_ADT(std::size_t Entries, unsigned Seed)
{
    C_ADT Table;
    Table.Number_of_VOBs = static_cast<std::uint16_t>(Seed);   // carried, not tied to the entries
    Table.Reserved = static_cast<std::uint16_t>(0x0C00 + Seed);
    Table.Last_Byte = 0xFFFF;
    for (std::size_t I = 0; I < Entries; ++I)
        Table.Cell_Addresses.push_back({static_cast<std::uint16_t>(I / 2 + 1), static_cast<std::uint8_t>(I + 1),
                                        static_cast<std::uint8_t>(Seed), static_cast<std::uint32_t>(100 * I + Seed),
                                        static_cast<std::uint32_t>(100 * I + 99)});
    return Table;
}

inline VOBU_ADMAP MakeVOBU_ADMAP(std::size_t Entries, unsigned Seed)
{
    VOBU_ADMAP Map;
    Map.Last_Byte = 1;
    for (std::size_t I = 0; I < Entries; ++I) Map.VOBU_Start_Sectors.push_back(static_cast<std::uint32_t>(Seed + 17 * I));
    return Map;
}

inline VTS_PTT_SRPT MakePTT_SRPT(const std::vector<std::size_t>& Parts_per_Title)
{
    VTS_PTT_SRPT Table;
    Table.Number_of_Titles = static_cast<std::uint16_t>(Parts_per_Title.size());
    Table.Reserved = 0x0B0B;
    Table.Last_Byte = 0xFEEDu;
    for (std::size_t K = 0; K < Parts_per_Title.size(); ++K) {
        Table.Title_Offsets.push_back(0xF0000000u + static_cast<std::uint32_t>(K));
        std::vector<PTT_SRP> Parts;
        for (std::size_t J = 0; J < Parts_per_Title[K]; ++J)
            Parts.push_back({static_cast<std::uint16_t>(K + 1), static_cast<std::uint16_t>((J + 1) | (K << 12))});
        Table.Parts.push_back(Parts);
    }
    return Table;
}

inline VTS_TMAPT MakeTMAPT(const std::vector<TMAP>& Maps)
{
    VTS_TMAPT Table;
    Table.Number_of_TMAPs = static_cast<std::uint16_t>(Maps.size());
    Table.Reserved = 0x0D0D;
    Table.Last_Byte = 0xFEEDu;
    for (std::size_t I = 0; I < Maps.size(); ++I) Table.TMAP_Offsets.push_back(0xE0000000u + static_cast<std::uint32_t>(I));
    Table.TMAPs = Maps;
    return Table;
}

// A title set header with every carried field patterned and no tables.
inline VTS MakeHeaderOnlyVTS()
{
    VTS Record;
    std::memcpy(Record.Identifier.data(), "DVDVIDEO-VTS", 12);
    Record.Last_Sector_of_VTS = 0x00012345;
    FillPattern(Record.Reserved_1, 1);
    Record.Last_Sector_of_VTSI = 0x00ABCDEF;   // stale: the writer recomputes it
    Record.Reserved_2 = 0xA5;
    Record.Version = 0x11;
    Record.VTS_Category = 0x01020304;
    FillPattern(Record.Reserved_3, 2);
    Record.Last_Byte_of_VTSI_MAT = 0x000003FF;
    FillPattern(Record.Reserved_4, 3);
    Record.Start_Sector_of_Menu_VOBS = 0x00000040;
    Record.Start_Sector_of_Title_VOBS = 0x00000400;
    FillPattern(Record.Reserved_5, 4);

    MENU_ATTRIBUTES& Menu = Record.Menu_Attributes;
    FillPattern(Menu.Video_Attributes, 5);
    Menu.Number_of_Audio_Streams = 0x0102;
    FillPattern(Menu.Audio_Attributes, 6);
    FillPattern(Menu.Reserved_1, 7);
    Menu.Number_of_Subpicture_Streams = {0x00, 0x01};
    FillPattern(Menu.Subpicture_Attributes, 8);
    FillPattern(Menu.Reserved_2, 9);

    TITLE_SET_ATTRIBUTES& Titles = Record.Title_Set_Attributes;
    FillPattern(Titles.Video_Attributes, 10);
    Titles.Number_of_Audio_Streams = 0x0203;
    FillPattern(Titles.Audio_Attributes, 11);
    FillPattern(Titles.Reserved_1, 12);
    Titles.Number_of_Subpicture_Streams = 0x0304;
    FillPattern(Titles.Subpicture_Attributes, 13);
    Titles.Reserved_2 = 0xBEEF;
    FillPattern(Titles.Multichannel_Extension, 14);
    FillPattern(Titles.Reserved_3, 15);

    FillPattern(Record.Reserved_6, 16);

    // Only the reader sets these; the writer ignores them.
    Record.PTT_SRPT_OK = true;
    Record.TMAPT_OK = true;
    Record.Last_Byte_Read = 0x99999999;
    return Record;
}

// The chains of the rich title PGCIT: with and without command tables, odd
// and even program counts, 255 cells, a chain with no sub-table at all, and
// one whose program map is absent while a later sub-table is present.
inline std::vector<PGC> RichTitleChains()
{
    return {
        MakeChain({.Command_Table = true, .Pre = 2, .Post = 1, .Cell = 3, .Program_Map = true, .Programs = 3,
                   .Cell_Playback = true, .Cell_Position = true, .Cells = 3}, 1),
        MakeChain({.Program_Map = true, .Programs = 4, .Cell_Playback = true, .Cell_Position = true, .Cells = 4}, 2),
        MakeChain({.Command_Table = true, .Program_Map = true, .Programs = 255, .Cell_Playback = true,
                   .Cell_Position = true, .Cells = 255}, 3),
        MakeChain({}, 4),
        MakeChain({.Command_Table = true, .Pre = 1, .Programs = 2, .Cell_Playback = true, .Cells = 2}, 5),
    };
}

// All eight tables: four titles of 3, 1, 4 and 2 parts; five title chains;
// menu language units "en" with two chains and "fr" with none; time maps of
// 5, 0 and 2 entries; cell address tables and VOBU address maps of different
// lengths. The start sectors are stale but non-zero, so every table is written.
inline VTS MakeRichVTS()
{
    VTS Record = MakeHeaderOnlyVTS();

    Record.Start_Sector_of_PTT_SRPT = 0x107;
    Record.Start_Sector_of_PGCIT = 0x106;
    Record.Start_Sector_of_VTSM_PGCI_UT = 0x105;
    Record.Start_Sector_of_TMAPT = 0x104;
    Record.Start_Sector_of_VTSM_C_ADT = 0x103;
    Record.Start_Sector_of_VTSM_VOBU_ADMAP = 0x102;
    Record.Start_Sector_of_VTS_C_ADT = 0x101;
    Record.Start_Sector_of_VTS_VOBU_ADMAP = 0x100;

    Record.PTT_SRPT = MakePTT_SRPT({3, 1, 4, 2});
    Record.PGCIT = MakeChainList<VTS_PGCIT>(RichTitleChains(), 20);

    PGCI_UT& Menus = Record.VTSM_PGCI_UT;
    Menus.Number_of_Language_Units = 2;
    Menus.Reserved = 0x0E0E;
    Menus.Last_Byte = 0xFEEDu;
    Menus.Language_Search_Pointers = {{0x656E, 0x00, 0x80, 0xCAFE0000u}, {0x6672, 0x01, 0x00, 0xCAFE0001u}};
    Menus.Language_Units = {
        MakeChainList<PGCI_LU>({MakeChain({.Command_Table = true, .Pre = 1, .Post = 0, .Cell = 1, .Program_Map = true,
                                           .Programs = 2, .Cell_Playback = true, .Cell_Position = true, .Cells = 2},
                                          31),
                                MakeChain({.Program_Map = true, .Programs = 1}, 32)},
                               30),
        MakeChainList<PGCI_LU>({}, 40),
    };

    Record.TMAPT = MakeTMAPT({MakeTMAP(4, 5, 1), MakeTMAP(8, 0, 2), MakeTMAP(10, 2, 3)});
    Record.VTSM_C_ADT = MakeC_ADT(3, 50);
    Record.VTSM_VOBU_ADMAP = MakeVOBU_ADMAP(4, 60);
    Record.VTS_C_ADT = MakeC_ADT(5, 70);
    Record.VTS_VOBU_ADMAP = MakeVOBU_ADMAP(6, 80);
    return Record;
}

}  // namespace vts_fixture
