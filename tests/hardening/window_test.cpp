// The main window under hostile use: any text in a formula box, zooming far
// past what a canvas can show, scroll bars at the ends of their 16-bit range,
// and client areas from nothing to 20000 x 20000 pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <functional>
#include <string>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/draw/curves.h"
#include "plotter/qt/canvas_widget.h"
#include "plotter/qt/frm_main.h"
#include "plotter/qt/qt_text_painter.h"
#include "plotter/view/scroll.h"

// The last test asks for an image no machine can hold. Qt answers a failed
// allocation with a null image; under AddressSanitizer malloc must return null
// too instead of ending the program, or that answer could not be tested.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}

namespace ondrix::qt {

using window::Command;
namespace {

constexpr QRgb Opaque(canvas::Rgb c) {
    return 0xFF000000u | c;
}
const QRgb kBlue = Opaque(draw::kCurveColors[0]);
const QRgb kGreen = Opaque(draw::kCurveColors[1]);

// Pixels of one colour in one row, or in every row when row < 0. A full count
// reads every pixel, so it is kept for small images.
int CountColor(const QImage& image, QRgb color, int row = -1) {
    int count = 0;
    const int first = row < 0 ? 0 : row;
    const int last = row < 0 ? image.height() - 1 : row;
    for (int y = first; y <= last; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) count += line[x] == color;
    }
    return count;
}

// More zooms in one direction than it takes to reach the limit from the start
// view (about 1070 in, 1020 out).
constexpr int kZoomsPastTheLimit = 1100;

struct HostileWindow : ::testing::Test {
    frmMain window;

    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Client()->resize(400, 400);
        QApplication::processEvents();
    }

    const view::View& View() { return window.Form().Plotter().View(); }
    QImage Image() { return PictureImage(window.Picture1()->Canvas()); }

    // A view whose pixels the numbers can still tell apart.
    void ExpectViewUsable() {
        const int width = window.Picture1()->width();
        const int height = window.Picture1()->height();
        EXPECT_TRUE(view::PixelsApart(View().XMin, View().XMax, width))
            << View().XMin << " " << View().XMax;
        EXPECT_TRUE(view::PixelsApart(View().YMin, View().YMax, height))
            << View().YMin << " " << View().YMax;
        EXPECT_GT(View().XScale, 0);
        EXPECT_TRUE(std::isfinite(View().XScale));
    }

    // Back to the start view, where y = x is a long dark blue line.
    void ExpectRecovers() {
        window.Form().RunCommand(Command::ResetScale);
        ExpectViewUsable();
        EXPECT_GT(CountColor(Image(), kBlue), 100);
    }
};

