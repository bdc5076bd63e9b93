// Thousands of random editing operations of every kind, with undo and redo
// interleaved and save/load round trips between segments: the invariants hold
// throughout, and undoing a segment restores its start.
#include "edit/BatchEdit.h"
#include "edit/CanvasClip.h"
#include "edit/FixPicture.h"
#include "edit/FrameOps.h"
#include "edit/HistoryCommands.h"
#include "edit/Interpolate.h"
#include "edit/ListClip.h"
#include "edit/RestoreHistory.h"
#include "edit/Spline.h"
#include "edit/TimelineClip.h"
#include "model/AnimeData.h"
#include "model/Invariants.h"
#include "platform/Clipboard.h"
#include "platform/Feedback.h"
#include "project/AnimeFile.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

struct QuietMessages : iMessageSink {
    eAskAnswer Ask(const std::string&, const std::string&, eAskButtons, eAskIcon) override { return ANSWER_OK; }
};

class LongRun {
public:
    explicit LongRun(unsigned seed) : rng(seed) {}

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    int Frames() const { return p->GetValue(AI_FRAMES); }
    int Frame() { return Pick(0, std::max(0, Frames() - 1)); }
    int Slot() { return Pick(0, p->CellCount() - 1); }
    std::vector<int> SomeSlots()
    {
        std::vector<int> v;
        for (int k = 0; k < p->CellCount(); ++k)
            if (Pick(0, 2) == 0)
                v.push_back(k);
        return v;
    }
    std::vector<uint8_t> Selection()
    {
        std::vector<uint8_t> s(static_cast<size_t>(p->CellCount()));
        for (auto& b : s)
            b = uint8_t(Pick(0, 2) == 0 ? kCellSelected : 0);
        return s;
    }
    strGridBlock Block()
    {
        strGridBlock b;
        b.f0 = Frame();
        b.f1 = std::min(Frames() - 1, b.f0 + Pick(0, 3));
        b.k0 = Slot();
        b.k1 = std::min(p->CellCount() - 1, b.k0 + Pick(0, 3));
        return b;
    }
    std::vector<bool> Ticks(int n)
    {
        std::vector<bool> t(static_cast<size_t>(n));
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = Pick(0, 1) == 1;
        return t;
    }

    // One recorded editing operation, pictures and effects included.
    void RecordedOperation()
    {
        const int row = Pick(0, 6);
        switch (Pick(0, 30)) {
        case 0: {
            strCell c = strCell::New();
            for (int k = 0; k < CP_COUNT; ++k)
                if (Pick(0, 2) == 0)
                    c.Set(k, Pick(-2000, 2000));
            p->BeginRecord();
            p->SetCell(Frame(), Slot(), &c);
            p->EndRecord(true);
            break;
        }
        case 1: current = NextFrame(*p, current, true, status, messages); break;
        case 2: current = PreviousFrame(*p, current, messages); break;
        case 3: InsertFrame(*p, current, status); break;
        case 4: DeleteFrame(*p, current, status); break;
        case 5: ClearFrame(*p, current, status); break;
        case 6: CopyFromPrevious(*p, current, status, messages); break;
        case 7: CopyFromNext(*p, current, status, messages); break;
        case 8: InterpolateFromNeighbours(*p, current, 0, status, messages); break;
        case 9: InterpolateSelected(*p, current, SomeSlots(), 0, status); break;
        case 10: {
            const strGridBlock b = Block();
            InterpolateBlock(*p, b.f0, b.f1, b.k0, b.k1, 0);
            break;
        }
        case 11: {
            strFrameInterpolationState s;
            s.Prepare(*p);
            s.first = Frame();
            s.last = Frame();
            s.method = Pick(0, 2);
            s.cellTicks = Ticks(p->CellCount());
            s.paramTicks = Ticks(CP_COUNT);
            RunFrameInterpolation(*p, s, status);
            break;
        }
        case 12: {
            strBatchEditState s;
            s.Prepare(*p);
            s.value = Pick(-9999, 9999);
            s.formula = Pick(0, 2);
            s.frameTicks = Ticks(Frames());
            s.cellTicks = Ticks(p->CellCount());
            s.paramTicks = Ticks(CP_COUNT);
            RunBatchEdit(*p, s, status);
            break;
        }
        case 13: {
            const int f0 = Frame();
            const int count = Pick(0, std::max(0, Frames() - f0 - 1));
            ApplySpline(*p, f0, Slot(), count, {float(Pick(-300, 300)), float(Pick(-300, 300))},
                        {float(Pick(-300, 300)), float(Pick(-300, 300))},
                        {float(Pick(-300, 300)), float(Pick(-300, 300))}, Pick(0, 1) * 4, status);
            break;
        }
        case 14: ApplyFixPicture(*p, Slot(), Pick(0, 5)); break;
        case 15: {
            strFixPictureTable t;
            t.Load(*p);
            t.SetRows(SomeSlots(), Pick(0, 5));
            ApplyFixPictureTable(*p, t);
            break;
        }
        case 16: CanvasCopy(*p, current, Selection(), status); break;
        case 17: CanvasCut(*p, current, Selection(), status); break;
        case 18: {
            std::vector<uint8_t> sel = Selection();
            strPointI mouse{Pick(-200, 200), Pick(-200, 200)};
            CanvasPaste(*p, current, Slot(), sel, Pick(0, 1) ? &mouse : nullptr, status);
            break;
        }
        case 19: {
            const int area = std::vector<int>{TA_ROWS, TA_FRAMES, TA_CELLS}[size_t(Pick(0, 2))];
            const strGridBlock b = Block();
            const int kind = Pick(0, 2);
            if (kind == 0)
                TimelineCut(*p, area, b);
            else if (kind == 1)
                TimelineCopy(*p, area, b);
            else
                TimelineDelete(*p, area, b);
            break;
        }
        case 20: {
            const int area = std::vector<int>{TA_ROWS, TA_FRAMES, TA_CELLS}[size_t(Pick(0, 2))];
            strGridBlock pasted;
            TimelinePaste(*p, area, Frame(), Slot(), &pasted);
            break;
        }
        case 21: current = Pick(0, 1) ? FirstFrame(*p, current, messages) : LastFrame(*p, current, messages); break;
        // The list window's edits and the interval dialog.
        case 22: PictureCopy(*p, row, status); break;
        case 23: PictureCut(*p, row, status); break;
        case 24: PicturePaste(*p, row, status); break;
        case 25: PictureDelete(*p, row, status); break;
        case 26: EffectCopy(*p, row, status); break;
        case 27: EffectCut(*p, row, status); break;
        case 28: EffectPaste(*p, row, status); break;
        case 29: EffectDelete(*p, row, status); break;
        case 30: SetIntervals(*p, Frame(), Frame(), Pick(0, 255), status); break;
        }
        current = ClampCurrentFrame(*p, current);
    }

