#include "interchange/LcfTree.h"

#include "interchange/Mk2.h"

#include <algorithm>

namespace LCF {

namespace {

// The schemas nest a handful of levels; the limit guards against a schema that
// refers to itself.
constexpr int kMaxDepth = 16;
constexpr size_t kMaxBerBytes = 5;
// The clipboard reader takes the length of a known leaf as one plain byte.
constexpr size_t kMaxClipboardLeaf = 255;

/** The data of one record or array with the first failure's reason. */
class cReader {
public:
    cReader(std::string_view data, size_t base) : in_(data), base_(base) {}

    bool Number(uint32_t& value)
    {
        std::string error;
        if (ReadNumber(in_, value, error, base_))
            return true;
        if (error_.empty())
            error_ = error;
        return false;
    }

    bool Take(uint32_t size, std::string_view& out)
    {
        out = in_.Bytes(size);
        return in_.Ok() || Fail("truncated", in_.Size());
    }

    bool Fail(const char* what, size_t at)
    {
        if (error_.empty())
            error_ = std::string(what) + " at byte " + std::to_string(base_ + at);
        return false;
    }

    /** Takes over the outcome of a reader of nested data. */
    bool Adopt(const cReader& nested)
    {
        if (nested.error_.empty())
            return true;
        if (error_.empty())
            error_ = nested.error_;
        return false;
    }

