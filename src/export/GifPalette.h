#pragma once
// Palette building of the GIF writer: the mark-up pass, colour counting, colour
// reduction and the finishing of colour tables.

#include <cstdint>
#include <vector>

class CGIFLocal;

namespace gifpal {

/** Working-buffer value of a transparent pixel; opaque pixels are 0x00RRGGBB. */
constexpr uint32_t kTransparent = 0xFF000000;

/** Small hash map from working-buffer values to table positions (at most 512 keys). */
class cColorIndex {
public:
    cColorIndex() { clear(); }
    void clear();
    /** Position of `value`, or −1. */
    int find(uint32_t value) const;
    /** Adds `value` at `position` unless present; returns its position. */
    int insert(uint32_t value, int position);
    int size() const { return m_size; }

private:
    static constexpr int kSlots = 1024;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;  // never a buffer value
    static int slotOf(uint32_t v) { return static_cast<int>((v * 2654435761u) >> 22); }
    uint32_t m_keys[kSlots];
    int16_t m_values[kSlots];
    int m_size = 0;
};

/** Fills frame.work from its image and mask. */
void markUp(CGIFLocal& frame);

/** The distinct values of `work` in first-seen order; false (list incomplete) when
 *  there are more than 256. */
bool collectColors(const std::vector<uint32_t>& work, std::vector<uint32_t>& list);

/** Reduces a frame of more than 256 colours: flattens a 32-bit image onto white,
 *  quantises to 254 colours when any pixel is transparent (else 256) and rewrites
 *  the working buffer. */
bool reduceColors(CGIFLocal& frame);

/** Turns a colour list (working-buffer values) into a finished table: the marker is
 *  replaced by a colour the list lacks, entries are sorted by luminance, adjacent
 *  duplicates dropped and the count rounded up to even. `positions` receives each
 *  listed value's final position; returns the transparent index (−1 when the list
 *  has no marker). */
int finishTable(const std::vector<uint32_t>& list, std::vector<uint32_t>& table, cColorIndex& positions);

}  // namespace gifpal
