#pragma once
// A play run on a virtual clock without sound: the player's own rules, recorded
// as a trace so that playback order, ranges, loops and effect firing can be
// checked from outside.

#include <string>
#include <vector>

class cAnimeData;

struct strPlayTraceRequest {
    int from = 0;                       // start frame (as the editor's current frame)
    unsigned options = 0;               // play option bits (PlayBit)
    int rangeStart = -1, rangeEnd = -1; // the play range; ignored with PF_WHOLE
    int playRate = 0;                   // PlayRate setting index
    long maxTicks = 10000;              // the run ends after this many ticks
};

/** Plays the project through the play command on a virtual clock and returns the
 *  trace: "0 <frame>" for the frame shown when playback starts, then for every
 *  tick "<tick> fire <effect index>" for each effect fired, "<tick> <frame>" for
 *  the frame shown, and "<tick> stop" when playback has ended. */
std::vector<std::string> RunPlayTrace(cAnimeData& project, const strPlayTraceRequest& request);
