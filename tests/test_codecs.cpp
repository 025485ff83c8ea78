// The codecs of the structures both information files contain: stream
// attribute blocks, program chains, the menu PGC information unit table, cell
// address tables and VOBU address maps; their refusal of hostile counts and
// of records that cannot be written.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "MemoryStream.h"
#include "Routines_Common.h"

using namespace quoril;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::uint16_t Word(const Bytes& File, std::size_t At) { return static_cast<std::uint16_t>(File.at(At) << 8 | File.at(At + 1)); }
std::uint32_t DWord(const Bytes& File, std::size_t At) { return std::uint32_t{Word(File, At)} << 16 | Word(File, At + 2); }

Bytes RandomBlock(unsigned Seed, std::size_t Size)
{
    std::mt19937 Generator(Seed);
    std::uniform_int_distribution<int> Byte(0, 255);
    Bytes Block(Size);
    for (std::uint8_t& B : Block) B = static_cast<std::uint8_t>(Byte(Generator));
    return Block;
}

// Expects Action to throw E with every one of Words in its message.
template <class E>
void ExpectRefusal(const std::function<void()>& Action, const std::vector<std::string>& Words)
{
    try {
        Action();
        ADD_FAILURE() << "nothing was refused";
    } catch (const E& Error) {
        for (const std::string& W : Words)
            EXPECT_NE(std::string(Error.what()).find(W), std::string::npos) << "\"" << W << "\" not in: " << Error.what();
    }
}

// ---------------------------------------------------------------------------
// Stream attribute blocks

// Reads a block of Size bytes that stands at an odd position, checks that
// the position moved by Size, writes it back, and returns the record.
template <class Record>
Record RoundTripBlock(const Bytes& Block, void (*Read)(IfoStream&, Record&), void (*Write)(IfoStream&, const Record&))
{
    Bytes File{0x5A};
    File.insert(File.end(), Block.begin(), Block.end());
    File.push_back(0xA5);
    MemoryStream In(File);
    SeekStream(In, 1);
    Record R;
    Read(In, R);
    EXPECT_EQ(StreamPos(In), 1 + static_cast<std::int32_t>(Block.size()));

    MemoryStream Out;
    SeekStream(Out, 3);
    Write(Out, R);
    EXPECT_EQ(StreamPos(Out), 3 + static_cast<std::int32_t>(Block.size()));
    EXPECT_EQ(Bytes(Out.Bytes().begin() + 3, Out.Bytes().end()), Block);
    return R;
}

TEST(AttributeBlocks, MenuBlockCarriesAnyBytesAtTheirPlaces)
{
    for (unsigned Seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(Seed);
        const Bytes Block = RandomBlock(Seed, 256);
        const MENU_ATTRIBUTES R = RoundTripBlock(Block, ReadMenuAttributes, WriteMenuAttributes);
        EXPECT_EQ(R.Video_Attributes[1], Block[0x01]);
        EXPECT_EQ(R.Number_of_Audio_Streams, Word(Block, 0x02));
        EXPECT_EQ(R.Audio_Attributes[7][7], Block[0x43]);
        EXPECT_EQ(R.Reserved_1[0], Block[0x44]);
        EXPECT_EQ(R.Number_of_Subpicture_Streams[0], Block[0x54]);
        EXPECT_EQ(R.Number_of_Subpicture_Streams[1], Block[0x55]);
        EXPECT_EQ(R.Subpicture_Attributes[0], Block[0x56]);
        EXPECT_EQ(R.Reserved_2[0], Block[0x5C]);
        EXPECT_EQ(R.Reserved_2[163], Block[0xFF]);
    }
}

TEST(AttributeBlocks, TitleSetBlockCarriesAnyBytesAtTheirPlaces)
{
    for (unsigned Seed : {5u, 6u, 7u, 8u}) {
        SCOPED_TRACE(Seed);
        const Bytes Block = RandomBlock(Seed, 512);
        const TITLE_SET_ATTRIBUTES R = RoundTripBlock(Block, ReadTitleSetAttributes, WriteTitleSetAttributes);
        EXPECT_EQ(R.Video_Attributes[0], Block[0x000]);
        EXPECT_EQ(R.Number_of_Audio_Streams, Word(Block, 0x002));
        EXPECT_EQ(R.Audio_Attributes[0][0], Block[0x004]);
        EXPECT_EQ(R.Reserved_1[15], Block[0x053]);
        EXPECT_EQ(R.Number_of_Subpicture_Streams, Word(Block, 0x054));
        EXPECT_EQ(R.Subpicture_Attributes[0][0], Block[0x056]);
        EXPECT_EQ(R.Subpicture_Attributes[31][5], Block[0x115]);
        EXPECT_EQ(R.Reserved_2, Word(Block, 0x116));
        EXPECT_EQ(R.Multichannel_Extension[0][0], Block[0x118]);
        EXPECT_EQ(R.Multichannel_Extension[7][23], Block[0x1D7]);
        EXPECT_EQ(R.Reserved_3[0], Block[0x1D8]);
        EXPECT_EQ(R.Reserved_3[39], Block[0x1FF]);
    }
}

