#include "interchange/MarshalTree.h"

namespace MKRUBY {

void cMarshalWriter::Adopt(const std::vector<const strMarshalNode*>& symbols, size_t symbolCount,
                           const std::vector<const strMarshalNode*>& objects, size_t objectCount)
{
    for (size_t i = 0; i < symbolCount && i < symbols.size(); ++i) {
        symbolKeys_.push_back(SymbolKey(*symbols[i]));
        symbols_[symbolKeys_.back()] = int32_t(i);
        symbolNodes_[symbols[i]] = int32_t(i);
    }
    for (size_t i = 0; i < objectCount && i < objects.size(); ++i)
        Remember(*objects[i]);
}

void cMarshalWriter::WriteVersion()
{
    out_ += char(4);
    out_ += char(8);
}

void cMarshalWriter::WriteLong(int32_t v)
{
    if (v == 0) {
        out_ += char(0);
        return;
    }
    if (v > 0 && v < 123) {
        out_ += char(v + 5);
        return;
    }
    if (v < 0 && v > -124) {
        out_ += char((v - 5) & 0xFF);
        return;
    }
    char buf[5];
    int64_t x = v;
    int i = 1;
    for (; i <= 4; ++i) {
        buf[i] = char(x & 0xFF);
        x >>= 8;
        if (x == 0) {
            buf[0] = char(i);
            break;
        }
        if (x == -1) {
            buf[0] = char(-i);
            break;
        }
    }
    out_.append(buf, size_t(i) + 1);
}

void cMarshalWriter::WriteBytes(std::string_view bytes)
{
    WriteLong(int32_t(bytes.size()));
    out_.append(bytes);
}

bool cMarshalWriter::WriteSymbol(const strMarshalNode& symbol, int depth)
{
    std::string key = SymbolKey(symbol);
    int32_t link = -1;
    if (const auto same = symbolNodes_.find(&symbol); same != symbolNodes_.end())
        link = same->second;
    else if (const auto name = symbols_.find(key); name != symbols_.end() && !symbol.redefined)
        link = name->second;
    if (link >= 0) {
        out_ += char(T_SYMLINK);
        WriteLong(link);
        return true;
    }
    const int32_t index = int32_t(symbolKeys_.size());
    symbols_[key] = index;
    symbolNodes_[&symbol] = index;
    symbolKeys_.push_back(std::move(key));
    if (symbol.wrapped)
        out_ += char(T_IVAR);
    out_ += char(T_SYMBOL);
    WriteBytes(symbol.bytes);
    return !symbol.wrapped || WritePairs(symbol.ivars, depth + 1);
}

bool cMarshalWriter::WritePairs(const MarshalPairs& pairs, int depth)
{
    WriteLong(int32_t(pairs.size()));
    for (const auto& [key, value] : pairs)
        if (!WriteNode(*key, depth) || !WriteNode(*value, depth))
            return false;
    return true;
}

bool cMarshalWriter::WriteNode(const strMarshalNode& node, int depth)
{
    if (depth > kMaxDepth)
        return false;
    switch (node.type) {
    case T_NIL:
    case T_TRUE:
    case T_FALSE: out_ += char(node.type); return true;
    case T_FIXNUM:
        out_ += char(T_FIXNUM);
        WriteLong(node.number);
        return true;
    case T_SYMBOL: return WriteSymbol(node, depth);
    case T_LINK: return node.target && WriteNode(*node.target, depth + 1);
    default: break;
    }
    const auto found = objects_.find(&node);
    if (found != objects_.end()) {
        out_ += char(T_LINK);
        WriteLong(found->second);
        return true;
    }
    ++depth;
    if (node.wrapped)
        out_ += char(T_IVAR);
    for (const strMarshalNode* module : node.extended) {
        out_ += char(T_EXTENDED);
        if (!WriteSymbol(*module, depth))
            return false;
    }
    if (node.userClass) {
        out_ += char(T_UCLASS);
        if (!WriteSymbol(*node.userClass, depth))
            return false;
    }
    bool ivarsDone = !node.wrapped;
    const uint8_t type = node.type;
    if (type != T_USERDEF)
        Remember(node);
    out_ += char(type);
    switch (type) {
    case T_FLOAT:
    case T_CLASS:
    case T_MODULE:
    case T_MODULE_OLD:
    case T_STRING: WriteBytes(node.bytes); break;
    case T_BIGNUM:
        out_ += char(node.number);
        WriteLong(int32_t(node.bytes.size() / 2));
        out_ += node.bytes;
        break;
    case T_REGEXP:
        WriteBytes(node.bytes);
        out_ += char(node.number);
        break;
    case T_ARRAY:
        WriteLong(int32_t(node.items.size()));
        for (const strMarshalNode* item : node.items)
            if (!WriteNode(*item, depth))
                return false;
        break;
    case T_HASH:
    case T_HASH_DEF:
        if (!WritePairs(node.pairs, depth))
            return false;
        if (type == T_HASH_DEF && !(node.defaultValue && WriteNode(*node.defaultValue, depth)))
            return false;
        break;
    case T_OBJECT:
    case T_STRUCT:
        if (!node.className || !WriteSymbol(*node.className, depth) || !WritePairs(node.pairs, depth))
            return false;
        break;
    case T_USERDEF:
        if (!node.className || !WriteSymbol(*node.className, depth))
            return false;
        WriteBytes(node.bytes);
        // Counted after its ivars, as the reader counts it, unless a module wrapper
        // makes the reader count it first.
        if (!ivarsDone && node.extended.empty()) {
            if (!WritePairs(node.ivars, depth))
                return false;
            ivarsDone = true;
        }
        Remember(node);
        break;
    case T_USERMARSHAL:
    case T_DATA:
        if (!node.className || !WriteSymbol(*node.className, depth) || node.items.size() != 1 ||
            !WriteNode(*node.items[0], depth))
            return false;
        break;
    default: return false;
    }
    return ivarsDone || WritePairs(node.ivars, depth);
}

} // namespace MKRUBY
