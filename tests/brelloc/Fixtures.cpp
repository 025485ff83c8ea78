#include "Fixtures.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "FileNames.h"
#include "MemoryStream.h"

const QuorilFunctions& Library()
{
    static const QuorilFunctions Bound = BindQuoril(QUORIL_LIBRARY_PATH);
    return Bound;
}

namespace {

// A table that ends short of a sector boundary, so that any padding rule
// fills it up to the same boundary.
constexpr std::uint32_t Table_Slack = 100;

template <std::size_t N>
void SetText(std::array<char, N>& Field, const std::string& Text)
{
    Field.fill('\0');
    std::memcpy(Field.data(), Text.data(), std::min(N, Text.size()));
}

void CheckSectors(const QByteArray& File, std::uint32_t Sectors)
{
    if (File.size() != static_cast<qsizetype>(Sectors) * Sector_Size)
        throw std::logic_error("fixture: the library wrote " + std::to_string(File.size()) + " bytes, not " +
                               std::to_string(Sectors) + " sectors");
}

template <typename Record>
QByteArray Written(void (*Make)(IfoStream&, const Record&), const Record& Content)
{
    MemoryStream Stream;
    Make(Stream, Content);
    const auto& Bytes = Stream.Bytes();
    return QByteArray(reinterpret_cast<const char*>(Bytes.data()), static_cast<qsizetype>(Bytes.size()));
}

MemoryStream Loaded(const QString& Path)
{
    MemoryStream Stream;
    Stream.LoadFromFile(ToPath(Path));
    return Stream;
}

// A title set of Sectors sectors, with a part-of-title table from 2 sectors on.
VTS TitleSetRecord(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VTS)
{
    VTS Record;
    SetText(Record.Identifier, "DVDVIDEO-VTS");
    Record.Last_Sector_of_VTS = Last_Sector_of_VTS;
    Record.Version = 0x11;
    Record.Last_Byte_of_VTSI_MAT = 0x3FF;
    if (Sectors >= 2) {
        // One title whose parts fill sectors 1 to Sectors - 1: 12 bytes of
        // table header and title offset, 4 bytes a part.
        const std::uint32_t Parts = ((Sectors - 1) * Sector_Size - Table_Slack - 12) / 4;
        Record.Start_Sector_of_PTT_SRPT = 1;
        Record.PTT_SRPT.Number_of_Titles = 1;
        Record.PTT_SRPT.Title_Offsets = {12};
        Record.PTT_SRPT.Parts.resize(1);
        for (std::uint32_t Part = 0; Part < Parts; ++Part)
            Record.PTT_SRPT.Parts[0].push_back({1, static_cast<std::uint16_t>(Part % 99 + 1)});
    }
    return Record;
}

// A video manager of Sectors sectors (at least 2).
VMG VideoManagerRecord(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VMG, const std::string& Provider)
{
    if (Sectors < 2) throw std::logic_error("fixture: a video manager has at least 2 sectors");
    VMG Record;
    SetText(Record.Identifier, "DVDVIDEO-VMG");
    Record.Last_Sector_of_VMG = Last_Sector_of_VMG;
    Record.Version = 0x11;
    Record.Number_of_Volumes = 1;
    Record.Volume_Number = 1;
    Record.Side_ID = 1;
    Record.Number_of_Title_Sets = 1;
    SetText(Record.Provider_Identifier, Provider);
    Record.Last_Byte_of_VMGI_MAT = 0x3FF;
    Record.Start_Byte_of_First_Play_PGC = 0x400;
    // The first-play chain is a bare 236-byte header; zero bytes follow it up
    // to sector 1, where the title table begins.
    Record.Bytes_after_First_Play_PGC.assign(Sector_Size - 1024 - 236, 0);

    // Titles of 12 bytes each after the 8-byte table header.
    const std::uint32_t Titles = ((Sectors - 1) * Sector_Size - Table_Slack - 8) / 12;
    Record.Start_Sector_of_TT_SRPT = 1;
    Record.VMG_TT_SRPT.Number_of_Titles = static_cast<std::uint16_t>(Titles);
    for (std::uint32_t Title = 0; Title < Titles; ++Title) {
        TT_SRP Entry;
        Entry.Title_Type = 0x3C;
        Entry.Number_of_Angles = 1;
        Entry.Number_of_Chapters = 1;
        Entry.VTS_Number = 1;
        Entry.VTS_Title_Number = static_cast<std::uint8_t>(Title % 99 + 1);
        Record.VMG_TT_SRPT.Titles.push_back(Entry);
    }
    return Record;
}

}  // namespace

QByteArray TitleSetFile(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VTS)
{
    const QByteArray File = Written(Library().MakeIfoVTS, TitleSetRecord(Sectors, Last_Sector_of_VTS));
    CheckSectors(File, Sectors);
    return File;
}

QByteArray VideoManagerFile(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VMG, const std::string& Provider)
{
    const QByteArray File = Written(Library().MakeIfoVMG, VideoManagerRecord(Sectors, Last_Sector_of_VMG, Provider));
    CheckSectors(File, Sectors);
    return File;
}

VTS LoadTitleSet(const QString& Path)
{
    MemoryStream Stream = Loaded(Path);
    VTS Record;
    Library().LoadIfoVTS(Stream, Record);
    return Record;
}

VMG LoadVideoManager(const QString& Path)
{
    MemoryStream Stream = Loaded(Path);
    VMG Record;
    Library().LoadIfoVMG(Stream, Record);
    return Record;
}

void WriteFile(const QString& Path, const QByteArray& Bytes)
{
    QFile File(Path);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate) || File.write(Bytes) != Bytes.size())
        throw std::runtime_error("fixture: cannot write " + Path.toStdString() + ": " + File.errorString().toStdString());
}

QByteArray ReadFile(const QString& Path)
{
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly))
        throw std::runtime_error("fixture: cannot read " + Path.toStdString() + ": " + File.errorString().toStdString());
    return File.readAll();
}

void MakeFileOfSize(const QString& Path, std::int64_t Size)
{
    WriteFile(Path, {});
    std::filesystem::resize_file(ToPath(Path), static_cast<std::uintmax_t>(Size));
}

QStringList FolderEntries(const QString& Folder)
{
    return QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
