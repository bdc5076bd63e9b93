#pragma once
// Shared set-up of the editing tests: default settings, a fresh history, an
// in-memory clipboard, recorders for status texts and message boxes, and
// helpers that build projects with cells.

#include "edit/RestoreHistory.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/Feedback.h"
#include "project/Settings.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

class cMessageRecorder : public iMessageSink {
public:
    eAskAnswer Ask(const std::string& text, const std::string&, eAskButtons, eAskIcon) override
    {
        texts.push_back(text);
        return ANSWER_OK;
    }
    std::vector<std::string> texts;
};

inline bool IsTimeFailure(const std::string& text)
{
    return std::regex_match(text, std::regex(R"(< ! > \[\d+:\d+\] : 処理に失敗)"));
}

inline strCell CellXY(int x, int y = 0)
{
    strCell c = strCell::New();
    c.x = int16_t(x);
    c.y = int16_t(y);
    return c;
}

/** A cell with every parameter random inside its valid range. */
inline strCell RandomCell(std::mt19937& rng)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    strCell c;
    c.picture = uint8_t(pick(0, 255));
    c.pattern = uint16_t(pick(1, 65535));
    c.blend = uint8_t(pick(0, 4));
    c.x = int16_t(pick(-1024, 1024));
    c.y = int16_t(pick(-1024, 1024));
    c.scaleX = int16_t(pick(-1000, 1000));
    c.scaleY = int16_t(pick(-1000, 1000));
    c.angle = int16_t(pick(-3600, 3600));
    c.opacity = uint8_t(pick(0, 255));
    c.red = uint8_t(pick(0, 200));
    c.green = uint8_t(pick(0, 200));
    c.blue = uint8_t(pick(0, 200));
    c.saturation = uint8_t(pick(0, 200));
    return c;
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        history.SetCapacity(32);
        p.SetChangeSink(&history);
        platform::SetSystemClipboard(&clipboard);
        p.NewProject("");
    }
    void TearDown() override { platform::SetSystemClipboard(nullptr); }

    /** Makes the project hold `frames` frames of `cells` cell numbers, without history. */
    void Frames(int frames, int cells = 16)
    {
        p.Reset(-1, cells, -1, -1);
        p.InsertFrames(0, frames);
        history.SetCapacity(-1);
    }
    /** Stores a cell outside any undo step. */
    void Store(int f, int s, const strCell& c) { ASSERT_TRUE(p.SetCell(f, s, &c)); }
    /** Fills frames with random cells (about half the slots) and random intervals;
     *  with fixed pictures on, each cell number gets a random fixed picture first. */
    void Randomise(std::mt19937& rng, int frames, int cells, bool fixPictures = false)
    {
        Frames(frames, cells);
        p.SetValue(AI_FIX_PICTURE_PER_CELL, fixPictures);
        for (int k = 0; fixPictures && k < cells; ++k)
            p.SetFixPicture(k, int(rng() % 4));
        for (int f = 0; f < frames; ++f) {
            p.SetInterval(f, std::uniform_int_distribution<int>(0, 3)(rng));
            for (int s = 0; s < cells; ++s)
                if (rng() % 2) {
                    const strCell c = RandomCell(rng);
                    p.SetCell(f, s, &c);
                }
        }
    }
    int X(int f, int s) const { return p.GetCell(f, s) ? p.GetCell(f, s)->x : -9999; }

    cRestoreHistory history;
    cAnimeData p;
    cStatusRecorder status;
    cMessageRecorder messages;
    platform::MemoryClipboard clipboard;
    cSettings settings; // the editor's options as a test sets them
};
