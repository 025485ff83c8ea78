// The title set information file: LoadIfoVTS and MakeIfoVTS, held to the
// file layout byte by byte, through round trips, layout edge cases, hostile
// and truncated input, and records that the writer must refuse.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "MemoryStream.h"
#include "VTSBuilders.h"
#include "library/Quoril.h"

using namespace vts_fixture;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t Sector = 2048;

// ---------------------------------------------------------------------------
// Big-endian access to file bytes

std::uint32_t BE32(const Bytes& File, std::size_t At)
{
    return std::uint32_t{File.at(At)} << 24 | std::uint32_t{File.at(At + 1)} << 16 |
           std::uint32_t{File.at(At + 2)} << 8 | std::uint32_t{File.at(At + 3)};
}

std::uint16_t BE16(const Bytes& File, std::size_t At)
{
    return static_cast<std::uint16_t>(File.at(At) << 8 | File.at(At + 1));
}

void SetBE32(Bytes& File, std::size_t At, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I) File.at(At + I) = static_cast<std::uint8_t>(Value >> (24 - 8 * I));
}

void SetBE16(Bytes& File, std::size_t At, std::uint16_t Value)
{
    File.at(At) = static_cast<std::uint8_t>(Value >> 8);
    File.at(At + 1) = static_cast<std::uint8_t>(Value);
}

// Appends big-endian fields, to build tables by hand.
struct TableBytes {
    Bytes Data;
    TableBytes& U8(std::uint8_t V) { Data.push_back(V); return *this; }
    TableBytes& U16(std::uint16_t V) { U8(static_cast<std::uint8_t>(V >> 8)); return U8(static_cast<std::uint8_t>(V)); }
    TableBytes& U32(std::uint32_t V) { U16(static_cast<std::uint16_t>(V >> 16)); return U16(static_cast<std::uint16_t>(V)); }
};

bool Mentions(const std::exception& Error, const std::string& Part)
{
    return std::string(Error.what()).find(Part) != std::string::npos;
}

// ---------------------------------------------------------------------------
// Calling the library

Bytes Write(const VTS& Record)
{
    MemoryStream Stream;
    MakeIfoVTS(Stream, Record);
    return Stream.Bytes();
}

void LoadInto(const Bytes& File, VTS& Record)
{
    MemoryStream Stream(File);
    LoadIfoVTS(Stream, Record);
}

VTS Load(const Bytes& File)
{
    VTS Record;
    LoadInto(File, Record);
    return Record;
}

// ---------------------------------------------------------------------------
// The eight tables, in header order

struct TableInfo {
    const char* Name;
    std::uint32_t VTS::*Start_Sector;
    bool VTS::*Flag;
    std::size_t Header_Offset;   // of the start sector field
};

const std::array<TableInfo, 8> Tables = {{
    {"PTT_SRPT", &VTS::Start_Sector_of_PTT_SRPT, &VTS::PTT_SRPT_OK, 0x0C8},
    {"PGCIT", &VTS::Start_Sector_of_PGCIT, &VTS::PGCIT_OK, 0x0CC},
    {"VTSM_PGCI_UT", &VTS::Start_Sector_of_VTSM_PGCI_UT, &VTS::VTSM_PGCI_UT_OK, 0x0D0},
    {"TMAPT", &VTS::Start_Sector_of_TMAPT, &VTS::TMAPT_OK, 0x0D4},
    {"VTSM_C_ADT", &VTS::Start_Sector_of_VTSM_C_ADT, &VTS::VTSM_C_ADT_OK, 0x0D8},
    {"VTSM_VOBU_ADMAP", &VTS::Start_Sector_of_VTSM_VOBU_ADMAP, &VTS::VTSM_VOBU_ADMAP_OK, 0x0DC},
    {"VTS_C_ADT", &VTS::Start_Sector_of_VTS_C_ADT, &VTS::VTS_C_ADT_OK, 0x0E0},
    {"VTS_VOBU_ADMAP", &VTS::Start_Sector_of_VTS_VOBU_ADMAP, &VTS::VTS_VOBU_ADMAP_OK, 0x0E4},
}};

std::uint32_t TableLastByte(const VTS& R, std::size_t I)
{
    switch (I) {
    case 0: return R.PTT_SRPT.Last_Byte;
    case 1: return R.PGCIT.Last_Byte;
    case 2: return R.VTSM_PGCI_UT.Last_Byte;
    case 3: return R.TMAPT.Last_Byte;
    case 4: return R.VTSM_C_ADT.Last_Byte;
    case 5: return R.VTSM_VOBU_ADMAP.Last_Byte;
    case 6: return R.VTS_C_ADT.Last_Byte;
    default: return R.VTS_VOBU_ADMAP.Last_Byte;
    }
}

bool SameTable(const VTS& A, const VTS& B, std::size_t I)
{
    switch (I) {
    case 0: return A.PTT_SRPT == B.PTT_SRPT;
    case 1: return A.PGCIT == B.PGCIT;
    case 2: return A.VTSM_PGCI_UT == B.VTSM_PGCI_UT;
    case 3: return A.TMAPT == B.TMAPT;
    case 4: return A.VTSM_C_ADT == B.VTSM_C_ADT;
    case 5: return A.VTSM_VOBU_ADMAP == B.VTSM_VOBU_ADMAP;
    case 6: return A.VTS_C_ADT == B.VTS_C_ADT;
    default: return A.VTS_VOBU_ADMAP == B.VTS_VOBU_ADMAP;
    }
}

std::array<bool, 8> Flags(const VTS& R)
{
    std::array<bool, 8> Result{};
    for (std::size_t I = 0; I < 8; ++I) Result[I] = R.*Tables[I].Flag;
    return Result;
}

constexpr std::array<bool, 8> All_True = {true, true, true, true, true, true, true, true};

void KeepOnly(VTS& Record, const std::vector<std::size_t>& Present)
{
    for (std::size_t I = 0; I < 8; ++I)
        if (std::find(Present.begin(), Present.end(), I) == Present.end()) Record.*Tables[I].Start_Sector = 0;
}

// Compares two records table by table, so that a failure names the part.
void ExpectSameRecord(const VTS& Actual, const VTS& Expected)
{
    for (std::size_t I = 0; I < 8; ++I) EXPECT_TRUE(SameTable(Actual, Expected, I)) << Tables[I].Name << " differs";
    EXPECT_EQ(Flags(Actual), Flags(Expected));
    EXPECT_EQ(Actual.Last_Byte_Read, Expected.Last_Byte_Read);
    for (std::size_t I = 0; I < 8; ++I)
        EXPECT_EQ(Actual.*Tables[I].Start_Sector, Expected.*Tables[I].Start_Sector) << Tables[I].Name;
    EXPECT_EQ(Actual.Last_Sector_of_VTSI, Expected.Last_Sector_of_VTSI);
    VTS A = Actual, B = Expected;
    A.PTT_SRPT = B.PTT_SRPT = {};
    A.PGCIT = B.PGCIT = {};
    A.VTSM_PGCI_UT = B.VTSM_PGCI_UT = {};
    A.TMAPT = B.TMAPT = {};
    A.VTSM_C_ADT = B.VTSM_C_ADT = {};
    A.VTSM_VOBU_ADMAP = B.VTSM_VOBU_ADMAP = {};
    A.VTS_C_ADT = B.VTS_C_ADT = {};
    A.VTS_VOBU_ADMAP = B.VTS_VOBU_ADMAP = {};
    EXPECT_TRUE(A == B) << "header fields differ";
}

// ---------------------------------------------------------------------------
// An independent layout of a record, as the format lays a title set file out:
// the record with every field that the writer recomputes set to the value
// that a file written from it must hold, and the reader's verdicts of a clean
// read. Chains always begin at even positions in these tables, so a program
// map with an odd number of programs is followed by one filler byte.

