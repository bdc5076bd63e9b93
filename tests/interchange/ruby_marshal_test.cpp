#include "interchange/RubyMarshal.h"

#include <gtest/gtest.h>

using namespace MKRUBY;

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> v;
    for (int b : list)
        v.push_back(uint8_t(b));
    return v;
}

struct LongCase {
    int32_t value;
    std::vector<uint8_t> wire;
};

class MarshalLong : public ::testing::TestWithParam<LongCase> {};

TEST_P(MarshalLong, WritesAndReadsBack)
{
    SymbolTable table;
    CWrite w(table, STYLE_PLAIN);
    EXPECT_EQ(w.WriteLong(GetParam().value), GetParam().wire.size());
    EXPECT_EQ(w.Bytes(), GetParam().wire);

    SymbolList list;
    CRead r(list, STYLE_UTF8);
    r.Assign(GetParam().wire.data(), GetParam().wire.size());
    EXPECT_EQ(r.ReadLong(), GetParam().value);
    EXPECT_TRUE(r.AtEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Examples, MarshalLong,
    ::testing::Values(LongCase{0, bytes({0x00})}, LongCase{1, bytes({0x06})}, LongCase{122, bytes({0x7F})},
                      LongCase{123, bytes({0x01, 0x7B})}, LongCase{255, bytes({0x01, 0xFF})},
                      LongCase{256, bytes({0x02, 0x00, 0x01})}, LongCase{1000, bytes({0x02, 0xE8, 0x03})},
                      LongCase{-1, bytes({0xFA})}, LongCase{-123, bytes({0x80})}, LongCase{-124, bytes({0xFF, 0x84})},
                      LongCase{-256, bytes({0xFF, 0x00})}, LongCase{-257, bytes({0xFE, 0xFF, 0xFE})},
                      LongCase{-3600, bytes({0xFE, 0xF0, 0xF1})}, LongCase{65536, bytes({0x03, 0x00, 0x00, 0x01})},
                      LongCase{INT32_MAX, bytes({0x04, 0xFF, 0xFF, 0xFF, 0x7F})},
                      LongCase{INT32_MIN, bytes({0xFC, 0x00, 0x00, 0x00, 0x80})}));

TEST(MarshalLongRead, TruncatedLongUsesWhatIsThere)
{
    SymbolList list;
    CRead r(list, STYLE_UTF8);
    const auto wire = bytes({0x03, 0x01});
    r.Assign(wire.data(), wire.size());
    EXPECT_EQ(r.ReadLong(), 1);
    EXPECT_TRUE(r.AtEnd());
}

TEST(MarshalWrite, SymbolsDefineLinkAndReserve)
{
    static const Name a{"A"}, b{"B"}, sameTextAsA{"A"};
    SymbolTable table;
    CWrite w(table, STYLE_PLAIN);
    w.ReserveSymbol(a);         // index 0, not written
    w.WriteSymbol(b);           // index 1
    w.WriteSymbol(a);           // the reserved definition
    w.WriteSymbol(b);           // link
    w.WriteSymbol(sameTextAsA); // another constant: a new definition, index 2
    w.WriteSymbol(sameTextAsA);
    EXPECT_EQ(w.Bytes(), bytes({':', 6, 'B', ':', 6, 'A', ';', 6, ':', 6, 'A', ';', 7}));
}

TEST(MarshalWrite, StringStyles)
{
    SymbolTable t1, t2;
    CWrite plain(t1, STYLE_PLAIN), utf8(t2, STYLE_UTF8);
    plain.WriteString("A");
    plain.WriteString("");
    utf8.WriteString("A");
    utf8.WriteString("");
    utf8.WriteString("B");
    EXPECT_EQ(plain.Bytes(), bytes({0x22, 0x06, 'A', 0x22, 0x00}));
    EXPECT_EQ(utf8.Bytes(), bytes({0x49, 0x22, 0x06, 'A', 0x06, 0x3A, 0x06, 'E', 'T', 0x22, 0x00, 0x49, 0x22, 0x06, 'B',
                                   0x06, 0x3B, 0x00, 'T'}));
}

TEST(MarshalWrite, NestedScopesDefineClassBeforeItsVariables)
{
    static const Name outer{"O"}, inner{"I"}, x{"@x"}, y{"@y"};
    SymbolTable table;
    CWrite w(table, STYLE_PLAIN);
    {
        ObjectScope o(w, outer);
        o.Child().WriteIvarInt(x, 1);
        o.Child().WriteIvar(y);
        {
            ObjectScope i(o.Child(), inner);
            i.Child().WriteIvarInt(x, 2);
        }
    }
    EXPECT_EQ(w.Bytes(), bytes({'o', ':', 6,   'O', 7,   ':', 7,   '@', 'x', 'i', 6,   ':',
                                7,   '@', 'y', 'o', ':', 6,   'I', 6,   ';', 6,   'i', 7}));
}

TEST(MarshalWrite, TableAndColorLayouts)
{
    SymbolTable table;
    CWrite w(table, STYLE_PLAIN);
    CTable t(2, 1, 1);
    t.Set(0, 0, 0, -1);
    t.Set(1, 0, 0, 300);
    w.WriteTable(t);
    EXPECT_EQ(w.Bytes(), bytes({'u', ':', 0x0A, 'T', 'a', 'b', 'l', 'e', 0x1D, 1, 0, 0, 0,    2,    0,    0,   0,
                                1,   0,   0,    0,   1,   0,   0,   0,   2,    0, 0, 0, 0xFF, 0xFF, 0x2C, 0x01}));
    CWrite c(table, STYLE_PLAIN);
    c.WriteColor(100.0, 0.0, 0.0, 0.0);
    const auto& b = c.Bytes();
    ASSERT_EQ(b.size(), 3 + 5 + 1 + 32u);
    EXPECT_EQ(b[8], 0x25); // long 32
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 9, b.begin() + 17), bytes({0, 0, 0, 0, 0, 0, 0x59, 0x40}));
}

