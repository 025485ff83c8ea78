// Conformance on real discs: the DVD-Video folders that scripts/make-test-dvd
// builds with ffmpeg, dvdauthor and spumux are loaded, compared with what
// libdvdread parses from the same files, rewritten, and parsed again.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <filesystem>
#include <string>
#include <vector>

#include "DvdreadFacts.h"
#include "Facts.h"
#include "FileRegions.h"
#include "MemoryStream.h"
#include "Quoril.h"
#include "QuorilFacts.h"
#include "TestDiscs.h"

namespace fs = std::filesystem;

namespace {

void LoadRecord(const std::vector<std::uint8_t>& Bytes, VMG& Record) {
    MemoryStream Stream(Bytes);
    LoadIfoVMG(Stream, Record);
}

void LoadRecord(const std::vector<std::uint8_t>& Bytes, VTS& Record) {
    MemoryStream Stream(Bytes);
    LoadIfoVTS(Stream, Record);
}

std::vector<std::uint8_t> MakeBytes(const VMG& Record) {
    MemoryStream Stream;
    MakeIfoVMG(Stream, Record);
    return Stream.Bytes();
}

std::vector<std::uint8_t> MakeBytes(const VTS& Record) {
    MemoryStream Stream;
    MakeIfoVTS(Stream, Record);
    return Stream.Bytes();
}

std::vector<std::string> FalseFlags(const VMG& R) {
    std::vector<std::string> Names;
    const std::pair<const char*, bool> Flags[] = {
        {"TT_SRPT_OK", R.TT_SRPT_OK},       {"VMGM_PGCI_UT_OK", R.VMGM_PGCI_UT_OK},
        {"PTL_MAIT_OK", R.PTL_MAIT_OK},     {"VTS_ATRT_OK", R.VTS_ATRT_OK},
        {"TXTDT_MGI_OK", R.TXTDT_MGI_OK},   {"VMGM_C_ADT_OK", R.VMGM_C_ADT_OK},
        {"VMGM_VOBU_ADMAP_OK", R.VMGM_VOBU_ADMAP_OK}};
    for (const auto& [Name, Value] : Flags)
        if (!Value) Names.push_back(Name);
    return Names;
}

std::vector<std::string> FalseFlags(const VTS& R) {
    std::vector<std::string> Names;
    const std::pair<const char*, bool> Flags[] = {
        {"PTT_SRPT_OK", R.PTT_SRPT_OK},         {"PGCIT_OK", R.PGCIT_OK},
        {"VTSM_PGCI_UT_OK", R.VTSM_PGCI_UT_OK}, {"TMAPT_OK", R.TMAPT_OK},
        {"VTSM_C_ADT_OK", R.VTSM_C_ADT_OK},     {"VTSM_VOBU_ADMAP_OK", R.VTSM_VOBU_ADMAP_OK},
        {"VTS_C_ADT_OK", R.VTS_C_ADT_OK},       {"VTS_VOBU_ADMAP_OK", R.VTS_VOBU_ADMAP_OK}};
    for (const auto& [Name, Value] : Flags)
        if (!Value) Names.push_back(Name);
    return Names;
}

std::uint32_t IfoLastSector(const VMG& R) { return R.Last_Sector_of_VMGI; }
std::uint32_t IfoLastSector(const VTS& R) { return R.Last_Sector_of_VTSI; }

std::string Joined(const std::vector<std::string>& Names) {
    std::string Text;
    for (const std::string& Name : Names) Text += (Text.empty() ? "" : ", ") + Name;
    return Text;
}

// Calls Check with a VMG record for the video manager's files and a VTS
// record for a title set's.
template <typename Check>
void WithRecordOf(const InformationFile& File, Check&& Body) {
    if (File.Title_Set == 0) {
        VMG Record;
        Body(Record);
    } else {
        VTS Record;
        Body(Record);
    }
}

// The sector fields that a rewrite recomputes: the information file's own
// last sector and the start sectors of its tables. The start sectors of the
// VOB sets are carried and compared.
bool IsRecomputedSectorField(const std::string& Name) {
    if (Name == "Last_Sector_of_VMGI" || Name == "Last_Sector_of_VTSI") return true;
    return Name.starts_with("Start_Sector_of_") && Name != "Start_Sector_of_Menu_VOBS" &&
           Name != "Start_Sector_of_Title_VOBS";
}

// Copies a VIDEO_TS folder to To, every IFO and BUP loaded and written anew
// through the library, every other file as it is.
void WriteRewrittenCopy(const fs::path& From, const fs::path& To) {
    fs::create_directories(To);
    std::vector<fs::path> Rewritten;
    for (const InformationFile& File : InformationFilesIn(From)) {
        const auto Bytes = ReadWholeFile(File.Path);
        WithRecordOf(File, [&](auto& Record) {
            LoadRecord(Bytes, Record);
            WriteWholeFile(To / File.Path.filename(), MakeBytes(Record));
        });
        Rewritten.push_back(File.Path.filename());
    }
    for (const fs::directory_entry& Entry : fs::directory_iterator(From))
        if (std::find(Rewritten.begin(), Rewritten.end(), Entry.path().filename()) == Rewritten.end())
            fs::copy_file(Entry.path(), To / Entry.path().filename());
}

std::vector<int> VideoManagerAndTitleSets(const fs::path& Folder) {
    std::vector<int> Sets{0};
    for (int Set : TitleSetsIn(Folder)) Sets.push_back(Set);
    return Sets;
}

std::string NameOfSet(int Title_Set) {
    return Title_Set == 0 ? std::string("VIDEO_TS.IFO") : "VTS_" + std::to_string(Title_Set) + "_0.IFO";
}

class GeneratedDisc : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        Folder = VideoTsOf(GetParam());
        ASSERT_TRUE(fs::is_directory(Folder))
            << Folder << " does not exist: generate the discs with scripts/make-test-dvd "
            << TestDiscsFolder() << " (the CTest fixture make_test_dvd does) or point QUORIL_TEST_DISCS at them";
        Files = InformationFilesIn(Folder);
        ASSERT_FALSE(Files.empty()) << "no information files in " << Folder;
    }

    fs::path Folder;
    std::vector<InformationFile> Files;
};

