// The About box's texts and geometry, without a toolkit.
#include "plotter/about/about_model.h"

#include <gtest/gtest.h>

namespace ondrix::about {
namespace {

TEST(AboutModel, TextsSetWhenTheDialogLoads) {
    EXPECT_EQ(Caption(), "About Ondrix");
    EXPECT_EQ(TitleText(), "Ondrix");
    EXPECT_EQ(VersionText(), "Version 3.0.3");
}

TEST(AboutModel, TwipsBecomePixelsAtFifteenEach) {
    EXPECT_EQ(Pixels(kClientWidth), 382);
    EXPECT_EQ(Pixels(kClientHeight), 237);
    const TwipBox ok = DesignOf(Control::cmdOK).box;
    EXPECT_EQ(Pixels(ok.left), 283);
    EXPECT_EQ(Pixels(ok.width), 84);
    EXPECT_EQ(DesignOf(Control::cmdOK).tabIndex, 0);
    EXPECT_STREQ(DesignOf(Control::cmdSysInfo).text, "&System Info...");
}

}  // namespace
}  // namespace ondrix::about
