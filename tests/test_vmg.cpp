// The video manager information file (VIDEO_TS.IFO): LoadIfoVMG and
// MakeIfoVMG, through the exported interface and memory streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "MemoryStream.h"
#include "VmgBuilders.h"
#include "library/Quoril.h"

using namespace vmg_test;

namespace {

// ---------------------------------------------------------------------------
// Helpers

#define EXPECT_SAME_PART(Actual, Expected, Part) EXPECT_TRUE((Actual).Part == (Expected).Part) << #Part " differs"

// Compares two records part by part, so that a failure names the part.
void ExpectSameRecord(const VMG& Actual, const VMG& Expected)
{
    EXPECT_SAME_PART(Actual, Expected, Identifier);
    EXPECT_SAME_PART(Actual, Expected, Last_Sector_of_VMG);
    EXPECT_SAME_PART(Actual, Expected, Reserved_1);
    EXPECT_SAME_PART(Actual, Expected, Last_Sector_of_VMGI);
    EXPECT_SAME_PART(Actual, Expected, Reserved_2);
    EXPECT_SAME_PART(Actual, Expected, Version);
    EXPECT_SAME_PART(Actual, Expected, Reserved_3);
    EXPECT_SAME_PART(Actual, Expected, Region_Mask);
    EXPECT_SAME_PART(Actual, Expected, Reserved_4);
    EXPECT_SAME_PART(Actual, Expected, Number_of_Volumes);
    EXPECT_SAME_PART(Actual, Expected, Volume_Number);
    EXPECT_SAME_PART(Actual, Expected, Side_ID);
    EXPECT_SAME_PART(Actual, Expected, Reserved_5);
    EXPECT_SAME_PART(Actual, Expected, Number_of_Title_Sets);
    EXPECT_SAME_PART(Actual, Expected, Provider_Identifier);
    EXPECT_SAME_PART(Actual, Expected, POS_Code);
    EXPECT_SAME_PART(Actual, Expected, Reserved_6);
    EXPECT_SAME_PART(Actual, Expected, Last_Byte_of_VMGI_MAT);
    EXPECT_SAME_PART(Actual, Expected, Start_Byte_of_First_Play_PGC);
    EXPECT_SAME_PART(Actual, Expected, Reserved_7);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_Menu_VOBS);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_TT_SRPT);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_VMGM_PGCI_UT);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_PTL_MAIT);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_VTS_ATRT);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_TXTDT_MGI);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_VMGM_C_ADT);
    EXPECT_SAME_PART(Actual, Expected, Start_Sector_of_VMGM_VOBU_ADMAP);
    EXPECT_SAME_PART(Actual, Expected, Reserved_8);
    EXPECT_SAME_PART(Actual, Expected, Menu_Attributes);
    EXPECT_SAME_PART(Actual, Expected, Reserved_9);
    EXPECT_SAME_PART(Actual, Expected, First_Play_PGC);
    EXPECT_SAME_PART(Actual, Expected, Bytes_after_First_Play_PGC);
    EXPECT_SAME_PART(Actual, Expected, VMG_TT_SRPT);
    EXPECT_SAME_PART(Actual, Expected, VMGM_PGCI_UT);
    EXPECT_SAME_PART(Actual, Expected, VMG_PTL_MAIT);
    EXPECT_SAME_PART(Actual, Expected, VMG_VTS_ATRT);
    EXPECT_SAME_PART(Actual, Expected, VMG_TXTDT_MGI);
    EXPECT_SAME_PART(Actual, Expected, VMGM_C_ADT);
    EXPECT_SAME_PART(Actual, Expected, VMGM_VOBU_ADMAP);
    EXPECT_TRUE(Actual == Expected) << "the records differ";
}

void ExpectAllFlags(const VMG& Record, bool Value)
{
    EXPECT_EQ(Record.TT_SRPT_OK, Value);
    EXPECT_EQ(Record.VMGM_PGCI_UT_OK, Value);
    EXPECT_EQ(Record.PTL_MAIT_OK, Value);
    EXPECT_EQ(Record.VTS_ATRT_OK, Value);
    EXPECT_EQ(Record.TXTDT_MGI_OK, Value);
    EXPECT_EQ(Record.VMGM_C_ADT_OK, Value);
    EXPECT_EQ(Record.VMGM_VOBU_ADMAP_OK, Value);
}

// Runs F, which must throw E; returns the message.
template <class E, class F>
std::string MessageOf(F&& Call)
{
    try {
        Call();
    } catch (const E& Error) {
        return Error.what();
    } catch (const std::exception& Other) {
        ADD_FAILURE() << "threw another kind of error: " << Other.what();
        return {};
    }
    ADD_FAILURE() << "threw nothing";
    return {};
}

void ExpectMentions(const std::string& Message, const std::vector<std::string>& Words)
{
    for (const std::string& Word : Words)
        EXPECT_NE(Message.find(Word), std::string::npos) << "\"" << Message << "\" does not mention " << Word;
}

// The seven tables in header order: where their start sector and flag are,
// their stored end address, and whether two records hold the same table.
struct TableInfo {
    const char* Name;
    std::uint32_t VMG::*Start_Sector;
    bool VMG::*Flag;
    std::function<std::uint32_t(const VMG&)> Last_Byte;
    std::function<bool(const VMG&, const VMG&)> Same;
};

template <auto Table>
bool SameTable(const VMG& A, const VMG& B)
{
    return A.*Table == B.*Table;
}

const std::vector<TableInfo>& Tables()
{
    static const std::vector<TableInfo> All{
        {"VMG_TT_SRPT", &VMG::Start_Sector_of_TT_SRPT, &VMG::TT_SRPT_OK,
         [](const VMG& R) { return R.VMG_TT_SRPT.Last_Byte; }, SameTable<&VMG::VMG_TT_SRPT>},
        {"VMGM_PGCI_UT", &VMG::Start_Sector_of_VMGM_PGCI_UT, &VMG::VMGM_PGCI_UT_OK,
         [](const VMG& R) { return R.VMGM_PGCI_UT.Last_Byte; }, SameTable<&VMG::VMGM_PGCI_UT>},
        {"VMG_PTL_MAIT", &VMG::Start_Sector_of_PTL_MAIT, &VMG::PTL_MAIT_OK,
         [](const VMG& R) { return R.VMG_PTL_MAIT.Last_Byte; }, SameTable<&VMG::VMG_PTL_MAIT>},
        {"VMG_VTS_ATRT", &VMG::Start_Sector_of_VTS_ATRT, &VMG::VTS_ATRT_OK,
         [](const VMG& R) { return R.VMG_VTS_ATRT.Last_Byte; }, SameTable<&VMG::VMG_VTS_ATRT>},
        {"VMG_TXTDT_MGI", &VMG::Start_Sector_of_TXTDT_MGI, &VMG::TXTDT_MGI_OK,
         [](const VMG& R) { return R.VMG_TXTDT_MGI.Last_Byte; }, SameTable<&VMG::VMG_TXTDT_MGI>},
        {"VMGM_C_ADT", &VMG::Start_Sector_of_VMGM_C_ADT, &VMG::VMGM_C_ADT_OK,
         [](const VMG& R) { return R.VMGM_C_ADT.Last_Byte; }, SameTable<&VMG::VMGM_C_ADT>},
        {"VMGM_VOBU_ADMAP", &VMG::Start_Sector_of_VMGM_VOBU_ADMAP, &VMG::VMGM_VOBU_ADMAP_OK,
         [](const VMG& R) { return R.VMGM_VOBU_ADMAP.Last_Byte; }, SameTable<&VMG::VMGM_VOBU_ADMAP>},
    };
    return All;
}

// Where the rich record's tables lie once written: one sector each, in
// header order, from sector 1.
constexpr std::size_t TT_SRPT_At = 1 * Sector;
constexpr std::size_t PGCI_UT_At = 2 * Sector;
constexpr std::size_t PTL_MAIT_At = 3 * Sector;
constexpr std::size_t VTS_ATRT_At = 4 * Sector;
constexpr std::size_t TXTDT_MGI_At = 5 * Sector;
constexpr std::size_t C_ADT_At = 6 * Sector;
constexpr std::size_t VOBU_ADMAP_At = 7 * Sector;

// ---------------------------------------------------------------------------
// The rich video manager: round trip