TEST(GeneratedDiscs, AreExactlyTheOnesTheSuiteKnows) {
    std::vector<std::string> Found;
    for (const fs::directory_entry& Entry : fs::directory_iterator(TestDiscsFolder()))
        if (fs::is_directory(Entry.path() / "VIDEO_TS")) Found.push_back(Entry.path().filename().string());
    std::sort(Found.begin(), Found.end());
    std::vector<std::string> Known = GeneratedDiscNames();
    std::sort(Known.begin(), Known.end());
    EXPECT_EQ(Found, Known);
}

// What each generated disc was made to contain, so that the suite notices
// when the tools stop producing it and the comparisons below lose their reach.
struct DiscFeatures {
    std::string Disc;
    std::size_t Title_Sets;
    std::size_t Titles;                   // in the video manager's title table
    std::uint16_t Chapters_of_Title_1;
    bool Video_Manager_Menu;
    std::size_t Menu_Languages_of_Set_1;  // language units of VTS 1's menus
    std::uint16_t Audio_Streams_of_Set_1;
    std::uint16_t Subpicture_Streams_of_Set_1;
    bool Pre_Post_And_Cell_Commands;      // somewhere in the disc's chains
    bool Table_Filling_Whole_Sectors;     // a title set table of exactly n × 2048 bytes
};

const DiscFeatures Features[] = {
    {"single", 1, 1, 1, false, 0, 1, 0, false, false},
    {"chapters", 1, 1, 7, false, 0, 2, 0, false, false},
    {"twosets", 2, 7, 2, false, 0, 1, 0, false, true},
    {"menus", 1, 2, 2, true, 2, 1, 1, true, false},
};

template <typename Record>
Record LoadedFrom(const fs::path& Path) {
    Record Loaded;
    LoadRecord(ReadWholeFile(Path), Loaded);
    return Loaded;
}

