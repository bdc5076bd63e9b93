#include "model/AnimeData.h"

#include "model/Restore.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cstdlib>

namespace {
template <class T> T clampTo(int v, int lo, int hi) { return T(std::clamp(v, lo, hi)); }

constexpr int kMaxFrames = 2024;
constexpr int kMinFrames = 65535;
constexpr int kMinPictures = 255;
constexpr int kMinEffects = 1023;
constexpr int kMaxNoteBytes = 254; // effect texts, in bytes as the project files store them
} // namespace

cAnimeData::cAnimeData() = default;
cAnimeData::~cAnimeData() = default;

int cAnimeData::GetValue(int index) const
{
    switch (index) {
    case AI_FRAMES: return frames_.Count();
    case AI_CELLS: return cellCount_;
    case AI_PICTURES: return pictures_.Count();
    case AI_EFFECTS: return effects_.Count();
    case AI_EDIT_FORMAT: return editFormat_;
    case AI_DIVISION_FORMAT: return divisionFormat_;
    case AI_SAVE_FORMAT: return saveFormat_;
    case AI_CENTER_POSITION: return centerPosition_;
    case AI_BASE_INTERVAL: return baseInterval_;
    case AI_TOTAL_INTERVAL: return totalInterval_;
    case AI_FIX_PICTURE_PER_CELL: return fixPicturePerCell_;
    default: return GetLimit(index);
    }
}

bool cAnimeData::SetValue(int index, int value)
{
    int* item = nullptr;
    switch (index) {
    case AI_EDIT_FORMAT: editFormat_ = value; return true;
    case AI_DIVISION_FORMAT: divisionFormat_ = value; return true;
    case AI_FIX_PICTURE_PER_CELL: fixPicturePerCell_ = value != 0 ? 1 : 0; return true;
    case AI_SAVE_FORMAT: item = &saveFormat_; break;
    case AI_CENTER_POSITION: item = &centerPosition_; break;
    case AI_BASE_INTERVAL: item = &baseInterval_; break;
    case AI_TOTAL_INTERVAL: item = &totalInterval_; break;
    default: return false;
    }
    // The items that leave the frames alone are recorded (the project dialog's light changes).
    if (Recording() && *item != value)
        AddRecord(std::make_unique<cRest_Update_Item>(index, value, *item));
    *item = value;
    return true;
}

int cAnimeData::GetLimit(int index) const
{
    switch (index) {
    case AI_FRAMES: return frameCapacity_;
    case AI_CELLS: return cellCount_;
    case AI_PICTURES: return pictureCapacity_;
    case AI_EFFECTS: return effectCapacity_;
    case AI_EDIT_FORMAT: return 5;
    case AI_DIVISION_FORMAT: return 1;
    case AI_SAVE_FORMAT: return 2;
    case AI_CENTER_POSITION: return 5;
    case AI_BASE_INTERVAL: return 255;
    case AI_TOTAL_INTERVAL: return frameCapacity_ * 255;
    case AI_FIX_PICTURE_PER_CELL: return 1;
    default: return 0;
    }
}

const std::string& cAnimeData::Text(int index) const
{
    static const std::string empty;
    switch (index) {
    case AT_WORK_FOLDER: return workFolder_;
    case AT_NAME: return name_;
    case AT_FILE_NAME: return fileName_;
    case AT_USER_DATA: return userData_;
    default: return empty;
    }
}

bool cAnimeData::GetText(int index, std::string& out) const
{
    if (index < AT_WORK_FOLDER || index > AT_USER_DATA)
        return false;
    out = Text(index);
    return !out.empty();
}

bool cAnimeData::SetText(int index, const std::string& text)
{
    std::string* item = nullptr;
    switch (index) {
    case AT_WORK_FOLDER: workFolder_ = text; return true;
    case AT_FILE_NAME: fileName_ = text; return true;
    case AT_NAME: item = &name_; break;
    case AT_USER_DATA: item = &userData_; break;
    default: return false;
    }
    if (Recording() && *item != text)
        AddRecord(std::make_unique<cRest_Update_Text>(index, text, *item));
    *item = text;
    return true;
}

