#include "interchange/OrderedJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace OJSON {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the well-formed UTF-8 sequence at s[i] (a byte of 0x80 or above),
// 0 when malformed; truncated tells that s ends inside a sequence that was
// well-formed so far.
size_t utf8Sequence(std::string_view s, size_t i, bool& truncated)
{
    truncated = false;
    const uint8_t lead = uint8_t(s[i]);
    size_t need;
    uint8_t low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        need = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else
        return 0;
    for (size_t k = 1; k < need; ++k) {
        if (i + k >= s.size()) {
            truncated = true;
            return 0;
        }
        const uint8_t c = uint8_t(s[i + k]);
        if (k == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF))
            return 0;
    }
    return need;
}

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80)
        out += char(cp);
    else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | cp >> 18);
        out += char(0x80 | (cp >> 12 & 0x3F));
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool isScalar(eType t) { return t != T_ARRAY && t != T_OBJECT; }

} // namespace

// --- values ---

const strValue* strValue::Find(std::string_view key) const
{
    for (size_t i = keys.size(); i-- > 0;)
        if (keys[i] == key)
            return &items[i];
    return nullptr;
}

strValue* strValue::Find(std::string_view key)
{
    return const_cast<strValue*>(static_cast<const strValue*>(this)->Find(key));
}

std::string strValue::String() const
{
    std::string out;
    if (type != T_STRING)
        return out;
    cReader reader(text);
    if (!reader.ReadString(out))
        out.clear();
    return out;
}

bool strValue::Number(double& out) const
{
    if (type != T_NUMBER)
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// --- reading ---

void cReader::SkipSpace()
{
    while (pos_ < text_.size() && std::string_view(" \t\n\r").find(text_[pos_]) != std::string_view::npos)
        ++pos_;
}

bool cReader::Consume(char c)
{
    if (AtEnd() || text_[pos_] != c)
        return false;
    ++pos_;
    return true;
}

bool cReader::Fail(const char* reason)
{
    if (error_.empty())
        error_ = (AtEnd() ? std::string("truncated") : std::string(reason)) + " at byte " + std::to_string(pos_);
    return false;
}

bool cReader::ParseValue(strValue& out, int depth)
{
    SkipSpace();
    out = strValue();
    out.begin = pos_;
    bool ok;
    switch (Peek()) {
    case '{':
    case '[': ok = Container(out, depth); break;
    case '"':
        out.type = T_STRING;
        ok = String(nullptr);
        break;
    case 't':
        out.type = T_BOOL;
        ok = Literal("true");
        break;
    case 'f':
        out.type = T_BOOL;
        ok = Literal("false");
        break;
    case 'n':
        out.type = T_NULL;
        ok = Literal("null");
        break;
    default:
        if (AtEnd() || !(Peek() == '-' || isDigit(Peek())))
            return Fail("unexpected character");
        out.type = T_NUMBER;
        ok = ParseNumber();
    }
    if (!ok)
        return false;
    out.end = pos_;
    if (isScalar(out.type))
        out.text.assign(text_.substr(out.begin, out.end - out.begin));
    out.fromSource = true;
    return true;
}

bool cReader::Container(strValue& out, int depth)
{
    if (depth >= kMaxDepth)
        return Fail("nesting too deep");
    const bool object = Peek() == '{';
    const char close = object ? '}' : ']';
    out.type = object ? T_OBJECT : T_ARRAY;
    ++pos_;
    SkipSpace();
    if (Consume(close))
        return true;
    for (;;) {
        if (object) {
            SkipSpace();
            if (Peek() != '"' || AtEnd())
                return Fail("expected a member name");
            const size_t start = pos_;
            std::string key;
            if (!String(&key))
                return false;
            out.keyTexts.emplace_back(text_.substr(start, pos_ - start));
            out.keys.push_back(std::move(key));
            SkipSpace();
            if (!Consume(':'))
                return Fail("expected ':'");
        }
        out.items.emplace_back();
        if (!ParseValue(out.items.back(), depth + 1))
            return false;
        SkipSpace();
        if (Consume(','))
            continue;
        if (Consume(close))
            return true;
        return Fail(object ? "expected ',' or '}'" : "expected ',' or ']'");
    }
}

bool cReader::String(std::string* decoded)
{
    if (!Consume('"'))
        return Fail("expected a string");
    // Reads four hex digits of a \u escape.
    auto hex4 = [this](uint32_t& unit) {
        unit = 0;
        for (int k = 0; k < 4; ++k, ++pos_) {
            if (AtEnd())
                return Fail("");
            const int h = hexValue(text_[pos_]);
            if (h < 0)
                return Fail("bad \\u escape");
            unit = unit << 4 | uint32_t(h);
        }
        return true;
    };
    for (;;) {
        if (AtEnd())
            return Fail("");
        const uint8_t c = uint8_t(text_[pos_]);
        if (c == '"') {
            ++pos_;
            return true;
        }
        if (c < 0x20)
            return Fail("control character in a string");
        if (c >= 0x80) {
            bool truncated;
            const size_t n = utf8Sequence(text_, pos_, truncated);
            if (n == 0) {
                if (truncated)
                    pos_ = text_.size();
                return Fail("malformed UTF-8");
            }
            if (decoded)
                decoded->append(text_.substr(pos_, n));
            pos_ += n;
            continue;
        }
        ++pos_;
        if (c != '\\') {
            if (decoded)
                *decoded += char(c);
            continue;
        }
        if (AtEnd())
            return Fail("");
        const char e = text_[pos_++];
        static const std::string_view plain = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
        const size_t k = plain.find(e);
        if (k != std::string_view::npos) {
            if (decoded)
                *decoded += meaning[k];
            continue;
        }
        if (e != 'u') {
            --pos_;
            return Fail("bad escape");
        }
        uint32_t unit;
        if (!hex4(unit))
            return false;
        uint32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A lone surrogate reads as U+FFFD, as a text decoder shows it.
            cp = 0xFFFD;
            if (unit <= 0xDBFF && pos_ + 1 < text_.size() && text_[pos_] == '\\' && text_[pos_ + 1] == 'u') {
                const size_t back = pos_;
                pos_ += 2;
                uint32_t second;
                if (!hex4(second))
                    return false;
                if (second >= 0xDC00 && second <= 0xDFFF)
                    cp = 0x10000 + ((unit - 0xD800) << 10) + (second - 0xDC00);
                else
                    pos_ = back;
            }
        }
        if (decoded)
            appendUtf8(*decoded, cp);
    }
}