TEST(AttributeBlocks, SubpictureCountIsRawInMenusAndAWordInTitleSets)
{
    Bytes Block(512, 0);
    Block[0x54] = 0x00;
    Block[0x55] = 0x02;

    MemoryStream Menu(Bytes(Block.begin(), Block.begin() + 256));
    MENU_ATTRIBUTES M;
    ReadMenuAttributes(Menu, M);
    EXPECT_EQ(M.Number_of_Subpicture_Streams, (std::array<std::uint8_t, 2>{0x00, 0x02}));

    MemoryStream TitleSet(Block);
    TITLE_SET_ATTRIBUTES T;
    ReadTitleSetAttributes(TitleSet, T);
    EXPECT_EQ(T.Number_of_Subpicture_Streams, 2);
}

// ---------------------------------------------------------------------------
// Program chains

enum ChainPart : unsigned { Commands = 1, Map = 2, Playback = 4, Position = 8 };

VM_Command Command(std::uint8_t First)
{
    VM_Command C;
    for (std::size_t I = 0; I < C.size(); ++I) C[I] = static_cast<std::uint8_t>(First + I);
    return C;
}

// A chain with distinct values in every field and the given sub-tables: 2
// pre commands, no post command and 1 cell command (a 32-byte command
// table), Programs programs and Cells cells. The offsets and the command
// table's last byte hold placeholders that the writer's patches replace.
PGC MakeChain(unsigned Parts, std::uint8_t Programs = 3, std::uint8_t Cells = 2)
{
    PGC C;
    C.Reserved = 0x0102;
    C.Number_of_Programs = Programs;
    C.Number_of_Cells = Cells;
    C.Playback_Time = 0x01234567;
    C.Prohibited_User_Operations = 0x89ABCDEF;
    for (std::size_t I = 0; I < 8; ++I) C.Audio_Stream_Control[I] = {static_cast<std::uint8_t>(0x80 | I), 0x21};
    for (std::size_t I = 0; I < 32; ++I) C.Subpicture_Stream_Control[I] = {static_cast<std::uint8_t>(I), 1, 2, 3};
    C.Next_PGC_Number = 0x1112;
    C.Previous_PGC_Number = 0x1314;
    C.GoUp_PGC_Number = 0x1516;
    C.Still_Time = 0x17;
    C.Playback_Mode = 0x18;
    for (std::size_t I = 0; I < 16; ++I) C.Palette[I] = {0, static_cast<std::uint8_t>(I), 0x80, 0x90};
    if (Parts & Commands) {
        C.Offset_of_Command_Table = 0xFFF1;
        C.Number_of_Pre_Commands = 2;
        C.Number_of_Post_Commands = 0;
        C.Number_of_Cell_Commands = 1;
        C.Command_Table_Last_Byte = 0x7777;
        C.Pre_Commands = {Command(0xA0), Command(0xA8)};
        C.Cell_Commands = {Command(0xC0)};
    }
    if (Parts & Map) {
        C.Offset_of_Program_Map = 0xFFF2;
        for (int P = 1; P <= Programs; ++P) C.Program_Map.push_back(static_cast<std::uint8_t>(P));
    }
    if (Parts & Playback) {
        C.Offset_of_Cell_Playback = 0xFFF3;
        for (std::uint32_t I = 0; I < Cells; ++I)
            C.Cell_Playback.push_back({0x02, 0x03, static_cast<std::uint8_t>(I), 0x05, 0x00012530 + I, 100 * I + 1,
                                       100 * I + 2, 100 * I + 3, 100 * I + 4});
    }
    if (Parts & Position) {
        C.Offset_of_Cell_Position = 0xFFF4;
        for (int I = 0; I < Cells; ++I)
            C.Cell_Position.push_back({static_cast<std::uint16_t>(0x0100 + I), 0x00, static_cast<std::uint8_t>(I + 1)});
    }
    return C;
}

struct WrittenChain {
    std::int32_t Start = 0;
    PGCPatchArray Positions;
    PGCPatchArray Values;
};

// Writes the chain at the current position and applies its patches, as the
// writers of the information files do.
WrittenChain WriteChain(MemoryStream& Stream, const PGC& Chain)
{
    WrittenChain W;
    W.Start = StreamPos(Stream);
    W.Positions.fill(-7);
    W.Values.fill(-7);
    WritePGC(Stream, Chain, W.Start, W.Positions, W.Values);
    PatchList Patches;
    AddPGCPatches(Patches, W.Positions, W.Values);
    Patches.Apply(Stream);
    return W;
}

