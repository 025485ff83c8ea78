#include "FileRegions.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

struct Field {
    std::uint32_t Offset;
    std::uint32_t Size;
    const char* Name;
};

const std::vector<Field> VMG_Header{
    {0x000, 12, "Identifier"}, {0x00C, 4, "Last_Sector_of_VMG"}, {0x010, 12, "Reserved_1"},
    {0x01C, 4, "Last_Sector_of_VMGI"}, {0x020, 1, "Reserved_2"}, {0x021, 1, "Version"}, {0x022, 1, "Reserved_3"},
    {0x023, 1, "Region_Mask"}, {0x024, 2, "Reserved_4"}, {0x026, 2, "Number_of_Volumes"},
    {0x028, 2, "Volume_Number"}, {0x02A, 1, "Side_ID"}, {0x02B, 19, "Reserved_5"},
    {0x03E, 2, "Number_of_Title_Sets"}, {0x040, 32, "Provider_Identifier"}, {0x060, 8, "POS_Code"},
    {0x068, 24, "Reserved_6"}, {0x080, 4, "Last_Byte_of_VMGI_MAT"}, {0x084, 4, "Start_Byte_of_First_Play_PGC"},
    {0x088, 56, "Reserved_7"}, {0x0C0, 4, "Start_Sector_of_Menu_VOBS"}, {0x0C4, 4, "Start_Sector_of_TT_SRPT"},
    {0x0C8, 4, "Start_Sector_of_VMGM_PGCI_UT"}, {0x0CC, 4, "Start_Sector_of_PTL_MAIT"},
    {0x0D0, 4, "Start_Sector_of_VTS_ATRT"}, {0x0D4, 4, "Start_Sector_of_TXTDT_MGI"},
    {0x0D8, 4, "Start_Sector_of_VMGM_C_ADT"}, {0x0DC, 4, "Start_Sector_of_VMGM_VOBU_ADMAP"},
    {0x0E0, 32, "Reserved_8"}, {0x100, 256, "Menu_Attributes"}, {0x200, 512, "Reserved_9"},
    {0x400, 0, "First_Play_PGC"}};

const std::vector<Field> VTS_Header{
    {0x000, 12, "Identifier"}, {0x00C, 4, "Last_Sector_of_VTS"}, {0x010, 12, "Reserved_1"},
    {0x01C, 4, "Last_Sector_of_VTSI"}, {0x020, 1, "Reserved_2"}, {0x021, 1, "Version"}, {0x022, 4, "VTS_Category"},
    {0x026, 90, "Reserved_3"}, {0x080, 4, "Last_Byte_of_VTSI_MAT"}, {0x084, 60, "Reserved_4"},
    {0x0C0, 4, "Start_Sector_of_Menu_VOBS"}, {0x0C4, 4, "Start_Sector_of_Title_VOBS"},
    {0x0C8, 4, "Start_Sector_of_PTT_SRPT"}, {0x0CC, 4, "Start_Sector_of_PGCIT"},
    {0x0D0, 4, "Start_Sector_of_VTSM_PGCI_UT"}, {0x0D4, 4, "Start_Sector_of_TMAPT"},
    {0x0D8, 4, "Start_Sector_of_VTSM_C_ADT"}, {0x0DC, 4, "Start_Sector_of_VTSM_VOBU_ADMAP"},
    {0x0E0, 4, "Start_Sector_of_VTS_C_ADT"}, {0x0E4, 4, "Start_Sector_of_VTS_VOBU_ADMAP"},
    {0x0E8, 24, "Reserved_5"}, {0x100, 256, "Menu_Attributes"}, {0x200, 512, "Title_Set_Attributes"},
    {0x400, 1024, "Reserved_6"}};

std::string Hex(std::uint32_t Value) {
    char Text[16];
    std::snprintf(Text, sizeof Text, "0x%X", Value);
    return Text;
}

