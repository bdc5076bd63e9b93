// Reading refuses what is not a regular file or is too large, in every reader of the
// program; saving is exclusive, keeps links and permissions, and says why it failed.
#include "platform/FileIO.h"

#include "export/GifFile.h"
#include "image/ImageFile.h"
#include "model/AnimeData.h"
#include "platform/SoundDecoder.h"
#include "project/AnimeFile.h"
#include "project/IniFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("mevko_fileio_" + std::to_string(::getpid()));
    TempFolder()
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
};

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t entries(const fs::path& folder)
{
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Special files every reader must refuse at once: a folder, a FIFO nobody writes to
// (a blocking open or read would hang), an endless device, and a file whose reads fail.
std::vector<fs::path> specialFiles(const TempFolder& dir)
{
    fs::create_directories(dir / "folder.png");
    ::mkfifo((dir / "fifo.dat").c_str(), 0600);
    return {dir / "folder.png", dir / "fifo.dat", "/dev/zero", "/proc/self/mem"};
}

TEST(FileRead, SpecialFilesAreRefusedWithAReason)
{
    TempFolder dir;
    for (const fs::path& p : specialFiles(dir)) {
        std::vector<uint8_t> bytes{1};
        std::string head = "x", error;
        EXPECT_FALSE(platform::ReadFile(p, bytes, platform::FileKind::Payload, &error)) << p;
        EXPECT_TRUE(bytes.empty()) << p;
        EXPECT_FALSE(error.empty()) << p;
        error.clear();
        EXPECT_FALSE(platform::ReadFileHead(p, 16, head, &error)) << p;
        EXPECT_FALSE(error.empty()) << p;
    }
    std::string error;
    std::string text;
    EXPECT_FALSE(platform::ReadFile(dir / "folder.png", text, platform::FileKind::Config, &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(platform::ReadFile(dir / "missing", text, platform::FileKind::Config, &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(FileRead, EveryInputGoesThroughTheCheckedReader)
{
    TempFolder dir;
    const std::vector<std::pair<const char*, std::function<bool(const fs::path&)>>> readers = {
        {"project",
         [](const fs::path& p) {
             cAnimeData project;
             ANIME::cAnimeFile_Device device;
             return device.ProbeFile(p) != ANIME::FK_CANNOT_OPEN || device.Load(p, project) == ANIME::FR_OK;
         }},
        {"config.ini", [](const fs::path& p) { return project::cIniFile().Load(p); }},
        {"picture",
         [](const fs::path& p) {
             cBMP image;
             return LoadImage(p, image);
         }},
        {"draft GIF", [](const fs::path& p) { return CGIFFile().Load(p); }},
        {"sound",
         [](const fs::path& p) {
             platform::DecodedSound sound;
             return platform::DecodeSoundFile(p, sound);
         }},
    };
    for (const fs::path& p : specialFiles(dir))
        for (const auto& [name, read] : readers)
            EXPECT_FALSE(read(p)) << name << " " << p;
}

TEST(FileRead, SizeCapsAndSizesTheSystemDoesNotReport)
{
    TempFolder dir;
    // A sparse file just over the config cap costs no disk and must not be read.
    const fs::path big = dir / "config.ini";
    {
        std::ofstream(big) << "x";
    }
    fs::resize_file(big, platform::MaxFileBytes(platform::FileKind::Config) + 1);
    std::string text, error;
    EXPECT_FALSE(platform::ReadFile(big, text, platform::FileKind::Config, &error));
    EXPECT_EQ(error, "larger than 4194304 bytes");
    EXPECT_TRUE(platform::ReadFile(big, text, platform::FileKind::Project));
    EXPECT_EQ(text.size(), platform::MaxFileBytes(platform::FileKind::Config) + 1);
    // Files under /proc report a size of 0 yet hold text.
    ASSERT_TRUE(platform::ReadFile("/proc/self/status", text, platform::FileKind::Config));
    EXPECT_NE(text.find("Pid:"), std::string::npos);
    // A short file gives what it has.
    {
        std::ofstream(dir / "short") << "MEVK";
    }
    ASSERT_TRUE(platform::ReadFileHead(dir / "short", 16, text));
    EXPECT_EQ(text, "MEVK");
}

TEST(FileWrite, TemporaryFileCannotBePlanted)
{
    TempFolder dir;
    const fs::path victim = dir / "victim";
    {
        std::ofstream(victim) << "precious";
    }
    const fs::path target = dir / "anim.dat";
    {
        std::ofstream(target) << "old";
    }
    // Links at every name a predictable temporary file could have.
    for (int pid = std::max(1, ::getpid() - 50); pid < ::getpid() + 50; ++pid)
        fs::create_symlink(victim, target.string() + ".tmp-" + std::to_string(pid));
    const size_t planted = entries(dir.path);
    ASSERT_TRUE(platform::WriteFileAtomic(target, std::string("new")));
    EXPECT_EQ(slurp(victim), "precious");
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(entries(dir.path), planted); // nothing left behind
}

TEST(FileWrite, LinksModesAndLongNames)
{
    TempFolder dir;
    // A symlinked target (relative, through a second link): the file it points to is
    // replaced and both links stay links.
    fs::create_directories(dir / "real");
    {
        std::ofstream(dir / "real" / "anim.txt") << "old";
    }
    fs::create_symlink("real/anim.txt", dir / "hop");
    fs::create_symlink("hop", dir / "link.txt");
    ASSERT_TRUE(platform::WriteFileAtomic(dir / "link.txt", std::string("new")));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "hop"));
    EXPECT_EQ(slurp(dir / "real" / "anim.txt"), "new");
    // A dangling link creates the file it names.
    fs::create_symlink("real/fresh.txt", dir / "dangling");
    ASSERT_TRUE(platform::WriteFileAtomic(dir / "dangling", std::string("made")));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(slurp(dir / "real" / "fresh.txt"), "made");

    // Private files stay private, odd modes stay as they were.
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
        const fs::path file = dir / "private.dat";
        {
            std::ofstream(file) << "old";
        }
        fs::permissions(file, mode);
        ASSERT_TRUE(platform::WriteFileAtomic(file, std::string("new")));
        EXPECT_EQ(fs::status(file).permissions(), mode);
    }
    // Owner and group are copied where the system permits it (root may give any).
    if (::geteuid() == 0) {
        const fs::path file = dir / "owned.dat";
        {
            std::ofstream(file) << "old";
        }
        ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
        ASSERT_TRUE(platform::WriteFileAtomic(file, std::string("new")));
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    // A new file gets the usual 0666 less the umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(platform::WriteFileAtomic(dir / "new.dat", std::string("x")));
    ::umask(mask);
    EXPECT_EQ(fs::status(dir / "new.dat").permissions(), fs::perms(0644));

    // The longest name a folder can hold saves (a temporary name built from it couldn't).
    const fs::path longName = dir / std::string(255, 'n');
    ASSERT_TRUE(platform::WriteFileAtomic(longName, std::string("long")));
    EXPECT_EQ(slurp(longName), "long");

    // Hard links are split on purpose: the saved name gets the new contents, the other
    // name keeps the old ones (the save stays atomic).
    {
        std::ofstream(dir / "a.dat") << "shared";
    }
    fs::create_hard_link(dir / "a.dat", dir / "b.dat");
    ASSERT_TRUE(platform::WriteFileAtomic(dir / "a.dat", std::string("new")));
    EXPECT_EQ(slurp(dir / "a.dat"), "new");
    EXPECT_EQ(slurp(dir / "b.dat"), "shared");
}

TEST(FileWrite, FailuresSayWhyAndLeaveNothing)
{
    TempFolder dir;
    std::string error;
    fs::create_directories(dir / "folder");
    EXPECT_FALSE(platform::WriteFileAtomic(dir / "folder", std::string("x"), &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(platform::WriteFileAtomic(dir / "missing" / "x", std::string("x"), &error));
    EXPECT_EQ(error, "No such file or directory");
    ::mkfifo((dir / "fifo").c_str(), 0600);
    EXPECT_FALSE(platform::WriteFileAtomic(dir / "fifo", std::string("x"), &error));
    EXPECT_EQ(error, "not a regular file");

    // A full disk, imitated by a file size limit (it holds for root too).
    const fs::path file = dir / "keep.dat";
    {
        std::ofstream(file) << "old";
    }
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit tiny = old;
    tiny.rlim_cur = 4;
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = platform::WriteFileAtomic(file, std::string("much more than four bytes"), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(slurp(file), "old");
    EXPECT_EQ(entries(dir.path), 3u); // folder, fifo, keep.dat

    // The project device hands the reason on.
    cAnimeData project;
    project.NewProject("");
    ANIME::cAnimeFile_Device device;
    EXPECT_EQ(device.Save(dir / "folder", project), ANIME::FR_CANNOT_OPEN);
    EXPECT_EQ(device.LastError(), "Is a directory");
    EXPECT_EQ(device.Load(dir / "fifo", project), ANIME::FR_CANNOT_OPEN);
    EXPECT_EQ(device.LastError(), "not a regular file");
}

} // namespace