const cPtrArray<strCell>* cAnimeData::GetCells(int i) const
{
    const strFrame* f = frames_.Get(i);
    return f ? &f->cells : nullptr;
}

const strCell* cAnimeData::GetCell(int frame, int cellNo) const
{
    const strFrame* f = frames_.Get(frame);
    return f ? f->cells.Get(cellNo) : nullptr;
}

int cAnimeData::GetFixPicture(int cellNo) const
{
    return cellNo >= 0 && size_t(cellNo) < fixPictures_.size() ? fixPictures_[size_t(cellNo)] : 0;
}

int cAnimeData::EffectiveInterval(int frame, bool useBase) const
{
    const strFrame* f = frames_.Get(frame);
    if (!f)
        return 0;
    return useBase && f->interval == 0 ? baseInterval_ : f->interval;
}

int cAnimeData::SumIntervals() const
{
    // The base interval is stored unchecked (a file may hold any number): sum wide
    // and saturate.
    int64_t sum = 0;
    for (int i = 0; i < frames_.Size(); ++i)
        if (const strFrame* f = frames_.Get(i))
            sum += f->interval == 0 ? baseInterval_ : f->interval;
    return int(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

int cAnimeData::LastUsedIndex(int kind) const
{
    auto last = [](int i) { return i < 0 ? -1 : i; };
    switch (kind) {
    case AI_FRAMES: return frames_.Count() ? last(frames_.LastIndex()) : -1;
    case AI_PICTURES: return pictures_.Count() ? last(pictures_.LastIndex()) : -1;
    case AI_EFFECTS: return effects_.Count() ? last(effects_.LastIndex()) : -1;
    case AI_CELLS: {
        int highest = -1;
        for (int i = 0; i < frames_.Size(); ++i)
            if (const strFrame* f = frames_.Get(i))
                for (int c = f->cells.Size() - 1; c > highest; --c)
                    if (f->cells.Get(c)) {
                        highest = c;
                        break;
                    }
        return highest;
    }
    default: return -1;
    }
}

void cAnimeData::ValidateCell(strCell& cell, int cellNo) const
{
    if (cell.pattern == 0)
        cell.pattern = 1;
    cell.blend = std::min<uint8_t>(cell.blend, 4);
    cell.x = clampTo<int16_t>(cell.x, -1024, 1024);
    cell.y = clampTo<int16_t>(cell.y, -1024, 1024);
    cell.scaleX = clampTo<int16_t>(cell.scaleX, -1000, 1000);
    cell.scaleY = clampTo<int16_t>(cell.scaleY, -1000, 1000);
    cell.angle = clampTo<int16_t>(cell.angle, -3600, 3600);
    cell.red = std::min<uint8_t>(cell.red, 200);
    cell.green = std::min<uint8_t>(cell.green, 200);
    cell.blue = std::min<uint8_t>(cell.blue, 200);
    cell.saturation = std::min<uint8_t>(cell.saturation, 200);
    if (fixPicturePerCell_ && cellNo >= 0 && cellNo < cellCount_)
        cell.picture = uint8_t(GetFixPicture(cellNo));
    ApplyEditFormat(cell);
}

void cAnimeData::ApplyEditFormat(strCell& cell) const
{
    switch (editFormat_) {
    case 1:
        cell.angle = 0;
        cell.scaleX = 100;
        cell.scaleY = 100;
        break;
    case 2: {
        const int16_t zoom = int16_t(std::abs(int(cell.scaleY)));
        cell.scaleX = cell.scaleX < 0 ? int16_t(-zoom) : zoom;
        break;
    }
    case 3: cell.scaleY = cell.scaleX; break;
    case 4: cell.angle = 0; break;
    default: break;
    }
}

void cAnimeData::ValidatePicture(strPicture& picture, int imageWidth, int imageHeight)
{
    picture.divX = clampTo<uint16_t>(picture.divX, 1, 1024);
    picture.divY = clampTo<uint16_t>(picture.divY, 1, 1024);
    picture.hue = std::min<uint16_t>(picture.hue, 360);
    if (imageWidth > 0 && imageHeight > 0) {
        picture.divX = uint16_t(std::max(1, std::min<int>(picture.divX, imageWidth)));
        picture.divY = uint16_t(std::max(1, std::min<int>(picture.divY, imageHeight)));
    }
}

void cAnimeData::ValidateEffect(strEffect& e) const
{
    e.flags = uint8_t((e.flashDuration != 0 ? EF_FLASH : 0) | (!e.seName.empty() ? EF_SOUND : 0) |
                      (!e.note.empty() ? EF_NOTE : 0));
    e.frame = uint16_t(std::min<int>(e.frame, std::max(0, frameCapacity_ - 1)));
    if (!(e.flags & EF_NOTE))
        e.note.clear();
    else
        e.note = platform::CutStored(e.note, kMaxNoteBytes);
    if (e.flags & EF_SOUND) {
        e.seVolume = clampTo<uint16_t>(e.seVolume, 1, 100);
        e.sePitch = clampTo<uint16_t>(e.sePitch, 1, 200);
        e.seBalance = std::min<uint16_t>(e.seBalance, 200);
        e.seName = platform::CutStored(e.seName, kMaxNoteBytes);
    } else {
        e.ClearSound();
    }
    if (!(e.flags & EF_FLASH)) {
        e.ClearFlash();
    } else {
        e.flashBlend = std::min<uint8_t>(e.flashBlend, 4);
        e.flashScope = std::min<uint8_t>(e.flashScope, 2);
        e.flashDuration = std::min<uint16_t>(e.flashDuration, 255);
    }
}

bool cAnimeData::Reset(int frames, int cells, int pictures, int effects)
{
    frames_.Free();
    pictures_.Free();
    effects_.Free();
    fixPictures_.clear();
    record_.reset();
    workFolder_.clear();
    name_.clear();
    fileName_.clear();
    userData_.clear();
    cellCount_ = frameCapacity_ = pictureCapacity_ = effectCapacity_ = 0;

    frameCapacity_ = std::min(std::max(frames, kMinFrames), kMaxFrames);
    // Cell numbers are bytes in every format: keep the count within 1..255.
    const int initCell = std::clamp(defaults_.cellCount, 1, kMaxCellCount);
    cellCount_ = std::min(cells < 1 ? initCell : cells, kMaxCellCount);
    pictureCapacity_ = std::min(std::max(pictures, kMinPictures), kMaxFrames);
    effectCapacity_ = std::min(std::max(effects, kMinEffects), kMaxFrames);

    saveFormat_ = centerPosition_ = divisionFormat_ = editFormat_ = fixPicturePerCell_ = 0;
    baseInterval_ = 1;
    totalInterval_ = 0;

    frames_.Alloc(frameCapacity_);
    pictures_.Alloc(pictureCapacity_);
    effects_.Alloc(effectCapacity_);
    fixPictures_.assign(size_t(cellCount_), 0);
    emptyFrame_.interval = 0;
    emptyFrame_.cells.Free();
    emptyFrame_.cells.Resize(cellCount_);
    return true;
}

void cAnimeData::ApplyDefaults()
{
    const strProjectDefaults& d = defaults_;
    SetValue(AI_BASE_INTERVAL, d.baseInterval);
    SetValue(AI_CENTER_POSITION, d.centerPosition);
    SetValue(AI_DIVISION_FORMAT, d.divisionFormat);
    SetValue(AI_FIX_PICTURE_PER_CELL, d.fixPicturePerCell ? 1 : 0);
    SetValue(AI_EDIT_FORMAT, d.editFormat);
    SetValue(AI_SAVE_FORMAT, d.saveFormat);
}

bool cAnimeData::NewProject(const std::string& workFolder)
{
    if (!Reset(-1, -1, -1, -1))
        return false;
    workFolder_ = workFolder;
    name_.clear();
    fileName_ = defaults_.fileName;
    ApplyDefaults();
    InsertFrames(0, 1);
    untitled = true;
    modified = false;
    return true;
}

bool cAnimeData::SetCellCount(int n)
{
    n = std::clamp(n, 0, kMaxCellCount);
    if (n <= 0 || n == cellCount_)
        return false;
    ForgetRecords();
    fixPictures_.resize(size_t(n), 0);
    for (int i = 0; i < frames_.Size(); ++i)
        if (strFrame* f = frames_.Get(i))
            f->cells.Resize(n);
    emptyFrame_.cells.Resize(n);
    cellCount_ = n;
    MarkModified();
    return true;
}

void cAnimeData::AddRecord(std::unique_ptr<cRestore> record)
{
    if (record_)
        record_->AddRecord(std::move(record));
}

bool cAnimeData::SetFrame(int index, const strFrame* source)
{
    if (!frames_.InRange(index))
        return false;
    strFrame* present = frames_.Get(index);
    if (!present && !source)
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Update_Frame>(index, source, present));
    if (!source) {
        frames_.Delete(index);
    } else {
        auto copy = std::make_unique<strFrame>(*source);
        // Every frame has exactly cellCount slots, whatever the source had.
        copy->cells.Resize(cellCount_);
        frames_.Put(index, std::move(copy));
    }
    MarkModified();
    return true;
}

bool cAnimeData::SetInterval(int frame, int interval)
{
    strFrame* f = frames_.Get(frame);
    if (!f)
        return false;
    const uint16_t value = uint16_t(interval);
    if (f->interval == value)
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Update_Int>(frame, value, f->interval));
    f->interval = value;
    MarkModified();
    return true;
}

