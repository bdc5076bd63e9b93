#include "ui/QtFeedback.h"

#include "project/Paths.h"

#include <QFileDialog>
#include <QMessageBox>

eAskAnswer cQtMessageSink::Ask(const std::string& text, const std::string& caption, eAskButtons buttons,
                               eAskIcon icon)
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
    case ASK_YES_NO_CANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return ANSWER_YES;
    case QMessageBox::No: return ANSWER_NO;
    case QMessageBox::Ok: return ANSWER_OK;
    default: return ANSWER_CANCEL;
    }
}

bool cQtFileChooser::Choose(eDialogKind kind, const std::string& filter, const std::string& initialFolder,
                            const std::string& fileName, std::string& chosen)
{
    const QString start = QString::fromStdString(
        paths::ToDiskPath(fileName.empty() ? initialFolder : fileName).string());
    const QString filters = QString::fromStdString(filter) + " (*.txt *.dat);;* (*)";
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

void ErrorBox(const QString& text)
{
    QMessageBox::critical(nullptr, "ERROR", text);
}
