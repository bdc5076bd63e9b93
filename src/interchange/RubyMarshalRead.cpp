// The typed Marshal reader and its skipper.
#include "interchange/RubyMarshal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace MKRUBY {

namespace {

// Length of a prefix of s that ends on a whole UTF-8 character.
size_t utf8Boundary(const std::string& s)
{
    size_t n = s.size();
    size_t i = n;
    int back = 0;
    while (i > 0 && back < 4 && (uint8_t(s[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++back;
    }
    if (i == 0)
        return back == 0 ? 0 : n; // only continuation bytes: leave as is
    const uint8_t lead = uint8_t(s[i - 1]);
    size_t need = 1;
    if (lead >= 0xF0)
        need = 4;
    else if (lead >= 0xE0)
        need = 3;
    else if (lead >= 0xC0)
        need = 2;
    return (n - (i - 1) < need) ? i - 1 : n;
}

// Byte size of an x * y * z grid of 16-bit values, saturated; 0 for a size below 1.
uint64_t gridBytes(int32_t x, int32_t y, int32_t z)
{
    if (x < 1 || y < 1 || z < 1)
        return 0;
    const uint64_t xy = uint64_t(x) * uint64_t(y); // below 2^62
    if (xy > (uint64_t(1) << 40) || uint64_t(z) > (uint64_t(1) << 20))
        return UINT64_MAX;
    return xy * uint64_t(z) * 2;
}

} // namespace

NameDictionary::NameDictionary(int32_t base, std::initializer_list<std::string_view> names)
{
    int32_t id = base;
    for (std::string_view n : names)
        ids_.emplace(std::string(n), id++);
}

int32_t NameDictionary::Find(std::string_view name) const
{
    auto it = ids_.find(std::string(name));
    return it == ids_.end() ? 0 : it->second;
}

int32_t CRead::ReadLong()
{
    const int8_t b = int8_t(ReadByte());
    if (b == 0)
        return 0;
    if (b >= 6)
        return b - 5;
    if (b <= -6)
        return b + 5;
    const int n = b < 0 ? -b : b;
    uint32_t value = 0;
    int used = 0;
    for (; used < n && !AtEnd(); ++used) {
        const uint32_t byte = ReadByte();
        if (used < 4)
            value |= byte << (8 * used);
    }
    if (b < 0 && used < 4)
        value |= ~uint32_t(0) << (8 * used); // minus 2^(8n), in 32 bits
    return int32_t(value);
}

int32_t CRead::ReadFixnum()
{
    const Mark mark = GetMark();
    if (ReadByte() == T_FIXNUM)
        return ReadLong();
    Rewind(mark);
    SkipValue();
    return 0;
}

int32_t CRead::ReadArray()
{
    const Mark mark = GetMark();
    if (ReadByte() == T_ARRAY)
        return ReadLong();
    Rewind(mark);
    SkipValue();
    return 0;
}

size_t CRead::ReadBytes(std::string& text, size_t max)
{
    text.clear();
    const int32_t n = ReadLong();
    if (n <= 0 || max == 0)
        return 0;
    truncated_ = truncated_ || size_t(n) > Remaining();
    const size_t keep = std::min(size_t(n), std::min(max - 1, Remaining()));
    text.resize(keep);
    Read(text.data(), keep);
    if (size_t(n) > keep) {
        text.resize(utf8Boundary(text));
        textCut_ = true;
    }
    Skip(int64_t(n) - int64_t(keep));
    return text.size();
}

int32_t CRead::ReadSymbol(std::string& name)
{
    name.clear();
    const Mark mark = GetMark();
    const uint8_t type = ReadByte();
    if (type == T_SYMBOL) {
        ReadBytes(name, kMaxText);
        // Entered even when empty, so that later links keep their indices.
        symbols_.push_back(name);
        return name.empty() ? -1 : int32_t(symbols_.size() - 1);
    }
    if (type == T_SYMLINK) {
        const int32_t index = ReadLong();
        if (index >= 0 && size_t(index) < symbols_.size())
            name = symbols_[size_t(index)];
        return index;
    }
    if (type == T_IVAR && PeekByte() == T_SYMBOL) {
        // A symbol with an encoding: the symbol, then its instance variables.
        const int32_t index = ReadSymbol(name);
        SkipIvarPairs(ReadLong());
        return index;
    }
    Rewind(mark);
    SkipValue();
    return -1;
}

int32_t CRead::Lookup(const std::string& name) const
{
    for (auto it = dictionaries_.rbegin(); it != dictionaries_.rend(); ++it)
        if (int32_t id = (*it)->Find(name))
            return id;
    return 0;
}

int32_t CRead::ReadIvarId()
{
    std::string name;
    if (ReadSymbol(name) < 0 || name.empty())
        return 0;
    return Lookup(name);
}

int32_t CRead::ReadObject(int32_t& count)
{
    count = 0;
    const Mark mark = GetMark();
    const uint8_t type = ReadByte();
    if (type == T_OBJECT || type == T_USERDEF) {
        const int32_t id = ReadIvarId();
        if (id != 0) {
            count = ReadLong();
            return id;
        }
    }
    Rewind(mark);
    SkipValue();
    return 0;
}

size_t CRead::ReadString(std::string& utf8)
{
    utf8.clear();
    const Mark mark = GetMark();
    const uint8_t type = ReadByte();
    if (type == T_STRING)
        return ReadBytes(utf8, kMaxText);
    if (type == T_IVAR && PeekByte() == T_STRING) {
        ReadByte();
        ReadBytes(utf8, kMaxText);
        // The encoding mark (06 : E T) or any other instance variables.
        if (!SkipIvarPairs(ReadLong()))
            utf8.clear();
        return utf8.size();
    }
    Rewind(mark);
    SkipValue();
    return 0;
}

int32_t CRead::ReadUserHead(int32_t classId, int32_t& length, bool& wrapped)
{
    length = 0;
    const Mark mark = GetMark();
    wrapped = PeekByte() == T_IVAR;
    if (wrapped)
        ReadByte();
    if (ReadByte() == T_USERDEF && ReadIvarId() == classId) {
        length = std::max(ReadLong(), 0);
        return classId;
    }
    Rewind(mark);
    SkipValue();
    return 0;
}

void CRead::FinishUser(size_t end, bool wrapped)
{
    Seek(end);
    if (wrapped)
        SkipIvarPairs(ReadLong());
}

int32_t CRead::ReadTable(CTable& table, int32_t tableId)
{
    int32_t length;
    bool wrapped;
    if (ReadUserHead(tableId, length, wrapped) == 0)
        return 0;
    const size_t start = Position();
    truncated_ = truncated_ || size_t(length) > Remaining();
    const size_t end = start + std::min(size_t(length), Remaining());
    uint8_t head[20] = {};
    Read(head, std::min<size_t>(20, end - start));
    platform::ByteReader fields(head, sizeof head);
    const int32_t dims = fields.I32();
    const int32_t xs = fields.I32();
    const int32_t ys = fields.I32();
    const int32_t zs = fields.I32();
    const int32_t count = fields.I32();
    if (count != 0) {
        const size_t avail = end - Position();
        const int32_t y1 = dims < 2 ? 1 : ys, z1 = dims < 3 ? 1 : zs;
        const uint64_t stored = gridBytes(xs, ys, zs);
        // A grid larger than the data that is there cannot be genuine.
        if (stored > 0 && gridBytes(xs, y1, z1) <= avail && table.Create(xs, y1, z1)) {
            const size_t n = size_t(std::min<uint64_t>({stored, table.Count() * 2, avail}));
            platform::ByteReader grid(Take(n));
            int16_t* d = table.Data();
            for (size_t i = 0; i + 1 < n; i += 2)
                d[i / 2] = int16_t(grid.U16());
        }
    }
    FinishUser(end, wrapped);
    return length;
}

uint32_t CRead::ReadColor(int32_t colorId)
{
    int32_t length;
    bool wrapped;
    if (ReadUserHead(colorId, length, wrapped) == 0)
        return 0;
    truncated_ = truncated_ || size_t(length) > Remaining();
    const size_t end = Position() + std::min(size_t(length), Remaining());
    const double defaults[4] = {100.0, 0.0, 0.0, 0.0};
    uint8_t raw[32];
    for (int i = 0; i < 4; ++i) {
        uint64_t bits;
        std::memcpy(&bits, &defaults[i], 8);
        for (int k = 0; k < 8; ++k)
            raw[i * 8 + k] = uint8_t(bits >> (8 * k));
    }
    Read(raw, std::min<size_t>(32, end - Position()));
    uint32_t packed = 0;
    for (int i = 0; i < 4; ++i) {
        uint64_t bits = 0;
        for (int k = 0; k < 8; ++k)
            bits |= uint64_t(raw[i * 8 + k]) << (8 * k);
        double d;
        std::memcpy(&d, &bits, 8);
        int64_t whole = 0;
        if (std::isfinite(d) && std::fabs(d) < 9.2e18)
            whole = int64_t(d);
        packed |= uint32_t(uint8_t(whole)) << (8 * i);
    }
    FinishUser(end, wrapped);
    return packed;
}

void CRead::Rewind(const Mark& mark)
{
    Seek(mark.position);
    if (symbols_.size() > mark.symbols)
        symbols_.resize(mark.symbols);
}

void CRead::SkipBytes()
{
    const int32_t n = ReadLong();
    if (n > 0)
        Skip(n);
}

bool CRead::SkipValue()
{
    if (SkipNested(0))
        return true;
    Seek(Size());
    return false;
}

bool CRead::SkipIvarPairs(int32_t count, int depth)
{
    for (int32_t i = 0; i < count; ++i) {
        std::string name;
        const uint8_t t = PeekByte();
        if (t != T_SYMBOL && t != T_SYMLINK)
            return false;
        ReadSymbol(name);
        if (!SkipNested(depth + 1))
            return false;
    }
    return true;
}

bool CRead::SkipNested(int depth)
{
    if (depth > kMaxDepth || AtEnd())
        return false;
    std::string name;
    const uint8_t type = ReadByte();
    auto symbol = [&]() {
        const uint8_t t = PeekByte();
        if (t != T_SYMBOL && t != T_SYMLINK)
            return false;
        ReadSymbol(name);
        return true;
    };
    auto values = [&](int64_t n) {
        for (int64_t i = 0; i < n; ++i)
            if (!SkipNested(depth + 1))
                return false;
        return true;
    };
    switch (type) {
    case T_NIL:
    case T_TRUE:
    case T_FALSE: return true;
    case T_FIXNUM:
    case T_LINK: ReadLong(); return true;
    case T_SYMBOL:
    case T_SYMLINK:
        Skip(-1);
        ReadSymbol(name); // a definition still counts for later links
        return true;
    case T_STRING:
    case T_FLOAT:
    case T_CLASS:
    case T_MODULE:
    case T_MODULE_OLD: SkipBytes(); return true;
    case T_REGEXP:
        SkipBytes();
        ReadByte(); // options
        return true;
    case T_BIGNUM: {
        ReadByte(); // sign
        const int32_t words = ReadLong();
        if (words > 0)
            Skip(int64_t(words) * 2);
        return true;
    }
    case T_ARRAY: return values(ReadLong());
    case T_HASH: return values(int64_t(ReadLong()) * 2);
    case T_HASH_DEF: return values(int64_t(ReadLong()) * 2) && SkipNested(depth + 1);
    case T_IVAR: return SkipNested(depth + 1) && SkipIvarPairs(ReadLong(), depth);
    case T_OBJECT:
    case T_STRUCT: return symbol() && SkipIvarPairs(ReadLong(), depth);
    case T_USERDEF:
        if (!symbol())
            return false;
        SkipBytes();
        return true;
    case T_USERMARSHAL:
    case T_EXTENDED:
    case T_UCLASS:
    case T_DATA: return symbol() && SkipNested(depth + 1);
    default: return false;
    }
}

} // namespace MKRUBY
