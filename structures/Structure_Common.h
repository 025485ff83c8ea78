// Records of the structures that both kinds of DVD-Video information file
// contain: program chains, the menu PGC information unit table, cell address
// tables, VOBU address maps and the two stream attribute blocks; and, with
// them, the time map of a title set and the text data language unit of the
// video manager.
//
// Every record holds the fields of its file structure in file order, with the
// file's widths. Integers are held in host order (the file stores them
// big-endian); raw byte runs and character runs are held byte for byte, never
// terminated. Variable-length parts are std::vector. Every record defaults to
// all zero and empty.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// One navigation command of a program chain: eight raw bytes.
using VM_Command = std::array<std::uint8_t, 8>;

// C_PBI: cell playback information, 24 bytes in the file.
struct C_PBI {
    std::uint8_t Category_Byte_1 = 0;   // block mode and type, seamless and interleaving flags
    std::uint8_t Category_Byte_2 = 0;
    std::uint8_t Still_Time = 0;
    std::uint8_t Command_Number = 0;
    std::uint32_t Playback_Time = 0;    // BCD hh:mm:ss:ff
    std::uint32_t First_VOBU_Start_Sector = 0;
    std::uint32_t First_ILVU_End_Sector = 0;
    std::uint32_t Last_VOBU_Start_Sector = 0;
    std::uint32_t Last_VOBU_End_Sector = 0;

    bool operator==(const C_PBI&) const = default;
};

// C_POSI: cell position information, 4 bytes in the file.
struct C_POSI {
    std::uint16_t VOB_ID = 0;
    std::uint8_t Reserved = 0;
    std::uint8_t Cell_ID = 0;

    bool operator==(const C_POSI&) const = default;
};

// PGC: program chain. The 236-byte header, then the command table header
// (kept in the record whether or not the chain has a command table), then the
// variable parts.
struct PGC {
    std::uint16_t Reserved = 0;                                         // 0x00
    std::uint8_t Number_of_Programs = 0;                                // 0x02
    std::uint8_t Number_of_Cells = 0;                                   // 0x03
    std::uint32_t Playback_Time = 0;                                    // 0x04, BCD
    std::uint32_t Prohibited_User_Operations = 0;                       // 0x08
    std::array<std::array<std::uint8_t, 2>, 8> Audio_Stream_Control{};  // 0x0C
    std::array<std::array<std::uint8_t, 4>, 32> Subpicture_Stream_Control{};  // 0x1C
    std::uint16_t Next_PGC_Number = 0;                                  // 0x9C
    std::uint16_t Previous_PGC_Number = 0;                              // 0x9E
    std::uint16_t GoUp_PGC_Number = 0;                                  // 0xA0
    std::uint8_t Still_Time = 0;                                        // 0xA2
    std::uint8_t Playback_Mode = 0;                                     // 0xA3
    std::array<std::array<std::uint8_t, 4>, 16> Palette{};              // 0xA4, colour lookup table
    std::uint16_t Offset_of_Command_Table = 0;                          // 0xE4, 0 = none
    std::uint16_t Offset_of_Program_Map = 0;                            // 0xE6, 0 = none
    std::uint16_t Offset_of_Cell_Playback = 0;                          // 0xE8, 0 = none
    std::uint16_t Offset_of_Cell_Position = 0;                          // 0xEA, 0 = none

    // Command table header.
    std::uint16_t Number_of_Pre_Commands = 0;
    std::uint16_t Number_of_Post_Commands = 0;
    std::uint16_t Number_of_Cell_Commands = 0;
    std::uint16_t Command_Table_Last_Byte = 0;

    std::vector<VM_Command> Pre_Commands;
    std::vector<VM_Command> Post_Commands;
    std::vector<VM_Command> Cell_Commands;
    std::vector<std::uint8_t> Program_Map;   // entry cell of each program
    std::vector<C_PBI> Cell_Playback;
    std::vector<C_POSI> Cell_Position;

    bool operator==(const PGC&) const = default;
};

// PGCI_SRP: PGC search pointer, 8 bytes.
struct PGCI_SRP {
    std::uint8_t Category_Byte_1 = 0;   // entry flag and menu type
    std::uint8_t Category_Byte_2 = 0;
    std::uint16_t Parental_Mask = 0;
    std::uint32_t Offset_of_PGC = 0;    // from the first byte of the unit (or of the VTS_PGCIT)

    bool operator==(const PGCI_SRP&) const = default;
};

// PGCI_LU: menu language unit: its header, PGC search pointers and chains.
struct PGCI_LU {
    std::uint16_t Number_of_PGCs = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<PGCI_SRP> PGC_Search_Pointers;
    std::vector<PGC> PGCs;

    bool operator==(const PGCI_LU&) const = default;
};

