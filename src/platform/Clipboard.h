#pragma once
// The system clipboard as the editor sees it: named formats holding byte blocks.
// The GUI installs a Qt-backed clipboard; the command line and the tests use the
// in-memory one. Formats are names ("VX Ace ANIMATION", "MEVKO_EDIT", ...).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform {

// RPG Maker 2000 puts its data under the fixed clipboard format number 582;
// this name stands for that number here.
inline constexpr const char* kFormat2000 = "application/x-rpgmaker-2000-animation";

class Clipboard {
public:
    virtual ~Clipboard() = default;
    /** Takes the clipboard; false when another holder keeps it open. */
    virtual bool Open() = 0;
    virtual void Close() = 0;
    /** While open: drops every format; this program becomes the owner. */
    virtual bool Empty() = 0;
    /** While open: stores a copy of the bytes under the format. */
    virtual bool SetData(const std::string& format, const std::vector<uint8_t>& bytes) = 0;
    /** While open: copies the block of the format into out; false when absent. */
    virtual bool GetData(const std::string& format, std::vector<uint8_t>& out) = 0;
    /** Whether data of the format is present (no need to open). */
    virtual bool IsAvailable(const std::string& format) = 0;

    /** Opens, empties, places the bytes under the format and closes; false when
     *  the clipboard cannot be opened or refuses the data. */
    bool Store(const std::string& format, const std::vector<uint8_t>& bytes);
    /** Opens, copies the block of the format into out and closes; false (and out
     *  empty) when the clipboard cannot be opened or holds no such data. */
    bool Fetch(const std::string& format, std::vector<uint8_t>& out);
};

/** Clipboard kept in this process; used by the command line and the tests. */
class MemoryClipboard : public Clipboard {
public:
    bool Open() override;
    void Close() override;
    bool Empty() override;
    bool SetData(const std::string& format, const std::vector<uint8_t>& bytes) override;
    bool GetData(const std::string& format, std::vector<uint8_t>& out) override;
    bool IsAvailable(const std::string& format) override;

    /** Simulates another program holding the clipboard open. */
    void SetLockedByOther(bool locked) { lockedByOther_ = locked; }
    bool IsOpen() const { return open_; }

private:
    std::map<std::string, std::vector<uint8_t>> formats_;
    bool open_ = false;
    bool lockedByOther_ = false;
};

/** The clipboard in use: a process-wide MemoryClipboard unless one was installed. */
Clipboard& SystemClipboard();
/** Installs the clipboard to use (not owned); nullptr restores the in-memory one. */
void SetSystemClipboard(Clipboard* clipboard);

} // namespace platform