// Every combination of present sub-tables, written after 8 other bytes.
// Command table 32 bytes; program map 3 bytes and a filler byte; cell
// playback 2 x 24; cell position 2 x 4.
TEST(ProgramChain, EveryCombinationOfSubTablesIsLaidOutBackToBack)
{
    struct Case {
        unsigned Parts;
        std::uint16_t Command_Table, Program_Map, Cell_Playback, Cell_Position;
        std::int32_t Size;
    };
    const Case Cases[] = {
        {0, 0, 0, 0, 0, 236},
        {Commands, 236, 0, 0, 0, 268},
        {Map, 0, 236, 0, 0, 240},
        {Commands | Map, 236, 268, 0, 0, 272},
        {Playback, 0, 0, 236, 0, 284},
        {Commands | Playback, 236, 0, 268, 0, 316},
        {Map | Playback, 0, 236, 240, 0, 288},
        {Commands | Map | Playback, 236, 268, 272, 0, 320},
        {Position, 0, 0, 0, 236, 244},
        {Commands | Position, 236, 0, 0, 268, 276},
        {Map | Position, 0, 236, 0, 240, 248},
        {Commands | Map | Position, 236, 268, 0, 272, 280},
        {Playback | Position, 0, 0, 236, 284, 292},
        {Commands | Playback | Position, 236, 0, 268, 316, 324},
        {Map | Playback | Position, 0, 236, 240, 288, 296},
        {Commands | Map | Playback | Position, 236, 268, 272, 320, 328},
    };
    constexpr std::int32_t Start = 8;
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << "sub-tables " << C.Parts);
        const PGC Chain = MakeChain(C.Parts);
        const bool HasCommands = C.Parts & Commands;
        MemoryStream Stream(Bytes(Start, 0xEE));
        SeekStream(Stream, Start);
        const WrittenChain W = WriteChain(Stream, Chain);

        EXPECT_EQ(Stream.Size(), Start + C.Size);
        EXPECT_EQ(StreamPos(Stream), Start + C.Size);
        EXPECT_EQ(PGCSizeInFile(Chain, Start), C.Size);
        EXPECT_EQ(W.Positions, (PGCPatchArray{Start + 0xE4, Start + 0xE6, Start + 0xE8, Start + 0xEA,
                                              HasCommands ? Start + 236 + 6 : -7}));
        EXPECT_EQ(W.Values, (PGCPatchArray{C.Command_Table, C.Program_Map, C.Cell_Playback, C.Cell_Position,
                                           HasCommands ? 31 : 0}));

        PGC Expected = Chain;
        Expected.Offset_of_Command_Table = C.Command_Table;
        Expected.Offset_of_Program_Map = C.Program_Map;
        Expected.Offset_of_Cell_Playback = C.Cell_Playback;
        Expected.Offset_of_Cell_Position = C.Cell_Position;
        if (HasCommands) Expected.Command_Table_Last_Byte = 31;
        SeekStream(Stream, Start);
        PGC Read;
        ReadPGC(Stream, Read);
        EXPECT_EQ(Read, Expected);
        EXPECT_EQ(StreamPos(Stream), Start + C.Size);
    }
}

TEST(ProgramChain, FieldsStandAtTheirOffsetsBigEndian)
{
    MemoryStream Stream;
    WriteChain(Stream, MakeChain(Commands | Map | Playback | Position));
    const Bytes& F = Stream.Bytes();
    EXPECT_EQ(Word(F, 0x00), 0x0102);
    EXPECT_EQ(F[0x02], 3);
    EXPECT_EQ(F[0x03], 2);
    EXPECT_EQ(DWord(F, 0x04), 0x01234567u);
    EXPECT_EQ(DWord(F, 0x08), 0x89ABCDEFu);
    EXPECT_EQ(F[0x0C], 0x80);
    EXPECT_EQ(F[0x1B], 0x21);
    EXPECT_EQ(F[0x1C + 4 * 31], 31);
    EXPECT_EQ(Word(F, 0x9C), 0x1112);
    EXPECT_EQ(Word(F, 0x9E), 0x1314);
    EXPECT_EQ(Word(F, 0xA0), 0x1516);
    EXPECT_EQ(F[0xA2], 0x17);
    EXPECT_EQ(F[0xA3], 0x18);
    EXPECT_EQ(F[0xA4 + 4 * 15 + 1], 15);
    EXPECT_EQ(Word(F, 0xE4), 236);
    // Command table: counts, last byte, then pre and cell commands.
    EXPECT_EQ((Bytes(F.begin() + 236, F.begin() + 244)), (Bytes{0, 2, 0, 0, 0, 1, 0, 31}));
    EXPECT_EQ(F[244], 0xA0);
    EXPECT_EQ(F[252], 0xA8);
    EXPECT_EQ(F[260], 0xC0);
    // Program map and filler.
    EXPECT_EQ((Bytes(F.begin() + 268, F.begin() + 272)), (Bytes{1, 2, 3, 0}));
    // Second cell playback entry.
    EXPECT_EQ((Bytes(F.begin() + 296, F.begin() + 300)), (Bytes{0x02, 0x03, 1, 0x05}));
    EXPECT_EQ(DWord(F, 300), 0x00012531u);
    EXPECT_EQ(DWord(F, 304), 101u);
    EXPECT_EQ(DWord(F, 316), 104u);
    // Second cell position entry.
    EXPECT_EQ((Bytes(F.begin() + 324, F.begin() + 328)), (Bytes{0x01, 0x01, 0x00, 2}));
}

