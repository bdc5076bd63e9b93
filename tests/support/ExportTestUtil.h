#pragma once
// Helpers of the export tests: temporary folders, synthetic images and running
// Pillow as an independent decoder.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "image/Bmp.h"

namespace exporttest {

namespace fs = std::filesystem;

/** A fresh folder under the system's temporary folder, removed on destruction. */
struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string tmpl = (fs::temp_directory_path() / "mevko-export-XXXXXX").string();
        path = mkdtemp(tmpl.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
};

/** A 32-bit image whose pixel (x, y) is colour(x, y) as 0xAARRGGBB. */
inline cBMP MakeImage(int w, int h, const std::function<uint32_t(int, int)>& colour)
{
    cBMP img;
    img.Create(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<uint32_t*>(img.Row(y))[x] = colour(x, y);
    return img;
}

inline uint32_t Pixel(const cBMP& img, int x, int y) { return reinterpret_cast<const uint32_t*>(img.Row(y))[x]; }

inline std::string ReadText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

/** Runs a Python program with Debian's interpreter (which has Pillow); its stdout is
 *  returned, and the test fails when it exits non-zero. */
inline std::string RunPython(const TempDir& dir, const std::string& program)
{
    fs::path script = dir / "probe.py", out = dir / "probe.out";
    std::ofstream(script) << program;
    std::string cmd = "/usr/bin/python3 '" + script.string() + "' > '" + out.string() + "' 2>&1";
    int rc = std::system(cmd.c_str());
    std::string text = ReadText(out);
    EXPECT_EQ(rc, 0) << text;
    return text;
}

} // namespace exporttest
