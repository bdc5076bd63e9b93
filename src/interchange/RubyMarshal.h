#pragma once
// The subset of Ruby Marshal 4.8 that RPG Maker XP / VX / VX Ace animations
// use: a writer that emits objects one instance variable at a time with a
// shared symbol table, and a typed pull reader that maps symbol names to small
// ids through caller-supplied dictionaries. The reader can step over any
// Marshal 4.8 value it is not asked for, with bounded nesting, and never reads
// past the end of its data.

#include "interchange/ClipStream.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace MKRUBY {

/** A class or instance-variable name (ASCII). The symbol table keys on the
 *  constant's identity, so two constants with the same text are two symbols. */
struct Name {
    std::string_view text;
};

/** Writer side: name constant -> symbol index; a negative v reserves index ~v. */
using SymbolTable = std::map<const Name*, int32_t>;
/** Reader side: symbol index -> symbol text (UTF-8 bytes as stored). */
using SymbolList = std::vector<std::string>;

/** Reader side: name text -> id, ids counting up from a base. Id 0 = unknown. */
class NameDictionary {
public:
    NameDictionary(int32_t base, std::initializer_list<std::string_view> names);
    /** The id of the name, or 0. */
    int32_t Find(std::string_view name) const;

private:
    std::unordered_map<std::string, int32_t> ids_;
};

/** String styles: plain (XP) or with the UTF-8 encoding mark (VX, VX Ace). */
enum eStringStyle : uint8_t { STYLE_PLAIN = 1, STYLE_UTF8 = 2 };

/** A grid of signed 16-bit values; element (x, y, z) at x + xsize * (y + ysize * z). */
class CTable {
public:
    CTable() = default;
    CTable(int32_t x, int32_t y, int32_t z) { Create(x, y, z); }
    /** Sizes the grid, zero-filled; any size below 1 (or a grid too large to hold)
     *  leaves it without data but keeps the sizes. False without data. */
    bool Create(int32_t x, int32_t y, int32_t z);
    bool HasData() const { return !data_.empty(); }
    int32_t XSize() const { return xsize_; }
    int32_t YSize() const { return ysize_; }
    int32_t ZSize() const { return zsize_; }
    /** Element count as stored (x * y * z, 0 without data). */
    size_t Count() const { return data_.size(); }
    int16_t Get(int32_t x, int32_t y, int32_t z = 0) const;
    void Set(int32_t x, int32_t y, int32_t z, int16_t v);
    int16_t* Data() { return data_.data(); }
    const int16_t* Data() const { return data_.data(); }

private:
    int32_t xsize_ = 0, ysize_ = 0, zsize_ = 0;
    std::vector<int16_t> data_;
};

/** Marshal type bytes. */
enum : uint8_t {
    T_NIL = '0',
    T_TRUE = 'T',
    T_FALSE = 'F',
    T_FIXNUM = 'i',
    T_BIGNUM = 'l',
    T_FLOAT = 'f',
    T_STRING = '"',
    T_SYMBOL = ':',
    T_SYMLINK = ';',
    T_LINK = '@',
    T_IVAR = 'I',
    T_ARRAY = '[',
    T_HASH = '{',
    T_HASH_DEF = '}',
    T_OBJECT = 'o',
    T_USERDEF = 'u',
    T_USERMARSHAL = 'U',
    T_EXTENDED = 'e',
    T_UCLASS = 'C',
    T_REGEXP = '/',
    T_CLASS = 'c',
    T_MODULE = 'm',
    T_MODULE_OLD = 'M',
    T_STRUCT = 'S',
    T_DATA = 'd',
};

/** A stream with the string style of the conversion in progress. */
class Cclip : public Cclip_stream {
public:
    explicit Cclip(uint8_t style) : style_(style) {}
    uint8_t Style() const { return style_; }

protected:
    uint8_t style_;
};

/** The Marshal writer. Each Write returns the number of bytes it appended. */
class CWrite : public Cclip {
public:
    CWrite(SymbolTable& symbols, uint8_t style) : Cclip(style), symbols_(symbols) {}

    size_t WriteLong(int32_t v);
    size_t WriteArray(int32_t n);
    /** Long byte length and the bytes (no type byte). */
    size_t WriteRawString(std::string_view utf8);
    /** A definition (':') the first time, a link (';') afterwards. */
    size_t WriteSymbol(const Name& name);
    /** Gives the name the next index without writing it. */
    void ReserveSymbol(const Name& name);
    size_t WriteHeader(uint8_t type, const Name& name, int32_t n);
    size_t WriteUserHeader(const Name& name, int32_t length) { return WriteHeader(T_USERDEF, name, length); }
    /** A string in the writer's style; empty is always 22 00. */
    size_t WriteString(std::string_view utf8);
    size_t WriteIvar(const Name& name);
    size_t WriteIvarInt(const Name& name, int32_t v);
    size_t WriteIvarString(const Name& name, std::string_view utf8);
    /** The Table user data. */
    size_t WriteTable(const CTable& table);
    /** The Color user data: four doubles. */
    size_t WriteColor(double red, double green, double blue, double alpha);