// The program map is followed by a filler byte when it ends at an odd
// position of the stream; the cell playback table follows.
TEST(ProgramChain, FillerByteDependsOnTheStreamPosition)
{
    struct Case {
        std::int32_t Start;
        std::uint8_t Programs;
        bool Filler;
    };
    for (const Case& C : {Case{0, 3, true}, Case{0, 2, false}, Case{1, 3, false}, Case{1, 2, true}, Case{0, 0, false},
                          Case{1, 0, true}, Case{2048, 255, true}}) {
        SCOPED_TRACE(testing::Message() << C.Programs << " programs at " << C.Start);
        const PGC Chain = MakeChain(Map | Playback, C.Programs, 1);
        const std::int32_t Map_End = 236 + C.Programs;
        const std::int32_t Size = Map_End + (C.Filler ? 1 : 0) + 24;
        MemoryStream Stream;
        SeekStream(Stream, C.Start);
        const WrittenChain W = WriteChain(Stream, Chain);
        EXPECT_EQ(Stream.Size(), C.Start + Size);
        EXPECT_EQ(PGCSizeInFile(Chain, C.Start), Size);
        EXPECT_EQ(W.Values[Slot_Cell_Playback], Size - 24);
        if (C.Filler) {
            EXPECT_EQ(Stream.Bytes()[static_cast<std::size_t>(C.Start + Map_End)], 0);
        }

        SeekStream(Stream, C.Start);
        PGC Read;
        ReadPGC(Stream, Read);
        EXPECT_EQ(StreamPos(Stream), C.Start + Size);
        EXPECT_EQ(Read.Program_Map, Chain.Program_Map);
        EXPECT_EQ(Read.Cell_Playback, Chain.Cell_Playback);
    }
}

TEST(ProgramChain, NonZeroFillerByteIsSkippedAndWrittenBackAsZero)
{
    MemoryStream Stream;
    WriteChain(Stream, MakeChain(Map | Playback, 3, 1));
    Bytes File = Stream.Bytes();
    ASSERT_EQ(File.size(), 264u);
    File[239] = 0xFF;

    MemoryStream In(File);
    PGC Read;
    ReadPGC(In, Read);
    EXPECT_EQ(StreamPos(In), 264);
    EXPECT_EQ(Read.Cell_Playback, MakeChain(Playback, 3, 1).Cell_Playback);

    MemoryStream Out;
    WriteChain(Out, Read);
    EXPECT_EQ(Out.Bytes()[239], 0);
    EXPECT_EQ(Out.Bytes(), Stream.Bytes());
}

TEST(ProgramChain, CommandTableLengthComesFromTheThreeCounts)
{
    MemoryStream Stream;
    const WrittenChain W = WriteChain(Stream, MakeChain(Commands));
    EXPECT_EQ(Stream.Size(), 236 + 32);
    EXPECT_EQ(W.Values[Slot_Command_Table_Last_Byte], 31);

    // No post commands: a fresh array stays empty, a filled one keeps what it held.
    PGC Fresh;
    SeekStream(Stream, 0);
    ReadPGC(Stream, Fresh);
    EXPECT_TRUE(Fresh.Post_Commands.empty());
    EXPECT_EQ(Fresh.Pre_Commands.size(), 2u);
    EXPECT_EQ(Fresh.Cell_Commands, std::vector<VM_Command>{Command(0xC0)});

    PGC Used;
    Used.Post_Commands = {Command(0x50)};
    SeekStream(Stream, 0);
    ReadPGC(Stream, Used);
    EXPECT_EQ(Used.Post_Commands, std::vector<VM_Command>{Command(0x50)});
}

TEST(ProgramChain, ChainWithoutSubTablesIsTheHeaderAlone)
{
    const PGC Chain = MakeChain(0);
    MemoryStream Stream;
    const WrittenChain W = WriteChain(Stream, Chain);
    EXPECT_EQ(Stream.Size(), 236);
    EXPECT_EQ(W.Values, (PGCPatchArray{0, 0, 0, 0, 0}));
    EXPECT_EQ(W.Positions[Slot_Command_Table_Last_Byte], -7);

    // Reading it back leaves the six arrays of the record as they were.
    PGC Used = MakeChain(Commands | Map | Playback | Position);
    Used.Number_of_Post_Commands = 1;
    Used.Post_Commands = {Command(0x50)};
    PGC Expected = Used;
    Expected.Offset_of_Command_Table = Expected.Offset_of_Program_Map = 0;
    Expected.Offset_of_Cell_Playback = Expected.Offset_of_Cell_Position = 0;
    SeekStream(Stream, 0);
    ReadPGC(Stream, Used);
    EXPECT_EQ(Used, Expected);
    EXPECT_EQ(StreamPos(Stream), 236);
}