std::uint32_t LayOutChain(PGC& Chain)
{
    std::uint32_t At = 236;
    if (Chain.Offset_of_Command_Table != 0) {
        const std::uint32_t Commands = std::uint32_t{Chain.Number_of_Pre_Commands} + Chain.Number_of_Post_Commands +
                                       Chain.Number_of_Cell_Commands;
        Chain.Offset_of_Command_Table = static_cast<std::uint16_t>(At);
        Chain.Command_Table_Last_Byte = static_cast<std::uint16_t>(8 * Commands + 7);
        At += 8 + 8 * Commands;
    }
    if (Chain.Offset_of_Program_Map != 0) {
        Chain.Offset_of_Program_Map = static_cast<std::uint16_t>(At);
        At += Chain.Number_of_Programs + Chain.Number_of_Programs % 2;
    }
    if (Chain.Offset_of_Cell_Playback != 0) {
        Chain.Offset_of_Cell_Playback = static_cast<std::uint16_t>(At);
        At += 24u * Chain.Number_of_Cells;
    }
    if (Chain.Offset_of_Cell_Position != 0) {
        Chain.Offset_of_Cell_Position = static_cast<std::uint16_t>(At);
        At += 4u * Chain.Number_of_Cells;
    }
    return At;
}

template <class List>
std::uint32_t LayOutChainList(List& Chains)
{
    std::uint32_t At = 8 + 8u * Chains.Number_of_PGCs;
    for (std::size_t J = 0; J < Chains.PGCs.size(); ++J) {
        Chains.PGC_Search_Pointers[J].Offset_of_PGC = At;
        At += LayOutChain(Chains.PGCs[J]);
    }
    Chains.Last_Byte = At - 1;
    return At;
}

// Returns the size of each table in bytes, in header order (0 when absent).
std::array<std::uint32_t, 8> LayOutTables(VTS& R)
{
    std::array<std::uint32_t, 8> Size{};
    {
        std::uint32_t At = 8 + 4u * R.PTT_SRPT.Number_of_Titles;
        for (std::size_t K = 0; K < R.PTT_SRPT.Parts.size(); ++K) {
            R.PTT_SRPT.Title_Offsets[K] = At;
            At += 4 * static_cast<std::uint32_t>(R.PTT_SRPT.Parts[K].size());
        }
        R.PTT_SRPT.Last_Byte = At - 1;
        Size[0] = At;
    }
    Size[1] = LayOutChainList(R.PGCIT);
    {
        PGCI_UT& Menus = R.VTSM_PGCI_UT;
        std::uint32_t At = 8 + 8u * Menus.Number_of_Language_Units;
        for (std::size_t K = 0; K < Menus.Language_Units.size(); ++K) {
            Menus.Language_Search_Pointers[K].Offset_of_Language_Unit = At;
            At += LayOutChainList(Menus.Language_Units[K]);
        }
        Menus.Last_Byte = At - 1;
        Size[2] = At;
    }
    {
        std::uint32_t At = 8 + 4u * R.TMAPT.Number_of_TMAPs;
        for (std::size_t I = 0; I < R.TMAPT.TMAPs.size(); ++I) {
            R.TMAPT.TMAP_Offsets[I] = At;
            At += 4 + 4u * R.TMAPT.TMAPs[I].Number_of_Entries;
        }
        R.TMAPT.Last_Byte = At - 1;
        Size[3] = At;
    }
    Size[4] = 8 + 12 * static_cast<std::uint32_t>(R.VTSM_C_ADT.Cell_Addresses.size());
    R.VTSM_C_ADT.Last_Byte = Size[4] - 1;
    Size[5] = 4 + 4 * static_cast<std::uint32_t>(R.VTSM_VOBU_ADMAP.VOBU_Start_Sectors.size());
    R.VTSM_VOBU_ADMAP.Last_Byte = Size[5] - 1;
    Size[6] = 8 + 12 * static_cast<std::uint32_t>(R.VTS_C_ADT.Cell_Addresses.size());
    R.VTS_C_ADT.Last_Byte = Size[6] - 1;
    Size[7] = 4 + 4 * static_cast<std::uint32_t>(R.VTS_VOBU_ADMAP.VOBU_Start_Sectors.size());
    R.VTS_VOBU_ADMAP.Last_Byte = Size[7] - 1;
    return Size;
}

// What reading a file written from Written into a fresh record must give.
VTS ExpectedReadBack(VTS Written)
{
    const std::array<std::uint32_t, 8> Size = LayOutTables(Written);
    std::uint32_t Next = 1;
    for (std::size_t I = 0; I < 8; ++I) {
        Written.*Tables[I].Flag = true;
        if (Written.*Tables[I].Start_Sector == 0) continue;
        Written.*Tables[I].Start_Sector = Next;
        Next += (Size[I] + Sector - 1) / Sector;   // padding up to the next boundary only
        Written.Last_Byte_Read = Size[I] - 1;
    }
    Written.Last_Sector_of_VTSI = Next - 1;
    // Tables that were not written are not read: a fresh record keeps them empty.
    for (std::size_t I = 0; I < 8; ++I)
        if (Written.*Tables[I].Start_Sector == 0) {
            VTS Fresh;
            switch (I) {
            case 0: Written.PTT_SRPT = Fresh.PTT_SRPT; break;
            case 1: Written.PGCIT = Fresh.PGCIT; break;
            case 2: Written.VTSM_PGCI_UT = Fresh.VTSM_PGCI_UT; break;
            case 3: Written.TMAPT = Fresh.TMAPT; break;
            case 4: Written.VTSM_C_ADT = Fresh.VTSM_C_ADT; break;
            case 5: Written.VTSM_VOBU_ADMAP = Fresh.VTSM_VOBU_ADMAP; break;
            case 6: Written.VTS_C_ADT = Fresh.VTS_C_ADT; break;
            default: Written.VTS_VOBU_ADMAP = Fresh.VTS_VOBU_ADMAP; break;
            }
        }
    if (Next == 1) Written.Last_Byte_Read = 0;   // a fresh record, and no table read
    return Written;
}

// Every byte from a table's end to the next sector boundary is zero.
void ExpectZeroPadding(const Bytes& File, const VTS& Loaded)
{
    for (std::size_t I = 0; I < 8; ++I) {
        const std::uint32_t Start = Loaded.*Tables[I].Start_Sector;
        if (Start == 0) continue;
        const std::size_t End = Start * Sector + TableLastByte(Loaded, I) + 1;
        const std::size_t Boundary = (End + Sector - 1) / Sector * Sector;
        ASSERT_LE(Boundary, File.size()) << Tables[I].Name;
        for (std::size_t At = End; At < Boundary; ++At)
            ASSERT_EQ(File[At], 0) << Tables[I].Name << " padding at byte " << At;
    }
}

// A file of a header sector from MakeHeaderOnlyVTS and, at the given sector,
// a table built by hand.
Bytes FileWithTable(std::size_t Table_Index, const Bytes& Table, std::uint32_t At_Sector = 1)
{
    Bytes File = Write(MakeHeaderOnlyVTS());
    File.resize(std::max(File.size(), At_Sector * Sector + Table.size()));
    std::copy(Table.begin(), Table.end(), File.begin() + At_Sector * Sector);
    SetBE32(File, Tables[Table_Index].Header_Offset, At_Sector);
    return File;
}

// ---------------------------------------------------------------------------
// The rich title set: every table, every shape

TEST(VTSRoundTrip, RichTitleSetReadsBackAsWrittenWithRecomputedFields)
{
    const VTS Original = MakeRichVTS();
    const VTS Before = Original;

    MemoryStream Stream;
    MakeIfoVTS(Stream, Original);
    EXPECT_EQ(Stream.Position(), 0x0E8);
    EXPECT_TRUE(Original == Before) << "the caller's record changed";
    const Bytes File = Stream.Bytes();

    const VTS Loaded = Load(File);
    EXPECT_EQ(Flags(Loaded), All_True);
    ExpectSameRecord(Loaded, ExpectedReadBack(Original));
    EXPECT_EQ(File.size(), (Loaded.Last_Sector_of_VTSI + 1) * Sector);
    ExpectZeroPadding(File, Loaded);

    // The title chains take several sectors: 48 bytes of pointers and chains
    // of 380, 352, 7640, 236 and 300 bytes.
    EXPECT_EQ(Loaded.PGCIT.Last_Byte, 48u + 380 + 352 + 7640 + 236 + 300 - 1);
    EXPECT_EQ(Loaded.Start_Sector_of_VTSM_PGCI_UT, 2u + 5);

    // Writing what was read gives the same bytes again.
    EXPECT_EQ(Write(Loaded), File);
}

