#include "platform/ByteReader.h"

#include <algorithm>

namespace platform {

void ByteReader::Fail()
{
    ok_ = false;
    pos_ = data_.size();
}

void ByteReader::Seek(size_t position) { pos_ = std::min(position, data_.size()); }

void ByteReader::Rebind(std::string_view data)
{
    data_ = data;
    pos_ = std::min(pos_, data_.size());
}

uint8_t ByteReader::U8()
{
    if (AtEnd()) {
        Fail();
        return 0;
    }
    return uint8_t(data_[pos_++]);
}

std::string_view ByteReader::Bytes(size_t n)
{
    if (n > Remaining()) {
        Fail();
        return {};
    }
    return UpTo(n);
}

std::string_view ByteReader::UpTo(size_t n)
{
    const size_t count = std::min(n, Remaining());
    const std::string_view v = data_.substr(pos_, count);
    pos_ += count;
    if (count < n)
        Fail();
    return v;
}

bool ByteReader::Ber(uint64_t& value, size_t maxBytes)
{
    value = 0;
    for (size_t i = 0; i < maxBytes; ++i) {
        if (AtEnd()) {
            Fail();
            return false;
        }
        const uint8_t b = uint8_t(data_[pos_++]);
        value = value * 128 + (b & 0x7F);
        if (b < 0x80)
            return true;
    }
    return false;
}

uint32_t ByteReader::Number(size_t n)
{
    const std::string_view v = Bytes(n);
    uint32_t value = 0;
    for (size_t i = v.size(); i-- > 0;)
        value = (value << 8) | uint8_t(v[i]);
    return value;
}

} // namespace platform
