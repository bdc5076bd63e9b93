#include "interchange/ClipStream.h"

#include "platform/Clipboard.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> bytesOf(const Cclip_stream& s) { return s.Bytes(); }

TEST(ClipStream, AppendPatchReadSkipSeek)
{
    Cclip_stream s;
    EXPECT_EQ(s.Append("abcd", 4), 4u);
    EXPECT_EQ(s.AppendByte('e'), 1u);
    Cclip_stream t;
    t.Append("xy", 2);
    EXPECT_EQ(s.AppendStream(t), 2u);
    EXPECT_EQ(s.Size(), 7u);
    EXPECT_EQ(s.Position(), 7u);
    // Patch never writes past the end.
    EXPECT_EQ(s.Patch(5, "XYZW", 4), 7u);
    EXPECT_EQ(s.Patch(9, "Q", 1), 9u);
    EXPECT_EQ(bytesOf(s), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'X', 'Y'}));

    s.Seek(0);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
    s.Skip(-1);
    EXPECT_EQ(s.ReadByte(), 'c');
    s.Skip(100);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.ReadByte(), 0);
    EXPECT_EQ(s.Position(), 7u);
    EXPECT_EQ(s.Read(buf, 4), 0u);
    s.Skip(-100);
    EXPECT_EQ(s.Position(), 0u);
    s.Seek(50);
    EXPECT_EQ(s.Position(), 7u);
    s.Seek(5);
    EXPECT_EQ(s.Read(buf, 8), 2u);
    s.Clear();
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_EQ(s.Position(), 0u);
}

TEST(ClipStream, SelfAppendDoublesTheBuffer)
{
    Cclip_stream s;
    s.Append("ab", 2);
    s.AppendStream(s);
    EXPECT_EQ(bytesOf(s), (std::vector<uint8_t>{'a', 'b', 'a', 'b'}));
}

class ClipStreamClipboard : public ::testing::Test {
protected:
    void SetUp() override { platform::SetSystemClipboard(&clipboard); }
    void TearDown() override { platform::SetSystemClipboard(nullptr); }
    platform::MemoryClipboard clipboard;
};

TEST_F(ClipStreamClipboard, SaveThenLoadGivesTheBytesAndClosesTheClipboard)
{
    Cclip_stream out;
    out.Append("\x00\x01payload", 9);
    ASSERT_TRUE(out.SaveToClipboard("FMT"));
    EXPECT_FALSE(clipboard.IsOpen());
    Cclip_stream in;
    in.Append("old", 3);
    ASSERT_TRUE(in.LoadFromClipboard("FMT"));
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_EQ(in.Bytes(), out.Bytes());
    EXPECT_EQ(in.Position(), 0u);
}

TEST_F(ClipStreamClipboard, SaveEmptiesOtherFormats)
{
    Cclip_stream a, b;
    a.Append("a", 1);
    b.Append("b", 1);
    a.SaveToClipboard("A");
    b.SaveToClipboard("B");
    EXPECT_FALSE(clipboard.IsAvailable("A"));
    EXPECT_TRUE(clipboard.IsAvailable("B"));
}

TEST_F(ClipStreamClipboard, FailuresLeaveTheStreamEmpty)
{
    Cclip_stream s;
    s.Append("keep", 4);
    EXPECT_FALSE(s.LoadFromClipboard("MISSING"));
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_FALSE(clipboard.IsOpen());

    Cclip_stream data;
    data.Append("x", 1);
    data.SaveToClipboard("X");
    clipboard.SetLockedByOther(true);
    EXPECT_FALSE(s.LoadFromClipboard("X"));
    EXPECT_FALSE(data.SaveToClipboard("Y"));
    clipboard.SetLockedByOther(false);
    EXPECT_TRUE(s.LoadFromClipboard("X"));
}

} // namespace
