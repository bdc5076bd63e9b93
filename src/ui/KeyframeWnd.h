#pragma once
// cKeyframeWnd: the timeline control ("ctrl_keyframe"). Paints the grid of the
// project — cells present in each frame, the current frame, the selection, the
// play range, the drag range and the clip rectangle — and turns the mouse, keys,
// wheel and context menus into calls of its cTimeline. What the timeline asks of
// the rest of the program reaches the owner through the callbacks below.

#include "platform/Feedback.h"
#include "ui/BaseWnd.h"
#include "view/Timeline.h"

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QScrollBar;

class cKeyframeWnd : public cBaseWnd, private iTimelineHost {
    Q_OBJECT
public:
    explicit cKeyframeWnd(QWidget* parent = nullptr);
    ~cKeyframeWnd() override;

    cTimeline& Timeline() { return timeline_; }
    const cTimeline& Timeline() const { return timeline_; }

    /** A new project: the grid is reset. */
    void SetProject(cAnimeData* project);
    /** Follows the project's size and the current frame, and repaints. */
    void Sync(int currentFrame);
    /** The play range shown under the column header. */
    void SetPlayRange(bool on, int first, int last);
    /** The drag range for canvas drags while the timeline is shown; false when none. */
    bool DragRange(strGridBlock& out) const;
    /** Whether a key command of the main window applies here (the timeline has the
     *  focus and the command fits its selection). */
    bool WantsKeyCommand(int id) const;

    /** Opens the context menu of an area at a global point; the chosen command runs on
     *  the area and the clicked position. */
    void ShowContextMenu(int area, strGridPos clicked, const QPoint& globalPos);
    /** The client point in the middle of a grid position (header indices -1). */
    QPoint PointOf(strGridPos pos) const;

    // The owner's side of the timeline.
    std::function<void(int frame)> onFrameChosen;
    std::function<std::vector<uint8_t>*()> canvasSelection;
    std::function<void()> onCanvasSelection;
    std::function<void(int cellNo)> onCanvasFocus;
    std::function<void()> onStopPlayback;
    std::function<void(int key, const strGridBlock& block)> onOpenDialog;
    std::function<void(bool on, int first, int last)> onPlayRange;
    std::function<void()> onChanged;
    /** After user input that may have changed the selection or the drag range. */
    std::function<void()> onSelection;
    iStatusSink* status = nullptr;
    iMessageSink* messages = nullptr;

    bool OnPaint(QPainter& painter) override;
    void OnSize() override;
    /** Key commands routed here by the main window (cut, copy, paste, delete, ...). */
    void OnCommand(int id, int code, QObject* control) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // iTimelineHost
    void TimelineFrameChosen(int frame) override;
    std::vector<uint8_t>* TimelineCanvasSelection() override;
    void TimelineCanvasSelectionChanged() override;
    void TimelineCanvasFocus(int cellNo) override;
    void TimelineStopPlayback() override;
    void TimelineOpenDialog(int key, const strGridBlock& block) override;
    void TimelinePlayRange(bool on, int first, int last) override;
    void TimelineChanged() override;
    iStatusSink& TimelineStatus() override;
    iMessageSink& TimelineMessages() override;
    strEditOptions TimelineOptions() override;

    void SyncBars();
    void Changed();
    void InputDone();
    QRect PixelRect(const strGridRect& r) const;
    void PaintCells(QPainter& g, int c0, int c1, int r0, int r1);
    void PaintHeaders(QPainter& g, int c0, int c1, int r0, int r1);
    void PaintMarks(QPainter& g);

    cTimeline timeline_;
    QScrollBar* hBar_;
    QScrollBar* vBar_;
    bool syncing_ = false;
    cStatusRecorder ownStatus_;
    std::unique_ptr<iMessageSink> ownMessages_;
};
