#include "WindowHarness.h"

#include "Fixtures.h"

namespace {

TCrashReporter& Application()
{
    return *static_cast<TCrashReporter*>(QApplication::instance());
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
    QTest::mouseClick(Form.B_Apri, Qt::LeftButton);
}

void WindowHarness::CancelOpen()
{
    Open(QString());
}

void WindowHarness::Recompute()
{
    QTest::mouseClick(Form.B_Get, Qt::LeftButton);
}

void WindowHarness::Save()
{
    QTest::mouseClick(Form.B_Save, Qt::LeftButton);
}

QStringList WindowHarness::LabelTexts() const
{
    return {Form.L_FileName->text(), Form.L_Identifier->text(), Form.L_Provider->text(),  Form.L_Get->text(),
            Form.L_Originale->text(), Form.L_Ricalcolato->text(), Form.L_Type->text()};
}
