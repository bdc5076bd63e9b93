#pragma once
// cAnimeData: the one in-memory animation project. Everything reads it through
// the accessors and changes it through the mutators below, which validate
// values, append undo records to the open record group and set `modified`.

#include "model/ProjectDefaults.h"
#include "model/Records.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class cRestoreObj;
class iChangeSink;

/** Item numbers of GetValue / SetValue / GetLimit. */
enum eAnimeItem {
    AI_FRAMES = 1,
    AI_CELLS = 2,
    AI_PICTURES = 3,
    AI_EFFECTS = 4,
    AI_EDIT_FORMAT = 5,
    AI_DIVISION_FORMAT = 6,
    AI_SAVE_FORMAT = 7,
    AI_CENTER_POSITION = 8,
    AI_BASE_INTERVAL = 9,
    AI_TOTAL_INTERVAL = 10,
    AI_FIX_PICTURE_PER_CELL = 11,
};
/** Text item numbers of GetText / SetText. */
enum eAnimeText { AT_WORK_FOLDER = 16, AT_NAME = 17, AT_FILE_NAME = 18, AT_USER_DATA = 19 };

class cAnimeData {
public:
    bool modified = false; // set by every change; cleared after new, load or save
    bool untitled = true;  // never saved under a name

    /** Cell numbers are bytes in every format. */
    static constexpr int kMaxCellCount = 255;

    cAnimeData();
    ~cAnimeData();
    cAnimeData(const cAnimeData&) = delete;
    cAnimeData& operator=(const cAnimeData&) = delete;

    // --- items ---
    int GetValue(int index) const;
    /** Changes of the save format, centre position and the two intervals are recorded. */
    bool SetValue(int index, int value);
    int GetLimit(int index) const;
    /** Copies a text item into out; false when it is empty or the index unknown. */
    bool GetText(int index, std::string& out) const;
    const std::string& Text(int index) const;
    /** Changes of the name and the user data are recorded. */
    bool SetText(int index, const std::string& text);

    int CellCount() const { return cellCount_; }
    int FrameCapacity() const { return frameCapacity_; }
    int PictureCapacity() const { return pictureCapacity_; }
    int EffectCapacity() const { return effectCapacity_; }

    // --- read access ---
    const strFrame* GetFrame(int i) const { return frames_.Get(i); }
    const cPtrArray<strCell>* GetCells(int i) const;
    const strCell* GetCell(int frame, int cellNo) const;
    const strPicture* GetPicture(int i) const { return pictures_.Get(i); }
    const strEffect* GetEffect(int i) const { return effects_.Get(i); }
    /** The fixed picture of a cell number (0 out of range). */
    int GetFixPicture(int cellNo) const;
    const std::vector<uint8_t>& FixPictures() const { return fixPictures_; }
    int EffectiveInterval(int frame, bool useBase) const;
    int SumIntervals() const;
    /** Kind 1 frames, 3 pictures, 4 effects: last non-empty slot; kind 2: highest
     *  occupied cell number in any existing frame; -1 when none. */
    int LastUsedIndex(int kind) const;
    const strFrame& EmptyFrame() const { return emptyFrame_; }
    const cPtrArray<strFrame>& Frames() const { return frames_; }
    const cPtrArray<strPicture>& Pictures() const { return pictures_; }
    const cPtrArray<strEffect>& Effects() const { return effects_; }

    // --- validation ---
    void ValidateCell(strCell& cell, int cellNo) const;
    void ApplyEditFormat(strCell& cell) const;
    /** Validates every stored cell again (after the formats changed); not recorded. */
    void ValidateCells();
    /** Clamps divisions and hue; width/height <= 0 when the image size is unknown. */
    static void ValidatePicture(strPicture& picture, int imageWidth = 0, int imageHeight = 0);
    void ValidateEffect(strEffect& effect) const;

