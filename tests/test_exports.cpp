// The shared library as a program meets it: its dynamic symbol table, and
// IdentifyType bound by name at run time. This suite does not link the
// library's objects, so the copy it tests is the one that dlopen loads.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MemoryStream.h"
#include "library/Quoril.h"

namespace {

// Runs Command and returns what it printed; fails the test when it fails.
std::string Output(const std::string& Command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> Pipe(::popen(Command.c_str(), "r"), ::pclose);
    if (!Pipe) {
        ADD_FAILURE() << "cannot run " << Command;
        return {};
    }
    std::string Text;
    char Chunk[4096];
    while (std::size_t Got = std::fread(Chunk, 1, sizeof Chunk, Pipe.get())) Text.append(Chunk, Got);
    EXPECT_EQ(::pclose(Pipe.release()), 0) << Command;
    return Text;
}

TEST(Exports, DynamicSymbolsAreTheFiveFunctionsAlone)
{
    const std::string Table = Output(std::string("'") + QUORIL_NM + "' -D --defined-only '" + QUORIL_LIBRARY + "'");
    std::set<std::string> Names;
    std::istringstream Lines(Table);
    std::string Line;
    while (std::getline(Lines, Line)) {
        // "address type name", the name possibly followed by "@version"
        std::istringstream Fields(Line);
        std::string Address, Type, Name;
        if (Fields >> Address >> Type >> Name) Names.insert(Name.substr(0, Name.find('@')));
    }
    EXPECT_EQ(Names, (std::set<std::string>{"IdentifyType", "LoadIfoVMG", "LoadIfoVTS", "MakeIfoVMG", "MakeIfoVTS"}))
        << Table;
}

using IdentifyTypeFunction = std::uint8_t (*)(IfoStream&);

class BoundLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Handle = ::dlopen(QUORIL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(Handle, nullptr) << ::dlerror();
        Identify = reinterpret_cast<IdentifyTypeFunction>(::dlsym(Handle, "IdentifyType"));
        ASSERT_NE(Identify, nullptr) << ::dlerror();
    }
    static void TearDownTestSuite()
    {
        if (Handle) ::dlclose(Handle);
        Handle = nullptr;
        Identify = nullptr;
    }
    void SetUp() override { ASSERT_NE(Identify, nullptr); }

    static inline void* Handle = nullptr;
    static inline IdentifyTypeFunction Identify = nullptr;
};

std::vector<std::uint8_t> Text(const std::string& S) { return {S.begin(), S.end()}; }

TEST_F(BoundLibrary, InternalNamesAreNotBound)
{
    for (const char* Name : {"_ZN6quoril8ReadWordER9IfoStreamRt", "ReadWord", "PatchLastByte"})
        EXPECT_EQ(::dlsym(Handle, Name), nullptr) << Name;
}

TEST_F(BoundLibrary, IdentifyTypeReadsTwelveBytesAtThePosition)
{
    struct Case {
        const char* What;
        std::string Content;
        std::int64_t Start;
        std::uint8_t Type;
        std::int64_t End;   // position afterwards
    };
    const std::string VMG = "DVDVIDEO-VMG", VTS = "DVDVIDEO-VTS";
    const Case Cases[] = {
        {"empty", "", 0, Ifo_Type_Unknown, 0},
        {"identifier alone", VMG, 0, Ifo_Type_Unknown, 0},
        {"one byte more", VMG + '\0', 0, Ifo_Type_VMG, 12},
        {"title set", VTS + std::string(100, '\0'), 0, Ifo_Type_VTS, 12},
        {"video manager", VMG + std::string(2036, 'x'), 0, Ifo_Type_VMG, 12},
        {"lower case", "dvdvideo-vts" + std::string(4, '\0'), 0, Ifo_Type_Unknown, 12},
        {"one letter off", "DVDVIDEO-VTT" + std::string(4, '\0'), 0, Ifo_Type_Unknown, 12},
        {"bytes 12 to 23", VMG + VTS + "!", 12, Ifo_Type_VTS, 24},
        {"not the file's identifier", VTS + "nothing here" + "!", 12, Ifo_Type_Unknown, 24},
        // Fewer than 12 bytes after the position: the rest counts as zero.
        {"11 bytes left", "x" + VTS, 2, Ifo_Type_Unknown, 13},
        {"1 byte left", VTS + "!", 12, Ifo_Type_Unknown, 13},
        {"past the end", VTS + "!", 40, Ifo_Type_Unknown, 40},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        MemoryStream Stream(Text(C.Content));
        Stream.Seek(C.Start);
        EXPECT_EQ(Identify(Stream), C.Type);
        EXPECT_EQ(Stream.Position(), C.End);
        EXPECT_EQ(Stream.Size(), static_cast<std::int64_t>(C.Content.size()));
    }
}

// A stream that reports a large size but delivers nothing. Identifying a
// title set just before leaves its identifier in the stack where the next
// call's buffer lies; what was not read must not be compared.
class EmptyButLargeStream : public IfoStream {
public:
    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t P) override { return Pos = P; }
    std::int64_t Position() const override { return Pos; }
    std::int64_t Size() const override { return 4096; }

private:
    std::int64_t Pos = 0;
};

TEST_F(BoundLibrary, IdentifyTypeOfAStreamThatDeliversNothing)
{
    MemoryStream Title_Set(Text("DVDVIDEO-VTS!"));
    EmptyButLargeStream Empty;
    const std::uint8_t First = Identify(Title_Set);
    const std::uint8_t Second = Identify(Empty);
    EXPECT_EQ(First, Ifo_Type_VTS);
    EXPECT_EQ(Second, Ifo_Type_Unknown);
}

}  // namespace