TEST(VmgRoundTrip, RichRecordReadsBackWithEveryTableConsistent)
{
    const VMG Original = RichVMG();
    const VMG Kept = Original;
    MemoryStream Stream;
    MakeIfoVMG(Stream, Original);

    EXPECT_TRUE(Original == Kept) << "the writer changed the caller's record";
    EXPECT_EQ(Stream.Position(), 224);
    ASSERT_EQ(Stream.Size(), 8 * 2048);

    const VMG Loaded = Load(Stream.Bytes());
    ExpectAllFlags(Loaded, true);
    ExpectSameRecord(WithoutRecomputedFields(Loaded), WithoutRecomputedFields(Original));
    EXPECT_EQ(Loaded.Last_Sector_of_VMG, Original.Last_Sector_of_VMG);   // carried, not recomputed
    EXPECT_EQ(Loaded.Last_Sector_of_VMGI, 7u);
    EXPECT_EQ(Loaded.Last_Byte_Read, 3u + 4 * 5) << "the measured end of the VOBU map, the last table read";
}

TEST(VmgRoundTrip, WritingTheLoadedRecordGivesTheSameBytes)
{
    const Bytes First = Write(RichVMG());
    const VMG Loaded = Load(First);
    const VMG Kept = Loaded;
    MemoryStream Stream;
    MakeIfoVMG(Stream, Loaded);
    EXPECT_TRUE(Stream.Bytes() == First);
    EXPECT_EQ(Stream.Position(), 224);
    EXPECT_TRUE(Loaded == Kept) << "the caller's start sectors and Last_Sector_of_VMGI must stay as held";
}

TEST(VmgRoundTrip, RecomputedFieldsDescribeTheBackToBackLayout)
{
    const VMG Loaded = Load(Write(RichVMG()));

    EXPECT_EQ(Loaded.Start_Sector_of_Menu_VOBS, 0x00C0FFEEu);   // carried
    const std::uint32_t Sectors[] = {Loaded.Start_Sector_of_TT_SRPT, Loaded.Start_Sector_of_VMGM_PGCI_UT,
                                     Loaded.Start_Sector_of_PTL_MAIT, Loaded.Start_Sector_of_VTS_ATRT,
                                     Loaded.Start_Sector_of_TXTDT_MGI, Loaded.Start_Sector_of_VMGM_C_ADT,
                                     Loaded.Start_Sector_of_VMGM_VOBU_ADMAP};
    for (std::uint32_t I = 0; I < 7; ++I) EXPECT_EQ(Sectors[I], I + 1) << Tables()[I].Name;

    EXPECT_EQ(Loaded.VMG_TT_SRPT.Last_Byte, 8u + 12 * 3 - 1);

    // Menu table: search pointers, then the units back to back; within a unit,
    // its pointers, then its chains back to back.
    const PGCI_UT& Menus = Loaded.VMGM_PGCI_UT;
    const std::uint32_t Chain_A = 236 + (8 + 8 * 4) + (3 + 1) + 24 * 3 + 4 * 3;   // odd map: one filler byte
    const std::uint32_t Chain_B = 236 + (1 + 1) + 24 + 4;
    const std::uint32_t Chain_C = 236 + 8 + (5 + 1) + 24 * 5 + 4 * 5;
    const std::uint32_t Unit_0 = 8 + 8 * 2 + Chain_A + Chain_B;
    const std::uint32_t Unit_1 = 8 + 8 + Chain_C;
    EXPECT_EQ(Menus.Language_Search_Pointers[0].Offset_of_Language_Unit, 8u + 8 * 2);
    EXPECT_EQ(Menus.Language_Search_Pointers[1].Offset_of_Language_Unit, 8u + 8 * 2 + Unit_0);
    EXPECT_EQ(Menus.Language_Units[0].Last_Byte, Unit_0 - 1);
    EXPECT_EQ(Menus.Language_Units[1].Last_Byte, Unit_1 - 1);
    EXPECT_EQ(Menus.Last_Byte, 8 + 8 * 2 + Unit_0 + Unit_1 - 1);
    EXPECT_EQ(Menus.Language_Units[0].PGC_Search_Pointers[0].Offset_of_PGC, 8u + 8 * 2);
    EXPECT_EQ(Menus.Language_Units[0].PGC_Search_Pointers[1].Offset_of_PGC, 8u + 8 * 2 + Chain_A);
    EXPECT_EQ(Menus.Language_Units[1].PGC_Search_Pointers[0].Offset_of_PGC, 8u + 8);

    const PGC& A = Menus.Language_Units[0].PGCs[0];
    EXPECT_EQ(A.Offset_of_Command_Table, 236);
    EXPECT_EQ(A.Command_Table_Last_Byte, 7 + 8 * 4);
    EXPECT_EQ(A.Offset_of_Program_Map, 236 + 40);
    EXPECT_EQ(A.Offset_of_Cell_Playback, 236 + 40 + 4);
    EXPECT_EQ(A.Offset_of_Cell_Position, 236 + 40 + 4 + 72);
    const PGC& B = Menus.Language_Units[0].PGCs[1];
    EXPECT_EQ(B.Offset_of_Command_Table, 0) << "a chain without a command table keeps 0 there";
    EXPECT_EQ(B.Offset_of_Program_Map, 236);
    EXPECT_EQ(B.Offset_of_Cell_Playback, 238);
    EXPECT_EQ(B.Offset_of_Cell_Position, 238 + 24);
    const PGC& C = Menus.Language_Units[1].PGCs[0];
    EXPECT_EQ(C.Offset_of_Command_Table, 236);
    EXPECT_EQ(C.Command_Table_Last_Byte, 7) << "an empty command table is its 8-byte header";
    EXPECT_EQ(C.Offset_of_Program_Map, 244);
    EXPECT_EQ(C.Offset_of_Cell_Playback, 250);
    EXPECT_EQ(C.Offset_of_Cell_Position, 250 + 120);

    // Parental masks: 16 x 4 bytes per country, back to back after the pointers.
    const PTL_MAIT& Masks = Loaded.VMG_PTL_MAIT;
    EXPECT_EQ(Masks.Countries[0].Offset_of_PTL_MAI, 8u + 8 * 2);
    EXPECT_EQ(Masks.Countries[1].Offset_of_PTL_MAI, 8u + 8 * 2 + 64);
    EXPECT_EQ(Masks.Last_Byte, 8u + 8 * 2 + 2 * 64 - 1);

    const VTS_ATRT& Attributes = Loaded.VMG_VTS_ATRT;
    EXPECT_EQ(Attributes.VTS_ATR_Offsets, (std::vector<std::uint32_t>{8 + 4 * 2, 8 + 4 * 2 + 776}));
    EXPECT_EQ(Attributes.VTS_ATRs[0].Last_Byte, 775u);
    EXPECT_EQ(Attributes.VTS_ATRs[1].Last_Byte, 775u);
    EXPECT_EQ(Attributes.Last_Byte, 8u + 4 * 2 + 2 * 776 - 1);

    const TXTDT_MGI& Text = Loaded.VMG_TXTDT_MGI;
    EXPECT_EQ(Text.Language_Search_Pointers[0].Offset_of_Language_Unit, 20u + 8 * 2);
    EXPECT_EQ(Text.Language_Search_Pointers[1].Offset_of_Language_Unit, 20u + 8 * 2 + 208 + 12 + 16);
    EXPECT_EQ(Text.Last_Byte, 20u + 8 * 2 + (208 + 12 + 16) + (208 + 4 + 9) - 1);

    EXPECT_EQ(Loaded.VMGM_C_ADT.Last_Byte, 7u + 12 * 3);
    EXPECT_EQ(Loaded.VMGM_VOBU_ADMAP.Last_Byte, 3u + 4 * 5);
}

// ---------------------------------------------------------------------------
// The bytes of the rich file, computed by hand

std::string Hex(std::size_t Value)
{
    char Text[24];
    std::snprintf(Text, sizeof Text, "0x%zX", Value);
    return Text;
}

struct ExpectedBytes {
    std::size_t At;
    Bytes Value;
};

