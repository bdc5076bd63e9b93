#pragma once
// Test helpers: a temporary folder, running Pillow scripts that write fixtures,
// and reading pixels of decoded images as 0xAARRGGBB.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "image/Bmp.h"

namespace testfiles {

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::random_device rd;
        path = std::filesystem::temp_directory_path() / ("mevko_test_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

/** Runs a Python script in the folder; true when it exits with 0. */
inline bool RunPython(const TempDir& dir, const std::string& script)
{
    std::ofstream(dir / "script.py") << script;
    std::string cmd = "cd '" + dir.path.string() + "' && /usr/bin/python3 script.py";
    return std::system(cmd.c_str()) == 0;
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes)
{
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

/** Colour of a decoded pixel: palette entry of an 8-bit pixel, else the pixel. */
inline uint32_t ColorAt(const cBMP& image, int x, int y)
{
    if (image.BitsPerPixel() == 8) {
        uint32_t e = 0;
        image.Palette().Entry(image.Row(y)[x], e);
        return e;
    }
    const uint8_t* p = image.Row(y) + 4 * x;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

inline void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

} // namespace testfiles
