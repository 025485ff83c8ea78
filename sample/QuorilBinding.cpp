#include "QuorilBinding.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

// The library's name as dlopen is to take it: a bare name is looked for next
// to the program first. The program's run path says the same, but a loader
// that wraps dlopen (as AddressSanitizer does) searches with the wrapper's
// run path instead of the program's.
std::string LibraryToOpen(const char* LibraryName)
{
    const std::string Name = LibraryName;
    if (Name.find('/') != std::string::npos) return Name;
    std::error_code Error;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error) return Name;
    const std::filesystem::path Beside = Program.parent_path() / Name;
    return std::filesystem::exists(Beside, Error) ? Beside.string() : Name;
}

std::string LoaderReason()
{
    const char* Reason = ::dlerror();
    return Reason ? Reason : "unknown reason";
}

template <typename Function>
void Resolve(void* Library, const char* LibraryName, const char* Name, Function& Target)
{
    ::dlerror();   // clear any earlier report
    void* Address = ::dlsym(Library, Name);
    if (!Address)
        throw std::runtime_error(std::string("Brelloc: ") + LibraryName + " has no function " + Name + ": " +
                                 LoaderReason());
    Target = reinterpret_cast<Function>(Address);
}

}  // namespace

QuorilFunctions BindQuoril(const char* LibraryName)
{
    void* Library = ::dlopen(LibraryToOpen(LibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!Library)
        throw std::runtime_error(std::string("Brelloc: cannot load ") + LibraryName + ": " + LoaderReason());

    QuorilFunctions Quoril;
    try {
        Resolve(Library, LibraryName, "IdentifyType", Quoril.IdentifyType);
        Resolve(Library, LibraryName, "LoadIfoVMG", Quoril.LoadIfoVMG);
        Resolve(Library, LibraryName, "LoadIfoVTS", Quoril.LoadIfoVTS);
        Resolve(Library, LibraryName, "MakeIfoVMG", Quoril.MakeIfoVMG);
        Resolve(Library, LibraryName, "MakeIfoVTS", Quoril.MakeIfoVTS);
    } catch (...) {
        ::dlclose(Library);
        throw;
    }
    return Quoril;
}
