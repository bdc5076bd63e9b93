#include "interchange/ClipStream.h"

#include <algorithm>
#include <cstring>

Cclip_stream::Cclip_stream(const Cclip_stream& other) : buffer_(other.buffer_), reader_(other.reader_) { Rebind(); }

Cclip_stream& Cclip_stream::operator=(const Cclip_stream& other)
{
    if (this != &other) {
        buffer_ = other.buffer_;
        reader_ = other.reader_;
        Rebind();
    }
    return *this;
}

void Cclip_stream::Rebind()
{
    reader_.Rebind(std::string_view(reinterpret_cast<const char*>(buffer_.data()), buffer_.size()));
}

void Cclip_stream::Clear()
{
    buffer_.clear();
    reader_ = platform::ByteReader();
}

void Cclip_stream::Assign(const void* bytes, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    buffer_.assign(p, p + n);
    reader_ = platform::ByteReader(buffer_.data(), buffer_.size());
}

size_t Cclip_stream::Append(const void* bytes, size_t n)
{
    if (n == 0)
        return 0;
    const auto* p = static_cast<const uint8_t*>(bytes);
    buffer_.insert(buffer_.end(), p, p + n);
    Rebind();
    reader_.Seek(buffer_.size());
    return n;
}

size_t Cclip_stream::AppendByte(uint8_t b)
{
    buffer_.push_back(b);
    Rebind();
    reader_.Seek(buffer_.size());
    return 1;
}

size_t Cclip_stream::AppendStream(const Cclip_stream& other)
{
    // A copy first: other may be this stream.
    const size_t n = other.buffer_.size();
    buffer_.reserve(buffer_.size() + n);
    buffer_.insert(buffer_.end(), other.buffer_.begin(), other.buffer_.begin() + ptrdiff_t(n));
    Rebind();
    reader_.Seek(buffer_.size());
    return n;
}

size_t Cclip_stream::Patch(size_t offset, const void* bytes, size_t n)
{
    if (offset >= buffer_.size())
        return offset;
    const size_t count = std::min(n, buffer_.size() - offset);
    std::memcpy(buffer_.data() + offset, bytes, count);
    return offset + count;
}

size_t Cclip_stream::PatchU32(size_t offset, uint32_t value)
{
    const uint8_t le[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    return Patch(offset, le, 4);
}

size_t Cclip_stream::Read(void* dest, size_t n)
{
    const std::string_view v = reader_.UpTo(n);
    if (!v.empty())
        std::memcpy(dest, v.data(), v.size());
    return v.size();
}

void Cclip_stream::Skip(int64_t n)
{
    if (n < 0) {
        const uint64_t back = uint64_t(-(n + 1)) + 1;
        reader_.Seek(back >= Position() ? 0 : Position() - size_t(back));
    } else {
        reader_.Skip(uint64_t(n) > SIZE_MAX ? SIZE_MAX : size_t(n));
    }
}
