// The Marshal writer and the Table grid.
#include "interchange/RubyMarshal.h"

#include <cstring>

namespace MKRUBY {

namespace {

// Largest grid a table may hold (elements); far above any animation's needs.
constexpr int64_t kMaxTableElements = int64_t(1) << 26;

void appendI32(Cclip_stream& s, int32_t v)
{
    const uint32_t u = uint32_t(v);
    const uint8_t le[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    s.Append(le, 4);
}

} // namespace

bool CTable::Create(int32_t x, int32_t y, int32_t z)
{
    xsize_ = x;
    ysize_ = y;
    zsize_ = z;
    data_.clear();
    if (x < 1 || y < 1 || z < 1)
        return false;
    const int64_t count = int64_t(x) * y * z;
    if (count > kMaxTableElements)
        return false;
    data_.assign(size_t(count), 0);
    return true;
}

int16_t CTable::Get(int32_t x, int32_t y, int32_t z) const
{
    if (data_.empty() || x < 0 || y < 0 || z < 0 || x >= xsize_ || y >= ysize_ || z >= zsize_)
        return 0;
    return data_[size_t(x + int64_t(xsize_) * (y + int64_t(ysize_) * z))];
}

void CTable::Set(int32_t x, int32_t y, int32_t z, int16_t v)
{
    if (data_.empty() || x < 0 || y < 0 || z < 0 || x >= xsize_ || y >= ysize_ || z >= zsize_)
        return;
    data_[size_t(x + int64_t(xsize_) * (y + int64_t(ysize_) * z))] = v;
}

size_t CWrite::WriteLong(int32_t v)
{
    if (v == 0)
        return AppendByte(0);
    if (v > 0 && v < 123)
        return AppendByte(uint8_t(v + 5));
    if (v < 0 && v > -124)
        return AppendByte(uint8_t(v - 5));
    uint8_t bytes[5];
    int n = 0;
    uint32_t u = uint32_t(v);
    // Smallest count of bytes that holds the value (its complement when negative).
    uint32_t magnitude = v < 0 ? ~u : u;
    do {
        bytes[1 + n] = uint8_t(u >> (8 * n));
        ++n;
        magnitude >>= 8;
    } while (magnitude != 0 && n < 4);
    bytes[0] = uint8_t(v < 0 ? -n : n);
    return Append(bytes, size_t(n + 1));
}

size_t CWrite::WriteArray(int32_t n) { return AppendByte(T_ARRAY) + WriteLong(n); }

size_t CWrite::WriteRawString(std::string_view utf8) { return WriteLong(int32_t(utf8.size())) + Append(utf8); }

size_t CWrite::WriteSymbol(const Name& name)
{
    auto it = symbols_.find(&name);
    if (it == symbols_.end()) {
        symbols_.emplace(&name, int32_t(symbols_.size()));
    } else if (it->second < 0) {
        it->second = ~it->second;
    } else {
        return AppendByte(T_SYMLINK) + WriteLong(it->second);
    }
    return AppendByte(T_SYMBOL) + WriteRawString(name.text);
}

void CWrite::ReserveSymbol(const Name& name)
{
    if (symbols_.find(&name) == symbols_.end())
        symbols_.emplace(&name, ~int32_t(symbols_.size()));
}

size_t CWrite::WriteHeader(uint8_t type, const Name& name, int32_t n)
{
    return AppendByte(type) + WriteSymbol(name) + WriteLong(n);
}

size_t CWrite::WriteString(std::string_view utf8)
{
    static const Name kEncoding{"E"};
    if (utf8.empty() || style_ != STYLE_UTF8)
        return AppendByte(T_STRING) + WriteRawString(utf8);
    size_t n = AppendByte(T_IVAR) + AppendByte(T_STRING) + WriteRawString(utf8);
    n += WriteLong(1) + WriteSymbol(kEncoding) + AppendByte(T_TRUE);
    return n;
}

size_t CWrite::WriteIvar(const Name& name)
{
    ++ivars_;
    return WriteSymbol(name);
}

size_t CWrite::WriteIvarInt(const Name& name, int32_t v)
{
    return WriteIvar(name) + AppendByte(T_FIXNUM) + WriteLong(v);
}

size_t CWrite::WriteIvarString(const Name& name, std::string_view utf8) { return WriteIvar(name) + WriteString(utf8); }

size_t CWrite::WriteTable(const CTable& table)
{
    static const Name kTable{"Table"};
    const int32_t count = int32_t(table.Count());
    size_t n = WriteUserHeader(kTable, 20 + 2 * count);
    const int32_t dims = table.ZSize() >= 2 ? 3 : table.YSize() >= 2 ? 2 : 1;
    const size_t start = Size();
    appendI32(*this, dims);
    appendI32(*this, table.XSize());
    appendI32(*this, table.YSize());
    appendI32(*this, table.ZSize());
    appendI32(*this, count);
    if (count > 0) {
        std::vector<uint8_t> bytes(size_t(count) * 2);
        const int16_t* d = table.Data();
        for (int32_t i = 0; i < count; ++i) {
            bytes[size_t(i) * 2] = uint8_t(uint16_t(d[i]));
            bytes[size_t(i) * 2 + 1] = uint8_t(uint16_t(d[i]) >> 8);
        }
        Append(bytes.data(), bytes.size());
    }
    return n + (Size() - start);
}

size_t CWrite::WriteColor(double red, double green, double blue, double alpha)
{
    static const Name kColor{"Color"};
    size_t n = WriteUserHeader(kColor, 32);
    for (double d : {red, green, blue, alpha}) {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        uint8_t le[8];
        for (int i = 0; i < 8; ++i)
            le[i] = uint8_t(bits >> (8 * i));
        n += Append(le, 8);
    }
    return n;
}

ObjectScope::ObjectScope(CWrite& parent, const Name& className)
    : parent_(parent), className_(className), child_(parent.Symbols(), parent.Style())
{
    parent_.ReserveSymbol(className_);
}

ObjectScope::~ObjectScope()
{
    parent_.WriteHeader(T_OBJECT, className_, child_.IvarCount());
    parent_.AppendStream(child_);
}

} // namespace MKRUBY
