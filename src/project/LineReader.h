#pragma once
// Line and field splitting for the text project files. Lines end with CR, LF
// or CR LF; a line longer than the reader's limit is cut (its rest is dropped,
// never read as a line of its own). Fields are separated by commas.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ANIME {

class cLineReader {
public:
    cLineReader(std::string_view data, size_t maxLine) : data_(data), maxLine_(maxLine) {}

    /** The next line without its line end; false at the end of the data. */
    bool Next(std::string_view& line)
    {
        if (pos_ >= data_.size())
            return false;
        size_t end = pos_;
        while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n')
            ++end;
        line = data_.substr(pos_, std::min(end - pos_, maxLine_));
        pos_ = end;
        if (pos_ < data_.size() && data_[pos_] == '\r')
            ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n')
            ++pos_;
        return true;
    }

private:
    std::string_view data_;
    size_t pos_ = 0;
    size_t maxLine_;
};

/** Splits a line at commas into at most maxFields fields (later commas end the line). */
inline void SplitFields(std::string_view line, std::vector<std::string_view>& fields, size_t maxFields = 4096)
{
    fields.clear();
    size_t from = 0;
    while (fields.size() < maxFields) {
        const size_t comma = line.find(',', from);
        fields.push_back(line.substr(from, comma == std::string_view::npos ? line.npos : comma - from));
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
}

/** The decimal value at the start of a field ("%d" / atoi style: leading blanks and a
 *  sign are accepted, text that is not a number reads as 0, values saturate). */
inline int FieldValue(std::string_view field)
{
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    long long v = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        if (v < 10'000'000'000LL)
            v = v * 10 + (field[i] - '0');
    v = negative ? -v : v;
    return int(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

/** Field i of a split line, or def when it is missing or empty. */
inline int FieldOr(const std::vector<std::string_view>& fields, size_t i, int def)
{
    return i < fields.size() && !fields[i].empty() ? FieldValue(fields[i]) : def;
}

/** Appends "%d". */
inline void AppendInt(std::string& out, int v)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

} // namespace ANIME
