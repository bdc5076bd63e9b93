#pragma once
// A byte-keeping tree of the chunked records of RPG Maker 2000 / 2003 data
// (see Mk2.h): records of fields (BER id, BER size, data) ended by 00, and
// arrays (BER count, then per element a BER index and a record). A schema of
// record kinds says which fields hold records or arrays; every other field is
// an opaque leaf. Nodes parsed from bytes keep those bytes and write them back
// unchanged; nodes built by a merge are written afresh.

#include "platform/ByteReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace LCF {

enum eShape { SHAPE_LEAF, SHAPE_RECORD, SHAPE_ARRAY };
/** What the absence of a field means when the clipboard writer leaves it out. */
enum eOmitted { OMIT_NEVER, OMIT_INT, OMIT_TEXT };

struct strKind;

/** One known field of a record kind. */
struct strRule {
    uint32_t id;
    eShape shape;
    const strKind* child; // the kind of the record, or of an array's elements
    eOmitted omitted;     // the writer leaves the field out when it holds the default
    int32_t defaultInt;
    const char* defaultText;
};

/** A record kind: its known fields. */
struct strKind {
    std::vector<strRule> rules;
    const strRule* Find(uint32_t id) const;
};

struct strField;
struct strElement;

struct strNode {
    eShape shape = SHAPE_LEAF;
    /** A leaf's data; for records and arrays the bytes as read (unused when built). */
    std::string raw;
    bool asRead = false;
    std::vector<strField> fields;     // records
    std::vector<strElement> elements; // arrays
};

struct strField {
    uint32_t id = 0;
    std::string head; // id and size as read; empty when the field is built
    strNode data;
};

struct strElement {
    uint32_t index = 0;
    std::string head; // the index as read; empty when built or renumbered
    strNode record;
};

/** Reads the BER number at the cursor. False with a one-line reason when it runs
 *  past the end or is longer than 5 bytes or 32 bits; base is the data's offset in
 *  the file, for messages. */
bool ReadNumber(platform::ByteReader& in, uint32_t& value, std::string& error, size_t base = 0);

/** Parses one record (fields up to its 00) or one array filling all of data.
 *  base is data's offset in the file, for messages. False with a one-line
 *  reason ("truncated at byte 1234") on damaged data. */
bool ParseRecord(std::string_view data, size_t base, const strKind& kind, strNode& out, std::string& error);
bool ParseArray(std::string_view data, size_t base, const strKind& kind, strNode& out, std::string& error);

/** The node's bytes: kept bytes where a node is as read. */
std::string Serialize(const strNode& node);
/** The node as the clipboard reader expects it: only the fields the kind knows,
 *  each once, and known leaves with a one-byte length (cut to 255 bytes). */
std::string SerializeForClipboard(const strNode& node, const strKind& kind);

/** Three-way merge of o (as stored), b (the writer's output for o as read back)
 *  and n (the writer's output for the new state). Where n equals b, o is kept.
 *  Records keep o's fields in o's order, merged where b and n have them too; a
 *  field n alone has takes its place or goes at the end; one that b has and n
 *  lacks goes. A field only o has stays unless the kind says the writer omits it
 *  at its default and o holds another value: the record changed, so the default
 *  holds. Arrays merge element by element, n deciding the length. */
strNode Merge(const strNode& o, const strNode& b, const strNode& n, const strKind* kind);

/** The first field with this id, or nullptr. */
const strField* FindField(const strNode& record, uint32_t id);
/** The BER number a leaf holds (0 when it holds none). */
uint32_t LeafNumber(const strNode& leaf);
/** The BER form of a number. */
std::string Ber(uint32_t value);

} // namespace LCF