bool cReader::ParseNumber()
{
    Consume('-');
    if (Peek() == '0' && !AtEnd())
        ++pos_;
    else if (isDigit(Peek()))
        while (isDigit(Peek()))
            ++pos_;
    else
        return Fail("malformed number");
    if (Consume('.')) {
        if (!isDigit(Peek()))
            return Fail("malformed number");
        while (isDigit(Peek()))
            ++pos_;
    }
    if (Consume('e') || Consume('E')) {
        if (!Consume('+'))
            Consume('-');
        if (!isDigit(Peek()))
            return Fail("malformed number");
        while (isDigit(Peek()))
            ++pos_;
    }
    return true;
}

bool cReader::Literal(std::string_view word)
{
    for (char c : word) {
        if (AtEnd())
            return Fail("");
        if (text_[pos_] != c)
            return Fail("unexpected character");
        ++pos_;
    }
    return true;
}

bool Parse(std::string_view text, strValue& out, std::string& error)
{
    cReader reader(text);
    if (reader.Value(out)) {
        reader.SkipSpace();
        if (reader.AtEnd())
            return true;
        reader.Fail("unexpected data after the end");
    }
    error = reader.Error();
    return false;
}

// --- comparing and building ---

bool Equal(const strValue& a, const strValue& b)
{
    if (a.type != b.type)
        return false;
    switch (a.type) {
    case T_NULL: return true;
    case T_BOOL: return a.text == b.text;
    case T_NUMBER: {
        double x, y;
        if (a.Number(x) && b.Number(y))
            return x == y;
        return a.text == b.text;
    }
    case T_STRING: return a.text == b.text || a.String() == b.String();
    case T_ARRAY:
        if (a.items.size() != b.items.size())
            return false;
        for (size_t i = 0; i < a.items.size(); ++i)
            if (!Equal(a.items[i], b.items[i]))
                return false;
        return true;
    case T_OBJECT:
        if (a.items.size() != b.items.size())
            return false;
        for (size_t i = 0; i < a.items.size(); ++i) {
            const strValue* other = b.Find(a.keys[i]);
            if (!other || !Equal(a.items[i], *other))
                return false;
        }
        return true;
    }
    return false;
}