TEST(VTSRoundTrip, LoadLeavesStreamAfterTheLastTableAndKeepsItsMeasuredEnd)
{
    const Bytes File = Write(MakeRichVTS());
    MemoryStream Stream(File);
    VTS Loaded;
    LoadIfoVTS(Stream, Loaded);
    EXPECT_EQ(Loaded.Last_Byte_Read, 3u + 4 * 6) << "the measured end of VTS_VOBU_ADMAP";
    EXPECT_EQ(Stream.Position(), Loaded.Start_Sector_of_VTS_VOBU_ADMAP * Sector + 4 + 4 * 6);
}

TEST(VTSRoundTrip, LoadRightAfterIdentifyTypeNeedsNoRewind)
{
    const Bytes File = Write(MakeRichVTS());
    MemoryStream Stream(File);
    ASSERT_EQ(IdentifyType(Stream), Ifo_Type_VTS);
    ASSERT_EQ(Stream.Position(), 12);
    VTS Loaded;
    LoadIfoVTS(Stream, Loaded);
    ExpectSameRecord(Loaded, Load(File));
}

// ---------------------------------------------------------------------------
// Concrete bytes of small files, laid out by hand

TEST(VTSLayout, SmallFileHasTheHandComputedBytes)
{
    VTS Record = MakeHeaderOnlyVTS();
    Record.Start_Sector_of_PTT_SRPT = 9;
    Record.Start_Sector_of_PGCIT = 9;
    Record.Start_Sector_of_VTS_VOBU_ADMAP = 9;
    Record.PTT_SRPT = MakePTT_SRPT({2, 1});
    Record.PGCIT = MakeChainList<VTS_PGCIT>(
        {MakeChain({.Command_Table = true, .Pre = 1, .Post = 0, .Cell = 1, .Program_Map = true, .Programs = 1,
                    .Cell_Playback = true, .Cell_Position = true, .Cells = 1}, 7)},
        1);
    Record.VTS_VOBU_ADMAP = MakeVOBU_ADMAP(2, 5);
    const Bytes File = Write(Record);

    // Sector 0: the header, patched at 0x1C and from 0xC0 to 0xE7.
    ASSERT_EQ(File.size(), 4 * Sector);
    EXPECT_EQ(std::string(File.begin(), File.begin() + 12), "DVDVIDEO-VTS");
    EXPECT_EQ(BE32(File, 0x00C), 0x00012345u);
    EXPECT_EQ(File[0x010], Record.Reserved_1[0]);
    EXPECT_EQ(BE32(File, 0x01C), 3u) << "Last_Sector_of_VTSI";
    EXPECT_EQ(File[0x020], 0xA5);
    EXPECT_EQ(File[0x021], 0x11);
    EXPECT_EQ(BE32(File, 0x022), 0x01020304u);
    EXPECT_EQ(File[0x026], Record.Reserved_3[0]);
    EXPECT_EQ(BE32(File, 0x080), 0x3FFu);
    EXPECT_EQ(File[0x084], Record.Reserved_4[0]);
    const std::array<std::uint32_t, 10> Start_Sectors = {0x40, 0x400, 1, 2, 0, 0, 0, 0, 0, 3};
    for (std::size_t I = 0; I < Start_Sectors.size(); ++I)
        EXPECT_EQ(BE32(File, 0x0C0 + 4 * I), Start_Sectors[I]) << "start sector field at " << 0x0C0 + 4 * I;
    EXPECT_EQ(File[0x0E8], Record.Reserved_5[0]);
    EXPECT_EQ(File[0x100], Record.Menu_Attributes.Video_Attributes[0]);
    EXPECT_EQ(BE16(File, 0x102), 0x0102);
    EXPECT_EQ(File[0x154], 0x00);
    EXPECT_EQ(File[0x155], 0x01);
    EXPECT_EQ(File[0x1FF], Record.Menu_Attributes.Reserved_2[163]);
    EXPECT_EQ(BE16(File, 0x202), 0x0203);
    EXPECT_EQ(BE16(File, 0x254), 0x0304);
    EXPECT_EQ(BE16(File, 0x316), 0xBEEF);
    EXPECT_EQ(File[0x3FF], Record.Title_Set_Attributes.Reserved_3[39]);
    EXPECT_EQ(File[0x400], Record.Reserved_6[0]);
    EXPECT_EQ(File[0x7FF], Record.Reserved_6[1023]);

    // Sector 1: PTT_SRPT of two titles, 2 and 1 parts: 8 + 8 + 12 bytes.
    const std::size_t P = 0x800;
    EXPECT_EQ(BE16(File, P), 2);
    EXPECT_EQ(BE16(File, P + 2), 0x0B0B);
    EXPECT_EQ(BE32(File, P + 4), 27u);
    EXPECT_EQ(BE32(File, P + 8), 16u);
    EXPECT_EQ(BE32(File, P + 12), 24u);
    EXPECT_EQ(BE16(File, P + 16), 1);
    EXPECT_EQ(BE16(File, P + 18), 1);
    EXPECT_EQ(BE16(File, P + 20), 1);
    EXPECT_EQ(BE16(File, P + 22), 2);
    EXPECT_EQ(BE16(File, P + 24), 2);
    EXPECT_EQ(BE16(File, P + 26), 0x1001);
    EXPECT_EQ(File[P + 28], 0);

    // Sector 2: PGCIT of one chain at offset 16; the chain has a command
    // table (2 commands: 24 bytes) at 236, a program map of one program and
    // its filler at 260, one cell playback entry at 262 and one cell position
    // entry at 286: 290 bytes.
    const std::size_t T = 0x1000;
    const std::size_t C = T + 16;
    EXPECT_EQ(BE16(File, T), 1);
    EXPECT_EQ(BE32(File, T + 4), 16u + 290 - 1);
    EXPECT_EQ(File[T + 8], Record.PGCIT.PGC_Search_Pointers[0].Category_Byte_1);
    EXPECT_EQ(BE16(File, T + 10), Record.PGCIT.PGC_Search_Pointers[0].Parental_Mask);
    EXPECT_EQ(BE32(File, T + 12), 16u) << "Offset_of_PGC";
    EXPECT_EQ(BE32(File, C + 4), Record.PGCIT.PGCs[0].Playback_Time);
    EXPECT_EQ(BE16(File, C + 0xE4), 236) << "Offset_of_Command_Table";
    EXPECT_EQ(BE16(File, C + 0xE6), 260) << "Offset_of_Program_Map";
    EXPECT_EQ(BE16(File, C + 0xE8), 262) << "Offset_of_Cell_Playback";
    EXPECT_EQ(BE16(File, C + 0xEA), 286) << "Offset_of_Cell_Position";
    EXPECT_EQ(BE16(File, C + 236), 1) << "Number_of_Pre_Commands";
    EXPECT_EQ(BE16(File, C + 238), 0);
    EXPECT_EQ(BE16(File, C + 240), 1);
    EXPECT_EQ(BE16(File, C + 242), 23) << "Command_Table_Last_Byte";
    EXPECT_EQ(File[C + 244], Record.PGCIT.PGCs[0].Pre_Commands[0][0]);
    EXPECT_EQ(File[C + 252], Record.PGCIT.PGCs[0].Cell_Commands[0][0]);
    EXPECT_EQ(File[C + 260], 1) << "program map";
    EXPECT_EQ(File[C + 261], 0) << "filler";
    EXPECT_EQ(File[C + 262], 0x10) << "first byte of the cell playback entry";
    EXPECT_EQ(BE16(File, C + 286), 0x0100) << "VOB_ID of the cell position entry";
    EXPECT_EQ(File[C + 289], 1) << "Cell_ID";
    EXPECT_EQ(File[C + 290], 0);

    // Sector 3: VTS_VOBU_ADMAP of two entries.
    EXPECT_EQ(BE32(File, 0x1800), 11u);
    EXPECT_EQ(BE32(File, 0x1804), 5u);
    EXPECT_EQ(BE32(File, 0x1808), 22u);
}

