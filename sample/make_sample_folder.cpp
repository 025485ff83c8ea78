// Writes a small DVD-Video folder for trying Brelloc: a video manager and one
// title set, written by the Quoril library, with their backups and VOB files
// of known sizes. The stored last sectors of the video manager and of the
// title set are deliberately wrong (0), so that Brelloc has something to
// correct. The VOB files hold zero bytes; only their sizes matter.
//
// Usage: make_sample_folder FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "MemoryStream.h"
#include "library/Quoril.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Sector_Size = 2048;
constexpr std::uint32_t Video_Manager_VOB_Sectors = 12;
constexpr std::uint32_t Menu_VOB_Sectors = 20;
constexpr std::uint32_t Title_VOB_Sectors = 300;
constexpr std::uint32_t Title_VOB_Extra_Bytes = 100;   // a partial sector does not count

template <std::size_t N>
void SetText(std::array<char, N>& Field, const char* Text)
{
    Field.fill('\0');
    std::memcpy(Field.data(), Text, std::min(N, std::strlen(Text)));
}

VMG SampleVideoManager()
{
    VMG Record;
    SetText(Record.Identifier, "DVDVIDEO-VMG");
    Record.Last_Sector_of_VMG = 0;   // wrong on purpose
    Record.Version = 0x11;
    Record.Number_of_Volumes = 1;
    Record.Volume_Number = 1;
    Record.Side_ID = 1;
    Record.Number_of_Title_Sets = 1;
    SetText(Record.Provider_Identifier, "QUORIL SAMPLE DISC");
    Record.Last_Byte_of_VMGI_MAT = 0x3FF;
    Record.Start_Byte_of_First_Play_PGC = 0x400;

    // The first-play chain (a bare 236-byte header) and zero bytes up to the
    // end of sector 0, where the title search pointer table begins.
    Record.Bytes_after_First_Play_PGC.assign(Sector_Size - 1024 - 236, 0);
    Record.Start_Sector_of_TT_SRPT = 1;

    TT_SRP Title;
    Title.Title_Type = 0x3C;
    Title.Number_of_Angles = 1;
    Title.Number_of_Chapters = 3;
    Title.VTS_Number = 1;
    Title.VTS_Title_Number = 1;
    Record.VMG_TT_SRPT.Number_of_Titles = 1;
    Record.VMG_TT_SRPT.Titles = {Title};

    Record.Start_Sector_of_VTS_ATRT = 1;   // present; the writer assigns the sector
    Record.VMG_VTS_ATRT.Number_of_Title_Sets = 1;
    Record.VMG_VTS_ATRT.VTS_ATR_Offsets = {0};
    Record.VMG_VTS_ATRT.VTS_ATRs.resize(1);
    return Record;
}

VTS SampleTitleSet()
{
    VTS Record;
    SetText(Record.Identifier, "DVDVIDEO-VTS");
    Record.Last_Sector_of_VTS = 0;   // wrong on purpose
    Record.Version = 0x11;
    Record.Last_Byte_of_VTSI_MAT = 0x3FF;

    // One title of three parts, played by one program chain of three programs.
    Record.Start_Sector_of_PTT_SRPT = 1;
    Record.PTT_SRPT.Number_of_Titles = 1;
    Record.PTT_SRPT.Title_Offsets = {0};
    Record.PTT_SRPT.Parts = {{{1, 1}, {1, 2}, {1, 3}}};

    PGC Chain;
    Chain.Number_of_Programs = 3;
    Chain.Number_of_Cells = 3;
    Chain.Playback_Time = 0x00013000 | 0xC0;   // 0:01:30, 30 frames per second
    Chain.Offset_of_Program_Map = 1;            // present; the writer computes the offsets
    Chain.Offset_of_Cell_Playback = 1;
    Chain.Offset_of_Cell_Position = 1;
    Chain.Program_Map = {1, 2, 3};
    Chain.Cell_Playback.resize(3);
    for (std::uint8_t Cell = 1; Cell <= 3; ++Cell) {
        C_POSI Position;
        Position.VOB_ID = 1;
        Position.Cell_ID = Cell;
        Chain.Cell_Position.push_back(Position);
    }
    Record.Start_Sector_of_PGCIT = 1;
    Record.PGCIT.Number_of_PGCs = 1;
    PGCI_SRP Pointer;
    Pointer.Category_Byte_1 = 0x81;   // entry chain of title 1
    Record.PGCIT.PGC_Search_Pointers = {Pointer};
    Record.PGCIT.PGCs = {Chain};
    return Record;
}

template <typename Record, typename Writer>
std::uint32_t WriteIfoAndBackup(const fs::path& Ifo, const fs::path& Backup, const Record& Content, Writer Make)
{
    MemoryStream Stream;
    Make(Stream, Content);
    Stream.SaveToFile(Ifo);
    Stream.SaveToFile(Backup);
    return static_cast<std::uint32_t>(Stream.Size() / Sector_Size);
}

void WriteVob(const fs::path& Path, std::uint64_t Bytes)
{
    MemoryStream Stream(std::vector<std::uint8_t>(Bytes, 0));
    Stream.SaveToFile(Path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const fs::path Folder = argv[1];
        fs::create_directories(Folder);

        VMG Manager = SampleVideoManager();
        // Write once to learn the IFO's size, then again with the menu VOB
        // set placed directly after it, as on a disc.
        std::uint32_t ManagerSectors =
            WriteIfoAndBackup(Folder / "VIDEO_TS.IFO", Folder / "VIDEO_TS.BUP", Manager, MakeIfoVMG);
        Manager.Start_Sector_of_Menu_VOBS = ManagerSectors;
        ManagerSectors = WriteIfoAndBackup(Folder / "VIDEO_TS.IFO", Folder / "VIDEO_TS.BUP", Manager, MakeIfoVMG);
        WriteVob(Folder / "VIDEO_TS.VOB", std::uint64_t{Video_Manager_VOB_Sectors} * Sector_Size);

        VTS TitleSet = SampleTitleSet();
        std::uint32_t TitleSetSectors =
            WriteIfoAndBackup(Folder / "VTS_01_0.IFO", Folder / "VTS_01_0.BUP", TitleSet, MakeIfoVTS);
        TitleSet.Start_Sector_of_Menu_VOBS = TitleSetSectors;
        TitleSet.Start_Sector_of_Title_VOBS = TitleSetSectors + Menu_VOB_Sectors;
        TitleSetSectors = WriteIfoAndBackup(Folder / "VTS_01_0.IFO", Folder / "VTS_01_0.BUP", TitleSet, MakeIfoVTS);
        WriteVob(Folder / "VTS_01_0.VOB", std::uint64_t{Menu_VOB_Sectors} * Sector_Size);
        WriteVob(Folder / "VTS_01_1.VOB", std::uint64_t{Title_VOB_Sectors} * Sector_Size + Title_VOB_Extra_Bytes);

        std::printf("Sample DVD-Video folder written to %s\n", Folder.c_str());
        std::printf("  VIDEO_TS.IFO: Last_Sector_of_VMG stored 0, correct value %u\n",
                    2 * ManagerSectors + Video_Manager_VOB_Sectors - 1);
        std::printf("  VTS_01_0.IFO: Last_Sector_of_VTS stored 0, correct value %u\n",
                    2 * TitleSetSectors + Menu_VOB_Sectors + Title_VOB_Sectors - 1);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "make_sample_folder: %s\n", Error.what());
        return 1;
    }
    return 0;
}
