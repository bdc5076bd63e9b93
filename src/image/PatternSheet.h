#pragma once
// A picture cut into a grid of equal patterns, recoloured by its hue and keyed for
// transparency: the decoded image plus the 32-bit sheet texture the compositor
// samples, and two pattern-sized work textures for tone passes.

#include <cstdint>
#include <vector>

#include "image/Bmp.h"

/** Build flags: division by size, and the transparency methods. */
enum : int {
    kSheetDivideBySize = 0x01,
    kSheetKeyIndex0 = 0x02,  // パレット０番
    kSheetKeyTopLeft = 0x04, // 左上１ドット
    kSheetKeyBlack = 0x08,   // 黒
    kSheetKeyAuto = 0x10,    // 自動
};

/** Flags of the transparency method setting (0-4); other values give 0. */
int TransparencyFlags(int transType);

/** Texture rectangle of a pattern, as fractions of the image size. */
struct strPatternUV {
    float u = 0, v = 0, width = 1, height = 1;
    bool valid = false; // false: no texture
};

class cPatternSheet : public cBMP {
public:
    static constexpr int kMaxPatterns = 10000;
    static constexpr uint32_t kNoKeyColor = 0xFF000000;
    static constexpr uint32_t kNoKeyIndex = 0xFFFF;

    /** (Re)divides the image and (re)fills the textures. A negative `a` rebuilds from
     *  the last request. False on failure, with all textures released. */
    bool Build(int a, int b, int flags);
    /** Hue shift, saturation add, value add and an unused fourth value; null = zeros. */
    void SetColorAdjust(const int values[4]);

    bool IsReady() const { return !Empty() && patternCount_ > 0 && !texture_.empty(); }
    bool IsValidPattern(int i) const { return IsReady() && i >= 0 && i < patternCount_; }
    int PatternCount() const { return patternCount_; }

    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    /** Pixel rectangle of pattern i within the picture. */
    Rect PatternRect(int i) const;
    /** Pattern index under a picture point, or −1 outside the grid. */
    int PatternAt(int x, int y) const;
    strPatternUV PatternUV(int i) const;
    /** (patternWidth, patternHeight) and (columns, rows); zeros when not ready. */
    void PatternSize(int& w, int& h) const;
    void GridSize(int& columns, int& rows) const;

    /** Sheet texture: image-sized 0xAARRGGBB texels, rows top first (empty when released). */
    const std::vector<uint32_t>& Texture() const { return texture_; }

    void ReleaseTextures();
    bool Rebuild() { return Build(-1, 0, 0); }

    uint32_t KeyIndex() const { return keyIndex_; }

    /** Identifies what work texture 0 holds, so a repeated tone pass can be skipped;
     *  reset by every build. */
    uint64_t& WorkTag() { return workTag_; }

private:
    void ChooseKey(int flags);
    void FillTexture();

    int patternCount_ = 0;
    std::vector<uint32_t> texture_;
    std::vector<uint32_t> work_[2];
    int reqA_ = 0, reqB_ = 0, reqFlags_ = 0;
    int patW_ = 0, patH_ = 0, cols_ = 0, rows_ = 0;
    int adjust_[4] = {0, 0, 0, 0};
    uint32_t key_ = kNoKeyColor;
    uint32_t keyIndex_ = kNoKeyIndex;
    uint64_t workTag_ = 0;
};
