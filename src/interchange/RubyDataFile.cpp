// XP Animations.rxdata, VX Animations.rvdata and VX Ace Animations.rvdata2:
// Marshal.dump of [nil, RPG::Animation (ID 1), ...]. An entry's ID is its index in
// the array, which is how the game looks it up (@id repeats it).
//
// The file stays as read: its bytes are kept, and an export rewrites only the
// entry it writes. Entries after it are copied as they were when the symbols and
// objects they refer to by index are where they were; otherwise they are written
// again from the tree, the way Ruby would write the changed array.

#include "interchange/DataFile.h"

#include "interchange/MarshalMerge.h"
#include "interchange/MarshalTree.h"
#include "interchange/RubyAnimation.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <memory>

using namespace MKRUBY;

namespace {

// Far above what the game's database holds; keeps an append from writing a huge file.
constexpr int kMaxId = 99999;

// One element of the top-level array: its bytes, and the symbol, object and
// link counts of the reader before and after it.
struct strSlot {
    const strMarshalNode* node = nullptr;
    size_t begin = 0, end = 0;
    size_t symbolsBegin = 0, symbolsEnd = 0;
    size_t objectsBegin = 0, objectsEnd = 0;
    size_t linksBegin = 0, linksEnd = 0;
};

struct strParsed {
    cMarshalPool pool;
    std::string bytes;
    std::vector<strSlot> slots;
    size_t headEnd = 0;  // where the first element starts
    size_t arrayEnd = 0; // where the array ends (bytes after it are kept as they are)
    std::vector<const strMarshalNode*> symbols, objects;
    std::vector<int32_t> links;
};

std::unique_ptr<strParsed> parse(std::string bytes, std::string& error)
{
    auto p = std::make_unique<strParsed>();
    p->bytes = std::move(bytes);
    cMarshalReader r(p->bytes, p->pool);
    int32_t count = 0;
    strMarshalNode* array = nullptr;
    if (!r.ReadVersion() || !(array = r.ReadArrayHead(count))) {
        error = r.Error();
        return nullptr;
    }
    p->headEnd = r.Position();
    for (int32_t i = 0; i < count; ++i) {
        strSlot s;
        s.begin = r.Position();
        s.symbolsBegin = r.Symbols().size();
        s.objectsBegin = r.Objects().size();
        s.linksBegin = r.Links().size();
        if (!(s.node = r.ReadValue())) {
            error = r.Error();
            return nullptr;
        }
        s.end = r.Position();
        s.symbolsEnd = r.Symbols().size();
        s.objectsEnd = r.Objects().size();
        s.linksEnd = r.Links().size();
        array->items.push_back(s.node);
        p->slots.push_back(s);
    }
    p->arrayEnd = r.Position();
    p->symbols = r.Symbols();
    p->objects = r.Objects();
    p->links = r.Links();
    return p;
}

bool isAnimation(const strMarshalNode& node) { return node.type == T_OBJECT && ClassName(node) == "RPG::Animation"; }

int fixnum(const strMarshalNode* node, int fallback = 0)
{
    return node && Deref(*node).type == T_FIXNUM ? Deref(*node).number : fallback;
}

int arrayLength(const strMarshalNode* node)
{
    return node && Deref(*node).type == T_ARRAY ? int(Deref(*node).items.size()) : 0;
}

// The xsize of a Table's user data (dims, xsize, ysize, zsize, count, values).
int tableWidth(const strMarshalNode* node)
{
    if (!node || Deref(*node).type != T_USERDEF || Deref(*node).bytes.size() < 8)
        return 0;
    const std::string& b = Deref(*node).bytes;
    const uint32_t x = uint32_t(uint8_t(b[4])) | uint32_t(uint8_t(b[5])) << 8 | uint32_t(uint8_t(b[6])) << 16 |
                       uint32_t(uint8_t(b[7])) << 24;
    return int(std::min<uint32_t>(x, 0x7FFFFFFF));
}

int rubyVersion(eDataFileKind kind) { return kind == DATA_XP ? RUBY_XP : kind == DATA_VX ? RUBY_VX : RUBY_VXACE; }

// Whether the file's strings carry the encoding mark ('I' with E): 1 plain, 2 marked,
// 0 when it holds no string with text. The first such string decides.
int stringStyle(const strMarshalNode& node, int depth = 0)
{
    if (node.type == T_STRING && !node.bytes.empty())
        return node.wrapped ? 2 : 1;
    if (depth > cMarshalReader::kMaxDepth)
        return 0;
    for (const strMarshalNode* item : node.items)
        if (const int style = stringStyle(*item, depth + 1))
            return style;
    for (const auto& pair : node.pairs)
        if (const int style = stringStyle(*pair.second, depth + 1))
            return style;
    return 0;
}

// The tree with the encoding marks of its strings taken off, for files written
// without them.
const strMarshalNode* unmarked(const strMarshalNode& node, cMarshalPool& pool, int depth = 0)
{
    const bool marked =
        node.type == T_STRING && node.wrapped && node.ivars.size() == 1 && node.ivars[0].first->bytes == "E";
    if ((!marked && node.items.empty() && node.pairs.empty()) || depth > cMarshalWriter::kMaxDepth)
        return &node;
    strMarshalNode* out = pool.New(node.type);
    *out = node;
    if (marked) {
        out->wrapped = false;
        out->ivars.clear();
    }
    for (const strMarshalNode*& item : out->items)
        item = unmarked(*item, pool, depth + 1);
    for (auto& pair : out->pairs)
        pair.second = unmarked(*pair.second, pool, depth + 1);
    return out;
}

// The clipboard block of one animation: size, version, [animation]. Links to
// objects outside the animation are written out in full.
bool blockOf(const strMarshalNode& animation, Cclip_stream& out)
{
    cMarshalPool pool;
    strMarshalNode* list = pool.New(T_ARRAY);
    list->items.push_back(&animation);
    cMarshalWriter w;
    w.Bytes().assign(4, '\0');
    w.WriteVersion();
    if (!w.Write(*list))
        return false;
    out.Clear();
    out.Append(w.Bytes());
    out.PatchU32(0, uint32_t(out.Size()));
    return true;
}

// The animation of a clipboard block the editor wrote. Its symbols link to the
// names the file already defines.
const strMarshalNode* animationOf(const Cclip_stream& block, cMarshalPool& pool, std::string& storage)
{
    if (block.Size() < 4)
        return nullptr;
    storage.assign(reinterpret_cast<const char*>(block.Data()) + 4, block.Size() - 4);
    cMarshalReader r(storage, pool, false);
    const strMarshalNode* list = r.ReadVersion() ? r.ReadValue() : nullptr;
    if (!list || list->type != T_ARRAY || list->items.size() != 1 || !isAnimation(*list->items[0]))
        return nullptr;
    return list->items[0];
}

class cRubyDataFile : public cDataFile {
public:
    cRubyDataFile(eDataFileKind kind, std::unique_ptr<strParsed> parsed) : kind_(kind), parsed_(std::move(parsed)) {}