TEST_F(HostileWindow, FormulaBoxTakesAnyText) {
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"a NUL", QString("x") + QChar(0) + QString("+1")},
        {"only NULs", QString(3, QChar(0))},
        {"invalid UTF-8 read into the box", QString::fromUtf8("x+\xFF\xFE\xC0\xAF")},
        {"a lone high surrogate", QString("x") + QChar(0xD800)},
        {"a lone low surrogate", QChar(0xDC00) + QString("+x")},
        {"letters beyond ASCII", QString::fromUtf8("x\xC3\xA9+\xE2\x82\xAC")},
        {"control characters", QString("x\t\r\n\x1b+1")},
        {"100 000 characters", QString(100'000, QChar('('))},
        {"10 000 parentheses", QString(10'000, QChar('(')) + "x" + QString(10'000, QChar(')'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.Text1(1)->setText(c.text);
        window.Form().RunCommand(Command::Draw);
        // The box that cannot be evaluated leaves gaps; the good one is drawn.
        EXPECT_EQ(CountColor(Image(), kGreen), 0);
        EXPECT_GT(CountColor(Image(), kBlue), 100);
    }
}

TEST_F(HostileWindow, ZoomsEachWayToTheLimit) {
    const struct {
        Command zoom, back;
        std::function<double(const view::View&)> width;
    } cases[] = {
        {Command::ZoomInX, Command::ZoomOutX, [](const view::View& v) { return v.XMax - v.XMin; }},
        {Command::ZoomOutX, Command::ZoomInX, [](const view::View& v) { return v.XMax - v.XMin; }},
        {Command::ZoomInY, Command::ZoomOutY, [](const view::View& v) { return v.YMax - v.YMin; }},
        {Command::ZoomOutY, Command::ZoomInY, [](const view::View& v) { return v.YMax - v.YMin; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.zoom));
        window.Form().RunCommand(Command::ResetScale);
        const double start = c.width(View());
        for (int i = 0; i < kZoomsPastTheLimit; ++i) window.Form().RunCommand(c.zoom);
        ExpectViewUsable();
        // At the limit a further zoom changes nothing; one step back still works.
        const double limit = c.width(View());
        window.Form().RunCommand(c.zoom);
        EXPECT_EQ(c.width(View()), limit);
        window.Form().RunCommand(c.back);
        EXPECT_NE(c.width(View()), limit);
        for (int i = 0; i < 100; ++i) window.Form().RunCommand(c.back);
        ExpectViewUsable();
        EXPECT_NE(c.width(View()), start);
        ExpectRecovers();
    }
}

TEST_F(HostileWindow, ScrollBarsAtTheEndsOfTheirRange) {
    // The zooms change the view alone; the bar's change redraws.
    const struct {
        const char* name;
        bool xAxis;
        view::Zoom zoom;
        int zooms;
    } views[] = {
        {"start view", true, view::Zoom::In, 0},
        {"zoomed out to the limit", true, view::Zoom::Out, kZoomsPastTheLimit},
        {"zoomed out in y", false, view::Zoom::Out, kZoomsPastTheLimit},
        {"zoomed in 20 times", true, view::Zoom::In, 20},
        {"zoomed in to the limit", true, view::Zoom::In, kZoomsPastTheLimit},
        {"zoomed in y to the limit", false, view::Zoom::In, kZoomsPastTheLimit},
    };
    for (const auto& v : views) {
        for (QScrollBar* bar : {window.HScroll1(), window.VScroll1()}) {
            for (int value :
                 {view::kScrollLimitHigh, view::kScrollLimitLow, 0, view::kScrollLimitHigh}) {
                SCOPED_TRACE(std::string(v.name) + (bar == window.HScroll1() ? " H " : " V ") +
                             std::to_string(value));
                window.Form().RunCommand(Command::ResetScale);
                view::View& plane = window.Form().Plotter().View();
                for (int i = 0; i < v.zooms; ++i) {
                    if (v.xAxis) {
                        view::ZoomX(plane, v.zoom, window.Picture1()->width());
                    } else {
                        view::ZoomY(plane, v.zoom, window.Picture1()->height());
                    }
                }
                bar->setRange(view::kScrollLimitLow, view::kScrollLimitHigh);
                bar->setValue(value);
                EXPECT_GE(bar->minimum(), view::kScrollLimitLow);
                EXPECT_LE(bar->maximum(), view::kScrollLimitHigh);
                EXPECT_LE(bar->minimum(), value);
                EXPECT_GE(bar->maximum(), value);
                EXPECT_EQ(bar->value(), value);
                ExpectViewUsable();
            }
        }
    }
    ExpectRecovers();
}

TEST_F(HostileWindow, ClientAreasFromNothingToHuge) {
    const struct {
        int width, height;
    } sizes[] = {{0, 0}, {1, 1}, {20000, 20000}, {1, 1}, {400, 400}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        window.Client()->resize(s.width, s.height);
        QApplication::processEvents();
        window.Form().RunCommand(Command::Draw);
        const CanvasWidget* picture = window.Picture1();
        EXPECT_GE(picture->width(), 0);
        EXPECT_GE(picture->height(), 0);
        EXPECT_EQ(Image().width(), std::max(1, picture->width()));
        EXPECT_EQ(Image().height(), std::max(1, picture->height()));
        if (picture->width() > 100 && picture->height() > 100) {
            // y = x crosses the middle row near x = 0.
            EXPECT_GT(CountColor(Image(), kBlue, picture->height() / 2), 0);
        }
    }
    ExpectRecovers();
}

// The client-area test above covers the huge size; the window itself would
// only add Qt's own backing store of the same size.
TEST_F(HostileWindow, WindowSizesDownToNothing) {
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{0, 500}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        window.resize(w, h);
        QApplication::processEvents();
        window.Form().RunCommand(Command::Draw);
        EXPECT_GE(window.Picture1()->width(), 0);
        EXPECT_EQ(Image().width(), std::max(1, window.Picture1()->width()));
    }
    window.resize(600, 700);
    QApplication::processEvents();
    ExpectRecovers();
}

// A canvas larger than memory allows gets no image from Qt; drawing on it must
// then do nothing rather than write through the missing image.
TEST(HostileCanvas, AnImageThatCannotBeAllocatedDrawsNothing) {
    constexpr int kHuge = 16'777'215;  // the largest size a widget may have
    for (const auto& [w, h] : {std::pair{kHuge, kHuge}, std::pair{kHuge, 2}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        canvas::PixelCanvas canvas(300, 300);
        canvas.Resize(w, h);
        canvas.SetScaleLeft(-10);
        canvas.SetScaleTop(-10);
        canvas.SetScaleWidth(20);
        canvas.SetScaleHeight(20);
        canvas.Cls();
        canvas.Line(-10, -10, 10, 10, draw::kCurveColors[0]);
        canvas.PSet(0, 0, draw::kCurveColors[1]);
        canvas.PSet(1, 1);
        canvas.Print("label");
        EXPECT_GE(canvas.DeviceWidth(), 1);
        canvas.Resize(300, 300);
        canvas.Line(-10, -10, 10, 10, draw::kCurveColors[0]);
        EXPECT_GT(CountColor(PictureImage(canvas), kBlue), 100);
    }
}

}  // namespace
}  // namespace ondrix::qt
