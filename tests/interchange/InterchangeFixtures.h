#pragma once
// Helpers shared by the interchange tests: projects built cell by cell, the
// part of a project that a conversion carries, temp files and external oracles.

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "support/ModelText.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

/** A new project without edit restrictions or fixed pictures, with `frames` frames. */
inline void MakeProject(cAnimeData& p, int frames = 1, const char* name = "")
{
    p.NewProject("");
    p.SetValue(AI_EDIT_FORMAT, 0);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
    if (frames > 1)
        p.InsertFrames(1, frames - 1);
    p.SetText(AT_NAME, name);
}

struct CellSpec {
    int picture, pattern, blend, x, y, scaleX, scaleY, angle, opacity;
    int red = 100, green = 100, blue = 100, saturation = 100;
};

inline void PutCell(cAnimeData& p, int frame, int slot, const CellSpec& s)
{
    strCell c = strCell::New();
    const int values[CP_COUNT] = {s.picture, s.pattern, s.blend, s.x,     s.y,    s.scaleX,    s.scaleY,
                                  s.angle,   s.opacity, s.red,   s.green, s.blue, s.saturation};
    for (int i = 0; i < CP_COUNT; ++i)
        c.Set(i, values[i]);
    p.SetCell(frame, slot, &c);
}

inline void PutPicture(cAnimeData& p, int slot, const std::string& path, int hue = 0, int div = 192)
{
    strPicture pic;
    pic.path = path;
    pic.hue = uint16_t(hue);
    pic.divX = pic.divY = uint16_t(div);
    p.SetPicture(pic, slot);
}

inline strEffect FlashEffect(int frame, int scope, int duration, int r, int g, int b, int strength)
{
    strEffect e;
    e.frame = uint16_t(frame);
    e.flashScope = uint8_t(scope);
    e.flashDuration = uint16_t(duration);
    e.flashRed = uint8_t(r);
    e.flashGreen = uint8_t(g);
    e.flashBlue = uint8_t(b);
    e.flashStrength = uint8_t(strength);
    return e;
}

inline void AddEffect(cAnimeData& p, strEffect e)
{
    p.ValidateEffect(e);
    p.InsertEffect(e, nullptr);
}

/** The name, position, pictures, cells and effects of a project, as text. */
inline std::string Content(const cAnimeData& p)
{
    std::istringstream in(ModelText(p));
    std::string out = "name=" + p.Text(AT_NAME) + " center=" + std::to_string(p.GetValue(AI_CENTER_POSITION)) + "\n";
    for (std::string line; std::getline(in, line);)
        if (line.rfind("frame", 0) == 0 || line.rfind("  cell", 0) == 0 || line.rfind("picture", 0) == 0 ||
            line.rfind("effect", 0) == 0)
            out += line + "\n";
    return out;
}

/** A fresh temporary folder for one test. */
inline std::filesystem::path TestFolder(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("mevko_ix_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void WriteBytes(const std::filesystem::path& file, const void* data, size_t n)
{
    std::ofstream(file, std::ios::binary).write(static_cast<const char*>(data), std::streamsize(n));
}

inline std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool HaveProgram(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

/** Runs `program script args...` and returns its standard output; exit code in code. */
inline std::string RunScript(const std::filesystem::path& dir, const char* program, const std::string& script,
                             const std::string& args, int& code)
{
    const auto scriptFile = dir / "script", outFile = dir / "out.txt";
    WriteBytes(scriptFile, script.data(), script.size());
    const std::string cmd =
        std::string(program) + " '" + scriptFile.string() + "' " + args + " > '" + outFile.string() + "' 2>&1";
    code = std::system(cmd.c_str());
    return ReadText(outFile);
}
