#pragma once
// Who gets a key in the main window: the shortcut table or the tool bar field
// that has the focus.
//
// The shortcut table comes first, except for the keys a text field needs while
// the user types in it:
//   - characters (with or without Shift), Space included;
//   - Backspace, Delete, the arrows, Home, End, Page Up and Page Down (editing
//     and stepping the value), without Ctrl or Alt;
//   - Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z (select, copy, paste, cut and undo
//     inside the text).
// Every other key runs its command even while a field has the focus: Ctrl+N, O,
// S, Y, B, L, I, Q, W, Ctrl+Left/Right, Ctrl+comma/period, the browser keys.
// Enter commits the field's text and Escape restores the shown value; both
// then give the focus back to the canvas, so the next key is a shortcut again
// (Enter does not also open the cell window).

#include <QObject>

class QWidget;

class cKeyRouter : public QObject {
    Q_OBJECT
public:
    /** Routes the keys of the fields inside window; home gets the focus after
     *  Enter or Escape in a field. */
    cKeyRouter(QWidget* window, QWidget* home);

    /** True when a focused text field keeps the key (modifiers as Qt gives them). */
    static bool FieldKeepsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QWidget* home_;
};