void CountCommands(const PGC& Chain, bool& Pre, bool& Post, bool& Cell) {
    Pre = Pre || !Chain.Pre_Commands.empty();
    Post = Post || !Chain.Post_Commands.empty();
    Cell = Cell || !Chain.Cell_Commands.empty();
}

void CountCommands(const PGCI_UT& Table, bool& Pre, bool& Post, bool& Cell) {
    for (const PGCI_LU& Unit : Table.Language_Units)
        for (const PGC& Chain : Unit.PGCs) CountCommands(Chain, Pre, Post, Cell);
}

bool HasTableFillingWholeSectors(const VTS& R) {
    const std::pair<std::uint32_t, std::uint32_t> Tables[] = {
        {R.Start_Sector_of_PTT_SRPT, R.PTT_SRPT.Last_Byte},
        {R.Start_Sector_of_PGCIT, R.PGCIT.Last_Byte},
        {R.Start_Sector_of_VTSM_PGCI_UT, R.VTSM_PGCI_UT.Last_Byte},
        {R.Start_Sector_of_TMAPT, R.TMAPT.Last_Byte},
        {R.Start_Sector_of_VTSM_C_ADT, R.VTSM_C_ADT.Last_Byte},
        {R.Start_Sector_of_VTSM_VOBU_ADMAP, R.VTSM_VOBU_ADMAP.Last_Byte},
        {R.Start_Sector_of_VTS_C_ADT, R.VTS_C_ADT.Last_Byte},
        {R.Start_Sector_of_VTS_VOBU_ADMAP, R.VTS_VOBU_ADMAP.Last_Byte}};
    return std::any_of(std::begin(Tables), std::end(Tables),
                       [](const auto& Table) { return Table.first != 0 && (Table.second + 1) % 2048 == 0; });
}

TEST_P(GeneratedDisc, HasTheFeaturesItWasMadeFor) {
    const auto Expected = std::find_if(std::begin(Features), std::end(Features),
                                       [&](const DiscFeatures& F) { return F.Disc == GetParam(); });
    ASSERT_NE(Expected, std::end(Features));
    const VMG Manager = LoadedFrom<VMG>(Files.front().Path);
    const std::vector<int> Sets = TitleSetsIn(Folder);
    ASSERT_FALSE(Sets.empty());
    const VTS First = LoadedFrom<VTS>(FindIgnoringCase(Folder, "VTS_01_0.IFO"));

    EXPECT_EQ(Sets.size(), Expected->Title_Sets);
    EXPECT_EQ(Manager.Number_of_Title_Sets, Expected->Title_Sets);
    EXPECT_EQ(Manager.VMG_TT_SRPT.Titles.size(), Expected->Titles);
    ASSERT_FALSE(Manager.VMG_TT_SRPT.Titles.empty());
    EXPECT_EQ(Manager.VMG_TT_SRPT.Titles[0].Number_of_Chapters, Expected->Chapters_of_Title_1);
    EXPECT_EQ(Manager.Start_Sector_of_VMGM_PGCI_UT != 0, Expected->Video_Manager_Menu);
    EXPECT_EQ(First.Start_Sector_of_VTSM_PGCI_UT == 0 ? 0 : First.VTSM_PGCI_UT.Language_Units.size(),
              Expected->Menu_Languages_of_Set_1);
    EXPECT_EQ(First.Title_Set_Attributes.Number_of_Audio_Streams, Expected->Audio_Streams_of_Set_1);
    EXPECT_EQ(First.Title_Set_Attributes.Number_of_Subpicture_Streams, Expected->Subpicture_Streams_of_Set_1);

    bool Pre = false, Post = false, Cell = false, Whole_Sectors = false;
    CountCommands(Manager.First_Play_PGC, Pre, Post, Cell);
    CountCommands(Manager.VMGM_PGCI_UT, Pre, Post, Cell);
    for (int Set : Sets) {
        char Name[16];
        std::snprintf(Name, sizeof Name, "VTS_%02d_0.IFO", Set);
        const VTS Title_Set = LoadedFrom<VTS>(FindIgnoringCase(Folder, Name));
        for (const PGC& Chain : Title_Set.PGCIT.PGCs) CountCommands(Chain, Pre, Post, Cell);
        CountCommands(Title_Set.VTSM_PGCI_UT, Pre, Post, Cell);
        Whole_Sectors = Whole_Sectors || HasTableFillingWholeSectors(Title_Set);
    }
    EXPECT_EQ(Pre && Post && Cell, Expected->Pre_Post_And_Cell_Commands);
    EXPECT_EQ(Whole_Sectors, Expected->Table_Filling_Whole_Sectors);
}

