#include "MemoryStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace {

[[noreturn]] void ThrowFileError(int Error, const std::string& What, const std::filesystem::path& Path)
{
    throw std::system_error(Error, std::generic_category(), What + " " + Path.string());
}

// Closes a descriptor when it goes out of scope.
struct FileDescriptor {
    int Fd = -1;
    explicit FileDescriptor(int F) : Fd(F) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { if (Fd >= 0) ::close(Fd); }
    int Release() { int F = Fd; Fd = -1; return F; }
};

}  // namespace

std::int64_t MemoryStream::Read(void* Buffer, std::int64_t Count)
{
    if (Count <= 0 || Pos >= Size()) return 0;
    const std::int64_t Delivered = std::min(Count, Size() - Pos);
    std::memcpy(Buffer, Data.data() + Pos, static_cast<std::size_t>(Delivered));
    Pos += Delivered;
    return Delivered;
}

std::int64_t MemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    const std::int64_t End = Pos + Count;
    const auto* Bytes = static_cast<const std::uint8_t*>(Buffer);
    if (Pos == Size()) {
        Data.insert(Data.end(), Bytes, Bytes + Count);   // appending: no zero fill to overwrite
    } else {
        if (End > Size()) Data.resize(static_cast<std::size_t>(End));   // a gap after a seek past the end reads as zeros
        std::memcpy(Data.data() + Pos, Bytes, static_cast<std::size_t>(Count));
    }
    Pos = End;
    return Count;
}

std::int64_t MemoryStream::Seek(std::int64_t NewPosition)
{
    Pos = std::max<std::int64_t>(NewPosition, 0);
    return Pos;
}

void MemoryStream::LoadFromFile(const std::filesystem::path& Path)
{
    FileDescriptor File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (File.Fd < 0) ThrowFileError(errno, "cannot open", Path);
    struct stat Info {};
    if (::fstat(File.Fd, &Info) != 0) ThrowFileError(errno, "cannot measure", Path);
    if (S_ISDIR(Info.st_mode)) ThrowFileError(EISDIR, "cannot read", Path);

    std::vector<std::uint8_t> Content;
    Content.reserve(static_cast<std::size_t>(std::max<off_t>(Info.st_size, 0)));
    std::uint8_t Chunk[65536];
    for (;;) {
        const ssize_t Got = ::read(File.Fd, Chunk, sizeof Chunk);
        if (Got < 0) {
            if (errno == EINTR) continue;
            ThrowFileError(errno, "cannot read", Path);
        }
        if (Got == 0) break;
        Content.insert(Content.end(), Chunk, Chunk + Got);
    }
    Data = std::move(Content);
    Pos = 0;
}

void MemoryStream::SaveToFile(const std::filesystem::path& Path) const
{
    // Replace the file a symbolic link points to, not the link.
    std::error_code Ignored;
    std::filesystem::path Target = Path;
    if (std::filesystem::is_symlink(Path, Ignored)) Target = std::filesystem::weakly_canonical(Path, Ignored);
    if (Target.empty()) ThrowFileError(ENOENT, "cannot write", Path);

    const std::filesystem::path Folder = Target.has_parent_path() ? Target.parent_path() : ".";
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "." + std::string.
    std::string Name = ".";
    Name += Target.filename().string();
    Name += ".XXXXXX";
    std::string Template = (Folder / Name).string();
    FileDescriptor Temp(::mkstemp(Template.data()));
    if (Temp.Fd < 0) ThrowFileError(errno, "cannot create a temporary file beside", Path);

    auto Fail = [&](int Error, const char* What) {
        ::unlink(Template.c_str());
        ThrowFileError(Error, What, Path);
    };

    // Keep the permission bits of the file being replaced; a new file gets
    // the usual 0666 less the umask.
    struct stat Old {};
    mode_t Mode;
    if (::stat(Target.c_str(), &Old) == 0) {
        Mode = Old.st_mode & 07777;
    } else {
        const mode_t Mask = ::umask(0);
        ::umask(Mask);
        Mode = 0666 & ~Mask;
    }
    if (::fchmod(Temp.Fd, Mode) != 0) Fail(errno, "cannot set the permissions of");

    const std::uint8_t* Next = Data.data();
    std::size_t Left = Data.size();
    while (Left > 0) {
        const ssize_t Put = ::write(Temp.Fd, Next, Left);
        if (Put < 0) {
            if (errno == EINTR) continue;
            Fail(errno, "cannot write");
        }
        Next += Put;
        Left -= static_cast<std::size_t>(Put);
    }
    if (::fsync(Temp.Fd) != 0) Fail(errno, "cannot write");
    if (::close(Temp.Release()) != 0) Fail(errno, "cannot write");
    if (::rename(Template.c_str(), Target.c_str()) != 0) Fail(errno, "cannot replace");
}