    void Seed()
    {
        p = std::make_unique<cAnimeData>();
        strProjectDefaults defaults;
        defaults.cellCount = Pick(1, 12);
        p->SetDefaults(defaults);
        p->SetChangeSink(&history);
        p->NewProject("");
        p->SetValue(AI_EDIT_FORMAT, Pick(0, 4));
        p->SetValue(AI_FIX_PICTURE_PER_CELL, Pick(0, 1));
        p->InsertFrames(1, Pick(0, 12));
        for (int i = 0; i < 4; ++i) {
            strPicture pic;
            pic.divX = uint16_t(Pick(1, 8));
            pic.path = "pic" + std::to_string(i) + ".png";
            p->SetPicture(pic, i);
            strEffect e;
            e.frame = uint16_t(Pick(0, 10));
            e.note = "note";
            e.flashDuration = uint16_t(Pick(0, 3));
            p->ValidateEffect(e);
            p->InsertEffect(e, nullptr);
        }
        current = 0;
    }

    // Saves in a random format and continues with what loads back.
    void RoundTrip()
    {
        ANIME::cAnimeFile_Device device;
        const int format = Pick(0, 1);
        std::string bytes;
        ASSERT_EQ(device.SaveBytes(*p, format, bytes), ANIME::FR_OK);
        auto loaded = std::make_unique<cAnimeData>();
        ASSERT_EQ(device.LoadBytes(bytes, *loaded), ANIME::FR_OK);
        p->SetValue(AI_SAVE_FORMAT, format);
        loaded->SetValue(AI_SAVE_FORMAT, format);
        for (int t : {AT_WORK_FOLDER, AT_FILE_NAME}) {
            loaded->SetText(t, p->Text(t));
        }
        // The files keep the fixed picture table only while it is in use.
        auto comparable = [&](const cAnimeData& project) {
            std::string text = ModelText(project);
            if (!p->GetValue(AI_FIX_PICTURE_PER_CELL)) {
                const size_t at = text.find("fix:");
                text.erase(at, text.find('\n', at) - at);
            }
            return text;
        };
        ASSERT_EQ(comparable(*loaded), comparable(*p)) << "format " << format;
        p = std::move(loaded);
        p->SetChangeSink(&history);
        history.SetCapacity(-1);
        current = ClampCurrentFrame(*p, current);
    }

    std::mt19937 rng;
    cRestoreHistory history;
    std::unique_ptr<cAnimeData> p;
    int current = 0;
    cStatusRecorder status;
    QuietMessages messages;
};

TEST(LongRunEdit, RandomOperationsKeepInvariantsAndUndoToSegmentStart)
{
    platform::MemoryClipboard clipboard;
    platform::SetSystemClipboard(&clipboard);
    int operations = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        LongRun run(seed);
        run.history.SetCapacity(32);
        run.Seed();
        for (int segment = 0; segment < 12; ++segment) {
            run.history.SetCapacity(-1);
            const std::string start = ModelText(*run.p);
            for (int i = 0; i < 60 && run.history.UndoCount() < 30; ++i, ++operations) {
                const int what = run.Pick(0, 9);
                if (what == 0)
                    UndoCommand(*run.p, run.history, run.status);
                else if (what == 1)
                    RedoCommand(*run.p, run.history, run.status);
                else
                    run.RecordedOperation();
                run.current = ClampCurrentFrame(*run.p, run.current);
                const std::string violation = FindInvariantViolation(*run.p);
                ASSERT_EQ(violation, "") << "seed " << seed << " segment " << segment << " op " << i;
                ASSERT_GE(run.p->GetValue(AI_FRAMES), 1);
            }
            const std::string end = ModelText(*run.p);
            const int depth = run.history.UndoCount();
            while (UndoCommand(*run.p, run.history, run.status)) {
            }
            ASSERT_EQ(ModelText(*run.p), start) << "seed " << seed << " segment " << segment;
            for (int i = 0; i < depth; ++i)
                ASSERT_TRUE(RedoCommand(*run.p, run.history, run.status));
            ASSERT_EQ(ModelText(*run.p), end) << "seed " << seed << " segment " << segment;
            if (segment % 3 == 2)
                run.RoundTrip();
        }
    }
    platform::SetSystemClipboard(nullptr);
    EXPECT_GT(operations, 20000);
}

} // namespace
