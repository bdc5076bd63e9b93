#include "platform/ByteReader.h"

#include <algorithm>

namespace platform {

void ByteReader::fail()
{
    ok_ = false;
    pos_ = data_.size();
}

void ByteReader::seek(size_t position) { pos_ = std::min(position, data_.size()); }

void ByteReader::rebind(std::string_view data)
{
    data_ = data;
    pos_ = std::min(pos_, data_.size());
}

uint8_t ByteReader::u8()
{
    if (atEnd()) {
        fail();
        return 0;
    }
    return uint8_t(data_[pos_++]);
}

std::string_view ByteReader::bytes(size_t n)
{
    if (n > remaining()) {
        fail();
        return {};
    }
    return upTo(n);
}

std::string_view ByteReader::upTo(size_t n)
{
    const size_t count = std::min(n, remaining());
    const std::string_view v = data_.substr(pos_, count);
    pos_ += count;
    if (count < n)
        fail();
    return v;
}

bool ByteReader::ber(uint64_t& value, size_t maxBytes)
{
    value = 0;
    for (size_t i = 0; i < maxBytes; ++i) {
        if (atEnd()) {
            fail();
            return false;
        }
        const uint8_t b = uint8_t(data_[pos_++]);
        value = value * 128 + (b & 0x7F);
        if (b < 0x80)
            return true;
    }
    return false;
}

uint32_t ByteReader::number(size_t n)
{
    const std::string_view v = bytes(n);
    uint32_t value = 0;
    for (size_t i = v.size(); i-- > 0;)
        value = (value << 8) | uint8_t(v[i]);
    return value;
}

} // namespace platform