TEST(ProgramChain, CellTablesWithoutCellsReportWhereTheyWouldBegin)
{
    MemoryStream Stream;
    const WrittenChain W = WriteChain(Stream, MakeChain(Commands | Playback | Position, 3, 0));
    EXPECT_EQ(Stream.Size(), 236 + 32);
    EXPECT_EQ(W.Values[Slot_Cell_Playback], 268);
    EXPECT_EQ(W.Values[Slot_Cell_Position], 268);
    EXPECT_EQ(Word(Stream.Bytes(), 0xE8), 268);
}

TEST(ProgramChain, WriteReadWriteReproducesTheBytes)
{
    MemoryStream First;
    WriteChain(First, MakeChain(Commands | Map | Playback | Position, 5, 3));

    PGC Read;
    SeekStream(First, 0);
    ReadPGC(First, Read);

    MemoryStream Again;
    WriteChain(Again, Read);
    EXPECT_EQ(Again.Bytes(), First.Bytes());

    // Offsets count from the chain's first byte, wherever it stands.
    MemoryStream Later(Bytes{0xEE, 0xEE});
    SeekStream(Later, 2);
    WriteChain(Later, Read);
    EXPECT_EQ(Bytes(Later.Bytes().begin() + 2, Later.Bytes().end()), First.Bytes());
}

TEST(ProgramChain, WriterRefusesArraysShorterThanTheirCounts)
{
    const std::string Where = "VTS_PGCIT.PGCs[0]";
    struct Case {
        const char* Field;
        std::function<void(PGC&)> Damage;
    };
    const Case Cases[] = {
        {"Number_of_Pre_Commands", [](PGC& C) { C.Pre_Commands.pop_back(); }},
        {"Number_of_Post_Commands", [](PGC& C) { C.Number_of_Post_Commands = 1; }},
        {"Number_of_Cell_Commands", [](PGC& C) { C.Cell_Commands.clear(); }},
        {"Number_of_Programs", [](PGC& C) { C.Program_Map.pop_back(); }},
        {"Number_of_Cells", [](PGC& C) { C.Cell_Playback.pop_back(); }},
        {"Number_of_Cells", [](PGC& C) { C.Cell_Position.pop_back(); }},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Field);
        PGC Chain = MakeChain(Commands | Map | Playback | Position);
        C.Damage(Chain);
        ExpectRefusal<std::invalid_argument>([&] { CheckPGCForWriting(Chain, 0, Where); }, {Where, C.Field});
    }

    // Counts of absent sub-tables need no array; longer arrays are fine.
    EXPECT_NO_THROW(CheckPGCForWriting(MakeChain(0, 3, 2), 0, Where));
    PGC Longer = MakeChain(Commands | Map | Playback | Position);
    Longer.Program_Map.push_back(9);
    Longer.Cell_Position.push_back({});
    EXPECT_NO_THROW(CheckPGCForWriting(Longer, 0, Where));
}

// Commands enough to push the sub-tables after the command table past what
// their 16-bit offset fields can hold. The command table is 8 + 8n bytes
// from offset 236: 8191 commands end it at 0xFFFF; 8161 put the next table
// at 65532, 8162 at 65540. Three programs after 8161 commands take the cell
// playback table to 65536, with the filler byte; two, to 65534.
TEST(ProgramChain, WriterRefusesOffsetsBeyondSixteenBits)
{
    struct Case {
        unsigned Parts;
        std::uint16_t Commands;   // the chain's one cell command and pre commands
        std::uint8_t Programs;
        const char* Refused;      // nullptr: accepted
    };
    for (const Case& C : {Case{Commands, 8191, 3, nullptr}, Case{Commands, 8192, 3, "Command_Table_Last_Byte"},
                          Case{Commands, 8200, 3, "Command_Table_Last_Byte"},
                          Case{Commands | Position, 8161, 3, nullptr},
                          Case{Commands | Position, 8162, 3, "Offset_of_Cell_Position"},
                          Case{Commands | Position, 8191, 3, "Offset_of_Cell_Position"},
                          Case{Commands | Playback, 8162, 3, "Offset_of_Cell_Playback"},
                          Case{Commands | Map, 8162, 3, "Offset_of_Program_Map"},
                          Case{Commands | Map | Playback, 8161, 2, nullptr},
                          Case{Commands | Map | Playback, 8161, 3, "Offset_of_Cell_Playback"}}) {
        SCOPED_TRACE(testing::Message() << C.Commands << " commands, " << int{C.Programs} << " programs, sub-tables "
                                        << C.Parts);
        PGC Chain = MakeChain(C.Parts, C.Programs);
        Chain.Number_of_Pre_Commands = static_cast<std::uint16_t>(C.Commands - Chain.Number_of_Cell_Commands);
        Chain.Pre_Commands.assign(Chain.Number_of_Pre_Commands, Command(1));
        if (C.Refused) {
            ExpectRefusal<std::invalid_argument>([&] { CheckPGCForWriting(Chain, 0, "PGC"); }, {C.Refused});
        } else {
            EXPECT_NO_THROW(CheckPGCForWriting(Chain, 0, "PGC"));
        }
    }
}

