// Counts the bytes that operator new hands out while a measurement is open,
// so that a benchmark can report the peak memory of a load. The hook replaces
// the global allocation functions of the whole process, so allocations made
// inside the shared library are counted too; malloc calls (libdvdread's) are
// not.
#pragma once

#include <cstdint>

namespace quoril_bench {

// Starts counting from zero: blocks freed during the measurement that were
// allocated before it count negative, so the peak is the growth above the
// memory in use when the measurement began.
void StartAllocationCount();

// Stops counting and returns the highest number of bytes in use, above the
// start, at any moment since StartAllocationCount.
std::int64_t StopAllocationCount();

}  // namespace quoril_bench
