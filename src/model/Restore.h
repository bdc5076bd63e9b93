#pragma once
// The undo records. Every recorded mutator of cAnimeData creates a small record
// describing what it is about to change and adds it to the open group
// (cRestoreObj); a committed group goes to the project's iChangeSink. Records name
// their targets by frame and slot index and replay through the same mutators.

#include "model/Records.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class cAnimeData;

enum eRestoreDirection { RESTORE_UNDO = 2, RESTORE_REDO = 3 };

/** Base of the undo records. */
class cRestore {
public:
    int32_t valid = 1; // 0 when a snapshot could not be taken; spoils its group

    virtual ~cRestore() = default;
    /** Tracing label. */
    virtual const char* Name() const { return nullptr; }
    /** Estimate of the bytes held. */
    virtual int Size() const { return 4; }
    /** Re-applies the record on the project in the given direction. */
    virtual void Restore(cAnimeData&, int) {}
};

class cRest_Change_Cell : public cRestore {
public:
    cRest_Change_Cell(int frameA, int slotA, int frameB, int slotB)
        : frameA(int16_t(frameA)), slotA(int16_t(slotA)), frameB(int16_t(frameB)), slotB(int16_t(slotB))
    {
    }
    const char* Name() const override { return "Change Cell\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t frameA, slotA, frameB, slotB;
};

class cRest_Change_Frame : public cRestore {
public:
    cRest_Change_Frame(int a, int b) : frameA(int16_t(a)), frameB(int16_t(b)) {}
    const char* Name() const override { return "Change Frame\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t frameA, frameB;
};

class cRest_Slide_Frame : public cRestore {
public:
    cRest_Slide_Frame(int from, int count, int to) : from(int16_t(from)), count(int16_t(count)), to(int16_t(to)) {}
    const char* Name() const override { return "Slide Frame\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t from, count, to;
};

class cRest_Update_Cell : public cRestore {
public:
    cRest_Update_Cell(int frame, int slot, const strCell* after, const strCell* before);
    const char* Name() const override { return "Update Cell\n"; }
    int Size() const override;
    void Restore(cAnimeData& project, int direction) override;
    int16_t frame, slot;
    std::optional<strCell> after, before;
};

class cRest_Update_FixCell : public cRestore {
public:
    cRest_Update_FixCell(int slot, int newPicture, int oldPicture)
        : slot(int16_t(slot)), newPicture(uint8_t(newPicture)), oldPicture(uint8_t(oldPicture))
    {
    }
    const char* Name() const override { return "Update FixCell\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t slot;
    uint8_t newPicture, oldPicture;
};

class cRest_Update_Frame : public cRestore {
public:
    cRest_Update_Frame(int frame, const strFrame* after, const strFrame* before);
    const char* Name() const override { return "Update Frame\n"; }
    int Size() const override;
    void Restore(cAnimeData& project, int direction) override;
    int16_t frame;
    std::unique_ptr<strFrame> after, before;
};

class cRest_Update_Int : public cRestore {
public:
    cRest_Update_Int(int frame, int newInterval, int oldInterval)
        : frame(int16_t(frame)), newInterval(int16_t(newInterval)), oldInterval(int16_t(oldInterval))
    {
    }
    const char* Name() const override { return "Update Interval\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t frame, newInterval, oldInterval;
};

class cRest_Update_Picture : public cRestore {
public:
    cRest_Update_Picture(int slot, const strPicture* after, const strPicture* before);
    const char* Name() const override { return "Update Picture\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int16_t slot;
    std::optional<strPicture> after, before;
};

/** The effect list before and after an edit (inserting and deleting move blocks of slots). */
class cRest_Update_Effects : public cRestore {
public:
    using List = std::vector<std::optional<strEffect>>;
    cRest_Update_Effects(List after, List before) : after(std::move(after)), before(std::move(before)) {}
    const char* Name() const override { return "Update Effects\n"; }
    void Restore(cAnimeData& project, int direction) override;
    List after, before;
};

/** A project item that leaves the frames alone (save format, centre position, intervals). */
class cRest_Update_Item : public cRestore {
public:
    cRest_Update_Item(int item, int newValue, int oldValue) : item(item), newValue(newValue), oldValue(oldValue) {}
    const char* Name() const override { return "Update Item\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int32_t item, newValue, oldValue;
};

/** A project text (name, user data). */
class cRest_Update_Text : public cRestore {
public:
    cRest_Update_Text(int item, std::string newText, std::string oldText)
        : item(item), newText(std::move(newText)), oldText(std::move(oldText))
    {
    }
    const char* Name() const override { return "Update Text\n"; }
    void Restore(cAnimeData& project, int direction) override;
    int32_t item;
    std::string newText, oldText;
};

/** One history step: its records, newest first. */
class cRestoreObj {
public:
    int32_t valid = 1;
    std::deque<std::unique_ptr<cRestore>> records;

    virtual ~cRestoreObj() = default;
    /** Adds a record at the front; a missing or invalid record spoils the group. */
    bool AddRecord(std::unique_ptr<cRestore> record);
    /** Undoes the records on the project, newest first. */
    void Undo(cAnimeData& project);
    /** Redoes the records on the project, oldest first. */
    void Redo(cAnimeData& project);
};

/** Where a project's committed record groups go (the undo history). */
class iChangeSink {
public:
    virtual ~iChangeSink() = default;
    /** Whether groups are kept at all; a project opens none when they are not. */
    virtual bool KeepsRecords() const = 0;
    /** Takes a committed group; false when it is dropped (empty or spoiled). */
    virtual bool Commit(std::unique_ptr<cRestoreObj> group) = 0;
    /** The project changed in a way the kept groups cannot replay: drop them. */
    virtual void Forget() = 0;
};
