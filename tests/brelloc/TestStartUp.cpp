// Brelloc binds libquoril by name when it starts and refuses to start without
// it: the built program is copied into a folder of its own (its run path is
// its own folder) and started there with no library, and with a library that
// lacks one of the five functions.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void refusesToStartWithoutTheLibrary_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("message");
        QTest::newRow("no library") << "" << "Brelloc: cannot load libquoril.so.1: libquoril.so.1: cannot open shared object file";
        QTest::newRow("library without MakeIfoVTS") << INCOMPLETE_LIBRARY << "Brelloc: libquoril.so.1 has no function MakeIfoVTS: ";
    }

    void refusesToStartWithoutTheLibrary()
    {
        QFETCH(QString, library);
        QFETCH(QString, message);
        QTemporaryDir Folder;
        const QString Program = Folder.filePath("brelloc");
        QVERIFY(QFile::copy(BRELLOC_PROGRAM, Program));
        if (!library.isEmpty()) QVERIFY(QFile::copy(library, Folder.filePath("libquoril.so.1")));

        QProcess Run;
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.remove("LD_LIBRARY_PATH");
        Environment.remove("DISPLAY");
        Environment.remove("WAYLAND_DISPLAY");
        Environment.insert("QT_QPA_PLATFORM", "offscreen");
        Run.setProcessEnvironment(Environment);
        Run.start(Program, {});
        QVERIFY2(Run.waitForStarted(), qPrintable(Run.errorString()));
        if (!Run.waitForFinished(120000)) {
            Run.kill();
            QFAIL("Brelloc started although it should have refused to");
        }
        QCOMPARE(Run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(Run.exitCode(), 1);
        const QString Error = QString::fromLocal8Bit(Run.readAllStandardError());
        QVERIFY2(Error.startsWith(message), qPrintable(Error));
        QVERIFY2(Error.endsWith('\n') && Error.count('\n') == 1, qPrintable(Error));
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "TestStartUp.moc"
