// The Qt side of the canvas: text measured and drawn by Qt into the pixel
// canvas, and the widget's pointer report.
#include "plotter/qt/canvas_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <memory>
#include <tuple>
#include <utility>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/qt/qt_text_painter.h"
#include "tests/support/image_probe.h"

namespace ondrix::qt {
namespace {

using testing::Opaque;
using testing::Picture;

// The start view on the canvas.
void SetStartScale(canvas::Surface& s) {
    s.SetScaleLeft(-16.68f);
    s.SetScaleTop(-10.0f);
    s.SetScaleWidth(33.36f);
    s.SetScaleHeight(20.0f);
}

// A pixel canvas whose text Qt draws, at the application's default font.
struct TextCanvas {
    QtTextPainter text;
    canvas::PixelCanvas canvas;
    TextCanvas(int size, double ratio) : canvas(size, size, ratio) {
        canvas.SetTextPainter(&text);
        SetStartScale(canvas);
        canvas.Cls();
    }
};

// The text lies below and right of the current point, inside the extent that
// TextWidth and TextHeight give in user units (33.36 x 20 over 500 pixels).
TEST(QtTextPainter, DrawsBelowAndRightOfTheCurrentPointWithinItsExtent) {
    TextCanvas t(500, 1);
    canvas::PixelCanvas& canvas = t.canvas;
    canvas.PSet(0, 0);
    canvas.Print(" 88 ");
    const double right = 250 + canvas.TextWidth(" 88 ") * 500 / 33.36;
    const double bottom = 250 + canvas.TextHeight(" 88 ") * 500 / 20;
    EXPECT_GT(right, 255);
    EXPECT_GT(bottom, 255);
    int inked = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (canvas.Pixel(x, y) == Opaque(canvas.BackColor())) continue;
            ++inked;
            EXPECT_GE(x, 250);
            EXPECT_GE(y, 250);
            EXPECT_LT(x, right);
            EXPECT_LT(y, bottom);
        }
    }
    EXPECT_GT(inked, 10);
}

TEST(QtTextPainter, RendersAtDeviceResolution) {
    // The inked rows of " 10 " printed at the centre, at ratio 1 and 2.
    const auto printed = [](double ratio) {
        auto t = std::make_unique<TextCanvas>(200, ratio);
        t->canvas.PSet(0, 0);
        t->canvas.Print(" 10 ");
        return t;
    };
    const auto inkedRows = [](const canvas::PixelCanvas& canvas) {
        int first = -1;
        int last = -1;
        for (int y = 0; y < canvas.DeviceHeight(); ++y) {
            for (int x = 0; x < canvas.DeviceWidth(); ++x) {
                if (canvas.Pixel(x, y) == Opaque(canvas.BackColor())) continue;
                if (first < 0) first = y;
                last = y;
            }
        }
        return std::pair{first, last};
    };
    const auto single = printed(1);
    const auto twice = printed(2);
    const auto [top1, bottom1] = inkedRows(single->canvas);
    const auto [top2, bottom2] = inkedRows(twice->canvas);
    ASSERT_GE(top1, 100);  // below and right of the centre
    ASSERT_GE(top2, 200);
    // The same text, twice as many device pixels high ...
    EXPECT_NEAR(bottom2 - top2 + 1, 2 * (bottom1 - top1 + 1), 3);
    // ... and not the small picture doubled.
    const std::uint32_t back = Opaque(twice->canvas.BackColor());
    EXPECT_GT(testing::ShareOfMixedBlocks(Picture(twice->canvas),
                                          [back](std::uint32_t p) { return p != back; }),
              0.3);
}

TEST(CanvasWidget, ReportsThePointerInUserCoordinates) {
    CanvasWidget widget;
    widget.resize(500, 500);
    SetStartScale(widget);
    QSignalSpy spy(&widget, &CanvasWidget::mouseMoved);
    for (const auto& [px, py, x, y] :
         {std::tuple{0, 0, -16.68f, -10.0f}, std::tuple{250, 250, 0.0f, 0.0f}}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(px, py), QPointF(px, py), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
        ASSERT_FALSE(spy.isEmpty());
        const QList<QVariant> args = spy.takeLast();
        EXPECT_NEAR(args[0].toFloat(), x, 1e-4);
        EXPECT_NEAR(args[1].toFloat(), y, 1e-4);
    }
}

}  // namespace
}  // namespace ondrix::qt