TEST(VmgBytes, HandComputedFieldsStandWhereTheFormatPutsThem)
{
    VMG Record = RichVMG();
    Record.VMG_TXTDT_MGI.Language_Units[1].Last_Byte = 0x0000ABCD;   // wrong, and carried as held
    const Bytes File = Write(Record);
    ASSERT_EQ(File.size(), 0x4000u);

    const std::vector<ExpectedBytes> Cases{
        // Header: carried fields at their offsets, and the patch at 28 and 192.
        {0x000, {'D', 'V', 'D', 'V', 'I', 'D', 'E', 'O', '-', 'V', 'M', 'G'}},
        {0x00C, {0x00, 0x01, 0x23, 0x45}},                   // Last_Sector_of_VMG, as held
        {0x01C, {0x00, 0x00, 0x00, 0x07}},                   // Last_Sector_of_VMGI: 8 sectors
        {0x020, {0xA2, 0x11, 0xA3, 0xFE, 0xA4, 0xA5, 0x01, 0x02, 0x03, 0x04, 0xA6}},
        {0x03E, {0x00, 0x03}},
        {0x040, {'Q', 'U', 'O', 'R', 'I', 'L', ' '}},
        {0x080, {0x00, 0x00, 0x03, 0xFF, 0x00, 0x00, 0x04, 0x00}},
        {0x0C0, {0x00, 0xC0, 0xFF, 0xEE, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6,
                 0, 0, 0, 7}},
        {0x102, {0x01, 0x0C}},                               // the menu attributes' audio stream count
        {0x154, {0x00, 0x0D}},                               // and their subpicture stream count bytes
        // First-play chain at 1024, offsets as held; its command table.
        {0x400, {0x0A, 0x61}},
        {0x4E4, {0x00, 0xEC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {0x4EC, {0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1F}},
        // The bytes after it, from 1024 + 268 to the end of sector 0.
        {0x50C, {0x11}},
        {0x50C + 378, {0x22}},
        {0x7FF, {0x33}},
        // TT_SRPT: 3 titles, Last_Byte 43; the first title.
        {TT_SRPT_At, {0x00, 0x03, 0x7E, 0x7F, 0x00, 0x00, 0x00, 0x2B}},
        {TT_SRPT_At + 8, {0x3C, 0x01, 0x01, 0x02, 0xFE, 0x01, 0x01, 0x01, 0x00, 0x01, 0x02, 0x03}},
        // VMGM_PGCI_UT: 2 units, Last_Byte 1083; the units at 24 and 24 + 654.
        {PGCI_UT_At, {0x00, 0x02, 0x0F, 0x0E, 0x00, 0x00, 0x04, 0x3B}},
        {PGCI_UT_At + 8, {0x65, 0x6E, 0x20, 0x80, 0x00, 0x00, 0x00, 0x18}},
        {PGCI_UT_At + 16, {0x66, 0x73, 0x21, 0x40, 0x00, 0x00, 0x02, 0xA6}},
        // Unit 0: 2 chains, Last_Byte 653; Offset_of_PGC 24 and 24 + 364.
        {PGCI_UT_At + 24, {0x00, 0x02, 0x52, 0x01, 0x00, 0x00, 0x02, 0x8D}},
        {PGCI_UT_At + 32, {0x82, 0x11, 0x77, 0x01, 0x00, 0x00, 0x00, 0x18}},
        {PGCI_UT_At + 40, {0x83, 0x21, 0x77, 0x11, 0x00, 0x00, 0x01, 0x84}},
        // Chain A at 0x1030: sub-table offsets 236, 276, 280, 352; command
        // table end 39; the program map and its filler byte.
        {PGCI_UT_At + 48 + 0xE4, {0x00, 0xEC, 0x01, 0x14, 0x01, 0x18, 0x01, 0x60}},
        {PGCI_UT_At + 48 + 0xEC, {0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x27}},
        {PGCI_UT_At + 48 + 276, {0x01, 0x02, 0x03, 0x00}},
        // Chain B at 0x119C: no command table (0 kept), map at 236, cells at 238 and 262.
        {PGCI_UT_At + 48 + 364 + 0xE4, {0x00, 0x00, 0x00, 0xEC, 0x00, 0xEE, 0x01, 0x06}},
        // Unit 1 at 0x12A6: 1 chain, Last_Byte 405, Offset_of_PGC 16.
        {PGCI_UT_At + 678, {0x00, 0x01, 0x52, 0x41, 0x00, 0x00, 0x01, 0x95}},
        {PGCI_UT_At + 686, {0x82, 0x51, 0x77, 0x41, 0x00, 0x00, 0x00, 0x10}},
        // Chain C at 0x12B6: offsets 236, 244, 250, 370; an empty command table.
        {PGCI_UT_At + 694 + 0xE4, {0x00, 0xEC, 0x00, 0xF4, 0x00, 0xFA, 0x01, 0x72}},
        {PGCI_UT_At + 694 + 0xEC, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07}},
        {PGCI_UT_At + 694 + 244, {0x01, 0x02, 0x03, 0x04, 0x05, 0x00}},
        // VMG_PTL_MAIT: 2 countries, 3 title sets, Last_Byte 151; masks at 24 and 88.
        {PTL_MAIT_At, {0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x97}},
        {PTL_MAIT_At + 8, {0x44, 0x45, 0x00, 0x00, 0x00, 0x18, 0x5A, 0x00}},
        {PTL_MAIT_At + 16, {0x45, 0x46, 0x00, 0x00, 0x00, 0x58, 0x5A, 0x01}},
        {PTL_MAIT_At + 24, {0x10, 0x00, 0x10, 0x01, 0x10, 0x02, 0x10, 0x03, 0x11, 0x00}},
        {PTL_MAIT_At + 88, {0x20, 0x00, 0x20, 0x01}},
        {PTL_MAIT_At + 150, {0x27, 0x03}},
        // VMG_VTS_ATRT: 2 title sets, Last_Byte 1567; entries at 16 and 792,
        // each with Last_Byte 775.
        {VTS_ATRT_At, {0x00, 0x02, 0x6A, 0x6B, 0x00, 0x00, 0x06, 0x1F}},
        {VTS_ATRT_At + 8, {0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x03, 0x18}},
        {VTS_ATRT_At + 16, {0x00, 0x00, 0x03, 0x07, 0xC0, 0xDE, 0x00, 0x00}},
        {VTS_ATRT_At + 16 + 8 + 2, {0x01, 0x21}},            // the entry's menu block audio count
        {VTS_ATRT_At + 16 + 264 + 0x54, {0x03, 0x33}},       // its title set block subpicture count
        {VTS_ATRT_At + 792, {0x00, 0x00, 0x03, 0x07, 0xC0, 0xDE, 0x00, 0x01}},
        // VMG_TXTDT_MGI: 2 units, Last_Byte 492; units at 36 and 272.
        {TXTDT_MGI_At, {'Q', 'U', 'O', 'R', 'I', 'L', '-', 'T', 'E', 'X', 'T', 'D', 'A', 'T', 'A', 0x02, 0x00,
                        0x00, 0x01, 0xEC}},
        {TXTDT_MGI_At + 20, {0x64, 0x65, 0x00, 0x01, 0x00, 0x00, 0x00, 0x24}},
        {TXTDT_MGI_At + 28, {0x64, 0x66, 0x00, 0x02, 0x00, 0x00, 0x01, 0x10}},
        {TXTDT_MGI_At + 36, {0x00, 0x00, 0x00, 0xEB, 0x11, 0x71, 0x22, 0x71}},
        {TXTDT_MGI_At + 36 + 204, {0x00, 0x03, 0x33, 0x71, 0x30, 0x71, 0xA0, 0xF0}},
        {TXTDT_MGI_At + 36 + 220, {'Q', 'u', 'o', 'r', 'i', 'l'}},
        {TXTDT_MGI_At + 272, {0x00, 0x00, 0xAB, 0xCD}},      // unit 1's Last_Byte as held
        {TXTDT_MGI_At + 272 + 212, {'D', 'e', 'u', 'x', 0x00, 'z', 'w', 'e', 'i', 0x00}},
        // VMGM_C_ADT: Last_Byte 43; VMGM_VOBU_ADMAP: Last_Byte 23.
        {C_ADT_At, {0x00, 0x02, 0x0C, 0x0D, 0x00, 0x00, 0x00, 0x2B, 0x00, 0x01, 0x01, 0xC0}},
        {VOBU_ADMAP_At, {0x00, 0x00, 0x00, 0x17, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x23}},
        {VOBU_ADMAP_At + 24, {0x00, 0x00, 0x00, 0x00}},      // padding after the map
    };
    for (const ExpectedBytes& Case : Cases) {
        SCOPED_TRACE("at " + Hex(Case.At));
        EXPECT_EQ(Slice(File, Case.At, Case.Value.size()), Case.Value);
    }
}

TEST(VmgBytes, TablesArePaddedWithZeroBytesToTheirSectorBoundary)
{
    const Bytes File = Write(RichVMG());
    const VMG Loaded = Load(File);
    for (const TableInfo& Table : Tables()) {
        const std::size_t Start = Loaded.*Table.Start_Sector * Sector;
        const std::size_t End = Start + Table.Last_Byte(Loaded) + 1;
        const Bytes Padding = Slice(File, End, (Start + Sector) - End);
        EXPECT_EQ(std::count(Padding.begin(), Padding.end(), 0), static_cast<std::ptrdiff_t>(Padding.size()))
            << Table.Name;
    }
}

// ---------------------------------------------------------------------------
// Reader edge cases

// The parental masks and the title set attributes are read at their
// offsets. Stored in reverse order, both are read, and the table ends where
// the first entry ends, not at its last byte.
TEST(VmgReader, EntriesStoredInReverseOrderAreBothReadFromTheirOffsets)
{
    const VMG Original = RichVMG();
    {
        SCOPED_TRACE("countries");
        Bytes File = Write(Original);
        Put32(File, PTL_MAIT_At + 8 + 2, 88);
        Put32(File, PTL_MAIT_At + 16 + 2, 24);
        const VMG Loaded = Load(File);
        ASSERT_EQ(Loaded.VMG_PTL_MAIT.PTL_MAIs.size(), 2u);
        EXPECT_TRUE(Loaded.VMG_PTL_MAIT.PTL_MAIs[0] == Original.VMG_PTL_MAIT.PTL_MAIs[1]);
        EXPECT_TRUE(Loaded.VMG_PTL_MAIT.PTL_MAIs[1] == Original.VMG_PTL_MAIT.PTL_MAIs[0]);
        EXPECT_FALSE(Loaded.PTL_MAIT_OK);
        EXPECT_TRUE(Loaded.VTS_ATRT_OK && Loaded.TT_SRPT_OK) << "the other tables are judged on their own";
    }
    {
        SCOPED_TRACE("title set attributes");
        Bytes File = Write(Original);
        Put32(File, VTS_ATRT_At + 8, 792);
        Put32(File, VTS_ATRT_At + 12, 16);
        const VMG Loaded = Load(File);
        ASSERT_EQ(Loaded.VMG_VTS_ATRT.VTS_ATRs.size(), 2u);
        VTS_ATR First = Loaded.VMG_VTS_ATRT.VTS_ATRs[0], Second = Loaded.VMG_VTS_ATRT.VTS_ATRs[1];
        First.Last_Byte = Second.Last_Byte = 0;
        EXPECT_TRUE(First == WithoutRecomputedFields(Original).VMG_VTS_ATRT.VTS_ATRs[1]);
        EXPECT_TRUE(Second == WithoutRecomputedFields(Original).VMG_VTS_ATRT.VTS_ATRs[0]);
        EXPECT_FALSE(Loaded.VTS_ATRT_OK);
        EXPECT_EQ(Loaded.Last_Byte_Read, 3u + 4 * 5) << "the reader went on to the last table";
        EXPECT_TRUE(Loaded.PTL_MAIT_OK && Loaded.TXTDT_MGI_OK);
    }
}

// The offsets of menu language units, of their chains and of text data
// units are kept as read; the units and chains are read back to back.
TEST(VmgReader, OffsetsOfUnitsAndChainsAreKeptButNotFollowed)
{
    struct Case {
        const char* Name;
        std::size_t At;
        std::uint32_t Value;
        std::function<std::uint32_t(const VMG&)> Kept;
    };
    const std::vector<Case> Cases{
        {"menu language unit", PGCI_UT_At + 16 + 4, 0x00FFFFF0,
         [](const VMG& R) { return R.VMGM_PGCI_UT.Language_Search_Pointers[1].Offset_of_Language_Unit; }},
        {"menu chain", PGCI_UT_At + 40 + 4, 24,
         [](const VMG& R) { return R.VMGM_PGCI_UT.Language_Units[0].PGC_Search_Pointers[1].Offset_of_PGC; }},
        {"text data unit", TXTDT_MGI_At + 28 + 4, 36,
         [](const VMG& R) { return R.VMG_TXTDT_MGI.Language_Search_Pointers[1].Offset_of_Language_Unit; }},
        {"first text data unit", TXTDT_MGI_At + 20 + 4, 0xFFFFFFFF,
         [](const VMG& R) { return R.VMG_TXTDT_MGI.Language_Search_Pointers[0].Offset_of_Language_Unit; }},
    };
    const Bytes Good = Write(RichVMG());
    const VMG Expected = WithoutRecomputedFields(Load(Good));
    for (const Case& Each : Cases) {
        SCOPED_TRACE(Each.Name);
        Bytes File = Good;
        Put32(File, Each.At, Each.Value);
        const VMG Loaded = Load(File);
        ExpectAllFlags(Loaded, true);
        EXPECT_EQ(Each.Kept(Loaded), Each.Value);
        ExpectSameRecord(WithoutRecomputedFields(Loaded), Expected);
    }
}

TEST(VmgReader, FirstPlayChainThatDoesNotEndBeforeTheTitleTableIsRefused)
{
    // A first-play chain of 1614 bytes that reaches into sector 1, followed
    // by the title table at sector 2, and that table moved.
    VMG Record = RichVMG();
    SetFirstPlay(Record, ChainShape{std::array<std::uint16_t, 3>{100, 0, 0}, 9, 20}, 2);
    const Bytes Good = Write(Record);
    ASSERT_EQ(Get32(Good, 0xC4), 2u);

    struct Case {
        const char* Name;
        std::uint32_t Title_Sector;
    };
    const std::vector<Case> Cases{
        {"Start_Sector_of_TT_SRPT 0", 0},
        {"TT_SRPT at sector 1, inside the first-play chain", 1},
    };
    for (const Case& Each : Cases) {
        SCOPED_TRACE(Each.Name);
        Bytes File = Good;
        Put32(File, 0xC4, Each.Title_Sector);
        MemoryStream Stream(File);
        VMG Target;
        Target.VMG_TT_SRPT = Titles(7);   // must stay: no table is read
        Target.TT_SRPT_OK = true;
        const std::string Message = MessageOf<std::range_error>([&] { LoadIfoVMG(Stream, Target); });
        ExpectMentions(Message, {"Bytes_after_First_Play_PGC"});
        EXPECT_TRUE(Target.First_Play_PGC == Record.First_Play_PGC) << "the first-play chain was read first";
        EXPECT_TRUE(Target.Provider_Identifier == Record.Provider_Identifier);
        EXPECT_TRUE(Target.VMG_TT_SRPT == Titles(7));
        EXPECT_TRUE(Target.TT_SRPT_OK);
    }
}

TEST(VmgReader, TextUnitTooShortForItsItemsIsRefusedAfterFillingWhatCameBefore)
{
    VMG Record = RichVMG();
    TXTDT_LU& Short = Record.VMG_TXTDT_MGI.Language_Units[1];
    Short.Text.clear();
    Short.Last_Byte = 207 + 4 * Short.Number_of_Items - 1;   // one byte too short for its header and items
    MemoryStream Stream(Write(Record));

    VMG Target;
    Target.VMGM_C_ADT = CellAddresses(9);   // tables after the text data are not reached
    Target.VMGM_VOBU_ADMAP = VobuMap(9);
    const std::string Message = MessageOf<std::range_error>([&] { LoadIfoVMG(Stream, Target); });
    ExpectMentions(Message, {"VMG_TXTDT_MGI.Language_Units[1]"});

    EXPECT_TRUE(Target.TT_SRPT_OK && Target.VMGM_PGCI_UT_OK && Target.PTL_MAIT_OK && Target.VTS_ATRT_OK);
    const VMG Expected = WithoutRecomputedFields(RichVMG());
    EXPECT_TRUE(WithoutRecomputedFields(Target).VMG_VTS_ATRT == Expected.VMG_VTS_ATRT);
    const TXTDT_MGI& Text = Target.VMG_TXTDT_MGI;
    ASSERT_EQ(Text.Language_Units.size(), 2u);
    EXPECT_TRUE(Text.Language_Units[0] == Record.VMG_TXTDT_MGI.Language_Units[0]);
    EXPECT_EQ(Text.Language_Units[1].Last_Byte, Short.Last_Byte);
    EXPECT_TRUE(Text.Language_Units[1].Items == Short.Items) << "the items are read before the text length";
    EXPECT_TRUE(Target.VMGM_C_ADT == CellAddresses(9));
    EXPECT_TRUE(Target.VMGM_VOBU_ADMAP == VobuMap(9));
}

TEST(VmgReader, TextUnitWithEmptyTextIsFollowedDirectlyByTheNext)
{
    VMG Record = RichVMG();
    Record.VMG_TXTDT_MGI =
        TextTable({TextUnit(2, "", 0x71), TextUnit(0, "", 0x81), TextUnit(1, "after", 0x91)});
    const Bytes File = Write(Record);
    EXPECT_EQ(Get32(File, TXTDT_MGI_At + 20 + 4), 20u + 24);
    EXPECT_EQ(Get32(File, TXTDT_MGI_At + 28 + 4), 20u + 24 + 208 + 8);
    EXPECT_EQ(Get32(File, TXTDT_MGI_At + 36 + 4), 20u + 24 + 208 + 8 + 208);

    const VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.TXTDT_MGI_OK);
    ASSERT_EQ(Loaded.VMG_TXTDT_MGI.Language_Units.size(), 3u);
    EXPECT_TRUE(Loaded.VMG_TXTDT_MGI.Language_Units[0].Text.empty());
    EXPECT_TRUE(Loaded.VMG_TXTDT_MGI.Language_Units[1].Text.empty());
    EXPECT_TRUE(Loaded.VMG_TXTDT_MGI.Language_Units == Record.VMG_TXTDT_MGI.Language_Units);
}

