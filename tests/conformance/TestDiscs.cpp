#include "TestDiscs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Upper(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return std::toupper(c); });
    return Text;
}

// The title set number of "VTS_nn_0.IFO" or ".BUP" (any case), or -1.
int TitleSetOfName(const std::string& Name, bool& Backup) {
    const std::string N = Upper(Name);
    if (N == "VIDEO_TS.IFO" || N == "VIDEO_TS.BUP") {
        Backup = N.ends_with(".BUP");
        return 0;
    }
    if (N.size() == 12 && N.starts_with("VTS_") && std::isdigit(static_cast<unsigned char>(N[4])) &&
        std::isdigit(static_cast<unsigned char>(N[5])) && N.substr(6) == "_0.IFO") {
        Backup = false;
        return std::stoi(N.substr(4, 2));
    }
    if (N.size() == 12 && N.starts_with("VTS_") && std::isdigit(static_cast<unsigned char>(N[4])) &&
        std::isdigit(static_cast<unsigned char>(N[5])) && N.substr(6) == "_0.BUP") {
        Backup = true;
        return std::stoi(N.substr(4, 2));
    }
    return -1;
}

}  // namespace

fs::path TestDiscsFolder() {
    if (const char* Folder = std::getenv("QUORIL_TEST_DISCS"); Folder != nullptr && *Folder != '\0') return Folder;
    return QUORIL_TEST_DISCS_DEFAULT;
}

const std::vector<std::string>& GeneratedDiscNames() {
    static const std::vector<std::string> Names{"single", "chapters", "twosets", "menus"};
    return Names;
}

fs::path VideoTsOf(const std::string& Disc) { return TestDiscsFolder() / Disc / "VIDEO_TS"; }

std::vector<InformationFile> InformationFilesIn(const fs::path& Folder) {
    std::vector<InformationFile> Files;
    for (const fs::directory_entry& Entry : fs::directory_iterator(Folder)) {
        bool Backup = false;
        const int Title_Set = TitleSetOfName(Entry.path().filename().string(), Backup);
        if (Title_Set >= 0 && Entry.is_regular_file()) Files.push_back({Entry.path(), Title_Set, Backup});
    }
    std::sort(Files.begin(), Files.end(), [](const InformationFile& A, const InformationFile& B) {
        return std::pair(A.Title_Set, A.Backup) < std::pair(B.Title_Set, B.Backup);
    });
    return Files;
}

std::vector<int> TitleSetsIn(const fs::path& Folder) {
    std::vector<int> Sets;
    for (const InformationFile& File : InformationFilesIn(Folder))
        if (File.Title_Set > 0 && !File.Backup) Sets.push_back(File.Title_Set);
    return Sets;
}

std::vector<std::uint8_t> ReadWholeFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) throw std::runtime_error("cannot open " + Path.string());
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const fs::path& Path, const std::vector<std::uint8_t>& Bytes) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    if (!Out) throw std::runtime_error("cannot write " + Path.string());
}

fs::path FindIgnoringCase(const fs::path& Folder, const std::string& Name) {
    const std::string Wanted = Upper(Name);
    for (const fs::directory_entry& Entry : fs::directory_iterator(Folder))
        if (Upper(Entry.path().filename().string()) == Wanted) return Entry.path();
    return {};
}

std::uint32_t RecomputedLastSector(const fs::path& Folder, int Title_Set, std::uint32_t Ifo_Sectors) {
    std::vector<std::string> Vobs;
    if (Title_Set == 0) {
        Vobs.push_back("VIDEO_TS.VOB");
    } else {
        char Name[16];
        for (int Digit = 0; Digit <= 9; ++Digit) {
            std::snprintf(Name, sizeof Name, "VTS_%02d_%d.VOB", Title_Set, Digit);
            Vobs.push_back(Name);
        }
    }
    std::uint32_t Sum = 2 * Ifo_Sectors;
    for (const std::string& Name : Vobs)
        if (const fs::path Vob = FindIgnoringCase(Folder, Name); !Vob.empty())
            Sum += static_cast<std::uint32_t>(fs::file_size(Vob) / 2048);
    return Sum - 1;
}

ScratchFolder::ScratchFolder(const std::string& Purpose) {
    std::random_device Random;
    Folder = fs::temp_directory_path() /
             ("quoril-" + Purpose + "-" + std::to_string(::getpid()) + "-" + std::to_string(Random()));
    fs::create_directories(Folder);
}

ScratchFolder::~ScratchFolder() {
    std::error_code Ignored;
    fs::remove_all(Folder, Ignored);
}
