#pragma once
// The Qt faces of the editor's feedback interfaces: message boxes for questions,
// the system's open and save dialogs. Tests install their own answers instead.

#include "edit/Feedback.h"
#include "project/Document.h"

class QString;
class QWidget;

class cQtMessageSink : public iMessageSink {
public:
    explicit cQtMessageSink(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    eAskAnswer Ask(const std::string& text, const std::string& caption, eAskButtons buttons,
                   eAskIcon icon) override;

private:
    QWidget* owner_;
};

class cQtFileChooser : public iFileChooser {
public:
    explicit cQtFileChooser(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    bool Choose(eDialogKind kind, const std::string& filter, const std::string& initialFolder,
                const std::string& fileName, std::string& chosen) override;

private:
    QWidget* owner_;
};

/** The "ERROR" box of start-up failures. */
void ErrorBox(const QString& text);
