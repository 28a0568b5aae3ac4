#include "plotter/qt/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <functional>

#include "ondrix/version.h"
#include "plotter/qt/frm_about.h"
#include "plotter/qt/canvas_widget.h"
#include "plotter/form/layout.h"
#include "plotter/form/readout.h"
#include "plotter/qt/scroll_bar.h"
#include "plotter/qt/toolbar.h"

// The toolbar images and the program icon live in a resource compiled into
// this library; registering it here keeps the linker from dropping it.
static void RegisterIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace ondrix::window {

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

constexpr const char* kModes[] = {"Draw sum", "Don't draw sum", "Draw sum only", "Draw mult",
                                  "Draw mult only"};
constexpr const char* kStartFormula = "x";
constexpr int kFormulaFontPoints = 12;

// Design positions inside the frame, in pixels (left, top, width, height).
struct Box {
    int left, top, width, height;
};
constexpr Box kText1[] = {{11, 16, 249, 28}, {11, 48, 249, 28}, {11, 80, 249, 25}};
constexpr Box kShape1[] = {{8, 16, 3, 25}, {8, 48, 3, 25}, {8, 80, 3, 25}};
constexpr QRgb kShapeColors[] = {qRgb(0, 0, 128), qRgb(0, 128, 0), qRgb(128, 0, 0)};
constexpr Box kCombo1{280, 16, 137, 21};
constexpr Box kCheck1{280, 48, 129, 17};
constexpr Box kCheck3{280, 80, 153, 17};
constexpr int kDesignFrameWidth = 513;

// Puts a control at its design box, widened where this platform's font needs
// more room for its caption.
void Place(QWidget* widget, const Box& box) {
    widget->setGeometry(box.left, box.top, std::max(box.width, widget->sizeHint().width()),
                        box.height);
}

char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80)
        return static_cast<char>(point[0].unicode());
    return '.';
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    RegisterIcons();
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(":/icons/ondrix.svg"));
    BuildControls();
    BuildMenus();
    BuildToolbar();
    plotter_ = std::make_unique<draw::Plotter>(*Picture1_, *this);
    plotter_->Engine().SetDecimalSeparator(LocaleDecimalSeparator());
    Form_Load();
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
    Frame1_->setGeometry(0, kFrameTop, kDesignFrameWidth, kFrameHeight);

    QFont formulaFont("Arial", kFormulaFontPoints);
    formulaFont.setBold(true);
    for (int k = 0; k < draw::kFormulaCount; ++k) {
        Text1_[k] = new QLineEdit(Frame1_);
        Text1_[k]->setFont(formulaFont);
        Place(Text1_[k], kText1[k]);
        connect(Text1_[k], &QLineEdit::returnPressed, this, [this] { RunCommand(Command::Draw); });

        Shape1_[k] = new QFrame(Frame1_);
        Shape1_[k]->setAutoFillBackground(true);
        QPalette swatch = Shape1_[k]->palette();
        swatch.setColor(QPalette::Window, QColor(kShapeColors[k]));
        Shape1_[k]->setPalette(swatch);
        Place(Shape1_[k], kShape1[k]);
    }
    Text1_[0]->setText(kStartFormula);

    Combo1_ = new QComboBox(Frame1_);
    for (const char* mode : kModes) Combo1_->addItem(mode);
    Place(Combo1_, kCombo1);
    Check1_ = new QCheckBox("Don't clear the screen", Frame1_);
    Place(Check1_, kCheck1);
    Check3_ = new QCheckBox("Dots, not lines", Frame1_);
    Place(Check3_, kCheck3);

    Picture1_ = new canvas::CanvasWidget(client_);
    Picture1_->setGeometry(0, kPictureTop, kDesignPictureSize, kDesignPictureSize);
    connect(Picture1_, &canvas::CanvasWidget::mouseMoved, this, &frmMain::Picture1_MouseMove);
    // A new device pixel ratio scales the kept picture; a layout pass draws it
    // sharp again, as after a size change. Queued: the change is found while
    // the canvas draws or paints.
    connect(Picture1_, &canvas::CanvasWidget::resolutionChanged, this, &frmMain::Form_Resize,
            Qt::QueuedConnection);

    VScroll1_ = new ScrollBar(Qt::Vertical, client_);
    HScroll1_ = new ScrollBar(Qt::Horizontal, client_);
    VScroll1_->setGeometry(kDesignPictureSize - 1, kPictureTop, kScrollBarThickness,
                           kDesignPictureSize);
    HScroll1_->setGeometry(0, kPictureTop + kDesignPictureSize - 1, kDesignPictureSize,
                           kScrollBarThickness);
    for (QScrollBar* bar : {VScroll1_, HScroll1_}) {
        bar->setRange(view::kScrollMin, view::kScrollMax);
        bar->setPageStep(view::kScrollLargeChange);
        bar->setSingleStep(view::kScrollSmallChange);
        bar->setValue(0);
    }
    connect(HScroll1_, &QScrollBar::valueChanged, this, &frmMain::HScroll1_Change);
    connect(VScroll1_, &QScrollBar::valueChanged, this, &frmMain::VScroll1_Change);

    Toolbar1_ = new Toolbar(client_);
    StatusBar1_ = new QStatusBar(client_);
    StatusBar1_->setSizeGripEnabled(false);
    statusText_ = new QLabel(StatusBar1_);
    StatusBar1_->addWidget(statusText_, 1);

    // Keyboard order: the formula boxes first, so the first one has the focus.
    QWidget::setTabOrder(Text1_[0], Text1_[1]);
    QWidget::setTabOrder(Text1_[1], Text1_[2]);
    QWidget::setTabOrder(Text1_[2], Check1_);
    QWidget::setTabOrder(Check1_, VScroll1_);
    QWidget::setTabOrder(VScroll1_, HScroll1_);
    QWidget::setTabOrder(HScroll1_, Toolbar1_);
    QWidget::setTabOrder(Toolbar1_, Check3_);
    QWidget::setTabOrder(Check3_, Combo1_);
    Text1_[0]->setFocus();

    client_->resized = [this] {
        PlaceDockedBars();
        Form_Resize();
    };
}

