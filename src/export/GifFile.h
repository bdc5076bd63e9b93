#pragma once
// CGIFFile: the program's own GIF container, a list of CGIFLocal frames plus the
// file-level settings. Colour reduction and palette building are done here; giflib
// only writes and reads the block syntax and the LZW data.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export/GifQuantize.h"
#include "image/Bmp.h"

/** One frame: a 32- or 24-bit image, an optional 1-bit mask (white = transparent),
 *  its timing and disposal, and (as `load` read them) its colour table and
 *  transparent index. */
class CGIFLocal {
public:
    cBMP image;
    cBMP mask;        // empty: no mask
    int delay = 0;    // hundredths of a second
    int disposal = 0; // 0-7; 2 = restore to background
    bool interlace = false;
    int colorCount = 0;               // entries of colorTable in use
    std::vector<uint32_t> colorTable; // up to 256 entries, 0x00RRGGBB (bytes B, G, R, 0)
    int transparentIndex = -1;        // -1: none

    /** Where the frame lies on the logical screen (read back by `load`; `save` writes
     *  every frame cropped to its opaque pixels instead). */
    int left = 0, top = 0;
};

class CGIFFile {
public:
    /** Value of `save`'s background argument meaning "no background colour". */
    static constexpr uint32_t kNoBackground = 0xFFFFFFFF;

    CGIFFile();
    ~CGIFFile();
    CGIFFile(const CGIFFile&) = delete;
    CGIFFile& operator=(const CGIFFile&) = delete;

    /** Appends a frame; the list owns it. */
    void AddFrame(std::unique_ptr<CGIFLocal> frame);
    CGIFLocal* FrameAt(int i) const;
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    void Clear();

    /** Writes every frame as one GIF (cGifEncoder). A background below 0x1000000
     *  (0xRRGGBB) is the screen's background colour. The file is replaced only when
     *  everything was written. False on failure (no frames, a frame without image, a
     *  giflib error). */
    bool Save(const std::filesystem::path& path, uint32_t background);
    /** The bytes `save` would write. */
    bool Encode(uint32_t background, std::vector<uint8_t>& out);

    /** Reads a GIF: every frame becomes a 32-bit image of the logical screen size,
     *  composed as a viewer shows it (disposal honoured; pixels nothing painted are
     *  the background colour with alpha 0). False on a damaged or oversized file. */
    bool Load(const std::filesystem::path& path);
    bool LoadBytes(const uint8_t* data, size_t size);

    // File-level settings.
    int screenWidth = 0, screenHeight = 0;
    uint32_t backgroundColor = 0; // 0xRRGGBB
    bool hasBackground = false;
    bool useGlobalTable = false;
    int globalCount = 0;
    std::vector<uint32_t> globalTable; // 0x00RRGGBB
    bool netscape = false;
    int loopCount = 0; // 0 = forever
    uint32_t bufferSize = 0;
    std::string comment;
    eGifQuality quality = eGifQuality::Standard; // how `save` reduces rich frames

private:
    std::vector<std::unique_ptr<CGIFLocal>> frames_;
};
