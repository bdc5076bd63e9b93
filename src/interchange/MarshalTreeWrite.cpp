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
        remember(*objects[i]);
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

void cMarshalWriter::writeBytes(std::string_view bytes)
{
    WriteLong(int32_t(bytes.size()));
    out_.append(bytes);
}

bool cMarshalWriter::writeSymbol(const strMarshalNode& symbol, int depth)
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
    writeBytes(symbol.bytes);
    return !symbol.wrapped || writePairs(symbol.ivars, depth + 1);
}

bool cMarshalWriter::writePairs(const MarshalPairs& pairs, int depth)
{
    WriteLong(int32_t(pairs.size()));
    for (const auto& [key, value] : pairs)
        if (!write(*key, depth) || !write(*value, depth))
            return false;
    return true;
}

bool cMarshalWriter::write(const strMarshalNode& node, int depth)
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
    case T_SYMBOL: return writeSymbol(node, depth);
    case T_LINK: return node.target && write(*node.target, depth + 1);
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
        if (!writeSymbol(*module, depth))
            return false;
    }
    if (node.userClass) {
        out_ += char(T_UCLASS);
        if (!writeSymbol(*node.userClass, depth))
            return false;
    }
    bool ivarsDone = !node.wrapped;
    const uint8_t type = node.type;
    if (type != T_USERDEF)
        remember(node);
    out_ += char(type);
    switch (type) {
    case T_FLOAT:
    case T_CLASS:
    case T_MODULE:
    case T_MODULE_OLD:
    case T_STRING: writeBytes(node.bytes); break;
    case T_BIGNUM:
        out_ += char(node.number);
        WriteLong(int32_t(node.bytes.size() / 2));
        out_ += node.bytes;
        break;
    case T_REGEXP:
        writeBytes(node.bytes);
        out_ += char(node.number);
        break;
    case T_ARRAY:
        WriteLong(int32_t(node.items.size()));
        for (const strMarshalNode* item : node.items)
            if (!write(*item, depth))
                return false;
        break;
    case T_HASH:
    case T_HASH_DEF:
        if (!writePairs(node.pairs, depth))
            return false;
        if (type == T_HASH_DEF && !(node.defaultValue && write(*node.defaultValue, depth)))
            return false;
        break;
    case T_OBJECT:
    case T_STRUCT:
        if (!node.className || !writeSymbol(*node.className, depth) || !writePairs(node.pairs, depth))
            return false;
        break;
    case T_USERDEF:
        if (!node.className || !writeSymbol(*node.className, depth))
            return false;
        writeBytes(node.bytes);
        // Counted after its ivars, as the reader counts it, unless a module wrapper
        // makes the reader count it first.
        if (!ivarsDone && node.extended.empty()) {
            if (!writePairs(node.ivars, depth))
                return false;
            ivarsDone = true;
        }
        remember(node);
        break;
    case T_USERMARSHAL:
    case T_DATA:
        if (!node.className || !writeSymbol(*node.className, depth) || node.items.size() != 1 ||
            !write(*node.items[0], depth))
            return false;
        break;
    default: return false;
    }
    return ivarsDone || writePairs(node.ivars, depth);
}

} // namespace MKRUBY
