// MV / MZ data/Animations.json: a JSON array whose element N is the animation
// with ID N (element 0 is null). RPG Maker writes "[\n", the entries joined by
// ",\n" (each one compact object) and "\n]"; an export replaces the bytes of one
// entry and keeps the file's own layout everywhere else.
#include "interchange/DataFile.h"

#include "interchange/ClipStream.h"
#include "interchange/JsonAnimation.h"
#include "interchange/OrderedJson.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <climits>

using OJSON::strValue;

namespace {

// One element of the top-level array; its index is the animation's ID.
struct strSlot {
    size_t begin = 0, end = 0; // byte span of the element
    bool empty = true;         // null
    strDataEntry entry;
};

struct strLayout {
    size_t open = 0, close = 0; // offsets of the array's '[' and ']'
    std::vector<strSlot> slots;
    bool effekseer = false; // holds an entry in MZ's Effekseer form
};

int clampInt(size_t n) { return int(std::min<size_t>(n, INT_MAX)); }

strDataEntry summarize(const strValue& a, int id)
{
    strDataEntry e;
    e.id = id;
    if (const strValue* name = a.Find("name"))
        e.name = name->String();
    const strValue* frames = a.Find("frames");
    e.editable = frames && frames->type == OJSON::T_ARRAY;
    if (e.editable) {
        e.frames = clampInt(frames->items.size());
        for (const strValue& frame : frames->items)
            if (frame.type == OJSON::T_ARRAY)
                e.cells = std::max(e.cells, clampInt(frame.items.size()));
    }
    const strValue* timings = a.Find("timings");
    if (timings && timings->type == OJSON::T_ARRAY)
        e.timings = clampInt(timings->items.size());
    return e;
}

// Reads the whole file, one entry at a time, into its layout.
bool scanLayout(const std::string& bytes, strLayout& layout, std::string& error)
{
    OJSON::cReader reader(bytes);
    reader.SkipSpace();
    if (reader.Peek() != '[' || reader.AtEnd()) {
        error = reader.AtEnd() ? "empty file" : "not a JSON array of animations";
        return false;
    }
    layout.open = reader.Position();
    reader.Consume('[');
    reader.SkipSpace();
    if (!reader.Consume(']')) {
        for (;;) {
            strValue value;
            if (!reader.Value(value))
                break;
            strSlot slot;
            slot.begin = value.begin;
            slot.end = value.end;
            const int id = clampInt(layout.slots.size());
            if (value.type == OJSON::T_OBJECT) {
                slot.empty = false;
                slot.entry = summarize(value, id);
                if (!slot.entry.editable && value.Find("effectName"))
                    layout.effekseer = true;
            } else if (value.type != OJSON::T_NULL) {
                error = "entry " + std::to_string(id) + " at byte " + std::to_string(value.begin) +
                        " is neither an animation nor null";
                return false;
            }
            layout.slots.push_back(std::move(slot));
            reader.SkipSpace();
            if (reader.Consume(','))
                continue;
            if (!reader.Consume(']'))
                reader.Fail("expected ',' or ']'");
            break;
        }
        if (reader.Failed()) {
            error = reader.Error();
            return false;
        }
    }
    layout.close = reader.Position() - 1;
    reader.SkipSpace();
    if (!reader.AtEnd()) {
        reader.Fail("unexpected data after the end");
        error = reader.Error();
        return false;
    }
    return true;
}

// The first element of a one-animation clipboard text.
bool parseClipboardText(const std::string& text, strValue& out)
{
    strValue root;
    std::string error;
    if (!OJSON::Parse(text, root, error) || root.type != OJSON::T_ARRAY || root.items.empty())
        return false;
    out = std::move(root.items[0]);
    return true;
}

bool readEntry(std::string_view entry, cAnimeData& project)
{
    Cclip_stream stream;
    stream.Assign("[" + std::string(entry) + "]");
    return ReadJsonAnimation(project, stream) == 1;
}

// Three-way merge of the entry as it stands (o), the writer's text of o's
// import (b) and the writer's text of the project (n): what the project did not
// change keeps o's text, and o's members unknown to the writer stay.
strValue merge(const strValue& o, const strValue& b, const strValue& n)
{
    if (OJSON::Equal(n, b))
        return o;
    strValue r;
    if (o.type == OJSON::T_OBJECT && b.type == OJSON::T_OBJECT && n.type == OJSON::T_OBJECT) {
        r.type = OJSON::T_OBJECT;
        auto add = [&r](const std::string& key, const std::string& keyText, strValue value) {
            r.keys.push_back(key);
            r.keyTexts.push_back(keyText);
            r.items.push_back(std::move(value));
        };
        for (size_t i = 0; i < o.items.size(); ++i) {
            const strValue* inB = b.Find(o.keys[i]);
            const strValue* inN = n.Find(o.keys[i]);
            if (inB && inN)
                add(o.keys[i], o.keyTexts[i], merge(o.items[i], *inB, *inN));
            else if (inN)
                add(o.keys[i], o.keyTexts[i], *inN);
            else if (!inB)
                add(o.keys[i], o.keyTexts[i], o.items[i]); // unknown to the writer
        }
        // Members the project brings that the entry lacks; one the project left as
        // the writer would make it from the entry stays absent.
        for (size_t i = 0; i < n.items.size(); ++i) {
            if (o.Find(n.keys[i]))
                continue;
            const strValue* inB = b.Find(n.keys[i]);
            if (!inB || !OJSON::Equal(*inB, n.items[i]))
                add(n.keys[i], n.keyTexts[i], n.items[i]);
        }
        return r;
    }
    // Timings the writer left out (idle ones) break the pairing of the entry's
    // objects with the writer's: then the project's list stands as it is.
    const bool paired = o.items.size() == b.items.size() || o.items.empty() || o.items[0].type != OJSON::T_OBJECT;
    if (paired && o.type == OJSON::T_ARRAY && b.type == OJSON::T_ARRAY && n.type == OJSON::T_ARRAY) {
        r.type = OJSON::T_ARRAY;
        r.items.reserve(n.items.size());
        for (size_t i = 0; i < n.items.size(); ++i)
            r.items.push_back(i < o.items.size() && i < b.items.size() ? merge(o.items[i], b.items[i], n.items[i])
                                                                       : n.items[i]);
        // Elements past what the writer made of the entry (trailing empty cell
        // slots) are unknown to it; they stay while the project keeps the length.
        if (n.items.size() == b.items.size())
            for (size_t i = b.items.size(); i < o.items.size(); ++i)
                r.items.push_back(o.items[i]);
        return r;
    }
    return n;
}

// Sets the entry's "id"; a new entry gets it first, where RPG Maker writes it.
void setId(strValue& entry, int id, bool first)
{
    strValue* current = entry.Find("id");
    double value;
    if (!first && current && current->Number(value) && value == id)
        return;
    entry.fromSource = false;
    if (current && !first) {
        *current = OJSON::MakeNumber(id);
        return;
    }
    for (size_t i = entry.keys.size(); i-- > 0;)
        if (entry.keys[i] == "id") {
            entry.keys.erase(entry.keys.begin() + long(i));
            entry.keyTexts.erase(entry.keyTexts.begin() + long(i));
            entry.items.erase(entry.items.begin() + long(i));
        }
    entry.keys.insert(entry.keys.begin(), "id");
    entry.keyTexts.insert(entry.keyTexts.begin(), "\"id\"");
    entry.items.insert(entry.items.begin(), OJSON::MakeNumber(id));
}

std::string notEditable(int id)
{
    return "animation " + std::to_string(id) + " has no frames (an MZ Effekseer animation); the editor cannot hold it";
}

class cJsonDataFile : public cDataFile {
public:
    cJsonDataFile(eDataFileKind kind, std::string bytes, strLayout layout)
        : kind_(kind), bytes_(std::move(bytes)), layout_(std::move(layout))
    {
    }

