#include "BenchFixtures.h"

#include <cstring>
#include <string>
#include <system_error>

#include "MemoryStream.h"
#include "Quoril.h"

namespace quoril_bench {

namespace {

// Every title VOBU is this many sectors long; every menu VOBU, and every menu
// cell, one VOBU of Menu_VOBU_Sectors.
constexpr std::uint32_t Title_VOBU_Sectors = 20;
constexpr std::uint32_t Menu_VOBU_Sectors = 10;
constexpr std::uint8_t Title_Set_Menu_Chains = 10;   // per language unit

constexpr std::uint16_t Pre_Commands = 32;
constexpr std::uint16_t Post_Commands = 32;
constexpr std::uint16_t Cell_Commands = 191;          // 255 commands in all, libdvdread's limit

constexpr std::uint32_t Title_Cells = std::uint32_t{Titles} * Cells_per_Chain;

std::uint16_t LanguageCode(const char* Letters)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(Letters[0]) << 8 | static_cast<std::uint8_t>(Letters[1]));
}

// The first title VOBU of global cell Cell; cells share the VOBUs out evenly.
std::uint32_t FirstVOBUOfCell(std::uint32_t Cell)
{
    return static_cast<std::uint32_t>(std::uint64_t{Cell} * Title_VOBUs / Title_Cells);
}

VM_Command Command(std::uint8_t B0, std::uint8_t B1, std::uint8_t B5, std::uint8_t B7)
{
    return VM_Command{B0, B1, 0, 0, 0, B5, 0, B7};
}

void SetPalette(PGC& Chain)
{
    for (std::size_t I = 0; I < Chain.Palette.size(); ++I) {
        const auto Luma = static_cast<std::uint8_t>(0x10 + 13 * I);
        Chain.Palette[I] = {0, Luma, 0x80, static_cast<std::uint8_t>(0x80 - I)};
    }
}

// A chain whose cells are one VOBU each, as menus have: Cells cells, the first
// being Cell_ID First_Cell_ID of VOB 1, one program per cell.
PGC MenuChain(std::uint8_t Cells, std::uint8_t First_Cell_ID, std::uint16_t Pre, std::uint16_t Post)
{
    PGC Chain;
    Chain.Number_of_Programs = Cells;
    Chain.Number_of_Cells = Cells;
    Chain.Playback_Time = 0x000010C0;   // BCD 00:00:10, 30 frames per second
    Chain.Audio_Stream_Control[0] = {0x80, 0x00};
    SetPalette(Chain);
    Chain.Offset_of_Command_Table = Chain.Offset_of_Program_Map = 1;   // present; the writer lays them out
    Chain.Offset_of_Cell_Playback = Chain.Offset_of_Cell_Position = 1;
    Chain.Number_of_Pre_Commands = Pre;
    Chain.Number_of_Post_Commands = Post;
    for (std::uint16_t I = 0; I < Pre; ++I) Chain.Pre_Commands.push_back(Command(0x56, 0x00, 0, static_cast<std::uint8_t>(I)));
    for (std::uint16_t I = 0; I < Post; ++I) Chain.Post_Commands.push_back(Command(0x20, 0x04, 0, 1));
    for (std::uint8_t C = 0; C < Cells; ++C) {
        const std::uint8_t Cell_ID = First_Cell_ID + C;
        const std::uint32_t Start = (Cell_ID - 1u) * Menu_VOBU_Sectors;
        Chain.Program_Map.push_back(static_cast<std::uint8_t>(C + 1));
        C_PBI Playback;
        Playback.Still_Time = 0xFF;
        Playback.Playback_Time = 0x000010C0;
        Playback.First_VOBU_Start_Sector = Start;
        Playback.Last_VOBU_Start_Sector = Start;
        Playback.Last_VOBU_End_Sector = Start + Menu_VOBU_Sectors - 1;
        Chain.Cell_Playback.push_back(Playback);
        Chain.Cell_Position.push_back(C_POSI{1, 0, Cell_ID});
    }
    return Chain;
}