TEST(VTSLayout, MenuUnitsAndTimeMapsHaveTheHandComputedBytes)
{
    VTS Record = MakeHeaderOnlyVTS();
    Record.Start_Sector_of_VTSM_PGCI_UT = 1;
    Record.Start_Sector_of_TMAPT = 1;
    Record.VTSM_PGCI_UT.Number_of_Language_Units = 2;
    Record.VTSM_PGCI_UT.Language_Search_Pointers = {{0x656E, 0, 0x80, 77}, {0x6672, 0, 0x40, 77}};
    Record.VTSM_PGCI_UT.Language_Units = {MakeChainList<PGCI_LU>({MakeChain({}, 1)}, 1),
                                          MakeChainList<PGCI_LU>({}, 2)};
    Record.TMAPT = MakeTMAPT({MakeTMAP(3, 2, 1), MakeTMAP(5, 0, 2)});
    const Bytes File = Write(Record);
    ASSERT_EQ(File.size(), 3 * Sector);
    EXPECT_EQ(BE32(File, 0x0D0), 1u);
    EXPECT_EQ(BE32(File, 0x0D4), 2u);
    EXPECT_EQ(BE32(File, 0x01C), 2u);

    // The unit table: 8 + 2 * 8 bytes of header and pointers; unit "en" at
    // 24 with one chain of 236 bytes at 16 from the unit; unit "fr" at 276,
    // 8 bytes.
    const std::size_t U = 0x800;
    EXPECT_EQ(BE16(File, U), 2);
    EXPECT_EQ(BE32(File, U + 4), 283u);
    EXPECT_EQ(BE16(File, U + 8), 0x656E);
    EXPECT_EQ(File[U + 11], 0x80);
    EXPECT_EQ(BE32(File, U + 12), 24u);
    EXPECT_EQ(BE16(File, U + 16), 0x6672);
    EXPECT_EQ(BE32(File, U + 20), 276u);
    EXPECT_EQ(BE16(File, U + 24), 1) << "Number_of_PGCs of unit en";
    EXPECT_EQ(BE32(File, U + 28), 251u) << "Last_Byte of unit en";
    EXPECT_EQ(BE32(File, U + 36), 16u) << "Offset_of_PGC, from the unit";
    EXPECT_EQ(BE16(File, U + 40), 0x0101) << "first field of the chain";
    EXPECT_EQ(BE16(File, U + 40 + 0xE4), 0) << "no command table: the offset stays 0";
    EXPECT_EQ(BE16(File, U + 276), 0) << "Number_of_PGCs of unit fr";
    EXPECT_EQ(BE32(File, U + 280), 7u) << "Last_Byte of unit fr";

    // The time map table: two offsets, a map of two entries at 16 and an
    // empty one at 28.
    const std::size_t M = 0x1000;
    EXPECT_EQ(BE16(File, M), 2);
    EXPECT_EQ(BE32(File, M + 4), 31u);
    EXPECT_EQ(BE32(File, M + 8), 16u);
    EXPECT_EQ(BE32(File, M + 12), 28u);
    EXPECT_EQ(File[M + 16], 3);
    EXPECT_EQ(BE16(File, M + 18), 2);
    EXPECT_EQ(BE32(File, M + 20), Record.TMAPT.TMAPs[0].Entries[0]);
    EXPECT_EQ(BE32(File, M + 24), Record.TMAPT.TMAPs[0].Entries[1]);
    EXPECT_EQ(File[M + 28], 5);
    EXPECT_EQ(BE16(File, M + 30), 0);
}

// ---------------------------------------------------------------------------
// Layout edge cases

TEST(VTSLayout, NoTablesGiveTheHeaderSectorAloneAndReadingIt)
{
    VTS Record = MakeRichVTS();
    KeepOnly(Record, {});
    MemoryStream Stream;
    MakeIfoVTS(Stream, Record);
    EXPECT_EQ(Stream.Position(), 0x0E8);
    const Bytes File = Stream.Bytes();
    ASSERT_EQ(File.size(), Sector);
    EXPECT_EQ(BE32(File, 0x01C), 0u);
    for (std::size_t I = 0; I < 8; ++I) EXPECT_EQ(BE32(File, Tables[I].Header_Offset), 0u) << Tables[I].Name;

    // Read into a used record: only the header changes.
    VTS Used = Load(Write(MakeRichVTS()));
    for (std::size_t I = 0; I < 8; ++I) Used.*Tables[I].Flag = false;
    Used.Last_Byte_Read = 0x12345678;
    Used.Version = 0x77;
    VTS Expected = Used;
    Expected.Version = Record.Version;
    Expected.Last_Sector_of_VTSI = 0;
    for (std::size_t I = 0; I < 8; ++I) {
        Expected.*Tables[I].Flag = true;
        Expected.*Tables[I].Start_Sector = 0;
    }
    MemoryStream Input(File);
    LoadIfoVTS(Input, Used);
    EXPECT_EQ(Input.Position(), static_cast<std::int64_t>(Sector));
    ExpectSameRecord(Used, Expected);
}

TEST(VTSLayout, EachTableAloneBeginsAtSectorOne)
{
    const VTS Rich = MakeRichVTS();
    for (std::size_t I = 0; I < 8; ++I) {
        SCOPED_TRACE(Tables[I].Name);
        VTS Record = Rich;
        KeepOnly(Record, {I});
        const Bytes File = Write(Record);
        for (std::size_t J = 0; J < 8; ++J) EXPECT_EQ(BE32(File, Tables[J].Header_Offset), J == I ? 1u : 0u);
        const VTS Loaded = Load(File);
        EXPECT_EQ(Flags(Loaded), All_True);
        ExpectSameRecord(Loaded, ExpectedReadBack(Record));
        EXPECT_EQ(File.size(), (Loaded.Last_Sector_of_VTSI + 1) * Sector);
        ExpectZeroPadding(File, Loaded);
    }
}

struct SectorLayoutCase {
    const char* Name;
    std::function<VTS()> Build;
    std::array<std::uint32_t, 8> Start_Sectors;
    std::uint32_t Last_Sector_of_VTSI;
};

VTS WithParts(std::size_t Parts, bool With_PGCIT)
{
    VTS Record = MakeRichVTS();
    Record.PTT_SRPT = MakePTT_SRPT({Parts});
    KeepOnly(Record, With_PGCIT ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{0});
    return Record;
}

VTS WithVOBUs(std::size_t Entries, bool With_PTT)
{
    VTS Record = MakeRichVTS();
    Record.VTS_VOBU_ADMAP = MakeVOBU_ADMAP(Entries, 1);
    if (With_PTT) Record.PTT_SRPT = MakePTT_SRPT({});
    KeepOnly(Record, With_PTT ? std::vector<std::size_t>{0, 7} : std::vector<std::size_t>{7});
    return Record;
}