    size_t Pos() const { return in_.Position(); }
    size_t Base() const { return base_; }
    bool AtEnd() const { return in_.AtEnd(); }
    std::string_view Span(size_t from) const { return in_.Data().substr(from, in_.Position() - from); }
    const std::string& Error() const { return error_; }

private:
    platform::ByteReader in_;
    size_t base_;
    std::string error_;
};

bool readRecord(cReader& r, const strKind& kind, strNode& out, int depth);
bool readArray(cReader& r, const strKind& kind, strNode& out, int depth);

// Parses a nested record or array that must fill the field's data exactly.
bool readNested(std::string_view data, size_t base, const strRule& rule, strNode& out, int depth, cReader& parent)
{
    cReader r(data, base);
    const bool ok =
        rule.shape == SHAPE_RECORD ? readRecord(r, *rule.child, out, depth) : readArray(r, *rule.child, out, depth);
    if (ok && !r.AtEnd())
        r.Fail(rule.shape == SHAPE_RECORD ? "stray bytes after a record" : "stray bytes after a list", r.Pos());
    return parent.Adopt(r);
}

bool readRecord(cReader& r, const strKind& kind, strNode& out, int depth)
{
    if (depth > kMaxDepth)
        return r.Fail("nested too deeply", r.Pos());
    out = strNode();
    out.shape = SHAPE_RECORD;
    const size_t start = r.Pos();
    for (;;) {
        const size_t fieldStart = r.Pos();
        uint32_t id = 0, size = 0;
        if (!r.Number(id))
            return false;
        if (id == 0)
            break;
        std::string_view data;
        if (!r.Number(size))
            return false;
        const size_t dataStart = r.Pos();
        if (!r.Take(size, data))
            return false;
        strField field;
        field.id = id;
        field.head = std::string(r.Span(fieldStart).substr(0, dataStart - fieldStart));
        const strRule* rule = kind.Find(id);
        if (rule && rule->shape != SHAPE_LEAF && rule->child) {
            if (!readNested(data, r.Base() + dataStart, *rule, field.data, depth + 1, r))
                return false;
        } else {
            field.data.raw = std::string(data);
            field.data.asRead = true;
        }
        out.fields.push_back(std::move(field));
    }
    out.raw = std::string(r.Span(start));
    out.asRead = true;
    return true;
}

bool readArray(cReader& r, const strKind& kind, strNode& out, int depth)
{
    if (depth > kMaxDepth)
        return r.Fail("nested too deeply", r.Pos());
    out = strNode();
    out.shape = SHAPE_ARRAY;
    const size_t start = r.Pos();
    uint32_t count = 0;
    if (!r.Number(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        // Each element takes at least two bytes (its index and the record's 00),
        // so a count the data cannot hold fails here rather than after a long loop.
        if (r.AtEnd())
            return r.Fail("truncated", r.Pos());
        const size_t elementStart = r.Pos();
        strElement element;
        if (!r.Number(element.index))
            return false;
        element.head = std::string(r.Span(elementStart));
        if (!readRecord(r, kind, element.record, depth + 1))
            return false;
        out.elements.push_back(std::move(element));
    }
    out.raw = std::string(r.Span(start));
    out.asRead = true;
    return true;
}

bool parseWhole(std::string_view data, size_t base, const strKind& kind, strNode& out, std::string& error, bool array)
{
    cReader r(data, base);
    bool ok = array ? readArray(r, kind, out, 0) : readRecord(r, kind, out, 0);
    if (ok && !r.AtEnd())
        ok = r.Fail(array ? "stray bytes after a list" : "stray bytes after a record", r.Pos());
    if (!ok) {
        error = r.Error();
        out = strNode();
    }
    return ok;
}

void write(const strNode& node, std::string& out, const strKind* kind, bool clipboard);

void writeField(const strField& f, std::string& out, const strKind* kind, bool clipboard)
{
    const strRule* rule = kind ? kind->Find(f.id) : nullptr;
    if (!clipboard && !f.head.empty() && f.data.asRead) {
        out += f.head;
        write(f.data, out, nullptr, false);
        return;
    }
    if (clipboard && rule && rule->shape == SHAPE_LEAF && f.data.raw.size() > 127) {
        const size_t n = std::min(f.data.raw.size(), kMaxClipboardLeaf);
        out += Ber(f.id);
        out += char(uint8_t(n));
        out.append(f.data.raw, 0, n);
        return;
    }
    std::string data;
    write(f.data, data, rule ? rule->child : nullptr, clipboard);
    out += Ber(f.id);
    out += Ber(uint32_t(data.size()));
    out += data;
}

void write(const strNode& node, std::string& out, const strKind* kind, bool clipboard)
{
    if (node.shape == SHAPE_LEAF || (node.asRead && !clipboard)) {
        out += node.raw;
        return;
    }
    if (node.shape == SHAPE_ARRAY) {
        out += Ber(uint32_t(node.elements.size()));
        for (const strElement& e : node.elements) {
            out += e.head.empty() || clipboard ? Ber(e.index) : e.head;
            write(e.record, out, kind, clipboard);
        }
        return;
    }
    std::vector<uint32_t> written;
    for (const strField& f : node.fields) {
        if (clipboard) {
            // The clipboard reader counts the fields it reads: give it only those it knows, once.
            if (!kind || !kind->Find(f.id) || std::find(written.begin(), written.end(), f.id) != written.end())
                continue;
            written.push_back(f.id);
        }
        writeField(f, out, kind, clipboard);
    }
    out += '\0';
}

bool holdsDefault(const strNode& leaf, const strRule& rule)
{
    if (rule.omitted == OMIT_TEXT)
        return leaf.raw == (rule.defaultText ? rule.defaultText : "");
    return leaf.shape == SHAPE_LEAF && LeafNumber(leaf) == uint32_t(rule.defaultInt);
}

bool sameBytes(const strNode& a, const strNode& b) { return Serialize(a) == Serialize(b); }

// The merged field keeps the stored one (its id and size bytes too) when its data came out the same.
void pushMerged(std::vector<strField>& out, const strField& stored, strNode merged)
{
    if (sameBytes(merged, stored.data)) {
        out.push_back(stored);
        return;
    }
    strField f;
    f.id = stored.id;
    f.data = std::move(merged);
    out.push_back(std::move(f));
}

strNode mergeRecord(const strNode& o, const strNode& b, const strNode& n, const strKind& kind)
{
    strNode out;
    out.shape = SHAPE_RECORD;
    std::vector<uint32_t> seen;
    for (const strField& f : o.fields) {
        const strField* nf = FindField(n, f.id);
        const strField* bf = FindField(b, f.id);
        if (std::find(seen.begin(), seen.end(), f.id) != seen.end()) {
            // A repeated field: the writer's value stands in the first one.
            if (!nf && !bf)
                out.fields.push_back(f);
            continue;
        }
        seen.push_back(f.id);
        const strRule* rule = kind.Find(f.id);
        if (nf && bf)
            pushMerged(out.fields, f, Merge(f.data, bf->data, nf->data, rule ? rule->child : nullptr));
        else if (nf)
            out.fields.push_back(*nf);
        else if (bf)
            continue; // the writer left it out this time: the default now holds
        else if (!rule || rule->omitted == OMIT_NEVER || holdsDefault(f.data, *rule))
            out.fields.push_back(f);
        // Otherwise a value the reader set aside (the position of an empty cell, the
        // colour of a flash that is off) in a record that changed: the writer's
        // omission means the default, which must win once the value takes effect.
    }
    for (const strField& nf : n.fields) {
        if (FindField(o, nf.id))
            continue;
        const strField* bf = FindField(b, nf.id);
        if (!bf || !sameBytes(bf->data, nf.data))
            out.fields.push_back(nf);
    }
    return out;
}

strNode mergeArray(const strNode& o, const strNode& b, const strNode& n, const strKind& kind)
{
    strNode out;
    out.shape = SHAPE_ARRAY;
    for (size_t i = 0; i < n.elements.size(); ++i) {
        const strElement& ne = n.elements[i];
        if (i >= o.elements.size() || i >= b.elements.size()) {
            out.elements.push_back(ne);
            continue;
        }
        const strElement& oe = o.elements[i];
        const strElement& be = b.elements[i];
        strElement e;
        e.index = ne.index == be.index ? oe.index : ne.index;
        e.record = Merge(oe.record, be.record, ne.record, &kind);
        if (e.index == oe.index && sameBytes(e.record, oe.record))
            out.elements.push_back(oe);
        else
            out.elements.push_back(std::move(e));
    }
    return out;
}

} // namespace

const strRule* strKind::Find(uint32_t id) const
{
    for (const strRule& r : rules)
        if (r.id == id)
            return &r;
    return nullptr;
}

bool ReadNumber(platform::ByteReader& in, uint32_t& value, std::string& error, size_t base)
{
    const size_t start = in.Position();
    uint64_t v = 0;
    if (!in.Ber(v, kMaxBerBytes)) {
        error = in.Failed() ? "truncated at byte " + std::to_string(base + in.Size())
                            : "a number longer than 5 bytes at byte " + std::to_string(base + start);
        return false;
    }
    if (v > UINT32_MAX) {
        error = "a number above 32 bits at byte " + std::to_string(base + start);
        return false;
    }
    value = uint32_t(v);
    return true;
}

bool ParseRecord(std::string_view data, size_t base, const strKind& kind, strNode& out, std::string& error)
{
    return parseWhole(data, base, kind, out, error, false);
}

bool ParseArray(std::string_view data, size_t base, const strKind& kind, strNode& out, std::string& error)
{
    return parseWhole(data, base, kind, out, error, true);
}

std::string Serialize(const strNode& node)
{
    std::string out;
    write(node, out, nullptr, false);
    return out;
}

std::string SerializeForClipboard(const strNode& node, const strKind& kind)
{
    std::string out;
    write(node, out, &kind, true);
    return out;
}

strNode Merge(const strNode& o, const strNode& b, const strNode& n, const strKind* kind)
{
    if (sameBytes(n, b))
        return o;
    if (kind && o.shape == SHAPE_RECORD && b.shape == SHAPE_RECORD && n.shape == SHAPE_RECORD)
        return mergeRecord(o, b, n, *kind);
    // Timings the writer left out (idle ones) break the pairing of o's elements
    // with b's: then n stands as it is.
    if (kind && o.shape == SHAPE_ARRAY && b.shape == SHAPE_ARRAY && n.shape == SHAPE_ARRAY &&
        o.elements.size() == b.elements.size())
        return mergeArray(o, b, n, *kind);
    return n;
}

const strField* FindField(const strNode& record, uint32_t id)
{
    for (const strField& f : record.fields)
        if (f.id == id)
            return &f;
    return nullptr;
}

uint32_t LeafNumber(const strNode& leaf)
{
    platform::ByteReader in(leaf.raw);
    uint64_t value = 0;
    in.Ber(value, kMaxBerBytes);
    return uint32_t(value);
}

std::string Ber(uint32_t value)
{
    uint8_t buf[kMaxBerBytes];
    const int n = EncodeBer(value, buf, int(sizeof buf));
    return std::string(reinterpret_cast<const char*>(buf), size_t(n));
}

} // namespace LCF
