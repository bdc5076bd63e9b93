#include "view/DialogExport.h"

#include "export/CaptureImage.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"

strCaptureRect strExportForm::Rect() const
{
    strCaptureRect r;
    r.left = left;
    r.top = top;
    r.right = left + width;
    r.bottom = top + height;
    return r;
}

void strExportForm::SetRect(const strCaptureRect& r)
{
    left = r.left;
    top = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
}

int strExportForm::PngFlags() const
{
    int flags = kCapturePng;
    if (interval)
        flags |= kCaptureInterval;
    if (alpha)
        flags |= kCaptureAlpha;
    // The layout choices only mean something for a combined sheet.
    if (combine)
        flags |= kCaptureCombine | (fixRows ? kCaptureFixRows : 0) | (orderN ? kCaptureOrderN : 0);
    return flags;
}

int strExportForm::GifFlags() const
{
    return kCaptureGif | (alpha ? kCaptureAlpha : 0) | (sixHundredths ? kCaptureSixHundredths : 0) |
           (flash ? kCaptureFlash : 0) | (target ? kCaptureTarget : 0);
}

std::string ProposedExportName(const cAnimeData& project, const std::string& ext)
{
    std::string name = paths::FileNameOf(project.Text(AT_FILE_NAME));
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name.empty() ? std::string() : name + ext;
}
