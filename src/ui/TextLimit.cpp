#include "ui/TextLimit.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QValidator>

namespace {

class cStoredBytesValidator : public QValidator {
public:
    cStoredBytesValidator(size_t maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

    State validate(QString& input, int&) const override
    {
        return platform::StoredSize(input.toStdString()) <= maxBytes_ ? Acceptable : Invalid;
    }

private:
    size_t maxBytes_;
};

} // namespace

void LimitStoredBytes(QLineEdit* edit, size_t maxBytes)
{
    edit->setMaxLength(32767);
    edit->setValidator(new cStoredBytesValidator(maxBytes, edit));
    edit->setToolTip(QCoreApplication::translate("QLineEdit", "最大 %1 バイト").arg(qulonglong(maxBytes)));
}

QString FromModel(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string ToModel(const QString& text) { return text.toStdString(); }

QString FromModelPath(const std::string& path) { return FromModel(paths::ForDisplay(path)); }

std::string ToModelPath(const QString& text) { return paths::ToBackslashes(ToModel(text)); }
