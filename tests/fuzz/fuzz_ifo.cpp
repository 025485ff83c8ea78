// libFuzzer target over the library's readers, on arbitrary bytes.
//
// Every input must end in a loaded record or a std::range_error; anything
// else (another exception, a crash, a sanitizer report, an allocation out of
// proportion to the input) is a finding. Every record that loads is written
// again: the writer either refuses it with std::invalid_argument, leaving the
// stream untouched, or produces a file that loads back to the same record,
// recomputed fields aside, and that writes again to the same bytes.
#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "MemoryStream.h"
#include "Quoril.h"
#include "support/Normalize.h"

// ---------------------------------------------------------------------------
// Allocation accounting through the sanitizer allocator's hooks: the bytes
// live at the peak of one load, and the largest single request, compared with
// the input's size.

namespace {
std::size_t Live = 0, Peak = 0, Largest = 0;
bool Counting = false;

void OnMalloc(const volatile void*, std::size_t Size)
{
    if (!Counting) return;
    Live += Size;
    if (Live > Peak) Peak = Live;
    if (Size > Largest) Largest = Size;
}

void OnFree(const volatile void* Block)
{
    if (!Counting || Block == nullptr) return;
    const std::size_t Size = __sanitizer_get_allocated_size(const_cast<const void*>(Block));
    Live = Size > Live ? 0 : Live - Size;
}

const int Hooks_Installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);

// The largest peak and single allocation seen, relative to the input's size,
// printed when the fuzzer ends.
struct Extremes {
    double Peak_Ratio = 0, Largest_Ratio = 0;
    std::size_t Peak_Bytes = 0, Largest_Bytes = 0;
    ~Extremes()
    {
        std::fprintf(stderr, "stat::load_peak_per_input_byte: %.1f (%zu bytes)\n", Peak_Ratio, Peak_Bytes);
        std::fprintf(stderr, "stat::load_largest_allocation_per_input_byte: %.1f (%zu bytes)\n", Largest_Ratio,
                     Largest_Bytes);
    }
    // Inputs shorter than a header sector are left out: there the record's
    // fixed part, not the input, sets what a load takes.
    void Note(std::size_t Input_Size)
    {
        if (Input_Size < 2048) return;
        const double P = double(Peak) / double(Input_Size), L = double(Largest) / double(Input_Size);
        if (P > Peak_Ratio) Peak_Ratio = P, Peak_Bytes = Peak;
        if (L > Largest_Ratio) Largest_Ratio = L, Largest_Bytes = Largest;
    }
} Seen;
}  // namespace

namespace {

[[noreturn]] void Finding(const char* What)
{
    std::fprintf(stderr, "FINDING: %s\n", What);
    std::abort();
}

// A loader may use this many bytes per byte of input, plus a fixed allowance
// for the record's own fixed part and small buffers.
constexpr std::size_t Bytes_per_Input_Byte = 64;
constexpr std::size_t Fixed_Allowance = 1 << 20;

template <class Record, class Load, class Make>
void CheckKind(const std::vector<std::uint8_t>& Input, Load LoadIfo, Make MakeIfo)
{
    MemoryStream In(Input);
    Record Loaded;
    Live = Peak = Largest = 0;
    Counting = true;
    try {
        LoadIfo(In, Loaded);
    } catch (const std::range_error&) {
        Counting = false;
        Seen.Note(Input.size());
        return;
    } catch (...) {
        Finding("a loader raised something other than std::range_error");
    }
    Counting = false;
    Seen.Note(Input.size());
    const std::size_t Limit = Bytes_per_Input_Byte * Input.size() + Fixed_Allowance;
    if (Peak > Limit) Finding("a load used more memory than its bound");
    if (Largest > Limit) Finding("a load made an allocation larger than its bound");

    MemoryStream Out;
    try {
        MakeIfo(Out, Loaded);
    } catch (const std::invalid_argument&) {
        if (Out.Size() != 0) Finding("a refused record left bytes in the stream");
        return;
    }
    if (Out.Size() % 2048 != 0) Finding("a written file is not a whole number of sectors");

    Record Reloaded;
    MemoryStream Again(Out.Bytes());
    try {
        LoadIfo(Again, Reloaded);
    } catch (...) {
        Finding("our own output does not load");
    }
    if (!(quoril_test::Normalized(Reloaded) == quoril_test::Normalized(Loaded)))
        Finding("the record read back differs from the record written");

    MemoryStream Twice;
    MakeIfo(Twice, Reloaded);
    if (Twice.Bytes() != Out.Bytes()) Finding("writing a reloaded record gives other bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::vector<std::uint8_t> Input(Data, Data + Size);
    {
        MemoryStream Stream(Input);
        const std::uint8_t Type = IdentifyType(Stream);
        if (Type > 2) Finding("IdentifyType answered outside 0..2");
    }
    // The reader sees every input, whatever its identifier says: the
    // identifier is the caller's business, not the loader's.
#if QUORIL_FUZZ_KIND == 0
    CheckKind<VMG>(Input, LoadIfoVMG, MakeIfoVMG);
#else
    CheckKind<VTS>(Input, LoadIfoVTS, MakeIfoVTS);
#endif
    return 0;
}
