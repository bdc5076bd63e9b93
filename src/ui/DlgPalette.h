#pragma once
// cDlg_Palette: the palette window "パレット [%02d]". One tab per picture slot, a
// zoom selector and the cPicPaletteWnd surface that shows the picture's patterns;
// a pattern pressed on the surface is dragged onto the canvas.

#include "ui/BaseWnd.h"
#include "ui/DrawBoxWnd.h"
#include "view/PaletteView.h"

#include <QImage>

#include <functional>

class QComboBox;
class QTabBar;
class cAnimeData;

/** The phases of a pattern drag reported to the owner. */
enum ePaletteDrag { PD_BEGIN, PD_MOVE, PD_DROP, PD_CANCEL };

/** The message of the palette's pattern drag sent to the canvas through
 *  cDrawBoxWnd::OnDragNotify; the code is the drag phase (ePaletteDrag). */
constexpr int kPaletteDragMessage = 0x8050;

/** The surface: the picture's patterns at the zoom, the selected one outlined. */
class cPicPaletteWnd : public cDrawBoxWnd {
    Q_OBJECT
public:
    explicit cPicPaletteWnd(QWidget* parent);

    /** Shows a picture (null sheet: the placeholder area with one pattern). */
    void SetPicture(const class cPatternSheet* sheet, bool vertical);
    const strPaletteGeometry& Geometry() const { return geometry_; }
    int Selected() const { return selected_; }
    void SetSelected(int pattern);

    bool Draw(QPainter& painter) override;
    void OnMouse(QMouseEvent* event) override;
    /** Zooms keeping the top-left corner of the view in place. */
    void SetZoom(int index, bool notify, bool redraw) override;
    void OnResize() override;

    /** A drag of the selected pattern: phase and the global cursor position. */
    std::function<void(int phase, QPoint global)> onDrag;

private:
    /** The content follows the patterns, the client size and the zoom. */
    void FitContent();

    strPaletteGeometry geometry_;
    QImage image_;
    int selected_ = 1;
    bool dragging_ = false;
};

class cDlg_Palette : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_Palette(QWidget* owner, std::function<cAnimeData&()> project);

    /** The project changed as a whole: rebuilds the tabs and re-reads the picture. */
    void Rebuild();
    /** Shows a picture slot (selects its tab). */
    void ShowPicture(int slot);
    /** Re-reads the shown picture (its sheet or the VerticalFlag changed). */
    void Relayout();
    int Picture() const { return picture_; }
    int Pattern() const { return surface->Selected(); }

    QTabBar* tabs;        // 1006
    QComboBox* zoomCombo; // 1007
    cPicPaletteWnd* surface;

private:
    std::function<cAnimeData&()> project_;
    int picture_ = 0;
};