TEST(VmgReader, TitleTableOfNoTitlesIsItsEightByteHeader)
{
    const Bytes File = Write(OnlyTitles(Titles(0)));
    ASSERT_EQ(File.size(), 2 * Sector);
    EXPECT_EQ(Slice(File, TT_SRPT_At, 8), (Bytes{0x00, 0x00, 0x7E, 0x7F, 0x00, 0x00, 0x00, 0x07}));
    const VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.TT_SRPT_OK);
    EXPECT_TRUE(Loaded.VMG_TT_SRPT.Titles.empty());
    EXPECT_EQ(Loaded.Last_Byte_Read, 7u);
}

TEST(VmgReader, ParentalTableOfNoTitleSetsHasRowsOfOneMask)
{
    VMG Record = RichVMG();
    Record.VMG_PTL_MAIT = ParentalTable(2, 0);
    const Bytes File = Write(Record);
    EXPECT_EQ(Get32(File, PTL_MAIT_At + 8 + 2), 24u);
    EXPECT_EQ(Get32(File, PTL_MAIT_At + 16 + 2), 24u + 16) << "16 bytes per country";
    EXPECT_EQ(Get32(File, PTL_MAIT_At + 4), 24u + 32 - 1);

    const VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.PTL_MAIT_OK);
    for (const PTL_MAI& Country : Loaded.VMG_PTL_MAIT.PTL_MAIs)
        for (const std::vector<std::uint16_t>& Row : Country) EXPECT_EQ(Row.size(), 1u);
    EXPECT_TRUE(Loaded.VMG_PTL_MAIT.PTL_MAIs == Record.VMG_PTL_MAIT.PTL_MAIs);
}

