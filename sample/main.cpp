// Brelloc: the sample program of the Quoril library. It binds the library's
// five exports by name, then opens its window and runs the event loop.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "CrashReporter.h"
#include "MainFrm.h"
#include "QuorilBinding.h"

namespace {

// Whether Qt can show a window: a display server is named and the platform
// is one that reaches it (not the offscreen or minimal one).
bool DisplayAvailable()
{
    const char* Platform = std::getenv("QT_QPA_PLATFORM");
    if (Platform && (std::strncmp(Platform, "offscreen", 9) == 0 || std::strncmp(Platform, "minimal", 7) == 0))
        return false;
    const char* X11 = std::getenv("DISPLAY");
    const char* Wayland = std::getenv("WAYLAND_DISPLAY");
    return (X11 && *X11) || (Wayland && *Wayland);
}

// The program cannot run without the library: say why and stop.
int RefuseToStart(int& argc, char** argv, const char* Reason)
{
    std::fprintf(stderr, "%s\n", Reason);
    if (DisplayAvailable()) {
        QApplication Application(argc, argv);
        QMessageBox::critical(nullptr, "Brelloc", QString::fromLocal8Bit(Reason));
    }
    return EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv)
{
    QuorilFunctions Quoril;
    try {
        Quoril = BindQuoril();
    } catch (const std::runtime_error& Error) {
        return RefuseToStart(argc, argv, Error.what());
    }

    TCrashReporter Application(argc, argv);
    TMainForm MainForm(Quoril);
    MainForm.show();
    return Application.exec();
}
