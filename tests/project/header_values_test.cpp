// Header and interval values out of range in the text formats are kept within what
// the binary file holds, so a conversion never wraps them.
#include "support/ProjectFixtures.h"

namespace {

struct strHeaderCase {
    const char* text;
    int base, total, edit, division, interval0, interval1;
};

const strHeaderCase kCases[] = {
    // Own text format: header line, then frames with intervals 70000 and -3.
    {"MEVK_TEX0072\r\nx\r\n\r\n1,0,0,0,65536,-7,0,2,16,0,0\r\n9\r\n1,70000\r\n1,-3\r\n9", 65535, 0, 0, 0, 65535, 0},
    {"MEVK_TEX0072\r\nx\r\n\r\n1,-1,0,-1,-5,0,0,2,16,0,0\r\n9\r\n1,3\r\n1,4\r\n9", 0, 0, 0, 0, 3, 4},
    {"MEVK_TEX0072\r\nx\r\n\r\n1,9,0,99,2,5,0,2,16,0,0\r\n9\r\n1,0\r\n1,65535\r\n9", 2, 5, 15, 3, 0, 65535},
    // Legacy text: base interval, angle mode, total interval; frame intervals.
    {"nani\r\n60,70000,0,-9\r\n1,70000\r\n1,-3\r\n", 65535, 0, 3, 0, 65535, 0},
    {"nani\r\n60,-5,1,12\r\n1,2\r\n1,65536\r\n", 0, 12, 4, 0, 2, 65535},
};

TEST(HeaderValues, AreKeptWithinTheBinaryFileOnReadAndConversion)
{
    for (const strHeaderCase& c : kCases) {
        SCOPED_TRACE(c.text);
        const auto p = LoadFrom(c.text);
        ASSERT_TRUE(p);
        const auto check = [&](const cAnimeData& q) {
            EXPECT_EQ(q.GetValue(AI_BASE_INTERVAL), c.base);
            EXPECT_EQ(q.GetValue(AI_TOTAL_INTERVAL), c.total);
            EXPECT_EQ(q.GetValue(AI_EDIT_FORMAT), c.edit);
            EXPECT_EQ(q.GetValue(AI_DIVISION_FORMAT), c.division);
            ASSERT_TRUE(q.GetFrame(0) && q.GetFrame(1));
            EXPECT_EQ(q.GetFrame(0)->interval, c.interval0);
            EXPECT_EQ(q.GetFrame(1)->interval, c.interval1);
            EXPECT_GE(q.SumIntervals(), 0);
        };
        check(*p);
        const auto binary = LoadFrom(SaveAs(*p, 0));
        ASSERT_TRUE(binary);
        check(*binary);
    }
}

} // namespace