TEST_P(GeneratedDisc, EveryInformationFileIsIdentifiedAndLoadsWithEveryTableConsistent) {
    for (const InformationFile& File : Files) {
        SCOPED_TRACE(File.Path.filename().string());
        const auto Bytes = ReadWholeFile(File.Path);
        MemoryStream Stream(Bytes);
        EXPECT_EQ(IdentifyType(Stream), File.Title_Set == 0 ? Ifo_Type_VMG : Ifo_Type_VTS);
        WithRecordOf(File, [&](auto& Record) {
            ASSERT_NO_THROW(LoadRecord(Bytes, Record));
            EXPECT_EQ(FalseFlags(Record), std::vector<std::string>{}) << "tables whose Last_Byte disagrees: "
                                                                      << Joined(FalseFlags(Record));
            EXPECT_EQ(Bytes.size() % 2048, 0U);
            EXPECT_EQ(IfoLastSector(Record) + 1U, Bytes.size() / 2048);
            if (File.Backup) {
                const fs::path Ifo = FindIgnoringCase(Folder, File.Path.stem().string() + ".IFO");
                ASSERT_FALSE(Ifo.empty()) << "a backup without its IFO";
                EXPECT_TRUE(Bytes == ReadWholeFile(Ifo)) << "the backup differs from " << Ifo.filename();
            }
        });
    }
}

TEST_P(GeneratedDisc, LoadedRecordsAgreeWithLibdvdread) {
    for (int Set : VideoManagerAndTitleSets(Folder)) {
        SCOPED_TRACE(NameOfSet(Set));
        const DvdreadResult Oracle = ParseWithDvdread(Folder, Set);
        ASSERT_TRUE(Oracle.Opened) << "libdvdread could not open it:\n" << Joined(Oracle.Messages);
        ASSERT_TRUE(Oracle.Content.contains("Identifier")) << "libdvdread parsed no header";
        const auto File = std::find_if(Files.begin(), Files.end(),
                                       [&](const InformationFile& F) { return F.Title_Set == Set && !F.Backup; });
        ASSERT_NE(File, Files.end());
        WithRecordOf(*File, [&](auto& Record) {
            LoadRecord(ReadWholeFile(File->Path), Record);
            const auto Differences = CompareFacts(Oracle.Content, FactsOfRecord(Record), "libdvdread", "Quoril");
            EXPECT_TRUE(Differences.empty()) << DescribeDifferences(Differences);
        });
    }
}

TEST_P(GeneratedDisc, RewrittenCopyParsesInLibdvdreadLikeTheOriginal) {
    const ScratchFolder Copy("rewritten-" + GetParam());
    WriteRewrittenCopy(Folder, Copy.Path() / "VIDEO_TS");
    for (int Set : VideoManagerAndTitleSets(Folder)) {
        SCOPED_TRACE(NameOfSet(Set));
        const DvdreadResult Original = ParseWithDvdread(Folder, Set);
        const DvdreadResult Rewritten = ParseWithDvdread(Copy.Path() / "VIDEO_TS", Set);
        ASSERT_TRUE(Original.Opened) << Joined(Original.Messages);
        ASSERT_TRUE(Rewritten.Opened) << "libdvdread could not open the rewritten file:\n"
                                      << Joined(Rewritten.Messages);
        const auto Differences =
            CompareFacts(Original.Content, Rewritten.Content, "original", "rewritten", IsRecomputedSectorField);
        EXPECT_TRUE(Differences.empty()) << DescribeDifferences(Differences);
        EXPECT_EQ(Rewritten.Messages, Original.Messages) << "libdvdread complains differently about the rewrite";
    }
}

