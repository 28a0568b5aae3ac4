// The About box as a window: texts, geometry, closing, the single instance and its button.

#include "plotter/qt/frm_about.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "tests/about/fake_key_lookup.h"

namespace ondrix {
namespace {

using qt::frmAbout;
using qt::ShowAbout;

QIcon TestIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    return QIcon(pixmap);
}

template <typename T>
T* Child(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Runs the deletions that closing a dialog has queued.
void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(FrmAbout, ShowsTitleVersionAndTexts) {
    frmAbout dialog(TestIcon());
    EXPECT_EQ(dialog.windowTitle(), "About Ondrix");
    EXPECT_EQ(Child<QLabel>(&dialog, "lblTitle")->text(), "Ondrix");
    EXPECT_EQ(Child<QLabel>(&dialog, "lblVersion")->text(), "Version 3.0.3");
    EXPECT_EQ(Child<QLabel>(&dialog, "lblDescription")->text(),
              "use abs(x), sin(x), log(x), mod(x), fix(x), int(x), tan(x) functions, other "
              "examples: x^2, x/4, pi, 1/sin(x) e t.c.");
    EXPECT_EQ(Child<QLabel>(&dialog, "lblDisclaimer")->text(), "Warning: use on own risk");
    EXPECT_FALSE(Child<QLabel>(&dialog, "Label1")->text().isEmpty());
    EXPECT_EQ(Child<QPushButton>(&dialog, "cmdOK")->text(), "OK");
    EXPECT_EQ(Child<QPushButton>(&dialog, "cmdSysInfo")->text(), "&System Info...");
    EXPECT_FALSE(Child<QLabel>(&dialog, "picIcon")->pixmap().isNull());
}

TEST(FrmAbout, FixedClientAreaAndControlPlaces) {
    frmAbout dialog(TestIcon());
    EXPECT_EQ(dialog.size(), QSize(382, 237));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);

    const struct {
        const char* name;
        QRect rect;
    } places[] = {
        {"picIcon", {16, 16, 18, 18}},         {"lblTitle", {70, 16, 115, 32}},
        {"Label1", {72, 40, 129, 17}},         {"lblVersion", {70, 64, 259, 15}},
        {"lblDescription", {72, 94, 259, 59}}, {"Line1_1", {6, 163, 371, 1}},
        {"Line1_0", {7, 164, 370, 2}},         {"lblDisclaimer", {17, 175, 258, 55}},
        {"cmdOK", {283, 175, 84, 23}},         {"cmdSysInfo", {284, 205, 83, 23}},
    };
    for (const auto& place : places) {
        EXPECT_EQ(Child<QWidget>(&dialog, place.name)->geometry(), place.rect) << place.name;
    }
}

TEST(FrmAbout, EveryTextFitsItsLabel) {
    frmAbout dialog(TestIcon());
    for (const char* name :
         {"lblTitle", "Label1", "lblVersion", "lblDescription", "lblDisclaimer"}) {
        QLabel* label = Child<QLabel>(&dialog, name);
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000),
                                                               Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->width()) << name;
        EXPECT_LE(needed.height(), label->height()) << name;
    }
}

struct CloseCase {
    const char* name;
    std::function<void(frmAbout*)> act;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class FrmAboutCloses : public ::testing::TestWithParam<CloseCase> {};

TEST_P(FrmAboutCloses, AndIsDeleted) {
    QPointer<frmAbout> instance;
    ShowAbout(nullptr, instance, TestIcon());
    ASSERT_TRUE(QTest::qWaitForWindowActive(instance));
    EXPECT_EQ(instance->focusWidget(), instance->findChild<QPushButton*>("cmdOK"));

    GetParam().act(instance);
    FlushDeletes();
    EXPECT_TRUE(instance.isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FrmAboutCloses,
    ::testing::Values(
        CloseCase{"OkButton", [](frmAbout* d) { d->findChild<QPushButton*>("cmdOK")->click(); }},
        CloseCase{"Escape", [](frmAbout* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }},
        CloseCase{"Return", [](frmAbout* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }},
        CloseCase{"Enter", [](frmAbout* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Enter); }},
        CloseCase{"CloseBox", [](frmAbout* d) { d->close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowAbout, KeepsOneModelessInstance) {
    QWidget owner;
    owner.show();
    QPointer<frmAbout> instance;
    frmAbout* first = ShowAbout(&owner, instance, TestIcon());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    EXPECT_EQ(ShowAbout(&owner, instance, TestIcon()), first);
    // A window of its own, opened over the owner.
    EXPECT_EQ(first->parentWidget(), nullptr);
    EXPECT_TRUE(owner.frameGeometry().contains(first->frameGeometry().center()));

    first->close();
    FlushDeletes();
    ASSERT_TRUE(instance.isNull());
    frmAbout* second = ShowAbout(&owner, instance, TestIcon());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->windowTitle(), "About Ondrix");
    EXPECT_TRUE(second->isVisible());
    second->close();
    FlushDeletes();
}

TEST(FrmAbout, SystemInfoButtonStartsToolEachTime) {
    testing::FakeKeyLookup lookup;
    lookup.Set(kMsinfoKey, kMsinfoPathValue, kRegSz, std::string("/usr/bin/hardinfo") + '\0');
    std::vector<std::string> launches;
    int messages = 0;
    frmAbout dialog(TestIcon());
    SysInfoDeps deps;
    deps.lookup = &lookup;
    deps.launch = [&](const std::string& program) {
        launches.push_back(program);
        return true;
    };
    deps.showMessage = [&](const std::string&, const std::string&) { ++messages; };
    dialog.SetSysInfoDeps(deps);

    QPushButton* button = Child<QPushButton>(&dialog, "cmdSysInfo");
    button->click();
    button->click();
    EXPECT_EQ(launches, (std::vector<std::string>{"/usr/bin/hardinfo", "/usr/bin/hardinfo"}));
    EXPECT_EQ(messages, 0);
}

}  // namespace
}  // namespace ondrix
