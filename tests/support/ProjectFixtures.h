#pragma once
// Shared helpers of the project file tests: example paths, file bytes, a
// random project generator and dumps without the items a format does not keep.

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

inline std::filesystem::path ExampleData() { return std::filesystem::path(MEVKO_SOURCE_DIR) / "examples" / "Data"; }

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::filesystem::path TestFolder(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("mevko_project_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

/** Loads bytes into a fresh project; null when the device refuses them. */
inline std::unique_ptr<cAnimeData> LoadFrom(const std::string& bytes, int* result = nullptr)
{
    auto p = std::make_unique<cAnimeData>();
    ANIME::cAnimeFile_Device device;
    const int r = device.LoadBytes(bytes, *p);
    if (result)
        *result = r;
    return r == ANIME::FR_OK ? std::move(p) : nullptr;
}

inline std::string SaveAs(const cAnimeData& p, int format)
{
    ANIME::cAnimeFile_Device device;
    std::string out;
    EXPECT_EQ(device.SaveBytes(p, format, out), ANIME::FR_OK);
    return out;
}

/** The dump without saveFormat, which each format implies. */
inline std::string ContentDump(const cAnimeData& p)
{
    nlohmann::json j = ANIME::DumpProject(p);
    j.erase("saveFormat");
    return j.dump();
}

/** A random project that both formats can hold exactly: frames 0..n-1 all present,
 *  valid cells, pictures and effects (sorted by frame, each with a part). */
inline std::unique_ptr<cAnimeData> RandomProject(unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto text = [&](int maxLen) {
        static const char* const kWords[] = {"爆発", "fire", "雷", "水しぶき", "A_b-c", "①Ⅱ", "表示", "x"};
        std::string s;
        const int words = pick(0, maxLen);
        for (int i = 0; i < words; ++i)
            s += kWords[pick(0, 7)];
        return s;
    };
    auto p = std::make_unique<cAnimeData>();
    const int cells = pick(1, 255);
    const int frames = pick(0, 40);
    const int pictures = pick(0, 12);
    p->Reset(frames, cells, pictures, 30);
    p->SetValue(AI_DIVISION_FORMAT, pick(0, 1));
    p->SetValue(AI_EDIT_FORMAT, pick(0, 4));
    p->SetValue(AI_FIX_PICTURE_PER_CELL, pick(0, 1));
    p->SetValue(AI_BASE_INTERVAL, pick(1, 255));
    p->SetValue(AI_TOTAL_INTERVAL, pick(0, 5000));
    p->SetText(AT_NAME, text(6));
    p->SetText(AT_USER_DATA, text(10));
    // Neither format keeps fixed pictures that are not in use.
    if (p->GetValue(AI_FIX_PICTURE_PER_CELL))
        for (int n = 0; n < cells; ++n)
            p->SetFixPicture(n, pick(0, 255));
    for (int i = 0; i < pictures; ++i)
        if (pick(0, 3)) {
            strPicture pic;
            pic.divX = uint16_t(pick(1, 1024));
            pic.divY = uint16_t(pick(1, 1024));
            pic.hue = uint16_t(pick(0, 360));
            pic.path = text(5) + "\\" + text(3) + ".png";
            p->SetPicture(pic, i);
        }
    if (frames > 0)
        p->InsertFrames(0, frames);
    for (int f = 0; f < frames; ++f) {
        p->SetInterval(f, pick(0, 3) ? 0 : pick(1, 255));
        const int used = pick(0, std::min(cells, 30));
        for (int k = 0; k < used; ++k) {
            // Half of the cells repeat the previous frame's, which the text format leaves out.
            const int n = pick(0, cells - 1);
            if (f > 0 && pick(0, 1))
                if (const strCell* prev = p->GetCell(f - 1, n)) {
                    p->SetCell(f, n, prev);
                    continue;
                }
            strCell c;
            c.picture = uint8_t(pick(0, 255));
            c.pattern = uint16_t(pick(1, 9998));
            c.blend = uint8_t(pick(0, 4));
            c.x = int16_t(pick(-1024, 1024));
            c.y = int16_t(pick(-1024, 1024));
            c.scaleX = int16_t(pick(-1000, 1000));
            c.scaleY = int16_t(pick(-1000, 1000));
            c.angle = int16_t(pick(-3600, 3600));
            c.opacity = uint8_t(pick(0, 255));
            c.red = uint8_t(pick(0, 200));
            c.green = uint8_t(pick(0, 200));
            c.blue = uint8_t(pick(0, 200));
            c.saturation = uint8_t(pick(0, 200));
            p->SetCell(f, n, &c);
        }
    }
    const int effects = frames ? pick(0, 20) : 0;
    const std::string sounds[] = {"Sound\\a.wav", "Sound\\b.ogg", text(3), ""};
    for (int i = 0; i < effects; ++i) {
        strEffect e;
        e.frame = uint16_t(pick(0, frames - 1));
        e.flags = uint8_t(pick(1, 7));
        if (e.flags & EF_FLASH) {
            e.flashDuration = uint16_t(pick(0, 255));
            e.flashBlend = uint8_t(pick(0, 4));
            e.flashScope = uint8_t(pick(0, 2));
            e.flashRed = uint8_t(pick(0, 255));
            e.flashGreen = uint8_t(pick(0, 255));
            e.flashBlue = uint8_t(pick(0, 255));
            e.flashStrength = uint8_t(pick(0, 255));
        }
        if (e.flags & EF_SOUND) {
            e.seVolume = uint16_t(pick(0, 100));
            e.sePitch = uint16_t(pick(0, 200));
            e.seBalance = uint16_t(pick(0, 200));
            e.seName = sounds[pick(0, 3)];
        }
        if (e.flags & EF_NOTE)
            e.note = text(4);
        p->InsertEffect(e, nullptr);
    }
    return p;
}