TEST(VmgReader, MenuUnitWithoutChainsIsItsEightByteHeader)
{
    VMG Record = RichVMG();
    Record.VMGM_PGCI_UT = MenuTable({MenuUnit({}, 0x01), MenuUnit(Unit_1_Shapes, 0x41)});
    const Bytes File = Write(Record);
    EXPECT_EQ(Slice(File, PGCI_UT_At + 24, 8), (Bytes{0x00, 0x00, 0x52, 0x01, 0x00, 0x00, 0x00, 0x07}));
    EXPECT_EQ(Get32(File, PGCI_UT_At + 16 + 4), 24u + 8) << "the next unit follows the empty one directly";

    const VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.VMGM_PGCI_UT_OK);
    const PGCI_LU& Empty = Loaded.VMGM_PGCI_UT.Language_Units[0];
    EXPECT_TRUE(Empty.PGC_Search_Pointers.empty());
    EXPECT_TRUE(Empty.PGCs.empty());
    EXPECT_TRUE(WithoutRecomputedFields(Loaded).VMGM_PGCI_UT == WithoutRecomputedFields(Record).VMGM_PGCI_UT);
}

TEST(VmgReader, TwoSearchPointersAtOneUnitReadTheUnitsBackToBack)
{
    // The counts agree: the units are read one after the other whatever the
    // pointers say.
    Bytes File = Write(RichVMG());
    Put32(File, PGCI_UT_At + 16 + 4, 24);
    VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.VMGM_PGCI_UT_OK);
    EXPECT_EQ(Loaded.VMGM_PGCI_UT.Language_Search_Pointers[1].Offset_of_Language_Unit, 24u);
    EXPECT_TRUE(WithoutRecomputedFields(Loaded).VMGM_PGCI_UT.Language_Units ==
                WithoutRecomputedFields(RichVMG()).VMGM_PGCI_UT.Language_Units);

    // One unit and two pointers to it: the second unit is read from the
    // zero bytes after the first, and the byte count no longer matches.
    VMG One = RichVMG();
    One.VMGM_PGCI_UT = MenuTable({MenuUnit(Unit_0_Shapes, 0x01)});
    File = Write(One);
    const std::uint32_t Unit_Size = Get32(File, PGCI_UT_At + 16 + 4) + 1;
    const Bytes Unit = Slice(File, PGCI_UT_At + 16, Unit_Size);
    const Bytes Pointer = Slice(File, PGCI_UT_At + 8, 8);
    Bytes Table{0x00, 0x02, 0x0F, 0x0E};
    Table.resize(8);
    Put32(Table, 4, 24 + Unit_Size - 1);
    for (int I = 0; I < 2; ++I) {
        Table.insert(Table.end(), Pointer.begin(), Pointer.end());
        Put32(Table, Table.size() - 4, 24);
    }
    Table.insert(Table.end(), Unit.begin(), Unit.end());
    std::copy(Table.begin(), Table.end(), File.begin() + PGCI_UT_At);

    Loaded = Load(File);
    EXPECT_FALSE(Loaded.VMGM_PGCI_UT_OK);
    ASSERT_EQ(Loaded.VMGM_PGCI_UT.Language_Units.size(), 2u);
    EXPECT_TRUE(WithoutRecomputedFields(Loaded).VMGM_PGCI_UT.Language_Units[0] ==
                WithoutRecomputedFields(One).VMGM_PGCI_UT.Language_Units[0]);
    EXPECT_TRUE(Loaded.VMGM_PGCI_UT.Language_Units[1] == PGCI_LU{});
    EXPECT_TRUE(Loaded.PTL_MAIT_OK);
}

TEST(VmgReader, AbsentTablesKeepWhatTheRecordHeld)
{
    VMG Record = RichVMG();
    Record.Start_Sector_of_PTL_MAIT = 0;
    Record.Start_Sector_of_VMGM_C_ADT = 0;
    const Bytes File = Write(Record);

    VMG Target = Load(Write(RichVMG()));
    const VMG Before = Target;
    MemoryStream Stream(File);
    LoadIfoVMG(Stream, Target);
    EXPECT_EQ(Target.Start_Sector_of_PTL_MAIT, 0u);
    EXPECT_EQ(Target.Start_Sector_of_VMGM_C_ADT, 0u);
    EXPECT_TRUE(Target.VMG_PTL_MAIT == Before.VMG_PTL_MAIT);
    EXPECT_TRUE(Target.VMGM_C_ADT == Before.VMGM_C_ADT);
    ExpectAllFlags(Target, true);

    // Written again, the leftovers stay out of the file.
    EXPECT_TRUE(Write(Target) == File);
}

// ---------------------------------------------------------------------------
// First-play chain and the bytes after it

TEST(VmgFirstPlay, StoredOffsetsAreCarriedEvenWhenWrong)
{
    VMG Record = RichVMG();
    SetFirstPlay(Record, ChainShape{std::array<std::uint16_t, 3>{1, 0, 0}, 3, 2});
    PGC& Chain = Record.First_Play_PGC;
    Chain.Offset_of_Command_Table = 0x0007;
    Chain.Offset_of_Program_Map = 0x0909;
    Chain.Offset_of_Cell_Playback = 0x0B0B;
    Chain.Offset_of_Cell_Position = 0xFFFF;
    Chain.Command_Table_Last_Byte = 0x0102;
    const Bytes File = Write(Record);

    EXPECT_EQ(Slice(File, 0x4E4, 8), (Bytes{0x00, 0x07, 0x09, 0x09, 0x0B, 0x0B, 0xFF, 0xFF}));
    EXPECT_EQ(Get16(File, 0x4EC + 6), 0x0102);
    const VMG Loaded = Load(File);
    EXPECT_TRUE(Loaded.First_Play_PGC == Chain);
    EXPECT_TRUE(Loaded.Bytes_after_First_Play_PGC == Record.Bytes_after_First_Play_PGC);
    ExpectAllFlags(Loaded, true);
}

