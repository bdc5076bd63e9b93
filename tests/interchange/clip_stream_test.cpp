#include "interchange/ClipStream.h"

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
    EXPECT_FALSE(s.Failed());
    s.Skip(100);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_TRUE(s.Failed());
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
    EXPECT_FALSE(s.Failed());
}

TEST(ClipStream, CopiesReadTheirOwnBytes)
{
    Cclip_stream s;
    s.Assign("abc");
    s.ReadByte();
    Cclip_stream copy(s);
    s.Assign("xyz");
    EXPECT_EQ(copy.Position(), 1u);
    EXPECT_EQ(copy.ReadByte(), 'b');
    Cclip_stream assigned;
    assigned = copy;
    copy.Clear();
    EXPECT_EQ(assigned.ReadByte(), 'c');
    EXPECT_EQ(assigned.ReadByte(), 0);
    EXPECT_TRUE(assigned.Failed());
}

TEST(ClipStream, SelfAppendDoublesTheBuffer)
{
    Cclip_stream s;
    s.Append("ab", 2);
    s.AppendStream(s);
    EXPECT_EQ(bytesOf(s), (std::vector<uint8_t>{'a', 'b', 'a', 'b'}));
}

} // namespace
