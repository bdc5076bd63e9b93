#pragma once
// cDlgHost: the main window's side windows and record dialogs — the cell window,
// the effect, picture and interval dialogs, the frame interpolation, batch edit,
// and fixed-picture dialogs, the list and palette windows and the image
// export dialogs. It registers them in the main window's dialog set, runs their
// commands, and keeps their placements in the settings.

#include "model/Records.h"
#include "platform/CommandIds.h"

#include <QObject>
#include <QPoint>

class cAnimeData;
class cDlg_AtOnce;
class cDlg_Cell;
class cDlg_FixCell;
class cDlg_FixCell_S;
class cDlg_FrameComp;
class cDlg_Output_Gif;
class cDlg_Output_Graph;
class cDlg_Palette;
class cDlg_SetEffect;
class cDlg_SetInterval;
class cDlg_SetPicture;
class cDlg_SourceList;
class cMainWnd;
class iFileChooser;
class iMessageSink;

class cDlgHost : public QObject {
    Q_OBJECT
public:
    cDlgHost(cMainWnd* main, iMessageSink& messages, iFileChooser& chooser);
    ~cDlgHost() override;

    /** Runs a command of these windows; false when it is not theirs (the list
     *  window's table commands count only while one of its tables has the focus). */
    bool OnCommand(int id);

    /** The cell window on a cell of a frame. */
    void OpenCellDialog(int frame, int cellNo);
    /** The working copy the cell window shows for a cell, for the canvas's display. */
    bool CellPreview(int frame, int cellNo, strCell& out) const;
    /** The fixed-picture dialog of one cell number. */
    void OpenFixCellS(int cellNo);

    /** The project was replaced: tables, palette tabs and the cell window follow. */
    void ProjectReplaced();
    /** Stores the windows' placements and visibility in the settings. */
    void StorePlacements();
    bool ListVisible() const;
    bool PaletteVisible() const;

    cDlg_Cell* CellDialog() const { return cell_; }
    cDlg_SetEffect* EffectDialog() const { return effect_; }
    cDlg_SetPicture* PictureDialog() const { return picture_; }
    cDlg_SetInterval* IntervalDialog() const { return interval_; }
    cDlg_FrameComp* FrameCompDialog() const { return frameComp_; }
    cDlg_AtOnce* AtOnceDialog() const { return atOnce_; }
    cDlg_FixCell* FixCellDialog() const { return fixCell_; }
    cDlg_FixCell_S* FixCellSDialog() const { return fixCellS_; }
    cDlg_SourceList* ListWindow() const { return list_; }
    cDlg_Palette* PaletteWindow() const { return palette_; }
    cDlg_Output_Graph* PngDialog() const { return png_; }
    cDlg_Output_Gif* GifDialog() const { return gif_; }

    /** The palette's drag as it reaches the canvas (global cursor position). */
    void PaletteDrag(int phase, QPoint global);

private:
    cAnimeData& Project() const;
    int FocusCell() const;
    void ToggleWindow(unsigned key, bool& flag);
    void PictureChanged(int slot);

    cMainWnd* main_;
    iMessageSink& messages_;
    cDlg_Cell* cell_;
    cDlg_SetEffect* effect_;
    cDlg_SetPicture* picture_;
    cDlg_SetInterval* interval_;
    cDlg_FrameComp* frameComp_;
    cDlg_AtOnce* atOnce_;
    cDlg_FixCell* fixCell_;
    cDlg_FixCell_S* fixCellS_;
    cDlg_SourceList* list_;
    cDlg_Palette* palette_;
    cDlg_Output_Graph* png_;
    cDlg_Output_Gif* gif_;
    bool started_ = false; // the side windows were shown after start-up
};