    int32_t IvarCount() const { return ivars_; }
    SymbolTable& Symbols() { return symbols_; }

private:
    SymbolTable& symbols_;
    int32_t ivars_ = 0;
};

/** Writes one object: reserves the class name on opening; the caller writes the
 *  instance variables into Child(); closing puts the header ('o', class, count)
 *  and the child's bytes into the parent. */
class ObjectScope {
public:
    ObjectScope(CWrite& parent, const Name& className);
    ~ObjectScope();
    ObjectScope(const ObjectScope&) = delete;
    ObjectScope& operator=(const ObjectScope&) = delete;
    CWrite& Child() { return child_; }

private:
    CWrite& parent_;
    const Name& className_;
    CWrite child_;
};

/** The typed pull reader. A read that finds another type than it expects steps
 *  over that whole value and returns 0 or an empty text, so the reader stays in
 *  step with the data. */
class CRead : public Cclip {
public:
    /** A position to come back to: the cursor and the symbols known there. */
    struct Mark {
        size_t position;
        size_t symbols;
    };
    static constexpr int kMaxDepth = 64;
    // Texts keep up to 1023 bytes: enough for any text the project files hold (255 bytes
    // in the code page); the import cuts longer ones and says so.
    static constexpr size_t kMaxText = 1024;

    CRead(SymbolList& symbols, uint8_t style) : Cclip(style), symbols_(symbols) {}

    int32_t ReadLong();
    int32_t ReadFixnum();
    /** The element count of an array; 0 for another value. */
    int32_t ReadArray();
    /** Long n, then min(n, max - 1) bytes (cut back to a whole UTF-8 character);
     *  the rest of the n bytes is skipped. Returns the bytes kept. */
    size_t ReadBytes(std::string& text, size_t max);
    /** True once a ReadBytes had to cut its text. */
    bool TextCut() const { return textCut_; }
    /** True once a length read from the data announced more bytes than are left. */
    bool Truncated() const { return truncated_; }
    /** The symbol index of a definition or link; -1 for another value. */
    int32_t ReadSymbol(std::string& name);
    /** The id of the symbol at the cursor in the dictionaries (last pushed wins); 0 unknown. */
    int32_t ReadIvarId();
    /** An object ('o') or user data ('u') of a known class: its class id and the
     *  instance-variable count or byte length; 0 otherwise (the value is skipped). */
    int32_t ReadObject(int32_t& count);
    /** A string, plain or with instance variables; returns its byte length. */
    size_t ReadString(std::string& utf8);
    /** A Table into table (untouched when it holds no elements); its byte length or 0. */
    int32_t ReadTable(CTable& table, int32_t tableId);
    /** A Color: red | green << 8 | blue << 16 | alpha << 24, each the low 8 bits. */
    uint32_t ReadColor(int32_t colorId);

    /** Steps over one value of any Marshal 4.8 type; false on a byte that starts no
     *  value or nesting deeper than kMaxDepth (the cursor then goes to the end). */
    bool SkipValue();
    /** Steps over count pairs of symbol and value. */
    bool SkipIvarPairs(int32_t count, int depth = 0);

    Mark GetMark() const { return {Position(), symbols_.size()}; }
    /** Goes back to a mark, forgetting the symbols defined after it. */
    void Rewind(const Mark& mark);

    void PushDictionary(const NameDictionary& dictionary) { dictionaries_.push_back(&dictionary); }
    void PopDictionary()
    {
        if (!dictionaries_.empty())
            dictionaries_.pop_back();
    }

private:
    bool SkipNested(int depth);
    /** Steps over a long length and that many bytes. */
    void SkipBytes();
    int32_t Lookup(const std::string& name) const;
    /** Reads the user-data head of a known class; skips anything else. */
    int32_t ReadUserHead(int32_t classId, int32_t& length, bool& wrapped);
    void FinishUser(size_t end, bool wrapped);

    bool textCut_ = false;
    bool truncated_ = false;
    SymbolList& symbols_;
    std::vector<const NameDictionary*> dictionaries_;
};

/** Pushes a dictionary for the scope's lifetime. */
class DictionaryScope {
public:
    DictionaryScope(CRead& reader, const NameDictionary& dictionary) : reader_(reader)
    {
        reader_.PushDictionary(dictionary);
    }
    ~DictionaryScope() { reader_.PopDictionary(); }
    DictionaryScope(const DictionaryScope&) = delete;
    DictionaryScope& operator=(const DictionaryScope&) = delete;

private:
    CRead& reader_;
};

} // namespace MKRUBY
