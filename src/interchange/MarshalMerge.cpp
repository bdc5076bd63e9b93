#include "interchange/MarshalMerge.h"

#include <algorithm>
#include <cstdint>

namespace MKRUBY {

namespace {

const strMarshalNode* pairValue(const MarshalPairs& pairs, const strMarshalNode& name)
{
    const std::string key = SymbolKey(name);
    for (const auto& [k, v] : pairs)
        if (SymbolKey(*k) == key)
            return v;
    return nullptr;
}

bool sameClass(const strMarshalNode& a, const strMarshalNode& b)
{
    return a.className && b.className && SymbolKey(*a.className) == SymbolKey(*b.className);
}

// Table user data: five 32-bit words (dimensions, x, y, z sizes, count), then
// the 16-bit elements with x running fastest.
struct strTableShape {
    uint32_t x = 0, y = 0, z = 0;
};

bool tableShape(const strMarshalNode& n, strTableShape& shape)
{
    if (n.type != T_USERDEF || !n.className || SymbolKey(*n.className) != "Table" || n.bytes.size() < 20)
        return false;
    auto word = [&n](size_t i) {
        const auto* b = reinterpret_cast<const uint8_t*>(n.bytes.data()) + 4 * i;
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    };
    shape = {word(1), word(2), word(3)};
    const uint64_t count = uint64_t(shape.x) * shape.y * shape.z;
    return count == word(4) && n.bytes.size() == 20 + 2 * count;
}

// A cell table (cells along x, their values along y and z) the edit keeps in
// the shape the writer gives the stored one: each cell the edit left as the
// writer makes it keeps the stored values, and stored cells past the writer's
// (trailing empty slots) stay, so empty slots and untouched cells are kept. Null
// for anything else.
const strMarshalNode* mergeTable(const strMarshalNode& old, const strMarshalNode& base, const strMarshalNode& edited,
                                 cMarshalPool& pool)
{
    strTableShape o, b, e;
    if (!tableShape(old, o) || !tableShape(base, b) || !tableShape(edited, e) || b.x != e.x || o.x < e.x ||
        o.y != e.y || b.y != e.y || o.z != e.z || b.z != e.z)
        return nullptr;
    strMarshalNode* out = pool.New(T_USERDEF);
    *out = old;
    const size_t rows = size_t(e.y) * e.z;
    auto at = [](size_t width, size_t x, size_t row) { return 20 + 2 * (x + width * row); };
    for (size_t x = 0; x < e.x; ++x) {
        bool same = true;
        for (size_t r = 0; r < rows && same; ++r)
            same = edited.bytes.compare(at(e.x, x, r), 2, base.bytes, at(e.x, x, r), 2) == 0;
        if (!same)
            for (size_t r = 0; r < rows; ++r)
                out->bytes.replace(at(o.x, x, r), 2, edited.bytes, at(e.x, x, r), 2);
    }
    return out;
}

const strMarshalNode* merge(const strMarshalNode& oldRef, const strMarshalNode& baseRef,
                            const strMarshalNode& editedRef, cMarshalPool& pool, int depth)
{
    if (MarshalEqual(editedRef, baseRef))
        return &oldRef;
    const strMarshalNode& old = Deref(oldRef);
    const strMarshalNode& base = Deref(baseRef);
    const strMarshalNode& edited = Deref(editedRef);
    if (depth > cMarshalWriter::kMaxDepth || old.type != edited.type || base.type != edited.type)
        return &editedRef;

    if (edited.type == T_OBJECT && sameClass(old, edited) && sameClass(base, edited)) {
        strMarshalNode* out = pool.New(T_OBJECT);
        *out = old;
        out->pairs.clear();
        for (const auto& [name, value] : old.pairs) {
            const strMarshalNode* b = pairValue(base.pairs, *name);
            const strMarshalNode* e = pairValue(edited.pairs, *name);
            if (b && e)
                out->pairs.emplace_back(name, merge(*value, *b, *e, pool, depth + 1));
            else if (e)
                out->pairs.emplace_back(name, e);
            else if (!b)
                out->pairs.emplace_back(name, value); // unknown to the writer
        }
        // Ivars the stored entry lacks: added only when the edit gives them another value.
        for (const auto& [name, value] : edited.pairs) {
            if (pairValue(old.pairs, *name))
                continue;
            const strMarshalNode* b = pairValue(base.pairs, *name);
            if (!b || !MarshalEqual(*b, *value))
                out->pairs.emplace_back(name, value);
        }
        return out;
    }

    // Timings the writer left out (idle ones) break the pairing of old's elements
    // with base's: then the edited list stands as it is.
    if (edited.type == T_ARRAY && old.items.size() == base.items.size()) {
        strMarshalNode* out = pool.New(T_ARRAY);
        *out = old;
        out->items.clear();
        const size_t common = std::min({old.items.size(), base.items.size(), edited.items.size()});
        for (size_t i = 0; i < edited.items.size(); ++i)
            out->items.push_back(i < common ? merge(*old.items[i], *base.items[i], *edited.items[i], pool, depth + 1)
                                            : edited.items[i]);
        return out;
    }
    if (const strMarshalNode* table = edited.type == T_USERDEF ? mergeTable(old, base, edited, pool) : nullptr)
        return table;
    return &editedRef;
}

void collect(const strMarshalNode& node, MarshalShapes& shapes, int depth)
{
    if (depth > cMarshalWriter::kMaxDepth || node.type == T_LINK)
        return;
    if (node.type == T_OBJECT && node.className) {
        std::vector<std::string>& shape = shapes[SymbolKey(*node.className)];
        for (const auto& [name, value] : node.pairs) {
            const std::string key = SymbolKey(*name);
            if (std::find(shape.begin(), shape.end(), key) == shape.end())
                shape.push_back(key);
        }
    }
    for (const strMarshalNode* item : node.items)
        collect(*item, shapes, depth + 1);
    for (const auto& [key, value] : node.pairs) {
        collect(*key, shapes, depth + 1);
        collect(*value, shapes, depth + 1);
    }
    for (const auto& [key, value] : node.ivars)
        collect(*value, shapes, depth + 1);
    if (node.defaultValue)
        collect(*node.defaultValue, shapes, depth + 1);
}

const strMarshalNode* reshape(const strMarshalNode& node, const MarshalShapes& shapes, cMarshalPool& pool, int depth)
{
    if (depth > cMarshalWriter::kMaxDepth || (node.items.empty() && node.pairs.empty()))
        return &node;
    strMarshalNode* out = pool.New(node.type);
    *out = node;
    for (const strMarshalNode*& item : out->items)
        item = reshape(*item, shapes, pool, depth + 1);
    for (auto& pair : out->pairs)
        pair.second = reshape(*pair.second, shapes, pool, depth + 1);
    const auto shape = node.type == T_OBJECT && node.className ? shapes.find(SymbolKey(*node.className)) : shapes.end();
    if (shape != shapes.end()) {
        const std::vector<std::string>& order = shape->second;
        auto rank = [&order](const strMarshalNode* name) {
            return size_t(std::find(order.begin(), order.end(), SymbolKey(*name)) - order.begin());
        };
        std::stable_sort(out->pairs.begin(), out->pairs.end(),
                         [&rank](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
    }
    return out;
}

} // namespace

void CollectShapes(const strMarshalNode& root, MarshalShapes& shapes) { collect(root, shapes, 0); }

const strMarshalNode* Reshape(const strMarshalNode& node, const MarshalShapes& shapes, cMarshalPool& pool)
{
    return reshape(node, shapes, pool, 0);
}

const strMarshalNode* MergeMarshal(const strMarshalNode& old, const strMarshalNode& base, const strMarshalNode& edited,
                                   cMarshalPool& pool)
{
    return merge(old, base, edited, pool, 0);
}

const strMarshalNode* WithPair(const strMarshalNode& objectRef, const strMarshalNode& name, const strMarshalNode& value,
                               cMarshalPool& pool)
{
    const strMarshalNode& object = Deref(objectRef);
    const strMarshalNode* current = pairValue(object.pairs, name);
    if (current && MarshalEqual(*current, value))
        return &objectRef;
    strMarshalNode* out = pool.New(object.type);
    *out = object;
    const std::string key = SymbolKey(name);
    bool set = false;
    for (auto& pair : out->pairs)
        if (SymbolKey(*pair.first) == key) {
            pair.second = &value;
            set = true;
        }
    if (!set)
        out->pairs.emplace_back(&name, &value);
    return out;
}

} // namespace MKRUBY