// Title chain Index (0-based): 255 cells of VOB Index + 1, 51 programs of
// five cells, and a full command table.
PGC TitleChain(std::uint16_t Index)
{
    PGC Chain;
    Chain.Number_of_Programs = Programs_per_Chain;
    Chain.Number_of_Cells = Cells_per_Chain;
    Chain.Playback_Time = 0x001700C0;   // BCD 00:17:00
    Chain.Audio_Stream_Control[0] = {0x80, 0x00};
    Chain.Subpicture_Stream_Control[0] = {0x80, 0x00, 0x00, 0x00};
    Chain.Next_PGC_Number = Index + 1u < Titles ? static_cast<std::uint16_t>(Index + 2) : 0;
    Chain.Previous_PGC_Number = Index;
    SetPalette(Chain);
    Chain.Offset_of_Command_Table = Chain.Offset_of_Program_Map = 1;
    Chain.Offset_of_Cell_Playback = Chain.Offset_of_Cell_Position = 1;

    Chain.Number_of_Pre_Commands = Pre_Commands;
    Chain.Number_of_Post_Commands = Post_Commands;
    Chain.Number_of_Cell_Commands = Cell_Commands;
    for (std::uint16_t I = 0; I < Pre_Commands; ++I)
        Chain.Pre_Commands.push_back(Command(0x71, 0x00, static_cast<std::uint8_t>(I), static_cast<std::uint8_t>(Index)));
    for (std::uint16_t I = 0; I < Post_Commands; ++I)
        Chain.Post_Commands.push_back(Command(0x30, 0x02, static_cast<std::uint8_t>(1 + (Index + 1) % Titles), 0));
    for (std::uint16_t I = 0; I < Cell_Commands; ++I)
        Chain.Cell_Commands.push_back(Command(0x20, 0x04, 0, static_cast<std::uint8_t>(1 + I % 8)));

    const std::uint8_t Cells_per_Program = Cells_per_Chain / Programs_per_Chain;
    for (std::uint8_t P = 0; P < Programs_per_Chain; ++P)
        Chain.Program_Map.push_back(static_cast<std::uint8_t>(1 + P * Cells_per_Program));

    for (std::uint32_t C = 0; C < Cells_per_Chain; ++C) {
        const std::uint32_t Cell = std::uint32_t{Index} * Cells_per_Chain + C;
        const std::uint32_t First = FirstVOBUOfCell(Cell), Next = FirstVOBUOfCell(Cell + 1);
        C_PBI Playback;
        Playback.Command_Number = C < Cell_Commands ? static_cast<std::uint8_t>(C + 1) : 0;
        Playback.Playback_Time = 0x000004C0;   // BCD 00:00:04
        Playback.First_VOBU_Start_Sector = First * Title_VOBU_Sectors;
        Playback.Last_VOBU_Start_Sector = (Next - 1) * Title_VOBU_Sectors;
        Playback.Last_VOBU_End_Sector = Next * Title_VOBU_Sectors - 1;
        Chain.Cell_Playback.push_back(Playback);
        Chain.Cell_Position.push_back(C_POSI{static_cast<std::uint16_t>(Index + 1), 0, static_cast<std::uint8_t>(C + 1)});
    }
    return Chain;
}

MENU_ATTRIBUTES MenuAttributes()
{
    MENU_ATTRIBUTES Attributes;
    Attributes.Video_Attributes = {0x40, 0x00};   // MPEG-2, NTSC, 4:3, 720x480
    return Attributes;
}

TITLE_SET_ATTRIBUTES TitleAttributes()
{
    TITLE_SET_ATTRIBUTES Attributes;
    Attributes.Video_Attributes = {0x4C, 0x00};   // MPEG-2, NTSC, 16:9
    Attributes.Number_of_Audio_Streams = 2;
    Attributes.Audio_Attributes[0] = {0x04, 0x00, 'e', 'n', 0, 0, 0, 0};   // AC-3 with a language code
    Attributes.Audio_Attributes[1] = {0x04, 0x00, 'f', 'r', 0, 0, 0, 0};
    Attributes.Number_of_Subpicture_Streams = 2;
    Attributes.Subpicture_Attributes[0] = {0x01, 0x00, 'e', 'n', 0, 0};
    Attributes.Subpicture_Attributes[1] = {0x01, 0x00, 'f', 'r', 0, 0};
    return Attributes;
}

PGCI_UT TitleSetMenus()
{
    // Root, chapter, audio and subpicture menus enter the first four chains.
    const std::uint8_t Categories[Title_Set_Menu_Chains] = {0x83, 0x87, 0x85, 0x84};
    PGCI_UT Menus;
    Menus.Number_of_Language_Units = Menu_Language_Units;
    for (const char* Language : {"en", "fr"}) {
        Menus.Language_Search_Pointers.push_back(PGCI_LU_SRP{LanguageCode(Language), 0, 0xE8, 0});
        PGCI_LU Unit;
        Unit.Number_of_PGCs = Title_Set_Menu_Chains;
        for (std::uint8_t J = 0; J < Title_Set_Menu_Chains; ++J) {
            Unit.PGC_Search_Pointers.push_back(PGCI_SRP{Categories[J], 0, 0, 0});
            Unit.PGCs.push_back(MenuChain(1, static_cast<std::uint8_t>(J + 1), 4, 1));
        }
        Menus.Language_Units.push_back(std::move(Unit));
    }
    return Menus;
}