// A table of 2048 bytes fills its sector and the next table follows directly;
// one byte less is padded, one entry more takes a second sector.
TEST(VTSLayout, TablesArePaddedUpToTheNextSectorBoundaryOnly)
{
    const std::vector<SectorLayoutCase> Cases = {
        {"509 parts: 2048 bytes, alone", [] { return WithParts(509, false); }, {1, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"509 parts: 2048 bytes, then PGCIT", [] { return WithParts(509, true); }, {1, 2, 0, 0, 0, 0, 0, 0}, 6},
        {"508 parts: 2044 bytes, then PGCIT", [] { return WithParts(508, true); }, {1, 2, 0, 0, 0, 0, 0, 0}, 6},
        {"510 parts: 2052 bytes, then PGCIT", [] { return WithParts(510, true); }, {1, 3, 0, 0, 0, 0, 0, 0}, 7},
        {"VOBU map of 511 entries: 2048 bytes", [] { return WithVOBUs(511, false); }, {0, 0, 0, 0, 0, 0, 0, 1}, 1},
        {"VOBU map of 512 entries: 2052 bytes", [] { return WithVOBUs(512, false); }, {0, 0, 0, 0, 0, 0, 0, 1}, 2},
        {"PTT_SRPT of no titles, then a map", [] { return WithVOBUs(3, true); }, {1, 0, 0, 0, 0, 0, 0, 2}, 2},
    };
    for (const SectorLayoutCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const VTS Record = Case.Build();
        const Bytes File = Write(Record);
        for (std::size_t I = 0; I < 8; ++I)
            EXPECT_EQ(BE32(File, Tables[I].Header_Offset), Case.Start_Sectors[I]) << Tables[I].Name;
        EXPECT_EQ(BE32(File, 0x01C), Case.Last_Sector_of_VTSI);
        EXPECT_EQ(File.size(), (Case.Last_Sector_of_VTSI + 1) * Sector);
        // The table that follows begins at its sector: its count field is there.
        if (Case.Start_Sectors[1] != 0) {
            EXPECT_EQ(BE16(File, Case.Start_Sectors[1] * Sector), 5);
        }
        const VTS Loaded = Load(File);
        EXPECT_EQ(Flags(Loaded), All_True);
        ExpectSameRecord(Loaded, ExpectedReadBack(Record));
        ExpectZeroPadding(File, Loaded);
    }
}

TEST(VTSLayout, PartOfTitleTableOfNoTitlesIsEightBytes)
{
    VTS Record = MakeRichVTS();
    Record.PTT_SRPT = MakePTT_SRPT({});
    KeepOnly(Record, {0});
    const Bytes File = Write(Record);
    ASSERT_EQ(File.size(), 2 * Sector);
    EXPECT_EQ(BE16(File, Sector), 0);
    EXPECT_EQ(BE32(File, Sector + 4), 7u);
    EXPECT_TRUE(std::all_of(File.begin() + Sector + 8, File.end(), [](std::uint8_t B) { return B == 0; }));

    VTS Used = Load(Write(MakeRichVTS()));
    LoadInto(File, Used);
    EXPECT_TRUE(Used.PTT_SRPT_OK);
    EXPECT_TRUE(Used.PTT_SRPT.Title_Offsets.empty());
    EXPECT_TRUE(Used.PTT_SRPT.Parts.empty());
    EXPECT_EQ(Used.Last_Byte_Read, 7u);
}

// The table stores no count of parts: the reader derives it from the next
// title's offset, and from Last_Byte for the last title.
struct PartCountCase {
    std::uint32_t Offset_0, Offset_1, Last_Byte;
    std::size_t Parts_0, Parts_1;
    bool Flag;
    std::uint32_t Measured;
};

TEST(VTSReader, CountsPartsFromTheTitleOffsets)
{
    const std::vector<PartCountCase> Cases = {
        {16, 24, 35, 2, 3, true, 35},
        {16, 23, 34, 2, 3, true, 34},    // 7 bytes give (23 - 16 + 1) div 4 = 2 parts
        {16, 23, 35, 2, 3, false, 34},   // (35 - 23 + 1) div 4 = 3 parts end at 34
        {16, 16, 19, 0, 1, true, 19},
        {16, 24, 23, 2, 0, true, 23},
    };
    for (const PartCountCase& Case : Cases) {
        SCOPED_TRACE(testing::Message() << "offsets " << Case.Offset_0 << "/" << Case.Offset_1 << ", Last_Byte "
                                        << Case.Last_Byte);
        TableBytes Table;
        Table.U16(2).U16(0).U32(Case.Last_Byte).U32(Case.Offset_0).U32(Case.Offset_1);
        for (std::uint16_t V = 0; Table.Data.size() < 40; ++V) Table.U16(static_cast<std::uint16_t>(0x0100 + V));
        const Bytes File = FileWithTable(0, Table.Data);
        const VTS Loaded = Load(File);
        ASSERT_EQ(Loaded.PTT_SRPT.Parts.size(), 2u);
        EXPECT_EQ(Loaded.PTT_SRPT.Title_Offsets, (std::vector<std::uint32_t>{Case.Offset_0, Case.Offset_1}));
        ASSERT_EQ(Loaded.PTT_SRPT.Parts[0].size(), Case.Parts_0);
        ASSERT_EQ(Loaded.PTT_SRPT.Parts[1].size(), Case.Parts_1);
        EXPECT_EQ(Loaded.PTT_SRPT_OK, Case.Flag);
        EXPECT_EQ(Loaded.Last_Byte_Read, Case.Measured);
        // Each part is read at its title's offset, whatever the alignment.
        for (std::size_t J = 0; J < Case.Parts_1; ++J) {
            EXPECT_EQ(Loaded.PTT_SRPT.Parts[1][J].PGCN, BE16(File, Sector + Case.Offset_1 + 4 * J));
            EXPECT_EQ(Loaded.PTT_SRPT.Parts[1][J].PGN, BE16(File, Sector + Case.Offset_1 + 4 * J + 2));
        }
        for (std::size_t J = 0; J < Case.Parts_0; ++J)
            EXPECT_EQ(Loaded.PTT_SRPT.Parts[0][J].PGN, BE16(File, Sector + Case.Offset_0 + 4 * J + 2));
    }
}

TEST(VTSReader, TooLargeLastByteOfTitleChainsClearsItsFlagAndKeepsTheData)
{
    VTS Record = MakeRichVTS();
    KeepOnly(Record, {1, 7});
    const Bytes Good = Write(Record);
    const VTS Clean = Load(Good);
    for (const std::uint32_t Wrong : {Clean.PGCIT.Last_Byte + 100, Clean.PGCIT.Last_Byte - 1}) {
        Bytes File = Good;
        SetBE32(File, Sector + 4, Wrong);
        VTS Loaded;
        MemoryStream Stream(File);
        LoadIfoVTS(Stream, Loaded);
        EXPECT_FALSE(Loaded.PGCIT_OK);
        EXPECT_TRUE(Loaded.VTS_VOBU_ADMAP_OK) << "the other tables are judged on their own";
        EXPECT_EQ(Loaded.PGCIT.Last_Byte, Wrong);
        EXPECT_EQ(Loaded.PGCIT.PGC_Search_Pointers, Clean.PGCIT.PGC_Search_Pointers);
        EXPECT_EQ(Loaded.PGCIT.PGCs, Clean.PGCIT.PGCs);

        // PGCIT alone: Last_Byte_Read holds its measured end.
        SetBE32(File, Tables[7].Header_Offset, 0);
        Loaded = Load(File);
        EXPECT_FALSE(Loaded.PGCIT_OK);
        EXPECT_EQ(Loaded.Last_Byte_Read, Clean.PGCIT.Last_Byte);
    }
}

TEST(VTSReader, ReloadLeavesAbsentTablesAsTheyWere)
{
    VTS Used = Load(Write(MakeRichVTS()));
    const VTS Before = Used;

    VTS Other = MakeHeaderOnlyVTS();
    Other.Version = 0x22;
    Other.Start_Sector_of_PTT_SRPT = 1;
    Other.PTT_SRPT = MakePTT_SRPT({7});
    LoadInto(Write(Other), Used);

    EXPECT_EQ(Flags(Used), All_True);
    EXPECT_EQ(Used.Version, 0x22);
    EXPECT_EQ(Used.PTT_SRPT.Parts, Other.PTT_SRPT.Parts);
    EXPECT_EQ(Used.Last_Byte_Read, 8u + 4 + 28 - 1);
    for (std::size_t I = 1; I < 8; ++I) {
        EXPECT_TRUE(SameTable(Used, Before, I)) << Tables[I].Name;
        EXPECT_EQ(Used.*Tables[I].Start_Sector, 0u) << Tables[I].Name;
    }

    // The leftovers are not written: the start sectors decide.
    const Bytes Rewritten = Write(Used);
    EXPECT_EQ(Rewritten.size(), 2 * Sector);
    EXPECT_EQ(Rewritten, Write(Other));
}

TEST(VTSReader, TimeMapOfNoEntriesKeepsTheEntriesTheRecordHeld)
{
    VTS First = MakeHeaderOnlyVTS();
    First.Start_Sector_of_TMAPT = 1;
    First.TMAPT = MakeTMAPT({MakeTMAP(1, 5, 1), MakeTMAP(1, 3, 2)});
    VTS Second = First;
    Second.TMAPT = MakeTMAPT({MakeTMAP(2, 2, 3), MakeTMAP(2, 0, 4)});

    VTS Used = Load(Write(First));
    LoadInto(Write(Second), Used);
    EXPECT_TRUE(Used.TMAPT_OK);
    EXPECT_EQ(Used.TMAPT.TMAPs[0].Entries, Second.TMAPT.TMAPs[0].Entries);
    EXPECT_EQ(Used.TMAPT.TMAPs[1].Number_of_Entries, 0);
    EXPECT_EQ(Used.TMAPT.TMAPs[1].Entries, First.TMAPT.TMAPs[1].Entries);
    EXPECT_EQ(Used.TMAPT.TMAPs[1].Time_Unit, 2);

    // Such a record is written with the counted entries only.
    const Bytes File = Write(Used);
    EXPECT_EQ(File, Write(Second));
}

// ---------------------------------------------------------------------------
// Files laid out by others: tables out of order, gaps, stale header values

// The rich file with its tables stored in reverse order, a junk sector before
// each, and a stale Last_Sector_of_VTSI.
Bytes Rearranged(const Bytes& File)
{
    const VTS Loaded = Load(File);
    Bytes Result(File.begin(), File.begin() + Sector);
    for (std::size_t I = 8; I-- > 0;) {
        const std::size_t From = Loaded.*Tables[I].Start_Sector * Sector;
        const std::size_t To = From + (TableLastByte(Loaded, I) / Sector + 1) * Sector;
        Result.insert(Result.end(), Sector, 0xEE);
        SetBE32(Result, Tables[I].Header_Offset, static_cast<std::uint32_t>(Result.size() / Sector));
        Result.insert(Result.end(), File.begin() + From, File.begin() + To);
    }
    SetBE32(Result, 0x01C, 0x00ABCDEF);
    return Result;
}

TEST(VTSReader, TablesStoredOutOfOrderAreAllRead)
{
    const Bytes File = Write(MakeRichVTS());
    const Bytes Input = Rearranged(File);
    ASSERT_GT(BE32(Input, 0x0C8), BE32(Input, 0x0E4));
    VTS Expected = Load(File);
    for (std::size_t I = 0; I < 8; ++I) Expected.*Tables[I].Start_Sector = BE32(Input, Tables[I].Header_Offset);
    Expected.Last_Sector_of_VTSI = 0x00ABCDEF;
    ExpectSameRecord(Load(Input), Expected);
}

TEST(VTSWriter, RewritingAnotherLayoutChangesOnlyTheLastSectorAndStartSectorsInSectorZero)
{
    const Bytes Original = Write(MakeRichVTS());
    const Bytes Input = Rearranged(Original);
    const Bytes Output = Write(Load(Input));

    for (std::size_t At = 0; At < Sector; ++At) {
        const bool Recomputed = (At >= 0x01C && At < 0x020) || (At >= 0x0C8 && At < 0x0E8);
        if (!Recomputed) {
            ASSERT_EQ(Output[At], Input[At]) << "sector 0 byte " << At;
        }
    }
    EXPECT_NE(BE32(Output, 0x01C), BE32(Input, 0x01C));
    for (std::size_t I = 0; I < 8; ++I)
        EXPECT_NE(BE32(Output, Tables[I].Header_Offset), BE32(Input, Tables[I].Header_Offset));
    // The new layout is the writer's own: the same file as the one first written.
    EXPECT_EQ(Output, Original);
}

// ---------------------------------------------------------------------------
// Hostile input: counts that no stream of this size can hold

struct HostileCase {
    const char* Name;
    std::function<Bytes()> Build;
    const char* Table;
};

Bytes WrittenWithOnly(std::size_t Table_Index)
{
    VTS Record = MakeRichVTS();
    KeepOnly(Record, {Table_Index});
    return Write(Record);
}

Bytes Patched16(std::size_t Table_Index, std::size_t At, std::uint16_t Value)
{
    Bytes File = WrittenWithOnly(Table_Index);
    SetBE16(File, Sector + At, Value);
    return File;
}

Bytes Patched32(std::size_t Table_Index, std::size_t At, std::uint32_t Value)
{
    Bytes File = WrittenWithOnly(Table_Index);
    SetBE32(File, Sector + At, Value);
    return File;
}

Bytes PartListTable(std::uint32_t Last_Byte, std::vector<std::uint32_t> Offsets)
{
    TableBytes Table;
    Table.U16(static_cast<std::uint16_t>(Offsets.size())).U16(0).U32(Last_Byte);
    for (std::uint32_t Offset : Offsets) Table.U32(Offset);
    Table.Data.resize(64);
    return FileWithTable(0, Table.Data);
}

// Eight time maps that all point at one map of 400 entries: each fits the
// stream, together they ask for more than it holds.
Bytes TimeMapsSharingOneMap()
{
    TableBytes Table;
    Table.U16(8).U16(0).U32(40 + 4 + 1600 - 1);
    for (int I = 0; I < 8; ++I) Table.U32(40);
    Table.U8(1).U8(0).U16(400);
    for (std::uint32_t J = 0; J < 400; ++J) Table.U32(J);
    return FileWithTable(3, Table.Data);
}

TEST(VTSReader, RefusesCountsThatNeedMoreBytesThanTheStream)
{
    // In the rich title chains the first chain begins at 8 + 5 * 8 = 48; its
    // command table follows its 236-byte header. Its Number_of_Programs is at 2.
    const std::vector<HostileCase> Cases = {
        {"a part list of a billion parts", [] { return PartListTable(0x7FFFFFFF, {12}); }, "PTT_SRPT"},
        {"decreasing title offsets", [] { return PartListTable(27, {24, 16}); }, "PTT_SRPT"},
        {"a title offset beyond Last_Byte", [] { return PartListTable(15, {40}); }, "PTT_SRPT"},
        {"65535 title chains", [] { return Patched16(1, 0, 0xFFFF); }, "PGCIT"},
        {"chains that would fit as pointers only", [] { return Patched16(1, 0, 100); }, "PGCIT"},
        {"65535 pre commands in a title chain", [] { return Patched16(1, 48 + 236, 0xFFFF); }, "PGCIT"},
        {"65535 menu language units", [] { return Patched16(2, 0, 0xFFFF); }, "VTSM_PGCI_UT"},
        {"65535 chains in a menu unit", [] { return Patched16(2, 24, 0xFFFF); }, "VTSM_PGCI_UT"},
        {"65535 time maps", [] { return Patched16(3, 0, 0xFFFF); }, "TMAPT"},
        {"a time map of 65535 entries", [] { return Patched16(3, 8 + 12 + 2, 0xFFFF); }, "TMAPT"},
        {"time maps sharing one large map", TimeMapsSharingOneMap, "TMAPT"},
        {"a cell address table of Last_Byte 0xFFFFFFFF", [] { return Patched32(4, 4, 0xFFFFFFFF); }, "VTSM_C_ADT"},
        {"a VOBU map of Last_Byte 2", [] { return Patched32(7, 0, 2); }, "VTS_VOBU_ADMAP"},
    };
    for (const HostileCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const Bytes File = Case.Build();
        MemoryStream Stream(File);
        VTS Record;
        try {
            LoadIfoVTS(Stream, Record);
            ADD_FAILURE() << "loaded without a refusal";
        } catch (const std::range_error& Error) {
            EXPECT_TRUE(Mentions(Error, Case.Table)) << Error.what();
        }
    }
}

TEST(VTSReader, StartSectorBeyondTheStreamClearsTheFlagOrIsRefused)
{
    for (std::size_t I = 0; I < 8; ++I) {
        for (const std::uint32_t Start : {50u, 0xFFFFFu, 0xFFFFFFFFu}) {
            SCOPED_TRACE(testing::Message() << Tables[I].Name << " at sector " << Start);
            Bytes File = Write(MakeHeaderOnlyVTS());
            SetBE32(File, Tables[I].Header_Offset, Start);
            VTS Loaded;
            try {
                LoadInto(File, Loaded);
                EXPECT_FALSE(Loaded.*Tables[I].Flag);
            } catch (const std::range_error& Error) {
                EXPECT_TRUE(Mentions(Error, Tables[I].Name)) << Error.what();
            }
        }
    }
}

TEST(VTSReader, SharedTimeMapsWithinTheStreamAreRead)
{
    // The same eight maps with 40 entries: together 1280 bytes, which fit.
    TableBytes Table;
    Table.U16(8).U16(0).U32(40 + 4 + 160 - 1);
    for (int I = 0; I < 8; ++I) Table.U32(40);
    Table.U8(1).U8(0).U16(40);
    for (std::uint32_t J = 0; J < 40; ++J) Table.U32(J);
    const VTS Loaded = Load(FileWithTable(3, Table.Data));
    ASSERT_EQ(Loaded.TMAPT.TMAPs.size(), 8u);
    EXPECT_EQ(Loaded.TMAPT.TMAPs[7].Entries.size(), 40u);
    EXPECT_TRUE(Loaded.TMAPT_OK);
}

// ---------------------------------------------------------------------------
// Truncated files

// Loading a cut file either succeeds, with every table that the cut reaches
// judged false and every table before the cut read whole, or is refused with
// std::range_error. Nothing else may happen.
void ExpectCutsLoadOrAreRefused(const Bytes& File, const std::vector<std::size_t>& Cuts, int& Loaded_Count,
                                int& Refused_Count)
{
    const VTS Full = Load(File);
    for (std::size_t Cut : Cuts) {
        SCOPED_TRACE(testing::Message() << "cut at " << Cut);
        const Bytes Prefix(File.begin(), File.begin() + Cut);
        MemoryStream Stream(Prefix);
        VTS Loaded;
        try {
            LoadIfoVTS(Stream, Loaded);
        } catch (const std::range_error&) {
            ++Refused_Count;
            continue;
        } catch (const std::exception& Error) {
            ADD_FAILURE() << "unexpected " << typeid(Error).name() << ": " << Error.what();
            continue;
        }
        ++Loaded_Count;
        for (std::size_t I = 0; I < 8; ++I) {
            const std::uint32_t Start = Loaded.*Tables[I].Start_Sector;
            if (Start == 0) {
                EXPECT_TRUE(Loaded.*Tables[I].Flag) << Tables[I].Name << " was not read";
                continue;
            }
            ASSERT_EQ(Start, Full.*Tables[I].Start_Sector);
            const std::size_t End = Start * Sector + TableLastByte(Full, I) + 1;
            if (End <= Cut) {
                EXPECT_TRUE(Loaded.*Tables[I].Flag) << Tables[I].Name << " lies before the cut";
                EXPECT_TRUE(SameTable(Loaded, Full, I)) << Tables[I].Name << " lies before the cut";
            } else {
                EXPECT_FALSE(Loaded.*Tables[I].Flag) << Tables[I].Name << " is cut";
            }
        }
    }
}

std::vector<std::size_t> CutsThrough(const Bytes& File)
{
    std::vector<std::size_t> Cuts = {0, 1, 12, 13, 0x0C9, 0x0CC, 0x0E8, Sector - 1};
    for (std::size_t Boundary = Sector; Boundary < File.size(); Boundary += Sector)
        for (std::size_t Delta : {0, 1, 2, 3, 5, 8, 40, 300}) Cuts.push_back(Boundary + Delta);
    for (std::size_t Cut = 0; Cut < File.size(); Cut += 97) Cuts.push_back(Cut);
    return Cuts;
}

TEST(VTSReader, TruncatedFilesLoadWithFalseFlagsOrAreRefused)
{
    // With its VOBU maps, a file cut before the last map reads that map's
    // Last_Byte as 0, whose entry count wraps: refused. Without them, the
    // cuts load and show where they fall.
    VTS Without_Maps = MakeRichVTS();
    KeepOnly(Without_Maps, {0, 1, 2, 3, 4, 6});
    for (const VTS& Record : {MakeRichVTS(), Without_Maps}) {
        const Bytes File = Write(Record);
        int Loaded = 0, Refused = 0;
        ExpectCutsLoadOrAreRefused(File, CutsThrough(File), Loaded, Refused);
        EXPECT_GT(Loaded, 20);
    }
}

TEST(VTSReader, TruncatedPartListBeforeAnEmptyLastTitleIsJudgedFalse)
{
    // The last title has no parts, so its list ends where it begins: the
    // reader's seek to it lands beyond a cut in the lists before it.
    VTS Record = MakeHeaderOnlyVTS();
    Record.Start_Sector_of_PTT_SRPT = 1;
    Record.PTT_SRPT = MakePTT_SRPT({3, 0});
    const Bytes File = Write(Record);
    ASSERT_EQ(BE32(File, Sector + 4), 27u);
    ASSERT_EQ(BE32(File, Sector + 12), 28u);
    std::vector<std::size_t> Cuts;
    for (std::size_t Cut = Sector + 16; Cut < Sector + 28; ++Cut) Cuts.push_back(Cut);
    int Loaded = 0, Refused = 0;
    ExpectCutsLoadOrAreRefused(File, Cuts, Loaded, Refused);
    EXPECT_EQ(Refused, 0);
}

// ---------------------------------------------------------------------------
// Records that the writer must refuse, before it writes a byte

struct RefusalCase {
    const char* Name;
    std::function<void(VTS&)> Break;
    std::vector<const char*> Message;
};

PGC ChainOfCommands(std::uint16_t Commands, bool Program_Map, bool Cell_Playback, std::uint8_t Cells)
{
    return MakeChain({.Command_Table = true, .Pre = Commands, .Program_Map = Program_Map, .Programs = 1,
                      .Cell_Playback = Cell_Playback, .Cell_Position = true, .Cells = Cells},
                     9);
}

TEST(VTSWriter, RefusesRecordsThatBreakTheInvariantsAndLeavesTheStreamEmpty)
{
    const std::vector<RefusalCase> Cases = {
        {"Title_Offsets shorter", [](VTS& R) { R.PTT_SRPT.Title_Offsets.pop_back(); },
         {"PTT_SRPT", "Number_of_Titles", "Title_Offsets"}},
        {"Title_Offsets longer", [](VTS& R) { R.PTT_SRPT.Title_Offsets.push_back(0); },
         {"PTT_SRPT", "Number_of_Titles", "Title_Offsets"}},
        {"Parts shorter", [](VTS& R) { R.PTT_SRPT.Parts.pop_back(); }, {"PTT_SRPT", "Number_of_Titles", "Parts"}},
        {"Number_of_Titles larger", [](VTS& R) { ++R.PTT_SRPT.Number_of_Titles; }, {"PTT_SRPT", "Number_of_Titles"}},
        {"title search pointers shorter", [](VTS& R) { R.PGCIT.PGC_Search_Pointers.pop_back(); },
         {"PGCIT", "Number_of_PGCs", "PGC_Search_Pointers"}},
        {"title chains shorter", [](VTS& R) { R.PGCIT.PGCs.pop_back(); }, {"PGCIT", "Number_of_PGCs", "PGCs"}},
        {"title chains longer", [](VTS& R) { R.PGCIT.PGCs.push_back({}); }, {"PGCIT", "Number_of_PGCs", "PGCs"}},
        {"pre commands short", [](VTS& R) { R.PGCIT.PGCs[0].Pre_Commands.pop_back(); },
         {"PGCIT", "Pre_Commands", "Number_of_Pre_Commands"}},
        {"post commands short", [](VTS& R) { R.PGCIT.PGCs[0].Post_Commands.pop_back(); },
         {"PGCIT", "Post_Commands", "Number_of_Post_Commands"}},
        {"cell commands short", [](VTS& R) { R.PGCIT.PGCs[0].Cell_Commands.pop_back(); },
         {"PGCIT", "Cell_Commands", "Number_of_Cell_Commands"}},
        {"program map short", [](VTS& R) { R.PGCIT.PGCs[2].Program_Map.pop_back(); },
         {"PGCIT", "Program_Map", "Number_of_Programs"}},
        {"cell playback short", [](VTS& R) { R.PGCIT.PGCs[1].Cell_Playback.pop_back(); },
         {"PGCIT", "Cell_Playback", "Number_of_Cells"}},
        {"cell position short", [](VTS& R) { R.PGCIT.PGCs[1].Cell_Position.pop_back(); },
         {"PGCIT", "Cell_Position", "Number_of_Cells"}},
        {"language search pointers shorter", [](VTS& R) { R.VTSM_PGCI_UT.Language_Search_Pointers.pop_back(); },
         {"VTSM_PGCI_UT", "Number_of_Language_Units", "Language_Search_Pointers"}},
        {"language units shorter", [](VTS& R) { R.VTSM_PGCI_UT.Language_Units.pop_back(); },
         {"VTSM_PGCI_UT", "Number_of_Language_Units", "Language_Units"}},
        {"unit search pointers shorter",
         [](VTS& R) { R.VTSM_PGCI_UT.Language_Units[0].PGC_Search_Pointers.pop_back(); },
         {"VTSM_PGCI_UT", "Number_of_PGCs", "PGC_Search_Pointers"}},
        {"unit chains longer", [](VTS& R) { R.VTSM_PGCI_UT.Language_Units[1].PGCs.push_back({}); },
         {"VTSM_PGCI_UT", "Number_of_PGCs", "PGCs"}},
        {"menu chain cell commands short",
         [](VTS& R) { R.VTSM_PGCI_UT.Language_Units[0].PGCs[0].Cell_Commands.clear(); },
         {"VTSM_PGCI_UT", "Cell_Commands"}},
        {"time map offsets shorter", [](VTS& R) { R.TMAPT.TMAP_Offsets.pop_back(); },
         {"TMAPT", "Number_of_TMAPs", "TMAP_Offsets"}},
        {"time maps shorter", [](VTS& R) { R.TMAPT.TMAPs.pop_back(); }, {"TMAPT", "Number_of_TMAPs", "TMAPs"}},
        {"time map entries short", [](VTS& R) { R.TMAPT.TMAPs[2].Entries.pop_back(); },
         {"TMAPT", "Entries", "Number_of_Entries"}},
        {"time map count above its entries", [](VTS& R) { ++R.TMAPT.TMAPs[0].Number_of_Entries; },
         {"TMAPT", "Entries", "Number_of_Entries"}},
        // The chain's 16-bit fields: 8192 commands end the command table at
        // 8 + 65536 - 1; 8191 end it at 65535 but push what follows past 65535.
        {"8192 commands", [](VTS& R) { R.PGCIT.PGCs[3] = ChainOfCommands(8192, false, false, 0); },
         {"PGCIT", "Command_Table_Last_Byte"}},
        {"8191 commands and a program map", [](VTS& R) { R.PGCIT.PGCs[3] = ChainOfCommands(8191, true, false, 0); },
         {"PGCIT", "Offset_of_Program_Map"}},
        {"8191 commands and cells", [](VTS& R) { R.PGCIT.PGCs[3] = ChainOfCommands(8191, false, true, 1); },
         {"PGCIT", "Offset_of_Cell_Playback"}},
        {"8000 commands and 55 cells", [](VTS& R) { R.PGCIT.PGCs[3] = ChainOfCommands(8000, false, true, 55); },
         {"PGCIT", "Offset_of_Cell_Position"}},
        {"a menu chain of 8192 commands",
         [](VTS& R) { R.VTSM_PGCI_UT.Language_Units[0].PGCs[1] = ChainOfCommands(8192, false, false, 0); },
         {"VTSM_PGCI_UT", "Command_Table_Last_Byte"}},
    };
    for (const RefusalCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        VTS Record = MakeRichVTS();
        Case.Break(Record);
        const VTS Before = Record;
        MemoryStream Stream;
        try {
            MakeIfoVTS(Stream, Record);
            ADD_FAILURE() << "written without a refusal";
        } catch (const std::invalid_argument& Error) {
            for (const char* Part : Case.Message) EXPECT_TRUE(Mentions(Error, Part)) << Error.what();
        }
        EXPECT_EQ(Stream.Size(), 0);
        EXPECT_EQ(Stream.Position(), 0);
        EXPECT_TRUE(Record == Before);
    }
}

// What the writer accepts although the counts and arrays differ: arrays
// longer than the counts that a reload leaves behind, and broken tables that
// are not written.
TEST(VTSWriter, AcceptsLongerChainArraysAndMapEntriesAndBrokenAbsentTables)
{
    VTS Record = MakeRichVTS();
    Record.PGCIT.PGCs[0].Pre_Commands.push_back(Command(99));
    Record.PGCIT.PGCs[0].Post_Commands.push_back(Command(97));
    Record.PGCIT.PGCs[0].Cell_Commands.push_back(Command(96));
    Record.PGCIT.PGCs[0].Cell_Position.push_back({});
    Record.PGCIT.PGCs[1].Program_Map.push_back(9);
    Record.PGCIT.PGCs[1].Cell_Playback.push_back({});
    Record.PGCIT.PGCs[3].Post_Commands.push_back(Command(98));   // no command table at all
    Record.VTSM_PGCI_UT.Language_Units[0].PGCs[0].Cell_Position.push_back({});
    Record.TMAPT.TMAPs[1].Entries = {1, 2, 3};
    const Bytes File = Write(Record);

    ExpectSameRecord(Load(File), ExpectedReadBack(MakeRichVTS()));
    EXPECT_EQ(File, Write(MakeRichVTS()));

    VTS Absent = MakeRichVTS();
    Absent.PTT_SRPT.Parts.pop_back();
    Absent.TMAPT.TMAPs[0].Entries.clear();
    Absent.PGCIT.PGCs.pop_back();
    KeepOnly(Absent, {2, 4, 5, 6, 7});
    const Bytes Written = Write(Absent);
    EXPECT_EQ(BE32(Written, 0x0C8), 0u);
    EXPECT_EQ(Flags(Load(Written)), All_True);
}

TEST(VTSWriter, ChainOf8191CommandsAloneFillsItsCommandTableEnd)
{
    VTS Record = MakeHeaderOnlyVTS();
    Record.Start_Sector_of_PGCIT = 1;
    Record.PGCIT = MakeChainList<VTS_PGCIT>({ChainOfCommands(8191, false, false, 0)}, 1);
    Record.PGCIT.PGCs[0].Offset_of_Cell_Position = 0;
    Record.PGCIT.PGCs[0].Cell_Position.clear();
    const Bytes File = Write(Record);
    EXPECT_EQ(BE16(File, Sector + 16 + 236 + 6), 0xFFFF);
    const VTS Loaded = Load(File);
    EXPECT_TRUE(Loaded.PGCIT_OK);
    EXPECT_EQ(Loaded.PGCIT.PGCs[0].Command_Table_Last_Byte, 0xFFFF);
    EXPECT_EQ(Loaded.PGCIT.PGCs[0].Pre_Commands, Record.PGCIT.PGCs[0].Pre_Commands);
}

}  // namespace
