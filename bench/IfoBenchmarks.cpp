// Loads and writes of a very large title set and video manager with Quoril,
// side by side with libdvdread's ifoOpen of the same files, and the peak
// memory of a load.
//
// Usage: quoril_bench [--fixture_dir=DIR] [Google Benchmark flags]
// The DVD folder is written to DIR (default: ./bench-dvd) and checked with
// libdvdread before any benchmark runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

#include <dvdread/ifo_read.h>

#include "AllocationTracker.h"
#include "BenchFixtures.h"
#include "DvdreadOracle.h"
#include "MemoryStream.h"
#include "Quoril.h"

namespace quoril_bench {

namespace {

template <class Record>
void LoadInto(IfoStream& Stream, Record& Target)
{
    if constexpr (std::is_same_v<Record, VTS>) LoadIfoVTS(Stream, Target);
    else LoadIfoVMG(Stream, Target);
}

template <class Record>
void MakeFrom(IfoStream& Stream, const Record& Source)
{
    if constexpr (std::is_same_v<Record, VTS>) MakeIfoVTS(Stream, Source);
    else MakeIfoVMG(Stream, Source);
}

template <class Record>
Record Loaded(const std::vector<std::uint8_t>& Bytes)
{
    MemoryStream Stream(Bytes);
    Record Target;
    LoadInto(Stream, Target);
    return Target;
}

void SetFileSize(benchmark::State& State, std::size_t Bytes)
{
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * static_cast<std::int64_t>(Bytes));
    State.counters["file_bytes"] = static_cast<double>(Bytes);
}

// LoadIfoVTS / LoadIfoVMG from a memory stream into a fresh record, which is
// released again, as ifoClose releases what ifoOpen built.
template <class Record>
void LoadFromMemory(benchmark::State& State, const std::vector<std::uint8_t>& Bytes)
{
    MemoryStream Stream(Bytes);
    for (auto _ : State) {
        Stream.Seek(0);
        Record Target;
        LoadInto(Stream, Target);
        benchmark::DoNotOptimize(Target);
    }
    SetFileSize(State, Bytes.size());
}

// MakeIfoVTS / MakeIfoVMG of the loaded record into a fresh memory stream.
template <class Record>
void MakeToMemory(benchmark::State& State, const std::vector<std::uint8_t>& Bytes)
{
    const Record Source = Loaded<Record>(Bytes);
    for (auto _ : State) {
        MemoryStream Out;
        MakeFrom(Out, Source);
        benchmark::DoNotOptimize(Out.Bytes().data());
    }
    SetFileSize(State, Bytes.size());
}

// Brelloc's open command without the window: load the whole file into a
// memory stream, identify it, load it into a record, release everything.
template <class Record>
void OpenCommand(const std::filesystem::path& Path)
{
    MemoryStream Stream;
    Stream.LoadFromFile(Path);
    const std::uint8_t Type = IdentifyType(Stream);
    if (Type != (std::is_same_v<Record, VTS> ? Ifo_Type_VTS : Ifo_Type_VMG)) std::abort();
    Record Target;
    LoadInto(Stream, Target);
    benchmark::DoNotOptimize(Target);
}

template <class Record>
void OpenCommandBenchmark(benchmark::State& State, const std::filesystem::path& Path, std::size_t Size)
{
    for (auto _ : State) OpenCommand<Record>(Path);
    SetFileSize(State, Size);
}

// ifoOpen + ifoClose with the dvd_reader_t kept open across iterations.
void DvdreadIfoOpen(benchmark::State& State, const DvdFolder& Folder, int Title, std::size_t Size)
{
    DvdreadLog Log;
    dvd_reader_t* Dvd = OpenDvdFolder(Folder.Root, Log);
    if (Dvd == nullptr) {
        State.SkipWithError("DVDOpen failed");
        return;
    }
    for (auto _ : State) {
        ifo_handle_t* Ifo = ifoOpen(Dvd, Title);
        if (Ifo == nullptr) {
            State.SkipWithError("ifoOpen failed");
            break;
        }
        ifoClose(Ifo);
    }
    DVDClose(Dvd);
    SetFileSize(State, Size);
}

// DVDOpen + ifoOpen + ifoClose + DVDClose: everything from a path, as the
// open command does.
void DvdreadOpenAll(benchmark::State& State, const DvdFolder& Folder, int Title, std::size_t Size)
{
    for (auto _ : State) {
        DvdreadLog Log;
        dvd_reader_t* Dvd = OpenDvdFolder(Folder.Root, Log);
        ifo_handle_t* Ifo = Dvd != nullptr ? ifoOpen(Dvd, Title) : nullptr;
        if (Ifo == nullptr) {
            State.SkipWithError("DVDOpen or ifoOpen failed");
            if (Dvd != nullptr) DVDClose(Dvd);
            break;
        }
        ifoClose(Ifo);
        DVDClose(Dvd);
    }
    SetFileSize(State, Size);
}

// The most memory that Run allocates through operator new at any moment, as
// bytes and as a multiple of the file's size.
template <class Run>
void PeakMemory(benchmark::State& State, std::size_t Size, Run&& Measured)
{
    std::int64_t Peak = 0;
    for (auto _ : State) {
        StartAllocationCount();
        Measured();
        Peak = std::max(Peak, StopAllocationCount());
    }
    State.counters["peak_bytes"] = static_cast<double>(Peak);
    State.counters["file_bytes"] = static_cast<double>(Size);
    State.counters["peak_per_file_size"] = static_cast<double>(Peak) / static_cast<double>(Size);
}

template <class Record>
void RegisterKind(const char* Name, int Title, const DvdFolder& Folder, const std::filesystem::path& Path,
                  const std::vector<std::uint8_t>& Bytes)
{
    const std::string Suffix = std::string("/") + Name;
    const std::size_t Size = Bytes.size();
    benchmark::RegisterBenchmark(("Quoril/Load" + Suffix).c_str(),
                                 [&Bytes](benchmark::State& S) { LoadFromMemory<Record>(S, Bytes); });
    benchmark::RegisterBenchmark(("Quoril/Make" + Suffix).c_str(),
                                 [&Bytes](benchmark::State& S) { MakeToMemory<Record>(S, Bytes); });
    benchmark::RegisterBenchmark(("Quoril/OpenCommand" + Suffix).c_str(),
                                 [Path, Size](benchmark::State& S) { OpenCommandBenchmark<Record>(S, Path, Size); });
    benchmark::RegisterBenchmark(("libdvdread/ifoOpen+ifoClose" + Suffix).c_str(),
                                 [&Folder, Title, Size](benchmark::State& S) { DvdreadIfoOpen(S, Folder, Title, Size); });
    benchmark::RegisterBenchmark(("libdvdread/DVDOpen+ifoOpen+ifoClose+DVDClose" + Suffix).c_str(),
                                 [&Folder, Title, Size](benchmark::State& S) { DvdreadOpenAll(S, Folder, Title, Size); });

    benchmark::RegisterBenchmark(("PeakMemory/Load" + Suffix).c_str(), [&Bytes, Size](benchmark::State& S) {
        MemoryStream Stream(Bytes);
        PeakMemory(S, Size, [&] {
            Stream.Seek(0);
            Record Target;
            LoadInto(Stream, Target);
            benchmark::DoNotOptimize(Target);
        });
    })->Iterations(1);
    benchmark::RegisterBenchmark(("PeakMemory/OpenCommand" + Suffix).c_str(), [Path, Size](benchmark::State& S) {
        PeakMemory(S, Size, [&] { OpenCommand<Record>(Path); });
    })->Iterations(1);
    benchmark::RegisterBenchmark(("PeakMemory/Make" + Suffix).c_str(), [&Bytes, Size](benchmark::State& S) {
        const Record Source = Loaded<Record>(Bytes);
        PeakMemory(S, Size, [&] {
            MemoryStream Out;
            MakeFrom(Out, Source);
            benchmark::DoNotOptimize(Out.Bytes().data());
        });
    })->Iterations(1);
}

// Takes --fixture_dir=DIR out of the arguments.
std::filesystem::path FixtureDir(int& argc, char** argv)
{
    std::filesystem::path Dir = "bench-dvd";
    constexpr std::string_view Flag = "--fixture_dir=";
    int Kept = 1;
    for (int I = 1; I < argc; ++I) {
        if (std::string_view(argv[I]).starts_with(Flag)) Dir = argv[I] + Flag.size();
        else argv[Kept++] = argv[I];
    }
    argc = Kept;
    return Dir;
}

}  // namespace

}  // namespace quoril_bench

int main(int argc, char** argv)
{
    using namespace quoril_bench;
    const std::filesystem::path Dir = FixtureDir(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const DvdFolder Folder = WriteDvdFolder(std::filesystem::absolute(Dir));
    const std::string Problems = CheckDvdreadParses(Folder);
    if (!Problems.empty()) {
        std::fprintf(stderr, "The benchmark's DVD folder %s is not what libdvdread accepts in full:\n%s",
                     Folder.Root.c_str(), Problems.c_str());
        return 1;
    }
    benchmark::AddCustomContext("vts_file_bytes", std::to_string(Folder.VtsBytes.size()));
    benchmark::AddCustomContext("vmg_file_bytes", std::to_string(Folder.VmgBytes.size()));
    benchmark::AddCustomContext("dvd_folder", Folder.Root.string());

    RegisterKind<VTS>("VTS", 1, Folder, Folder.VtsIfo, Folder.VtsBytes);
    RegisterKind<VMG>("VMG", 0, Folder, Folder.VmgIfo, Folder.VmgBytes);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