bool cAnimeData::ClearFrames(int start, int count)
{
    if (count <= 0 || !frames_.InRange(start))
        return false;
    const int n = std::min(count, frameCapacity_ - start);
    for (int i = start; i < start + n; ++i)
        SetFrame(i, &emptyFrame_);
    return true;
}

bool cAnimeData::CopyFrame(int target, int source)
{
    if (!frames_.InRange(source) || source == target)
        return false;
    return SetFrame(target, frames_.Get(source));
}

bool cAnimeData::DeleteFrames(int start, int count, bool slide)
{
    if (count <= 0 || !frames_.InRange(start))
        return false;
    const int n = std::min(count, frameCapacity_ - start);
    int deleted = 0;
    for (int i = start; i < start + n; ++i)
        if (frames_.Get(i) && SetFrame(i, nullptr))
            ++deleted;
    if (slide && deleted > 0)
        SlideFrames(start + n, frameCapacity_ - start - n, start);
    return deleted > 0;
}

bool cAnimeData::InsertFrames(int at, int count)
{
    if (count <= 0 || !frames_.InRange(at))
        return false;
    const int room = frameCapacity_ - at;
    const int n = std::min(count, room);
    DeleteFrames(frameCapacity_ - n, n, false);
    SlideFrames(at, room - n, at + n);
    ClearFrames(at, n);
    return true;
}

