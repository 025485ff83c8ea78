// A stand-in for libquoril.so.1 that exports four of the five functions:
// MakeIfoVTS is missing. Brelloc must refuse to start with it.
#include "library/Quoril.h"

std::uint8_t IdentifyType(IfoStream&) { return Ifo_Type_Unknown; }
void LoadIfoVMG(IfoStream&, VMG&) {}
void LoadIfoVTS(IfoStream&, VTS&) {}
void MakeIfoVMG(IfoStream&, const VMG&) {}
