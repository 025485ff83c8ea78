// Writes seed files for the fuzzers: title sets and video managers built in
// code and laid out by the library's own writers, small enough for the
// fuzzer to mutate quickly.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "MemoryStream.h"
#include "Quoril.h"
#include "support/SampleRecords.h"

namespace {

using quoril_test::SampleManager;
using quoril_test::SampleTitleSet;

template <class Record, class Make>
void Save(const std::filesystem::path& Path, const Record& Seed, Make MakeIfo)
{
    MemoryStream Out;
    MakeIfo(Out, Seed);
    Out.SaveToFile(Path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds VMG_DIR VTS_DIR\n");
        return 2;
    }
    const std::filesystem::path VmgDir = argv[1], VtsDir = argv[2];
    std::filesystem::create_directories(VmgDir);
    std::filesystem::create_directories(VtsDir);

    Save(VtsDir / "full.ifo", SampleTitleSet(), MakeIfoVTS);
    VTS Bare;
    std::memcpy(Bare.Identifier.data(), "DVDVIDEO-VTS", 12);
    Save(VtsDir / "bare.ifo", Bare, MakeIfoVTS);

    Save(VmgDir / "full.ifo", SampleManager(), MakeIfoVMG);
    VMG Titles = SampleManager();
    Titles.Start_Sector_of_VMGM_PGCI_UT = Titles.Start_Sector_of_PTL_MAIT = Titles.Start_Sector_of_VTS_ATRT = 0;
    Titles.Start_Sector_of_TXTDT_MGI = Titles.Start_Sector_of_VMGM_C_ADT = Titles.Start_Sector_of_VMGM_VOBU_ADMAP = 0;
    Save(VmgDir / "titles-only.ifo", Titles, MakeIfoVMG);
    return 0;
}
