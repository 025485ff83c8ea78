// Files for the Brelloc tests: information files built from records in code
// and written by the library, VOB files of given sizes, and folder listings.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

#include "QuorilBinding.h"

// The library under test, bound by path to the build's libquoril.
const QuorilFunctions& Library();

// A consistent title set information file of exactly Sectors sectors (at
// least 1), written by the library: the header and, from 2 sectors on, a
// part-of-title table that fills the rest.
QByteArray TitleSetFile(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VTS);

// A consistent video manager information file of exactly Sectors sectors (at
// least 2), written by the library: header and first-play chain in sector 0,
// then a title search pointer table that fills the rest. Provider goes into
// the 32 characters of Provider_Identifier, padded with zero bytes.
QByteArray VideoManagerFile(std::uint32_t Sectors, std::uint32_t Last_Sector_of_VMG,
                            const std::string& Provider = "BRELLOC TEST");

// The record the library loads from a file.
VTS LoadTitleSet(const QString& Path);
VMG LoadVideoManager(const QString& Path);

void WriteFile(const QString& Path, const QByteArray& Bytes);
QByteArray ReadFile(const QString& Path);

// A file of Size zero bytes, sparse where the file system allows.
void MakeFileOfSize(const QString& Path, std::int64_t Size);

// Every entry of a folder, hidden ones included, in name order.
QStringList FolderEntries(const QString& Folder);

constexpr std::int64_t Sector_Size = 2048;