    eDataFileKind Kind() const override { return kind_; }
    std::vector<strDataEntry> List() const override;
    bool Import(int id, cAnimeData& project, std::string& error) const override;
    bool Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error) override;
    std::string Bytes() const override { return parsed_->bytes; }

private:
    /** The animation stored under the ID; nullptr for an empty slot or past the end. */
    const strMarshalNode* Entry(int id) const;
    bool Read(const strMarshalNode& animation, cAnimeData& project) const;
    /** The file with the entry of that ID replaced by (or appended as) value. */
    bool Splice(int id, const strMarshalNode& value, std::string& out) const;

    eDataFileKind kind_;
    std::unique_ptr<strParsed> parsed_;
};

const strMarshalNode* cRubyDataFile::Entry(int id) const
{
    if (id < 1 || size_t(id) >= parsed_->slots.size())
        return nullptr;
    const strMarshalNode& node = Deref(*parsed_->slots[size_t(id)].node);
    return node.type == T_NIL ? nullptr : &node;
}

std::vector<strDataEntry> cRubyDataFile::List() const
{
    std::vector<strDataEntry> list;
    for (size_t i = 1; i < parsed_->slots.size(); ++i) {
        const strMarshalNode* node = Entry(int(i));
        if (!node)
            continue;
        strDataEntry e;
        e.id = int(i);
        e.editable = isAnimation(*node);
        if (e.editable) {
            const strMarshalNode* name = FindPair(*node, "@name");
            if (name && Deref(*name).type == T_STRING)
                e.name = platform::DecodeText(Deref(*name).bytes, "UTF-8");
            const strMarshalNode* frames = FindPair(*node, "@frames");
            e.frames = fixnum(FindPair(*node, "@frame_max"), arrayLength(frames));
            if (frames && Deref(*frames).type == T_ARRAY)
                for (const strMarshalNode* f : Deref(*frames).items)
                    if (Deref(*f).type == T_OBJECT)
                        e.cells = std::max(e.cells, tableWidth(FindPair(Deref(*f), "@cell_data")));
            e.timings = arrayLength(FindPair(*node, "@timings"));
        }
        list.push_back(e);
    }
    return list;
}

bool cRubyDataFile::Read(const strMarshalNode& animation, cAnimeData& project) const
{
    Cclip_stream block;
    return blockOf(animation, block) && ReadRubyAnimation(project, block) == 1;
}

bool cRubyDataFile::Import(int id, cAnimeData& project, std::string& error) const
{
    const strMarshalNode* node = Entry(id);
    if (!node || !isAnimation(*node)) {
        error = "no animation with ID " + std::to_string(id);
        return false;
    }
    if (!Read(*node, project)) {
        error = "the animation with ID " + std::to_string(id) + " cannot be read";
        return false;
    }
    return true;
}