// ---------------------------------------------------------------------------
// Menu PGC information unit table

PGCI_UT MakeUnitTable()
{
    PGCI_UT T;
    T.Number_of_Language_Units = 2;
    T.Reserved = 0x0102;
    T.Last_Byte = 0xDEADBEEF;
    T.Language_Search_Pointers = {{0x656E, 0x00, 0x80, 0xDEADBEEF}, {0x6672, 0x01, 0x00, 0xDEADBEEF}};
    PGCI_LU Menus;
    Menus.Number_of_PGCs = 2;
    Menus.Reserved = 0x0304;
    Menus.Last_Byte = 0xDEADBEEF;
    Menus.PGC_Search_Pointers = {{0x83, 0x00, 0x0001, 0xDEADBEEF}, {0x82, 0x10, 0xFFFF, 0xDEADBEEF}};
    Menus.PGCs = {MakeChain(Commands | Map | Playback | Position), MakeChain(0)};
    T.Language_Units = {Menus, PGCI_LU{}};
    return T;
}

TEST(MenuUnitTable, RoundTripRecomputesOffsetsBackToBack)
{
    constexpr std::int32_t At = 2048;
    MemoryStream Stream;
    SeekStream(Stream, At);
    std::int32_t Table_Start = 0, Last_Byte_Position = 0;
    const PGCI_UT Table = MakeUnitTable();
    ASSERT_NO_THROW(CheckPGCI_UTForWriting(Table, "VMGM_PGCI_UT"));
    WritePGCI_UT(Stream, Table, Table_Start, Last_Byte_Position);
    EXPECT_EQ(Table_Start, At);
    EXPECT_EQ(Last_Byte_Position, At + 4);
    PatchLastByte(Stream, Table_Start, Last_Byte_Position);

    // Header and two pointers (24), unit 0: header and two pointers (24) and
    // chains of 328 and 236 bytes (588), unit 1: its header (8).
    EXPECT_EQ(Stream.Size(), At + 620);
    PGCI_UT Expected = Table;
    Expected.Last_Byte = 619;
    Expected.Language_Search_Pointers[0].Offset_of_Language_Unit = 24;
    Expected.Language_Search_Pointers[1].Offset_of_Language_Unit = 24 + 588;
    PGCI_LU& Menus = Expected.Language_Units[0];
    Menus.Last_Byte = 587;
    Menus.PGC_Search_Pointers[0].Offset_of_PGC = 24;
    Menus.PGC_Search_Pointers[1].Offset_of_PGC = 24 + 328;
    PGC& Chain = Menus.PGCs[0];
    Chain.Offset_of_Command_Table = 236;
    Chain.Offset_of_Program_Map = 268;
    Chain.Offset_of_Cell_Playback = 272;
    Chain.Offset_of_Cell_Position = 320;
    Chain.Command_Table_Last_Byte = 31;
    Expected.Language_Units[1].Last_Byte = 7;

    SeekStream(Stream, At);
    PGCI_UT Read;
    ReadPGCI_UT(Stream, Read, "VMGM_PGCI_UT");
    EXPECT_EQ(Read, Expected);
    EXPECT_EQ(StreamPos(Stream), At + 620);

    MemoryStream Again;
    SeekStream(Again, At);
    WritePGCI_UT(Again, Read, Table_Start, Last_Byte_Position);
    PatchLastByte(Again, Table_Start, Last_Byte_Position);
    EXPECT_EQ(Again.Bytes(), Stream.Bytes());
}

TEST(MenuUnitTable, WriterRefusesCountsThatDisagreeWithArrays)
{
    const std::string Table = "VTSM_PGCI_UT";
    PGCI_UT Units = MakeUnitTable();
    Units.Number_of_Language_Units = 3;
    ExpectRefusal<std::invalid_argument>([&] { CheckPGCI_UTForWriting(Units, Table); },
                                         {Table, "Number_of_Language_Units"});

    PGCI_UT Chains = MakeUnitTable();
    Chains.Language_Units[1].Number_of_PGCs = 1;
    ExpectRefusal<std::invalid_argument>([&] { CheckPGCI_UTForWriting(Chains, Table); },
                                         {Table + ".Language_Units[1]", "Number_of_PGCs"});

    PGCI_UT Chain = MakeUnitTable();
    Chain.Language_Units[0].PGCs[0].Cell_Position.clear();
    ExpectRefusal<std::invalid_argument>([&] { CheckPGCI_UTForWriting(Chain, Table); },
                                         {Table + ".Language_Units[0].PGCs[0]", "Cell_Position"});
}

