#pragma once
// The editor's batch options --import VERSION, --export VERSION and --save-as FILE: the
// File menu's clipboard commands and Save As, run once the window is up, so a script can
// move an animation between RPG Maker's clipboard and a project file.

#include <QString>

class cMainWnd;

struct strStartupActions {
    QString open;          // the file named on the command line; opened first
    int importCommand = 0; // File > Import command id; 0 for none
    int exportCommand = 0; // File > Export command id; 0 for none
    QString saveAs;        // saved to, then the editor quits; empty for none

    bool Any() const { return importCommand != 0 || exportCommand != 0 || !saveAs.isEmpty(); }
};

/** The File menu's import and export commands of a version name (2000, xp, vx, vxace, mv,
 *  mz); false for another name. */
bool ClipboardCommandsOf(const QString& version, int& importCommand, int& exportCommand);

/** Opens, imports, exports and saves, in that order, stopping at the first step that
 *  fails and reporting it on stderr. Returns the exit code to quit with when there is a
 *  file to save (0 saved, 1 a step failed, nothing written), else -1: the editor keeps
 *  running, holding what it exported and showing a failure in its status bar. */
int RunStartupActions(cMainWnd& window, const strStartupActions& actions);
