#pragma once
// A cursor over bytes that never reads past their end. A read that runs past
// the end fails the reader for good: the cursor goes to the end, the read
// yields zeros or an empty view, and so does every read after it. Callers read
// on and check Ok() once, where a decision needs it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::string_view data) : data_(data) {}
    ByteReader(const uint8_t* data, size_t size) : data_(reinterpret_cast<const char*>(data), size) {}

    bool Ok() const { return ok_; }
    bool Failed() const { return !ok_; }
    /** Fails the reader: the cursor goes to the end. */
    void Fail();

    std::string_view Data() const { return data_; }
    size_t Size() const { return data_.size(); }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    /** Moves the cursor to min(position, Size()); a failure stays recorded. */
    void Seek(size_t position);
    /** Reads other bytes from here on, such as the data after it moved or grew;
     *  the cursor stays (clamped) and so does a failure. */
    void Rebind(std::string_view data);

    uint8_t U8();
    /** The byte at the cursor without moving; 0 at the end (not a failure). */
    uint8_t Peek() const { return AtEnd() ? 0 : uint8_t(data_[pos_]); }
    // Little-endian numbers.
    uint16_t U16() { return uint16_t(Number(2)); }
    uint32_t U32() { return uint32_t(Number(4)); }
    int32_t I32() { return int32_t(U32()); }

    /** The next n bytes, or an empty view (and failure) when fewer are left. */
    std::string_view Bytes(size_t n);
    /** The next n bytes or as many as are left; fewer than n fails the reader. */
    std::string_view UpTo(size_t n);
    /** Steps over n bytes; fewer left fails the reader. */
    void Skip(size_t n) { UpTo(n); }

    /** A BER number: 7-bit groups, most significant first, bit 7 set on all but
     *  the last; value wraps at 64 bits. True when its last group came within
     *  maxBytes bytes. False when maxBytes groups all had bit 7 (the cursor is
     *  after them) or the end came first (the reader fails); value then holds
     *  the groups read. */
    bool Ber(uint64_t& value, size_t maxBytes);

private:
    uint32_t Number(size_t n);

    std::string_view data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace platform