// ---------------------------------------------------------------------------
// Cell address table

const Bytes Two_Cells{0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F,                          // header
                      0x00, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20,  // entry 1
                      0x00, 0x02, 0x06, 0x07, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00}; // entry 2

// Writes Record at position At and patches its Last_Byte; returns the table's bytes.
template <class Record>
Bytes WriteTable(const Record& R, void (*Write)(IfoStream&, const Record&, std::int32_t&, std::int32_t&),
                 std::int32_t Last_Byte_Offset)
{
    constexpr std::int32_t At = 2048;
    MemoryStream Stream;
    SeekStream(Stream, At);
    std::int32_t Table_Start = 0, Last_Byte_Position = 0;
    Write(Stream, R, Table_Start, Last_Byte_Position);
    EXPECT_EQ(Table_Start, At);
    EXPECT_EQ(Last_Byte_Position, At + Last_Byte_Offset);
    PatchLastByte(Stream, Table_Start, Last_Byte_Position);
    return Bytes(Stream.Bytes().begin() + At, Stream.Bytes().end());
}

TEST(CellAddressTable, WellFormedTableRoundTrips)
{
    Bytes File = Two_Cells;
    File.push_back(0xEE);
    MemoryStream Stream(File);
    C_ADT Table;
    ReadC_ADT(Stream, Table);
    EXPECT_EQ(StreamPos(Stream), 32);
    EXPECT_EQ(Table.Number_of_VOBs, 3);
    EXPECT_EQ(Table.Last_Byte, 31u);
    EXPECT_EQ(Table.Cell_Addresses,
              (std::vector<CELL_ADDRESS>{{0x0001, 0x05, 0x00, 0x10, 0x20}, {0x0002, 0x06, 0x07, 0x100, 0x200}}));
    EXPECT_EQ(WriteTable(Table, WriteC_ADT, 4), Two_Cells);
}

// Last_Byte decides the number of entries (Last_Byte div 12), whatever
// Number_of_VOBs says; the writer stores 7 + 12 x entries.
TEST(CellAddressTable, EntriesComeFromLastByteAndNumberOfVOBsIsCarried)
{
    struct Case {
        std::uint32_t Last_Byte;
        std::uint16_t Number_of_VOBs;
        std::size_t Entries;
    };
    for (const Case& C : {Case{7, 0, 0}, Case{7, 9, 0}, Case{30, 1, 2}, Case{30, 40, 2}, Case{31, 0, 2}}) {
        SCOPED_TRACE(testing::Message() << "Last_Byte " << C.Last_Byte);
        Bytes File = Two_Cells;
        File[0] = static_cast<std::uint8_t>(C.Number_of_VOBs >> 8);
        File[1] = static_cast<std::uint8_t>(C.Number_of_VOBs);
        File[7] = static_cast<std::uint8_t>(C.Last_Byte);
        MemoryStream Stream(File);
        C_ADT Table;
        ReadC_ADT(Stream, Table);
        EXPECT_EQ(Table.Cell_Addresses.size(), C.Entries);
        EXPECT_EQ(StreamPos(Stream), static_cast<std::int32_t>(8 + 12 * C.Entries));

        const Bytes Written = WriteTable(Table, WriteC_ADT, 4);
        ASSERT_EQ(Written.size(), 8 + 12 * C.Entries);
        EXPECT_EQ(Word(Written, 0), C.Number_of_VOBs);
        EXPECT_EQ(DWord(Written, 4), 7 + 12 * C.Entries);
        EXPECT_EQ(Table.Last_Byte, C.Last_Byte);   // the record keeps what was read
    }
}

TEST(CellAddressTable, TruncatedTableReadsMissingBytesAsZero)
{
    MemoryStream Stream(Bytes(Two_Cells.begin(), Two_Cells.begin() + 26));
    C_ADT Table;
    ReadC_ADT(Stream, Table);
    ASSERT_EQ(Table.Cell_Addresses.size(), 2u);
    EXPECT_EQ(Table.Cell_Addresses[1], (CELL_ADDRESS{0x0002, 0x06, 0x07, 0x00000000, 0}));
}

// ---------------------------------------------------------------------------
// VOBU address map