    // --- set-up ---
    /** What Reset, ApplyDefaults and NewProject start from. */
    void SetDefaults(const strProjectDefaults& defaults) { defaults_ = defaults; }
    /** Where committed record groups go; none (the default) records nothing. */
    void SetChangeSink(iChangeSink* sink) { sink_ = sink; }

    // --- project-wide operations ---
    /** Clears and sizes the project; -1 counts take the minimums / Init_Cell. */
    bool Reset(int frames, int cells, int pictures, int effects);
    /** Copies the new-project settings into the items. */
    void ApplyDefaults();
    /** Makes this a new project (Reset, defaults, one frame); workFolder is kept. */
    bool NewProject(const std::string& workFolder);
    bool SetCellCount(int n);

    // --- recorded mutators (frames, cells, intervals, fixed pictures) ---
    bool SetFrame(int index, const strFrame* source);
    bool SetInterval(int frame, int interval);
    bool ClearFrames(int start, int count);
    bool CopyFrame(int target, int source);
    bool DeleteFrames(int start, int count, bool slide);
    bool InsertFrames(int at, int count);
    bool SlideFrames(int from, int count, int to);
    bool SwapFrames(int a, int b);
    bool CompactFrames();
    bool SetCell(int frame, int cellNo, const strCell* cell);
    bool SwapCells(int frameA, int cellA, int frameB, int cellB);
    bool SetFixPicture(int cellNo, int picture);

    // --- pictures and effects (recorded like the mutators above) ---
    bool SetPicture(const strPicture& picture, int index);
    bool DeletePicture(int index);
    bool InsertEffect(const strEffect& effect, int* outIndex);
    bool SetEffect(const strEffect& effect, int index);
    bool DeleteEffect(int index, bool compact);
    /** Renames the file of a picture / the sound of an effect without recording or
     *  marking the project modified (imports resolve names, exports rebase them for
     *  a while). False when the slot is empty. */
    bool RenamePicture(int index, std::string path);
    bool RenameSound(int index, std::string name);
    /** Every effect slot (empty ones as nullopt). */
    std::vector<std::optional<strEffect>> EffectList() const;
    /** Replaces the effect slots with a list as EffectList gives it. */
    bool SetEffectList(const std::vector<std::optional<strEffect>>& list);

    // --- record groups ---
    /** Discards an open group, then opens one when the change sink keeps records. */
    bool BeginRecord();
    /** Hands the open group to the change sink (commit) or destroys it. Returns commit. */
    bool EndRecord(bool commit);
    /** Discards an open group and tells the sink to drop what it keeps: the project
     *  changed in a way the records cannot replay. */
    void ForgetRecords();
    /** Undoes what the open group recorded and discards it (an edit that failed halfway).
     *  Without a change sink nothing was recorded, so nothing can be undone. */
    void RollBackRecord();
    /** The open record group, or null. */
    cRestoreObj* Record() const { return record_.get(); }
    void MarkModified() { modified = true; }

private:
    void AddRecord(std::unique_ptr<class cRestore> record);
    bool Recording() const { return record_ != nullptr; }
    template <class Change> bool ChangeEffects(Change change);

    std::string workFolder_, name_, fileName_, userData_;
    cPtrArray<strFrame> frames_;
    cPtrArray<strPicture> pictures_;
    cPtrArray<strEffect> effects_;
    std::vector<uint8_t> fixPictures_;
    int saveFormat_ = 0, centerPosition_ = 0, divisionFormat_ = 0, editFormat_ = 0;
    int fixPicturePerCell_ = 0, baseInterval_ = 1, totalInterval_ = 0;
    int cellCount_ = 0, frameCapacity_ = 0, pictureCapacity_ = 0, effectCapacity_ = 0;
    std::unique_ptr<cRestoreObj> record_;
    iChangeSink* sink_ = nullptr;
    strProjectDefaults defaults_;
    strFrame emptyFrame_;
};
