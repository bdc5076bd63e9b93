#pragma once
// The internal clipboard: contents that cut, copy and paste move through the
// system clipboard under the private format "MEVKO_EDIT", so that two running
// editors can exchange them. A block is `kind` (4 bytes), the length of the
// rest (4 bytes) and the kind's payload, all numbers little-endian.

#include "interchange/ClipStream.h"
#include "model/Records.h"

#include <cstdint>
#include <vector>

inline constexpr const char* kEditClipFormat = "MEVKO_EDIT";

enum eEditClipKind : uint32_t {
    CLIP_PICTURE = 0x40001111,
    CLIP_EFFECT = 0x40002222,
    CLIP_CELLS = 0x40003333,
    CLIP_FRAMES = 0x40004444,
    CLIP_ROWS = 0x40005555,
};

/** Base of the clipboard contents: the byte stream and the kind. */
class cEditClip {
public:
    explicit cEditClip(uint32_t kind) : kind(kind) {}
    virtual ~cEditClip() = default;
    /** Appends the payload to the stream; false when there is nothing to write. */
    virtual bool Serialize() = 0;
    /** Reads the payload from the stream's cursor on; false when its fixed part is
     *  incomplete. Lists and texts are read only as far as the data goes. */
    virtual bool Deserialize() = 0;

    Cclip_stream stream;
    uint32_t kind;
};

/** Writes the content to the clipboard; false when it had nothing to write or the
 *  clipboard refused. */
bool Put(cEditClip& clip);
/** Reads the content when the clipboard holds a block of its kind; false otherwise. */
bool Get(cEditClip& clip);
/** Whether the clipboard holds a block of the kind. */
bool Has(uint32_t kind);

/** One picture record (not owned); Deserialize fills it. */
class cClip_Picture : public cEditClip {
public:
    explicit cClip_Picture(strPicture* picture) : cEditClip(CLIP_PICTURE), picture(picture) {}
    bool Serialize() override;
    bool Deserialize() override;
    strPicture* picture;
};

/** One effect record (not owned); Deserialize fills it. */
class cClip_Effect : public cEditClip {
public:
    explicit cClip_Effect(strEffect* effect) : cEditClip(CLIP_EFFECT), effect(effect) {}
    bool Serialize() override;
    bool Deserialize() override;
    strEffect* effect;
};

/** A block of cells, frames or cell-number rows; offsets are relative to the block's
 *  first frame and first cell number. */
class cClip_Mass : public cEditClip {
public:
    struct strCellEntry {
        uint16_t frame, cellNo;
        strCell cell;
    };
    struct strEmptyEntry {
        uint16_t frame, cellNo;
    };
    struct strFrameEntry {
        uint16_t frame, interval;
    };
    struct strFixEntry {
        uint16_t row, picture;
    };

    explicit cClip_Mass(uint32_t kind) : cEditClip(kind) {}
    /** False also when a list holds more than 65535 entries (its count is 16-bit). */
    bool Serialize() override;
    bool Deserialize() override;
    void ClearLists();
    bool Empty() const { return cells.empty() && empties.empty() && frames.empty() && fixPictures.empty(); }

    std::vector<strCellEntry> cells;
    std::vector<strEmptyEntry> empties;
    std::vector<strFrameEntry> frames;
    std::vector<strFixEntry> fixPictures;
};

/** The 22-byte cell image of the project files and the clipboard. */
void WriteCellImage(Cclip_stream& out, const strCell& cell);
/** Reads a cell image; false (cell untouched) when fewer than 22 bytes are left. */
bool ReadCellImage(Cclip_stream& in, strCell& cell);
