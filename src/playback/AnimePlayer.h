#pragma once
// cAnimePlayer: steps an animation's frames on the ticks of the frame timer, with
// loop, back-and-forth and a play range, fires the effects of each frame (flashes
// and sound effects) and steps the screen and target flashes it shows. The canvas
// owns one; the timer and the sound part are shared by the program.

#include <functional>

#include "playback/FrameTimer.h"
#include "render/FlashState.h"

class cAnimeData;
class cSoundPart;
struct strEffect;

/** Play option bits (the PlayBit setting) and the player's internal bits. */
enum ePlayFlag : unsigned {
    PF_PLAYING = 0x001,       // internal: playing
    PF_LOOP = 0x004,          // repeat
    PF_BOUNCE = 0x008,        // at the end run backward to the start
    PF_BACKWARD = 0x010,      // internal: running backward
    PF_FLASH = 0x020,         // show flashes
    PF_SOUND = 0x080,         // play sound effects
    PF_WHOLE = 0x100,         // play the whole animation (play range off)
    PF_RELOAD_SOUNDS = 0x200, // release the sounds at every stop
    PF_CLEAR_CELLS = 0x400,   // hide the cells when playback ends
};

/** The window that shows playback: it gets each timer tick (and then calls
 *  advance) and is told once when playback stops. */
class cPlayerWindow {
public:
    virtual ~cPlayerWindow() = default;
    virtual void PlayTick() = 0;
    virtual void PlayStopped() = 0;
};

class cAnimePlayer {
public:
    /** `sounds` may be null: playback then runs without sound effects. */
    explicit cAnimePlayer(cFrameTimer& timer, cSoundPart* sounds = nullptr) : timer_(timer), sounds_(sounds) {}

    void SetProject(cAnimeData* project) { project_ = project; }
    cAnimeData* Project() const { return project_; }

    /** Starts playback at `rate` ticks per second with the option `flags` from the
     *  current frame (or the range start when the current frame lies outside the
     *  range); `window` gets the ticks. False when the timer was already running. */
    bool Play(unsigned rate, unsigned flags, cPlayerWindow* window);
    /** Stops the timer and all sounds. With reset the player returns to frame -1;
     *  without, it keeps its frame. Tells the window when it was playing. */
    void Stop(bool reset);
    /** One tick; returns whether the current frame changed. */
    bool Advance();
    /** Aims the player at frame f (-1 before the first; other values out of range
     *  keep the current frame) and at the first effect of that frame or later. */
    void GoToFrame(int frame);
    /** The play range; -1 for an open bound. */
    void SetRange(int start, int end);

    int CurrentFrame() const { return current_; }
    bool IsPlaying() const { return (flags_ & PF_PLAYING) != 0; }
    /** Playback ended with the option to hide the cells. */
    bool CellsCleared() const { return cellsCleared_; }
    unsigned Flags() const { return flags_; }
    /** Replaces the play options; the internal bits stay. Takes effect at once;
     *  switching on PF_RELOAD_SOUNDS releases the loaded sounds. */
    void SetOptions(unsigned options);

    const strFlashState& ScreenFlash() const { return screenFlash_; }
    const strFlashState& TargetFlash() const { return targetFlash_; }
    /** Drops both flashes (a frame chosen by hand during playback). */
    void ResetFlashes();

    /** Called with the effect index of every effect fired (for traces). */
    void SetFireListener(std::function<void(int)> listener) { fireListener_ = std::move(listener); }

private:
    int EffectEnd() const;
    int FirstEffectFrom(int frame) const;
    void Fire(int index, const strEffect& effect);
    void Finish();

    cFrameTimer& timer_;
    cSoundPart* sounds_;
    cAnimeData* project_ = nullptr;
    cPlayerWindow* window_ = nullptr;
    int current_ = -1;
    int wait_ = 0;
    int rangeStart_ = -1, rangeEnd_ = -1;
    int nextEffect_ = 0;
    bool finished_ = false;
    bool cellsCleared_ = false;
    unsigned flags_ = 0;
    strFlashState screenFlash_, targetFlash_;
    std::function<void(int)> fireListener_;
};

/** The play commands ("play from the start" passes frame 0, "play" the editor's
 *  current frame): stops a playing player and returns false; otherwise plays from
 *  startFrame at the rate of the `playRate` setting with the options `playBit`,
 *  within [rangeStart, rangeEnd] unless the options include PF_WHOLE. On failure
 *  the player is reset. Returns whether playback started. */
bool RunPlayCommand(cAnimePlayer& player, int startFrame, int rangeStart, int rangeEnd, cPlayerWindow* window,
                    unsigned playBit, int playRate);
