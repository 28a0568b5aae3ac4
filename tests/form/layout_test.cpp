#include "plotter/form/layout.h"

#include <gtest/gtest.h>

#include <utility>

#include "plotter/form/readout.h"

namespace ondrix::window {
namespace {

TEST(Layout, DesignClientArea) {
    const Layout l = ComputeLayout(657, 761);
    EXPECT_EQ(l.frameWidth, 647);
    EXPECT_EQ(l.pictureWidth, 639);
    EXPECT_EQ(l.pictureHeight, 556);
    EXPECT_EQ(l.vscrollLeft, 638);
    EXPECT_EQ(l.vscrollHeight, 556);
    EXPECT_EQ(l.hscrollTop, 713);
    EXPECT_EQ(l.hscrollWidth, 639);
}

TEST(Layout, NoSizeBelowZero) {
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{18, 205},
                               std::pair{-5, -5}, std::pair{20000, 20000}}) {
        const Layout l = ComputeLayout(w, h);
        EXPECT_GE(l.frameWidth, 0);
        EXPECT_GE(l.pictureWidth, 0);
        EXPECT_GE(l.pictureHeight, 0);
        EXPECT_EQ(l.vscrollLeft + 1, l.pictureWidth);
        EXPECT_EQ(l.hscrollTop + 1, kPictureTop + l.pictureHeight);
    }
}

TEST(Layout, StartGeometryIsThreeQuartersCentred) {
    const Geometry g = StartGeometry(1024, 768);
    EXPECT_EQ(g.width, 768);
    EXPECT_EQ(g.height, 576);
    EXPECT_EQ(g.left, 128);
    EXPECT_EQ(g.top, 96);
}

TEST(Layout, ClientAreaInsideTheFrame) {
    struct Case {
        Geometry outer;
        Margins frame;
        Geometry client;
    };
    const Case cases[] = {
        // A 1024 x 768 screen and a frame with a 24-pixel title bar.
        {{128, 96, 768, 576}, {1, 24, 1, 1}, {129, 120, 766, 551}},
        {{128, 96, 768, 576}, {0, 0, 0, 0}, {128, 96, 768, 576}},
        {{0, 0, 10, 10}, {8, 30, 8, 8}, {8, 30, 0, 0}},
    };
    for (const Case& c : cases) {
        const Geometry g = ClientGeometry(c.outer, c.frame);
        EXPECT_EQ(g.left, c.client.left);
        EXPECT_EQ(g.top, c.client.top);
        EXPECT_EQ(g.width, c.client.width);
        EXPECT_EQ(g.height, c.client.height);
    }
}

TEST(Readout, SevenDigitsAndTheDecimalSeparator) {
    struct Case {
        float x, y;
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {-16.68f, 10, '.', "-16.68 10"},
        {2.5f, 1.25f, '.', "2.5 1.25"},
        {2.5f, -1.25f, ',', "2,5 -1,25"},
        {1.0f / 3, 123456789.0f, '.', "0.3333333 1.234568E+08"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadoutText(c.x, c.y, c.separator), c.text);
}

}  // namespace
}  // namespace ondrix::window
