#include "Routines_IFO.h"

#include <cstring>
#include <stdexcept>

#include "Routines_Common.h"

using namespace quoril;

std::uint8_t IdentifyType(IfoStream& Stream)
{
    // A file must hold at least one byte more than its identifier.
    if (Stream.Size() <= 12) return Ifo_Type_Unknown;
    char Identifier[12];
    ReadBytes(Stream, Identifier, sizeof Identifier);
    if (std::memcmp(Identifier, "DVDVIDEO-VTS", 12) == 0) return Ifo_Type_VTS;
    if (std::memcmp(Identifier, "DVDVIDEO-VMG", 12) == 0) return Ifo_Type_VMG;
    return Ifo_Type_Unknown;
}

// ---------------------------------------------------------------------------
// Title set information file

void LoadIfoVTS(IfoStream&, VTS&)
{
    throw std::logic_error("LoadIfoVTS: not implemented");
}

void MakeIfoVTS(IfoStream&, const VTS&)
{
    throw std::logic_error("MakeIfoVTS: not implemented");
}

// ---------------------------------------------------------------------------
// Video manager information file

void LoadIfoVMG(IfoStream&, VMG&)
{
    throw std::logic_error("LoadIfoVMG: not implemented");
}

void MakeIfoVMG(IfoStream&, const VMG&)
{
    throw std::logic_error("MakeIfoVMG: not implemented");
}
