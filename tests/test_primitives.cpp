// The stream primitives: big-endian conversion, positioning, filling,
// back-patching of a table's last-byte field, and reads at the end.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "MemoryStream.h"
#include "Routines_Common.h"

using namespace quoril;
using Bytes = std::vector<std::uint8_t>;

namespace {

TEST(Primitives, WordsAreBigEndian)
{
    MemoryStream In(Bytes{0x12, 0x34});
    std::uint16_t Value = 0;
    ReadWord(In, Value);
    EXPECT_EQ(Value, 0x1234);
    EXPECT_EQ(StreamPos(In), 2);

    MemoryStream Out;
    WriteWord(Out, 0x1234);
    EXPECT_EQ(Out.Bytes(), (Bytes{0x12, 0x34}));
    EXPECT_EQ(StreamPos(Out), 2);
}

TEST(Primitives, DWordsAreBigEndianAndRoundTrip)
{
    for (const Bytes& File : {Bytes{0x12, 0x34, 0x56, 0x78}, Bytes{0x80, 0x00, 0x00, 0x01}, Bytes{0xFF, 0xFE, 0x01, 0x00}}) {
        MemoryStream In(File);
        std::uint32_t Value = 0;
        ReadDWord(In, Value);
        EXPECT_EQ(Value, std::uint32_t{File[0]} << 24 | std::uint32_t{File[1]} << 16 | std::uint32_t{File[2]} << 8 | File[3]);
        EXPECT_EQ(StreamPos(In), 4);

        MemoryStream Out;
        WriteDWord(Out, Value);
        EXPECT_EQ(Out.Bytes(), File);
        EXPECT_EQ(StreamPos(Out), 4);
    }
}

TEST(Primitives, BytesPassUnchanged)
{
    MemoryStream Stream;
    WriteByte(Stream, 0xC3);
    const std::array<char, 4> Text{'D', 'V', 'D', '\0'};
    WriteBytes(Stream, Text);
    const std::array<std::uint8_t, 3> Raw{0x01, 0x80, 0xFF};
    WriteBytes(Stream, Raw);
    EXPECT_EQ(Stream.Bytes(), (Bytes{0xC3, 'D', 'V', 'D', 0, 0x01, 0x80, 0xFF}));

    SeekStream(Stream, 0);
    std::uint8_t Byte = 0;
    std::array<char, 4> TextBack{};
    std::array<std::uint8_t, 3> RawBack{};
    ReadByte(Stream, Byte);
    ReadBytes(Stream, TextBack);
    ReadBytes(Stream, RawBack);
    EXPECT_EQ(Byte, 0xC3);
    EXPECT_EQ(TextBack, Text);
    EXPECT_EQ(RawBack, Raw);
    EXPECT_EQ(StreamPos(Stream), 8);
}

TEST(Primitives, SeekAndPositionAreAbsolute)
{
    MemoryStream Stream(Bytes(10, 0));
    SeekStream(Stream, 7);
    EXPECT_EQ(StreamPos(Stream), 7);
    SeekStream(Stream, 100);   // past the end
    EXPECT_EQ(StreamPos(Stream), 100);
    EXPECT_EQ(Stream.Size(), 10);
    // The stream's position is taken as its low 32 bits.
    Stream.Seek((std::int64_t{1} << 32) + 0x10);
    EXPECT_EQ(StreamPos(Stream), 0x10);
}

TEST(Primitives, WriteFillWritesCountBytesAndNothingForZeroOrLess)
{
    for (std::int32_t Count : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        MemoryStream Stream(Bytes{1, 2, 3});
        SeekStream(Stream, 1);
        WriteFill(Stream, 0xAB, Count);
        EXPECT_EQ(StreamPos(Stream), 1) << Count;
        EXPECT_EQ(Stream.Bytes(), (Bytes{1, 2, 3})) << Count;
    }
    for (std::int32_t Count : {1, 2047, 2048, 5000}) {
        MemoryStream Stream(Bytes{1});
        SeekStream(Stream, 1);
        WriteFill(Stream, 0xAB, Count);
        EXPECT_EQ(StreamPos(Stream), 1 + Count);
        Bytes Expected(static_cast<std::size_t>(1 + Count), 0xAB);
        Expected[0] = 1;
        EXPECT_EQ(Stream.Bytes(), Expected) << Count;
    }
}

// A table of N bytes at Table_Start, its last-byte field at Field_Offset
// within it: PatchLastByte stores N - 1 there and touches nothing else.
TEST(Primitives, PatchLastByteStoresLengthMinusOneAndReturns)
{
    struct Case {
        std::int32_t Table_Start;
        std::int32_t Field_Offset;
        std::int32_t Length;
    };
    for (const Case& C : {Case{0, 0, 4}, Case{0, 0, 12}, Case{3, 0, 10}, Case{2048, 4, 2056}, Case{5, 4, 8}}) {
        SCOPED_TRACE(testing::Message() << "table at " << C.Table_Start << ", field at +" << C.Field_Offset
                                        << ", " << C.Length << " bytes");
        MemoryStream Stream;
        WriteFill(Stream, 0xEE, C.Table_Start);   // bytes before the table
        for (std::int32_t I = 0; I < C.Length; ++I) WriteByte(Stream, static_cast<std::uint8_t>(I + 1));
        const Bytes Before = Stream.Bytes();

        const std::int32_t Field = C.Table_Start + C.Field_Offset;
        PatchLastByte(Stream, C.Table_Start, Field);
        EXPECT_EQ(StreamPos(Stream), C.Table_Start + C.Length);
        ASSERT_EQ(Stream.Size(), static_cast<std::int64_t>(Before.size()));

        Bytes Expected = Before;
        const auto Value = static_cast<std::uint32_t>(C.Length - 1);
        for (int I = 0; I < 4; ++I) Expected[static_cast<std::size_t>(Field + I)] = static_cast<std::uint8_t>(Value >> (24 - 8 * I));
        EXPECT_EQ(Stream.Bytes(), Expected);
    }
}

// Bytes that the stream cannot deliver count as zero; the position moves by
// what was delivered.
TEST(Primitives, ReadsAtTheEndGiveZeroForMissingBytes)
{
    const Bytes File{0x12, 0x34, 0x56};
    struct Case {
        std::int32_t Start;
        int Width;            // 1, 2 or 4
        std::uint32_t Expected;
    };
    for (const Case& C : {Case{3, 1, 0}, Case{9, 1, 0}, Case{2, 2, 0x5600}, Case{3, 2, 0}, Case{0, 4, 0x12345600},
                          Case{1, 4, 0x34560000}, Case{2, 4, 0x56000000}, Case{3, 4, 0}, Case{50, 4, 0}}) {
        SCOPED_TRACE(testing::Message() << C.Width << " bytes at " << C.Start);
        MemoryStream Stream(File);
        SeekStream(Stream, C.Start);
        std::uint32_t Value = 0;
        if (C.Width == 1) {
            std::uint8_t Byte = 0xAA;
            ReadByte(Stream, Byte);
            Value = Byte;
        } else if (C.Width == 2) {
            std::uint16_t Word = 0xAAAA;
            ReadWord(Stream, Word);
            Value = Word;
        } else {
            Value = 0xAAAAAAAA;
            ReadDWord(Stream, Value);
        }
        EXPECT_EQ(Value, C.Expected);
        EXPECT_EQ(StreamPos(Stream), std::max(C.Start, std::min<std::int32_t>(C.Start + C.Width, 3)));
    }

    MemoryStream Stream(File);
    SeekStream(Stream, 1);
    std::array<std::uint8_t, 5> Area;
    Area.fill(0xAA);
    ReadBytes(Stream, Area);
    EXPECT_EQ(Area, (std::array<std::uint8_t, 5>{0x34, 0x56, 0, 0, 0}));
    EXPECT_EQ(StreamPos(Stream), 3);
}

}  // namespace
