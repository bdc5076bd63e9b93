// RPG_RT.ldb of RPG Maker 2000 / 2003: a BER length and "LcfDataBase", then
// top-level chunks (BER id, BER size, data). Chunk 0x13 is the animation list,
// an array of animation records in the form the 2000 clipboard carries. Every
// other chunk, and every animation not written, stays as the bytes read.
//
// Writing past the last ID adds empty records (the ID and a 00) for the IDs in
// between, so the list stays contiguous whichever way a reader numbers it.

#include "interchange/DataFile.h"

#include "interchange/LcfTree.h"
#include "interchange/Rm2000Animation.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"

#include <algorithm>

using namespace LCF;

namespace {

constexpr uint32_t kAnimationChunk = 0x13;
const char kMagic[] = "LcfDataBase";
// RPG Maker 2003 holds at most 9999 entries per list; an append never goes past it.
constexpr int kMaxAppendId = 9999;

enum { A_NAME = 1, A_PICTURE = 2, A_TIMINGS = 6, A_SCOPE = 9, A_POSITION = 10, A_FLAG = 11, A_FRAMES = 12 };

// The animation record as the clipboard writer and reader know it; the defaults
// are what an omitted field means.
const strKind kSound{{
    {1, SHAPE_LEAF, nullptr, OMIT_NEVER, 0, nullptr},
    {3, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {4, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {5, SHAPE_LEAF, nullptr, OMIT_INT, 50, nullptr},
}};
const strKind kTiming{{
    {1, SHAPE_LEAF, nullptr, OMIT_NEVER, 0, nullptr},
    {2, SHAPE_RECORD, &kSound, OMIT_NEVER, 0, nullptr},
    {3, SHAPE_LEAF, nullptr, OMIT_INT, 0, nullptr},
    {4, SHAPE_LEAF, nullptr, OMIT_INT, 31, nullptr},
    {5, SHAPE_LEAF, nullptr, OMIT_INT, 31, nullptr},
    {6, SHAPE_LEAF, nullptr, OMIT_INT, 31, nullptr},
    {7, SHAPE_LEAF, nullptr, OMIT_INT, 31, nullptr},
}};
const strKind kCell{{
    {1, SHAPE_LEAF, nullptr, OMIT_INT, 1, nullptr},
    {2, SHAPE_LEAF, nullptr, OMIT_INT, 0, nullptr},
    {3, SHAPE_LEAF, nullptr, OMIT_INT, 0, nullptr},
    {4, SHAPE_LEAF, nullptr, OMIT_INT, 0, nullptr},
    {5, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {6, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {7, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {8, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {9, SHAPE_LEAF, nullptr, OMIT_INT, 100, nullptr},
    {10, SHAPE_LEAF, nullptr, OMIT_INT, 0, nullptr},
}};
const strKind kFrame{{
    {1, SHAPE_ARRAY, &kCell, OMIT_NEVER, 0, nullptr},
}};
const strKind kAnimation{{
    {A_NAME, SHAPE_LEAF, nullptr, OMIT_TEXT, 0, ""},
    {A_PICTURE, SHAPE_LEAF, nullptr, OMIT_TEXT, 0, ""},
    {A_TIMINGS, SHAPE_ARRAY, &kTiming, OMIT_NEVER, 0, nullptr},
    {A_SCOPE, SHAPE_LEAF, nullptr, OMIT_NEVER, 0, nullptr},
    {A_POSITION, SHAPE_LEAF, nullptr, OMIT_NEVER, 0, nullptr},
    {A_FLAG, SHAPE_LEAF, nullptr, OMIT_NEVER, 0, nullptr},
    {A_FRAMES, SHAPE_ARRAY, &kFrame, OMIT_NEVER, 0, nullptr},
}};

struct strChunk {
    uint32_t id = 0;
    std::string raw; // the whole chunk as read
};

/** One animation of the list, kept as bytes; its tree is built when it is read or written. */
struct strAnimation {
    uint32_t id = 0;
    std::string head;   // the id as read; empty when written afresh
    std::string record; // the record's bytes, up to and with its 00
    strDataEntry entry;
    bool empty = true; // no fields at all: an empty slot
};

// A kind with no known fields: the list is split into records left whole.
const strKind kOpaque{};

size_t arrayLength(const strNode& record, uint32_t id)
{
    const strField* f = FindField(record, id);
    return f && f->data.shape == SHAPE_ARRAY ? f->data.elements.size() : 0;
}

// The cell slots of the widest frame: the highest cell index.
int widestFrame(const strNode& record)
{
    const strField* frames = FindField(record, A_FRAMES);
    if (!frames)
        return 0;
    uint32_t widest = 0;
    for (const strElement& frame : frames->data.elements)
        if (const strField* cells = FindField(frame.record, 1))
            for (const strElement& cell : cells->data.elements)
                widest = std::max(widest, cell.index);
    return int(std::min<uint32_t>(widest, INT32_MAX));
}

void describe(strAnimation& a, const strNode& record)
{
    a.empty = record.fields.empty();
    a.entry = strDataEntry();
    a.entry.id = int(std::min<uint32_t>(a.id, INT32_MAX));
    if (const strField* name = FindField(record, A_NAME))
        a.entry.name = platform::DecodeText(name->data.raw, platform::AnsiCodePage());
    a.entry.frames = int(arrayLength(record, A_FRAMES));
    a.entry.cells = widestFrame(record);
    a.entry.timings = int(arrayLength(record, A_TIMINGS));
}

/** The writer's record for a project, parsed; false when it cannot be written. */
bool writtenRecord(const cAnimeData& project, const strFolderNames& folders, strNode& out)
{
    Cclip_stream block;
    std::string error;
    if (!WriteRm2000Animation(project, folders, block) || block.Size() < 8)
        return false;
    const std::string_view bytes(reinterpret_cast<const char*>(block.Data()), block.Size());
    return ParseRecord(bytes.substr(8), 0, kAnimation, out, error);
}

std::string le32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[size_t(i)] = char(uint8_t(v >> (8 * i)));
    return s;
}

class cLdbDataFile : public cDataFile {
public:
    bool Parse(const std::string& bytes, std::string& error);

    eDataFileKind Kind() const override { return DATA_2000; }
    std::vector<strDataEntry> List() const override;
    bool Import(int id, cAnimeData& project, std::string& error) const override;
    bool Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error) override;
    std::string Bytes() const override;

private:
    bool ParseAnimations(std::string_view data, size_t base, std::string& error);
    const strAnimation* Find(int id) const;
    void Store(int id, const strNode& record);

    std::string header_; // the length and the magic text
    std::vector<strChunk> chunks_;
    std::string trailer_;     // the 00 that ends the chunks, when the file has it
    int animationChunk_ = -1; // index into chunks_
    bool animationsChanged_ = false;
    std::vector<strAnimation> animations_;
};

/** The tree of a stored record; records are checked when the file is parsed. */
strNode tree(const strAnimation& a)
{
    strNode record;
    std::string error;
    ParseRecord(a.record, 0, kAnimation, record, error);
    return record;
}

bool readRecord(const strNode& record, cAnimeData& project)
{
    const std::string body = SerializeForClipboard(record, kAnimation);
    Cclip_stream block;
    block.Assign(le32(uint32_t(body.size())) + le32(1) + body);
    return ReadRm2000Animation(project, block) == 1;
}

bool cLdbDataFile::ParseAnimations(std::string_view data, size_t base, std::string& error)
{
    // Split the list first, then check each record on its own, so that only one
    // record's tree is held at a time.
    strNode list;
    if (!ParseArray(data, base, kOpaque, list, error))
        return false;
    size_t offset = base + Ber(uint32_t(list.elements.size())).size();
    for (strElement& e : list.elements) {
        strAnimation a;
        a.id = e.index;
        offset += e.head.size();
        a.head = std::move(e.head);
        a.record = std::move(e.record.raw);
        strNode record;
        if (!ParseRecord(a.record, offset, kAnimation, record, error))
            return false;
        describe(a, record);
        offset += a.record.size();
        animations_.push_back(std::move(a));
    }
    return true;
}

bool cLdbDataFile::Parse(const std::string& bytes, std::string& error)
{
    const size_t magicSize = sizeof kMagic - 1;
    if (bytes.size() < 1 + magicSize || uint8_t(bytes[0]) != magicSize || bytes.compare(1, magicSize, kMagic) != 0) {
        error = "not an RPG Maker 2000 / 2003 database (no LcfDataBase header)";
        return false;
    }
    header_ = bytes.substr(0, 1 + magicSize);
    platform::ByteReader in(bytes);
    in.Seek(header_.size());
    while (!in.AtEnd()) {
        // The chunk's id and size; its data stay as read, except the animation list's.
        const size_t pos = in.Position();
        uint32_t id = 0, size = 0;
        if (!ReadNumber(in, id, error))
            return false;
        if (id == 0) {
            if (!in.AtEnd()) {
                error = "data after the end of the database at byte " + std::to_string(in.Position());
                return false;
            }
            trailer_ = bytes.substr(pos);
            break;
        }
        if (!ReadNumber(in, size, error))
            return false;
        const size_t dataStart = in.Position();
        const std::string_view data = in.Bytes(size);
        if (in.Failed()) {
            error = "truncated at byte " + std::to_string(bytes.size());
            return false;
        }
        if (id == kAnimationChunk) {
            if (animationChunk_ >= 0) {
                error = "two animation lists at byte " + std::to_string(pos);
                return false;
            }
            if (!ParseAnimations(data, dataStart, error))
                return false;
            animationChunk_ = int(chunks_.size());
        }
        chunks_.push_back({id, bytes.substr(pos, dataStart - pos + size)});
    }
    return true;
}

const strAnimation* cLdbDataFile::Find(int id) const
{
    for (const strAnimation& a : animations_)
        if (int64_t(a.id) == id)
            return &a;
    return nullptr;
}

std::vector<strDataEntry> cLdbDataFile::List() const
{
    std::vector<strDataEntry> list;
    for (const strAnimation& a : animations_)
        if (!a.empty && a.id <= uint32_t(INT32_MAX))
            list.push_back(a.entry);
    return list;
}

bool cLdbDataFile::Import(int id, cAnimeData& project, std::string& error) const
{
    const strAnimation* a = Find(id);
    if (!a || a->empty) {
        error = "no animation with ID " + std::to_string(id);
        return false;
    }
    if (!readRecord(tree(*a), project)) {
        error = "the animation with ID " + std::to_string(id) + " cannot be read";
        return false;
    }
    return true;
}

bool cLdbDataFile::Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error)
{
    const strAnimation* stored = id >= 1 ? Find(id) : nullptr;
    uint32_t last = 0;
    for (const strAnimation& a : animations_)
        last = std::max(last, a.id);
    if (id < 1 || (!stored && id > kMaxAppendId && uint32_t(id) > last)) {
        error = "ID " + std::to_string(id) + " is outside 1.." + std::to_string(kMaxAppendId);
        return false;
    }
    // Text problems noted here belong to this export, not to the command's others.
    const std::string earlier = platform::TakeTextProblems();
    strNode written;
    if (!writtenRecord(project, folders, written)) {
        const std::string problems = platform::TakeTextProblems();
        error = problems.empty() ? "the project's last picture slot is empty" : problems;
        if (!earlier.empty())
            platform::NoteTextProblem(earlier);
        return false;
    }
    if (stored && !stored->empty) {
        // What the writer makes of the stored record tells which of its bytes the
        // project still holds as they were; a record it cannot rebuild counts as empty.
        const strNode old = tree(*stored);
        strNode rebuilt;
        cAnimeData readBack;
        if (!readRecord(old, readBack) || !writtenRecord(readBack, folders, rebuilt))
            rebuilt.shape = SHAPE_RECORD;
        platform::TakeTextProblems();
        Store(id, Merge(old, rebuilt, written, &kAnimation));
    } else {
        Store(id, written);
    }
    if (!earlier.empty())
        platform::NoteTextProblem(earlier);
    return true;
}

void cLdbDataFile::Store(int id, const strNode& record)
{
    strAnimation a;
    a.id = uint32_t(id);
    a.record = Serialize(record);
    describe(a, record);
    auto at = std::find_if(animations_.begin(), animations_.end(), [&](const strAnimation& e) { return e.id == a.id; });
    if (at != animations_.end()) {
        if (at->record == a.record)
            return;
        a.head = at->head;
        *at = std::move(a);
    } else {
        uint32_t last = 0;
        for (const strAnimation& e : animations_)
            last = std::max(last, e.id);
        strAnimation gap;
        gap.record = std::string(1, '\0');
        for (uint32_t i = last + 1; i < a.id; ++i) {
            gap.id = i;
            gap.entry.id = int(i);
            animations_.push_back(gap);
        }
        // The list is kept in ID order; an ID missing inside it goes to its place.
        auto place =
            std::find_if(animations_.begin(), animations_.end(), [&](const strAnimation& e) { return e.id > a.id; });
        animations_.insert(place, std::move(a));
    }
    animationsChanged_ = true;
    if (animationChunk_ < 0) {
        auto place =
            std::find_if(chunks_.begin(), chunks_.end(), [](const strChunk& c) { return c.id > kAnimationChunk; });
        animationChunk_ = int(place - chunks_.begin());
        chunks_.insert(place, {kAnimationChunk, std::string()});
    }
}

std::string cLdbDataFile::Bytes() const
{
    std::string out = header_;
    for (size_t i = 0; i < chunks_.size(); ++i) {
        if (int(i) != animationChunk_ || !animationsChanged_) {
            out += chunks_[i].raw;
            continue;
        }
        std::string data = Ber(uint32_t(animations_.size()));
        for (const strAnimation& a : animations_)
            data += (a.head.empty() ? Ber(a.id) : a.head) + a.record;
        out += Ber(kAnimationChunk) + Ber(uint32_t(data.size())) + data;
    }
    return out + trailer_;
}

} // namespace

std::unique_ptr<cDataFile> ParseLdbDataFile(std::string bytes, std::string& error)
{
    auto file = std::make_unique<cLdbDataFile>();
    if (!file->Parse(bytes, error))
        return nullptr;
    return file;
}
