// Runs one of the benchmarked operations a fixed number of times on the large
// fixtures, for instruction counts under callgrind, which stay the same from
// run to run on a busy machine where timings do not. Only what one benchmark
// iteration does is counted (the function Measured), not the making of the
// fixtures:
//
//   valgrind --tool=callgrind --toggle-collect='*Measured*' quoril_profile load-vts 10
//
// Operations:
//   load-vts, load-vmg     a fresh record, LoadIfoVTS / LoadIfoVMG from a memory stream, the record released
//   make-vts, make-vmg     a fresh memory stream, MakeIfoVTS / MakeIfoVMG of the loaded record, the stream released
//   dvdread-vts, dvdread-vmg  libdvdread's ifoOpen and ifoClose of the same file, the reader kept open
// The DVD folder for libdvdread goes to ./profile-dvd.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>

#include <dvdread/ifo_read.h>

#include "BenchFixtures.h"
#include "DvdreadOracle.h"
#include "MemoryStream.h"
#include "Quoril.h"

namespace {

using namespace quoril_bench;

[[gnu::noinline]] void Measured(const std::function<void()>& Once, int Count)
{
    for (int I = 0; I < Count; ++I) Once();
}

template <class Record, class Make, class Load>
int Run(const Record& Source, Make MakeIfo, Load LoadIfo, bool Write, int Count)
{
    MemoryStream Bytes;
    MakeIfo(Bytes, Source);
    if (Write) {
        Record Loaded;
        Bytes.Seek(0);
        LoadIfo(Bytes, Loaded);
        Measured([&] {
            MemoryStream Out;
            MakeIfo(Out, Loaded);
        }, Count);
    } else {
        Measured([&] {
            Bytes.Seek(0);
            Record Loaded;
            LoadIfo(Bytes, Loaded);
        }, Count);
    }
    return 0;
}

int RunDvdread(int Title, int Count)
{
    const DvdFolder Folder = WriteDvdFolder(std::filesystem::absolute("profile-dvd"));
    DvdreadLog Log;
    dvd_reader_t* Dvd = OpenDvdFolder(Folder.Root, Log);
    if (Dvd == nullptr) return 1;
    bool Failed = false;
    Measured([&] {
        ifo_handle_t* Ifo = ifoOpen(Dvd, Title);
        if (Ifo == nullptr) Failed = true;
        else ifoClose(Ifo);
    }, Count);
    DVDClose(Dvd);
    return Failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string_view What = argc > 1 ? argv[1] : "";
    const int Count = argc > 2 ? std::atoi(argv[2]) : 10;
    if (What == "load-vts") return Run(LargeTitleSet(), MakeIfoVTS, LoadIfoVTS, false, Count);
    if (What == "make-vts") return Run(LargeTitleSet(), MakeIfoVTS, LoadIfoVTS, true, Count);
    if (What == "load-vmg") return Run(LargeVideoManager(), MakeIfoVMG, LoadIfoVMG, false, Count);
    if (What == "make-vmg") return Run(LargeVideoManager(), MakeIfoVMG, LoadIfoVMG, true, Count);
    if (What == "dvdread-vts") return RunDvdread(1, Count);
    if (What == "dvdread-vmg") return RunDvdread(0, Count);
    std::fprintf(stderr, "usage: quoril_profile load-vts|make-vts|load-vmg|make-vmg|dvdread-vts|dvdread-vmg [count]\n");
    return 2;
}
