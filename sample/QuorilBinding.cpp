#include "QuorilBinding.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace {

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
    void* Library = ::dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
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
