#include "project/RecoveryStore.h"

#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A copy: a header of "key=value" lines after the magic line, an empty line,
// then the project file's bytes. Values are single lines (paths never hold
// line breaks on their way here: they come from the file system).
constexpr const char* kMagic = "MEVKO_RECOVERY 1\n";
constexpr const char* kCopyExtension = ".rec";
constexpr const char* kLockExtension = ".lock";

bool oneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

std::string header(const std::string& key, const std::string& value) { return key + "=" + value + "\n"; }

// Splits a copy into its header fields and the project bytes.
bool parse(const std::string& data, strRecoveryInfo& info, std::string* body)
{
    const std::string magic = kMagic;
    if (data.compare(0, magic.size(), magic) != 0)
        return false;
    size_t pos = magic.size();
    bool sawTime = false;
    while (true) {
        const size_t end = data.find('\n', pos);
        if (end == std::string::npos)
            return false;
        const std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty())
            break;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            return false;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        char* stop = nullptr;
        if (key == "path") {
            info.originalPath = value;
        } else if (key == "work") {
            info.workFolder = value;
        } else if (key == "name") {
            info.fileName = value;
        } else if (key == "format") {
            info.saveFormat = int(std::strtol(value.c_str(), &stop, 10));
        } else if (key == "time") {
            info.savedAt = std::strtoll(value.c_str(), &stop, 10);
            sawTime = true;
        }
        if (stop && (*stop || value.empty()))
            return false;
    }
    if (!sawTime)
        return false;
    if (body)
        *body = data.substr(pos);
    return true;
}

bool readCopy(const fs::path& file, std::string& data)
{
    return platform::ReadFile(file, data, platform::FileKind::Project);
}

// True when a session's lock is free: its editor is gone.
bool sessionEnded(const fs::path& lock)
{
    const int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd); // closing drops the lock taken just now
    return free;
}

} // namespace

cRecoveryStore::cRecoveryStore(fs::path folder) : folder_(std::move(folder))
{
    std::random_device random;
    id_ =
        std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr)) + "-" + std::to_string(random() % 100000);
    own_ = folder_ / (id_ + kCopyExtension);
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const fs::path lock = folder_ / (id_ + kLockExtension);
    lockFd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

cRecoveryStore::~cRecoveryStore()
{
    if (lockFd_ < 0)
        return;
    std::error_code ec;
    fs::remove(folder_ / (id_ + kLockExtension), ec);
    ::close(lockFd_);
}

bool cRecoveryStore::Snapshot(const cAnimeData& project, const std::string& originalPath, int64_t now,
                              strRecoverySnapshot& out)
{
    const std::string& work = project.Text(AT_WORK_FOLDER);
    const std::string& name = project.Text(AT_FILE_NAME);
    if (!oneLine(originalPath) || !oneLine(work) || !oneLine(name))
        return false;
    ANIME::cAnimeFile_Device device;
    const int own = project.GetValue(AI_SAVE_FORMAT) == 1 ? 1 : 0;
    std::string body;
    if (device.SaveBytes(project, own, body) != ANIME::FR_OK &&
        device.SaveBytes(project, 1 - own, body) != ANIME::FR_OK)
        return false;
    out.bytes = kMagic;
    out.bytes += header("path", originalPath) + header("work", work) + header("name", name) +
                 header("format", std::to_string(project.GetValue(AI_SAVE_FORMAT))) +
                 header("time", std::to_string(now)) + "\n";
    out.bytes += body;
    return true;
}

bool cRecoveryStore::Commit(const strRecoverySnapshot& snapshot) const
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    return platform::WriteFileAtomic(own_, snapshot.bytes);
}

void cRecoveryStore::Remove() const
{
    std::error_code ec;
    fs::remove(own_, ec);
}

std::vector<strRecoveryInfo> cRecoveryStore::Orphans() const
{
    std::vector<strRecoveryInfo> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path file = it->path();
        if (file.extension() == kLockExtension) {
            // The lock of a session that ended without a copy is of no use any more.
            fs::path copy = file;
            copy.replace_extension(kCopyExtension);
            std::error_code ignored;
            if (!fs::exists(copy, ignored) && sessionEnded(file))
                fs::remove(file, ignored);
            continue;
        }
        if (file.extension() != kCopyExtension || file == own_)
            continue;
        fs::path lock = file;
        lock.replace_extension(kLockExtension);
        strRecoveryInfo info;
        if (sessionEnded(lock) && ReadInfo(file, info))
            found.push_back(info);
    }
    std::sort(found.begin(), found.end(),
              [](const strRecoveryInfo& a, const strRecoveryInfo& b) { return a.savedAt > b.savedAt; });
    return found;
}

bool cRecoveryStore::ReadInfo(const fs::path& file, strRecoveryInfo& info)
{
    std::string data;
    if (!readCopy(file, data))
        return false;
    info = strRecoveryInfo();
    info.file = file;
    return parse(data, info, nullptr);
}

bool cRecoveryStore::Restore(const strRecoveryInfo& info, cAnimeData& project)
{
    std::string data, body;
    strRecoveryInfo read;
    if (!readCopy(info.file, data) || !parse(data, read, &body))
        return false;
    ANIME::cAnimeFile_Device device;
    if (device.LoadBytes(body, project) != ANIME::FR_OK)
        return false;
    project.SetValue(AI_SAVE_FORMAT, read.saveFormat);
    project.SetText(AT_WORK_FOLDER, read.workFolder);
    project.SetText(AT_FILE_NAME, read.fileName);
    return true;
}

void cRecoveryStore::Discard(const strRecoveryInfo& info)
{
    std::error_code ec;
    fs::remove(info.file, ec);
    fs::path lock = info.file;
    lock.replace_extension(kLockExtension);
    fs::remove(lock, ec);
}

std::string RecoveryQuestion(const strRecoveryInfo& info)
{
    char when[64] = "?";
    const std::time_t t = std::time_t(info.savedAt);
    std::tm local{};
    if (localtime_r(&t, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    const std::string name = info.originalPath.empty() ? platform::Text(QT_TRANSLATE_NOOP("Strings", "(無題)"))
                                                       : ANIME::DumpText(paths::ForDisplay(info.originalPath));
    return platform::FormatText(
        QT_TRANSLATE_NOOP("Strings",
                          "前回、保存されないまま終了した作業があります。\n%s\n(%s に自動保存)\n復元しますか？"),
        name.c_str(), when);
}
