#include "WindowHarness.h"

#include "Fixtures.h"

namespace {

TCrashReporter& Application()
{
    return *static_cast<TCrashReporter*>(QApplication::instance());
}

// A click on a button, and the command it starts, run to its end.
void Click(QPushButton* Button)
{
    QTest::mouseClick(Button, Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
}

}  // namespace

WindowHarness::WindowHarness() : Form(Library())
{
    Form.ChooseIfoFile = [this] { return NextChoice; };
    Form.ShowMessage = [this](const QString& Text) { Messages.append(Text); };
    Application().ShowError = [this](const QString& Text) { Errors.append(Text); };
    Form.show();
}

WindowHarness::~WindowHarness()
{
    Application().ShowError = nullptr;
}

void WindowHarness::Open(const QString& Path)
{
    NextChoice = Path;
    Click(Form.B_Apri);
}

void WindowHarness::CancelOpen()
{
    Open(QString());
}

void WindowHarness::Recompute()
{
    Click(Form.B_Get);
}

void WindowHarness::Save()
{
    Click(Form.B_Save);
}

QStringList WindowHarness::LabelTexts() const
{
    return {Form.L_FileName->text(), Form.L_Identifier->text(), Form.L_Provider->text(),  Form.L_Get->text(),
            Form.L_Originale->text(), Form.L_Ricalcolato->text(), Form.L_Type->text()};
}
