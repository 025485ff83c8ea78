// Step 1, B_ApriClick: the labels after a title set, a video manager and a
// file that is neither; cancelling; errors that stop the command.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <cstdio>

#include "Fixtures.h"
#include "WindowHarness.h"

// Sends the process's stderr to a file while it lives, and hands back what
// was written there.
class StderrCapture {
public:
    explicit StderrCapture(const QString& Path) : File(Path)
    {
        std::fflush(stderr);
        Saved = ::dup(STDERR_FILENO);
        std::FILE* Target = std::fopen(QFile::encodeName(Path).constData(), "w");
        ::dup2(::fileno(Target), STDERR_FILENO);
        std::fclose(Target);
    }
    ~StderrCapture() { Restore(); }
    QString Text()
    {
        Restore();
        QFile Captured(File);
        Captured.open(QIODevice::ReadOnly);
        return QString::fromLocal8Bit(Captured.readAll());
    }

private:
    void Restore()
    {
        if (Saved < 0) return;
        std::fflush(stderr);
        ::dup2(Saved, STDERR_FILENO);
        ::close(Saved);
        Saved = -1;
    }
    QString File;
    int Saved = -1;
};

class TestOpenCommand : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Folder;

    QString TitleSet(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VTS, const QString& Name = "VTS_01_0.IFO")
    {
        const QString Path = Folder.filePath(Name);
        WriteFile(Path, TitleSetFile(Sectors, Last_Sector_of_VTS));
        return Path;
    }

    QString VideoManager(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VMG, const std::string& Provider,
                         const QString& Name = "VIDEO_TS.IFO")
    {
        const QString Path = Folder.filePath(Name);
        WriteFile(Path, VideoManagerFile(Sectors, Last_Sector_of_VMG, Provider));
        return Path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(Folder.isValid());
    }

    void showsATitleSetAfterAVideoManager()
    {
        const QString Manager = VideoManager(3, 1234, "BRELLOC PROVIDER");
        const QString Titles = TitleSet(4, 0xFFFFFFFF);
        WindowHarness Window;

        Window.Open(Manager);
        QCOMPARE(Window.LabelTexts(), (QStringList{Manager, "Identifier: DVDVIDEO-VMG", "Provider: BRELLOC PROVIDER",
                                                   "Calculate Last_Sector_of_VMG", "Original: 1234", "Corrected:", "VMG"}));
        QCOMPARE(Window.Form.FileType(), std::uint8_t{0});
        QCOMPARE(Window.Form.FileSectors(), 3u);

        Window.Open(Titles);
        QCOMPARE(Window.LabelTexts(), (QStringList{Titles, "Identifier: DVDVIDEO-VTS", "", "Calculate Last_Sector_of_VTS",
                                                   "Original: 4294967295", "Corrected:", "VTS"}));
        QCOMPARE(Window.Form.FileType(), std::uint8_t{1});
        QCOMPARE(Window.Form.FileSectors(), 4u);
        QCOMPARE(Window.Form.FileName(), Titles);
        QVERIFY(!Window.Form.B_Save->isEnabled());
        QVERIFY(Window.Messages.isEmpty());
        QVERIFY(Window.Errors.isEmpty());
    }

    void showsTheProviderUpToItsFirstZeroByte_data()
    {
        QTest::addColumn<QByteArray>("provider");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all 32 characters") << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345")
                                           << "Provider: ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
        QTest::newRow("32 zero bytes") << QByteArray(32, '\0') << "Provider: ";
        QTest::newRow("text after a zero byte") << QByteArray("STUDIO\0HIDDEN", 13) << "Provider: STUDIO";
    }

    void showsTheProviderUpToItsFirstZeroByte()
    {
        QFETCH(QByteArray, provider);
        QFETCH(QString, shown);
        const QString Manager = VideoManager(2, 0, provider.toStdString());
        WindowHarness Window;
        Window.Open(Manager);
        QCOMPARE(Window.Form.L_Provider->text(), shown);
    }

    void refusesAFileThatIsNotAnIfo_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("This is not an information file.\n");
        QTest::newRow("identifier alone, 12 bytes") << QByteArray("DVDVIDEO-VTS");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("identifier in lower case") << QByteArray("dvdvideo-vts").append(2036, '\0');
    }

    void refusesAFileThatIsNotAnIfo()
    {
        QFETCH(QByteArray, content);
        const QString Titles = TitleSet(16, 7);
        const QString Other = Folder.filePath("OTHER.IFO");
        WriteFile(Other, content);
        WindowHarness Window;
        Window.Open(Titles);
        Window.Recompute();
        const VTS Loaded = Window.Form.TitleSet();
        const QString Original = Window.Form.L_Originale->text();
        const QString Corrected = Window.Form.L_Ricalcolato->text();
        QCOMPARE(Corrected, QString("Corrected: 31"));

        Window.Open(Other);
        QCOMPARE(Window.Messages, QStringList{"Not a IFO file !!"});
        QCOMPARE(Window.LabelTexts(),
                 (QStringList{Other, "Identifier: ", "Provider: ", "Calculate:", Original, Corrected, "?"}));
        QCOMPARE(Window.Form.FileType(), std::uint8_t{2});
        QCOMPARE(Window.Form.FileSectors(), 16u);
        QVERIFY(Window.Form.TitleSet() == Loaded);
        QVERIFY(!Window.Form.B_Save->isEnabled());
    }

    void replacesTheCreditLineAtTheFirstOpen()
    {
        const QString Other = Folder.filePath("notes.ifo");
        WriteFile(Other, "notes");
        WindowHarness Window;
        QCOMPARE(Window.Form.L_Type->text(), QString("Quoril project"));
        Window.Open(Other);
        QCOMPARE(Window.LabelTexts(),
                 (QStringList{Other, "Identifier: ", "Provider: ", "Calculate:", "Original:", "Corrected:", "?"}));
    }

    void cancellingChangesNothingButDisablesWriting()
    {
        const QString Titles = TitleSet(2, 5);
        WindowHarness Window;
        Window.Open(Titles);
        Window.Recompute();
        QVERIFY(Window.Form.B_Save->isEnabled());
        const QStringList Before = Window.LabelTexts();

        Window.CancelOpen();
        QCOMPARE(Window.LabelTexts(), Before);
        QCOMPARE(Window.Form.FileName(), Titles);
        QCOMPARE(Window.Form.FileType(), std::uint8_t{1});
        QVERIFY(!Window.Form.B_Save->isEnabled());
        QVERIFY(Window.Messages.isEmpty());
    }

    void reportsAFileThatCannotBeReadAndStaysUsable()
    {
        const QString Titles = TitleSet(2, 5);
        const QString Manager = VideoManager(2, 9, "P");
        const QString Missing = Folder.filePath("VTS_09_0.IFO");
        WindowHarness Window;
        Window.Open(Titles);
        Window.Recompute();
        const QStringList Before = Window.LabelTexts();

        StderrCapture Stderr(Folder.filePath("stderr.txt"));
        Window.Open(Missing);
        const QString Logged = Stderr.Text();
        QCOMPARE(Window.Errors.size(), 1);
        QVERIFY2(Window.Errors[0].contains(Missing), qPrintable(Window.Errors[0]));
        // The error is also written to stderr, as one line.
        QCOMPARE(Logged.count('\n'), 1);
        QVERIFY2(Logged.startsWith("Brelloc: error: ") && Logged.contains(Missing), qPrintable(Logged));
        // The command stopped after showing the new name; everything else
        // still describes the title set.
        QCOMPARE(Window.Form.L_FileName->text(), Missing);
        QCOMPARE(Window.LabelTexts().mid(1), Before.mid(1));
        QCOMPARE(Window.Form.FileType(), std::uint8_t{1});
        QCOMPARE(Window.Form.FileSectors(), 2u);
        QVERIFY(!Window.Form.B_Save->isEnabled());

        Window.Open(Manager);
        QCOMPARE(Window.Form.L_Type->text(), QString("VMG"));
        QVERIFY(!Window.Form.B_Apri->isDown());
        QCOMPARE(Window.Errors.size(), 1);
    }

    void reportsADamagedFileThatTheLibraryRefuses()
    {
        // A part-of-title table claiming 65535 titles in a file of two
        // sectors: more title offsets than the whole file could hold.
        QByteArray Damaged = TitleSetFile(2, 5);
        Damaged[2048] = char(0xFF);
        Damaged[2049] = char(0xFF);
        const QString Path = Folder.filePath("VTS_02_0.IFO");
        WriteFile(Path, Damaged);
        const QString Manager = VideoManager(3, 9, "P");
        WindowHarness Window;
        Window.Open(Manager);

        Window.Open(Path);
        QCOMPARE(Window.Errors.size(), 1);
        // The type of the new file is known; its size and labels are not set.
        QCOMPARE(Window.Form.FileType(), std::uint8_t{1});
        QCOMPARE(Window.Form.FileSectors(), 3u);
        QCOMPARE(Window.Form.L_Type->text(), QString("VMG"));
        QCOMPARE(Window.Form.L_FileName->text(), Path);
    }
};

BRELLOC_TEST_MAIN(TestOpenCommand)
#include "TestOpenCommand.moc"
