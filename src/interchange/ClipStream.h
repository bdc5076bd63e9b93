#pragma once
// Cclip_stream: a growable byte buffer with a cursor, the bytes of every
// clipboard payload and of the interchange serializers (it does not touch the
// clipboard itself). A stream is used either for writing (appends move the
// cursor to the end) or for reading (reads move the cursor forward); reading
// goes through a bounded reader, whose failure sticks once a read runs past
// the end.

#include "platform/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Cclip_stream {
public:
    Cclip_stream() = default;
    virtual ~Cclip_stream() = default;
    Cclip_stream(const Cclip_stream& other);
    Cclip_stream& operator=(const Cclip_stream& other);

    /** Empties the buffer; cursor 0. */
    void Clear();
    size_t Size() const { return buffer_.size(); }
    size_t Position() const { return reader_.Position(); }
    size_t Remaining() const { return reader_.Remaining(); }
    bool AtEnd() const { return reader_.AtEnd(); }
    /** True once a read ran past the end (until Clear or Assign). */
    bool Failed() const { return reader_.Failed(); }
    const uint8_t* Data() const { return buffer_.data(); }
    const std::vector<uint8_t>& Bytes() const { return buffer_; }
    /** Replaces the contents with a copy of the bytes; cursor 0, ready for reading
     *  (no failure). */
    void Assign(const void* bytes, size_t n);
    void Assign(std::string_view bytes) { Assign(bytes.data(), bytes.size()); }

    /** Appends at the end and moves the cursor there; each returns the count appended. */
    size_t Append(const void* bytes, size_t n);
    size_t Append(std::string_view bytes) { return Append(bytes.data(), bytes.size()); }
    size_t AppendByte(uint8_t b);
    size_t AppendStream(const Cclip_stream& other);
    /** Overwrites bytes from offset on, never past the current end; returns the
     *  offset after the last byte written. */
    size_t Patch(size_t offset, const void* bytes, size_t n);
    /** Patch of an unsigned 32-bit little-endian number. */
    size_t PatchU32(size_t offset, uint32_t value);

    /** The reader over the buffer, at the cursor. */
    platform::ByteReader& Reader() { return reader_; }
    /** The next n bytes or as many as are left (fewer fails the reader). */
    std::string_view Take(size_t n) { return reader_.UpTo(n); }
    /** Copies min(n, bytes left) bytes from the cursor; returns the count copied. */
    size_t Read(void* dest, size_t n);
    /** The byte at the cursor, moving on; 0 at the end. */
    uint8_t ReadByte() { return reader_.U8(); }
    /** The byte at the cursor without moving; 0 at the end. */
    uint8_t PeekByte() const { return reader_.Peek(); }
    /** Moves the cursor by n (negative steps back, stopping at 0); a step past the
     *  end stops there and fails the reader. */
    void Skip(int64_t n);
    /** Cursor = min(position, Size()). */
    void Seek(size_t position) { reader_.Seek(position); }

private:
    /** Points the reader at the buffer again after it changed or moved. */
    void Rebind();

    std::vector<uint8_t> buffer_;
    platform::ByteReader reader_;
};
