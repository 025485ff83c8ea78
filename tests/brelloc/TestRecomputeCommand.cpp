// Step 2, B_GetClick: the last sector of a title set or video manager counted
// from the sizes of its IFO, its backup and its VOB files.
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <filesystem>

#include "FileNames.h"
#include "Fixtures.h"
#include "WindowHarness.h"

using FileSizes = QList<QPair<QString, qint64>>;

namespace {

constexpr qint64 Sectors(qint64 Count) { return Count * Sector_Size; }

}  // namespace

class TestRecomputeCommand : public QObject {
    Q_OBJECT

private slots:
    void countsTheVobsOfATitleSet_data()
    {
        QTest::addColumn<QString>("ifoName");
        QTest::addColumn<FileSizes>("files");
        QTest::addColumn<uint>("expected");

        // The IFO has 16 sectors: 32 for the IFO and its backup.
        QTest::newRow("menu VOB and title VOB")
            << "VTS_01_0.IFO" << FileSizes{{"VTS_01_0.VOB", Sectors(100)}, {"VTS_01_1.VOB", Sectors(500) + 100}} << 631u;
        QTest::newRow("2047 bytes add nothing") << "VTS_01_0.IFO" << FileSizes{{"VTS_01_1.VOB", 2047}} << 31u;
        QTest::newRow("4095 bytes add one sector") << "VTS_01_0.IFO" << FileSizes{{"VTS_01_1.VOB", 4095}} << 32u;
        QTest::newRow("no VOB") << "VTS_01_0.IFO" << FileSizes{} << 31u;
        QTest::newRow("all ten VOBs")
            << "VTS_01_0.IFO"
            << FileSizes{{"VTS_01_0.VOB", Sectors(1)}, {"VTS_01_1.VOB", Sectors(2)}, {"VTS_01_2.VOB", Sectors(3)},
                         {"VTS_01_3.VOB", Sectors(4)}, {"VTS_01_4.VOB", Sectors(5)}, {"VTS_01_5.VOB", Sectors(6)},
                         {"VTS_01_6.VOB", Sectors(7)}, {"VTS_01_7.VOB", Sectors(8)}, {"VTS_01_8.VOB", Sectors(9)},
                         {"VTS_01_9.VOB", Sectors(10)}}
            << 86u;
        QTest::newRow("_10 is not a VOB of the set")
            << "VTS_01_0.IFO" << FileSizes{{"VTS_01_10.VOB", Sectors(100)}, {"VTS_01_9.VOB", Sectors(1)}} << 32u;
        QTest::newRow("other title sets and the backup are not counted")
            << "VTS_01_0.IFO"
            << FileSizes{{"VTS_01_0.BUP", Sectors(16)}, {"VTS_02_1.VOB", Sectors(50)}, {"VIDEO_TS.VOB", Sectors(50)},
                         {"VTS_01_1.VOB", Sectors(4)}}
            << 35u;
        QTest::newRow("lower-case names")
            << "vts_01_0.ifo" << FileSizes{{"vts_01_0.vob", Sectors(3)}, {"vts_01_1.vob", Sectors(4)}} << 38u;
        QTest::newRow("mixed-case names")
            << "Vts_01_0.Ifo" << FileSizes{{"vts_01_0.VOB", Sectors(3)}, {"VTS_01_1.Vob", Sectors(4)}} << 38u;
        QTest::newRow("a folder named like a VOB") << "VTS_01_0.IFO" << FileSizes{{"VTS_01_1.VOB/", 0}} << 31u;
        QTest::newRow("3 GiB VOB") << "VTS_01_0.IFO" << FileSizes{{"VTS_01_1.VOB", 3LL << 30}} << 31u + 1572864u;
    }

    void countsTheVobsOfATitleSet()
    {
        QFETCH(QString, ifoName);
        QFETCH(FileSizes, files);
        QFETCH(uint, expected);
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath(ifoName);
        WriteFile(Ifo, TitleSetFile(16, 7));
        for (const auto& [Name, Size] : files) {
            if (Name.endsWith('/'))
                QVERIFY(QDir(Folder.path()).mkdir(Name.chopped(1)));
            else
                MakeFileOfSize(Folder.filePath(Name), Size);
        }
        WindowHarness Window;
        Window.Open(Ifo);

        Window.Recompute();
        QCOMPARE(Window.Form.L_Ricalcolato->text(), "Corrected: " + QString::number(expected));
        QCOMPARE(Window.Form.TitleSet().Last_Sector_of_VTS, expected);
        QVERIFY(Window.Form.B_Save->isEnabled());
        QVERIFY(Window.Errors.isEmpty());
    }

    void countsTheMenuVobOfAVideoManager_data()
    {
        QTest::addColumn<QString>("ifoName");
        QTest::addColumn<FileSizes>("files");
        QTest::addColumn<uint>("expected");

        // The IFO has 3 sectors: 6 for the IFO and its backup.
        QTest::newRow("upper-case names")
            << "VIDEO_TS.IFO" << FileSizes{{"VIDEO_TS.VOB", Sectors(10) + 2047}, {"VTS_01_1.VOB", Sectors(50)}} << 15u;
        QTest::newRow("lower-case names") << "video_ts.ifo" << FileSizes{{"video_ts.vob", Sectors(10)}} << 15u;
        QTest::newRow("no menu VOB") << "VIDEO_TS.IFO" << FileSizes{{"VTS_01_0.VOB", Sectors(50)}} << 5u;
    }

