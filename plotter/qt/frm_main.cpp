#include "plotter/qt/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <functional>

#include "ondrix/version.h"
#include "plotter/form/menu.h"
#include "plotter/qt/canvas_widget.h"
#include "plotter/qt/frm_about.h"
#include "plotter/qt/scroll_bar.h"
#include "plotter/qt/toolbar.h"

// The toolbar images and the program icon live in a resource compiled into
// this library; registering it here keeps the linker from dropping it.
static void RegisterIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace ondrix::qt {

using window::Control;

// The window's client area below the menu bar. Every size change runs the
// layout pass.
class ClientArea : public QWidget {
  public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) {}
    std::function<void()> resized;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (resized) resized();
    }
};

namespace {

QString IconPath(const char* name) {
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
}

QRect ToRect(const window::Box& box) {
    return QRect(box.left, box.top, box.width, box.height);
}

// Puts a control at its design box, widened where this platform's font needs
// more room for its caption.
void Place(QWidget* widget, Control control) {
    const window::Box& box = window::DesignOf(control).box;
    widget->setGeometry(box.left, box.top, std::max(box.width, widget->sizeHint().width()),
                        box.height);
}

// The shortcut's keys as Qt names them. Letters share their codes; F1 is 0x70.
QKeySequence KeysOf(const window::Shortcut& shortcut) {
    constexpr int kVirtualF1 = 0x70;
    const int code = static_cast<int>(shortcut.key);
    int key = 0;
    if (shortcut.key == window::Key::None) return QKeySequence();
    if (shortcut.key == window::Key::Enter) {
        key = Qt::Key_Return;
    } else if (code >= kVirtualF1 && code < kVirtualF1 + 24) {
        key = Qt::Key_F1 + (code - kVirtualF1);
    } else {
        key = code;
    }
    Qt::KeyboardModifiers modifiers;
    if (shortcut.modifiers & window::kCtrl) modifiers |= Qt::ControlModifier;
    if (shortcut.modifiers & window::kShift) modifiers |= Qt::ShiftModifier;
    if (shortcut.modifiers & window::kAlt) modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    RegisterIcons();
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(IconPath("ondrix")));
    BuildControls();
    BuildMenus();
    BuildToolbar();
    form_ = std::make_unique<window::MainForm>(*this, *Picture1_);
    form_->Form_Load();
}

frmMain::~frmMain() {
    // The About box is a window of its own; one still open goes with the main window.
    delete about_.data();
}

void frmMain::BuildControls() {
    client_ = new ClientArea(this);
    setCentralWidget(client_);

    Frame1_ = new QFrame(client_);
    // An etched border, drawn with whole device pixels: it stays whole at any
    // scale factor, where a styled panel can lose its top and left lines.
    Frame1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1_->setGeometry(ToRect(window::DesignOf(Control::Frame1).box));

    QFont formulaFont(window::kFormulaFontName, window::kFormulaFontPoints);
    formulaFont.setBold(window::kFormulaFontBold);
    for (int k = 0; k < draw::kFormulaCount; ++k) {
        Text1_[k] = new QLineEdit(Frame1_);
        Text1_[k]->setFont(formulaFont);
        Place(Text1_[k], window::Text1(k));
        connect(Text1_[k], &QLineEdit::returnPressed, this,
                [this, k] { form_->Text1_KeyPress(k, window::kEnterKeyCode); });

        Shape1_[k] = new QFrame(Frame1_);
        Shape1_[k]->setAutoFillBackground(true);
        QPalette swatch = Shape1_[k]->palette();
        swatch.setColor(QPalette::Window, QColor(QRgb(window::kShapeColors[k])));
        Shape1_[k]->setPalette(swatch);
        Place(Shape1_[k], window::Shape1(k));
    }
    Text1_[0]->setText(window::kStartFormula);

    Combo1_ = new QComboBox(Frame1_);
    for (const char* mode : window::kModes) Combo1_->addItem(mode);
    Place(Combo1_, Control::Combo1);
    Check1_ = new QCheckBox(window::kCheck1Caption, Frame1_);
    Place(Check1_, Control::Check1);
    Check3_ = new QCheckBox(window::kCheck3Caption, Frame1_);
    Place(Check3_, Control::Check3);

    Picture1_ = new CanvasWidget(client_);
    Picture1_->setGeometry(ToRect(window::DesignOf(Control::Picture1).box));
    connect(Picture1_, &CanvasWidget::mouseMoved, this,
            [this](double x, double y) { form_->Picture1_MouseMove(x, y); });
    // A new device pixel ratio scales the kept picture; a layout pass draws it
    // sharp again, as after a size change. Queued: the change is found while
    // the canvas draws or paints.
    connect(
        Picture1_, &CanvasWidget::resolutionChanged, this, [this] { form_->Form_Resize(); },
        Qt::QueuedConnection);

    VScroll1_ = new window::ScrollBar(Qt::Vertical, client_);
    HScroll1_ = new window::ScrollBar(Qt::Horizontal, client_);
    VScroll1_->setGeometry(ToRect(window::DesignOf(Control::VScroll1).box));
    HScroll1_->setGeometry(ToRect(window::DesignOf(Control::HScroll1).box));
    for (QScrollBar* bar : {VScroll1_, HScroll1_}) {
        bar->setRange(window::kScrollDesign.min, window::kScrollDesign.max);
        bar->setPageStep(window::kScrollDesign.largeChange);
        bar->setSingleStep(window::kScrollDesign.smallChange);
        bar->setValue(window::kScrollDesign.value);
    }
    connect(HScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { form_->HScroll1_Change(value); });
    connect(VScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { form_->VScroll1_Change(value); });

    Toolbar1_ = new Toolbar(client_);
    StatusBar1_ = new QStatusBar(client_);
    StatusBar1_->setSizeGripEnabled(false);
    statusText_ = new QLabel(StatusBar1_);
    StatusBar1_->addWidget(statusText_, 1);

    // Keyboard order by tab index among the controls that take the focus here
    // (a container in the chain would drag its children along).
    QWidget* previous = nullptr;
    for (const Control control : window::TabOrder()) {
        QWidget* widget = Widget(control);
        if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            widget->setFocus();
        previous = widget;
    }

    // Size changes while the controls are built come before the form exists.
    client_->resized = [this] {
        if (form_) form_->Form_Resize();
    };
}

