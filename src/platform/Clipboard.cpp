#include "platform/Clipboard.h"

namespace platform {

bool Clipboard::Store(const std::string& format, const std::vector<uint8_t>& bytes)
{
    if (!Open())
        return false;
    Empty();
    const bool ok = SetData(format, bytes);
    Close();
    return ok;
}

bool Clipboard::Fetch(const std::string& format, std::vector<uint8_t>& out)
{
    out.clear();
    if (!Open())
        return false;
    const bool ok = GetData(format, out);
    Close();
    if (!ok)
        out.clear();
    return ok;
}

bool MemoryClipboard::Open()
{
    if (open_ || lockedByOther_)
        return false;
    open_ = true;
    return true;
}

void MemoryClipboard::Close() { open_ = false; }

bool MemoryClipboard::Empty()
{
    if (!open_)
        return false;
    formats_.clear();
    return true;
}

bool MemoryClipboard::SetData(const std::string& format, const std::vector<uint8_t>& bytes)
{
    if (!open_)
        return false;
    formats_[format] = bytes;
    return true;
}

bool MemoryClipboard::GetData(const std::string& format, std::vector<uint8_t>& out)
{
    if (!open_)
        return false;
    auto it = formats_.find(format);
    if (it == formats_.end())
        return false;
    out = it->second;
    return true;
}

bool MemoryClipboard::IsAvailable(const std::string& format) { return formats_.count(format) != 0; }

namespace {
MemoryClipboard& processClipboard()
{
    static MemoryClipboard clipboard;
    return clipboard;
}
Clipboard* installed = nullptr;
} // namespace

Clipboard& SystemClipboard() { return installed ? *installed : processClipboard(); }

void SetSystemClipboard(Clipboard* clipboard) { installed = clipboard; }

} // namespace platform
