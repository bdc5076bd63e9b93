#pragma once
// Cell interpolation across frames: the selected cells of the current frame from
// their neighbours, a timeline block from the nearest keys around it, and the
// frame interpolation dialog's three methods over a range of frames.

#include <cstdint>
#include <vector>

class cAnimeData;
class iStatusSink;

/** Parameter bits of a mask: 1 << parameter index. */
inline constexpr uint32_t kAllParams = 0x1FFF;

/** Grows or shrinks a tick list to n entries; new entries are unticked. */
void ResizeTicks(std::vector<bool>& ticks, int n);
/** The parameter mask of 13 parameter ticks. */
uint32_t ParamMask(const std::vector<bool>& paramTicks);

/** Interpolates each selected cell number that holds a cell in frame f halfway
 *  between frames f - 1 and f + 1 (one step). Reports "[%d] : 前後F で補完" when at
 *  least one cell was stored. compType as for InterpolateCell. Returns the number stored. */
int InterpolateSelected(cAnimeData& project, int f, const std::vector<int>& cellNumbers, int compType,
                        iStatusSink& status);

/** The timeline's block interpolation: frames f0..f1 of cell numbers k0..k1 from the
 *  nearest keys before f0 and after f1 (one step, no status). Returns the number stored. */
int InterpolateBlock(cAnimeData& project, int f0, int f1, int k0, int k1, int compType);

/** Interpolates slot s strictly between frames a and b from the cells at a and b, on
 *  the parameters of mask. Missing cells in between receive a copy of a's cell when
 *  fill is set and are skipped otherwise. Returns the number of cells stored. */
int InterpolateSpan(cAnimeData& project, int s, int a, int b, uint32_t mask, bool fill);

enum eFrameInterpolationMethod { FIM_NORMAL = 0, FIM_KEYS = 1, FIM_USED_ONLY = 2 };

/** The frame interpolation dialog's remembered state. */
struct strFrameInterpolationState {
    int first = 0, last = 0;
    int method = FIM_NORMAL;
    std::vector<bool> cellTicks;  // one per cell number
    std::vector<bool> paramTicks; // one per parameter

    /** Resizes the tick lists to the project's cell numbers and the 13 parameters. */
    void Prepare(const cAnimeData& project);
    /** Prepare, then preset from a timeline selection: its frames, and its cell
     *  numbers ticked in addition. */
    void PresetFromSelection(const cAnimeData& project, int f0, int f1, int k0, int k1);
};

/** Runs the frame interpolation of the dialog state (one step) and reports it.
 *  Returns the number of cells stored. */
int RunFrameInterpolation(cAnimeData& project, const strFrameInterpolationState& state, iStatusSink& status);
