// Window placements from config.ini brought onto a screen.
#include "project/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>

TEST(WindowPlacement, SizesAndPositionsLandOnAScreen)
{
    const std::vector<strPlacement> one = {{0, 0, 1000, 700}};
    const std::vector<strPlacement> two = {{0, 0, 1000, 700}, {1000, -200, 800, 600}};
    struct Case {
        const char* what;
        strPlacement wanted;
        std::vector<strPlacement> screens;
        strPlacement expected;
    } cases[] = {
        {"default fits", {32, 32, 640, 480}, one, {32, 32, 640, 480}},
        {"unreadable size reads 0", {32, 32, 0, 0}, one, {32, 32, 200, 150}},
        {"negative size", {32, 32, -5000, -5000}, one, {32, 32, 200, 150}},
        {"far left", {-100000, 32, 640, 480}, one, {0, 32, 640, 480}},
        {"huge palette", {672, 332, INT_MAX, INT_MAX}, one, {0, 0, 1000, 700}},
        {"runs off the bottom", {92, 512, 300, 400}, one, {92, 300, 300, 400}},
        {"huge position", {INT_MAX, INT_MAX, 250, 300}, one, {750, 400, 250, 300}},
        {"on the second screen", {1100, -100, 300, 200}, two, {1100, -100, 300, 200}},
        {"mostly on the second", {900, 0, 400, 300}, two, {1000, 0, 400, 300}},
        {"nearest screen when off all", {2500, -900, 300, 200}, two, {1500, -200, 300, 200}},
        {"no screens keeps the place", {-5, -5, 10, 10}, {}, {-5, -5, 200, 150}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampPlacement(c.wanted, 200, 150, c.screens), c.expected) << c.what;
}

TEST(WindowPlacement, AScreenSmallerThanTheMinimumWins)
{
    EXPECT_EQ(ClampPlacement({10, 10, 50, 50}, 400, 300, {{0, 0, 320, 240}}), (strPlacement{0, 0, 320, 240}));
}