// Reader.

class MarshalRead : public ::testing::Test {
protected:
    void Load(const std::vector<uint8_t>& data) { r.Assign(data.data(), data.size()); }
    SymbolList symbols;
    CRead r{symbols, STYLE_UTF8};
    NameDictionary classes{0x2000, {"Table", "Color", "Known"}};
    NameDictionary ivars{0x3000, {"@a", "@b"}};
};

TEST_F(MarshalRead, LongSymbolsAndStringsKeepTheFirst1023BytesAndStayInStep)
{
    std::vector<uint8_t> data = {':', 0x02, 0x4C, 0x04}; // 1100-byte symbol
    data.insert(data.end(), 1100, 'x');
    data.insert(data.end(), {0x22, 0x02, 0x4C, 0x04});
    data.insert(data.end(), 1100, 'y');
    data.insert(data.end(), {'i', 0x0B});
    Load(data);
    std::string text;
    EXPECT_EQ(r.ReadSymbol(text), 0);
    EXPECT_EQ(text, std::string(1023, 'x'));
    EXPECT_EQ(r.ReadString(text), 1023u);
    EXPECT_EQ(text, std::string(1023, 'y'));
    EXPECT_EQ(r.ReadFixnum(), 6);
}

TEST_F(MarshalRead, CutTextEndsOnAWholeUtf8Character)
{
    std::vector<uint8_t> data = {0x22, 0x02, 0x4C, 0x04, 'a'}; // 1100 bytes: 'a' then 3-byte characters
    for (int i = 0; i < 367; ++i)
        data.insert(data.end(), {0xE3, 0x81, 0x82});
    data.resize(4 + 1100, 0x82);
    Load(data);
    std::string text;
    r.ReadString(text);
    EXPECT_EQ(text.size(), 1021u); // 1 + 340 * 3: the 1023-byte cut ends on a whole character
}

TEST_F(MarshalRead, StringWithEncodingMarkOrOtherInstanceVariables)
{
    // "A" with E=true, then "B" with :encoding => "Shift_JIS", then a fixnum.
    Load(bytes({'I', 0x22, 6,   'A', 6,   ':',  6,    'E', 'T', 'I', 0x22, 6,   'B', 6,   ':', 0x0D, 'e', 'n', 'c',
                'o', 'd',  'i', 'n', 'g', 0x22, 0x0E, 'S', 'h', 'i', 'f',  't', '_', 'J', 'I', 'S',  'i', 0x0A}));
    std::string text;
    EXPECT_EQ(r.ReadString(text), 1u);
    EXPECT_EQ(text, "A");
    EXPECT_EQ(r.ReadString(text), 1u);
    EXPECT_EQ(text, "B");
    EXPECT_EQ(r.ReadFixnum(), 5);
}

TEST_F(MarshalRead, SymbolLinksResolveThroughTheList)
{
    Load(bytes({':', 7, '@', 'b', ';', 0, ';', 9}));
    DictionaryScope scope(r, ivars);
    EXPECT_EQ(r.ReadIvarId(), 0x3001);
    EXPECT_EQ(r.ReadIvarId(), 0x3001);
    EXPECT_EQ(r.ReadIvarId(), 0); // link to an index never defined
}

TEST_F(MarshalRead, LaterDictionaryWins)
{
    NameDictionary other{0x6000, {"@b"}};
    Load(bytes({':', 7, '@', 'b', ';', 0}));
    DictionaryScope a(r, ivars);
    {
        DictionaryScope b(r, other);
        EXPECT_EQ(r.ReadIvarId(), 0x6000);
    }
    EXPECT_EQ(r.ReadIvarId(), 0x3001);
}

