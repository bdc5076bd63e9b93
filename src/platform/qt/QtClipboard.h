#pragma once
// The system clipboard through QClipboard: a format name is used as the MIME
// name as it stands ("VX Ace ANIMATION", "application/rpgmv-animations",
// "MEVKO_EDIT"); the 2000 format travels under platform::kFormat2000 and, for
// RPG Maker under Wine, under "#582" too (read from either, kFormat2000 first).
// Data set while the clipboard is open is published when it is closed.

#include "platform/Clipboard.h"

class QMimeData;

namespace platform {

class QtClipboard : public Clipboard {
public:
    ~QtClipboard() override;
    bool Open() override;
    void Close() override;
    bool Empty() override;
    bool SetData(const std::string& format, const std::vector<uint8_t>& bytes) override;
    bool GetData(const std::string& format, std::vector<uint8_t>& out) override;
    bool IsAvailable(const std::string& format) override;

private:
    bool open_ = false;
    QMimeData* pending_ = nullptr; // built while open, handed to QClipboard on Close
};

} // namespace platform
