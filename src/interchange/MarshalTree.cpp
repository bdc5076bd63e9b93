#include "interchange/MarshalTree.h"

namespace MKRUBY {

namespace {

bool equal(const strMarshalNode& a, const strMarshalNode& b, int depth);

bool equalSymbol(const strMarshalNode* a, const strMarshalNode* b)
{
    if (!a || !b)
        return a == b;
    return SymbolKey(*a) == SymbolKey(*b);
}

bool equalPairs(const MarshalPairs& a, const MarshalPairs& b, int depth)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!equal(*a[i].first, *b[i].first, depth) || !equal(*a[i].second, *b[i].second, depth))
            return false;
    return true;
}

bool equal(const strMarshalNode& left, const strMarshalNode& right, int depth)
{
    const strMarshalNode& a = Deref(left);
    const strMarshalNode& b = Deref(right);
    if (&a == &b)
        return true;
    if (depth > cMarshalWriter::kMaxDepth)
        return false;
    ++depth;
    if (a.type != b.type || a.number != b.number || a.bytes != b.bytes || a.wrapped != b.wrapped ||
        a.items.size() != b.items.size() || a.extended.size() != b.extended.size() ||
        !equalSymbol(a.className, b.className) || !equalSymbol(a.userClass, b.userClass) ||
        !equalPairs(a.ivars, b.ivars, depth) || !equalPairs(a.pairs, b.pairs, depth))
        return false;
    for (size_t i = 0; i < a.extended.size(); ++i)
        if (!equalSymbol(a.extended[i], b.extended[i]))
            return false;
    for (size_t i = 0; i < a.items.size(); ++i)
        if (!equal(*a.items[i], *b.items[i], depth))
            return false;
    if (!a.defaultValue || !b.defaultValue)
        return a.defaultValue == b.defaultValue;
    return equal(*a.defaultValue, *b.defaultValue, depth);
}

} // namespace

const strMarshalNode& Deref(const strMarshalNode& node)
{
    return node.type == T_LINK && node.target ? *node.target : node;
}

std::string SymbolKey(const strMarshalNode& symbol)
{
    std::string key = symbol.bytes;
    if (!symbol.wrapped)
        return key;
    // Only the encoding lives here (E true / false, or encoding "name").
    key += '\0';
    for (const auto& [name, value] : symbol.ivars) {
        key += name->bytes;
        key += '=';
        key += char(value->type);
        key += value->type == T_FIXNUM ? std::to_string(value->number) : value->bytes;
        key += '\0';
    }
    return key;
}

bool MarshalEqual(const strMarshalNode& a, const strMarshalNode& b) { return equal(a, b, 0); }

const strMarshalNode* FindPair(const strMarshalNode& object, std::string_view name)
{
    for (const auto& [key, value] : object.pairs)
        if (key->type == T_SYMBOL && key->bytes == name)
            return value;
    return nullptr;
}

std::string_view ClassName(const strMarshalNode& node)
{
    return node.className ? std::string_view(node.className->bytes) : std::string_view();
}

} // namespace MKRUBY
