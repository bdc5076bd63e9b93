#pragma once
// Shared pieces of the GUI tests: one QApplication for the program, scripted
// answers for message boxes and file dialogs, and a main window on a temporary
// config.ini.

#include "app/MainWnd.h"
#include "edit/Document.h"
#include "edit/RestoreHistory.h"
#include "platform/qt/QtClipboard.h"
#include "project/Settings.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>

/** Answers questions from a script; records what was asked. Without a scripted
 *  answer it says No. */
class cScriptedMessages : public iMessageSink {
public:
    eAskAnswer Ask(const std::string& text, const std::string&, eAskButtons, eAskIcon) override
    {
        asked.push_back(text);
        if (answers.empty())
            return ANSWER_NO;
        const eAskAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<eAskAnswer> answers;
    std::vector<std::string> asked;
};

/** Answers file dialogs with a preset path, or cancels when it is empty. */
class cScriptedChooser : public iFileChooser {
public:
    bool Choose(eDialogKind kind, const std::string& filter, const std::string&, const std::string& fileName,
                std::string& chosen) override
    {
        kinds.push_back(kind);
        filters.push_back(filter);
        fileNames.push_back(fileName);
        if (answer.empty())
            return false;
        chosen = answer;
        return true;
    }
    std::string answer; // model path
    std::vector<eDialogKind> kinds;
    std::vector<std::string> filters, fileNames; // description and preselected name of each dialog
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    /** Creates and initialises the main window with the arguments. */
    cMainWnd& Start(const QStringList& arguments = {});
    /** The example project on disk. */
    static std::filesystem::path Sample();
    /** The window's undo history. */
    cRestoreHistory& History() { return window->Document().History(); }

    std::filesystem::path dir;
    cScriptedMessages messages;
    cScriptedChooser chooser;
    platform::QtClipboard clipboard;
    std::unique_ptr<cMainWnd> window;
};