// PGCI_LU_SRP: language unit search pointer, 8 bytes.
struct PGCI_LU_SRP {
    std::uint16_t Language_Code = 0;            // two ASCII letters, the first in the high byte
    std::uint8_t Language_Code_Extension = 0;
    std::uint8_t Menu_Existence = 0;
    std::uint32_t Offset_of_Language_Unit = 0;  // from the first byte of the PGCI_UT

    bool operator==(const PGCI_LU_SRP&) const = default;
};

// PGCI_UT: menu PGC information unit table.
struct PGCI_UT {
    std::uint16_t Number_of_Language_Units = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<PGCI_LU_SRP> Language_Search_Pointers;
    std::vector<PGCI_LU> Language_Units;

    bool operator==(const PGCI_UT&) const = default;
};

// CELL_ADDRESS: one entry of a cell address table, 12 bytes.
struct CELL_ADDRESS {
    std::uint16_t VOB_ID = 0;
    std::uint8_t Cell_ID = 0;
    std::uint8_t Reserved = 0;
    std::uint32_t Start_Sector = 0;
    std::uint32_t Last_Sector = 0;

    bool operator==(const CELL_ADDRESS&) const = default;
};

// C_ADT: cell address table. The number of entries is the length of
// Cell_Addresses; Number_of_VOBs is carried, never computed.
struct C_ADT {
    std::uint16_t Number_of_VOBs = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<CELL_ADDRESS> Cell_Addresses;

    bool operator==(const C_ADT&) const = default;
};

// VOBU_ADMAP: VOBU address map.
struct VOBU_ADMAP {
    std::uint32_t Last_Byte = 0;
    std::vector<std::uint32_t> VOBU_Start_Sectors;

    bool operator==(const VOBU_ADMAP&) const = default;
};

// MENU_ATTRIBUTES: stream attributes of menu VOBs, 256 bytes.
struct MENU_ATTRIBUTES {
    std::array<std::uint8_t, 2> Video_Attributes{};                 // 0x00
    std::uint16_t Number_of_Audio_Streams = 0;                      // 0x02
    std::array<std::array<std::uint8_t, 8>, 8> Audio_Attributes{};  // 0x04
    std::array<std::uint8_t, 16> Reserved_1{};                      // 0x44
    std::array<std::uint8_t, 2> Number_of_Subpicture_Streams{};     // 0x54, high byte first, not converted
    std::array<std::uint8_t, 6> Subpicture_Attributes{};            // 0x56
    std::array<std::uint8_t, 164> Reserved_2{};                     // 0x5C

    bool operator==(const MENU_ATTRIBUTES&) const = default;
};

// TITLE_SET_ATTRIBUTES: stream attributes of title VOBs, 512 bytes.
struct TITLE_SET_ATTRIBUTES {
    std::array<std::uint8_t, 2> Video_Attributes{};                        // 0x000
    std::uint16_t Number_of_Audio_Streams = 0;                             // 0x002
    std::array<std::array<std::uint8_t, 8>, 8> Audio_Attributes{};         // 0x004
    std::array<std::uint8_t, 16> Reserved_1{};                             // 0x044
    std::uint16_t Number_of_Subpicture_Streams = 0;                        // 0x054
    std::array<std::array<std::uint8_t, 6>, 32> Subpicture_Attributes{};   // 0x056
    std::uint16_t Reserved_2 = 0;                                          // 0x116
    std::array<std::array<std::uint8_t, 24>, 8> Multichannel_Extension{};  // 0x118, 5 flag bytes + 19 reserved each
    std::array<std::uint8_t, 40> Reserved_3{};                             // 0x1D8

    bool operator==(const TITLE_SET_ATTRIBUTES&) const = default;
};

// TMAP: one time map of a title set.
struct TMAP {
    std::uint8_t Time_Unit = 0;   // seconds between two entries
    std::uint8_t Reserved = 0;
    std::uint16_t Number_of_Entries = 0;
    std::vector<std::uint32_t> Entries;

    bool operator==(const TMAP&) const = default;
};

// TXTDT_Item: four carried bytes of a text data language unit.
struct TXTDT_Item {
    std::uint8_t Byte_1 = 0;
    std::uint8_t Byte_2 = 0;
    std::uint8_t Byte_3 = 0;
    std::uint8_t Byte_4 = 0;

    bool operator==(const TXTDT_Item&) const = default;
};

// TXTDT_LU: one text data language unit of the video manager.
struct TXTDT_LU {
    std::uint32_t Last_Byte = 0;               // offset of the unit's last byte from its first
    std::uint16_t Header_Word_1 = 0;
    std::uint16_t Header_Word_2 = 0;
    std::array<std::uint8_t, 196> Header_Bytes{};
    std::uint16_t Number_of_Items = 0;
    std::uint16_t Header_Word_3 = 0;
    std::vector<TXTDT_Item> Items;
    std::vector<char> Text;                    // Last_Byte + 1 - 208 - 4 * Number_of_Items characters

    bool operator==(const TXTDT_LU&) const = default;
};
