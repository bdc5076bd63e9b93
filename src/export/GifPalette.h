#pragma once
// Palette building of the GIF writer: the mark-up pass, colour counting, colour
// reduction and the finishing of colour tables.

#include <cstdint>
#include <vector>

#include "export/GifQuantize.h"

class CGIFLocal;

namespace gifpal {

/** Working-buffer value of a transparent pixel; opaque pixels are 0x00RRGGBB. */
constexpr uint32_t kTransparent = 0xFF000000;

/** Small hash map from working-buffer values to table positions (at most 512 keys). */
class cColorIndex {
public:
    cColorIndex() { Clear(); }
    void Clear();
    /** Position of `value`, or −1. */
    int Find(uint32_t value) const;
    /** Adds `value` at `position` unless present; returns its position. */
    int Insert(uint32_t value, int position);
    int Size() const { return size_; }

private:
    static constexpr int kSlots = 1024;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF; // never a buffer value
    static int SlotOf(uint32_t v) { return static_cast<int>((v * 2654435761u) >> 22); }
    uint32_t keys_[kSlots];
    int16_t values_[kSlots];
    int size_ = 0;
};

/** Fills the working buffer from the frame's image and mask: 0x00RRGGBB per opaque
 *  pixel, kTransparent per transparent one. */
void MarkUp(const CGIFLocal& frame, std::vector<uint32_t>& work);

/** The distinct values of `work` in first-seen order; false (list incomplete) when
 *  there are more than 256. */
bool CollectColors(const std::vector<uint32_t>& work, std::vector<uint32_t>& list);

/** Reduces a frame of more than 256 colours: flattens a 32-bit image onto white,
 *  quantises it and rewrites the working buffer. Standard quality asks the
 *  quantiser for 254 colours when any pixel is transparent (else 256); high quality
 *  for 255 (else 256). */
bool ReduceColors(const CGIFLocal& frame, std::vector<uint32_t>& work, eGifQuality quality);

/** Turns a colour list (working-buffer values) into a finished table: the marker is
 *  replaced by a colour the list lacks, entries are sorted by luminance, adjacent
 *  duplicates dropped and the count rounded up to even. `positions` receives each
 *  listed value's final position; returns the transparent index (−1 when the list
 *  has no marker). */
int FinishTable(const std::vector<uint32_t>& list, std::vector<uint32_t>& table, cColorIndex& positions);

} // namespace gifpal
