#pragma once
// The window family every window and dialog of the editor derives from. One
// object is one window; Qt events are turned into the fixed hooks below.
//
// cBaseWnd     plain window: OnCreate, OnDestroy, OnPaint, OnSize, DrawOverlay, OnCommand
// cBaseDlg     dialog: modal or modeless, remembered position, Load/Apply/OnShow
// cBasePropSheet / cPropertyWnd   pages and the property sheet holding them
// cDialogSet   the main window's dialogs keyed by one bit, opened with OpenWindow

#include "project/WindowPlacement.h"

#include <QDialog>
#include <QKeyEvent>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QPainter;
class QTabWidget;

class cBaseWnd : public QWidget {
    Q_OBJECT
public:
    explicit cBaseWnd(QWidget* parent = nullptr);
    ~cBaseWnd() override;

    /** Calls OnCreate once the object is fully constructed. */
    void Create();
    /** Marks the window for redraw and requests a paint (sendNow: paint at once). */
    void RequestRedraw(bool sendNow = false);

    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    /** True when the hook painted; otherwise the platform paints. */
    virtual bool OnPaint(QPainter&) { return false; }
    virtual void OnSize() {}
    virtual void DrawOverlay(QPainter&) {}
    virtual void OnCommand(int /*id*/, int /*code*/, QObject* /*control*/) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool created_ = false;
};

/** Puts a top-level window at a placement from the settings: its frame's top-left
 *  corner at (x, y), its inside width × height, both clamped onto a visible screen
 *  and to at least the window's minimum size. */
void PlaceWindow(QWidget* window, strPlacement placement);
/** The placement PlaceWindow restores: the frame's top-left corner and the inside
 *  size of the window's normal (not maximised) state. */
strPlacement PlacementOf(const QWidget* window);
/** The usable areas of the screens, the primary first. */
std::vector<strPlacement> ScreenAreas();

/** Dialog flags. */
enum eDlgFlag : unsigned {
    DLG_MODELESS = 0x1,
    DLG_NO_CREATE = 0x4,
    DLG_REMEMBER_POS = 0x8,
    DLG_HIDE_ON_CLOSE = 0x10,
    DLG_DETACH_ON_CLOSE = 0x20,
};
/** Dialog results. */
enum eDlgResult { DLG_OK = 1, DLG_CANCEL = 2 };

class cBaseDlg : public QDialog {
    Q_OBJECT
public:
    /** A parent given here owns the dialog (Qt deletes it with the parent). */
    explicit cBaseDlg(unsigned flags = 0, QWidget* parent = nullptr);
    ~cBaseDlg() override;

    unsigned Flags() const { return flags_; }
    /** Shows the dialog with the parent: the modal result, 1 for a modeless dialog, 0 with
     *  DLG_NO_CREATE. A dialog that is open is closed (cancel) first. */
    virtual int Create(QWidget* parent);
    /** Closes with the result: 1, or -1 when the dialog is not open. */
    virtual int Close(int result);
    bool IsOpen() const { return open_; }

    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    virtual void Load() {}
    virtual void Apply() {}
    virtual void OnShow() {}
    virtual void OnCommand(int /*id*/, int /*code*/, QObject* /*control*/) {}

    int rememberedX = 0, rememberedY = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void accept() override;

private:
    unsigned flags_;
    bool open_ = false;
};

/** One page of a property sheet. */
class cBasePropSheet : public cBaseDlg {
    Q_OBJECT
public:
    explicit cBasePropSheet(const QString& title) : cBaseDlg(DLG_NO_CREATE), title(title) {}
    QString title;

protected:
    /** A page handles keys as a plain widget: Escape and Enter reach the sheet. */
    void keyPressEvent(QKeyEvent* event) override { QWidget::keyPressEvent(event); }
};

/** A property sheet: its pages in tabs, with OK, cancel and apply. */
class cPropertyWnd : public cBaseDlg {
    Q_OBJECT
public:
    explicit cPropertyWnd(unsigned flags = 0, QWidget* parent = nullptr) : cBaseDlg(flags, parent) {}
    int Create(QWidget* parent) override;
    /** Fills the pages (owned by the sheet window afterwards); returns their count. */
    virtual int GetPages(std::vector<cBasePropSheet*>& pages) = 0;
    virtual void OnResult(int /*result*/) {}

    /** Applies every page (the OK and apply buttons), then calls onApplied. */
    void ApplyPages();
    /** Called after the pages were applied, so the owner shows the new settings at once. */
    std::function<void()> onApplied;

private:
    std::vector<cBasePropSheet*> pages_;
    QTabWidget* tabs_ = nullptr;
};

/** The main window's dialogs, keyed by one bit. */
class cDialogSet {
public:
    void Add(unsigned key, cBaseDlg* dialog) { dialogs_[key] = dialog; }
    cBaseDlg* Get(unsigned key) const;
    /** Focuses an open dialog (returns 1); otherwise shows it and returns its result. */
    int OpenWindow(unsigned key, QWidget* owner);
    /** Closes every open dialog. */
    void CloseAll();

private:
    std::map<unsigned, cBaseDlg*> dialogs_;
};