TEST(VmgFirstPlay, BytesAfterItReachTheTitleTablesSector)
{
    struct Case {
        const char* Name;
        ChainShape Shape;
        std::size_t Chain_Size;
        std::size_t Title_Sector;
    };
    const std::vector<Case> Cases{
        {"bare header", {}, 236, 1},
        {"exactly 1024 bytes", {std::array<std::uint16_t, 3>{3, 0, 0}, std::nullopt, 27}, 1024, 1},
        {"commands only, two sectors", {std::array<std::uint16_t, 3>{2, 1, 0}, std::nullopt, std::nullopt}, 268, 2},
        {"longer than 1024 bytes", {std::array<std::uint16_t, 3>{100, 0, 0}, 9, 20}, 1614, 2},
    };
    for (const Case& Each : Cases) {
        SCOPED_TRACE(Each.Name);
        ASSERT_EQ(ChainSize(Each.Shape), Each.Chain_Size);
        VMG Record = OnlyTitles(Titles(2));
        SetFirstPlay(Record, Each.Shape, Each.Title_Sector);
        const Bytes File = Write(Record);
        EXPECT_EQ(File.size(), (Each.Title_Sector + 1) * Sector);
        EXPECT_EQ(Get32(File, 0xC4), Each.Title_Sector);
        EXPECT_EQ(Get32(File, 0x1C), Each.Title_Sector) << "the title table's sector is the last one";

        const VMG Loaded = Load(File);
        EXPECT_EQ(Loaded.Bytes_after_First_Play_PGC.size(), Each.Title_Sector * Sector - 1024 - Each.Chain_Size);
        EXPECT_TRUE(Loaded.Bytes_after_First_Play_PGC == Record.Bytes_after_First_Play_PGC);
        EXPECT_TRUE(Loaded.First_Play_PGC == Record.First_Play_PGC);
        EXPECT_TRUE(Loaded.TT_SRPT_OK);
    }
}

// ---------------------------------------------------------------------------
// Writer layout

TEST(VmgWriter, TableEndingOnASectorBoundaryIsFollowedDirectlyByTheNext)
{
    struct Case {
        const char* Name;
        std::uint16_t Titles;            // 170 titles: exactly 2048 bytes
        std::optional<std::uint16_t> Cell_Addresses;
        std::optional<std::uint16_t> VOBU_Entries;   // 511: 2048 bytes, 1023: 4096 bytes
        std::uint32_t C_ADT_Sector;
        std::uint32_t VOBU_Sector;
        std::size_t Sectors;
    };
    const std::vector<Case> Cases{
        {"a 2048-byte title table, then a cell table", 170, 1, std::nullopt, 2, 0, 3},
        {"a 2048-byte VOBU map ends the file", 2, std::nullopt, 511, 0, 2, 3},
        {"a 4096-byte VOBU map after a 2048-byte title table", 170, std::nullopt, 1023, 0, 2, 4},
        {"a 2048-byte title table, a cell table, a VOBU map", 170, 3, 2, 2, 3, 4},
    };
    for (const Case& Each : Cases) {
        SCOPED_TRACE(Each.Name);
        VMG Record = OnlyTitles(Titles(Each.Titles));
        if (Each.Cell_Addresses) {
            Record.Start_Sector_of_VMGM_C_ADT = 77;
            Record.VMGM_C_ADT = CellAddresses(*Each.Cell_Addresses);
        }
        if (Each.VOBU_Entries) {
            Record.Start_Sector_of_VMGM_VOBU_ADMAP = 78;
            Record.VMGM_VOBU_ADMAP = VobuMap(*Each.VOBU_Entries);
        }
        const Bytes File = Write(Record);
        EXPECT_EQ(File.size(), Each.Sectors * Sector);
        EXPECT_EQ(Get32(File, 0x1C), Each.Sectors - 1);
        EXPECT_EQ(Get32(File, 0xC4), 1u);
        EXPECT_EQ(Get32(File, 0xD8), Each.C_ADT_Sector);
        EXPECT_EQ(Get32(File, 0xDC), Each.VOBU_Sector);
        if (Each.Titles == 170) {
            EXPECT_EQ(Get32(File, TT_SRPT_At + 4), 2047u);
        }

        const VMG Loaded = Load(File);
        ExpectAllFlags(Loaded, true);
        EXPECT_TRUE(WithoutRecomputedFields(Loaded) == WithoutRecomputedFields(Record));
    }
}

// Each table but the title table, marked absent in a record that still
// holds data for it (with counts that no longer match), is left out: its
// start sector is 0 and the tables after it move up one sector.
TEST(VmgWriter, TableMarkedAbsentIsNotWrittenWhateverTheRecordHolds)
{
    struct Case {
        std::size_t Table;   // index into Tables()
        std::function<void(VMG&)> Break;
    };
    const std::vector<Case> Cases{
        {1, [](VMG& R) { R.VMGM_PGCI_UT.Number_of_Language_Units = 9; }},
        {2, [](VMG& R) { R.VMG_PTL_MAIT.PTL_MAIs[0][3].pop_back(); }},
        {3, [](VMG& R) { R.VMG_VTS_ATRT.Number_of_Title_Sets = 9; }},
        {4, [](VMG& R) { R.VMG_TXTDT_MGI.Language_Units.pop_back(); }},
        {5, [](VMG& R) { R.VMGM_C_ADT.Last_Byte = 0xFFFFFFFF; }},
        {6, [](VMG& R) { R.VMGM_VOBU_ADMAP.Last_Byte = 0; }},
    };
    for (const Case& Each : Cases) {
        const TableInfo& Absent = Tables()[Each.Table];
        SCOPED_TRACE(Absent.Name);
        VMG Record = RichVMG();
        Record.*Absent.Start_Sector = 0;
        Each.Break(Record);
        MemoryStream Stream;
        ASSERT_NO_THROW(MakeIfoVMG(Stream, Record));
        const Bytes& File = Stream.Bytes();
        EXPECT_EQ(File.size(), 7 * Sector);
        EXPECT_EQ(Get32(File, 0x1C), 6u);
        for (std::size_t I = 0; I < Tables().size(); ++I) {
            const std::uint32_t Expected = I < Each.Table ? I + 1 : I == Each.Table ? 0 : I;
            EXPECT_EQ(Get32(File, 0xC4 + 4 * I), Expected) << Tables()[I].Name;
        }

        const VMG Loaded = Load(File);
        ExpectAllFlags(Loaded, true);
        VMG Expected = RichVMG();
        Expected.*Absent.Start_Sector = 0;
        Expected = WithoutRecomputedFields(Expected);
        VMG Got = WithoutRecomputedFields(Loaded);
        // The fresh record that the file was loaded into keeps its empty table.
        EXPECT_TRUE(Absent.Same(Got, WithoutRecomputedFields(VMG{})));
        for (std::size_t I = 0; I < Tables().size(); ++I)
            if (I != Each.Table) {
                EXPECT_TRUE(Tables()[I].Same(Got, Expected)) << Tables()[I].Name;
            }
    }
}

TEST(VmgWriter, ChainArraysLongerThanTheirCountsWriteTheCountedEntries)
{
    VMG Longer = RichVMG();
    PGC& Chain = Longer.VMGM_PGCI_UT.Language_Units[0].PGCs[0];
    Chain.Pre_Commands.push_back(Command(0xEE));
    Chain.Cell_Commands.push_back(Command(0xEF));
    Chain.Program_Map.push_back(0x99);
    Chain.Cell_Playback.push_back(C_PBI{});
    Chain.Cell_Position.push_back(C_POSI{});
    Longer.First_Play_PGC.Post_Commands.push_back(Command(0xED));
    EXPECT_TRUE(Write(Longer) == Write(RichVMG()));
}

TEST(VmgWriter, StreamThatHeldALongerFileKeepsItsBytesAfterTheEnd)
{
    MemoryStream Stream(Bytes(40000, 0xEE));
    Stream.Seek(5000);
    MakeIfoVMG(Stream, RichVMG());

    const Bytes Fresh = Write(RichVMG());
    ASSERT_EQ(Stream.Size(), 40000);
    EXPECT_EQ(Stream.Position(), 224);
    EXPECT_TRUE(Slice(Stream.Bytes(), 0, Fresh.size()) == Fresh) << "the file is written from byte 0";
    const Bytes Rest = Slice(Stream.Bytes(), Fresh.size(), 40000 - Fresh.size());
    EXPECT_EQ(std::count(Rest.begin(), Rest.end(), 0xEE), static_cast<std::ptrdiff_t>(Rest.size()));
}

TEST(VmgWriter, LargestCommandTableThatFitsItsEndAddressIsWritten)
{
    // 8191 commands: the command table ends at 7 + 8 x 8191 = 65535.
    VMG Record = RichVMG();
    Record.VMGM_PGCI_UT.Language_Units[1].PGCs[0] =
        Chain(ChainShape{std::array<std::uint16_t, 3>{8000, 100, 91}, std::nullopt, std::nullopt}, 0x41);
    const Bytes File = Write(Record);
    const VMG Loaded = Load(File);
    ExpectAllFlags(Loaded, true);
    EXPECT_EQ(Loaded.VMGM_PGCI_UT.Language_Units[1].PGCs[0].Command_Table_Last_Byte, 65535);
    EXPECT_TRUE(WithoutRecomputedFields(Loaded) == WithoutRecomputedFields(Record));
    EXPECT_EQ(Loaded.Start_Sector_of_PTL_MAIT - Loaded.Start_Sector_of_VMGM_PGCI_UT, 33u)
        << "a menu table of 1084 - 390 + 65772 bytes takes 33 sectors";
}