C_ADT MenuCellAddresses(std::uint8_t Cells)
{
    C_ADT Table;
    Table.Number_of_VOBs = 1;
    for (std::uint8_t C = 0; C < Cells; ++C)
        Table.Cell_Addresses.push_back(
            CELL_ADDRESS{1, static_cast<std::uint8_t>(C + 1), 0, C * Menu_VOBU_Sectors, (C + 1u) * Menu_VOBU_Sectors - 1});
    return Table;
}

VOBU_ADMAP MenuVOBUs(std::uint8_t Cells)
{
    VOBU_ADMAP Map;
    for (std::uint8_t C = 0; C < Cells; ++C) Map.VOBU_Start_Sectors.push_back(C * Menu_VOBU_Sectors);
    return Map;
}

// The number of sectors the writer gives the record's information file; it
// pads the last table to a sector boundary.
template <class Record, class Make>
std::uint32_t SectorsWhenWritten(const Record& Draft, Make MakeIfo)
{
    MemoryStream Out;
    MakeIfo(Out, Draft);
    return static_cast<std::uint32_t>(Out.Size() / 2048);
}

}  // namespace

VTS LargeTitleSet()
{
    VTS Set;
    std::memcpy(Set.Identifier.data(), "DVDVIDEO-VTS", 12);
    Set.Version = 0x11;
    Set.Last_Byte_of_VTSI_MAT = 0x3FF;
    Set.Menu_Attributes = MenuAttributes();
    Set.Title_Set_Attributes = TitleAttributes();
    Set.Start_Sector_of_PTT_SRPT = Set.Start_Sector_of_PGCIT = Set.Start_Sector_of_VTSM_PGCI_UT = 1;
    Set.Start_Sector_of_TMAPT = Set.Start_Sector_of_VTSM_C_ADT = Set.Start_Sector_of_VTSM_VOBU_ADMAP = 1;
    Set.Start_Sector_of_VTS_C_ADT = Set.Start_Sector_of_VTS_VOBU_ADMAP = 1;

    // Title k is title chain k; its parts are the chain's programs.
    Set.PTT_SRPT.Number_of_Titles = Titles;
    Set.PTT_SRPT.Title_Offsets.assign(Titles, 0);
    for (std::uint16_t K = 0; K < Titles; ++K) {
        std::vector<PTT_SRP> Parts;
        for (std::uint16_t P = 1; P <= Programs_per_Chain; ++P) Parts.push_back(PTT_SRP{static_cast<std::uint16_t>(K + 1), P});
        Set.PTT_SRPT.Parts.push_back(std::move(Parts));
    }

    Set.PGCIT.Number_of_PGCs = Titles;
    for (std::uint16_t K = 0; K < Titles; ++K) {
        Set.PGCIT.PGC_Search_Pointers.push_back(PGCI_SRP{static_cast<std::uint8_t>(0x80 | (K + 1)), 0, 0, 0});
        Set.PGCIT.PGCs.push_back(TitleChain(K));
    }

    Set.VTSM_PGCI_UT = TitleSetMenus();

    // One time map per title, an entry every second of the title's VOBUs.
    Set.TMAPT.Number_of_TMAPs = Titles;
    Set.TMAPT.TMAP_Offsets.assign(Titles, 0);
    for (std::uint16_t K = 0; K < Titles; ++K) {
        TMAP Map{1, 0, Time_Map_Entries, {}};
        const std::uint32_t First = FirstVOBUOfCell(std::uint32_t{K} * Cells_per_Chain);
        const std::uint32_t Next = FirstVOBUOfCell((K + 1u) * Cells_per_Chain);
        for (std::uint32_t E = 0; E < Time_Map_Entries; ++E)
            Map.Entries.push_back((First + E * (Next - First) / Time_Map_Entries) * Title_VOBU_Sectors);
        Set.TMAPT.TMAPs.push_back(std::move(Map));
    }

    Set.VTSM_C_ADT = MenuCellAddresses(Title_Set_Menu_Chains);
    Set.VTSM_VOBU_ADMAP = MenuVOBUs(Title_Set_Menu_Chains);

    // Every title chain plays the cells of its own VOB, in Cell_ID order.
    Set.VTS_C_ADT.Number_of_VOBs = Titles;
    for (std::uint32_t Cell = 0; Cell < Title_Cells; ++Cell)
        Set.VTS_C_ADT.Cell_Addresses.push_back(CELL_ADDRESS{
            static_cast<std::uint16_t>(Cell / Cells_per_Chain + 1), static_cast<std::uint8_t>(Cell % Cells_per_Chain + 1), 0,
            FirstVOBUOfCell(Cell) * Title_VOBU_Sectors, FirstVOBUOfCell(Cell + 1) * Title_VOBU_Sectors - 1});
    Set.VTS_VOBU_ADMAP.VOBU_Start_Sectors.reserve(Title_VOBUs);
    for (std::uint32_t V = 0; V < Title_VOBUs; ++V) Set.VTS_VOBU_ADMAP.VOBU_Start_Sectors.push_back(V * Title_VOBU_Sectors);

    // The title set: information file, menu VOBs, title VOBs, backup.
    const std::uint32_t Ifo_Sectors = SectorsWhenWritten(Set, MakeIfoVTS);
    const std::uint32_t Menu_Sectors = Title_Set_Menu_Chains * Menu_VOBU_Sectors;
    const std::uint32_t Title_Sectors = Title_VOBUs * Title_VOBU_Sectors;
    Set.Last_Sector_of_VTSI = Ifo_Sectors - 1;
    Set.Start_Sector_of_Menu_VOBS = Ifo_Sectors;
    Set.Start_Sector_of_Title_VOBS = Ifo_Sectors + Menu_Sectors;
    Set.Last_Sector_of_VTS = 2 * Ifo_Sectors + Menu_Sectors + Title_Sectors - 1;
    return Set;
}

