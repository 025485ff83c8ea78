// TMainForm, Brelloc's single window. It leads the user through three steps:
// 1 read an information file (IFO) and show what it is, 2 recompute the last
// sector of its video manager or title set from the sizes of the files that
// belong to it, 3 write the IFO and its backup with the corrected value.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "QuorilBinding.h"
#include "structures/Structure_IFO.h"

class QEvent;
class QFileDialog;
class QLabel;
class QPushButton;

class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(const QuorilFunctions& Library, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Step 1: choose a file, identify and load it, show what it holds.
    void B_ApriClick();
    // Step 2: recompute the last sector of the loaded video manager or title set.
    void B_GetClick();
    // Step 3: write the loaded record over the IFO and its backup.
    void B_SaveClick();

    // Size in bytes of the file Name, or -1 when it cannot be opened. The
    // file is opened for reading only, so that a read-only VOB is measured.
    std::int64_t GetSizeOfFile(const QString& Name);

    // What the commands ask of the user. By default the open dialog (an empty
    // name when the user cancels) and a message box titled "Brelloc"; tests
    // replace them.
    std::function<QString()> ChooseIfoFile;
    std::function<void(const QString& Text)> ShowMessage;

    // The state the three commands share.
    const QString& FileName() const { return IfoFileName; }
    std::uint8_t FileType() const { return IfoType; }
    std::uint32_t FileSectors() const { return IfoSectors; }
    const VTS& TitleSet() const { return IfoVTS; }
    const VMG& VideoManager() const { return IfoVMG; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label5;
    QLabel* Label6;
    QPushButton* B_Apri;
    QPushButton* B_Get;
    QPushButton* B_Save;
    QLabel* L_FileName;
    QLabel* L_Identifier;
    QLabel* L_Provider;
    QLabel* L_Get;
    QLabel* L_Originale;
    QLabel* L_Ricalcolato;
    QLabel* L_Type;
    QFileDialog* OpenDialog1;

protected:
    bool event(QEvent* Event) override;

private:
    void CreateComponents();
    void PostCommand(void (TMainForm::*Command)());
    std::uint32_t SectorsOfFile(const QString& FormedName);

    QuorilFunctions Quoril;

    QString IfoFileName;
    std::uint8_t IfoType = Ifo_Type_VMG;   // before any open the program behaves as for a VMG
    std::uint32_t IfoSectors = 0;
    VTS IfoVTS;
    VMG IfoVMG;
};