strValue Fresh(const strValue& v)
{
    strValue r;
    r.type = v.type;
    switch (v.type) {
    case T_NULL: r.text = "null"; break;
    case T_BOOL: r.text = v.text; break;
    case T_NUMBER: {
        double d;
        r.text = v.Number(d) ? NumberText(d) : v.text;
        break;
    }
    case T_STRING: r.text = StringText(v.String()); break;
    case T_OBJECT:
        r.keys = v.keys;
        for (const std::string& key : v.keys)
            r.keyTexts.push_back(StringText(key));
        [[fallthrough]];
    case T_ARRAY:
        r.items.reserve(v.items.size());
        for (const strValue& item : v.items)
            r.items.push_back(Fresh(item));
        break;
    }
    return r;
}

strValue MakeNumber(double v)
{
    strValue r;
    r.type = T_NUMBER;
    r.text = NumberText(v);
    return r;
}

strValue MakeString(std::string_view utf8)
{
    strValue r;
    r.type = T_STRING;
    r.text = StringText(utf8);
    return r;
}

// --- writing ---

void Write(const strValue& v, std::string_view source, std::string& out)
{
    if (v.fromSource && v.begin < v.end && v.end <= source.size()) {
        out.append(source.substr(v.begin, v.end - v.begin));
        return;
    }
    switch (v.type) {
    case T_NULL: out += "null"; return;
    case T_BOOL:
    case T_NUMBER:
    case T_STRING: out += v.text; return;
    case T_ARRAY:
    case T_OBJECT: {
        const bool object = v.type == T_OBJECT;
        out += object ? '{' : '[';
        for (size_t i = 0; i < v.items.size(); ++i) {
            if (i > 0)
                out += ',';
            if (object) {
                out += i < v.keyTexts.size() && !v.keyTexts[i].empty() ? v.keyTexts[i] : StringText(v.keys[i]);
                out += ':';
            }
            Write(v.items[i], source, out);
        }
        out += object ? '}' : ']';
        return;
    }
    }
}

std::string Write(const strValue& v, std::string_view source)
{
    std::string out;
    Write(v, source, out);
    return out;
}

std::string NumberText(double v)
{
    if (!std::isfinite(v))
        return "null";
    if (v == 0)
        return "0"; // also for -0, as JavaScript prints it
    // Shortest round-trip digits d1.d2...e±x, laid out by the rules of
    // JavaScript's Number::toString.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::scientific);
    const std::string_view sci(buffer, size_t(result.ptr - buffer));
    const size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    const int k = int(digits.size());
    const int n = std::stoi(std::string(sci.substr(e + 1))) + 1; // value = 0.digits * 10^n
    std::string out = v < 0 ? "-" : "";
    if (k <= n && n <= 21)
        out += digits + std::string(size_t(n - k), '0');
    else if (0 < n && n <= 21)
        out += digits.substr(0, size_t(n)) + "." + digits.substr(size_t(n));
    else if (-6 < n && n <= 0)
        out += "0." + std::string(size_t(-n), '0') + digits;
    else {
        out += digits.substr(0, 1);
        if (k > 1)
            out += "." + digits.substr(1);
        out += (n - 1 >= 0 ? "e+" : "e-") + std::to_string(std::abs(n - 1));
    }
    return out;
}

std::string StringText(std::string_view utf8)
{
    std::string out = "\"";
    out.reserve(utf8.size() + 2);
    for (size_t i = 0; i < utf8.size();) {
        const uint8_t c = uint8_t(utf8[i]);
        if (c >= 0x80) {
            bool truncated;
            const size_t n = utf8Sequence(utf8, i, truncated);
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(utf8.substr(i, n));
                i += n;
            }
            continue;
        }
        ++i;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
                out += escape;
            } else
                out += char(c);
        }
    }
    out += '"';
    return out;
}

} // namespace OJSON
