// The facts (Facts.h) of a DVD-Video folder's information files as libdvdread
// parses them: an independent reader, which follows every offset stored in
// the file where the library reads sequentially, and which unpacks the
// attribute and category bit fields that the library carries as raw bytes.
// The bit fields are packed back into the file's bytes here, most significant
// bit first as the DVD-Video format orders them, so that they compare with the
// library's raw bytes.
//
// This is the only translation unit that includes libdvdread's headers: its
// type names and macros stay out of the library's records.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Facts.h"

struct DvdreadResult {
    bool Opened = false;               // DVDOpen and ifoOpen succeeded
    Facts Content;
    std::vector<std::string> Messages; // what libdvdread logged while opening and parsing
};

// Title_Set 0 parses the video manager (VIDEO_TS.IFO), n the title set n
// (VTS_nn_0.IFO). Disc is the folder that holds VIDEO_TS, or VIDEO_TS itself.
DvdreadResult ParseWithDvdread(const std::filesystem::path& Disc, int Title_Set);