    eDataFileKind Kind() const override { return kind_; }

    std::vector<strDataEntry> List() const override
    {
        std::vector<strDataEntry> list;
        for (size_t i = 1; i < layout_.slots.size(); ++i)
            if (!layout_.slots[i].empty)
                list.push_back(layout_.slots[i].entry);
        return list;
    }

    bool Import(int id, cAnimeData& project, std::string& error) const override
    {
        const strSlot* slot = Find(id);
        if (!slot) {
            error = "there is no animation with ID " + std::to_string(id);
            return false;
        }
        if (!slot->entry.editable) {
            error = notEditable(id);
            return false;
        }
        if (!readEntry(Text(*slot), project)) {
            error = "animation " + std::to_string(id) + " lacks a member the editor needs or holds one of another type";
            return false;
        }
        return true;
    }

    bool Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error) override
    {
        if (id < 1) {
            error = "animation IDs start at 1";
            return false;
        }
        strValue n;
        if (!parseClipboardText(WriteJsonAnimation(project, folders), n)) {
            error = "the animation could not be written as JSON";
            return false;
        }
        n = OJSON::Fresh(n);
        const strSlot* slot = Find(id);
        std::string entry;
        if (slot) {
            if (!slot->entry.editable) {
                error = notEditable(id);
                return false;
            }
            strValue o, b;
            const std::string_view previousText = Text(*slot);
            if (!MergeBase(previousText, folders, o, b)) {
                error = "animation " + std::to_string(id) + " cannot be read, so it is left as it is";
                return false;
            }
            strValue merged = merge(o, b, n);
            setId(merged, id, false);
            entry = OJSON::Write(merged, previousText);
        } else {
            setId(n, id, true);
            entry = OJSON::Write(n);
        }
        return Splice(size_t(id), entry, error);
    }

