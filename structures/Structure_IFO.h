// Records of the two DVD-Video information files: the video manager
// (VIDEO_TS.IFO, record VMG) and a video title set (VTS_nn_0.IFO, record VTS),
// with the tables that only one of them has. Both records hold every field of
// their file in file order; the _OK flags and Last_Byte_Read exist only in
// memory and report the reader's check of each table against its Last_Byte.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Structure_Common.h"

// ---------------------------------------------------------------------------
// Video manager tables

// TT_SRP: one title search pointer, 12 bytes.
struct TT_SRP {
    std::uint8_t Title_Type = 0;
    std::uint8_t Number_of_Angles = 0;
    std::uint16_t Number_of_Chapters = 0;
    std::uint16_t Parental_Mask = 0;
    std::uint8_t VTS_Number = 0;
    std::uint8_t VTS_Title_Number = 0;
    std::uint32_t Start_Sector_of_VTS = 0;

    bool operator==(const TT_SRP&) const = default;
};

// TT_SRPT: title search pointer table.
struct TT_SRPT {
    std::uint16_t Number_of_Titles = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<TT_SRP> Titles;

    bool operator==(const TT_SRPT&) const = default;
};

// PTL_MAIT_SRP: parental management search pointer of one country, 8 bytes.
struct PTL_MAIT_SRP {
    std::uint16_t Country_Code = 0;
    std::uint32_t Offset_of_PTL_MAI = 0;   // from the first byte of the PTL_MAIT
    std::uint16_t Reserved = 0;

    bool operator==(const PTL_MAIT_SRP&) const = default;
};

// PTL_MAI: the masks of one country: 8 rows (parental levels), each of
// Number_of_Title_Sets + 1 16-bit masks (the PTL_MAIT's count).
using PTL_MAI = std::array<std::vector<std::uint16_t>, 8>;

// PTL_MAIT: parental management information table.
struct PTL_MAIT {
    std::uint16_t Number_of_Countries = 0;
    std::uint16_t Number_of_Title_Sets = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<PTL_MAIT_SRP> Countries;
    std::vector<PTL_MAI> PTL_MAIs;   // one per country, in the order of Countries

    bool operator==(const PTL_MAIT&) const = default;
};

// VTS_ATR: attributes of one title set, 776 bytes.
struct VTS_ATR {
    std::uint32_t Last_Byte = 0;   // 775 in a consistent entry
    std::uint32_t VTS_Category = 0;
    MENU_ATTRIBUTES Menu_Attributes;
    TITLE_SET_ATTRIBUTES Title_Set_Attributes;

    bool operator==(const VTS_ATR&) const = default;
};

// VTS_ATRT: title set attribute table.
struct VTS_ATRT {
    std::uint16_t Number_of_Title_Sets = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<std::uint32_t> VTS_ATR_Offsets;   // from the first byte of the VTS_ATRT
    std::vector<VTS_ATR> VTS_ATRs;

    bool operator==(const VTS_ATRT&) const = default;
};

// TXTDT_LU_SRP: text data language unit search pointer, 8 bytes.
struct TXTDT_LU_SRP {
    std::uint16_t Language_Code = 0;
    std::uint16_t Character_Set = 0;            // low byte: character set code
    std::uint32_t Offset_of_Language_Unit = 0;  // from the first byte of the TXTDT_MGI

    bool operator==(const TXTDT_LU_SRP&) const = default;
};

// TXTDT_MGI: text data manager information.
struct TXTDT_MGI {
    std::array<char, 15> Text_Identifier{};
    std::uint8_t Number_of_Language_Units = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<TXTDT_LU_SRP> Language_Search_Pointers;
    std::vector<TXTDT_LU> Language_Units;

    bool operator==(const TXTDT_MGI&) const = default;
};

