#include "interchange/MarshalMerge.h"

#include <algorithm>

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
                out->pairs.emplace_back(name, value);   // unknown to the writer
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
    const auto shape = node.type == T_OBJECT && node.className ? shapes.find(SymbolKey(*node.className))
                                                               : shapes.end();
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

void CollectShapes(const strMarshalNode& root, MarshalShapes& shapes)
{
    collect(root, shapes, 0);
}

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
