// The canvas in drop mode: a pattern dragged from the palette is shown under the
// cursor, and the cell the drop would set is highlighted.

#include "ui/MainEditWnd.h"

#include "model/AnimeData.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgPalette.h"
#include "view/PaletteView.h"

#include <algorithm>
#include <cmath>

namespace {

// The preview is translucent so that the cell it would re-skin shows through.
constexpr int kDropPreviewOpacity = 176;

} // namespace

void cMainEditWnd::OnDragNotify(int message, int code, QPoint point)
{
    if (message != kPaletteDragMessage)
        return;
    const bool wasOver = drop_.over;
    drop_.over = false;
    drop_.hit = drop_.slot = -1;
    if ((code == PD_BEGIN || code == PD_MOVE) && project_ && isVisible() && rect().contains(point)) {
        SyncView();
        drop_.over = true;
        drop_.point = {float(point.x()), float(point.y())};
        drop_.picture = 0;
        drop_.pattern = 1;
        if (dropPattern)
            dropPattern(drop_.picture, drop_.pattern);
        drop_.hit = edit_.HitTest(drop_.point);
        drop_.slot = PaletteDropSlot(*project_, currentFrame_, drop_.picture, drop_.hit);
    }
    if (drop_.over || wasOver)
        RequestRedraw();
}

strCell cMainEditWnd::DropPreview() const
{
    const strCanvasPoint at = edit_.View().ToAnimation(drop_.point.x, drop_.point.y);
    strCell cell = strCell::New();
    cell.x = int16_t(std::clamp(std::trunc(at.x), -32768.0f, 32767.0f));
    cell.y = int16_t(std::clamp(std::trunc(at.y), -32768.0f, 32767.0f));
    cell.picture = uint8_t(std::clamp(drop_.picture, 0, 255));
    cell.pattern = uint16_t(std::clamp(drop_.pattern, 1, 65535));
    return cell;
}

void cMainEditWnd::DrawDropPreview(cSpriteDrawer& drawer)
{
    if (!drop_.over)
        return;
    strSpriteParam param = drawer.CellParam(DropPreview(), false);
    if (!param.sheet)
        return;
    param.opacity = kDropPreviewOpacity;
    drawer.DrawCell(param);
}
