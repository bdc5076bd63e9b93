#include "ui/KeyState.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// The Qt key of a Windows virtual key as the settings name it (letters and digits
// share their codes).
int qtKeyOfVirtualKey(int vk)
{
    switch (vk) {
    case 0x10: return Qt::Key_Shift;
    case 0x11: return Qt::Key_Control;
    case 0x12: return Qt::Key_Alt;
    case 0x20: return Qt::Key_Space;
    default: return vk;
    }
}

} // namespace

cKeyState& cKeyState::Instance()
{
    static cKeyState* state = [] {
        auto* s = new cKeyState;
        s->setParent(qApp);
        qApp->installEventFilter(s);
        return s;
    }();
    return *state;
}

bool cKeyState::Held(int virtualKey) const { return held_.count(qtKeyOfVirtualKey(virtualKey)) > 0; }

bool cKeyState::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // A key event reaches the filter once per widget it travels through; the
        // set makes repeats harmless.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                held_.insert(key->key());
            else
                held_.erase(key->key());
        }
        break;
    }
    case QEvent::ApplicationDeactivate: held_.clear(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
