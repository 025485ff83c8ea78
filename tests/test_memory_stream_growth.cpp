// MemoryStream grows its buffer ahead of the content and keeps the room
// beyond the end zero: these tests drive it through long mixed sequences of
// seeks, writes and reads, with Bytes() taken seldom, and compare every step
// with a plain byte vector that follows the stream's rules.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "MemoryStream.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

// The stream's rules on a vector that always holds exactly the content.
struct Model {
    Bytes Content;
    std::int64_t Pos = 0;

    void Write(const std::uint8_t* Data, std::int64_t Count)
    {
        if (Count <= 0) return;
        const auto End = static_cast<std::size_t>(Pos + Count);
        if (End > Content.size()) Content.resize(End);
        std::copy(Data, Data + Count, Content.begin() + Pos);
        Pos += Count;
    }

    Bytes Read(std::int64_t Count)
    {
        const std::int64_t Available = static_cast<std::int64_t>(Content.size()) - Pos;
        if (Count <= 0 || Available <= 0) return {};
        const std::int64_t Delivered = std::min(Count, Available);
        Bytes Out(Content.begin() + Pos, Content.begin() + Pos + Delivered);
        Pos += Delivered;
        return Out;
    }
};

struct Scenario {
    const char* Name;
    unsigned Seed;
    int Steps;
    int BytesEvery;   // take Bytes() every so many steps; 0: only at the end
    Bytes Start;      // the stream's content at construction
};

void PrintTo(const Scenario& S, std::ostream* Out) { *Out << S.Name; }

class MemoryStreamGrowth : public ::testing::TestWithParam<Scenario> {};

// Mostly appends of 1, 2 and 4 bytes, as the writers do, with overwrites,
// seeks past the end, odd lengths, reads across the end, and zero or negative
// counts in between.
TEST_P(MemoryStreamGrowth, FollowsThePlainVectorAtEveryStep)
{
    const Scenario& S = GetParam();
    std::mt19937 Random(S.Seed);
    MemoryStream Stream(S.Start);
    Model Expected{S.Start, 0};
    const int Lengths[] = {1, 2, 4, 4, 4, 2, 1, 3, 8, 300, 0, -2};

    for (int Step = 0; Step < S.Steps; ++Step) {
        const std::uint32_t Choice = Random() % 100;
        const std::int64_t Size = Expected.Content.size();
        if (Choice < 8) {   // somewhere inside, at the end, or beyond it
            const std::int64_t To = static_cast<std::int64_t>(Random() % static_cast<std::uint32_t>(Size + 40));
            Stream.Seek(To);
            Expected.Pos = To;
        } else if (Choice < 15) {
            const std::int64_t Count = Lengths[Random() % std::size(Lengths)];
            std::uint8_t Buffer[300];
            std::fill(std::begin(Buffer), std::end(Buffer), 0xA5);
            const Bytes Want = Expected.Read(Count);
            ASSERT_EQ(Stream.Read(Buffer, Count), static_cast<std::int64_t>(Want.size())) << "step " << Step;
            ASSERT_TRUE(std::equal(Want.begin(), Want.end(), Buffer)) << "step " << Step;
        } else {
            const std::int64_t Count = Lengths[Random() % std::size(Lengths)];
            std::uint8_t Data[300];
            for (std::uint8_t& Byte : Data) Byte = static_cast<std::uint8_t>(1 + Random() % 255);   // never 0
            Expected.Write(Data, Count);
            ASSERT_EQ(Stream.Write(Data, Count), std::max<std::int64_t>(Count, 0)) << "step " << Step;
        }
        ASSERT_EQ(Stream.Size(), static_cast<std::int64_t>(Expected.Content.size())) << "step " << Step;
        ASSERT_EQ(Stream.Position(), Expected.Pos) << "step " << Step;
        if (S.BytesEvery != 0 && Step % S.BytesEvery == 0) {
            ASSERT_EQ(Stream.Bytes(), Expected.Content) << "step " << Step;
        }
    }
    EXPECT_EQ(Stream.Bytes(), Expected.Content);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, MemoryStreamGrowth,
    ::testing::Values(Scenario{"EmptyStreamBytesOnlyAtTheEnd", 1, 20000, 0, {}},
                      Scenario{"EmptyStreamBytesTakenOften", 2, 20000, 97, {}},
                      Scenario{"LoadedContentBytesOnlyAtTheEnd", 3, 20000, 0, Bytes(5000, 7)},
                      Scenario{"LoadedContentBytesTakenOften", 4, 20000, 13, Bytes(33, 9)}),
    [](const ::testing::TestParamInfo<Scenario>& Info) { return std::string(Info.param.Name); });

// The spare room never reaches a file, a copy, or a read.
TEST(MemoryStreamGrowthEdges, SpareRoomStaysOutOfSavesCopiesAndReads)
{
    MemoryStream Stream;
    const std::uint8_t Number[4] = {0x12, 0x34, 0x56, 0x78};
    for (int I = 0; I < 1000; ++I) Stream.Write(Number, 4);   // grown ahead by doubling
    Stream.Write(Number, 3);
    ASSERT_EQ(Stream.Size(), 4003);

    MemoryStream Copy = Stream;
    EXPECT_EQ(Copy.Size(), 4003);
    Copy.Seek(4000);
    std::uint8_t Tail[8] = {};
    EXPECT_EQ(Copy.Read(Tail, 8), 3);

    const std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("quoril-growth-" + std::to_string(::getpid()) + ".ifo");
    Stream.SaveToFile(Path);
    EXPECT_EQ(std::filesystem::file_size(Path), 4003u);
    std::ifstream File(Path, std::ios::binary);
    const Bytes Saved((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
    std::filesystem::remove(Path);
    EXPECT_EQ(Saved, Stream.Bytes());
}

// A seek past the end, then a short write into the room grown ahead: the gap
// reads as zeros, also when Bytes() trimmed the room off in between.
TEST(MemoryStreamGrowthEdges, GapInsideTheGrownRoomReadsAsZeros)
{
    MemoryStream Stream;
    const std::uint8_t Ones[4] = {1, 1, 1, 1};
    for (int I = 0; I < 64; ++I) Stream.Write(Ones, 4);
    Stream.Seek(200);   // back inside the content
    Stream.Bytes();     // trimmed; the capacity stays
    Stream.Seek(300);   // past the end, inside the old room
    Stream.Write(Ones, 2);
    ASSERT_EQ(Stream.Size(), 302);
    Bytes Expected(256, 1);
    Expected.resize(300, 0);
    Expected.push_back(1);
    Expected.push_back(1);
    EXPECT_EQ(Stream.Bytes(), Expected);
}

}  // namespace
