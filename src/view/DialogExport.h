#pragma once
// The image export dialogs' rules without a window: the job flags of their check
// boxes, the crop rectangle of the 左上 and 幅 fields, and the proposed file name.

#include <cstdint>
#include <string>

class cAnimeData;
struct strCaptureRect;

/** What the PNG and GIF dialogs hold. */
struct strExportForm {
    // shared: 左上, 幅 (a negative width or height crops from the other side), background
    int left = -160, top = -120, width = 320, height = 240;
    uint32_t background = 0x000000; // 0xRRGGBB
    // PNG
    bool interval = false; // インターバル有効
    bool alpha = false;    // アルファ値を有効 / 透過色にする
    bool fixRows = false;  // 縦 固定 (else 横 固定)
    bool orderN = false;   // И (else Ｚ)
    bool combine = false;  // １枚に結合
    int count = 5;         // columns or rows of the sheet
    // GIF
    int fps = 60;               // 1秒 N
    bool sixHundredths = false; // 6/100s制限
    bool flash = false;         // フラッシュ
    bool target = false;        // 対象画像
    int scalePercent = 100;     // 画像倍率 %
    bool highQuality = false;   // 画質: 高画質 (else 標準)

    strCaptureRect Rect() const;
    /** Fills 左上 and 幅 from a rectangle. */
    void SetRect(const strCaptureRect& rect);
    int PngFlags() const;
    int GifFlags() const;
};

/** The project's file name with its extension replaced by ext (".png", ".gif"). */
std::string ProposedExportName(const cAnimeData& project, const std::string& ext);
