#include "ui/QtFeedback.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

eAskAnswer cQtMessageSink::Ask(const std::string& text, const std::string& caption, eAskButtons buttons, eAskIcon icon)
{
    QMessageBox box(owner_);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case ICON_QUESTION: box.setIcon(QMessageBox::Question); break;
    case ICON_WARNING: box.setIcon(QMessageBox::Warning); break;
    case ICON_ERROR: box.setIcon(QMessageBox::Critical); break;
    default: break;
    }
    switch (buttons) {
    case ASK_OK: box.setStandardButtons(QMessageBox::Ok); break;
    case ASK_YES_NO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case ASK_YES_NO_CANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return ANSWER_YES;
    case QMessageBox::No: return ANSWER_NO;
    case QMessageBox::Ok: return ANSWER_OK;
    default: return ANSWER_CANCEL;
    }
}

QStringList FilterPatterns(const std::string& description)
{
    const QString text = QString::fromStdString(description);
    const qsizetype open = text.lastIndexOf('('), close = text.lastIndexOf(')');
    QStringList extensions;
    if (open < 0 || close < open)
        return {};
    const QString listed = text.mid(open + 1, close - open - 1);
    for (QString item : listed.split(QRegularExpression("[,;\\s]+"), Qt::SkipEmptyParts)) {
        item.remove(QRegularExpression("^\\*?\\.?"));
        if (!item.isEmpty() && item != "*")
            extensions.push_back(item.toLower());
    }
    // The sound list names a few kinds; offer every kind a project may refer to.
    if (extensions.contains("wav"))
        for (const char* more : {"flac", "oga", "opus", "mid", "midi", "aif", "aiff"})
            if (!extensions.contains(more))
                extensions.push_back(more);
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << "*." + e;
    for (const QString& e : extensions)
        patterns << "*." + e.toUpper();
    return patterns;
}

QString DialogFilters(const std::string& description)
{
    const QString all = QCoreApplication::translate("iFileChooser", "すべてのファイル (*)");
    const QStringList patterns = FilterPatterns(description);
    if (patterns.isEmpty())
        return all;
    return QString::fromStdString(description) + " (" + patterns.join(' ') + ");;" + all;
}

bool cQtFileChooser::Choose(eDialogKind kind, const std::string& filter, const std::string& initialFolder,
                            const std::string& fileName, std::string& chosen)
{
    const QString start =
        QString::fromStdString(paths::ToDiskPath(fileName.empty() ? initialFolder : fileName).string());
    const QString filters = DialogFilters(filter);
    QString path;
    if (kind == DIALOG_OPEN)
        path = QFileDialog::getOpenFileName(owner_, QString(), start, filters);
    else
        path = QFileDialog::getSaveFileName(owner_, QString(), start, filters);
    if (path.isEmpty())
        return false;
    chosen = paths::FromDiskPath(std::filesystem::path(path.toStdString()));
    return true;
}

void ErrorBox(const QString& text) { QMessageBox::critical(nullptr, "ERROR", text); }
