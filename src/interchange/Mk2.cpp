#include "interchange/Mk2.h"

#include <algorithm>

int EncodeBer(uint32_t value, uint8_t* buffer, int size)
{
    int count = 1;
    for (uint32_t v = value >> 7; v != 0; v >>= 7)
        ++count;
    if (buffer && size >= count)
        for (int i = 0; i < count; ++i) {
            const uint8_t group = uint8_t((value >> (7 * (count - 1 - i))) & 0x7F);
            buffer[i] = i + 1 < count ? uint8_t(group | 0x80) : group;
        }
    return count;
}

uint32_t DecodeBer(int& used, const uint8_t* bytes, int size)
{
    uint32_t value = 0;
    used = 0;
    while (used < size) {
        const uint8_t b = bytes[used++];
        value = value * 128 + (b & 0x7F);
        if (b < 0x80)
            break;
    }
    return value;
}

namespace MK2 {

size_t CWrite::WriteNumber(uint32_t value)
{
    uint8_t buf[5];
    const int n = EncodeBer(value, buf, sizeof buf);
    return Append(buf, size_t(n));
}

size_t CWrite::WriteIntData(int32_t value)
{
    uint8_t buf[5];
    const int n = EncodeBer(uint32_t(value), buf, sizeof buf);
    return AppendByte(uint8_t(n)) + Append(buf, size_t(n));
}

size_t CWrite::WriteStringData(std::string_view text)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    return AppendByte(uint8_t(n)) + Append(text.data(), n);
}

size_t CWrite::WriteListChunk(uint32_t id, const Cclip_stream& body)
{
    return WriteNumber(id) + WriteNumber(uint32_t(body.Size())) + AppendStream(body);
}

uint32_t CReadArray::Next() { return count_-- > 0 ? ReadNumber() : 0; }

uint32_t CReadArray::ReadNumber()
{
    const int avail = int(std::min<size_t>(stream_.Remaining(), 16));
    int used = 0;
    const uint32_t value = DecodeBer(used, stream_.Data() + stream_.Position(), avail);
    stream_.Skip(used);
    return value;
}

uint32_t CReadClass::Next() { return count_-- >= 0 ? ReadNumber() : 0; }

int32_t CReadClass::ReadIntData()
{
    const int n = stream_.ReadByte();
    const int avail = int(std::min<size_t>(stream_.Remaining(), size_t(n)));
    int used = 0;
    const uint32_t value = DecodeBer(used, stream_.Data() + stream_.Position(), avail);
    // The whole announced length is consumed, whatever the number used.
    stream_.Skip(n);
    return int32_t(value);
}

size_t CReadClass::ReadStringData(std::string& text, size_t max)
{
    const size_t n = stream_.ReadByte();
    const size_t keep = max == 0 ? 0 : std::min(n, max - 1);
    text.resize(keep);
    text.resize(stream_.Read(text.data(), keep));
    stream_.Skip(int64_t(n - std::min(n, keep)));
    return text.size();
}

void CReadClass::SkipData() { stream_.Skip(ReadNumber()); }

} // namespace MK2