void frmMain::BuildMenus() {
    struct Item {
        const char* menu;
        const char* caption;
        QKeySequence shortcut;
        Command command;
        bool enabled;
    };
    const Item items[] = {
        {"File", "New", QKeySequence(Qt::CTRL | Qt::Key_N), Command::NewGraph, true},
        {"File", "Open", QKeySequence(Qt::CTRL | Qt::Key_O), Command::None, false},
        {"File", "Save", QKeySequence(Qt::CTRL | Qt::Key_S), Command::None, false},
        {"File", "Save As...", QKeySequence(), Command::None, false},
        {"File", nullptr, QKeySequence(), Command::None, true},
        {"File", "Exit", QKeySequence(), Command::Exit, true},
        {"Edit", "Draw", QKeySequence(Qt::Key_F5), Command::Draw, true},
        {"Edit", "Clear Screen", QKeySequence(Qt::Key_F7), Command::ClearScreen, true},
        {"Edit", "Reset Scale", QKeySequence(Qt::Key_F8), Command::ResetScale, true},
        {"View", "Zoom In X", QKeySequence(Qt::Key_F11), Command::ZoomInX, true},
        {"View", "Zoom Out X", QKeySequence(Qt::Key_F12), Command::ZoomOutX, true},
        {"View", nullptr, QKeySequence(), Command::None, true},
        {"View", "Zoom In Y", QKeySequence(Qt::CTRL | Qt::Key_F11), Command::ZoomInY, true},
        {"View", "Zoom Out Y", QKeySequence(Qt::CTRL | Qt::Key_F12), Command::ZoomOutY, true},
        {"Help", "About", QKeySequence(), Command::About, true},
    };
    QMenu* menu = nullptr;
    QString current;
    for (const Item& item : items) {
        if (current != item.menu) {
            current = item.menu;
            menu = menuBar()->addMenu(current);
        }
        if (item.caption == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.caption);
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);  // also while typing a formula
        action->setEnabled(item.enabled);
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        menuActions_.emplace_back(command, action);
    }
}

void frmMain::BuildToolbar() {
    for (int index = 1; index <= kToolbarEntries; ++index) {
        const ToolbarEntry& entry = kToolbar[index - 1];
        if (entry.caption == nullptr) {
            Toolbar1_->addSeparator();
            continue;
        }
        QAction* action = Toolbar1_->AddButton(QIcon(entry.icon), entry.caption);
        action->setEnabled(entry.enabled);
        connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
    }
}

