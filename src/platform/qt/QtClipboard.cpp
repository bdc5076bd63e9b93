#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

namespace {

QClipboard* board() { return QGuiApplication::clipboard(); }

QString mimeName(const std::string& format) { return QString::fromUtf8(format.data(), qsizetype(format.size())); }

} // namespace

QtClipboard::~QtClipboard() { delete pending_; }

bool QtClipboard::Open()
{
    if (open_ || !board())
        return false;
    open_ = true;
    return true;
}

void QtClipboard::Close()
{
    if (!open_)
        return;
    open_ = false;
    if (pending_) {
        board()->setMimeData(pending_);  // the clipboard takes ownership
        pending_ = nullptr;
    }
}

bool QtClipboard::Empty()
{
    if (!open_)
        return false;
    delete pending_;
    pending_ = new QMimeData;
    return true;
}

bool QtClipboard::SetData(const std::string& format, const std::vector<uint8_t>& bytes)
{
    if (!open_)
        return false;
    if (!pending_) {
        // Adding to what is there: start from a copy of the current formats.
        pending_ = new QMimeData;
        if (const QMimeData* current = board()->mimeData())
            for (const QString& f : current->formats())
                pending_->setData(f, current->data(f));
    }
    pending_->setData(mimeName(format),
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return true;
}

bool QtClipboard::GetData(const std::string& format, std::vector<uint8_t>& out)
{
    out.clear();
    if (!open_)
        return false;
    const QMimeData* data = pending_ ? pending_ : board()->mimeData();
    const QString name = mimeName(format);
    if (!data || !data->hasFormat(name))
        return false;
    const QByteArray bytes = data->data(name);
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool QtClipboard::IsAvailable(const std::string& format)
{
    if (!board())
        return false;
    const QMimeData* data = open_ && pending_ ? pending_ : board()->mimeData();
    return data && data->hasFormat(mimeName(format));
}

} // namespace platform
