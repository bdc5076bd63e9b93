#pragma once
// JSON values that keep their text: objects keep their members in order, and
// every scalar keeps the exact text it was read from (1.50 stays 1.50, "\u00e9"
// stays escaped). A value read from a document remembers its byte span there,
// so an unchanged value is written back as the bytes it came from. New values
// are written the way JavaScript's JSON.stringify writes them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace OJSON {

enum eType { T_NULL, T_BOOL, T_NUMBER, T_STRING, T_ARRAY, T_OBJECT };

/** Deepest nesting of arrays and objects the reader accepts. */
constexpr int kMaxDepth = 128;

struct strValue {
    eType type = T_NULL;
    std::string text;                  // scalars: the JSON text (strings with quotes and escapes)
    std::vector<strValue> items;       // array elements; object member values
    std::vector<std::string> keys;     // object member names, decoded (UTF-8)
    std::vector<std::string> keyTexts; // object member names as JSON text
    size_t begin = 0, end = 0;         // byte span in the source document
    bool fromSource = false;           // the span holds this value, unchanged

    /** The value of the last member with this name (the one JavaScript keeps); nullptr when absent. */
    const strValue* Find(std::string_view key) const;
    strValue* Find(std::string_view key);
    /** The decoded string (UTF-8); empty for other types. */
    std::string String() const;
    /** The number as a double; false for other types. */
    bool Number(double& out) const;
};

/** A bounded reader over a text: every read stops at the text's end, and the
 *  first failure sticks with a one-line reason naming the byte offset. */
class cReader {
public:
    explicit cReader(std::string_view text) : text_(text) {}

    void SkipSpace();
    /** Consumes c when it is the next byte. */
    bool Consume(char c);
    /** The next byte; 0 at the end. */
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    /** Reads one value (after white space) with its span. */
    bool Value(strValue& out) { return ParseValue(out, 0); }
    /** Reads the string at the current position, decoded into out. */
    bool ReadString(std::string& out) { return String(&out); }
    /** Records a failure at the current position: "truncated at byte N" at the end, else the reason. */
    bool Fail(const char* reason);
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    bool ParseValue(strValue& out, int depth);
    bool Container(strValue& out, int depth);
    bool String(std::string* decoded);
    bool ParseNumber();
    bool Literal(std::string_view word);

    std::string_view text_;
    size_t pos_ = 0;
    std::string error_;
};

/** Parses a whole document (one value, white space around it). False with a one-line reason. */
bool Parse(std::string_view text, strValue& out, std::string& error);

/** Deep equality by meaning: numbers by value, strings decoded, object members by name. */
bool Equal(const strValue& a, const strValue& b);

/** A copy written as new: spans forgotten, numbers and strings rewritten as JSON.stringify writes them. */
strValue Fresh(const strValue& v);

/** New scalar values. */
strValue MakeNumber(double v);
strValue MakeString(std::string_view utf8);

/** Compact JSON text; a value that is fromSource is copied from source. */
std::string Write(const strValue& v, std::string_view source = {});
void Write(const strValue& v, std::string_view source, std::string& out);

/** A number as JavaScript prints it (shortest round trip, no ".0"; NaN and infinities give null). */
std::string NumberText(double v);
/** A string as JSON.stringify writes it: raw UTF-8, short escapes for " \ \b \f \n \r \t,
 *  \u00xx for other control characters; malformed UTF-8 becomes U+FFFD. */
std::string StringText(std::string_view utf8);

} // namespace OJSON
