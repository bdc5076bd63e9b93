#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

TEST(CodePage, LocaleChoosesCodePage)
{
    EXPECT_EQ(platform::CodePageForLocale("jpn"), "CP932");
    EXPECT_EQ(platform::CodePageForLocale("Japanese"), "CP932");
    EXPECT_EQ(platform::CodePageForLocale("kor"), "CP949");
    EXPECT_EQ(platform::CodePageForLocale(""), "CP1252");
    platform::SetLocale("jpn");
    EXPECT_EQ(platform::AnsiCodePage(), "CP932");
}

TEST(CodePage, Cp932RoundTripsAndFailures)
{
    platform::SetLocale("jpn");
    const std::string utf8 = "炎①Ⅱ㈱～ｱABC";
    const std::string ansi = platform::Utf8ToAnsi(utf8);
    ASSERT_FALSE(ansi.empty());
    EXPECT_EQ(std::string("\x89\x8a", 2), ansi.substr(0, 2)); // 炎
    EXPECT_EQ(platform::AnsiToUtf8(ansi), utf8);
    EXPECT_EQ(platform::Utf16ToAnsi(platform::AnsiToUtf16(ansi)), ansi);
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(utf8)), utf8);
    EXPECT_EQ(platform::Utf8ToUtf16("A炎"), std::u16string(u"A炎"));
    // Text that cannot be converted becomes empty.
    EXPECT_EQ(platform::AnsiToUtf8(std::string("\x81", 1)), "");
    EXPECT_EQ(platform::Utf8ToAnsi("\xff\xfe"), "");
    EXPECT_EQ(platform::Utf8ToAnsi("😀"), "");
    EXPECT_EQ(platform::AnsiToUtf8(""), "");
}

TEST(CodePage, CharacterLengths)
{
    platform::SetLocale("jpn");
    const std::string s = "a\x89\x8a"
                          "b\x81";
    EXPECT_EQ(platform::AnsiCharLength(s, 0), 1u);
    EXPECT_EQ(platform::AnsiCharLength(s, 1), 2u);
    EXPECT_EQ(platform::AnsiCharLength(s, 3), 1u);
    EXPECT_EQ(platform::AnsiCharLength(s, 4), 1u); // a lead byte at the end stands alone
    EXPECT_EQ(platform::AnsiCharLength(s, 5), 0u);
}

TEST(MemoryClipboard, OpenCloseAndOwnership)
{
    platform::MemoryClipboard cb;
    EXPECT_FALSE(cb.SetData("X", {1})); // not open
    ASSERT_TRUE(cb.Open());
    EXPECT_FALSE(cb.Open());
    cb.SetData("X", {1, 2});
    cb.SetData("Y", {3});
    cb.Close();
    EXPECT_TRUE(cb.IsAvailable("X"));
    std::vector<uint8_t> out;
    ASSERT_TRUE(cb.Open());
    EXPECT_TRUE(cb.GetData("X", out));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2}));
    EXPECT_FALSE(cb.GetData("Z", out));
    cb.Empty();
    cb.Close();
    EXPECT_FALSE(cb.IsAvailable("Y"));
    cb.SetLockedByOther(true);
    EXPECT_FALSE(cb.Open());
}

TEST(MemoryClipboard, StoreReplacesEveryFormatAndFetchCopiesOne)
{
    platform::MemoryClipboard cb;
    ASSERT_TRUE(cb.Store("A", {1}));
    ASSERT_TRUE(cb.Store("B", {0, 2, 3}));
    EXPECT_FALSE(cb.IsOpen());
    EXPECT_FALSE(cb.IsAvailable("A"));
    std::vector<uint8_t> out{9};
    ASSERT_TRUE(cb.Fetch("B", out));
    EXPECT_FALSE(cb.IsOpen());
    EXPECT_EQ(out, (std::vector<uint8_t>{0, 2, 3}));

    out = {9};
    EXPECT_FALSE(cb.Fetch("MISSING", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(cb.IsOpen());
    cb.SetLockedByOther(true);
    out = {9};
    EXPECT_FALSE(cb.Fetch("B", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(cb.Store("C", {1}));
    cb.SetLockedByOther(false);
    EXPECT_TRUE(cb.IsAvailable("B"));
    EXPECT_TRUE(cb.Fetch("B", out));
}

TEST(FileIO, AtomicWriteReplacesWholeFile)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("mevko_io_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "a.bin";
    ASSERT_TRUE(platform::WriteFileAtomic(file, std::string("first version")));
    ASSERT_TRUE(platform::WriteFileAtomic(file, std::string("2nd")));
    std::string back;
    ASSERT_TRUE(platform::ReadFile(file, back, platform::FileKind::Payload));
    EXPECT_EQ(back, "2nd");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1); // no leftovers
    EXPECT_FALSE(platform::WriteFileAtomic(dir / "missing" / "x", std::string("x")));
    EXPECT_FALSE(platform::ReadFile(dir / "missing" / "x", back, platform::FileKind::Payload));
    fs::remove_all(dir);
}

TEST(Strings, TableFormattingAndItems)
{
    EXPECT_EQ(platform::FormatString(40058, 3, 7), "< ! > [3:7] : 処理に失敗");
    EXPECT_EQ(platform::FormatString(40063, "a.dat"), "読み込みました > a.dat");
    EXPECT_EQ(platform::StringItems(40069), (std::vector<std::string>{"通常", "加算", "減算", "乗算", "スクリーン"}));
    EXPECT_EQ(platform::StringItems(40028).size(), 13u);
    EXPECT_EQ(platform::LoadString(1), "");
    // The result is cut to 511 characters.
    const std::string longArg(2000, 'x');
    EXPECT_EQ(platform::FormatString(40063, longArg.c_str()).size(), 7u * 3u + (511u - 7u));
}

} // namespace
