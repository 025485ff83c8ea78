// MemoryStream: reads and writes past the end, and whole-file load and save.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "MemoryStream.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// ---------------------------------------------------------------------------
// Reading and writing in memory

TEST(MemoryStream, ReadPastTheEndDeliversOnlyWhatIsThere)
{
    MemoryStream Stream(Bytes{1, 2, 3, 4, 5});
    Stream.Seek(3);
    std::uint8_t Buffer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(Stream.Read(Buffer, 4), 2);
    EXPECT_EQ(Stream.Position(), 5);
    EXPECT_EQ(Buffer[0], 4);
    EXPECT_EQ(Buffer[1], 5);
    EXPECT_EQ(Buffer[2], 0xAA);   // not delivered, not touched

    EXPECT_EQ(Stream.Read(Buffer, 4), 0);   // at the end
    EXPECT_EQ(Stream.Position(), 5);
}

TEST(MemoryStream, SeekPastTheEndMovesWithoutGrowing)
{
    MemoryStream Stream(Bytes{1, 2, 3});
    EXPECT_EQ(Stream.Seek(10), 10);
    EXPECT_EQ(Stream.Position(), 10);
    EXPECT_EQ(Stream.Size(), 3);
    std::uint8_t Byte = 0;
    EXPECT_EQ(Stream.Read(&Byte, 1), 0);
    EXPECT_EQ(Stream.Position(), 10);
}

TEST(MemoryStream, WritePastTheEndGrowsWithZeroGap)
{
    MemoryStream Stream(Bytes{1, 2, 3});
    Stream.Seek(6);
    const std::uint8_t Tail[2] = {0xEE, 0xFF};
    EXPECT_EQ(Stream.Write(Tail, 2), 2);
    EXPECT_EQ(Stream.Position(), 8);
    EXPECT_EQ(Stream.Bytes(), (Bytes{1, 2, 3, 0, 0, 0, 0xEE, 0xFF}));

    // Overwriting inside and across the end.
    Stream.Seek(7);
    const std::uint8_t More[3] = {7, 8, 9};
    Stream.Write(More, 3);
    EXPECT_EQ(Stream.Bytes(), (Bytes{1, 2, 3, 0, 0, 0, 0xEE, 7, 8, 9}));
    EXPECT_EQ(Stream.Size(), 10);
}

// ---------------------------------------------------------------------------
// Files

class MemoryStreamFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string Template = (fs::temp_directory_path() / "quoril-stream-XXXXXX").string();
        ASSERT_NE(::mkdtemp(Template.data()), nullptr);
        Folder = Template;
    }
    void TearDown() override
    {
        std::error_code Ignored;
        fs::remove_all(Folder, Ignored);
    }

    static void Put(const fs::path& Path, const Bytes& Content)
    {
        std::ofstream Out(Path, std::ios::binary);
        Out.write(reinterpret_cast<const char*>(Content.data()), static_cast<std::streamsize>(Content.size()));
    }
    static Bytes Get(const fs::path& Path)
    {
        std::ifstream In(Path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }
    // The names in the folder: a save must leave no temporary file behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> Result;
        for (const fs::directory_entry& Entry : fs::directory_iterator(Folder))
            Result.push_back(Entry.path().filename().string());
        std::sort(Result.begin(), Result.end());
        return Result;
    }
    static mode_t Mode(const fs::path& Path)
    {
        struct stat Info {};
        EXPECT_EQ(::stat(Path.c_str(), &Info), 0);
        return Info.st_mode & 07777;
    }

    fs::path Folder;
};

// Expects Action to throw std::system_error whose message names Path.
template <class F>
void ExpectFailureNaming(F Action, const fs::path& Path)
{
    try {
        Action();
        ADD_FAILURE() << "no error for " << Path;
    } catch (const std::system_error& Error) {
        EXPECT_NE(std::string(Error.what()).find(Path.string()), std::string::npos) << Error.what();
    }
}

TEST_F(MemoryStreamFile, LoadReplacesContentAndRewinds)
{
    Put(Folder / "A.IFO", Bytes{9, 8, 7});
    MemoryStream Stream(Bytes{1, 2, 3, 4, 5});
    Stream.Seek(4);
    Stream.LoadFromFile(Folder / "A.IFO");
    EXPECT_EQ(Stream.Bytes(), (Bytes{9, 8, 7}));
    EXPECT_EQ(Stream.Position(), 0);
}

