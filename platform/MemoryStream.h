// An IfoStream over a growable byte buffer, with whole-file load and save.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "IfoStream.h"

class MemoryStream : public IfoStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> Bytes) : Data(std::move(Bytes)) {}

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t NewPosition) override;
    std::int64_t Position() const override { return Pos; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(Data.size()); }

    // Replaces the content with the whole file and moves to byte 0. Throws
    // std::system_error naming the path and the system's reason.
    void LoadFromFile(const std::filesystem::path& Path);

    // Writes the whole content to Path, replacing the file atomically: the
    // bytes go to a temporary file in the same folder, which is then renamed
    // over the target. An existing target keeps its permission bits. On any
    // failure the target is untouched, the temporary file is removed, and
    // std::system_error names the path and the reason.
    void SaveToFile(const std::filesystem::path& Path) const;

    const std::vector<std::uint8_t>& Bytes() const { return Data; }

private:
    std::vector<std::uint8_t> Data;
    std::int64_t Pos = 0;
};
