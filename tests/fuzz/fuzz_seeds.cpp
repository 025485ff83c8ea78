// Writes seed files for the fuzzers: title sets and video managers built in
// code by the tests' builders and laid out by the library's own writers.
#include <cstdio>
#include <filesystem>

#include "MemoryStream.h"
#include "Quoril.h"
#include "VTSBuilders.h"
#include "VmgBuilders.h"

namespace {

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

    Save(VtsDir / "full.ifo", vts_fixture::MakeRichVTS(), MakeIfoVTS);
    Save(VtsDir / "bare.ifo", vts_fixture::MakeHeaderOnlyVTS(), MakeIfoVTS);
    Save(VmgDir / "full.ifo", vmg_test::RichVMG(), MakeIfoVMG);
    Save(VmgDir / "titles-only.ifo", vmg_test::OnlyTitles(vmg_test::Titles(2)), MakeIfoVMG);
    return 0;
}
