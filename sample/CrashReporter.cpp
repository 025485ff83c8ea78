#include "CrashReporter.h"

#include <QMessageBox>

#include <cstdio>
#include <exception>

TCrashReporter::TCrashReporter(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Brelloc");
    ShowError = [](const QString& Text) {
        QMessageBox::critical(QApplication::activeWindow(), "Brelloc", Text);
    };
}

bool TCrashReporter::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& Error) {
        Report(QString::fromLocal8Bit(Error.what()));
    } catch (...) {
        Report("unknown error");
    }
    // The event reached its receiver; the command it started has failed.
    return true;
}

void TCrashReporter::Report(const QString& Text)
{
    // One line on stderr, whatever the text holds.
    QString Line = Text;
    Line.replace('\n', ' ');
    std::fprintf(stderr, "Brelloc: error: %s\n", Line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (ShowError) ShowError(Text);
}
