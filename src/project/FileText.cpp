#include "project/FileText.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Strings.h"

namespace ANIME {

cFileText::cFileText(bool utf8) : utf8_(utf8), codePage_(platform::AnsiCodePage()) {}

cFileText cFileText::For(const cAnimeData& project)
{
    cFileText text(false);
    std::string encoded;
    auto fits = [&](const std::string& s) { return platform::EncodeText(s, text.codePage_, encoded); };
    bool all = fits(project.Text(AT_NAME)) && fits(project.Text(AT_USER_DATA));
    for (int i = 0; all && i < project.Pictures().Size(); ++i)
        if (const strPicture* p = project.GetPicture(i))
            all = fits(p->path);
    for (int i = 0; all && i < project.Effects().Size(); ++i)
        if (const strEffect* e = project.GetEffect(i))
            all = (!(e->flags & EF_SOUND) || fits(e->seName)) && (!(e->flags & EF_NOTE) || fits(e->note));
    text.utf8_ = !all;
    return text;
}

bool cFileText::Encode(const std::string& text, const char* field, std::string& out, bool lineText) const
{
    if (utf8_)
        out = text;
    else if (!platform::EncodeText(text, codePage_, out))
        out = text; // For() chose the code page, so this does not happen for the project's texts
    if (lineText && text.find_first_of("\r\n") != std::string::npos) {
        platform::NoteTextProblem(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "%s : 改行は保存できません"),
                                                       platform::Text(field).c_str()));
        return false;
    }
    if (out.size() > kMaxBytes) {
        platform::NoteTextProblem(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "%s : %zu バイト (最大 %zu)"),
                                                       platform::Text(field).c_str(), out.size(), size_t(kMaxBytes)));
        return false;
    }
    return true;
}

std::string cFileText::Decode(std::string_view bytes) const
{
    if (utf8_)
        return platform::DecodeText(platform::CutUtf8(bytes, kMaxBytes), "UTF-8");
    return platform::DecodeText(platform::CutCodePage(bytes, kMaxBytes, codePage_), codePage_);
}

} // namespace ANIME