// Tables as (start sector, name), present ones only, in file order.
std::string PlaceIn(const std::vector<Field>& Header, std::vector<std::pair<std::uint32_t, const char*>> Tables,
                    std::uint32_t Offset) {
    std::erase_if(Tables, [](const auto& Table) { return Table.first == 0; });
    std::sort(Tables.begin(), Tables.end());
    for (auto Table = Tables.rbegin(); Table != Tables.rend(); ++Table)
        if (Offset >= Table->first * 2048U)
            return std::string(Table->second) + "+" + Hex(Offset - Table->first * 2048U);
    for (auto F = Header.rbegin(); F != Header.rend(); ++F)
        if (Offset >= F->Offset) return std::string(F->Name) + "+" + Hex(Offset - F->Offset);
    return Hex(Offset);
}

}  // namespace

std::string PlaceOfByte(const VMG& R, std::uint32_t Offset) {
    return PlaceIn(VMG_Header,
                   {{R.Start_Sector_of_TT_SRPT, "VMG_TT_SRPT"},
                    {R.Start_Sector_of_VMGM_PGCI_UT, "VMGM_PGCI_UT"},
                    {R.Start_Sector_of_PTL_MAIT, "VMG_PTL_MAIT"},
                    {R.Start_Sector_of_VTS_ATRT, "VMG_VTS_ATRT"},
                    {R.Start_Sector_of_TXTDT_MGI, "VMG_TXTDT_MGI"},
                    {R.Start_Sector_of_VMGM_C_ADT, "VMGM_C_ADT"},
                    {R.Start_Sector_of_VMGM_VOBU_ADMAP, "VMGM_VOBU_ADMAP"}},
                   Offset);
}

std::string PlaceOfByte(const VTS& R, std::uint32_t Offset) {
    return PlaceIn(VTS_Header,
                   {{R.Start_Sector_of_PTT_SRPT, "PTT_SRPT"},
                    {R.Start_Sector_of_PGCIT, "PGCIT"},
                    {R.Start_Sector_of_VTSM_PGCI_UT, "VTSM_PGCI_UT"},
                    {R.Start_Sector_of_TMAPT, "TMAPT"},
                    {R.Start_Sector_of_VTSM_C_ADT, "VTSM_C_ADT"},
                    {R.Start_Sector_of_VTSM_VOBU_ADMAP, "VTSM_VOBU_ADMAP"},
                    {R.Start_Sector_of_VTS_C_ADT, "VTS_C_ADT"},
                    {R.Start_Sector_of_VTS_VOBU_ADMAP, "VTS_VOBU_ADMAP"}},
                   Offset);
}

template <typename Record>
std::string DescribeByteDifferences(const Record& Layout, const std::vector<std::uint8_t>& Expected,
                                    const std::vector<std::uint8_t>& Actual, std::size_t Limit) {
    std::string Text;
    if (Expected.size() != Actual.size())
        Text += "length: expected " + std::to_string(Expected.size()) + ", got " + std::to_string(Actual.size()) + "\n";
    std::size_t Shown = 0, Total = 0;
    const std::size_t Common = std::min(Expected.size(), Actual.size());
    for (std::size_t i = 0; i < Common; ++i) {
        if (Expected[i] == Actual[i]) continue;
        ++Total;
        if (Shown++ < Limit) {
            char Line[64];
            std::snprintf(Line, sizeof Line, ": expected %02X, got %02X\n", Expected[i], Actual[i]);
            Text += "byte " + Hex(static_cast<std::uint32_t>(i)) + " (" +
                    PlaceOfByte(Layout, static_cast<std::uint32_t>(i)) + ")" + Line;
        }
    }
    Text += std::to_string(Total) + " byte(s) differ in the common length";
    return Text;
}

template std::string DescribeByteDifferences<VMG>(const VMG&, const std::vector<std::uint8_t>&,
                                                  const std::vector<std::uint8_t>&, std::size_t);
template std::string DescribeByteDifferences<VTS>(const VTS&, const std::vector<std::uint8_t>&,
                                                  const std::vector<std::uint8_t>&, std::size_t);
