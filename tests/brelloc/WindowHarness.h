// Drives Brelloc's real window in a test: the open dialog answers with a
// path the test chooses, and message boxes, the window's and the crash
// reporter's, are recorded instead of shown. The commands run in full through
// clicks on their buttons.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>

#include "CrashReporter.h"
#include "MainFrm.h"

class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    // Step 1 with Path chosen in the dialog, or cancelled.
    void Open(const QString& Path);
    void CancelOpen();
    // Steps 2 and 3.
    void Recompute();
    void Save();

    // The texts of all labels that the commands set, in a fixed order.
    QStringList LabelTexts() const;

    TMainForm Form;
    QStringList Messages;   // message boxes of the window, in order
    QStringList Errors;     // errors the crash reporter showed, in order

private:
    QString NextChoice;
};

// Runs the QTest object under Brelloc's own application object, so that
// errors escaping a command reach the crash reporter as in the program.
#define BRELLOC_TEST_MAIN(TestObject)                      \
    int main(int argc, char** argv)                        \
    {                                                      \
        TCrashReporter Application(argc, argv);            \
        TestObject Test;                                   \
        return QTest::qExec(&Test, argc, argv);            \
    }
