#pragma once
// How the core talks to the user without knowing about windows: a status sink
// for the status bar's first part and a message sink for the few questions and
// alerts. The GUI plugs in its own; tests record what they get.

#include <string>

/** Receives status-bar texts (UTF-8). */
class iStatusSink {
public:
    virtual ~iStatusSink() = default;
    virtual void ShowStatus(const std::string& text) = 0;
};

enum eAskButtons { ASK_OK, ASK_YES_NO, ASK_YES_NO_CANCEL };
enum eAskAnswer { ANSWER_OK, ANSWER_YES, ANSWER_NO, ANSWER_CANCEL };
enum eAskIcon { ICON_NONE, ICON_QUESTION, ICON_WARNING, ICON_ERROR };

/** Shows questions and alerts (message boxes). */
class iMessageSink {
public:
    virtual ~iMessageSink() = default;
    virtual eAskAnswer Ask(const std::string& text, const std::string& caption, eAskButtons buttons, eAskIcon icon) = 0;
};

/** A status sink that keeps the last text (the command line and tests use it). */
class cStatusRecorder : public iStatusSink {
public:
    void ShowStatus(const std::string& text) override
    {
        last = text;
        ++count;
    }
    std::string last;
    int count = 0;
};
