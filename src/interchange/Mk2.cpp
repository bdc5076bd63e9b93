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

namespace MK2 {

namespace {
// A number read from the data examines at most this many bytes.
constexpr size_t kMaxNumberBytes = 16;
} // namespace

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
    uint64_t value = 0;
    stream_.Reader().Ber(value, kMaxNumberBytes);
    return uint32_t(value);
}

uint32_t CReadClass::Next() { return count_-- >= 0 ? ReadNumber() : 0; }

int32_t CReadClass::ReadIntData()
{
    // The whole announced length is consumed, whatever the number used.
    platform::ByteReader data(stream_.Take(stream_.ReadByte()));
    uint64_t value = 0;
    data.Ber(value, data.Size());
    return int32_t(uint32_t(value));
}

size_t CReadClass::ReadStringData(std::string& text, size_t max)
{
    const size_t n = stream_.ReadByte();
    const size_t keep = max == 0 ? 0 : std::min(n, max - 1);
    text = stream_.Take(keep);
    stream_.Skip(int64_t(n - keep));
    return text.size();
}

void CReadClass::SkipData() { stream_.Skip(ReadNumber()); }

} // namespace MK2
