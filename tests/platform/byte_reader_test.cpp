#include "platform/ByteReader.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteReader, LittleEndianNumbersAndBytes)
{
    const uint8_t data[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    platform::ByteReader in(data, sizeof data);
    EXPECT_EQ(in.U8(), 0x01);
    EXPECT_EQ(in.U16(), 0x1234);
    EXPECT_EQ(in.U32(), 0x12345678u);
    EXPECT_EQ(in.Peek(), 0xFE);
    EXPECT_EQ(in.I32(), -2);
    EXPECT_EQ(in.Bytes(2), "ab");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.Peek(), 0); // looking is not reading
    EXPECT_TRUE(in.Ok());
}

TEST(ByteReader, AReadPastTheEndFailsForGood)
{
    const std::string data = "abcdef";
    // A number the data cannot finish yields 0 and reads none of the bytes left.
    platform::ByteReader in(std::string_view(data).substr(0, 3));
    EXPECT_EQ(in.U16(), uint16_t('a' | 'b' << 8));
    EXPECT_EQ(in.U32(), 0u);
    EXPECT_TRUE(in.Failed());
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.U8(), 0);
    EXPECT_EQ(in.U16(), 0);
    EXPECT_TRUE(in.Bytes(1).empty());
    // Going back reads the data again, but the failure stays.
    in.Seek(0);
    EXPECT_EQ(in.U8(), 'a');
    EXPECT_TRUE(in.Failed());

    platform::ByteReader whole(data);
    whole.Skip(4);
    EXPECT_TRUE(whole.Bytes(3).empty()); // all or nothing
    EXPECT_TRUE(whole.Failed());
    EXPECT_TRUE(whole.Bytes(0).empty());

    platform::ByteReader some(data);
    some.Skip(4);
    EXPECT_EQ(some.UpTo(3), "ef"); // what there is, never beyond
    EXPECT_TRUE(some.Failed());
    EXPECT_EQ(some.UpTo(3), "");
}

TEST(ByteReader, BerNumbers)
{
    const uint8_t data[] = {0x82, 0x2C, 0x81, 0x81, 0x81, 0x01, 0x81, 0x81};
    platform::ByteReader in(data, sizeof data);
    uint64_t v = 0;
    EXPECT_TRUE(in.Ber(v, 5));
    EXPECT_EQ(v, 300u);
    // Too many groups: the cursor stops after maxBytes, not a failure.
    EXPECT_FALSE(in.Ber(v, 3));
    EXPECT_EQ(v, 0x4081u);
    EXPECT_TRUE(in.Ok());
    EXPECT_TRUE(in.Ber(v, 5));
    EXPECT_EQ(v, 1u);
    // Cut off by the end: the groups read, and a failure.
    EXPECT_FALSE(in.Ber(v, 5));
    EXPECT_EQ(v, 0x81u);
    EXPECT_TRUE(in.Failed());
}

} // namespace
