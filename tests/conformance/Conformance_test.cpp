// Conformance on real discs: the DVD-Video folders that scripts/make-test-dvd
// builds with ffmpeg, dvdauthor and spumux are loaded, compared with what
// libdvdread parses from the same files, rewritten, and parsed again.

#include <gtest/gtest.h>

#include <algorithm>
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
std::uint32_t WholeLastSector(const VMG& R) { return R.Last_Sector_of_VMG; }
std::uint32_t WholeLastSector(const VTS& R) { return R.Last_Sector_of_VTS; }

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

TEST_P(GeneratedDisc, RecomputedLastSectorIsTheOneDvdauthorStored) {
    const ScratchFolder Copy("last-sector-" + GetParam());
    WriteRewrittenCopy(Folder, Copy.Path());
    for (const fs::path& Where : {Folder, Copy.Path()}) {
        for (const InformationFile& File : InformationFilesIn(Where)) {
            if (File.Backup) continue;
            SCOPED_TRACE((Where == Folder ? "original " : "rewritten ") + File.Path.filename().string());
            WithRecordOf(File, [&](auto& Record) {
                LoadRecord(ReadWholeFile(File.Path), Record);
                EXPECT_EQ(RecomputedLastSector(Where, File.Title_Set, IfoLastSector(Record) + 1),
                          WholeLastSector(Record));
            });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, GeneratedDisc, ::testing::ValuesIn(GeneratedDiscNames()),
                         [](const ::testing::TestParamInfo<std::string>& Info) { return Info.param; });

}  // namespace