// VMG: the whole content of one video manager information file.
struct VMG {
    // Header, bytes 0 to 1023.
    std::array<char, 12> Identifier{};                // 0x000, "DVDVIDEO-VMG"
    std::uint32_t Last_Sector_of_VMG = 0;             // 0x00C
    std::array<std::uint8_t, 12> Reserved_1{};        // 0x010
    std::uint32_t Last_Sector_of_VMGI = 0;            // 0x01C
    std::uint8_t Reserved_2 = 0;                      // 0x020
    std::uint8_t Version = 0;                         // 0x021
    std::uint8_t Reserved_3 = 0;                      // 0x022, VMG category byte 1
    std::uint8_t Region_Mask = 0;                     // 0x023, VMG category byte 2
    std::uint16_t Reserved_4 = 0;                     // 0x024, VMG category bytes 3-4
    std::uint16_t Number_of_Volumes = 0;              // 0x026
    std::uint16_t Volume_Number = 0;                  // 0x028
    std::uint8_t Side_ID = 0;                         // 0x02A
    std::array<std::uint8_t, 19> Reserved_5{};        // 0x02B
    std::uint16_t Number_of_Title_Sets = 0;           // 0x03E
    std::array<char, 32> Provider_Identifier{};       // 0x040
    std::array<std::uint8_t, 8> POS_Code{};           // 0x060
    std::array<std::uint8_t, 24> Reserved_6{};        // 0x068
    std::uint32_t Last_Byte_of_VMGI_MAT = 0;          // 0x080
    std::uint32_t Start_Byte_of_First_Play_PGC = 0;   // 0x084
    std::array<std::uint8_t, 56> Reserved_7{};        // 0x088
    std::uint32_t Start_Sector_of_Menu_VOBS = 0;      // 0x0C0
    std::uint32_t Start_Sector_of_TT_SRPT = 0;        // 0x0C4
    std::uint32_t Start_Sector_of_VMGM_PGCI_UT = 0;   // 0x0C8
    std::uint32_t Start_Sector_of_PTL_MAIT = 0;       // 0x0CC
    std::uint32_t Start_Sector_of_VTS_ATRT = 0;       // 0x0D0
    std::uint32_t Start_Sector_of_TXTDT_MGI = 0;      // 0x0D4
    std::uint32_t Start_Sector_of_VMGM_C_ADT = 0;     // 0x0D8
    std::uint32_t Start_Sector_of_VMGM_VOBU_ADMAP = 0;  // 0x0DC
    std::array<std::uint8_t, 32> Reserved_8{};        // 0x0E0
    MENU_ATTRIBUTES Menu_Attributes;                  // 0x100
    std::array<std::uint8_t, 512> Reserved_9{};       // 0x200

    // From byte 1024.
    PGC First_Play_PGC;
    std::vector<std::uint8_t> Bytes_after_First_Play_PGC;   // up to the TT_SRPT's sector

    TT_SRPT VMG_TT_SRPT;
    PGCI_UT VMGM_PGCI_UT;
    PTL_MAIT VMG_PTL_MAIT;
    VTS_ATRT VMG_VTS_ATRT;
    TXTDT_MGI VMG_TXTDT_MGI;
    C_ADT VMGM_C_ADT;
    VOBU_ADMAP VMGM_VOBU_ADMAP;

    // The reader's verdicts; never written.
    bool TT_SRPT_OK = false;
    bool VMGM_PGCI_UT_OK = false;
    bool PTL_MAIT_OK = false;
    bool VTS_ATRT_OK = false;
    bool TXTDT_MGI_OK = false;
    bool VMGM_C_ADT_OK = false;
    bool VMGM_VOBU_ADMAP_OK = false;
    std::uint32_t Last_Byte_Read = 0;

    bool operator==(const VMG&) const = default;
};

// ---------------------------------------------------------------------------
// Title set tables

// PTT_SRP: one part of a title.
struct PTT_SRP {
    std::uint16_t PGCN = 0;   // title program chain that plays the part
    std::uint16_t PGN = 0;    // program of that chain at which the part begins

    bool operator==(const PTT_SRP&) const = default;
};

// VTS_PTT_SRPT: part-of-title search pointer table.
struct VTS_PTT_SRPT {
    std::uint16_t Number_of_Titles = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<std::uint32_t> Title_Offsets;    // from the first byte of the table
    std::vector<std::vector<PTT_SRP>> Parts;     // the parts of each title

