// libdvdread, the reader that players use, over the benchmark's DVD folder:
// opening it quietly, and checking that it parses every large table.
#pragma once

#include <string>
#include <vector>

#include <dvdread/dvd_reader.h>

#include "BenchFixtures.h"

namespace quoril_bench {

// Collects what libdvdread logs instead of printing it.
struct DvdreadLog {
    std::vector<std::string> Messages;
};

// DVDOpen of Root with its messages going to Log; nullptr when it fails.
dvd_reader_t* OpenDvdFolder(const std::filesystem::path& Root, DvdreadLog& Log);

// Opens both information files of the folder with ifoOpen and checks that
// libdvdread accepted them without a warning and read every table at its
// full size. Returns a description of everything that was wrong, or an
// empty string.
std::string CheckDvdreadParses(const DvdFolder& Folder);

}  // namespace quoril_bench
