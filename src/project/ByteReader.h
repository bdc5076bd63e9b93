#pragma once
// Little-endian byte reading and writing for the binary project file. The
// reader is bounded by the data's end and keeps a sticky failure flag: once a
// read runs past the end, it and every later read yield zeros.

#include <cstdint>
#include <string>
#include <string_view>

namespace ANIME {

class cByteReader {
public:
    explicit cByteReader(std::string_view data) : data_(data) {}

    bool ok() const { return ok_; }
    size_t position() const { return pos_; }

    uint8_t u8() { return uint8_t(read(1)); }
    uint16_t u16() { return uint16_t(read(2)); }
    uint32_t u32() { return uint32_t(read(4)); }

    /** n raw bytes, or an empty view (and failure) when fewer are left. */
    std::string_view bytes(size_t n)
    {
        if (!ok_ || n > data_.size() - pos_) {
            ok_ = false;
            return {};
        }
        std::string_view v = data_.substr(pos_, n);
        pos_ += n;
        return v;
    }
    void skip(size_t n) { bytes(n); }

    /** A length-prefixed string; it ends at its first NUL byte if it holds one. */
    std::string lstring()
    {
        std::string_view v = bytes(u8());
        return std::string(v.substr(0, v.find('\0')));
    }

private:
    uint32_t read(size_t n)
    {
        std::string_view v = bytes(n);
        uint32_t value = 0;
        for (size_t i = v.size(); i-- > 0;)
            value = (value << 8) | uint8_t(v[i]);
        return value;
    }

    std::string_view data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

inline void putU8(std::string& out, unsigned v) { out += char(uint8_t(v)); }
inline void putU16(std::string& out, unsigned v)
{
    out += char(uint8_t(v));
    out += char(uint8_t(v >> 8));
}
inline void putU32(std::string& out, uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
/** A length-prefixed string; the caller has checked that it fits in 255 bytes. */
inline void putLString(std::string& out, const std::string& s)
{
    putU8(out, unsigned(s.size()));
    out += s;
}

} // namespace ANIME
