// The main window on a high-DPI screen. ctest runs this program at the scale
// factors 1, 1.5 and 2 (QT_SCALE_FACTOR); run by hand it sees the factor of
// its environment, 1 when none is set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <cmath>

#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
#include "plotter/qt/canvas_widget.h"
#include "plotter/qt/frm_main.h"
#include "plotter/qt/qt_text_painter.h"
#include "tests/support/image_probe.h"

namespace ondrix::qt {

using window::Command;
namespace {

using testing::Opaque;

double ScaleFactor() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
}

// Device pixels across a line one logical pixel wide, by scale factor.
int LineWidthAt(double factor) {
    return factor < 1.5 ? 1 : 2;
}

struct HighDpiWindow : ::testing::Test {
    frmMain window;

    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // A canvas of 640 x 556 logical pixels.
        window.Client()->resize(658, 761);
        QApplication::processEvents();
        window.Form().Plotter().ResetScale();
    }

    QImage Image() { return PictureImage(window.Picture1()->Canvas()); }
};

TEST_F(HighDpiWindow, CanvasKeepsOnePixelPerDevicePixel) {
    const double factor = ScaleFactor();
    ASSERT_EQ(window.Picture1()->devicePixelRatioF(), factor);
    // Layout and sampling step stay logical ...
    EXPECT_EQ(window.Picture1()->width(), 640);
    EXPECT_EQ(window.Picture1()->height(), 556);
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().XScale, 33.36 / 640);
    // ... the picture has the device pixels.
    EXPECT_EQ(Image().width(), static_cast<int>(640 * factor));
    EXPECT_EQ(Image().height(), static_cast<int>(556 * factor));
    EXPECT_EQ(Image().devicePixelRatio(), factor);
}

TEST_F(HighDpiWindow, CanvasShowsItsPicturePixelForPixel) {
    const QImage shown = window.Picture1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage kept = Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), kept.size());
    int differing = 0;
    for (int y = 0; y < kept.height(); ++y)
        for (int x = 0; x < kept.width(); ++x) differing += shown.pixel(x, y) != kept.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(HighDpiWindow, ReadoutStaysInLogicalPixels) {
    // A quarter of the canvas from its top-left corner: x -8.34, plane y 5.
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 139), QPointF(160, 139), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Picture1(), &move);
    EXPECT_EQ(window.SimpleText(), "-8.34 5");
}

TEST_F(HighDpiWindow, GridLinesAreAllEquallyWide) {
    // Device row of logical row 30, between the top grid lines and clear of
    // labels: the vertical grid lines cross it.
    const int row = static_cast<int>(30 * ScaleFactor());
    const QRgb grid = Opaque(draw::kGridColor);
    std::vector<int> runs;
    for (int x = 0; x < Image().width(); ++x) {
        if (Image().pixel(x, row) != grid) continue;
        if (x > 0 && Image().pixel(x - 1, row) == grid)
            ++runs.back();
        else
            runs.push_back(1);
    }
    // 17 lines from x = -16 to 16; the axis covers the one at 0.
    EXPECT_EQ(runs.size(), 16u);
    for (int run : runs) EXPECT_EQ(run, LineWidthAt(ScaleFactor()));
}

TEST_F(HighDpiWindow, FrameKeepsAllFourBorders) {
    const double factor = ScaleFactor();
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = window.palette().color(QPalette::Window).rgb();
    const QRect logical(window.Frame1()->mapTo(&window, QPoint(0, 0)), window.Frame1()->size());
    const int left = static_cast<int>(std::floor(logical.left() * factor));
    const int top = static_cast<int>(std::floor(logical.top() * factor));
    const int right = static_cast<int>(std::ceil((logical.right() + 1) * factor)) - 1;
    const int bottom = static_cast<int>(std::ceil((logical.bottom() + 1) * factor)) - 1;
    // A border is a line of device pixels, among the three at the edge, that
    // differs from the background along the middle of that side.
    const auto drawn = [&](bool horizontal, int from, int step) {
        for (int k = 0; k < 3; ++k) {
            const int at = from + k * step;
            const int first = horizontal ? left + (right - left) / 10 : top + (bottom - top) / 10;
            const int last =
                horizontal ? right - (right - left) / 10 : bottom - (bottom - top) / 10;
            int differing = 0;
            for (int i = first; i <= last; ++i)
                differing += (horizontal ? shot.pixel(i, at) : shot.pixel(at, i)) != background;
            if (differing >= 0.9 * (last - first + 1)) return true;
        }
        return false;
    };
    EXPECT_TRUE(drawn(true, top, 1)) << "top";
    EXPECT_TRUE(drawn(true, bottom, -1)) << "bottom";
    EXPECT_TRUE(drawn(false, left, 1)) << "left";
    EXPECT_TRUE(drawn(false, right, -1)) << "right";
}

TEST_F(HighDpiWindow, CurvesAndLabelsAreNotDoubledPixels) {
    if (ScaleFactor() != 2) GTEST_SKIP() << "the 2 x 2 pattern needs a factor of 2";
    // The line y = x of the start view.
    EXPECT_LT(testing::ShareInDoubledBlocks(Image(), Opaque(draw::kCurveColors[0])), 0.3);
    // The labels: every pixel that is neither background nor a line.
    const QRgb back = Opaque(window.Picture1()->Canvas().BackColor());
    const auto text = [back](QRgb p) {
        return p != back && p != Opaque(draw::kGridColor) && p != Opaque(draw::kAxisColor) &&
               p != Opaque(draw::kCurveColors[0]);
    };
    EXPECT_GT(testing::ShareOfMixedBlocks(Image(), text), 0.3);
}

// The pictures of the start view and of three curves at this scale factor,
// pixel for pixel as stored (drawn with the system's default font of Debian 12).
TEST_F(HighDpiWindow, PicturesAreUnchanged) {
    if (ScaleFactor() == 1) GTEST_SKIP() << "window_test compares the pictures at ratio 1";
    const QString suffix = QStringLiteral("@%1.png").arg(ScaleFactor());
    const auto differing = [&](const char* name) {
        const QString path = QStringLiteral(ONDRIX_WINDOW_TEST_DATA "/") + name + suffix;
        const QImage actual = Image().convertToFormat(QImage::Format_RGB32);
        const QImage stored = QImage(path).convertToFormat(QImage::Format_RGB32);
        if (stored.size() != actual.size()) return actual.width() * actual.height();
        int count = 0;
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                count += actual.pixel(x, y) != stored.pixel(x, y);
        return count;
    };
    EXPECT_EQ(differing("start_view"), 0);
    window.Text1(1)->setText("Sin(x)*5");
    window.Text1(2)->setText("x^2/10");
    window.Form().Plotter().Draw();
    EXPECT_EQ(differing("three_curves"), 0);
}

}  // namespace
}  // namespace ondrix::qt