void frmMain::BuildMenus() {
    QMenu* menu = nullptr;
    QString current;
    for (const window::MenuRow& row : window::kMenu) {
        if (current != row.menu) {
            current = row.menu;
            menu = menuBar()->addMenu(current);
        }
        if (row.caption == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(row.caption);
        action->setShortcut(KeysOf(row.shortcut));
        action->setShortcutContext(Qt::WindowShortcut);  // also while typing a formula
        action->setEnabled(row.enabled);
        const window::Command command = row.command;
        connect(action, &QAction::triggered, this, [this, command] { form_->RunCommand(command); });
        menuActions_.emplace_back(command, action);
    }
}

void frmMain::BuildToolbar() {
    for (int index = 1; index <= window::kToolbarEntries; ++index) {
        const window::ToolbarEntry& entry = window::kToolbar[index - 1];
        if (entry.caption == nullptr) {
            Toolbar1_->addSeparator();
            continue;
        }
        QAction* action = Toolbar1_->AddButton(QIcon(IconPath(entry.icon)), entry.caption);
        action->setEnabled(entry.enabled);
        connect(action, &QAction::triggered, this,
                [this, index] { form_->Toolbar1_ButtonClick(index); });
    }
}

QWidget* frmMain::Widget(Control control) const {
    switch (control) {
        case Control::Toolbar1:
            return Toolbar1_;
        case Control::Frame1:
            return Frame1_;
        case Control::Text1_0:
        case Control::Text1_1:
        case Control::Text1_2:
            return Text1_[static_cast<int>(control) - static_cast<int>(Control::Text1_0)];
        case Control::Shape1_0:
        case Control::Shape1_1:
        case Control::Shape1_2:
            return Shape1_[static_cast<int>(control) - static_cast<int>(Control::Shape1_0)];
        case Control::Combo1:
            return Combo1_;
        case Control::Check1:
            return Check1_;
        case Control::Check3:
            return Check3_;
        case Control::Picture1:
            return Picture1_;
        case Control::VScroll1:
            return VScroll1_;
        case Control::HScroll1:
            return HScroll1_;
        case Control::StatusBar1:
            return StatusBar1_;
    }
    return nullptr;
}

std::string frmMain::Text(int k) const {
    return Text1_[k]->text().toStdString();
}

void frmMain::SetText(int k, const std::string& text) {
    Text1_[k]->setText(QString::fromStdString(text));
}

bool frmMain::Checked(Control checkBox) const {
    const auto* box = qobject_cast<const QCheckBox*>(Widget(checkBox));
    return box && box->isChecked();
}

int frmMain::ListIndex() const {
    return Combo1_->currentIndex();
}

void frmMain::SetListIndex(int index) {
    Combo1_->setCurrentIndex(index);
}

void frmMain::SetGeometry(Control control, const window::Box& box) {
    if (QWidget* widget = Widget(control)) widget->setGeometry(ToRect(box));
}

void frmMain::SetScrollLimits(Control scrollBar, int min, int max) {
    if (auto* bar = qobject_cast<QScrollBar*>(Widget(scrollBar))) bar->setRange(min, max);
}

void frmMain::SetStatusText(const std::string& text) {
    statusText_->setText(QString::fromStdString(text));
}

window::Size frmMain::ClientSize() const {
    return {client_->width(), client_->height()};
}

window::Size frmMain::ScreenSize() const {
    constexpr window::Size kNoScreen{1024, 768};
    const QScreen* display = screen();
    if (!display) return kNoScreen;
    const QRect available = display->availableGeometry();
    return {available.width(), available.height()};
}

void frmMain::SetWindowBox(const window::Box& outer) {
    startBox_ = outer;
    PlaceWindow(QMargins());
}

void frmMain::PlaceWindow(const QMargins& frame) {
    if (!startBox_) return;
    const QScreen* display = screen();
    const QPoint origin = display ? display->availableGeometry().topLeft() : QPoint();
    const window::Geometry client = window::ClientGeometry(
        *startBox_, {frame.left(), frame.top(), frame.right(), frame.bottom()});
    resize(client.width, client.height);
    // A window's position is that of its frame.
    move(origin.x() + startBox_->left, origin.y() + startBox_->top);
}

void frmMain::FitStartFrame() {
    if (!startFramePending_) return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame.isNull()) return;
    startFramePending_ = false;
    PlaceWindow(frame);
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitStartFrame();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitStartFrame();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitStartFrame();
}

bool frmMain::Minimized() const {
    return isMinimized();
}

char frmMain::DecimalSeparator() const {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80)
        return static_cast<char>(point[0].unicode());
    return '.';
}

void frmMain::ShowAbout() {
    qt::ShowAbout(this, about_, windowIcon());
}

void frmMain::End() {
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) form_->Form_Resize();
}

QString frmMain::SimpleText() const {
    return statusText_->text();
}

QWidget* frmMain::Client() const {
    return client_;
}

frmAbout* frmMain::About() const {
    return about_.data();
}

QAction* frmMain::MenuAction(window::Command command) const {
    for (const auto& [c, action] : menuActions_)
        if (c == command) return action;
    return nullptr;
}

}  // namespace ondrix::qt
