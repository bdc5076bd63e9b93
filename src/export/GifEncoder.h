#pragma once
// cGifEncoder: writes an animated GIF from frames handed over one at a time, so a
// long export never holds more than a few images.
//
// The global colour table comes first in the file but depends on every frame's
// colours, so encoding takes two passes over the frames, in order:
//   1. Analyse(frame) for every frame: mark-up, colour reduction, colour list. The
//      frame's pixels are kept as compressed indices while the cache budget lasts.
//   2. Begin(sink), then Write(i, frame) for every frame, then End(). A frame that was
//      not kept (NeedsImage) must be handed over again, identical to pass 1; it is
//      reduced again, which gives the same colours.
// The bytes do not depend on the budget.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/GifPalette.h"
#include "export/GifQuantize.h"

class CGIFLocal;
struct GifFileType;

class cGifEncoder {
public:
    /** Receives the file's bytes in order; false stops the encoder. */
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;

    /** Compressed frames kept by default (bytes). */
    static constexpr size_t kDefaultCacheBudget = 64u << 20;

    cGifEncoder();
    ~cGifEncoder();
    cGifEncoder(const cGifEncoder&) = delete;
    cGifEncoder& operator=(const cGifEncoder&) = delete;

    /** Starts over. */
    void Reset(eGifQuality quality = eGifQuality::Standard, size_t cacheBudget = kDefaultCacheBudget);

    /** Pass 1. False when the frame has no image or cannot be reduced. */
    bool Analyse(const CGIFLocal& frame);
    int FrameCount() const { return static_cast<int>(plans_.size()); }

    /** Ends pass 1 and writes the header: logical screen with the global table (a
     *  background below 0x1000000 is the screen's background colour), NETSCAPE2.0
     *  block when there is more than one frame, comment. */
    bool Begin(Sink sink, uint32_t background, int loopCount = 0, uint32_t bufferSize = 0,
               const std::string& comment = std::string());
    /** Frame i was not kept: write needs its image again. */
    bool NeedsImage(int i) const;
    /** Writes frame i (in order); `frame` may be null unless NeedsImage(i). */
    bool Write(int i, const CGIFLocal* frame);
    /** Writes the trailer. */
    bool End();

    /** The finished global table (0x00RRGGBB), valid after begin. */
    const std::vector<uint32_t>& GlobalTable() const { return globalTable_; }

private:
    /** What pass 1 keeps of a frame. */
    struct strPlan {
        std::vector<uint32_t> list; // colours in first-seen order, the transparent marker included
        bool global = false;        // written with the global table
        bool transparent = false;   // the list holds the marker
        int delay = 0, disposal = 0;
        bool interlace = false;
        int box[4] = {0, 0, 1, 1};   // left, top, width, height of the opaque pixels
        std::vector<uint8_t> packed; // compressed list positions of the box's pixels; empty: not kept
    };
    /** Mark-up and reduction of one frame: its colour list, the list position of
     *  every pixel inside the box of its opaque pixels, and that box. */
    bool Reduce(const CGIFLocal& frame, std::vector<uint32_t>& list, std::vector<uint8_t>& indices, int box[4]);
    bool WriteImage(const strPlan& plan, const std::vector<uint8_t>& indices);
    static int WriteBytes(GifFileType* gif, const uint8_t* data, int length);
    void Close();

    eGifQuality quality_ = eGifQuality::Standard;
    size_t budget_ = kDefaultCacheBudget, cached_ = 0;
    std::vector<strPlan> plans_;
    int screenW_ = 0, screenH_ = 0;
    std::vector<uint32_t> globalTable_;
    gifpal::cColorIndex globalPositions_;
    int globalTransparent_ = -1;
    GifFileType* gif_ = nullptr;
    Sink sink_;
    int next_ = 0;
    bool failed_ = false;
    // Scratch buffers reused from frame to frame.
    std::vector<uint32_t> work_, list_;
    std::vector<uint8_t> indices_, line_;
};
