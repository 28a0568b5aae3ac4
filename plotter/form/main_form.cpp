#include "plotter/form/main_form.h"

#include <algorithm>

#include "plotter/form/layout.h"
#include "plotter/form/readout.h"

namespace ondrix::window {

MainForm::MainForm(Forms& forms, canvas::Surface& picture)
    : forms_(forms),
      plotter_(std::make_unique<draw::Plotter>(picture, static_cast<draw::Controls&>(*this))) {
    plotter_->Engine().SetDecimalSeparator(forms_.DecimalSeparator());
}

MainForm::~MainForm() = default;

void MainForm::Form_Load() {
    const Size screen = forms_.ScreenSize();
    forms_.SetWindowBox(StartGeometry(screen.width, screen.height));
    forms_.SetListIndex(kStartMode);
    plotter_->ResetScale();
    plotter_->View().Loaded = true;
}

void MainForm::DockBars(const Size& client) {
    forms_.SetGeometry(Control::Toolbar1, {0, 0, client.width, kToolbarHeight});
    forms_.SetGeometry(Control::StatusBar1, {0, std::max(0, client.height - kStatusBarHeight),
                                             client.width, kStatusBarHeight});
}

void MainForm::Form_Resize() {
    const Size client = forms_.ClientSize();
    DockBars(client);
    if (forms_.Minimized() || !Loaded()) return;
    const Layout l = ComputeLayout(client.width, client.height);
    forms_.SetGeometry(Control::Frame1, {0, kFrameTop, l.frameWidth, kFrameHeight});
    forms_.SetGeometry(Control::Picture1, {0, kPictureTop, l.pictureWidth, l.pictureHeight});
    forms_.SetGeometry(Control::VScroll1,
                       {l.vscrollLeft, kPictureTop, kScrollBarThickness, l.vscrollHeight});
    forms_.SetGeometry(Control::HScroll1, {0, l.hscrollTop, l.hscrollWidth, kScrollBarThickness});
    plotter_->CanvasResized();
}

void MainForm::RunCommand(Command command) {
    switch (command) {
        case Command::None:
            break;
        case Command::NewGraph:
            plotter_->NewGraph();
            break;
        case Command::Exit:
            forms_.End();
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
            forms_.ShowAbout();
            break;
    }
}

bool MainForm::KeyDown(Key key, unsigned modifiers) {
    const Command command = ShortcutCommand(key, modifiers);
    if (command == Command::None) return false;
    RunCommand(command);
    return true;
}

void MainForm::Toolbar1_ButtonClick(int index) {
    RunCommand(ToolbarCommand(index));
}

void MainForm::Text1_KeyPress(int, int keyCode) {
    if (keyCode == kEnterKeyCode) plotter_->Draw();
}

void MainForm::HScroll1_Change(int value) {
    plotter_->HorizontalScroll(value, hLimits_);
    forms_.SetScrollLimits(Control::HScroll1, hLimits_.Min, hLimits_.Max);
}

void MainForm::VScroll1_Change(int value) {
    plotter_->VerticalScroll(value, vLimits_);
    forms_.SetScrollLimits(Control::VScroll1, vLimits_.Min, vLimits_.Max);
}

void MainForm::Picture1_MouseMove(double x, double y) {
    forms_.SetStatusText(ReadoutText(x, -y, plotter_->Engine().DecimalSeparator()));
}

std::string MainForm::FormulaText(int k) const {
    return forms_.Text(k);
}

bool MainForm::DontClearScreen() const {
    return forms_.Checked(Control::Check1);
}

bool MainForm::DotsNotLines() const {
    return forms_.Checked(Control::Check3);
}

int MainForm::Mode() const {
    return forms_.ListIndex();
}

void MainForm::ClearFormulas() {
    for (int k = 0; k < draw::kFormulaCount; ++k) forms_.SetText(k, "");
}

}  // namespace ondrix::window
