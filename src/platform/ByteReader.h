#pragma once
// A cursor over bytes that never reads past their end. A read that runs past
// the end fails the reader for good: the cursor goes to the end, the read
// yields zeros or an empty view, and so does every read after it. Callers read
// on and check ok() once, where a decision needs it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::string_view data) : data_(data) {}
    ByteReader(const uint8_t* data, size_t size) : data_(reinterpret_cast<const char*>(data), size) {}

    bool ok() const { return ok_; }
    bool failed() const { return !ok_; }
    /** Fails the reader: the cursor goes to the end. */
    void fail();

    std::string_view data() const { return data_; }
    size_t size() const { return data_.size(); }
    size_t position() const { return pos_; }
    size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    /** Moves the cursor to min(position, size()); a failure stays recorded. */
    void seek(size_t position);
    /** Reads other bytes from here on, such as the data after it moved or grew;
     *  the cursor stays (clamped) and so does a failure. */
    void rebind(std::string_view data);

    uint8_t u8();
    /** The byte at the cursor without moving; 0 at the end (not a failure). */
    uint8_t peek() const { return atEnd() ? 0 : uint8_t(data_[pos_]); }
    // Little-endian numbers.
    uint16_t u16() { return uint16_t(number(2)); }
    uint32_t u32() { return uint32_t(number(4)); }
    int32_t i32() { return int32_t(u32()); }

    /** The next n bytes, or an empty view (and failure) when fewer are left. */
    std::string_view bytes(size_t n);
    /** The next n bytes or as many as are left; fewer than n fails the reader. */
    std::string_view upTo(size_t n);
    /** Steps over n bytes; fewer left fails the reader. */
    void skip(size_t n) { upTo(n); }

    /** A BER number: 7-bit groups, most significant first, bit 7 set on all but
     *  the last; value wraps at 64 bits. True when its last group came within
     *  maxBytes bytes. False when maxBytes groups all had bit 7 (the cursor is
     *  after them) or the end came first (the reader fails); value then holds
     *  the groups read. */
    bool ber(uint64_t& value, size_t maxBytes);

private:
    uint32_t number(size_t n);

    std::string_view data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace platform