TEST(VOBUAddressMap, EntriesComeFromLastByte)
{
    const Bytes Sectors{0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xEE, 0xEE, 0xEE, 0xEE};
    for (std::uint32_t Last_Byte : {3u, 4u, 5u, 6u, 11u}) {
        SCOPED_TRACE(testing::Message() << "Last_Byte " << Last_Byte);
        const std::size_t Entries = Last_Byte == 11 ? 2 : 0;
        Bytes File{0, 0, 0, static_cast<std::uint8_t>(Last_Byte)};
        File.insert(File.end(), Sectors.begin(), Sectors.end());
        MemoryStream Stream(File);
        VOBU_ADMAP Map;
        ReadVOBU_ADMAP(Stream, Map);
        EXPECT_EQ(Map.Last_Byte, Last_Byte);
        EXPECT_EQ(StreamPos(Stream), static_cast<std::int32_t>(4 + 4 * Entries));
        const std::vector<std::uint32_t> Two{1, 0x10000};
        EXPECT_EQ(Map.VOBU_Start_Sectors, Entries == 2 ? Two : std::vector<std::uint32_t>{});

        Bytes Expected(File.begin(), File.begin() + static_cast<std::ptrdiff_t>(4 + 4 * Entries));
        Expected[3] = static_cast<std::uint8_t>(3 + 4 * Entries);
        EXPECT_EQ(WriteTable(Map, WriteVOBU_ADMAP, 0), Expected);
    }
}

TEST(VOBUAddressMap, TruncatedMapReadsMissingBytesAsZero)
{
    MemoryStream Stream(Bytes{0x00, 0x00, 0x00, 0x0B, 0x12, 0x34, 0x56, 0x78});   // 2 entries, 1 present
    VOBU_ADMAP Map;
    ReadVOBU_ADMAP(Stream, Map);
    EXPECT_EQ(Map.VOBU_Start_Sectors, (std::vector<std::uint32_t>{0x12345678, 0}));
}

// ---------------------------------------------------------------------------
// Counts that no stream of this size could hold

Bytes FourKiB(const Bytes& Head)
{
    Bytes File(4096, 0);
    std::copy(Head.begin(), Head.end(), File.begin());
    return File;
}

TEST(HostileCounts, AreRefusedNamingTheTable)
{
    struct Case {
        const char* What;
        Bytes File;
        std::function<void(IfoStream&)> Read;
        std::vector<std::string> Named;
    };
    auto C_ADT_As = [](std::string Name) {
        return [Name](IfoStream& S) { C_ADT T; ReadC_ADT(S, T, Name); };
    };
    auto ReadMap = [](IfoStream& S) { VOBU_ADMAP M; ReadVOBU_ADMAP(S, M); };
    auto ReadUnits = [](IfoStream& S) { PGCI_UT T; ReadPGCI_UT(S, T, "VMGM_PGCI_UT"); };
    Bytes Huge_Chain{0, 1, 0, 0, 0, 0, 0, 0, 0x65, 0x6E, 0, 0x80, 0, 0, 0, 16,   // one unit, at 16
                     0, 1, 0, 0, 0, 0, 0, 0, 0x82, 0, 0, 0, 0, 0, 0, 16};     // one chain, at 16
    Bytes Chain(236, 0);
    Chain[0xE5] = 236;                                             // with a command table
    Chain.insert(Chain.end(), {0xFF, 0xFF, 0, 0, 0, 0, 0, 7});   // of 65535 pre commands
    Huge_Chain.insert(Huge_Chain.end(), Chain.begin(), Chain.end());

    const Case Cases[] = {
        {"C_ADT Last_Byte 0xFFFFFFFF", FourKiB({0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), C_ADT_As("C_ADT"), {"C_ADT"}},
        {"named C_ADT", FourKiB({0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), C_ADT_As("VTS_C_ADT"), {"VTS_C_ADT"}},
        {"VOBU_ADMAP Last_Byte 0", FourKiB({0, 0, 0, 0}), ReadMap, {"VOBU_ADMAP"}},
        {"VOBU_ADMAP Last_Byte 1", FourKiB({0, 0, 0, 1}), ReadMap, {"VOBU_ADMAP"}},
        {"VOBU_ADMAP Last_Byte 2", FourKiB({0, 0, 0, 2}), ReadMap, {"VOBU_ADMAP"}},
        {"65535 language units", FourKiB({0xFF, 0xFF, 0, 0, 0, 0, 0, 7}), ReadUnits, {"VMGM_PGCI_UT"}},
        {"65535 chains in a unit", FourKiB({0, 1, 0, 0, 0, 0, 0, 7, 0x65, 0x6E, 0, 0x80, 0, 0, 0, 16,
                                            0xFF, 0xFF, 0, 0, 0, 0, 0, 7}), ReadUnits, {"VMGM_PGCI_UT"}},
        {"20 chains of 236 bytes", FourKiB({0, 1, 0, 0, 0, 0, 0, 7, 0x65, 0x6E, 0, 0x80, 0, 0, 0, 16,
                                            0, 20, 0, 0, 0, 0, 0, 7}), ReadUnits, {"VMGM_PGCI_UT", "PGCs"}},
        {"65535 pre commands", FourKiB(Huge_Chain), ReadUnits, {"Pre_Commands"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        MemoryStream Stream(C.File);
        ExpectRefusal<std::range_error>([&] { C.Read(Stream); }, C.Named);
    }
}

}  // namespace
