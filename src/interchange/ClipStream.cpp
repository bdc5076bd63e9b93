#include "interchange/ClipStream.h"

#include "platform/Clipboard.h"

#include <algorithm>
#include <cstring>

void Cclip_stream::Clear()
{
    buffer_.clear();
    cursor_ = 0;
}

void Cclip_stream::Assign(const void* bytes, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    buffer_.assign(p, p + n);
    cursor_ = 0;
}

size_t Cclip_stream::Append(const void* bytes, size_t n)
{
    if (n == 0)
        return 0;
    const auto* p = static_cast<const uint8_t*>(bytes);
    buffer_.insert(buffer_.end(), p, p + n);
    cursor_ = buffer_.size();
    return n;
}

size_t Cclip_stream::AppendByte(uint8_t b)
{
    buffer_.push_back(b);
    cursor_ = buffer_.size();
    return 1;
}

size_t Cclip_stream::AppendStream(const Cclip_stream& other)
{
    // A copy first: other may be this stream.
    const size_t n = other.buffer_.size();
    buffer_.reserve(buffer_.size() + n);
    buffer_.insert(buffer_.end(), other.buffer_.begin(), other.buffer_.begin() + ptrdiff_t(n));
    cursor_ = buffer_.size();
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
    const size_t count = std::min(n, Remaining());
    if (count)
        std::memcpy(dest, buffer_.data() + cursor_, count);
    cursor_ += count;
    return count;
}

uint8_t Cclip_stream::ReadByte()
{
    if (AtEnd())
        return 0;
    return buffer_[cursor_++];
}

void Cclip_stream::Skip(int64_t n)
{
    if (n < 0) {
        const uint64_t back = uint64_t(-(n + 1)) + 1;
        cursor_ = back >= cursor_ ? 0 : cursor_ - size_t(back);
    } else {
        cursor_ = uint64_t(n) >= Remaining() ? buffer_.size() : cursor_ + size_t(n);
    }
}

void Cclip_stream::Seek(size_t position) { cursor_ = std::min(position, buffer_.size()); }

bool Cclip_stream::LoadFromClipboard(const std::string& format)
{
    Clear();
    platform::Clipboard& clipboard = platform::SystemClipboard();
    if (!clipboard.Open())
        return false;
    const bool ok = clipboard.GetData(format, buffer_);
    clipboard.Close();
    if (!ok)
        Clear();
    cursor_ = 0;
    return ok;
}

bool Cclip_stream::SaveToClipboard(const std::string& format) const
{
    platform::Clipboard& clipboard = platform::SystemClipboard();
    if (!clipboard.Open())
        return false;
    clipboard.Empty();
    const bool ok = clipboard.SetData(format, buffer_);
    clipboard.Close();
    return ok;
}