    void countsTheMenuVobOfAVideoManager()
    {
        QFETCH(QString, ifoName);
        QFETCH(FileSizes, files);
        QFETCH(uint, expected);
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath(ifoName);
        WriteFile(Ifo, VideoManagerFile(3, 7));
        for (const auto& [Name, Size] : files) MakeFileOfSize(Folder.filePath(Name), Size);
        WindowHarness Window;
        Window.Open(Ifo);

        Window.Recompute();
        QCOMPARE(Window.Form.L_Ricalcolato->text(), "Corrected: " + QString::number(expected));
        QCOMPARE(Window.Form.VideoManager().Last_Sector_of_VMG, expected);
        QVERIFY(Window.Form.B_Save->isEnabled());
    }

    void countsAVobThatCanOnlyBeRead()
    {
        // A program file that is running cannot be opened for writing, not
        // even by root (ETXTBSY): a copy of sleep, padded to 100 sectors,
        // serves as the title VOB while it runs.
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath("VTS_01_0.IFO");
        WriteFile(Ifo, TitleSetFile(16, 7));
        const QString Vob = Folder.filePath("VTS_01_1.VOB");
        const QString Sleep = QStandardPaths::findExecutable("sleep");
        QVERIFY(!Sleep.isEmpty());
        QVERIFY(QFile::copy(Sleep, Vob));
        QVERIFY(QFileInfo(Vob).size() < Sectors(100));
        // An ELF program still runs with zero bytes appended.
        std::filesystem::resize_file(ToPath(Vob), Sectors(100));
        QVERIFY(QFile::setPermissions(Vob, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcess Running;
        Running.start(Vob, {"600"});
        QVERIFY2(Running.waitForStarted(), qPrintable(Running.errorString()));
        const int Writable = ::open(QFile::encodeName(Vob).constData(), O_RDWR);
        const int Reason = errno;
        if (Writable >= 0) ::close(Writable);
        QCOMPARE(Writable, -1);
        QCOMPARE(Reason, ETXTBSY);

        WindowHarness Window;
        Window.Open(Ifo);
        Window.Recompute();
        Running.kill();
        Running.waitForFinished();
        QCOMPARE(Window.Form.L_Ricalcolato->text(), QString("Corrected: 131"));
    }

    void wrapsBelowZeroWhenTheIfoSizeIsZero()
    {
        // A stored Last_Sector_of_VTSI of 0xFFFFFFFF makes the IFO 0 sectors.
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath("VTS_01_0.IFO");
        QByteArray File = TitleSetFile(1, 7);
        File.replace(0x1C, 4, QByteArray(4, char(0xFF)));
        WriteFile(Ifo, File);
        WindowHarness Window;
        Window.Open(Ifo);
        QCOMPARE(Window.Form.FileSectors(), 0u);

        Window.Recompute();
        QCOMPARE(Window.Form.L_Ricalcolato->text(), QString("Corrected: 4294967295"));
        QCOMPARE(Window.Form.TitleSet().Last_Sector_of_VTS, 0xFFFFFFFFu);
    }

    void countsTheCurrentFolderBeforeAnyOpen_data()
    {
        QTest::addColumn<FileSizes>("files");
        QTest::addColumn<QString>("corrected");
        QTest::newRow("empty folder") << FileSizes{} << "Corrected: 4294967295";
        QTest::newRow("a menu VOB") << FileSizes{{"VIDEO_TS.VOB", Sectors(5)}} << "Corrected: 4";
    }

    void countsTheCurrentFolderBeforeAnyOpen()
    {
        QFETCH(FileSizes, files);
        QFETCH(QString, corrected);
        QTemporaryDir Folder;
        for (const auto& [Name, Size] : files) MakeFileOfSize(Folder.filePath(Name), Size);
        const QString Previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(Folder.path()));
        WindowHarness Window;
        Window.Recompute();
        QDir::setCurrent(Previous);
        QCOMPARE(Window.Form.L_Ricalcolato->text(), corrected);
        QCOMPARE(Window.Form.VideoManager().Last_Sector_of_VMG, corrected.mid(11).toUInt());
        QVERIFY(Window.Form.B_Save->isEnabled());
    }

    void changesNoRecordAfterAFileThatIsNotAnIfo()
    {
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath("VTS_01_0.IFO");
        WriteFile(Ifo, TitleSetFile(16, 7));
        MakeFileOfSize(Folder.filePath("VTS_01_1.VOB"), Sectors(100));
        const QString Other = Folder.filePath("VTS_02_0.IFO");
        WriteFile(Other, "not an information file");
        WindowHarness Window;
        Window.Open(Ifo);
        Window.Recompute();
        QCOMPARE(Window.Form.TitleSet().Last_Sector_of_VTS, 131u);
        Window.Open(Other);

        Window.Recompute();
        QCOMPARE(Window.Form.L_Ricalcolato->text(), QString("Corrected: 31"));
        QCOMPARE(Window.Form.TitleSet().Last_Sector_of_VTS, 131u);
        QCOMPARE(Window.Form.VideoManager().Last_Sector_of_VMG, 0u);
        QVERIFY(Window.Form.B_Save->isEnabled());
    }
};

BRELLOC_TEST_MAIN(TestRecomputeCommand)
#include "TestRecomputeCommand.moc"
