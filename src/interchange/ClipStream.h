#pragma once
// Cclip_stream: a growable byte buffer with a cursor, the unit of every
// clipboard payload and of the interchange serializers. A stream is used
// either for writing (appends move the cursor to the end) or for reading
// (reads move the cursor forward); every read is bounded by the buffer's end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Cclip_stream {
public:
    Cclip_stream() = default;
    virtual ~Cclip_stream() = default;
    Cclip_stream(const Cclip_stream&) = default;
    Cclip_stream& operator=(const Cclip_stream&) = default;

    /** Empties the buffer; cursor 0. */
    void Clear();
    size_t Size() const { return buffer_.size(); }
    size_t Position() const { return cursor_; }
    size_t Remaining() const { return buffer_.size() - cursor_; }
    bool AtEnd() const { return cursor_ >= buffer_.size(); }
    const uint8_t* Data() const { return buffer_.data(); }
    const std::vector<uint8_t>& Bytes() const { return buffer_; }
    /** Replaces the contents with a copy of the bytes; cursor 0, ready for reading. */
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

    /** Copies min(n, bytes left) bytes from the cursor; returns the count copied. */
    size_t Read(void* dest, size_t n);
    /** The byte at the cursor, moving on; 0 at the end (the cursor stays). */
    uint8_t ReadByte();
    /** The byte at the cursor without moving; 0 at the end. */
    uint8_t PeekByte() const { return AtEnd() ? 0 : buffer_[cursor_]; }
    /** Moves the cursor by n (negative steps back); clamped to 0..Size(). */
    void Skip(int64_t n);
    /** Cursor = min(position, Size()). */
    void Seek(size_t position);

    /** Replaces the contents with the clipboard's data of the format; false (and
     *  empty) when the clipboard cannot be opened or holds no such data. */
    bool LoadFromClipboard(const std::string& format);
    /** Empties the clipboard and places the whole buffer under the format. */
    bool SaveToClipboard(const std::string& format) const;

private:
    std::vector<uint8_t> buffer_;
    size_t cursor_ = 0;
};