bool cAnimeData::SlideFrames(int from, int count, int to)
{
    if (!frames_.InRange(from) || !frames_.InRange(to))
        return false;
    if (count < 0) {
        const int k = std::min(-count, from);
        from -= k;
        count = k;
    }
    count = std::min({count, frameCapacity_ - to, frameCapacity_ - from});
    if (from == to || count <= 0)
        return false;
    // Frames in the target range that are not part of the block are overwritten:
    // record their removal so that undo brings them back.
    for (int i = to; i < to + count; ++i)
        if ((i < from || i >= from + count) && frames_.Get(i))
            SetFrame(i, nullptr);
    if (Recording())
        AddRecord(std::make_unique<cRest_Slide_Frame>(from, count, to));
    std::vector<std::unique_ptr<strFrame>> block(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        block[size_t(k)] = frames_.Take(from + k);
    for (int k = 0; k < count; ++k)
        frames_.Put(to + k, std::move(block[size_t(k)]));
    MarkModified();
    return true;
}

bool cAnimeData::SwapFrames(int a, int b)
{
    if (!frames_.InRange(a) || !frames_.InRange(b) || a == b)
        return false;
    if (!frames_.Get(a) && !frames_.Get(b))
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Change_Frame>(a, b));
    frames_.Swap(a, b);
    MarkModified();
    return true;
}

