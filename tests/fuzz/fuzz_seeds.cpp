// Writes seed files for the fuzzers: title sets and video managers built in
// code and laid out by the library's own writers, small enough for the
// fuzzer to mutate quickly.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "MemoryStream.h"
#include "Quoril.h"

namespace {

PGC SampleChain(std::uint8_t Programs, std::uint8_t Cells, std::uint16_t Commands)
{
    PGC Chain;
    Chain.Number_of_Programs = Programs;
    Chain.Number_of_Cells = Cells;
    Chain.Playback_Time = 0x00012530;
    if (Commands > 0) {
        Chain.Offset_of_Command_Table = 1;
        Chain.Number_of_Pre_Commands = Commands;
        Chain.Pre_Commands.assign(Commands, VM_Command{0x30, 0x02, 0, 0, 0, 1, 0, 0});
        Chain.Number_of_Cell_Commands = 1;
        Chain.Cell_Commands.assign(1, VM_Command{0x20, 0x04, 0, 0, 0, 0, 0, 1});
    }
    if (Programs > 0) {
        Chain.Offset_of_Program_Map = 1;
        for (std::uint8_t P = 1; P <= Programs; ++P) Chain.Program_Map.push_back(P);
    }
    if (Cells > 0) {
        Chain.Offset_of_Cell_Playback = 1;
        Chain.Offset_of_Cell_Position = 1;
        for (std::uint8_t C = 0; C < Cells; ++C) {
            C_PBI Playback;
            Playback.First_VOBU_Start_Sector = 100u * C;
            Playback.Last_VOBU_End_Sector = 100u * C + 99;
            Chain.Cell_Playback.push_back(Playback);
            Chain.Cell_Position.push_back(C_POSI{1, 0, static_cast<std::uint8_t>(C + 1)});
        }
    }
    return Chain;
}

PGCI_UT SampleMenus()
{
    PGCI_UT Menus;
    Menus.Number_of_Language_Units = 2;
    Menus.Language_Search_Pointers = {PGCI_LU_SRP{0x656E, 0, 0x80, 0}, PGCI_LU_SRP{0x6672, 0, 0x80, 0}};
    Menus.Language_Units.resize(2);
    Menus.Language_Units[0].Number_of_PGCs = 2;
    Menus.Language_Units[0].PGC_Search_Pointers = {PGCI_SRP{0x83, 0, 0, 0}, PGCI_SRP{0x00, 0, 0, 0}};
    Menus.Language_Units[0].PGCs = {SampleChain(1, 1, 2), SampleChain(3, 2, 0)};
    return Menus;
}

VTS SampleTitleSet()
{
    VTS Set;
    std::memcpy(Set.Identifier.data(), "DVDVIDEO-VTS", 12);
    Set.Version = 0x11;
    Set.Start_Sector_of_PTT_SRPT = Set.Start_Sector_of_PGCIT = Set.Start_Sector_of_VTSM_PGCI_UT = 1;
    Set.Start_Sector_of_TMAPT = Set.Start_Sector_of_VTSM_C_ADT = Set.Start_Sector_of_VTSM_VOBU_ADMAP = 1;
    Set.Start_Sector_of_VTS_C_ADT = Set.Start_Sector_of_VTS_VOBU_ADMAP = 1;
    Set.PTT_SRPT.Number_of_Titles = 2;
    Set.PTT_SRPT.Title_Offsets = {0, 0};
    Set.PTT_SRPT.Parts = {{PTT_SRP{1, 1}, PTT_SRP{1, 2}}, {PTT_SRP{2, 1}}};
    Set.PGCIT.Number_of_PGCs = 2;
    Set.PGCIT.PGC_Search_Pointers = {PGCI_SRP{0x81, 0, 0, 0}, PGCI_SRP{0x82, 0, 0, 0}};
    Set.PGCIT.PGCs = {SampleChain(2, 3, 1), SampleChain(1, 1, 0)};
    Set.VTSM_PGCI_UT = SampleMenus();
    Set.TMAPT.Number_of_TMAPs = 2;
    Set.TMAPT.TMAP_Offsets = {0, 0};
    Set.TMAPT.TMAPs = {TMAP{1, 0, 3, {0, 40, 80}}, TMAP{1, 0, 0, {}}};
    Set.VTSM_C_ADT.Number_of_VOBs = 1;
    Set.VTSM_C_ADT.Cell_Addresses = {CELL_ADDRESS{1, 1, 0, 0, 99}};
    Set.VTSM_VOBU_ADMAP.VOBU_Start_Sectors = {0, 50};
    Set.VTS_C_ADT.Number_of_VOBs = 1;
    Set.VTS_C_ADT.Cell_Addresses = {CELL_ADDRESS{1, 1, 0, 0, 99}, CELL_ADDRESS{1, 2, 0, 100, 299}};
    Set.VTS_VOBU_ADMAP.VOBU_Start_Sectors = {0, 40, 80, 120};
    return Set;
}

VMG SampleManager()
{
    VMG Manager;
    std::memcpy(Manager.Identifier.data(), "DVDVIDEO-VMG", 12);
    std::memcpy(Manager.Provider_Identifier.data(), "seed", 4);
    Manager.Number_of_Title_Sets = 2;
    Manager.First_Play_PGC = SampleChain(0, 0, 1);
    Manager.First_Play_PGC.Offset_of_Command_Table = 236;
    Manager.Bytes_after_First_Play_PGC.assign(1024 - 236 - 8 - 16, 0);
    Manager.Start_Sector_of_TT_SRPT = Manager.Start_Sector_of_VMGM_PGCI_UT = Manager.Start_Sector_of_PTL_MAIT = 1;
    Manager.Start_Sector_of_VTS_ATRT = Manager.Start_Sector_of_TXTDT_MGI = Manager.Start_Sector_of_VMGM_C_ADT = 1;
    Manager.Start_Sector_of_VMGM_VOBU_ADMAP = 1;
    Manager.VMG_TT_SRPT.Number_of_Titles = 2;
    Manager.VMG_TT_SRPT.Titles = {TT_SRP{0x3C, 1, 3, 0, 1, 1, 20}, TT_SRP{0x3C, 1, 1, 0, 2, 1, 80}};
    Manager.VMGM_PGCI_UT = SampleMenus();
    Manager.VMG_PTL_MAIT.Number_of_Countries = 1;
    Manager.VMG_PTL_MAIT.Number_of_Title_Sets = 2;
    Manager.VMG_PTL_MAIT.Countries = {PTL_MAIT_SRP{0x5553, 0, 0}};
    Manager.VMG_PTL_MAIT.PTL_MAIs.resize(1);
    for (auto& Row : Manager.VMG_PTL_MAIT.PTL_MAIs[0]) Row = {0xFFFF, 0x00FF, 0x0F0F};
    Manager.VMG_VTS_ATRT.Number_of_Title_Sets = 2;
    Manager.VMG_VTS_ATRT.VTS_ATR_Offsets = {0, 0};
    Manager.VMG_VTS_ATRT.VTS_ATRs.resize(2);
    Manager.VMG_TXTDT_MGI.Number_of_Language_Units = 1;
    Manager.VMG_TXTDT_MGI.Language_Search_Pointers = {TXTDT_LU_SRP{0x656E, 1, 0}};
    TXTDT_LU Unit;
    Unit.Number_of_Items = 2;
    Unit.Items = {TXTDT_Item{1, 2, 3, 4}, TXTDT_Item{5, 6, 7, 8}};
    Unit.Text = {'D', 'i', 's', 'c', 0};
    Unit.Last_Byte = 208 + 8 + 5 - 1;
    Manager.VMG_TXTDT_MGI.Language_Units = {Unit};
    Manager.VMGM_C_ADT.Cell_Addresses = {CELL_ADDRESS{1, 1, 0, 0, 49}};
    Manager.VMGM_VOBU_ADMAP.VOBU_Start_Sectors = {0, 25};
    return Manager;
}

template <class Record, class Make>
void Save(const std::filesystem::path& Path, const Record& Seed, Make MakeIfo)
{
    MemoryStream Out;
    MakeIfo(Out, Seed);
    Out.SaveToFile(Path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds VMG_DIR VTS_DIR\n");
        return 2;
    }
    const std::filesystem::path VmgDir = argv[1], VtsDir = argv[2];
    std::filesystem::create_directories(VmgDir);
    std::filesystem::create_directories(VtsDir);

    Save(VtsDir / "full.ifo", SampleTitleSet(), MakeIfoVTS);
    VTS Bare;
    std::memcpy(Bare.Identifier.data(), "DVDVIDEO-VTS", 12);
    Save(VtsDir / "bare.ifo", Bare, MakeIfoVTS);

    Save(VmgDir / "full.ifo", SampleManager(), MakeIfoVMG);
    VMG Titles = SampleManager();
    Titles.Start_Sector_of_VMGM_PGCI_UT = Titles.Start_Sector_of_PTL_MAIT = Titles.Start_Sector_of_VTS_ATRT = 0;
    Titles.Start_Sector_of_TXTDT_MGI = Titles.Start_Sector_of_VMGM_C_ADT = Titles.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    Save(VmgDir / "titles-only.ifo", Titles, MakeIfoVMG);
    return 0;
}