TEST_P(GeneratedDisc, RewritingReproducesEveryFileByteForByte) {
    for (const InformationFile& File : Files) {
        SCOPED_TRACE(File.Path.filename().string());
        const auto Bytes = ReadWholeFile(File.Path);
        WithRecordOf(File, [&](auto& Record) {
            LoadRecord(Bytes, Record);
            const auto Rewritten = MakeBytes(Record);
            EXPECT_TRUE(Rewritten == Bytes) << DescribeByteDifferences(Record, Bytes, Rewritten);
        });
    }
}

TEST_P(GeneratedDisc, LoadAndMakeAreIdempotentOnTheLibrarysOwnOutput) {
    for (const InformationFile& File : Files) {
        if (File.Backup) continue;
        SCOPED_TRACE(File.Path.filename().string());
        WithRecordOf(File, [&](auto& Original) {
            LoadRecord(ReadWholeFile(File.Path), Original);
            const auto First = MakeBytes(Original);
            auto Reloaded = Original;
            LoadRecord(First, Reloaded);
            EXPECT_EQ(FalseFlags(Reloaded), std::vector<std::string>{});
            const auto Before = Reloaded;
            const auto Second = MakeBytes(Reloaded);
            EXPECT_TRUE(Reloaded == Before) << "writing changed the caller's record";
            EXPECT_TRUE(Second == First) << DescribeByteDifferences(Reloaded, First, Second);
            auto Again = Reloaded;
            LoadRecord(Second, Again);
            EXPECT_TRUE(Again == Reloaded) << "reloading the second writing gave a different record";
        });
    }
}

// dvdauthor gives a video manager at least 32 sectors on the disc: when its
// IFO, menu VOB and BUP take fewer, it stores 31 as the last sector and starts
// the first title set at sector 32, the rest being padding. The recomputation
// counts the files alone, so on such a disc it gives less (5 for an IFO of 3
// sectors without a menu VOB) than dvdauthor stored.
void ExpectStoredLastSector(const fs::path& Where, int, const VMG& Record) {
    const std::uint32_t Recomputed = RecomputedLastSector(Where, 0, Record.Last_Sector_of_VMGI + 1);
    EXPECT_EQ(std::max<std::uint32_t>(Recomputed, 31), Record.Last_Sector_of_VMG) << "recomputed " << Recomputed;
    for (const TT_SRP& Title : Record.VMG_TT_SRPT.Titles) {
        if (Title.VTS_Number == 1) {
            EXPECT_EQ(Title.Start_Sector_of_VTS, Record.Last_Sector_of_VMG + 1)
                << "the first title set does not follow the video manager";
        }
    }
}

void ExpectStoredLastSector(const fs::path& Where, int Title_Set, const VTS& Record) {
    EXPECT_EQ(RecomputedLastSector(Where, Title_Set, Record.Last_Sector_of_VTSI + 1), Record.Last_Sector_of_VTS);
}

TEST_P(GeneratedDisc, RecomputedLastSectorIsTheOneDvdauthorStored) {
    const ScratchFolder Copy("last-sector-" + GetParam());
    WriteRewrittenCopy(Folder, Copy.Path());
    for (const fs::path& Where : {Folder, Copy.Path()}) {
        for (const InformationFile& File : InformationFilesIn(Where)) {
            if (File.Backup) continue;
            SCOPED_TRACE((Where == Folder ? "original " : "rewritten ") + File.Path.filename().string());
            WithRecordOf(File, [&](auto& Record) {
                LoadRecord(ReadWholeFile(File.Path), Record);
                ExpectStoredLastSector(Where, File.Title_Set, Record);
            });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, GeneratedDisc, ::testing::ValuesIn(GeneratedDiscNames()),
                         [](const ::testing::TestParamInfo<std::string>& Info) { return Info.param; });

}  // namespace