TEST_F(MarshalRead, ObjectOfUnknownClassIsSkippedWhole)
{
    // o :Foo 1 ivar @a => [1, 2]; then fixnum 3.
    Load(bytes({'o', ':', 8, 'F', 'o', 'o', 6, ':', 7, '@', 'a', '[', 7, 'i', 6, 'i', 7, 'i', 8}));
    DictionaryScope c(r, classes);
    int32_t count = 99;
    EXPECT_EQ(r.ReadObject(count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(r.ReadFixnum(), 3);
    EXPECT_EQ(symbols.size(), 2u); // Foo and @a still count for later links
}

TEST_F(MarshalRead, TablesByDimensionAndCount)
{
    DictionaryScope c(r, classes);
    // dims 1, xsize 2, ysize 3 (ignored), zsize 1, count 2 -> read as 2 x 1 x 1.
    Load(bytes({'u', ':', 0x0A, 'T', 'a', 'b', 'l', 'e', 0x1D, 1, 0, 0, 0, 2,    0,    0,   0, 3,
                0,   0,   0,    1,   0,   0,   0,   2,   0,    0, 0, 5, 0, 0xFE, 0xFF, 'i', 6}));
    CTable t;
    EXPECT_EQ(r.ReadTable(t, 0x2000), 24);
    EXPECT_EQ(t.XSize(), 2);
    EXPECT_EQ(t.YSize(), 1);
    EXPECT_EQ(t.Get(0, 0), 5);
    EXPECT_EQ(t.Get(1, 0), -2);
    EXPECT_EQ(r.ReadFixnum(), 1);

    // Count 0: the table stays as it was.
    Load(bytes({'u', ';', 0, 0x19, 2, 0, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 'i', 7}));
    CTable empty;
    r.ReadTable(empty, 0x2000);
    EXPECT_FALSE(empty.HasData());
    EXPECT_EQ(r.ReadFixnum(), 2);
}

TEST_F(MarshalRead, ColorDefaultsAndPacking)
{
    DictionaryScope c(r, classes);
    SymbolTable t;
    CWrite w(t, STYLE_PLAIN);
    w.WriteColor(255.9, -1.0, 128.0, 3e300);
    Load(w.Bytes());
    symbols.clear();
    EXPECT_EQ(r.ReadColor(0x2001), 0xFFu | 0xFFu << 8 | 0x80u << 16 | 0u << 24);

    // Another class gives 0 and is stepped over.
    symbols.clear();
    Load(bytes({'u', ':', 8, 'F', 'o', 'o', 6, 'x', 'i', 6}));
    EXPECT_EQ(r.ReadColor(0x2001), 0u);
    EXPECT_EQ(r.ReadFixnum(), 1);
}

TEST_F(MarshalRead, SkipsEveryValueType)
{
    std::vector<uint8_t> data = bytes({
        '[', 0x1A,                                            // array of 21
        '0', 'T',  'F', 'i', 0x02, 0xE8, 0x03,                // nil true false 1000
        'l', '+',  7,   1,   2,    3,    4,                   // bignum of 2 words
        'f', 8,    '1', '.', '5',                             // float "1.5"
        ':', 6,    's', ';', 0,                               // symbol, link
        '"', 7,    'h', 'i',                                  // string
        '@', 6,                                               // object link
        'I', '"',  6,   'x', 6,    ':',  6,    'E', 'T',      // string with encoding
        '{', 6,    'i', 6,   'i',  7,                         // hash {1=>2}
        '}', 0,    'i', 8,                                    // hash with default 3
        'o', ':',  6,   'O', 6,    ':',  7,    '@', 'v', '0', // object with one ivar
        'u', ':',  6,   'U', 7,    0,    0,                   // user data of 2 bytes
        'U', ':',  6,   'M', '[',  0,                         // user marshal
        'e', ':',  6,   'X', '[',  0,                         // extended
        'C', ':',  6,   'S', '"',  0,                         // user class
        '/', 6,    'a', 0,                                    // regexp
        'S', ':',  6,   'T', 6,    ':',  6,    'a', 'i', 6,   // struct
        'c', 6,    'K',                                       // class
        'i', 0x7F,                                            // the value after the array
    });
    Load(data);
    EXPECT_TRUE(r.SkipValue());
    EXPECT_EQ(r.ReadFixnum(), 122);
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(MarshalRead, NestingAndGarbageAreBounded)
{
    std::vector<uint8_t> deep;
    for (int i = 0; i < 100000; ++i)
        deep.insert(deep.end(), {'[', 6});
    Load(deep);
    EXPECT_FALSE(r.SkipValue());
    EXPECT_TRUE(r.AtEnd());

    Load(bytes({'[', 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 'i', 6})); // huge count, short data
    EXPECT_FALSE(r.SkipValue());
    EXPECT_TRUE(r.AtEnd());

    Load(bytes({'q'}));
    EXPECT_FALSE(r.SkipValue());
    EXPECT_EQ(r.ReadLong(), 0);
    EXPECT_EQ(r.ReadArray(), 0);
}

} // namespace
