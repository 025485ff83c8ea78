#include "MainFrm.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

#include "FileNames.h"
#include "MemoryStream.h"

namespace {

constexpr std::int64_t Sector_Size = 2048;

const QColor Form_Grey(128, 128, 128);

QFont DesignFont(const char* Family, int PixelSize, bool Bold)
{
    QFont Font(Family);
    Font.setStyleHint(QFont::SansSerif);
    Font.setPixelSize(PixelSize);
    Font.setBold(Bold);
    return Font;
}

QLabel* MakeLabel(QWidget* Form, const char* Name, const QString& Text, const QRect& Place)
{
    auto* Label = new QLabel(Text, Form);
    Label->setObjectName(Name);
    Label->setGeometry(Place);
    return Label;
}

// A label sized to its text, as a heading or step number.
QLabel* MakeHeading(QWidget* Form, const char* Name, const QString& Text, QPoint Place, int PixelSize,
                    const QColor& Colour)
{
    auto* Label = MakeLabel(Form, Name, Text, QRect(Place, QSize()));
    Label->setFont(DesignFont("Arial", PixelSize, true));
    QPalette Palette = Label->palette();
    Palette.setColor(QPalette::WindowText, Colour);
    Label->setPalette(Palette);
    Label->adjustSize();
    return Label;
}

// A fixed-size label on the tooltip background that shows one piece of information.
QLabel* MakeInformation(QWidget* Form, const char* Name, const QString& Text, const QRect& Place)
{
    auto* Label = MakeLabel(Form, Name, Text, Place);
    QPalette Palette = Label->palette();
    Palette.setColor(QPalette::Window, Palette.color(QPalette::ToolTipBase));
    Palette.setColor(QPalette::WindowText, Palette.color(QPalette::ToolTipText));
    Label->setPalette(Palette);
    Label->setAutoFillBackground(true);
    return Label;
}

QPushButton* MakeButton(QWidget* Form, const char* Name, const QString& Text, const QRect& Place)
{
    auto* Button = new QPushButton(Text, Form);
    Button->setObjectName(Name);
    Button->setGeometry(Place);
    return Button;
}

// A command of the window, delivered to the window as an event of its own.
// An error that escapes the command then passes from the window's event
// handler straight to the application object, which reports it, and not
// through the button's click handling, which is not written to be unwound.
class TCommandEvent : public QEvent {
public:
    static inline const QEvent::Type Command_Event = static_cast<QEvent::Type>(QEvent::registerEventType());

    explicit TCommandEvent(void (TMainForm::*Run)()) : QEvent(Command_Event), Command(Run) {}

    void (TMainForm::*const Command)();
};

// A character field of a record as text: its characters up to the first zero
// byte, or all of them when there is none.
template <std::size_t N>
QString FieldText(const std::array<char, N>& Field)
{
    const auto End = std::find(Field.begin(), Field.end(), '\0');
    return QString::fromLatin1(Field.data(), End - Field.begin());
}

}  // namespace

