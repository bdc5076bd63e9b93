#pragma once
// The Qt faces of the editor's feedback interfaces: message boxes for questions,
// the system's open and save dialogs. Tests install their own answers instead.

#include "edit/Document.h"
#include "platform/Feedback.h"

#include <QStringList>

class QString;
class QWidget;

class cQtMessageSink : public iMessageSink {
public:
    explicit cQtMessageSink(QWidget* owner = nullptr) : owner_(owner) {}
    eAskAnswer Ask(const std::string& text, const std::string& caption, eAskButtons buttons, eAskIcon icon) override;

private:
    QWidget* owner_;
};

class cQtFileChooser : public iFileChooser {
public:
    explicit cQtFileChooser(QWidget* owner = nullptr) : owner_(owner) {}
    bool Choose(eDialogKind kind, const std::string& filter, const std::string& initialFolder,
                const std::string& fileName, std::string& chosen) override;

private:
    QWidget* owner_;
};

/** The file name patterns of a dialog filter description: the extensions listed
 *  in its parentheses ("画像(*.bmp,gif,png,xyz)"), in lower and upper case, plus
 *  the other sound files the sound device reads when it lists sounds. Empty when
 *  the description lists none. */
QStringList FilterPatterns(const std::string& description);
/** The filter list of a file dialog: the description with its patterns, then all files. */
QString DialogFilters(const std::string& description);

/** The "ERROR" box of start-up failures. */
void ErrorBox(const QString& text);
