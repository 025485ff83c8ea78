// The discs that scripts/make-test-dvd generates, and what the conformance
// tests do with their folders: list the information files, read and write
// whole files, copy a folder, and add up sectors as the sample program does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The folder that holds the generated discs: $QUORIL_TEST_DISCS, or the
// folder into which the build's fixture generates them.
std::filesystem::path TestDiscsFolder();

// The names of the discs that the generator makes, one folder each.
const std::vector<std::string>& GeneratedDiscNames();

// The VIDEO_TS folder of one generated disc.
std::filesystem::path VideoTsOf(const std::string& Disc);

struct InformationFile {
    std::filesystem::path Path;
    int Title_Set = 0;     // 0: the video manager; n: VTS_nn_0
    bool Backup = false;   // .BUP rather than .IFO
};

// Every VIDEO_TS.IFO/.BUP and VTS_nn_0.IFO/.BUP in Folder, found without
// regard to case, the video manager first, then by title set, IFO before BUP.
std::vector<InformationFile> InformationFilesIn(const std::filesystem::path& Folder);

// The title set numbers present in Folder (from its VTS_nn_0.IFO files).
std::vector<int> TitleSetsIn(const std::filesystem::path& Folder);

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& Path);
void WriteWholeFile(const std::filesystem::path& Path, const std::vector<std::uint8_t>& Bytes);

// The file in Folder whose name equals Name without regard to case; an
// empty path when there is none.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& Folder, const std::string& Name);

// The last sector of a whole video manager or title set as the sample program
// recomputes it: the IFO and its BUP (Ifo_Sectors each), plus the whole
// sectors of each VOB file that exists (VIDEO_TS.VOB for Title_Set 0,
// VTS_nn_0.VOB to VTS_nn_9.VOB otherwise), minus 1.
std::uint32_t RecomputedLastSector(const std::filesystem::path& Folder, int Title_Set, std::uint32_t Ifo_Sectors);

// A folder of its own below the system's temporary folder, removed with
// everything in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& Purpose);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return Folder; }

private:
    std::filesystem::path Folder;
};
