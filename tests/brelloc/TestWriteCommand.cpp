// Step 3, B_SaveClick: the IFO and its backup written through the library,
// each replaced atomically, the backup matched without regard to case.
#include <signal.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <QTest>

#include "Fixtures.h"
#include "WindowHarness.h"

namespace {

constexpr std::uint32_t Ifo_Sectors = 16;
constexpr std::uint32_t Vob_Sectors = 40;
constexpr std::uint32_t Corrected = 2 * Ifo_Sectors + Vob_Sectors - 1;

// Lowers the largest file this process may write, for as long as it lives;
// writing past it fails with EFBIG, whoever the user is.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &Saved);
        OldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit Lower = Saved;
        Lower.rlim_cur = Bytes;
        ::setrlimit(RLIMIT_FSIZE, &Lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &Saved);
        ::signal(SIGXFSZ, OldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit Saved{};
    sighandler_t OldHandler = SIG_DFL;
};

}  // namespace

class TestWriteCommand : public QObject {
    Q_OBJECT

private slots:
    void writesTheIfoAndItsBackup_data()
    {
        QTest::addColumn<bool>("titleSet");
        QTest::addColumn<QString>("ifoName");
        QTest::addColumn<QString>("vobName");
        QTest::addColumn<QString>("existingBackup");
        QTest::addColumn<QString>("writtenBackup");

        QTest::newRow("title set as on a disc") << true << "VTS_01_0.IFO" << "VTS_01_1.VOB" << "VTS_01_0.BUP"
                                                << "VTS_01_0.BUP";
        QTest::newRow("title set, upper case, no backup")
            << true << "VTS_01_0.IFO" << "VTS_01_1.VOB" << "" << "VTS_01_0.BUP";
        QTest::newRow("title set, lower case, no backup")
            << true << "vts_01_0.ifo" << "vts_01_1.vob" << "" << "vts_01_0.bup";
        QTest::newRow("title set, lower-case IFO beside an upper-case backup")
            << true << "vts_01_0.ifo" << "VTS_01_1.VOB" << "VTS_01_0.BUP" << "VTS_01_0.BUP";
        QTest::newRow("video manager as on a disc")
            << false << "VIDEO_TS.IFO" << "VIDEO_TS.VOB" << "VIDEO_TS.BUP" << "VIDEO_TS.BUP";
        QTest::newRow("video manager, lower case, no backup")
            << false << "video_ts.ifo" << "video_ts.vob" << "" << "video_ts.bup";
    }

    void writesTheIfoAndItsBackup()
    {
        QFETCH(bool, titleSet);
        QFETCH(QString, ifoName);
        QFETCH(QString, vobName);
        QFETCH(QString, existingBackup);
        QFETCH(QString, writtenBackup);
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath(ifoName);
        const QByteArray Old = titleSet ? TitleSetFile(Ifo_Sectors, 7) : VideoManagerFile(Ifo_Sectors, 7);
        WriteFile(Ifo, Old);
        if (!existingBackup.isEmpty()) WriteFile(Folder.filePath(existingBackup), Old);
        MakeFileOfSize(Folder.filePath(vobName), Sectors(Vob_Sectors));
        QStringList Expected{ifoName, vobName, writtenBackup};
        Expected.sort();

        WindowHarness Window;
        Window.Open(Ifo);
        Window.Recompute();
        Window.Save();
        QVERIFY2(Window.Errors.isEmpty(), qPrintable(Window.Errors.join('\n')));

        // No second backup, no temporary file left behind.
        QCOMPARE(FolderEntries(Folder.path()), Expected);
        const QByteArray Written = ReadFile(Ifo);
        QCOMPARE(ReadFile(Folder.filePath(writtenBackup)), Written);
        QVERIFY(Written != Old);
        QCOMPARE(Written.size() % Sector_Size, 0);
        const std::uint32_t Last_Sector_of_IFO = static_cast<std::uint32_t>(Written.size() / Sector_Size - 1);
        if (titleSet) {
            const VTS Reloaded = LoadTitleSet(Ifo);
            QCOMPARE(Reloaded.Last_Sector_of_VTS, Corrected);
            QCOMPARE(Reloaded.Last_Sector_of_VTSI, Last_Sector_of_IFO);
            for (bool Flag : {Reloaded.PTT_SRPT_OK, Reloaded.PGCIT_OK, Reloaded.VTSM_PGCI_UT_OK, Reloaded.TMAPT_OK,
                              Reloaded.VTSM_C_ADT_OK, Reloaded.VTSM_VOBU_ADMAP_OK, Reloaded.VTS_C_ADT_OK,
                              Reloaded.VTS_VOBU_ADMAP_OK})
                QVERIFY(Flag);
            QVERIFY(Reloaded.PTT_SRPT == Window.Form.TitleSet().PTT_SRPT);
        } else {
            const VMG Reloaded = LoadVideoManager(Ifo);
            QCOMPARE(Reloaded.Last_Sector_of_VMG, Corrected);
            QCOMPARE(Reloaded.Last_Sector_of_VMGI, Last_Sector_of_IFO);
            for (bool Flag : {Reloaded.TT_SRPT_OK, Reloaded.VMGM_PGCI_UT_OK, Reloaded.PTL_MAIT_OK,
                              Reloaded.VTS_ATRT_OK, Reloaded.TXTDT_MGI_OK, Reloaded.VMGM_C_ADT_OK,
                              Reloaded.VMGM_VOBU_ADMAP_OK})
                QVERIFY(Flag);
            QVERIFY(Reloaded.VMG_TT_SRPT == Window.Form.VideoManager().VMG_TT_SRPT);
        }

        // Writing again gives the same bytes.
        QVERIFY(Window.Form.B_Save->isEnabled());
        Window.Save();
        QCOMPARE(ReadFile(Ifo), Written);
        QCOMPARE(FolderEntries(Folder.path()), Expected);
    }

