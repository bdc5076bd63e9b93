#pragma once
// The keys held anywhere in the application. An application-wide event filter
// sees every key press and release whatever widget has the focus, so the canvas
// reads its gesture keys (rotate, scale, draft GIF, snap-suppress, multi-select)
// even right after a click on the timeline.

#include <QObject>

#include <set>

class cKeyState : public QObject {
    Q_OBJECT
public:
    /** The application's key state; installs its filter on first use. */
    static cKeyState& Instance();
    /** Whether the key with this Windows virtual-key code (as the settings name keys) is held. */
    bool Held(int virtualKey) const;
    /** Forgets every key (the application lost activation). */
    void Clear() { held_.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::set<int> held_;
};