    bool operator==(const VTS_PTT_SRPT&) const = default;
};

// VTS_PGCIT: title program chain information table. Same shape as a PGCI_LU;
// here Offset_of_PGC counts from the first byte of the table.
struct VTS_PGCIT {
    std::uint16_t Number_of_PGCs = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<PGCI_SRP> PGC_Search_Pointers;
    std::vector<PGC> PGCs;

    bool operator==(const VTS_PGCIT&) const = default;
};

// VTS_TMAPT: time map table.
struct VTS_TMAPT {
    std::uint16_t Number_of_TMAPs = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Last_Byte = 0;
    std::vector<std::uint32_t> TMAP_Offsets;   // from the first byte of the table
    std::vector<TMAP> TMAPs;

    bool operator==(const VTS_TMAPT&) const = default;
};

// VTS: the whole content of one title set information file.
struct VTS {
    // Header, sector 0.
    std::array<char, 12> Identifier{};                 // 0x000, "DVDVIDEO-VTS"
    std::uint32_t Last_Sector_of_VTS = 0;              // 0x00C
    std::array<std::uint8_t, 12> Reserved_1{};         // 0x010
    std::uint32_t Last_Sector_of_VTSI = 0;             // 0x01C
    std::uint8_t Reserved_2 = 0;                       // 0x020
    std::uint8_t Version = 0;                          // 0x021
    std::uint32_t VTS_Category = 0;                    // 0x022
    std::array<std::uint8_t, 90> Reserved_3{};         // 0x026
    std::uint32_t Last_Byte_of_VTSI_MAT = 0;           // 0x080
    std::array<std::uint8_t, 60> Reserved_4{};         // 0x084
    std::uint32_t Start_Sector_of_Menu_VOBS = 0;       // 0x0C0
    std::uint32_t Start_Sector_of_Title_VOBS = 0;      // 0x0C4
    std::uint32_t Start_Sector_of_PTT_SRPT = 0;        // 0x0C8
    std::uint32_t Start_Sector_of_PGCIT = 0;           // 0x0CC
    std::uint32_t Start_Sector_of_VTSM_PGCI_UT = 0;    // 0x0D0
    std::uint32_t Start_Sector_of_TMAPT = 0;           // 0x0D4
    std::uint32_t Start_Sector_of_VTSM_C_ADT = 0;      // 0x0D8
    std::uint32_t Start_Sector_of_VTSM_VOBU_ADMAP = 0; // 0x0DC
    std::uint32_t Start_Sector_of_VTS_C_ADT = 0;       // 0x0E0
    std::uint32_t Start_Sector_of_VTS_VOBU_ADMAP = 0;  // 0x0E4
    std::array<std::uint8_t, 24> Reserved_5{};         // 0x0E8
    MENU_ATTRIBUTES Menu_Attributes;                   // 0x100
    TITLE_SET_ATTRIBUTES Title_Set_Attributes;         // 0x200
    std::array<std::uint8_t, 1024> Reserved_6{};       // 0x400

    VTS_PTT_SRPT PTT_SRPT;
    VTS_PGCIT PGCIT;
    PGCI_UT VTSM_PGCI_UT;
    VTS_TMAPT TMAPT;
    C_ADT VTSM_C_ADT;
    VOBU_ADMAP VTSM_VOBU_ADMAP;
    C_ADT VTS_C_ADT;
    VOBU_ADMAP VTS_VOBU_ADMAP;

    // The reader's verdicts; never written.
    bool PTT_SRPT_OK = false;
    bool PGCIT_OK = false;
    bool VTSM_PGCI_UT_OK = false;
    bool TMAPT_OK = false;
    bool VTSM_C_ADT_OK = false;
    bool VTSM_VOBU_ADMAP_OK = false;
    bool VTS_C_ADT_OK = false;
    bool VTS_VOBU_ADMAP_OK = false;
    std::uint32_t Last_Byte_Read = 0;

    bool operator==(const VTS&) const = default;
};