    std::string Bytes() const override { return bytes_; }

private:
    const strSlot* Find(int id) const
    {
        if (id < 1 || size_t(id) >= layout_.slots.size() || layout_.slots[size_t(id)].empty)
            return nullptr;
        return &layout_.slots[size_t(id)];
    }

    std::string_view Text(const strSlot& slot) const
    {
        return std::string_view(bytes_).substr(slot.begin, slot.end - slot.begin);
    }

    // The entry as a tree (o) and the writer's tree of its import (b).
    static bool MergeBase(std::string_view previousText, const strFolderNames& folders, strValue& o, strValue& b)
    {
        std::string ignored;
        if (!OJSON::Parse(previousText, o, ignored))
            return false;
        // Notes about texts cut while reading the entry back concern nothing the user does.
        const std::string notes = platform::TakeTextProblems();
        cAnimeData previous;
        const bool read = readEntry(previousText, previous);
        platform::TakeTextProblems();
        if (!notes.empty())
            platform::NoteTextProblem(notes);
        return read && parseClipboardText(WriteJsonAnimation(previous, folders), b);
    }

    // Puts entry at element id (a null slot or an animation, or past the end with
    // null elements between), then reads the new bytes back before taking them.
    bool Splice(size_t id, const std::string& entry, std::string& error)
    {
        const std::vector<strSlot>& slots = layout_.slots;
        std::string bytes;
        if (id < slots.size()) {
            bytes = bytes_.substr(0, slots[id].begin) + entry + bytes_.substr(slots[id].end);
        } else if (slots.empty()) {
            std::string list = "null";
            for (size_t i = 1; i < id; ++i)
                list += ",\nnull";
            list += ",\n" + entry;
            bytes = bytes_.substr(0, layout_.open) + "[\n" + list + "\n]" + bytes_.substr(layout_.close + 1);
        } else {
            // Continue the file's own separator.
            const size_t last = slots.size() - 1;
            const std::string separator =
                last > 0 ? bytes_.substr(slots[last - 1].end, slots[last].begin - slots[last - 1].end) : ",\n";
            std::string added;
            for (size_t i = slots.size(); i < id; ++i)
                added += separator + "null";
            added += separator + entry;
            bytes = bytes_;
            bytes.insert(slots[last].end, added);
        }
        strLayout layout;
        if (!scanLayout(bytes, layout, error)) {
            error = "the written file would not read back (" + error + ")";
            return false;
        }
        bytes_.swap(bytes);
        layout_ = std::move(layout);
        return true;
    }

    eDataFileKind kind_;
    std::string bytes_;
    strLayout layout_;
};

} // namespace

std::unique_ptr<cDataFile> ParseJsonDataFile(eDataFileKind kind, std::string bytes, std::string& error)
{
    if (kind != DATA_MV && kind != DATA_MZ) {
        error = "not an MV or MZ data file";
        return nullptr;
    }
    strLayout layout;
    if (!scanLayout(bytes, layout, error))
        return nullptr;
    // Effekseer entries exist only in MZ.
    if (layout.effekseer)
        kind = DATA_MZ;
    return std::make_unique<cJsonDataFile>(kind, std::move(bytes), std::move(layout));
}
