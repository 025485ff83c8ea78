// Names the place of a byte in an information file: the header field that
// holds it, or the table whose sectors hold it, so that a byte that a rewrite
// changed can be reported as "VTS_C_ADT+0x14" rather than as a bare offset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "structures/Structure_IFO.h"

std::string PlaceOfByte(const VMG& Record, std::uint32_t Offset);
std::string PlaceOfByte(const VTS& Record, std::uint32_t Offset);

// The first Limit bytes in which Expected and Actual differ, each with its
// place and both values, and the two lengths when they differ.
template <typename Record>
std::string DescribeByteDifferences(const Record& Layout, const std::vector<std::uint8_t>& Expected,
                                    const std::vector<std::uint8_t>& Actual, std::size_t Limit = 24);
