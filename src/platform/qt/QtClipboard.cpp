#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>

namespace platform {

namespace {

QClipboard* board() { return QGuiApplication::clipboard(); }

QString mimeName(const std::string& format) { return QString::fromUtf8(format.data(), qsizetype(format.size())); }

// The targets a format travels under, the first preferred. Wine hands the fixed
// clipboard format 582 (RPG Maker 2000) to X11 programs as the target "#582",
// so the 2000 data goes under that name as well.
QStringList targetsOf(const std::string& format)
{
    QStringList targets{mimeName(format)};
    if (format == kFormat2000)
        targets << QStringLiteral("#582");
    return targets;
}

// The first target of the format that the data holds; empty when none.
QString presentTarget(const QMimeData* data, const std::string& format)
{
    if (data)
        for (const QString& target : targetsOf(format))
            if (data->hasFormat(target))
                return target;
    return {};
}

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
        board()->setMimeData(pending_); // the clipboard takes ownership
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
    const QByteArray block(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    for (const QString& target : targetsOf(format))
        pending_->setData(target, block);
    return true;
}

bool QtClipboard::GetData(const std::string& format, std::vector<uint8_t>& out)
{
    out.clear();
    if (!open_)
        return false;
    const QMimeData* data = pending_ ? pending_ : board()->mimeData();
    const QString target = presentTarget(data, format);
    if (target.isEmpty())
        return false;
    const QByteArray bytes = data->data(target);
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool QtClipboard::IsAvailable(const std::string& format)
{
    if (!board())
        return false;
    const QMimeData* data = open_ && pending_ ? pending_ : board()->mimeData();
    return !presentTarget(data, format).isEmpty();
}

} // namespace platform
