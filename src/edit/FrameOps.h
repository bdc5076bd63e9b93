#pragma once
// Operations on whole frames: stepping between frames (with automatic growth),
// insert, delete, clear, copy from a neighbour, interpolation from both
// neighbours and interval setting; plus the status reporting and the
// per-parameter interpolation rule that the cell operations share.
//
// Every function takes the project and the current frame as plain arguments;
// editing operations are one undo step each and report through the status sink.

#include <string>

class cAnimeData;
class iStatusSink;
class iMessageSink;
struct strCell;

/** Failure text argument of ReportResult that shows nothing. */
inline constexpr int kNoMessage = -1;

/** "< ! > [%d:%d] : 処理に失敗" with the minute and second of the local time. */
std::string FailureText();
/** Shows the success text (formatted with value) when succeeded and one is given, the
 *  failure text when failed and one is given (kNoMessage: nothing), otherwise the
 *  time message. A text argument of 0 means none is given. */
void ReportResult(iStatusSink& status, int successText, int failureText, bool succeeded, int value);

/** The current frame clamped into the existing frames: n - 1 when larger, 0 when
 *  negative, -1 when there is no frame. */
int ClampCurrentFrame(const cAnimeData& project, int current);

// --- navigation: each runs the frame consistency guard first and returns the new current frame
int PreviousFrame(cAnimeData& project, int current, iMessageSink& messages);
int FirstFrame(cAnimeData& project, int current, iMessageSink& messages);
int LastFrame(cAnimeData& project, int current, iMessageSink& messages);
/** Steps forward; on the last frame with addAtEnd (the NewFrameFlag setting), first
 *  appends an empty frame (one undo step, reported). Stays on the last frame otherwise. */
int NextFrame(cAnimeData& project, int current, bool addAtEnd, iStatusSink& status, iMessageSink& messages);

// --- editing: one undo step each; current is clamped afterwards
bool InsertFrame(cAnimeData& project, int& current, iStatusSink& status);
/** Deletes the current frame closing the gap; the project never ends with no frame. */
bool DeleteFrame(cAnimeData& project, int& current, iStatusSink& status);
bool ClearFrame(cAnimeData& project, int& current, iStatusSink& status);
/** Copies frame source over destination (both existing) and resets its interval to 0. */
bool CopyNeighbour(cAnimeData& project, int destination, int source, iStatusSink& status);
/** Guard, then CopyNeighbour(current, current - 1) or (current, current + 1). */
bool CopyFromPrevious(cAnimeData& project, int& current, iStatusSink& status, iMessageSink& messages);
bool CopyFromNext(cAnimeData& project, int& current, iStatusSink& status, iMessageSink& messages);
/** Guard, then every cell slot of the current frame interpolated halfway between the
 *  previous and next frame. True when at least one cell was stored. */
bool InterpolateFromNeighbours(cAnimeData& project, int& current, int compType, iStatusSink& status,
                               iMessageSink& messages);

/** The interpolation rule: W = P + trunc((N - P) * t) per parameter in single precision,
 *  on each parameter's width. With only P or only N, W becomes a copy of it; with
 *  neither, false. compType (setting "CompType") 1 keeps W's picture and pattern, 2 also
 *  its colours. */
bool InterpolateCell(strCell& w, const strCell* p, const strCell* n, float t, int compType);

/** The remembered values of the interval dialog. */
struct strIntervalDialogState {
    int first = 0, last = 0, interval = 0;
    /** Presets from a timeline selection: the frames clamped to 0..n-1 and the first
     *  frame's own interval. */
    void PresetFromSelection(const cAnimeData& project, int f0, int f1);
};

/** Sets the interval (0..255) of every existing frame from first to last (exchanged
 *  when reversed). Records no step of its own. Returns the number of frames changed. */
int SetIntervals(cAnimeData& project, int first, int last, int interval, iStatusSink& status);
