#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "plotter/draw/curves.h"
#include "plotter/draw/grid.h"
#include "plotter/qt/canvas_widget.h"
#include "plotter/qt/frm_about.h"
#include "plotter/qt/frm_main.h"
#include "plotter/qt/qt_text_painter.h"
#include "plotter/qt/toolbar.h"
#include "tests/support/image_probe.h"

namespace ondrix::qt {

using window::Command;
namespace {

using testing::CountColor;
using testing::Opaque;

struct Window : ::testing::Test {
    frmMain window;

    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }

    QImage Image() { return PictureImage(window.Picture1()->Canvas()); }

    void CheckLayoutInvariants() {
        const auto* picture = window.Picture1();
        EXPECT_EQ(window.VScroll1()->x() + 1, picture->width());
        EXPECT_EQ(window.VScroll1()->height(), picture->height());
        EXPECT_EQ(window.HScroll1()->width(), picture->width());
        EXPECT_EQ(window.HScroll1()->y() + 1, picture->y() + picture->height());
        EXPECT_EQ(window.Frame1()->width(), std::max(0, window.Client()->width() - 10));
    }
};

TEST_F(Window, StartState) {
    EXPECT_EQ(window.windowTitle(), "Ondrix");
    EXPECT_EQ(window.Combo1()->currentText(), "Don't draw sum");
    EXPECT_FALSE(window.Check1()->isChecked());
    EXPECT_FALSE(window.Check3()->isChecked());
    EXPECT_EQ(window.Text1(0)->text(), "x");
    EXPECT_EQ(window.Text1(1)->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), window.Text1(0));
    EXPECT_TRUE(window.Form().Loaded());
    // The line y = x in dark blue, the red axes, and nothing in the other colours.
    EXPECT_GT(CountColor(Image(), Opaque(draw::kCurveColors[0])), 100);
    EXPECT_EQ(CountColor(Image(), Opaque(draw::kCurveColors[1])), 0);
    EXPECT_GT(CountColor(Image(), Opaque(draw::kAxisColor)), 100);
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().XScale, 33.36 / window.Picture1()->width());
    CheckLayoutInvariants();
}

TEST_F(Window, LayoutHoldsAfterAnyResize) {
    for (const auto& [w, h] : {std::pair{657, 761}, std::pair{300, 250}, std::pair{1, 1},
                               std::pair{0, 0}, std::pair{1200, 900}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        window.Client()->resize(w, h);
        QApplication::processEvents();
        CheckLayoutInvariants();
    }
    window.Client()->resize(657, 761);
    EXPECT_EQ(window.Picture1()->width(), 639);
    EXPECT_EQ(window.Picture1()->height(), 556);
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().XScale, 33.36 / 639);
}

TEST_F(Window, MinimiseRunsNoLayoutRestoreRedraws) {
    window.Picture1()->Cls();
    window.showMinimized();
    QApplication::processEvents();
    window.Form().Form_Resize();  // a pass while minimised does nothing
    EXPECT_EQ(CountColor(Image(), Opaque(draw::kCurveColors[0])), 0);
    window.showNormal();
    QApplication::processEvents();
    CheckLayoutInvariants();
    EXPECT_GT(CountColor(Image(), Opaque(draw::kCurveColors[0])), 100);
}