void frmMain::Form_Load() {
    PlaceAtStart(QMargins());
    Combo1_->setCurrentIndex(draw::kDontDrawSum);
    plotter_->ResetScale();
    plotter_->View().Loaded = true;
}

void frmMain::PlaceAtStart(const QMargins& frame) {
    const QScreen* display = screen();
    const QRect available = display ? display->availableGeometry() : QRect(0, 0, 1024, 768);
    const Geometry outer = StartGeometry(available.width(), available.height());
    const Geometry client =
        ClientGeometry(outer, {frame.left(), frame.top(), frame.right(), frame.bottom()});
    resize(client.width, client.height);
    // A window's position is that of its frame.
    move(available.left() + outer.left, available.top() + outer.top);
}

void frmMain::FitStartFrame() {
    if (!startFramePending_) return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame.isNull()) return;
    startFramePending_ = false;
    PlaceAtStart(frame);
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

void frmMain::PlaceDockedBars() {
    const int width = client_->width();
    Toolbar1_->setGeometry(0, 0, width, kToolbarHeight);
    StatusBar1_->setGeometry(0, std::max(0, client_->height() - kStatusBarHeight), width,
                             kStatusBarHeight);
}

void frmMain::Form_Resize() {
    if (isMinimized() || !Loaded()) return;
    const Layout l = ComputeLayout(client_->width(), client_->height());
    Frame1_->resize(l.frameWidth, Frame1_->height());
    Picture1_->resize(l.pictureWidth, l.pictureHeight);
    VScroll1_->setGeometry(l.vscrollLeft, VScroll1_->y(), VScroll1_->width(), l.vscrollHeight);
    HScroll1_->setGeometry(HScroll1_->x(), l.hscrollTop, l.hscrollWidth, HScroll1_->height());
    plotter_->CanvasResized();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) Form_Resize();
}

std::string frmMain::FormulaText(int k) const {
    return Text1_[k]->text().toStdString();
}
bool frmMain::DontClearScreen() const {
    return Check1_->isChecked();
}
bool frmMain::DotsNotLines() const {
    return Check3_->isChecked();
}
int frmMain::Mode() const {
    return Combo1_->currentIndex();
}

void frmMain::ClearFormulas() {
    for (QLineEdit* box : Text1_) box->setText("");
}

void frmMain::RunCommand(Command command) {
    switch (command) {
        case Command::None:
            break;
        case Command::NewGraph:
            plotter_->NewGraph();
            break;
        case Command::Exit:
            QApplication::closeAllWindows();
            QApplication::quit();
            break;
        case Command::Draw:
            plotter_->Draw();
            break;
        case Command::ClearScreen:
            plotter_->ClearScreen();
            break;
        case Command::ResetScale:
            plotter_->ResetScale();
            break;
        case Command::ZoomInX:
            plotter_->ZoomInX();
            break;
        case Command::ZoomOutX:
            plotter_->ZoomOutX();
            break;
        case Command::ZoomInY:
            plotter_->ZoomInY();
            break;
        case Command::ZoomOutY:
            plotter_->ZoomOutY();
            break;
        case Command::About:
            ShowAbout(this, about_, windowIcon());
            break;
    }
}

void frmMain::Toolbar1_ButtonClick(int index) {
    RunCommand(ToolbarCommand(index));
}

void frmMain::HScroll1_Change(int value) {
    plotter_->HorizontalScroll(value, hLimits_);
    HScroll1_->setRange(hLimits_.Min, hLimits_.Max);
}

void frmMain::VScroll1_Change(int value) {
    plotter_->VerticalScroll(value, vLimits_);
    VScroll1_->setRange(vLimits_.Min, vLimits_.Max);
}

void frmMain::Picture1_MouseMove(float x, float y) {
    statusText_->setText(
        QString::fromStdString(ReadoutText(x, -y, plotter_->Engine().DecimalSeparator())));
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

QAction* frmMain::MenuAction(Command command) const {
    for (const auto& [c, action] : menuActions_)
        if (c == command) return action;
    return nullptr;
}

}  // namespace ondrix::window
