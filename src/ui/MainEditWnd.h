#pragma once
// cMainEditWnd: the canvas. Shows the current frame of the project through the
// sprite drawer (cells in slot order, error cells, the background colour) at the
// surface's zoom and scroll, with the grid and centre lines on top, and drives
// playback: a precise timer wakes it when the next frame is due, the frame timer
// fires, and the player advances with its flashes and sounds.

#include "playback/AnimePlayer.h"
#include "ui/DrawBoxWnd.h"

#include "image/Bmp.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

class cAnimeData;

class cMainEditWnd : public cDrawBoxWnd, public cPlayerWindow {
    Q_OBJECT
public:
    explicit cMainEditWnd(QWidget* parent = nullptr);
    ~cMainEditWnd() override;

    /** Points the canvas (and its player) at a project; resets frame, selection and playback. */
    void SetProject(cAnimeData* project);
    cAnimeData* Project() const { return project_; }

    /** The project's cell count changed: the selection takes the new count. */
    void ResetCellCount();

    int CurrentFrame() const { return currentFrame_; }
    /** Selects a frame (clamped by the caller) and redraws; during playback the player follows. */
    void SetCurrentFrame(int frame);
    /** The selection: one byte per cell number, bit 0 set when selected. */
    std::vector<uint8_t>& Selection() { return selection_; }
    bool AnySelected() const;

    cAnimePlayer& Player() { return player_; }
    /** Play from startFrame with the PlayBit and PlayRate settings inside the range
     *  (-1 open); a playing canvas stops instead. Returns whether playback started. */
    bool PlayCommand(int startFrame, int rangeStart, int rangeEnd);
    void StopPlayback();
    bool IsPlaying() const { return player_.isPlaying(); }
    /** Playback ended with the option to hide the cells; cleared by the next frame choice. */
    bool CellsHidden() const { return cellsHidden_; }

    /** Told after every frame change made by playback, and when playback stops. */
    std::function<void()> onFrameChanged;
    std::function<void()> onPlayStopped;

    bool FetchCell(int frame, int cellNo, strCell& out) const override;
    bool Draw(QPainter& painter) override;
    void OnResize() override;

    // cPlayerWindow
    void playTick() override;
    void playStopped() override;

    /** Called after every draw with the milliseconds it took (for measurements). */
    std::function<void(double ms)> onDrawn;
    /** Playback ticks received since the program started. */
    long TickCount() const { return ticks_; }
    /** Milliseconds the last Draw took. */
    double LastDrawMs() const { return lastDrawMs_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void scheduleTick();
    void drawOverlays(QPainter& painter);

    cAnimeData* project_ = nullptr;
    int currentFrame_ = 0;
    std::vector<uint8_t> selection_;
    cAnimePlayer player_;
    QTimer clock_;
    cBMP target_;
    bool cellsHidden_ = false;  // playback ended with the option to hide the cells
    double lastDrawMs_ = 0;
    long ticks_ = 0;
};
