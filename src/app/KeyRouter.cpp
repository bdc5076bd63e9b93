#include "app/KeyRouter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// A field the user types into: a spin box or a line edit that takes keys.
QWidget* textFieldOf(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (qobject_cast<QAbstractSpinBox*>(widget))
        return widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // The line edit inside a spin box answers for its spin box.
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            return spin;
        return edit->isReadOnly() ? nullptr : edit;
    }
    return nullptr;
}

} // namespace

cKeyRouter::cKeyRouter(QWidget* window, QWidget* home) : QObject(window), window_(window), home_(home)
{
    qApp->installEventFilter(this);
}

bool cKeyRouter::FieldKeepsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        if ((mods & ~Qt::ShiftModifier) != Qt::ControlModifier || (mods & Qt::ShiftModifier))
            return false;
        return key == Qt::Key_A || key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_Z;
    }
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: return true;
    default: return !text.isEmpty() && text.at(0).isPrint();
    }
}

bool cKeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    QWidget* field = textFieldOf(watched);
    if (!field || field->window() != window_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Accepted: the field gets the key press. Ignored and consumed: the
        // shortcut table runs the key's command.
        if (FieldKeepsKey(key->key(), key->modifiers(), key->text()))
            key->accept();
        else
            key->ignore();
        return true;
    }
    const int k = key->key();
    if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape)
        return false;
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        auto* intSpin = qobject_cast<QSpinBox*>(spin);
        if (k == Qt::Key_Escape && intSpin)
            intSpin->setValue(intSpin->value()); // shows the value again, dropping the typed text
        else if (k != Qt::Key_Escape)
            spin->interpretText();
    }
    if (home_)
        home_->setFocus(Qt::OtherFocusReason);
    return true;
}