VMG LargeVideoManager()
{
    VMG Manager;
    std::memcpy(Manager.Identifier.data(), "DVDVIDEO-VMG", 12);
    std::memcpy(Manager.Provider_Identifier.data(), "QUORIL BENCHMARK", 16);
    Manager.Version = 0x11;
    Manager.Number_of_Volumes = 1;
    Manager.Volume_Number = 1;
    Manager.Side_ID = 1;
    Manager.Number_of_Title_Sets = Title_Sets;
    Manager.Start_Byte_of_First_Play_PGC = 0x400;
    Manager.Menu_Attributes = MenuAttributes();

    // The first-play chain is written as held: a command table of one
    // command right after its 236-byte header, and nothing else.
    PGC& First_Play = Manager.First_Play_PGC;
    SetPalette(First_Play);
    First_Play.Offset_of_Command_Table = 236;
    First_Play.Number_of_Pre_Commands = 1;
    First_Play.Command_Table_Last_Byte = 8 + 8 - 1;
    First_Play.Pre_Commands = {Command(0x30, 0x02, 1, 0)};   // jump to title 1
    const std::uint32_t First_Play_End = 0x400 + 236 + 16;
    Manager.Last_Byte_of_VMGI_MAT = First_Play_End - 1;
    Manager.Bytes_after_First_Play_PGC.assign(2048 - First_Play_End, 0);
    Manager.Start_Sector_of_TT_SRPT = Manager.Start_Sector_of_VMGM_PGCI_UT = Manager.Start_Sector_of_PTL_MAIT = 1;
    Manager.Start_Sector_of_VTS_ATRT = Manager.Start_Sector_of_TXTDT_MGI = Manager.Start_Sector_of_VMGM_C_ADT = 1;
    Manager.Start_Sector_of_VMGM_VOBU_ADMAP = 1;

    // The titles of the disc are those of the large title set, VTS 1.
    Manager.VMG_TT_SRPT.Number_of_Titles = Titles;
    for (std::uint16_t T = 0; T < Titles; ++T)
        Manager.VMG_TT_SRPT.Titles.push_back(TT_SRP{0x3C, 1, Programs_per_Chain, 0, 1, static_cast<std::uint8_t>(T + 1), 0});

    PGCI_UT& Menus = Manager.VMGM_PGCI_UT;
    Menus.Number_of_Language_Units = 2;
    for (const char* Language : {"en", "de"}) {
        Menus.Language_Search_Pointers.push_back(PGCI_LU_SRP{LanguageCode(Language), 0, 0x80, 0});
        PGCI_LU Unit;
        Unit.Number_of_PGCs = Manager_Menu_Chains;
        for (std::uint16_t J = 0; J < Manager_Menu_Chains; ++J) {
            Unit.PGC_Search_Pointers.push_back(PGCI_SRP{static_cast<std::uint8_t>(J == 0 ? 0x82 : 0x00), 0, 0, 0});
            Unit.PGCs.push_back(MenuChain(1, static_cast<std::uint8_t>(J + 1), 8, 1));
        }
        Menus.Language_Units.push_back(std::move(Unit));
    }

    // Masks of levels 1 to 8 for every title set, in eight countries.
    PTL_MAIT& Parental = Manager.VMG_PTL_MAIT;
    Parental.Number_of_Countries = Parental_Countries;
    Parental.Number_of_Title_Sets = Title_Sets;
    for (const char* Country : {"US", "DE", "FR", "GB", "JP", "IT", "ES", "NL"}) {
        Parental.Countries.push_back(PTL_MAIT_SRP{LanguageCode(Country), 0, 0});
        PTL_MAI Masks;
        for (std::size_t Level = 0; Level < Masks.size(); ++Level)
            for (std::uint32_t Set = 0; Set <= Title_Sets; ++Set)
                Masks[Level].push_back(static_cast<std::uint16_t>(0xFFFFu >> ((Set + Level) % 16)));
        Parental.PTL_MAIs.push_back(std::move(Masks));
    }

    VTS_ATRT& Attributes = Manager.VMG_VTS_ATRT;
    Attributes.Number_of_Title_Sets = Title_Sets;
    Attributes.VTS_ATR_Offsets.assign(Title_Sets, 0);
    for (std::uint16_t S = 0; S < Title_Sets; ++S)
        Attributes.VTS_ATRs.push_back(VTS_ATR{775, 0, MenuAttributes(), TitleAttributes()});

    TXTDT_MGI& Text = Manager.VMG_TXTDT_MGI;
    std::memcpy(Text.Text_Identifier.data(), "QUORIL BENCH", 12);
    Text.Number_of_Language_Units = 2;
    for (const char* Language : {"en", "de"}) {
        Text.Language_Search_Pointers.push_back(TXTDT_LU_SRP{LanguageCode(Language), 0x0001, 0});
        TXTDT_LU Unit;
        Unit.Number_of_Items = Titles;
        for (std::uint16_t T = 0; T < Titles; ++T)
            Unit.Items.push_back(TXTDT_Item{0x30, static_cast<std::uint8_t>(T + 1), 0, 0});
        const std::string Line = std::string("Title of the disc in ") + Language + ", item ";
        while (Unit.Text.size() < Text_Bytes_per_Unit) {
            const std::string Item = Line + std::to_string(Unit.Text.size()) + '\0';
            Unit.Text.insert(Unit.Text.end(), Item.begin(), Item.end());
        }
        Unit.Text.resize(Text_Bytes_per_Unit);
        Unit.Last_Byte = 208 + 4u * Unit.Number_of_Items + Text_Bytes_per_Unit - 1;
        Text.Language_Units.push_back(std::move(Unit));
    }

    Manager.VMGM_C_ADT = MenuCellAddresses(Manager_Menu_Chains);
    Manager.VMGM_VOBU_ADMAP = MenuVOBUs(Manager_Menu_Chains);

    // The video manager: information file, menu VOBs, backup; then VTS 1.
    const std::uint32_t Ifo_Sectors = SectorsWhenWritten(Manager, MakeIfoVMG);
    const std::uint32_t Menu_Sectors = Manager_Menu_Chains * Menu_VOBU_Sectors;
    Manager.Last_Sector_of_VMGI = Ifo_Sectors - 1;
    Manager.Start_Sector_of_Menu_VOBS = Ifo_Sectors;
    Manager.Last_Sector_of_VMG = 2 * Ifo_Sectors + Menu_Sectors - 1;
    for (TT_SRP& Title : Manager.VMG_TT_SRPT.Titles) Title.Start_Sector_of_VTS = Manager.Last_Sector_of_VMG + 1;
    return Manager;
}

DvdFolder WriteDvdFolder(const std::filesystem::path& Root)
{
    DvdFolder Folder;
    Folder.Root = Root;
    Folder.VideoTs = Root / "VIDEO_TS";
    Folder.VmgIfo = Folder.VideoTs / "VIDEO_TS.IFO";
    Folder.VtsIfo = Folder.VideoTs / "VTS_01_0.IFO";
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Folder.VideoTs);

    MemoryStream Vmg;
    MakeIfoVMG(Vmg, LargeVideoManager());
    Vmg.SaveToFile(Folder.VmgIfo);
    Vmg.SaveToFile(Folder.VideoTs / "VIDEO_TS.BUP");
    Folder.VmgBytes = Vmg.Bytes();

    MemoryStream Vts;
    MakeIfoVTS(Vts, LargeTitleSet());
    Vts.SaveToFile(Folder.VtsIfo);
    Vts.SaveToFile(Folder.VideoTs / "VTS_01_0.BUP");
    Folder.VtsBytes = Vts.Bytes();
    return Folder;
}

}  // namespace quoril_bench