TEST_F(Window, ShortcutsWorkInsideAFormulaBox) {
    struct Case {
        QKeySequence keys;
        double (*probe)(const view::View&);
        double expected;
    };
    const Case cases[] = {
        {QKeySequence(Qt::Key_F11), [](const view::View& v) { return v.XMax; }, 8.34},
        {QKeySequence(Qt::CTRL | Qt::Key_F11), [](const view::View& v) { return v.YMax; }, 5},
        {QKeySequence(Qt::Key_F8), [](const view::View& v) { return v.XMax; }, 16.68},
    };
    window.Text1(1)->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toString().toStdString());
        QTest::keySequence(window.Text1(1), c.keys);
        EXPECT_DOUBLE_EQ(c.probe(window.Form().Plotter().View()), c.expected);
    }
    // F7 clears the curves; Ctrl+N empties the boxes and draws the empty view.
    QTest::keySequence(window.Text1(1), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(CountColor(Image(), Opaque(draw::kCurveColors[0])), 0);
    QTest::keySequence(window.Text1(1), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(window.Text1(0)->text(), "");
}

TEST_F(Window, EnterInAnyBoxDrawsAllThree) {
    window.Text1(1)->setText("1");
    window.Text1(2)->setText("-1");
    window.Picture1()->Cls();
    QTest::keyClick(window.Text1(1), Qt::Key_Return);
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(CountColor(Image(), Opaque(draw::kCurveColors[k])), 100) << k;
}

TEST_F(Window, ToolbarButtonsRunTheirCommands) {
    const QList<QAction*> actions = window.Toolbar1()->actions();
    ASSERT_EQ(actions.size(), window::kToolbarEntries);
    EXPECT_FALSE(actions[1]->isEnabled());  // Open
    EXPECT_FALSE(actions[2]->isEnabled());  // Save
    EXPECT_TRUE(actions[3]->isSeparator());
    EXPECT_EQ(actions[4]->text(), "Draw");
    EXPECT_EQ(actions[12]->text(), "ZoomOutY");

    actions[8]->trigger();  // ZoomInX
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().XMin, -8.34);
    actions[12]->trigger();  // ZoomOutY
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().YMin, -20);
}

TEST_F(Window, MenusCarryTheirShortcuts) {
    struct Case {
        Command command;
        const char* caption;
        QKeySequence keys;
        bool enabled;
    };
    const Case cases[] = {
        {Command::NewGraph, "New", QKeySequence(Qt::CTRL | Qt::Key_N), true},
        {Command::Draw, "Draw", QKeySequence(Qt::Key_F5), true},
        {Command::ClearScreen, "Clear Screen", QKeySequence(Qt::Key_F7), true},
        {Command::ResetScale, "Reset Scale", QKeySequence(Qt::Key_F8), true},
        {Command::ZoomInY, "Zoom In Y", QKeySequence(Qt::CTRL | Qt::Key_F11), true},
        {Command::ZoomOutX, "Zoom Out X", QKeySequence(Qt::Key_F12), true},
        {Command::Exit, "Exit", QKeySequence(), true},
        {Command::About, "About", QKeySequence(), true},
    };
    for (const Case& c : cases) {
        const QAction* action = window.MenuAction(c.command);
        ASSERT_NE(action, nullptr) << c.caption;
        EXPECT_EQ(action->text(), c.caption);
        EXPECT_EQ(action->shortcut(), c.keys) << c.caption;
        EXPECT_EQ(action->isEnabled(), c.enabled);
    }
    // A chosen item runs its command.
    window.MenuAction(Command::ZoomOutX)->trigger();
    EXPECT_DOUBLE_EQ(window.Form().Plotter().View().XMax, 33.36);
}

TEST_F(Window, ScrollBarsPanTheView) {
    struct Case {
        bool horizontal;
        int value;
        double low, high;
        int max;
    };
    const Case cases[] = {
        {true, 1, -16.58, 16.78, 168},
        {false, 20, -8, 12, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        QScrollBar* bar = c.horizontal ? window.HScroll1() : window.VScroll1();
        bar->setValue(c.value);
        const view::View& v = window.Form().Plotter().View();
        EXPECT_NEAR(c.horizontal ? v.XMin : v.YMin, c.low, 1e-9);
        EXPECT_NEAR(c.horizontal ? v.XMax : v.YMax, c.high, 1e-9);
        EXPECT_EQ(bar->maximum(), c.max);
        EXPECT_EQ(bar->minimum(), -100);
    }
}

TEST_F(Window, ReadoutAtTheTopLeftCorner) {
    window.Form().Plotter().ResetScale();
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), QPointF(0, 0), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window.Picture1(), &move);
    EXPECT_EQ(window.SimpleText(), "-16.68 10");
}

