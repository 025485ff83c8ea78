// Damaged and hostile information files: every truncation of a file, and
// every single-byte change to 0x00, 0xFF and the byte + 1 in its header and
// at the start of each of its tables. Each must load or be refused with
// std::range_error, never anything else; each record that loads must write
// back (or be refused by the writer with std::invalid_argument, leaving the
// stream empty) to a file that loads to the same record. Run under the
// sanitizers, this also shows that no such input reads or writes out of bounds.
//
// The subjects are files written by the library from records built in code
// and, when QUORIL_TEST_DISCS names a folder, every IFO and BUP in it (the
// generated test discs).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "MemoryStream.h"
#include "Quoril.h"
#include "Routines_Common.h"
#include "support/Normalize.h"
#include "VTSBuilders.h"
#include "VmgBuilders.h"

namespace {

struct Subject {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
    bool Is_VMG;
};

template <class Record, class Make>
std::vector<std::uint8_t> Written(const Record& Source, Make MakeIfo)
{
    MemoryStream Out;
    MakeIfo(Out, Source);
    return Out.Bytes();
}

std::vector<Subject> Subjects()
{
    std::vector<Subject> All;
    All.push_back({"rich_title_set", Written(vts_fixture::MakeRichVTS(), MakeIfoVTS), false});
    All.push_back({"rich_video_manager", Written(vmg_test::RichVMG(), MakeIfoVMG), true});
    if (const char* Discs = std::getenv("QUORIL_TEST_DISCS"); Discs != nullptr && std::filesystem::is_directory(Discs)) {
        std::vector<std::filesystem::path> Files;
        for (const auto& Entry : std::filesystem::recursive_directory_iterator(Discs)) {
            std::string Extension = Entry.path().extension().string();
            std::transform(Extension.begin(), Extension.end(), Extension.begin(), ::toupper);
            if (Entry.is_regular_file() && (Extension == ".IFO" || Extension == ".BUP")) Files.push_back(Entry.path());
        }
        std::sort(Files.begin(), Files.end());
        for (const auto& Path : Files) {
            MemoryStream File;
            File.LoadFromFile(Path);
            const bool Is_VMG = IdentifyType(File) == Ifo_Type_VMG;
            All.push_back({std::filesystem::relative(Path, Discs).string(), File.Bytes(), Is_VMG});
        }
    }
    return All;
}

// What may become of one input. Returns a description of a fault, or "".
template <class Record, class Load, class Make>
std::string Judge(const std::vector<std::uint8_t>& Input, Load LoadIfo, Make MakeIfo)
{
    Record Loaded;
    try {
        MemoryStream In(Input);
        LoadIfo(In, Loaded);
    } catch (const std::range_error&) {
        return "";
    } catch (const std::exception& Error) {
        return std::string("the loader raised ") + typeid(Error).name() + ": " + Error.what();
    }
    MemoryStream Out;
    try {
        MakeIfo(Out, Loaded);
    } catch (const std::invalid_argument&) {
        return Out.Size() == 0 ? "" : "a refused record left bytes in the stream";
    }
    Record Reloaded;
    try {
        MemoryStream Again(Out.Bytes());
        LoadIfo(Again, Reloaded);
    } catch (const std::exception& Error) {
        return std::string("our own output does not load: ") + Error.what();
    }
    if (!(quoril_test::Normalized(Reloaded) == quoril_test::Normalized(Loaded)))
        return "the record read back differs from the record written";
    return "";
}

std::string JudgeAs(const Subject& S, const std::vector<std::uint8_t>& Input)
{
    return S.Is_VMG ? Judge<VMG>(Input, LoadIfoVMG, MakeIfoVMG) : Judge<VTS>(Input, LoadIfoVTS, MakeIfoVTS);
}

// The header, and the first 32 bytes of every table the header names.
std::vector<std::size_t> PositionsToMutate(const Subject& S)
{
    std::vector<std::size_t> Positions;
    const std::size_t Header = S.Is_VMG ? 1024 : 2048;
    for (std::size_t I = 0; I < std::min(Header, S.Bytes.size()); ++I) Positions.push_back(I);
    const std::size_t First = 0xC4, Last = S.Is_VMG ? 0xDC : 0xE4;   // the tables' start sector fields
    for (std::size_t Field = First; Field <= Last && Field + 4 <= S.Bytes.size(); Field += 4) {
        const std::size_t Sector = std::size_t{S.Bytes[Field]} << 24 | std::size_t{S.Bytes[Field + 1]} << 16 |
                                   std::size_t{S.Bytes[Field + 2]} << 8 | S.Bytes[Field + 3];
        for (std::size_t I = Sector * 2048; Sector != 0 && I < Sector * 2048 + 32 && I < S.Bytes.size(); ++I)
            Positions.push_back(I);
    }
    std::sort(Positions.begin(), Positions.end());
    Positions.erase(std::unique(Positions.begin(), Positions.end()), Positions.end());
    return Positions;
}

class HostileInput : public ::testing::TestWithParam<Subject> {};

TEST_P(HostileInput, EveryTruncationLoadsOrIsRefusedCleanly)
{
    const Subject& S = GetParam();
    ASSERT_EQ(JudgeAs(S, S.Bytes), "") << "the untouched file";
    for (std::size_t Cut = 0; Cut < S.Bytes.size(); ++Cut) {
        const std::vector<std::uint8_t> Prefix(S.Bytes.begin(), S.Bytes.begin() + static_cast<std::ptrdiff_t>(Cut));
        const std::string Fault = JudgeAs(S, Prefix);
        ASSERT_EQ(Fault, "") << S.Name << " cut to " << Cut << " bytes";
    }
}

TEST_P(HostileInput, EverySingleByteChangeLoadsOrIsRefusedCleanly)
{
    const Subject& S = GetParam();
    std::vector<std::uint8_t> Input = S.Bytes;
    for (std::size_t Position : PositionsToMutate(S)) {
        const std::uint8_t Original = Input[Position];
        for (std::uint8_t Value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(Original + 1)}) {
            Input[Position] = Value;
            const std::string Fault = JudgeAs(S, Input);
            ASSERT_EQ(Fault, "") << S.Name << " with byte " << Position << " set to " << int{Value};
        }
        Input[Position] = Original;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInput, ::testing::ValuesIn(Subjects()),
                         [](const ::testing::TestParamInfo<Subject>& Info) {
                             std::string Name = Info.param.Name;
                             for (char& C : Name)
                                 if (!std::isalnum(static_cast<unsigned char>(C))) C = '_';
                             return Name;
                         });

// Inputs that once asked a loader for far more memory than the file could
// describe, built byte by byte.
std::vector<std::uint8_t> TitleSetWithTable(std::size_t Start_Sector_Field, std::vector<std::uint8_t> Table)
{
    std::vector<std::uint8_t> File(2048, 0);
    std::memcpy(File.data(), "DVDVIDEO-VTS", 12);
    File[Start_Sector_Field + 3] = 1;   // the table at sector 1
    File.resize(2048 + Table.size(), 0);
    std::copy(Table.begin(), Table.end(), File.begin() + 2048);
    File.resize(std::max<std::size_t>(File.size(), 4096), 0);
    return File;
}

TEST(HostileCounts, AreRefusedWithTheTableNamed)
{
    struct Case {
        const char* Name;
        std::size_t Field;                 // start sector field in the title set header
        std::vector<std::uint8_t> Table;   // the table's first bytes
        const char* Named;
    };
    const std::vector<Case> Cases = {
        {"cell address table ending at 0xFFFFFFFF", 0xE0, {0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "VTS_C_ADT"},
        {"VOBU map with Last_Byte 0", 0xE4, {0, 0, 0, 0}, "VTS_VOBU_ADMAP"},
        {"VOBU map with Last_Byte 2", 0xDC, {0, 0, 0, 2}, "VTSM_VOBU_ADMAP"},
        {"65535 title chains", 0xCC, {0xFF, 0xFF, 0, 0, 0, 0, 0, 7}, "PGCIT"},
        {"65535 menu language units", 0xD0, {0xFF, 0xFF, 0, 0, 0, 0, 0, 7}, "VTSM_PGCI_UT"},
        {"decreasing title offsets", 0xC8, {0, 2, 0, 0, 0, 0, 0, 23, 0, 0, 0, 20, 0, 0, 0, 16}, "PTT_SRPT"},
    };
    for (const Case& C : Cases) {
        MemoryStream In(TitleSetWithTable(C.Field, C.Table));
        VTS Record;
        try {
            LoadIfoVTS(In, Record);
            ADD_FAILURE() << C.Name << ": loaded";
        } catch (const std::range_error& Error) {
            EXPECT_NE(std::string(Error.what()).find(C.Named), std::string::npos) << C.Name << ": " << Error.what();
        }
    }
}

// Found by fuzzing: a video manager cut inside the header of a text data
// unit read its Text length from how far the stream had moved, so the unit
// was loaded with a Last_Byte that did not cover its own header, and the
// file written from it could not be read back.
TEST(HostileCuts, InsideATextUnitHeaderLoadOrAreRefusedCleanly)
{
    // The text data is the last table, so that the cut leaves the others whole.
    VMG Record = vmg_test::RichVMG();
    Record.Start_Sector_of_VMGM_C_ADT = Record.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    const std::vector<std::uint8_t> File = Written(Record, MakeIfoVMG);
    const std::size_t Table = 2048 * std::size_t{vmg_test::Get32(File, 0xD4)};
    const std::size_t Unit = Table + vmg_test::Get32(File, Table + 20 + 4);
    const Subject S{"rich_video_manager", File, true};
    for (std::size_t Cut = Unit; Cut <= Unit + 208; ++Cut) {
        const std::vector<std::uint8_t> Prefix(File.begin(), File.begin() + static_cast<std::ptrdiff_t>(Cut));
        EXPECT_EQ(JudgeAs(S, Prefix), "") << "cut at " << Cut;
    }
}

// 65535 time maps whose offsets all point at one map of 65535 entries: each
// map alone fits into the file, but together they would ask for 16 GiB.
TEST(HostileCounts, TimeMapsSharingOneMapAreRefused)
{
    const std::uint32_t Shared = 8 + 4 * 65535;
    std::vector<std::uint8_t> Table = {0xFF, 0xFF, 0, 0, 0, 0, 0, 7};
    for (int I = 0; I < 65535; ++I)
        Table.insert(Table.end(), {std::uint8_t(Shared >> 24), std::uint8_t(Shared >> 16), std::uint8_t(Shared >> 8),
                                   std::uint8_t(Shared)});
    Table.insert(Table.end(), {1, 0, 0xFF, 0xFF});
    Table.resize(Table.size() + 4 * 65535, 0);
    MemoryStream In(TitleSetWithTable(0xD4, Table));
    VTS Record;
    try {
        LoadIfoVTS(In, Record);
        ADD_FAILURE() << "loaded";
    } catch (const std::range_error& Error) {
        EXPECT_NE(std::string(Error.what()).find("TMAPT"), std::string::npos) << Error.what();
    }
}

}  // namespace
