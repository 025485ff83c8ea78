// Quoril: reads and writes the information files of DVD-Video discs.
//
// The five functions below are the library's whole interface. Each works on a
// stream that the caller owns and that holds one information file from its
// byte 0 (VIDEO_TS.IFO, VTS_nn_0.IFO or their .BUP copies):
//
//   IdentifyType  reads the 12-byte identifier at the stream's current
//                 position: 0 video manager ("DVDVIDEO-VMG"), 1 title set
//                 ("DVDVIDEO-VTS"), 2 neither or a stream of 12 bytes or less.
//   LoadIfoVMG,   fill the caller's record with every header field and every
//   LoadIfoVTS    table; each table's _OK flag tells whether its stored
//                 Last_Byte matched what was read. A table whose start sector
//                 is 0 is skipped and that part of the record keeps what it
//                 held. A count that no stream of this size could hold raises
//                 std::range_error naming the table.
//   MakeIfoVMG,   write the record as a complete file from byte 0 of an empty
//   MakeIfoVTS    stream, recomputing offsets, end addresses, table start
//                 sectors and the information file's own last sector. The
//                 caller's record is not changed. A record whose counts and
//                 arrays disagree raises std::invalid_argument naming the
//                 field, before anything is written.
#pragma once

#include <cstdint>

#include "platform/IfoStream.h"
#include "structures/Structure_IFO.h"

#define QUORIL_EXPORT __attribute__((visibility("default")))

extern "C" {
QUORIL_EXPORT std::uint8_t IdentifyType(IfoStream& Stream);
QUORIL_EXPORT void LoadIfoVMG(IfoStream& Stream, VMG& Record);
QUORIL_EXPORT void LoadIfoVTS(IfoStream& Stream, VTS& Record);
QUORIL_EXPORT void MakeIfoVMG(IfoStream& Stream, const VMG& Record);
QUORIL_EXPORT void MakeIfoVTS(IfoStream& Stream, const VTS& Record);
}

// The type codes of IdentifyType.
constexpr std::uint8_t Ifo_Type_VMG = 0;
constexpr std::uint8_t Ifo_Type_VTS = 1;
constexpr std::uint8_t Ifo_Type_Unknown = 2;