TEST_F(Window, StartSizeAndPlaceIncludeTheFrame) {
    // The offscreen platform draws a frame of its own, like a window manager.
    ASSERT_NE(window.frameGeometry(), window.geometry());
    const QRect screen = window.screen()->availableGeometry();
    const QRect outer = window.frameGeometry();
    EXPECT_EQ(outer.width(), static_cast<int>(0.75 * screen.width()));
    EXPECT_EQ(outer.height(), static_cast<int>(0.75 * screen.height()));
    EXPECT_EQ(outer.left() - screen.left(), (screen.width() - outer.width()) / 2);
    EXPECT_EQ(outer.top() - screen.top(), (screen.height() - outer.height()) / 2);
}

TEST_F(Window, TabReachesTheScrollBarsInTabIndexOrder) {
    // Tab indexes 0, 1, 2, 3, then the scroll bars 5 and 6, then 10 and 11;
    // the canvas, the toolbar, the status bar and the frame take no focus.
    QWidget* const order[] = {window.Text1(0), window.Text1(1),   window.Text1(2),
                              window.Check1(), window.VScroll1(), window.HScroll1(),
                              window.Check3(), window.Combo1(),   window.Text1(0)};
    window.Text1(0)->setFocus();
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        ASSERT_EQ(QApplication::focusWidget(), order[i]) << i;
        QTest::keyClick(order[i], Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), order[std::size(order) - 1]);
    QTest::keyClick(window.Text1(0), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.Combo1());
}

TEST_F(Window, KeysPanOneChangePerPress) {
    struct Case {
        bool horizontal;
        Qt::Key key;
        int value;
        double low, high;  // the range after the key
        int min, max;      // the bar's limits after the key
    };
    const Case cases[] = {
        {true, Qt::Key_Right, 1, -16.58, 16.78, -100, 168},
        {true, Qt::Key_Left, 0, -16.68, 16.68, -100, 168},
        {true, Qt::Key_PageDown, 10, -15.68, 17.68, -100, 168},
        {true, Qt::Key_PageUp, 0, -16.68, 16.68, -100, 168},
        {true, Qt::Key_End, 168, 0.12, 33.48, -100, 335},
        {true, Qt::Key_Home, -100, -26.68, 6.68, -267, 335},
        {false, Qt::Key_Down, 1, -9.9, 10.1, -100, 101},
        {false, Qt::Key_Up, 0, -10, 10, -100, 101},
        {false, Qt::Key_PageDown, 10, -9, 11, -100, 110},
        {false, Qt::Key_Home, -100, -20, 0, -200, 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.horizontal ? "H " : "V ") + std::to_string(c.value));
        QScrollBar* bar = c.horizontal ? window.HScroll1() : window.VScroll1();
        bar->setFocus();
        int changes = 0;
        const auto counter = QObject::connect(bar, &QScrollBar::valueChanged, [&] { ++changes; });
        window.Picture1()->Cls();
        QTest::keyClick(bar, c.key);
        QObject::disconnect(counter);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(bar->value(), c.value);
        const view::View& v = window.Form().Plotter().View();
        EXPECT_NEAR(c.horizontal ? v.XMin : v.YMin, c.low, 1e-9);
        EXPECT_NEAR(c.horizontal ? v.XMax : v.YMax, c.high, 1e-9);
        EXPECT_EQ(bar->minimum(), c.min);
        EXPECT_EQ(bar->maximum(), c.max);
        // The view was drawn again.
        EXPECT_GT(CountColor(Image(), Opaque(draw::kGridColor)), 100);
    }
}

