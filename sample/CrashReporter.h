// Brelloc's crash reporting: the application object catches every exception
// that escapes a command while Qt delivers an event, reports it, and lets the
// event loop go on. The command stops where the error arose; the window stays
// usable. The window's own code never calls this layer.
#pragma once

#include <QApplication>
#include <QString>

#include <functional>

class TCrashReporter : public QApplication {
    Q_OBJECT

public:
    TCrashReporter(int& argc, char** argv);

    bool notify(QObject* Receiver, QEvent* Event) override;

    // Shows the error to the user; by default a critical message box titled
    // "Brelloc" with the error's text. Tests replace it.
    std::function<void(const QString& Text)> ShowError;

private:
    void Report(const QString& Text);
};
