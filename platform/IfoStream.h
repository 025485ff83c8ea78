// The seekable byte stream through which the Quoril library reads and writes
// one information file. The file begins at byte 0 of the stream; every
// position is an absolute byte offset from there.
#pragma once

#include <cstdint>

class IfoStream {
public:
    virtual ~IfoStream() = default;

    // Copies up to Count bytes from the current position into Buffer and
    // advances the position by the number delivered (0 at or past the end).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;

    // Stores Count bytes at the current position, making the stream longer
    // when needed, and advances the position. Returns the bytes stored.
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;

    // Moves to an absolute position, also past the end. Returns the new position.
    virtual std::int64_t Seek(std::int64_t Position) = 0;

    virtual std::int64_t Position() const = 0;

    // Total length in bytes; the position does not change.
    virtual std::int64_t Size() const = 0;
};
