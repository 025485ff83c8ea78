// Run-time binding of Brelloc to the Quoril library: the program is not
// linked against libquoril; it loads the library when it starts and looks up
// the five exports by name.
#pragma once

#include "library/Quoril.h"

// The five exports, resolved by name from one loaded copy of the library.
struct QuorilFunctions {
    decltype(&::IdentifyType) IdentifyType = nullptr;
    decltype(&::LoadIfoVMG) LoadIfoVMG = nullptr;
    decltype(&::LoadIfoVTS) LoadIfoVTS = nullptr;
    decltype(&::MakeIfoVMG) MakeIfoVMG = nullptr;
    decltype(&::MakeIfoVTS) MakeIfoVTS = nullptr;
};

// The library's name as the dynamic loader looks it up: next to the program
// (the program's run path is its own folder), then the usual library search.
inline constexpr const char* QuorilLibraryName = "libquoril.so.1";

// Loads the library named LibraryName (a bare name or a path) and resolves
// the five exports. The library stays loaded for the rest of the process.
// Throws std::runtime_error with a one-line message that names the library
// or the missing function and the loader's reason.
QuorilFunctions BindQuoril(const char* LibraryName = QuorilLibraryName);
