// File names of a DVD-Video folder as Brelloc forms them. Discs name their
// files in upper case (VIDEO_TS.IFO, VTS_01_1.VOB, VTS_01_0.BUP) while the
// names Brelloc forms are partly lower case ("video_ts.vob", ".bup"); on a
// case-sensitive file system a formed name is therefore looked up in its
// folder without regard to case.
#pragma once

#include <QString>

#include <filesystem>

// Everything up to and including the last '/', or empty when there is none.
QString FolderPart(const QString& Path);

// Path with its extension (from the last '.' of the file name) replaced by
// Extension, which includes its dot; a name without extension gets Extension
// appended.
QString ChangeExtension(const QString& Path, const QString& Extension);

// The existing regular file whose name equals the file name of Path without
// regard to case, in Path's folder: Path itself when it exists as written,
// otherwise the first match in name order. Empty when there is none.
QString FindFileIgnoringCase(const QString& Path);

// The backup of an information file: the existing file named like the IFO
// with the extension ".bup" in any case; when there is none, that name with
// ".BUP" if the IFO's own extension is upper case and ".bup" otherwise.
QString BackupFileName(const QString& IfoFileName);

// The path in the file system's encoding.
std::filesystem::path ToPath(const QString& Path);
