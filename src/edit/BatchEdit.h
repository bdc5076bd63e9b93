#pragma once
// Batch edit: one formula with one value applied to chosen parameters of the
// cells in chosen frames and cell numbers.

#include <vector>

class cAnimeData;
class iStatusSink;

enum eBatchFormula { BF_ASSIGN = 0, BF_ADD = 1, BF_PERCENT = 2 };

/** The batch edit dialog's remembered state. */
struct strBatchEditState {
    int value = 0; // -9999..9999
    int formula = BF_ASSIGN;
    std::vector<bool> frameTicks; // one per frame
    std::vector<bool> cellTicks;  // one per cell number
    std::vector<bool> paramTicks; // one per parameter

    /** Resizes the tick lists to the project's frames, cell numbers and the 13 parameters. */
    void Prepare(const cAnimeData& project);
    /** Prepare, then tick the frames and cell numbers of a timeline selection in addition. */
    void PresetFromSelection(const cAnimeData& project, int f0, int f1, int k0, int k1);
};

/** One parameter value p after the formula with value v, before it is stored in the
 *  parameter's width: p = v, p + v or p * v / 100 (truncating); other formulas assign. */
int ApplyFormula(int formula, int p, int v);

/** Runs the batch edit (one step) and reports it. Nothing happens without a ticked cell
 *  number. Returns the number of cells stored. */
int RunBatchEdit(cAnimeData& project, const strBatchEditState& state, iStatusSink& status);