bool cAnimeData::CompactFrames()
{
    bool changed = false;
    int write = 0;
    for (int i = 0; i < frames_.Size(); ++i) {
        if (!frames_.Get(i))
            continue;
        if (i != write)
            changed |= SwapFrames(write, i);
        ++write;
    }
    return changed;
}

bool cAnimeData::SetCell(int frame, int cellNo, const strCell* cell)
{
    strFrame* f = frames_.Get(frame);
    if (!f || cellNo < 0 || cellNo >= cellCount_ || !f->cells.InRange(cellNo))
        return false;
    strCell* present = f->cells.Get(cellNo);
    if (!cell) {
        if (!present)
            return false;
        if (Recording())
            AddRecord(std::make_unique<cRest_Update_Cell>(frame, cellNo, nullptr, present));
        f->cells.Delete(cellNo);
        MarkModified();
        return true;
    }
    strCell value = *cell;
    ValidateCell(value, cellNo);
    if (present && *present == value)
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Update_Cell>(frame, cellNo, &value, present));
    *f->cells.Create(cellNo) = value;
    MarkModified();
    return true;
}

bool cAnimeData::SwapCells(int frameA, int cellA, int frameB, int cellB)
{
    strFrame* fa = frames_.Get(frameA);
    strFrame* fb = frames_.Get(frameB);
    if (!fa || !fb || cellA < 0 || cellA >= cellCount_ || cellB < 0 || cellB >= cellCount_)
        return false;
    if (frameA == frameB && cellA == cellB)
        return false;
    if (!fa->cells.Get(cellA) && !fb->cells.Get(cellB))
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Change_Cell>(frameA, cellA, frameB, cellB));
    std::unique_ptr<strCell> a = fa->cells.Take(cellA);
    std::unique_ptr<strCell> b = fb->cells.Take(cellB);
    fa->cells.Put(cellA, std::move(b));
    fb->cells.Put(cellB, std::move(a));
    MarkModified();
    return true;
}

bool cAnimeData::SetFixPicture(int cellNo, int picture)
{
    if (cellNo < 0 || cellNo >= cellCount_ || size_t(cellNo) >= fixPictures_.size())
        return false;
    const uint8_t value = uint8_t(picture);
    uint8_t& slot = fixPictures_[size_t(cellNo)];
    if (slot == value)
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Update_FixCell>(cellNo, value, slot));
    slot = value;
    if (fixPicturePerCell_)
        for (int i = 0; i < frames_.Size(); ++i)
            if (strFrame* f = frames_.Get(i))
                if (strCell* c = f->cells.Get(cellNo))
                    c->picture = value;
    MarkModified();
    return true;
}

bool cAnimeData::SetPicture(const strPicture& picture, int index)
{
    if (!pictures_.InRange(index))
        return false;
    const strPicture* present = pictures_.Get(index);
    if (Recording() && !(present && *present == picture))
        AddRecord(std::make_unique<cRest_Update_Picture>(index, &picture, present));
    pictures_.Put(index, std::make_unique<strPicture>(picture));
    MarkModified();
    return true;
}

bool cAnimeData::DeletePicture(int index)
{
    const strPicture* present = pictures_.Get(index);
    if (!present)
        return false;
    if (Recording())
        AddRecord(std::make_unique<cRest_Update_Picture>(index, nullptr, present));
    pictures_.Delete(index);
    MarkModified();
    return true;
}

