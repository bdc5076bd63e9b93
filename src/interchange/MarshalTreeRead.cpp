#include "interchange/MarshalTree.h"

#include <cstdio>

namespace MKRUBY {

namespace {

bool isImmediate(uint8_t type)
{
    return type == T_NIL || type == T_TRUE || type == T_FALSE || type == T_FIXNUM || type == T_SYMBOL || type == T_LINK;
}

} // namespace

bool cMarshalReader::Fail(const std::string& what)
{
    if (error_.empty())
        error_ = what + " at byte " + std::to_string(in_.Position());
    in_.Fail();
    return false;
}

bool cMarshalReader::ReadByte(uint8_t& b)
{
    if (in_.AtEnd())
        return Fail("truncated");
    b = in_.U8();
    return true;
}

bool cMarshalReader::ReadLong(int32_t& v)
{
    uint8_t first;
    if (!ReadByte(first))
        return false;
    const int c = int8_t(first);
    if (c == 0) {
        v = 0;
        return true;
    }
    if (c > 4) {
        v = c - 5;
        return true;
    }
    if (c < -4) {
        v = c + 5;
        return true;
    }
    const int n = c > 0 ? c : -c;
    if (in_.Remaining() < size_t(n))
        return Fail("truncated");
    uint32_t x = c > 0 ? 0 : 0xFFFFFFFFu;
    for (int i = 0; i < n; ++i) {
        x &= ~(0xFFu << (8 * i));
        x |= uint32_t(in_.U8()) << (8 * i);
    }
    v = int32_t(x);
    return true;
}

bool cMarshalReader::ReadCount(int32_t& n, size_t minBytesEach)
{
    if (!ReadLong(n))
        return false;
    if (n < 0)
        return Fail("negative length");
    if (size_t(n) > in_.Remaining() / minBytesEach)
        return Fail("truncated");
    return true;
}

bool cMarshalReader::ReadBytes(std::string& out)
{
    int32_t n;
    if (!ReadCount(n, 1))
        return false;
    out.assign(in_.Bytes(size_t(n)));
    return true;
}

bool cMarshalReader::ReadVersion()
{
    uint8_t major, minor;
    if (!ReadByte(major) || !ReadByte(minor))
        return false;
    if (major != 4 || minor > 8) {
        in_.Seek(in_.Position() - 2);
        return Fail("not Ruby Marshal 4.8 data");
    }
    return true;
}

strMarshalNode* cMarshalReader::Registered(strMarshalNode* node)
{
    objects_.push_back(node);
    return node;
}

strMarshalNode* cMarshalReader::ReadSymbolBody(bool withIvars, int depth)
{
    if (depth > kMaxDepth) {
        Fail("nested too deeply");
        return nullptr;
    }
    strMarshalNode* s = pool_.New(T_SYMBOL);
    if (!ReadBytes(s->bytes))
        return nullptr;
    symbols_.push_back(s); // the index is taken before the encoding is read
    if (withIvars) {
        s->wrapped = true;
        if (!ReadPairs(s->ivars, true, depth + 1))
            return nullptr;
    }
    s->redefined = !symbolKeys_.insert(SymbolKey(*s)).second && markRedefined_;
    return s;
}

const strMarshalNode* cMarshalReader::ReadSymbol(int depth)
{
    if (depth > kMaxDepth) {
        Fail("nested too deeply");
        return nullptr;
    }
    uint8_t t;
    if (!ReadByte(t))
        return nullptr;
    bool withIvars = false;
    if (t == T_IVAR) {
        withIvars = true;
        if (!ReadByte(t))
            return nullptr;
        if (t != T_SYMBOL) {
            in_.Seek(in_.Position() - 1);
            Fail("symbol expected");
            return nullptr;
        }
    }
    if (t == T_SYMBOL)
        return ReadSymbolBody(withIvars, depth);
    if (t != T_SYMLINK) {
        in_.Seek(in_.Position() - 1);
        Fail("symbol expected");
        return nullptr;
    }
    int32_t index;
    if (!ReadLong(index))
        return nullptr;
    if (index < 0 || size_t(index) >= symbols_.size()) {
        Fail("bad symbol link");
        return nullptr;
    }
    return symbols_[size_t(index)];
}

bool cMarshalReader::ReadPairs(MarshalPairs& out, bool symbolKeys, int depth)
{
    int32_t n;
    if (!ReadCount(n, 2))
        return false;
    for (int32_t i = 0; i < n; ++i) {
        const strMarshalNode* key = symbolKeys ? ReadSymbol(depth) : Value(depth, nullptr, false);
        if (!key)
            return false;
        const strMarshalNode* v = Value(depth, nullptr, false);
        if (!v)
            return false;
        out.emplace_back(key, v);
    }
    return true;
}

const strMarshalNode* cMarshalReader::ReadValue() { return Value(0, nullptr, false); }

strMarshalNode* cMarshalReader::ReadArrayHead(int32_t& count)
{
    uint8_t t;
    if (!ReadByte(t))
        return nullptr;
    if (t != T_ARRAY) {
        in_.Seek(in_.Position() - 1);
        Fail("array expected");
        return nullptr;
    }
    if (!ReadCount(count, 1))
        return nullptr;
    return Registered(pool_.New(T_ARRAY));
}

strMarshalNode* cMarshalReader::Value(int depth, bool* pending, bool wrapped)
{
    if (depth > kMaxDepth) {
        Fail("nested too deeply");
        return nullptr;
    }
    const size_t start = in_.Position();
    uint8_t t;
    if (!ReadByte(t))
        return nullptr;
    strMarshalNode* n = nullptr;
    switch (t) {
    case T_NIL:
    case T_TRUE:
    case T_FALSE: return pool_.New(t);
    case T_FIXNUM: n = pool_.New(t); return ReadLong(n->number) ? n : nullptr;
    case T_SYMBOL: {
        const bool withIvars = pending && *pending;
        if (pending)
            *pending = false;
        return ReadSymbolBody(withIvars, depth);
    }
    case T_SYMLINK:
    case T_LINK: {
        int32_t index;
        if (pending || !ReadLong(index)) {
            in_.Seek(start);
            Fail("link where a value with instance variables belongs");
            return nullptr;
        }
        const auto& table = t == T_LINK ? objects_ : symbols_;
        if (index < 0 || size_t(index) >= table.size()) {
            in_.Seek(start);
            Fail("bad link");
            return nullptr;
        }
        if (t == T_SYMLINK)
            return const_cast<strMarshalNode*>(table[size_t(index)]);
        links_.push_back(index);
        n = pool_.New(T_LINK);
        n->target = table[size_t(index)];
        return n;
    }
    case T_IVAR: {
        // Ruby writes 'I' outermost, once.
        if (pending || wrapped) {
            in_.Seek(start);
            Fail("misplaced instance variables");
            return nullptr;
        }
        bool more = true;
        n = Value(depth + 1, &more, false);
        if (!n)
            return nullptr;
        if (isImmediate(n->type) && n->type != T_SYMBOL) {
            in_.Seek(start);
            Fail("instance variables on an immediate value");
            return nullptr;
        }
        n->wrapped = true;
        if (more && !ReadPairs(n->ivars, true, depth + 1))
            return nullptr;
        return n;
    }
    case T_EXTENDED:
    case T_UCLASS: {
        const strMarshalNode* name = ReadSymbol(depth);
        if (!name)
            return nullptr;
        const uint8_t inner = in_.Peek();
        const bool fits =
            t == T_EXTENDED
                ? inner != T_IVAR && inner != T_LINK && inner != T_SYMLINK && inner != T_SYMBOL && !isImmediate(inner)
                : inner == T_STRING || inner == T_REGEXP || inner == T_ARRAY || inner == T_HASH || inner == T_HASH_DEF;
        if (!fits && !in_.AtEnd()) {
            Fail("bad value after a class or module");
            return nullptr;
        }
        n = Value(depth + 1, nullptr, true);
        if (!n)
            return nullptr;
        if (t == T_EXTENDED)
            n->extended.insert(n->extended.begin(), name);
        else
            n->userClass = name;
        return n;
    }
    case T_FLOAT:
    case T_CLASS:
    case T_MODULE:
    case T_MODULE_OLD:
    case T_STRING: n = pool_.New(t); return ReadBytes(n->bytes) ? Registered(n) : nullptr;
    case T_BIGNUM: {
        n = pool_.New(t);
        uint8_t sign;
        int32_t words;
        if (!ReadByte(sign) || !ReadCount(words, 2))
            return nullptr;
        if (sign != '+' && sign != '-') {
            Fail("bad bignum sign");
            return nullptr;
        }
        n->number = sign;
        n->bytes.assign(in_.Bytes(size_t(words) * 2));
        return Registered(n);
    }
    case T_REGEXP: {
        n = pool_.New(t);
        uint8_t options;
        if (!ReadBytes(n->bytes) || !ReadByte(options))
            return nullptr;
        n->number = options;
        return Registered(n);
    }
    case T_ARRAY: {
        int32_t count;
        if (!ReadCount(count, 1))
            return nullptr;
        n = Registered(pool_.New(t));
        for (int32_t i = 0; i < count; ++i) {
            const strMarshalNode* item = Value(depth + 1, nullptr, false);
            if (!item)
                return nullptr;
            n->items.push_back(item);
        }
        return n;
    }
    case T_HASH:
    case T_HASH_DEF:
        n = Registered(pool_.New(t));
        if (!ReadPairs(n->pairs, false, depth + 1))
            return nullptr;
        if (t == T_HASH_DEF && !(n->defaultValue = Value(depth + 1, nullptr, false)))
            return nullptr;
        return n;
    case T_OBJECT:
    case T_STRUCT:
        n = Registered(pool_.New(t));
        if (!(n->className = ReadSymbol(depth)) || !ReadPairs(n->pairs, true, depth + 1))
            return nullptr;
        return n;
    case T_USERDEF:
        // Ruby takes the ivars of user data before it counts the object.
        n = pool_.New(t);
        if (!(n->className = ReadSymbol(depth)) || !ReadBytes(n->bytes))
            return nullptr;
        if (pending && *pending) {
            *pending = false;
            if (!ReadPairs(n->ivars, true, depth + 1))
                return nullptr;
        }
        return Registered(n);
    case T_USERMARSHAL:
    case T_DATA: {
        n = pool_.New(t);
        if (!(n->className = ReadSymbol(depth)))
            return nullptr;
        Registered(n);
        const strMarshalNode* inner = Value(depth + 1, nullptr, false);
        if (!inner)
            return nullptr;
        n->items.push_back(inner);
        return n;
    }
    default: {
        char text[40];
        std::snprintf(text, sizeof text, "unknown type byte 0x%02X", t);
        in_.Seek(start);
        Fail(text);
        return nullptr;
    }
    }
}

} // namespace MKRUBY
