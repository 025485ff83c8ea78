#include "FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Position of the dot that starts the extension of Path's file name, or -1.
qsizetype ExtensionStart(const QString& Path)
{
    const qsizetype Dot = Path.lastIndexOf('.');
    return Dot > Path.lastIndexOf('/') ? Dot : -1;
}

bool IsUpperCase(const QString& Text)
{
    return Text != Text.toLower() && Text == Text.toUpper();
}

}  // namespace

QString FolderPart(const QString& Path)
{
    return Path.left(Path.lastIndexOf('/') + 1);
}

QString ChangeExtension(const QString& Path, const QString& Extension)
{
    const qsizetype Dot = ExtensionStart(Path);
    return (Dot < 0 ? Path : Path.left(Dot)) + Extension;
}

QString FindFileIgnoringCase(const QString& Path)
{
    if (QFileInfo(Path).isFile()) return Path;

    const QString Folder = FolderPart(Path);
    const QString Name = Path.mid(Folder.size());
    const QDir Directory(Folder.isEmpty() ? QString(".") : Folder);
    const QStringList Entries = Directory.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& Entry : Entries) {
        if (Entry.compare(Name, Qt::CaseInsensitive) == 0) return Folder + Entry;
    }
    return {};
}

QString BackupFileName(const QString& IfoFileName)
{
    const QString Formed = ChangeExtension(IfoFileName, ".bup");
    const QString Existing = FindFileIgnoringCase(Formed);
    if (!Existing.isEmpty()) return Existing;

    const qsizetype Dot = ExtensionStart(IfoFileName);
    const bool UpperCaseIfo = Dot >= 0 && IsUpperCase(IfoFileName.mid(Dot + 1));
    return UpperCaseIfo ? ChangeExtension(IfoFileName, ".BUP") : Formed;
}

std::filesystem::path ToPath(const QString& Path)
{
    return std::filesystem::path(QFile::encodeName(Path).toStdString());
}