    void failedSaveLeavesTheOldFilesWhole()
    {
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath("VTS_01_0.IFO");
        const QString Backup = Folder.filePath("VTS_01_0.BUP");
        const QByteArray Old = TitleSetFile(Ifo_Sectors, 7);
        WriteFile(Ifo, Old);
        WriteFile(Backup, Old);
        MakeFileOfSize(Folder.filePath("VTS_01_1.VOB"), Sectors(Vob_Sectors));
        const QStringList Entries = FolderEntries(Folder.path());
        WindowHarness Window;
        Window.Open(Ifo);
        Window.Recompute();

        {
            // The new IFO is as long as the old one; only half of it fits.
            FileSizeLimit Limit(static_cast<rlim_t>(Old.size() / 2));
            Window.Save();
        }
        QCOMPARE(Window.Errors.size(), 1);
        QVERIFY2(Window.Errors[0].contains(Ifo), qPrintable(Window.Errors[0]));
        QCOMPARE(ReadFile(Ifo), Old);
        QCOMPARE(ReadFile(Backup), Old);
        QCOMPARE(FolderEntries(Folder.path()), Entries);

        // The window stays usable: once the files fit, the save succeeds.
        Window.Save();
        QCOMPARE(Window.Errors.size(), 1);
        QCOMPARE(LoadTitleSet(Ifo).Last_Sector_of_VTS, Corrected);
        QCOMPARE(ReadFile(Backup), ReadFile(Ifo));
    }

    void writesNothingAfterAFileThatIsNotAnIfo()
    {
        QTemporaryDir Folder;
        const QString Ifo = Folder.filePath("VTS_01_0.IFO");
        const QByteArray Old = TitleSetFile(Ifo_Sectors, 7);
        WriteFile(Ifo, Old);
        const QString Other = Folder.filePath("VTS_02_0.IFO");
        const QByteArray Text = "not an information file";
        WriteFile(Other, Text);
        const QStringList Entries = FolderEntries(Folder.path());
        WindowHarness Window;
        Window.Open(Ifo);
        Window.Recompute();
        Window.Open(Other);
        Window.Recompute();   // enables writing whatever the type
        Window.Messages.clear();

        Window.Save();
        QCOMPARE(Window.Messages, QStringList{"Not a IFO file: nothing was written."});
        QVERIFY(Window.Errors.isEmpty());
        QCOMPARE(ReadFile(Other), Text);
        QCOMPARE(ReadFile(Ifo), Old);
        QCOMPARE(FolderEntries(Folder.path()), Entries);
    }

private:
    static qint64 Sectors(qint64 Count) { return Count * Sector_Size; }
};

BRELLOC_TEST_MAIN(TestWriteCommand)
#include "TestWriteCommand.moc"