TMainForm::TMainForm(const QuorilFunctions& Library, QWidget* Parent)
    : QWidget(Parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Quoril(Library)
{
    setObjectName("MainForm");
    setWindowTitle("MainForm");
    setFont(DesignFont("MS Sans Serif", 11, false));
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, Form_Grey);
    setPalette(Palette);
    setAutoFillBackground(true);
    move(449, 228);
    setFixedSize(578, 243);

    CreateComponents();

    ChooseIfoFile = [this]() -> QString {
        if (OpenDialog1->exec() != QDialog::Accepted) return {};
        return OpenDialog1->selectedFiles().value(0);
    };
    ShowMessage = [this](const QString& Text) { QMessageBox::information(this, "Brelloc", Text); };
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateComponents()
{
    Label1 = MakeHeading(this, "Label1", QString::fromUtf8("Quoril 1.0 \u2014 Brelloc sample"), {8, 16}, 16,
                         Qt::yellow);
    Label1->setGeometry(8, 16, 561, 19);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = MakeHeading(this, "Label2", "1", {16, 64}, 16, Qt::white);
    Label5 = MakeHeading(this, "Label5", "2", {16, 128}, 16, Qt::white);
    Label6 = MakeHeading(this, "Label6", "3", {16, 192}, 16, Qt::white);

    B_Apri = MakeButton(this, "B_Apri", "Read IFO File", {48, 56, 97, 41});
    B_Get = MakeButton(this, "B_Get", "Brelloc", {48, 120, 97, 41});
    B_Save = MakeButton(this, "B_Save", "Write IFO File", {48, 183, 97, 41});
    B_Save->setEnabled(false);
    setTabOrder(B_Apri, B_Save);
    setTabOrder(B_Save, B_Get);

    L_FileName = MakeInformation(this, "L_FileName", "File:", {168, 56, 393, 17});
    L_Identifier = MakeInformation(this, "L_Identifier", "Identifier:", {168, 80, 185, 17});
    L_Provider = MakeInformation(this, "L_Provider", "Provider:", {376, 80, 185, 17});
    L_Provider->setWordWrap(true);

    L_Get = MakeHeading(this, "L_Get", "Calculate:", {168, 120}, 13, Qt::white);
    L_Get->setGeometry(168, 120, 393, 16);
    L_Get->setAlignment(Qt::AlignCenter);
    L_Originale = MakeInformation(this, "L_Originale", "Original:", {168, 144, 185, 17});
    L_Ricalcolato = MakeInformation(this, "L_Ricalcolato", "Corrected:", {376, 144, 185, 17});

    L_Type = MakeHeading(this, "L_Type", "Quoril project", {264, 208}, 16, Qt::yellow);
    L_Type->setGeometry(264, 208, 297, 21);
    L_Type->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName("OpenDialog1");
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    // Discs name their files in upper case, copies often in lower case.
    OpenDialog1->setNameFilter("IFO files (*.ifo *.IFO)");
    OpenDialog1->setDefaultSuffix("ifo");

    connect(B_Apri, &QPushButton::clicked, this, [this] { PostCommand(&TMainForm::B_ApriClick); });
    connect(B_Get, &QPushButton::clicked, this, [this] { PostCommand(&TMainForm::B_GetClick); });
    connect(B_Save, &QPushButton::clicked, this, [this] { PostCommand(&TMainForm::B_SaveClick); });
}

void TMainForm::PostCommand(void (TMainForm::*Command)())
{
    QCoreApplication::postEvent(this, new TCommandEvent(Command));
}

bool TMainForm::event(QEvent* Event)
{
    if (Event->type() != TCommandEvent::Command_Event) return QWidget::event(Event);
    (this->*static_cast<TCommandEvent*>(Event)->Command)();
    return true;
}

void TMainForm::B_ApriClick()
{
    B_Save->setEnabled(false);
    const QString Chosen = ChooseIfoFile();
    if (Chosen.isEmpty()) return;

    IfoFileName = Chosen;
    L_FileName->setText(IfoFileName);

    MemoryStream Stream;
    Stream.LoadFromFile(ToPath(IfoFileName));
    IfoType = Quoril.IdentifyType(Stream);

    if (IfoType == Ifo_Type_VTS) {
        Quoril.LoadIfoVTS(Stream, IfoVTS);
        L_Type->setText("VTS");
        L_Get->setText("Calculate Last_Sector_of_VTS");
        L_Identifier->setText("Identifier: " + FieldText(IfoVTS.Identifier));
        L_Provider->setText("");
        L_Originale->setText("Original: " + QString::number(IfoVTS.Last_Sector_of_VTS));
        L_Ricalcolato->setText("Corrected:");
        IfoSectors = IfoVTS.Last_Sector_of_VTSI + 1;
    } else if (IfoType == Ifo_Type_VMG) {
        Quoril.LoadIfoVMG(Stream, IfoVMG);
        L_Type->setText("VMG");
        L_Get->setText("Calculate Last_Sector_of_VMG");
        L_Identifier->setText("Identifier: " + FieldText(IfoVMG.Identifier));
        L_Provider->setText("Provider: " + FieldText(IfoVMG.Provider_Identifier));
        L_Originale->setText("Original: " + QString::number(IfoVMG.Last_Sector_of_VMG));
        L_Ricalcolato->setText("Corrected:");
        IfoSectors = IfoVMG.Last_Sector_of_VMGI + 1;
    } else {
        L_Type->setText("?");
        L_Get->setText("Calculate:");
        L_Identifier->setText("Identifier: ");
        L_Provider->setText("Provider: ");
        ShowMessage("Not a IFO file !!");
    }
}

void TMainForm::B_GetClick()
{
    // The IFO and its backup, which has the same size; all sector arithmetic
    // is unsigned 32-bit and wraps.
    std::uint32_t Sum = 2 * IfoSectors;

    if (IfoType == Ifo_Type_VMG) {
        Sum += SectorsOfFile(FolderPart(IfoFileName) + "video_ts.vob");
        IfoVMG.Last_Sector_of_VMG = Sum - 1;
    } else if (IfoType == Ifo_Type_VTS) {
        // VTS_nn_0.IFO -> VTS_nn_0.vob (menu) to VTS_nn_9.vob (titles).
        const QString Stem = IfoFileName.left(std::max<qsizetype>(IfoFileName.size() - 5, 0));
        for (int Digit = 0; Digit <= 9; ++Digit) Sum += SectorsOfFile(Stem + QString::number(Digit) + ".vob");
        IfoVTS.Last_Sector_of_VTS = Sum - 1;
    }

    L_Ricalcolato->setText("Corrected: " + QString::number(Sum - 1));
    B_Save->setEnabled(true);
}

void TMainForm::B_SaveClick()
{
    if (IfoType != Ifo_Type_VMG && IfoType != Ifo_Type_VTS) {
        ShowMessage("Not a IFO file: nothing was written.");
        return;
    }

    MemoryStream Stream;
    if (IfoType == Ifo_Type_VMG)
        Quoril.MakeIfoVMG(Stream, IfoVMG);
    else
        Quoril.MakeIfoVTS(Stream, IfoVTS);

    // Each save replaces its file atomically; if the IFO cannot be saved, the
    // backup is not touched.
    Stream.SaveToFile(ToPath(IfoFileName));
    Stream.SaveToFile(ToPath(BackupFileName(IfoFileName)));
}

// Whole sectors of the file that FormedName names, matched without regard to
// case; 0 when there is no such file.
std::uint32_t TMainForm::SectorsOfFile(const QString& FormedName)
{
    const QString Existing = FindFileIgnoringCase(FormedName);
    if (Existing.isEmpty()) return 0;
    // -1 for a file that cannot be opened gives 0 sectors.
    return static_cast<std::uint32_t>(GetSizeOfFile(Existing) / Sector_Size);
}

std::int64_t TMainForm::GetSizeOfFile(const QString& Name)
{
    const std::filesystem::path Path = ToPath(Name);
    // O_NONBLOCK: a FIFO given by name must not stall the window.
    const int File = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (File < 0) return -1;

    struct stat Info {};
    if (::fstat(File, &Info) != 0) {
        const int Error = errno;
        ::close(File);
        throw std::system_error(Error, std::generic_category(), "cannot measure " + Path.string());
    }
    if (::close(File) != 0) throw std::system_error(errno, std::generic_category(), "cannot close " + Path.string());
    return static_cast<std::int64_t>(Info.st_size);
}