std::vector<std::optional<strEffect>> cAnimeData::EffectList() const
{
    std::vector<std::optional<strEffect>> list(size_t(std::max(effects_.Size(), 0)));
    for (int i = 0; i < effects_.Size(); ++i)
        if (const strEffect* e = effects_.Get(i))
            list[size_t(i)] = *e;
    return list;
}

template <class Change> bool cAnimeData::ChangeEffects(Change change)
{
    // Effect edits move whole blocks of slots, so the record keeps the list before
    // and after the change; an edit that changed nothing leaves no record.
    if (!Recording())
        return change();
    auto before = EffectList();
    const bool done = change();
    auto after = EffectList();
    if (after != before)
        AddRecord(std::make_unique<cRest_Update_Effects>(std::move(after), std::move(before)));
    return done;
}

bool cAnimeData::SetEffectList(const std::vector<std::optional<strEffect>>& list)
{
    return ChangeEffects([&] {
        for (int i = 0; i < effects_.Size(); ++i) {
            const std::optional<strEffect>* e = size_t(i) < list.size() ? &list[size_t(i)] : nullptr;
            if (e && *e)
                effects_.Put(i, std::make_unique<strEffect>(**e));
            else
                effects_.Delete(i);
        }
        MarkModified();
        return true;
    });
}

bool cAnimeData::InsertEffect(const strEffect& effect, int* outIndex)
{
    if (effects_.Size() == 0)
        return false;
    return ChangeEffects([&] {
        int at = effects_.Count();
        for (int i = 0; i < effects_.Size(); ++i) {
            const strEffect* e = effects_.Get(i);
            if (e && e->frame > effect.frame) {
                at = i;
                break;
            }
        }
        at = std::min(at, effects_.Size() - 1);
        effects_.Delete(effects_.Size() - 1);
        for (int i = effects_.Size() - 1; i > at; --i)
            effects_.Put(i, effects_.Take(i - 1));
        effects_.Put(at, std::make_unique<strEffect>(effect));
        MarkModified();
        if (outIndex)
            *outIndex = at;
        return true;
    });
}

bool cAnimeData::SetEffect(const strEffect& effect, int index)
{
    if (!effects_.InRange(index))
        return false;
    return ChangeEffects([&] {
        effects_.Put(index, std::make_unique<strEffect>(effect));
        MarkModified();
        return true;
    });
}

bool cAnimeData::DeleteEffect(int index, bool compact)
{
    return ChangeEffects([&] {
        const bool deleted = effects_.Delete(index);
        if (deleted)
            MarkModified();
        if (compact)
            effects_.Compact();
        return deleted && compact;
    });
}

void cAnimeData::ValidateCells()
{
    for (int i = 0; i < frames_.Size(); ++i)
        if (strFrame* f = frames_.Get(i))
            for (int k = 0; k < f->cells.Size(); ++k)
                if (strCell* cell = f->cells.Get(k))
                    ValidateCell(*cell, k);
}

bool cAnimeData::RenamePicture(int index, std::string path)
{
    strPicture* p = pictures_.Get(index);
    if (p)
        p->path = std::move(path);
    return p != nullptr;
}

bool cAnimeData::RenameSound(int index, std::string name)
{
    strEffect* e = effects_.Get(index);
    if (e)
        e->seName = std::move(name);
    return e != nullptr;
}

bool cAnimeData::BeginRecord()
{
    EndRecord(false);
    if (sink_ && sink_->KeepsRecords())
        record_ = std::make_unique<cRestoreObj>();
    return record_ != nullptr;
}

bool cAnimeData::EndRecord(bool commit)
{
    if (record_) {
        std::unique_ptr<cRestoreObj> group = std::move(record_);
        if (commit && sink_)
            sink_->Commit(std::move(group));
    }
    return commit;
}

void cAnimeData::RollBackRecord()
{
    // Detached first, so that the undoing mutators record nothing.
    const std::unique_ptr<cRestoreObj> group = std::move(record_);
    if (group)
        group->Undo(*this);
}

void cAnimeData::ForgetRecords()
{
    EndRecord(false);
    if (sink_)
        sink_->Forget();
}