TEST_F(Window, ToolButtonsAreWholeAndAtLeastTheirDesignSize) {
    Toolbar* bar = window.Toolbar1();
    EXPECT_EQ(bar->height(), 38);
    const auto buttons = [bar] {
        std::vector<std::pair<QAction*, QWidget*>> list;
        for (QAction* action : bar->actions())
            if (!action->isSeparator()) list.emplace_back(action, bar->widgetForAction(action));
        return list;
    };
    ASSERT_EQ(buttons().size(), 10u);
    struct Case {
        int pixelSize;
        bool allDesignWidth;  // every caption fits 57 pixels
    };
    for (const Case c : {Case{8, true}, Case{11, false}, Case{30, false}}) {
        SCOPED_TRACE(c.pixelSize);
        QFont font = bar->font();
        font.setPixelSize(c.pixelSize);
        bar->setFont(font);
        QApplication::processEvents();
        for (const auto& [action, button] : buttons()) {
            SCOPED_TRACE(action->text().toStdString());
            const int caption = button->fontMetrics().horizontalAdvance(action->text());
            EXPECT_EQ(button->height(), 36);
            EXPECT_GE(button->width(), 57);
            EXPECT_GT(button->width(), caption);  // the caption is not cut
            if (c.allDesignWidth) {
                EXPECT_EQ(button->width(), 57);
            }
            // Short captions never widen their button.
            if (action->text().size() <= 3 && c.pixelSize <= 11) {
                EXPECT_EQ(button->width(), 57);
            }
            if (!button->isVisible()) continue;  // moved into the bar's overflow menu
            // The whole button, frame included, lies inside the bar.
            EXPECT_TRUE(bar->rect().contains(button->geometry())) << button->y();
        }
    }
}

// The program ends when its last window closes: the About box outlives a
// closed main window; "Exit" closes everything at once.
TEST(ProgramEnd, AboutBoxKeepsTheProgramRunningAfterTheMainWindowCloses) {
    frmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool ranAfterMainClosed = false;
    bool aboutOpenAfterMainClosed = false;
    bool gaveUp = false;
    QTimer::singleShot(0, [&] {
        window.Form().RunCommand(Command::About);
        window.close();
        // A quit that closing the window asked for would be handled here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::Quit);
        QTimer::singleShot(0, [&] {
            ranAfterMainClosed = true;
            aboutOpenAfterMainClosed = window.About() && window.About()->isVisible();
            if (window.About()) window.About()->close();
        });
    });
    // Only a safety net: the program is expected to end long before.
    QTimer::singleShot(20000, [&] {
        gaveUp = true;
        QApplication::quit();
    });
    QApplication::exec();
    EXPECT_TRUE(ranAfterMainClosed);
    EXPECT_TRUE(aboutOpenAfterMainClosed);
    EXPECT_FALSE(gaveUp);  // closing the About box, the last window, ended it
}

TEST(ProgramEnd, ExitClosesEveryWindow) {
    frmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool gaveUp = false;
    QTimer::singleShot(0, [&] {
        window.Form().RunCommand(Command::About);
        window.Form().RunCommand(Command::Exit);
    });
    QTimer::singleShot(20000, [&] {
        gaveUp = true;
        QApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(gaveUp);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.About() == nullptr || !window.About()->isVisible());
}

// Pixels that differ between the picture and a stored one (all of them when
// the sizes differ).
int DifferingPixels(const QImage& picture, const char* stored) {
    const QImage reference =
        QImage(QStringLiteral(ONDRIX_WINDOW_TEST_DATA "/") + QString::fromLatin1(stored))
            .convertToFormat(QImage::Format_RGB32);
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    if (reference.size() != actual.size()) return actual.width() * actual.height();
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            differing += actual.pixel(x, y) != reference.pixel(x, y);
    return differing;
}

// At device pixel ratio 1 the canvas draws pixel for pixel what it drew when
// it kept only logical pixels. The stored pictures hold the design client area
// (canvas 639 x 556) with the system's default font of Debian 12.
TEST_F(Window, PictureAtRatioOneIsUnchanged) {
    ASSERT_EQ(window.Picture1()->devicePixelRatioF(), 1);
    window.Client()->resize(657, 761);
    QApplication::processEvents();
    window.Form().Plotter().ResetScale();
    EXPECT_EQ(DifferingPixels(Image(), "start_view.png"), 0);
    window.Text1(1)->setText("Sin(x)*5");
    window.Text1(2)->setText("x^2/10");
    window.Form().Plotter().Draw();
    EXPECT_EQ(DifferingPixels(Image(), "three_curves.png"), 0);
}

TEST_F(Window, AboutOpensOnceAndModeless) {
    window.Form().RunCommand(Command::About);
    frmAbout* first = window.About();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->windowTitle(), "About Ondrix");
    window.Form().RunCommand(Command::About);
    EXPECT_EQ(window.About(), first);
    first->close();
}

}  // namespace
}  // namespace ondrix::qt
