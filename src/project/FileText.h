#pragma once
// Texts in the own project files. A file stores its texts in the ANSI code page
// (the Locale setting) when every text of the project has a code there, so such
// files stay byte for byte what they always were; otherwise every text of the
// file is UTF-8 and the file carries a mark saying so (a header flag in the
// binary file, a byte-order mark before the text file).

#include <string>
#include <string_view>

class cAnimeData;

namespace ANIME {

class cFileText {
public:
    /** Longest text a file holds, in stored bytes. */
    static constexpr size_t kMaxBytes = 255;

    /** Reading: UTF-8 texts when the file is marked, else the ANSI code page. */
    explicit cFileText(bool utf8);
    /** Writing: the code page when it holds every text the project writes, else UTF-8. */
    static cFileText For(const cAnimeData& project);

    bool Utf8() const { return utf8_; }
    /** A model text as the file stores it; false (with a noted problem naming the
     *  field) when it takes more than kMaxBytes or holds a line break and lineText is set. */
    bool Encode(const std::string& text, const char* field, std::string& out, bool lineText = false) const;
    /** Stored bytes, cut to kMaxBytes at a character boundary, as model text. */
    std::string Decode(std::string_view bytes) const;

private:
    bool utf8_;
    std::string codePage_;
};

} // namespace ANIME
