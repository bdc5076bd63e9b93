#pragma once
// Ruby Marshal 4.8 data as a tree that holds every type: nil, true, false,
// fixnum, bignum, float (its text as stored), string, symbol, regexp, array,
// hash (with and without default), object, struct, user data ('u', raw bytes),
// user-marshalled ('U'), data ('d'), class and module, with the instance
// variables ('I'), extended modules ('e') and user classes ('C') around them.
//
// The reader counts symbols and objects exactly as Ruby's Marshal.load does and
// turns an object link ('@') into a link node to the object it names. The writer
// follows the tree the way Marshal.dump follows objects: a symbol is defined the
// first time and linked after, and a node written before (a link target) is
// written as a link. So a read followed by a write gives Ruby's own bytes.

#include "interchange/RubyMarshal.h"
#include "platform/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace MKRUBY {

struct strMarshalNode;
/** Name (or key) and value, in stored order. */
using MarshalPairs = std::vector<std::pair<const strMarshalNode*, const strMarshalNode*>>;

/** One value. Which fields count depends on the type byte. */
struct strMarshalNode {
    uint8_t type = T_NIL; // T_NIL .. T_DATA; T_LINK for a link, T_SYMBOL for a symbol
    int32_t number = 0;   // fixnum value; regexp options; bignum sign ('+' or '-')
    // String bytes, symbol name, float text, bignum magnitude (16-bit words, low
    // first), user data, regexp source, class or module path.
    std::string bytes;
    const strMarshalNode* className = nullptr;    // class symbol of o, S, u, U, d
    const strMarshalNode* target = nullptr;       // the object a link names
    std::vector<const strMarshalNode*> items;     // array elements; U and d: the dumped value
    MarshalPairs pairs;                           // hash entries; object ivars; struct members
    const strMarshalNode* defaultValue = nullptr; // hash with default ('}')
    std::vector<const strMarshalNode*> extended;  // 'e' module symbols, outermost first
    const strMarshalNode* userClass = nullptr;    // 'C' class symbol
    bool wrapped = false;                         // stored inside 'I' with ivars
    MarshalPairs ivars;                           // the 'I' instance variables
    // A symbol defined again, under a new index, although its name was known. Ruby
    // never does this; RPG Maker's clipboard data does, and the writer keeps it.
    bool redefined = false;
};

/** Owns nodes; they stay in place until the pool goes. */
class cMarshalPool {
public:
    strMarshalNode* New(uint8_t type)
    {
        nodes_.emplace_back();
        nodes_.back().type = type;
        return &nodes_.back();
    }

private:
    std::deque<strMarshalNode> nodes_;
};

/** The node a link names (the node itself otherwise). */
const strMarshalNode& Deref(const strMarshalNode& node);
/** Identifies a symbol in the symbol table: its name and its instance variables. */
std::string SymbolKey(const strMarshalNode& symbol);
/** Deep equality of the values (links followed; false past a nesting limit). */
bool MarshalEqual(const strMarshalNode& a, const strMarshalNode& b);
/** The value of the object's instance variable (or struct member) of that name; nullptr if none. */
const strMarshalNode* FindPair(const strMarshalNode& object, std::string_view name);
/** The class name of an object, struct or user data; empty for other values. */
std::string_view ClassName(const strMarshalNode& node);

/** Reads Marshal data into a pool. Every read is bounded by the data's end; a
 *  failure leaves a one-line reason naming the byte offset. */
class cMarshalReader {
public:
    static constexpr int kMaxDepth = 200;

    /** markRedefined: flag symbols defined a second time, so a write keeps them so;
     *  without it they are written as links to the first definition. */
    cMarshalReader(std::string_view data, cMarshalPool& pool, bool markRedefined = true)
        : in_(data), pool_(pool), markRedefined_(markRedefined)
    {
    }

    /** The version bytes 04 08. */
    bool ReadVersion();
    /** One value; nullptr on failure. */
    const strMarshalNode* ReadValue();
    /** The head of an array (no wrappers): registers the array, whose elements the
     *  caller reads with ReadValue and adds. nullptr when the value is not an array. */
    strMarshalNode* ReadArrayHead(int32_t& count);

    size_t Position() const { return in_.Position(); }
    bool AtEnd() const { return in_.AtEnd(); }
    /** Symbols and objects by index, as known so far. */
    const std::vector<const strMarshalNode*>& Symbols() const { return symbols_; }
    const std::vector<const strMarshalNode*>& Objects() const { return objects_; }
    /** The object index of every link read so far, in order. */
    const std::vector<int32_t>& Links() const { return links_; }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& what);
    bool ReadByte(uint8_t& b);
    bool ReadLong(int32_t& v);
    bool ReadBytes(std::string& out);
    bool ReadCount(int32_t& n, size_t minBytesEach);
    const strMarshalNode* ReadSymbol(int depth);
    strMarshalNode* ReadSymbolBody(bool withIvars, int depth);
    bool ReadPairs(MarshalPairs& out, bool symbolKeys, int depth);
    /** pending: set when directly inside 'I' (the value may take the ivars itself);
     *  wrapped: inside 'e' or 'C', where no 'I' may follow. */
    strMarshalNode* Value(int depth, bool* pending, bool wrapped);
    strMarshalNode* Registered(strMarshalNode* node);

    platform::ByteReader in_;
    cMarshalPool& pool_;
    std::vector<const strMarshalNode*> symbols_, objects_;
    std::vector<int32_t> links_;
    std::unordered_set<std::string> symbolKeys_;
    std::string error_;
    bool markRedefined_;
};

/** Writes trees as Marshal data. A symbol node written before is linked to its own
 *  index; another symbol of a known name links to that name's latest definition,
 *  unless it was read as a redefinition. */
class cMarshalWriter {
public:
    static constexpr int kMaxDepth = 1000;

    /** Continues a stream as a reader stood: the first symbolCount symbols and
     *  objectCount objects are known under their indices. */
    void Adopt(const std::vector<const strMarshalNode*>& symbols, size_t symbolCount,
               const std::vector<const strMarshalNode*>& objects, size_t objectCount);
    void WriteVersion();
    void WriteLong(int32_t v);
    /** One value; false when it nests too deep (the bytes are then unusable). */
    bool Write(const strMarshalNode& node) { return WriteNode(node, 0); }

    std::string& Bytes() { return out_; }
    /** The symbol keys in index order. */
    const std::vector<std::string>& SymbolKeys() const { return symbolKeys_; }
    size_t ObjectCount() const { return objectCount_; }

private:
    bool WriteNode(const strMarshalNode& node, int depth);
    void WriteBytes(std::string_view bytes);
    bool WriteSymbol(const strMarshalNode& symbol, int depth);
    bool WritePairs(const MarshalPairs& pairs, int depth);
    void Remember(const strMarshalNode& node) { objects_.emplace(&node, int32_t(objectCount_++)); }

    std::string out_;
    std::unordered_map<std::string, int32_t> symbols_; // name -> latest definition
    std::unordered_map<const strMarshalNode*, int32_t> symbolNodes_;
    std::vector<std::string> symbolKeys_;
    std::unordered_map<const strMarshalNode*, int32_t> objects_;
    size_t objectCount_ = 0;
};

} // namespace MKRUBY
