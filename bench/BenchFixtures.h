// The large title set and video manager that the benchmarks load and write,
// built in code, laid out by the library's own writers, and saved as a DVD
// folder that libdvdread can open.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "structures/Structure_IFO.h"

namespace quoril_bench {

// The shape of the large title set: the tables of a very long title set.
constexpr std::uint32_t Title_VOBUs = 200000;      // entries of the title VOBU address map
constexpr std::uint16_t Titles = 99;               // titles, title chains and time maps
constexpr std::uint8_t Cells_per_Chain = 255;
constexpr std::uint8_t Programs_per_Chain = 51;    // five cells each; one part per program
constexpr std::uint16_t Time_Map_Entries = 2000;
constexpr std::uint16_t Menu_Language_Units = 2;

// The shape of the large video manager.
constexpr std::uint16_t Title_Sets = 99;
constexpr std::uint16_t Manager_Menu_Chains = 60;  // per language unit
constexpr std::uint16_t Parental_Countries = 8;
constexpr std::uint32_t Text_Bytes_per_Unit = 60000;

// The bytes of both information files and where they were saved.
struct DvdFolder {
    std::filesystem::path Root;       // the folder to hand to DVDOpen
    std::filesystem::path VideoTs;    // Root/VIDEO_TS
    std::filesystem::path VmgIfo;     // VIDEO_TS.IFO
    std::filesystem::path VtsIfo;     // VTS_01_0.IFO
    std::vector<std::uint8_t> VmgBytes;
    std::vector<std::uint8_t> VtsBytes;
};

// The records as the writers take them; sector fields that depend on the
// size of the written file (last sectors, VOB set starts) are consistent
// with that size.
VTS LargeTitleSet();
VMG LargeVideoManager();

// Writes VIDEO_TS/VIDEO_TS.IFO, .BUP, VTS_01_0.IFO and .BUP under Root,
// replacing what was there, and returns their bytes.
DvdFolder WriteDvdFolder(const std::filesystem::path& Root);

}  // namespace quoril_bench