bool cRubyDataFile::Splice(int id, const strMarshalNode& value, std::string& out) const
{
    const strParsed& p = *parsed_;
    const std::string& in = p.bytes;
    cMarshalWriter w;
    cMarshalPool pool;
    const strMarshalNode* nil = pool.New(T_NIL);
    if (size_t(id) >= p.slots.size()) {
        // Appended: a new count, every element as it was, empty slots, the entry.
        w.WriteVersion();
        w.Bytes() += char(T_ARRAY);
        w.WriteLong(id + 1);
        out = w.Bytes() + in.substr(p.headEnd, p.arrayEnd - p.headEnd);
        w.Bytes().clear();
        w.Adopt(p.symbols, p.symbols.size(), p.objects, p.objects.size());
        for (size_t i = p.slots.size(); i < size_t(id); ++i)
            w.Write(*nil);
        if (!w.Write(value))
            return false;
        out += w.Bytes() + in.substr(p.arrayEnd);
        return true;
    }
    const strSlot& slot = p.slots[size_t(id)];
    w.Adopt(p.symbols, slot.symbolsBegin, p.objects, slot.objectsBegin);
    if (!w.Write(value))
        return false;
    // The elements after it read the same when the symbols keep their indices and
    // no link of theirs reaches into the replaced entry, or past it with the object
    // count changed.
    bool same = w.SymbolKeys().size() == slot.symbolsEnd;
    for (size_t i = 0; same && i < slot.symbolsEnd; ++i)
        same = w.SymbolKeys()[i] == SymbolKey(*p.symbols[i]);
    const bool shifted = w.ObjectCount() != slot.objectsEnd;
    for (size_t i = slot.linksEnd; same && i < p.links.size(); ++i)
        same = size_t(p.links[i]) < slot.objectsBegin || (size_t(p.links[i]) >= slot.objectsEnd && !shifted);
    if (same) {
        out = in.substr(0, slot.begin) + w.Bytes() + in.substr(slot.end);
        return true;
    }
    for (size_t i = size_t(id) + 1; i < p.slots.size(); ++i)
        if (!w.Write(*p.slots[i].node))
            return false;
    out = in.substr(0, slot.begin) + w.Bytes() + in.substr(p.arrayEnd);
    return true;
}

bool cRubyDataFile::Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error)
{
    if (id < 1 || id > kMaxId) {
        error = "IDs go from 1 to " + std::to_string(kMaxId);
        return false;
    }
    const int version = rubyVersion(kind_);
    cMarshalPool pool;
    Cclip_stream editedBlock, baseBlock;
    std::string editedBytes, baseBytes;
    const strMarshalNode* edited = nullptr;
    if (!WriteRubyAnimation(project, version, folders, editedBlock) ||
        !(edited = animationOf(editedBlock, pool, editedBytes))) {
        error = "the animation cannot be written in this format";
        return false;
    }
    // New objects take the ivar order the file's objects of their class have, and
    // strings the file's style.
    MarshalShapes shapes;
    int style = 0;
    for (const strSlot& slot : parsed_->slots) {
        CollectShapes(*slot.node, shapes);
        style = style ? style : stringStyle(*slot.node);
    }
    const bool plain = style == 1 && version != RUBY_XP;
    auto adapt = [&](const strMarshalNode& tree) {
        return Reshape(plain ? *unmarked(tree, pool) : tree, shapes, pool);
    };
    edited = adapt(*edited);
    const strMarshalNode* merged = edited;
    if (const strMarshalNode* old = Entry(id)) {
        if (!isAnimation(*old)) {
            error = "the entry with ID " + std::to_string(id) + " is not an animation";
            return false;
        }
        cAnimeData imported;
        const strMarshalNode* base = nullptr;
        if (!Read(*old, imported) || !WriteRubyAnimation(imported, version, folders, baseBlock) ||
            !(base = animationOf(baseBlock, pool, baseBytes))) {
            error = "the animation with ID " + std::to_string(id) + " cannot be read";
            return false;
        }
        merged = MergeMarshal(*old, *adapt(*base), *edited, pool);
    }
    strMarshalNode* idName = pool.New(T_SYMBOL);
    idName->bytes = "@id";
    strMarshalNode* idValue = pool.New(T_FIXNUM);
    idValue->number = id;
    merged = WithPair(*merged, *idName, *idValue, pool);

    std::string bytes, reason;
    std::unique_ptr<strParsed> next;
    if (!Splice(id, *merged, bytes) || !(next = parse(std::move(bytes), reason))) {
        error = "the animation cannot be written into the file" + (reason.empty() ? "" : ": " + reason);
        return false;
    }
    parsed_ = std::move(next);
    return true;
}

} // namespace

std::unique_ptr<cDataFile> ParseRubyDataFile(eDataFileKind kind, std::string bytes, std::string& error)
{
    if (kind != DATA_XP && kind != DATA_VX && kind != DATA_VXACE) {
        error = "not a Ruby data file kind";
        return nullptr;
    }
    auto parsed = parse(std::move(bytes), error);
    if (!parsed)
        return nullptr;
    return std::make_unique<cRubyDataFile>(kind, std::move(parsed));
}