// ---------------------------------------------------------------------------
// Records the writer refuses

struct Refusal {
    const char* Name;
    std::function<void(VMG&)> Break;
    std::vector<std::string> Mentions;
};

PGC& MenuChain(VMG& R, std::size_t Unit, std::size_t Chain)
{
    return R.VMGM_PGCI_UT.Language_Units[Unit].PGCs[Chain];
}

PGC BigChain(std::uint16_t Commands, std::optional<std::uint8_t> Programs, std::optional<std::uint8_t> Cells)
{
    return Chain(ChainShape{std::array<std::uint16_t, 3>{Commands, 0, 0}, Programs, Cells}, 0x01);
}

const std::vector<Refusal>& Refusals()
{
    static const std::vector<Refusal> All{
        // Counts against the arrays they count, table by table.
        {"titles: count above the array", [](VMG& R) { R.VMG_TT_SRPT.Number_of_Titles = 4; },
         {"VMG_TT_SRPT", "Number_of_Titles", "Titles"}},
        {"titles: count below the array", [](VMG& R) { R.VMG_TT_SRPT.Number_of_Titles = 2; },
         {"VMG_TT_SRPT", "Number_of_Titles", "Titles"}},
        {"no title table", [](VMG& R) { R.Start_Sector_of_TT_SRPT = 0; }, {"Start_Sector_of_TT_SRPT"}},
        {"menu units: pointers", [](VMG& R) { R.VMGM_PGCI_UT.Language_Search_Pointers.pop_back(); },
         {"VMGM_PGCI_UT", "Number_of_Language_Units", "Language_Search_Pointers"}},
        {"menu units: units", [](VMG& R) { R.VMGM_PGCI_UT.Language_Units.push_back(PGCI_LU{}); },
         {"VMGM_PGCI_UT", "Number_of_Language_Units", "Language_Units"}},
        {"menu units: count", [](VMG& R) { R.VMGM_PGCI_UT.Number_of_Language_Units = 1; },
         {"VMGM_PGCI_UT", "Number_of_Language_Units"}},
        {"menu chains: pointers", [](VMG& R) { R.VMGM_PGCI_UT.Language_Units[1].PGC_Search_Pointers.clear(); },
         {"VMGM_PGCI_UT.Language_Units[1]", "Number_of_PGCs", "PGC_Search_Pointers"}},
        {"menu chains: chains", [](VMG& R) { R.VMGM_PGCI_UT.Language_Units[0].PGCs.pop_back(); },
         {"VMGM_PGCI_UT.Language_Units[0]", "Number_of_PGCs", "PGCs"}},
        {"menu chain: pre commands", [](VMG& R) { MenuChain(R, 0, 0).Pre_Commands.clear(); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[0]", "Pre_Commands", "Number_of_Pre_Commands"}},
        {"menu chain: post commands", [](VMG& R) { MenuChain(R, 0, 0).Post_Commands.clear(); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[0]", "Post_Commands"}},
        {"menu chain: cell commands", [](VMG& R) { MenuChain(R, 0, 0).Cell_Commands.pop_back(); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[0]", "Cell_Commands"}},
        {"menu chain: program map", [](VMG& R) { MenuChain(R, 0, 1).Program_Map.clear(); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[1]", "Program_Map", "Number_of_Programs"}},
        {"menu chain: cell playback", [](VMG& R) { MenuChain(R, 1, 0).Cell_Playback.pop_back(); },
         {"VMGM_PGCI_UT.Language_Units[1].PGCs[0]", "Cell_Playback", "Number_of_Cells"}},
        {"menu chain: cell positions", [](VMG& R) { MenuChain(R, 1, 0).Cell_Position.pop_back(); },
         {"VMGM_PGCI_UT.Language_Units[1].PGCs[0]", "Cell_Position", "Number_of_Cells"}},
        {"first-play chain: commands", [](VMG& R) { R.First_Play_PGC.Pre_Commands.pop_back(); },
         {"First_Play_PGC", "Pre_Commands"}},
        {"countries: pointers", [](VMG& R) { R.VMG_PTL_MAIT.Countries.pop_back(); },
         {"VMG_PTL_MAIT", "Number_of_Countries", "Countries"}},
        {"countries: masks", [](VMG& R) { R.VMG_PTL_MAIT.PTL_MAIs.pop_back(); },
         {"VMG_PTL_MAIT", "Number_of_Countries", "PTL_MAIs"}},
        {"mask row too short", [](VMG& R) { R.VMG_PTL_MAIT.PTL_MAIs[1][7].pop_back(); },
         {"VMG_PTL_MAIT.PTL_MAIs[1][7]", "Number_of_Title_Sets"}},
        {"mask row too long", [](VMG& R) { R.VMG_PTL_MAIT.PTL_MAIs[0][0].push_back(1); },
         {"VMG_PTL_MAIT.PTL_MAIs[0][0]", "Number_of_Title_Sets"}},
        {"mask rows for another title set count", [](VMG& R) { R.VMG_PTL_MAIT.Number_of_Title_Sets = 4; },
         {"VMG_PTL_MAIT.PTL_MAIs[0][0]", "Number_of_Title_Sets"}},
        {"title set attributes: offsets", [](VMG& R) { R.VMG_VTS_ATRT.VTS_ATR_Offsets.pop_back(); },
         {"VMG_VTS_ATRT", "Number_of_Title_Sets", "VTS_ATR_Offsets"}},
        {"title set attributes: entries", [](VMG& R) { R.VMG_VTS_ATRT.VTS_ATRs.push_back(VTS_ATR{}); },
         {"VMG_VTS_ATRT", "Number_of_Title_Sets", "VTS_ATRs"}},
        {"text units: pointers", [](VMG& R) { R.VMG_TXTDT_MGI.Language_Search_Pointers.pop_back(); },
         {"VMG_TXTDT_MGI", "Number_of_Language_Units", "Language_Search_Pointers"}},
        {"text units: units", [](VMG& R) { R.VMG_TXTDT_MGI.Language_Units.pop_back(); },
         {"VMG_TXTDT_MGI", "Number_of_Language_Units", "Language_Units"}},
        {"text unit: items", [](VMG& R) { R.VMG_TXTDT_MGI.Language_Units[0].Items.pop_back(); },
         {"VMG_TXTDT_MGI.Language_Units[0]", "Number_of_Items", "Items"}},
        {"text unit: item count", [](VMG& R) { R.VMG_TXTDT_MGI.Language_Units[1].Number_of_Items = 0; },
         {"VMG_TXTDT_MGI.Language_Units[1]", "Number_of_Items", "Items"}},
        // The first-play chain and the bytes after it must end on a sector
        // boundary at or after byte 2048.
        {"bytes after the first-play chain one short", [](VMG& R) { R.Bytes_after_First_Play_PGC.pop_back(); },
         {"Bytes_after_First_Play_PGC", "2047"}},
        {"bytes after the first-play chain one too many", [](VMG& R) { R.Bytes_after_First_Play_PGC.push_back(0); },
         {"Bytes_after_First_Play_PGC", "2049"}},
        {"no bytes after the first-play chain", [](VMG& R) { R.Bytes_after_First_Play_PGC.clear(); },
         {"Bytes_after_First_Play_PGC", "1292"}},
        {"first-play chain grown by a command",
         [](VMG& R) {
             R.First_Play_PGC.Number_of_Cell_Commands = 1;
             R.First_Play_PGC.Cell_Commands.push_back(Command(1));
         },
         {"Bytes_after_First_Play_PGC", "2056"}},
        {"first-play chain gains a program map",
         [](VMG& R) {
             R.First_Play_PGC.Offset_of_Program_Map = 300;
             R.First_Play_PGC.Number_of_Programs = 1;
             R.First_Play_PGC.Program_Map = {1};
         },
         {"Bytes_after_First_Play_PGC", "2050"}},
        // Chains whose layout does not fit their 16-bit fields.
        {"command table end beyond 65535", [](VMG& R) { MenuChain(R, 0, 1) = BigChain(8192, std::nullopt, std::nullopt); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[1]", "Command_Table_Last_Byte", "65543"}},
        {"program map beyond 65535", [](VMG& R) { MenuChain(R, 0, 1) = BigChain(8162, 1, std::nullopt); },
         {"VMGM_PGCI_UT.Language_Units[0].PGCs[1]", "Offset_of_Program_Map", "65540"}},
        {"cell playback beyond 65535", [](VMG& R) { MenuChain(R, 1, 0) = BigChain(8150, 255, 1); },
         {"VMGM_PGCI_UT.Language_Units[1].PGCs[0]", "Offset_of_Cell_Playback", "65700"}},
        {"cell positions beyond 65535", [](VMG& R) { MenuChain(R, 1, 0) = BigChain(8100, 255, 10); },
         {"VMGM_PGCI_UT.Language_Units[1].PGCs[0]", "Offset_of_Cell_Position", "65540"}},
        {"first-play command table end beyond 65535",
         [](VMG& R) { SetFirstPlay(R, ChainShape{std::array<std::uint16_t, 3>{8192, 0, 0}, std::nullopt, std::nullopt}, 34); },
         {"First_Play_PGC", "Command_Table_Last_Byte"}},
    };
    return All;
}

TEST(VmgWriter, RecordsThatBreakTheInvariantsAreRefusedBeforeAnyByteIsWritten)
{
    ASSERT_NO_THROW(Write(RichVMG()));
    for (const Refusal& Case : Refusals()) {
        SCOPED_TRACE(Case.Name);
        VMG Record = RichVMG();
        Case.Break(Record);

        MemoryStream Empty;
        const std::string Message = MessageOf<std::invalid_argument>([&] { MakeIfoVMG(Empty, Record); });
        ExpectMentions(Message, Case.Mentions);
        EXPECT_EQ(Empty.Size(), 0);
        EXPECT_EQ(Empty.Position(), 0);

        MemoryStream Used(Bytes(100, 0xAB));
        Used.Seek(37);
        EXPECT_THROW(MakeIfoVMG(Used, Record), std::invalid_argument);
        EXPECT_TRUE(Used.Bytes() == Bytes(100, 0xAB));
        EXPECT_EQ(Used.Position(), 37);
    }
}

// ---------------------------------------------------------------------------
// Damaged and truncated files

// A count or end address whose array needs more bytes than the whole file
// holds is refused with a range error naming the table.
TEST(VmgReader, CountsBeyondTheStreamAreRefusedNamingTheTable)
{
    struct Case {
        const char* Name;
        std::function<void(Bytes&)> Damage;
        std::vector<std::string> Mentions;
    };
    const std::vector<Case> Cases{
        {"titles", [](Bytes& F) { Put16(F, TT_SRPT_At, 0xFFFF); }, {"VMG_TT_SRPT"}},
        {"menu units", [](Bytes& F) { Put16(F, PGCI_UT_At, 0xFFFF); }, {"VMGM_PGCI_UT"}},
        {"menu chains", [](Bytes& F) { Put16(F, PGCI_UT_At + 24, 0xFFFF); }, {"VMGM_PGCI_UT"}},
        {"menu chain commands", [](Bytes& F) { Put16(F, PGCI_UT_At + 48 + 0xEC, 0xFFFF); }, {"VMGM_PGCI_UT"}},
        {"first-play commands", [](Bytes& F) { Put16(F, 0x4EC, 0xFFFF); }, {"First_Play_PGC"}},
        {"countries", [](Bytes& F) { Put16(F, PTL_MAIT_At, 0xFFFF); }, {"VMG_PTL_MAIT"}},
        {"title sets of the masks", [](Bytes& F) { Put16(F, PTL_MAIT_At + 2, 0xFFFF); }, {"VMG_PTL_MAIT"}},
        {"title set attributes", [](Bytes& F) { Put16(F, VTS_ATRT_At, 0xFFFF); }, {"VMG_VTS_ATRT"}},
        {"text units", [](Bytes& F) { F[TXTDT_MGI_At + 15] = 0xFF; }, {"VMG_TXTDT_MGI"}},
        {"text items", [](Bytes& F) { Put16(F, TXTDT_MGI_At + 36 + 204, 0xFFFF); },
         {"VMG_TXTDT_MGI.Language_Units[0]", "Items"}},
        {"text length", [](Bytes& F) { Put32(F, TXTDT_MGI_At + 36, 0x7FFF0000); },
         {"VMG_TXTDT_MGI.Language_Units[0]", "Text"}},
        {"text length wrapping to 0", [](Bytes& F) { Put32(F, TXTDT_MGI_At + 36, 0xFFFFFFFF); },
         {"VMG_TXTDT_MGI.Language_Units[0]"}},
        {"cell addresses", [](Bytes& F) { Put32(F, C_ADT_At + 4, 0xFFFFFFFF); }, {"VMGM_C_ADT"}},
        {"VOBU map below its header", [](Bytes& F) { Put32(F, VOBU_ADMAP_At, 2); }, {"VMGM_VOBU_ADMAP"}},
        {"VOBU map", [](Bytes& F) { Put32(F, VOBU_ADMAP_At, 0xFFFFFFFF); }, {"VMGM_VOBU_ADMAP"}},
        {"title table far beyond the end", [](Bytes& F) { Put32(F, 0xC4, 0x000FFFFF); },
         {"Bytes_after_First_Play_PGC"}},
    };
    const Bytes Good = Write(RichVMG());
    for (const Case& Each : Cases) {
        SCOPED_TRACE(Each.Name);
        Bytes File = Good;
        Each.Damage(File);
        MemoryStream Stream(File);
        VMG Target;
        ExpectMentions(MessageOf<std::range_error>([&] { LoadIfoVMG(Stream, Target); }), Each.Mentions);
    }
}

// Loads every cut of File: its first n bytes, for every n. A cut either
// loads, with the flag of every table that lies wholly before the cut true
// and that table read as in the whole file, and every other flag false; or it
// is refused with a range error. Returns how many cuts loaded.
int ExpectCutsLoadOrRefuse(const Bytes& File)
{
    const VMG Whole = Load(File);
    int Loaded = 0;
    for (std::size_t Cut = 0; Cut <= File.size(); ++Cut) {
        SCOPED_TRACE("cut at " + std::to_string(Cut));
        MemoryStream Stream(Slice(File, 0, Cut));
        VMG Record;
        try {
            LoadIfoVMG(Stream, Record);
        } catch (const std::range_error&) {
            continue;
        } catch (const std::exception& Error) {
            ADD_FAILURE() << "refused with something other than a range error: " << Error.what();
            continue;
        }
        ++Loaded;
        for (const TableInfo& Table : Tables()) {
            if (Whole.*Table.Start_Sector == 0) continue;
            const std::size_t Start = Whole.*Table.Start_Sector * Sector;
            const std::size_t End = Start + Table.Last_Byte(Whole) + 1;
            if (End <= Cut) {
                EXPECT_TRUE(Record.*Table.Flag) << Table.Name;
                EXPECT_TRUE(Table.Same(Record, Whole)) << Table.Name;
            } else {
                EXPECT_FALSE(Record.*Table.Flag) << Table.Name;
            }
        }
        if (Cut >= TT_SRPT_At) {
            EXPECT_TRUE(Record.First_Play_PGC == Whole.First_Play_PGC);
            EXPECT_TRUE(Record.Bytes_after_First_Play_PGC == Whole.Bytes_after_First_Play_PGC);
        }
    }
    return Loaded;
}

TEST(VmgReader, TruncatedFileLoadsWithFlagsFalseOrIsRefusedWithARangeError)
{
    ExpectCutsLoadOrRefuse(Write(RichVMG()));

    // Without the VOBU map (whose Last_Byte read as 0 is always refused),
    // every cut from byte 1024 on loads: the header is whole and the bytes up
    // to the title table fit into what is left.
    VMG Record = RichVMG();
    Record.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    const Bytes Shorter = Write(Record);
    EXPECT_GE(ExpectCutsLoadOrRefuse(Shorter), static_cast<int>(Shorter.size() - 1024) * 9 / 10);
}

TEST(VmgReader, EmptyStreamIsRefusedLikeAFileWithoutTitleTable)
{
    MemoryStream Stream;
    VMG Record;
    ExpectMentions(MessageOf<std::range_error>([&] { LoadIfoVMG(Stream, Record); }),
                   {"Bytes_after_First_Play_PGC", "Start_Sector_of_TT_SRPT"});
}

// A table of which the stream holds only the first byte reads as a table of
// no entries whose Last_Byte is 0, and one byte was consumed: the measured
// end 0 matches, yet the file does not hold the table, and the flag says so.
TEST(VmgReader, TableCutAfterItsFirstByteIsJudgedInconsistent)
{
    VMG Record = RichVMG();
    Record.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    const Bytes File = Write(Record);
    for (std::size_t I = 0; I + 1 < Tables().size(); ++I) {
        const TableInfo& Table = Tables()[I];
        SCOPED_TRACE(Table.Name);
        const VMG Cut = Load(Slice(File, 0, (I + 1) * Sector + 1));
        EXPECT_FALSE(Cut.*Table.Flag);
    }
}

}  // namespace