TEST_F(MemoryStreamFile, LoadOfAMissingFileOrAFolderThrowsNamingThePath)
{
    MemoryStream Stream(Bytes{1, 2});
    ExpectFailureNaming([&] { Stream.LoadFromFile(Folder / "missing.IFO"); }, Folder / "missing.IFO");
    ExpectFailureNaming([&] { Stream.LoadFromFile(Folder); }, Folder);
    EXPECT_EQ(Stream.Bytes(), (Bytes{1, 2}));   // a failed load keeps the content
}

TEST_F(MemoryStreamFile, SaveReplacesTheFileKeepingItsPermissions)
{
    const fs::path Target = Folder / "VTS_01_0.IFO";
    Put(Target, Bytes(5000, 0x55));   // longer than the new content
    ASSERT_EQ(::chmod(Target.c_str(), 0640), 0);

    MemoryStream Stream(Bytes{1, 2, 3});
    Stream.SaveToFile(Target);
    EXPECT_EQ(Get(Target), (Bytes{1, 2, 3}));
    EXPECT_EQ(Mode(Target), 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"VTS_01_0.IFO"});
}

TEST_F(MemoryStreamFile, SaveCreatesANewFileWithTheUsualPermissions)
{
    const mode_t Old = ::umask(022);
    MemoryStream Stream(Bytes{4, 5});
    Stream.SaveToFile(Folder / "new.IFO");
    ::umask(Old);
    EXPECT_EQ(Get(Folder / "new.IFO"), (Bytes{4, 5}));
    EXPECT_EQ(Mode(Folder / "new.IFO"), 0644u);
    EXPECT_EQ(Names(), std::vector<std::string>{"new.IFO"});
}

TEST_F(MemoryStreamFile, SaveThroughASymbolicLinkReplacesTheFileItPointsTo)
{
    Put(Folder / "real.IFO", Bytes{1});
    fs::create_symlink("real.IFO", Folder / "link.IFO");
    MemoryStream(Bytes{2, 3}).SaveToFile(Folder / "link.IFO");
    EXPECT_TRUE(fs::is_symlink(Folder / "link.IFO"));
    EXPECT_EQ(Get(Folder / "real.IFO"), (Bytes{2, 3}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.IFO", "real.IFO"}));
}

TEST_F(MemoryStreamFile, SaveIntoAMissingFolderThrowsNamingThePath)
{
    const fs::path Target = Folder / "no-such-folder" / "VIDEO_TS.IFO";
    ExpectFailureNaming([&] { MemoryStream(Bytes{1}).SaveToFile(Target); }, Target);
    EXPECT_FALSE(fs::exists(Target));
    EXPECT_EQ(Names(), std::vector<std::string>{});
}

TEST_F(MemoryStreamFile, SaveOverAFolderThrowsAndLeavesItAndNoTemporaryFile)
{
    const fs::path Target = Folder / "VIDEO_TS.IFO";
    fs::create_directory(Target);
    Put(Target / "inside", Bytes{7});
    ExpectFailureNaming([&] { MemoryStream(Bytes{1}).SaveToFile(Target); }, Target);
    EXPECT_TRUE(fs::is_directory(Target));
    EXPECT_EQ(Get(Target / "inside"), (Bytes{7}));
    EXPECT_EQ(Names(), std::vector<std::string>{"VIDEO_TS.IFO"});
}

// Limits the size of the files this process may write, for the lifetime of
// the object, so that a write fails part-way (EFBIG instead of SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &Old);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit Limit = Old;
        Limit.rlim_cur = Bytes;
        Active = ::setrlimit(RLIMIT_FSIZE, &Limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldHandler);
    }
    bool Active = false;

private:
    rlimit Old {};
    void (*OldHandler)(int) = SIG_DFL;
};

TEST_F(MemoryStreamFile, SaveThatFailsWhileWritingLeavesTheOldFileWhole)
{
    const fs::path Target = Folder / "VTS_01_0.IFO";
    const Bytes Old(3000, 0x11);
    Put(Target, Old);
    {
        FileSizeLimit Limit(4096);
        ASSERT_TRUE(Limit.Active);
        ExpectFailureNaming([&] { MemoryStream(Bytes(3 * 4096, 0x22)).SaveToFile(Target); }, Target);
    }
    EXPECT_EQ(Get(Target), Old);
    EXPECT_EQ(Names(), std::vector<std::string>{"VTS_01_0.IFO"});
}

}  // namespace
