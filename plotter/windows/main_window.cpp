#include "main_window.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "dpi.h"
#include "menu_bar.h"
#include "ondrix/version.h"
#include "plotter/form/commands.h"
#include "plotter/form/design.h"
#include "plotter/form/menu.h"
#include "resource_ids.h"
#include "routed_proc.h"
#include "wide_text.h"

namespace ondrix::win32 {

using window::Control;

namespace {

constexpr const wchar_t* kClassName = L"OndrixMain";
// Command ids: menu rows, toolbar buttons (by 1-based index) and controls.
constexpr int kMenuIdBase = 1000;
constexpr int kToolbarIdBase = 2000;
constexpr int kControlIdBase = 3000;
// The drop-down list of Combo1 opens below its box, this many design pixels tall.
constexpr int kComboListHeight = 120;
// The toolbar's image list holds images of the toolbar's image size at 100 %, 150 % and 200 %;
// the window picks the one for its DPI.
constexpr std::array<int, 3> kImageSizes{16, 24, 32};
// Pixels of the images that are not art hold this colour.
constexpr COLORREF kImageMask = RGB(192, 192, 192);
// The formula boxes' character set (Cyrillic, as designed).
constexpr BYTE kFormulaCharset = RUSSIAN_CHARSET;
constexpr int kPointsPerInch = 72;

int ControlId(Control control) {
    return kControlIdBase + static_cast<int>(control);
}

COLORREF ToColorRef(canvas::Rgb rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), about_(instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = RoutedProc<MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ONDRIX));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ONDRIX),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Wide(kTitle).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!window_) return;
    dpi_ = WindowDpi(window_);
    BuildMenus();
    CreateControls();
    BuildToolbar();
    for (const window::ControlDesign& design : window::kControls) {
        boxes_[static_cast<std::size_t>(design.control)] = design.box;
    }
    ApplyDpi();

    form_ = std::make_unique<window::MainForm>(*this, *picture1_);
    picture1_->mouseMoved = [this](double x, double y) { form_->Picture1_MouseMove(x, y); };
    about_.closed = [this] { QuitWhenLastWindowCloses(); };
    form_->Form_Load();
}

MainWindow::~MainWindow() {
    about_.closed = nullptr;
    if (window_) DestroyWindow(window_);
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (images_) ImageList_Destroy(images_);
    if (formulaFont_) DeleteObject(formulaFont_);
    if (controlFont_) DeleteObject(controlFont_);
    for (HBRUSH brush : shapeBrushes_) DeleteObject(brush);
}

void MainWindow::CreateControls() {
    // Created in tab order, which is the order the keyboard moves the focus in. The swatches
    // take no focus and come after; Frame1 comes last so that it lies below the controls it
    // holds.
    std::vector<const window::ControlDesign*> order;
    for (const window::ControlDesign& design : window::kControls) order.push_back(&design);
    const auto rank = [](const window::ControlDesign* design) {
        if (design->control == Control::Frame1) return INT_MAX;
        return design->tabIndex == window::kNoTabStop ? INT_MAX - 1 : design->tabIndex;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const auto* a, const auto* b) { return rank(a) < rank(b); });
    for (const window::ControlDesign* design : order) CreateControl(design->control);
    SetWindowTextW(text1_[0], Wide(window::kStartFormula).c_str());
    for (const char* mode : window::kModes) {
        SendMessageW(combo1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(mode).c_str()));
    }
    for (HWND bar : {vscroll1_, hscroll1_}) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = window::kScrollDesign.min;
        info.nMax = window::kScrollDesign.max;
        info.nPos = window::kScrollDesign.value;
        SetScrollInfo(bar, SB_CTL, &info, FALSE);
    }
    // One part across the whole bar shows the one text; unlike the bar's simple mode its
    // text can be read back on every system.
    int parts[] = {-1};
    SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
}

void MainWindow::CreateControl(Control control) {
    const auto create = [&](DWORD exStyle, const wchar_t* windowClass, const wchar_t* text,
                            DWORD style) {
        return CreateWindowExW(exStyle, windowClass, text,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))),
                               instance_, nullptr);
    };
    switch (control) {
        case Control::Text1_0:
        case Control::Text1_1:
        case Control::Text1_2: {
            const int k = static_cast<int>(control) - static_cast<int>(Control::Text1_0);
            text1_[k] = create(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL);
            SetWindowSubclass(text1_[k], FormulaBoxProc, static_cast<UINT_PTR>(k),
                              reinterpret_cast<DWORD_PTR>(this));
            break;
        }
        case Control::Shape1_0:
        case Control::Shape1_1:
        case Control::Shape1_2: {
            const int k = static_cast<int>(control) - static_cast<int>(Control::Shape1_0);
            shape1_[k] = create(0, L"STATIC", L"", 0);
            shapeBrushes_[k] = CreateSolidBrush(ToColorRef(window::kShapeColors[k]));
            break;
        }
        case Control::Check1:
            check1_ = create(0, L"BUTTON", Wide(window::kCheck1Caption).c_str(),
                             WS_TABSTOP | BS_AUTOCHECKBOX);
            break;
        case Control::Check3:
            check3_ = create(0, L"BUTTON", Wide(window::kCheck3Caption).c_str(),
                             WS_TABSTOP | BS_AUTOCHECKBOX);
            break;
        case Control::Combo1:
            combo1_ = create(0, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
            break;
        case Control::Picture1:
            picture1_ = std::make_unique<CanvasWindow>(instance_, window_, ControlId(control));
            break;
        case Control::VScroll1:
            vscroll1_ = create(0, L"SCROLLBAR", L"", WS_TABSTOP | SBS_VERT);
            break;
        case Control::HScroll1:
            hscroll1_ = create(0, L"SCROLLBAR", L"", WS_TABSTOP | SBS_HORZ);
            break;
        case Control::Toolbar1:
            toolbar_ = create(
                0, TOOLBARCLASSNAME, nullptr,
                TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER);
            break;
        case Control::StatusBar1:
            statusBar_ = create(0, STATUSCLASSNAME, nullptr, CCS_NORESIZE | CCS_NOPARENTALIGN);
            break;
        case Control::Frame1:
            frame_ = create(0, L"BUTTON", L"", BS_GROUPBOX);
            SetWindowSubclass(frame_, FrameProc, 0, 0);
            break;
    }
}

void MainWindow::BuildMenus() {
    MenuBar bar = BuildMenuBar(kMenuIdBase);
    SetMenu(window_, bar.menu);
    accelerators_ = bar.accelerators;
}

void MainWindow::BuildToolbar() {
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    std::vector<std::wstring> captions(window::kToolbarEntries);
    std::vector<TBBUTTON> buttons(window::kToolbarEntries);
    for (int index = 1; index <= window::kToolbarEntries; ++index) {
        const window::ToolbarEntry& entry = window::kToolbar[index - 1];
        TBBUTTON& button = buttons[index - 1];
        button.idCommand = kToolbarIdBase + index;
        if (!entry.caption) {
            button.fsStyle = BTNS_SEP;
            continue;
        }
        captions[index - 1] = Wide(entry.caption);
        button.iBitmap = entry.image - 1;
        button.fsState = entry.enabled ? TBSTATE_ENABLED : 0;
        button.fsStyle = BTNS_BUTTON;
        button.iString = reinterpret_cast<INT_PTR>(captions[index - 1].c_str());
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
}

void MainWindow::ApplyDpi() {
    HFONT controlFont = CreateMessageFont(dpi_);
    LOGFONTW formula{};
    formula.lfHeight = -MulDiv(window::kFormulaFontPoints, static_cast<int>(dpi_), kPointsPerInch);
    formula.lfWeight = window::kFormulaFontBold ? FW_BOLD : FW_NORMAL;
    formula.lfCharSet = kFormulaCharset;
    const std::wstring face = Wide(window::kFormulaFontName);
    face.copy(formula.lfFaceName, LF_FACESIZE - 1);
    HFONT formulaFont = CreateFontIndirectW(&formula);
    for (HWND control : {check1_, check3_, combo1_, frame_, toolbar_, statusBar_}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
    }
    for (HWND box : text1_) {
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(formulaFont), FALSE);
    }
    if (controlFont_) DeleteObject(controlFont_);
    if (formulaFont_) DeleteObject(formulaFont_);
    controlFont_ = controlFont;
    formulaFont_ = formulaFont;
    picture1_->SetDpi(dpi_);

    // The toolbar's images at the size nearest the DPI, not larger.
    const int wanted = ToDevice(window::kToolIconSize, dpi_);
    int size = kImageSizes[0];
    for (int candidate : kImageSizes) {
        if (candidate <= wanted) size = candidate;
    }
    HIMAGELIST images =
        ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, window::kToolbarImages, 0);
    for (const char* icon : window::kToolbarImageIcons) {
        const std::wstring name = Wide(std::string(icon) + "_" + std::to_string(size));
        auto* bitmap = static_cast<HBITMAP>(
            LoadImageW(instance_, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ImageList_AddMasked(images, bitmap, kImageMask);
        DeleteObject(bitmap);
    }
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    if (images_) ImageList_Destroy(images_);
    images_ = images;
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(ToDevice(window::kToolButtonWidth, dpi_),
                            ToDevice(window::kToolButtonHeight, dpi_)));
    FitToolbarButtons();

    for (const window::ControlDesign& design : window::kControls) {
        SetGeometry(design.control, boxes_[static_cast<std::size_t>(design.control)]);
    }
}

void MainWindow::FitToolbarButtons() {
    // Each button as wide as the shared rule makes it for its caption in this font.
    HDC dc = GetDC(toolbar_);
    HGDIOBJ old = SelectObject(dc, controlFont_);
    for (int index = 1; index <= window::kToolbarEntries; ++index) {
        const window::ToolbarEntry& entry = window::kToolbar[index - 1];
        if (!entry.caption) continue;
        const std::wstring caption = Wide(entry.caption);
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(
            ToDevice(window::ToolButtonWidth(ToDesign(static_cast<int>(extent.cx), dpi_)), dpi_));
        SendMessageW(toolbar_, TB_SETBUTTONINFOW, kToolbarIdBase + index,
                     reinterpret_cast<LPARAM>(&info));
    }
    SelectObject(dc, old);
    ReleaseDC(toolbar_, dc);
}

HWND MainWindow::ControlHandle(Control control) const {
    switch (control) {
        case Control::Toolbar1:
            return toolbar_;
        case Control::Frame1:
            return frame_;
        case Control::Text1_0:
        case Control::Text1_1:
        case Control::Text1_2:
            return text1_[static_cast<int>(control) - static_cast<int>(Control::Text1_0)];
        case Control::Shape1_0:
        case Control::Shape1_1:
        case Control::Shape1_2:
            return shape1_[static_cast<int>(control) - static_cast<int>(Control::Shape1_0)];
        case Control::Combo1:
            return combo1_;
        case Control::Check1:
            return check1_;
        case Control::Check3:
            return check3_;
        case Control::Picture1:
            return picture1_ ? picture1_->Handle() : nullptr;
        case Control::VScroll1:
            return vscroll1_;
        case Control::HScroll1:
            return hscroll1_;
        case Control::StatusBar1:
            return statusBar_;
    }
    return nullptr;
}

RECT MainWindow::DeviceRect(const window::Box& box) const {
    return {ToDevice(box.left, dpi_), ToDevice(box.top, dpi_), ToDevice(box.left + box.width, dpi_),
            ToDevice(box.top + box.height, dpi_)};
}

std::string MainWindow::Text(int k) const {
    const int length = GetWindowTextLengthW(text1_[k]);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(text1_[k], text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Narrow(text);
}

void MainWindow::SetText(int k, const std::string& text) {
    SetWindowTextW(text1_[k], Wide(text).c_str());
}

bool MainWindow::Checked(Control checkBox) const {
    return SendMessageW(ControlHandle(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MainWindow::ListIndex() const {
    const LRESULT index = SendMessageW(combo1_, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void MainWindow::SetListIndex(int index) {
    SendMessageW(combo1_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindow::SetGeometry(Control control, const window::Box& box) {
    boxes_[static_cast<std::size_t>(control)] = box;
    const window::ControlDesign& design = window::DesignOf(control);
    window::Box onClient = box;
    if (design.inFrame) {
        const window::Box& frame = boxes_[static_cast<std::size_t>(Control::Frame1)];
        onClient.left += frame.left;
        onClient.top += frame.top;
    }
    RECT r = DeviceRect(onClient);
    if (control == Control::Picture1) {
        picture1_->Place(r, box.width, box.height, DeviceRatio(dpi_));
        return;
    }
    if (control == Control::Combo1) r.bottom = r.top + ToDevice(kComboListHeight, dpi_);
    MoveWindow(ControlHandle(control), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    if (control == Control::Frame1) {
        // The controls it holds move with it.
        for (const window::ControlDesign& held : window::kControls) {
            if (held.inFrame)
                SetGeometry(held.control, boxes_[static_cast<std::size_t>(held.control)]);
        }
    }
}

void MainWindow::SetScrollLimits(Control scrollBar, int min, int max) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    SetScrollInfo(ControlHandle(scrollBar), SB_CTL, &info, TRUE);
}

void MainWindow::SetStatusText(const std::string& text) {
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

window::Size MainWindow::ClientSize() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {ToDesign(client.right, dpi_), ToDesign(client.bottom, dpi_)};
}

window::Size MainWindow::ScreenSize() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    return {ToDesign(work.right - work.left, dpi_), ToDesign(work.bottom - work.top, dpi_)};
}

void MainWindow::SetWindowBox(const window::Box& outer) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT r = DeviceRect(outer);
    SetWindowPos(window_, nullptr, monitor.rcWork.left + r.left, monitor.rcWork.top + r.top,
                 r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::FrameContentWidth() const {
    // The frame's controls keep their design sizes; the group box adds its edge.
    int content = 0;
    for (const window::ControlDesign& held : window::kControls) {
        if (!held.inFrame) continue;
        const window::Box& box = boxes_[static_cast<std::size_t>(held.control)];
        content = std::max(content, box.left + box.width);
    }
    return content + ToDesign(GetSystemMetrics(SM_CXEDGE), dpi_);
}

int MainWindow::MenuBarHeight() const {
    return ToDesign(GetSystemMetrics(SM_CYMENU), dpi_);
}

void MainWindow::SetMinimumSize(const window::Size& least) {
    minimumSize_ = least;
}

bool MainWindow::Minimized() const {
    return IsIconic(window_) != FALSE;
}

char MainWindow::DecimalSeparator() const {
    wchar_t separator[4] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) == 2 &&
        separator[0] < 0x80) {
        return static_cast<char>(separator[0]);
    }
    return '.';
}

void MainWindow::ShowAbout() {
    about_.Show(window_);
}

void MainWindow::End() {
    about_.Close();
    if (window_) DestroyWindow(window_);
}

void MainWindow::QuitWhenLastWindowCloses() {
    if (!window_ && !about_.Handle()) PostQuitMessage(0);
}

void MainWindow::Show(int showCommand) {
    if (!window_) return;
    const bool laidOut = shown_;
    ShowWindow(window_, showCommand);
    // The first layout pass comes when the window is first shown; where showing it raised no
    // size change, it runs here.
    if (!laidOut && !shown_ && form_) {
        shown_ = true;
        form_->Form_Resize();
    }
    SetFocus(text1_[0]);
}

bool MainWindow::PreTranslate(MSG& message) {
    if (about_.PreTranslate(message)) return true;
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (TranslateAcceleratorW(window_, accelerators_, &message)) return true;
#ifdef ONDRIX_TEST_BUILD
    const bool testKeys = message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) &&
                          (GetKeyState(VK_SHIFT) & 0x8000);
    if (testKeys && message.wParam == VK_F9) {
        DumpState();
        return true;
    }
    if (testKeys && message.wParam == VK_F2) {
        ResizeClientForTest();
        return true;
    }
#endif
    return IsDialogMessageW(window_, &message) != FALSE;
}

void MainWindow::OnScroll(HWND bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(bar, SB_CTL, &info)) return;
    int value = info.nPos;
    switch (request) {
        case SB_LINEUP:  // SB_LINELEFT
            value -= window::kScrollDesign.smallChange;
            break;
        case SB_LINEDOWN:  // SB_LINERIGHT
            value += window::kScrollDesign.smallChange;
            break;
        case SB_PAGEUP:
            value -= window::kScrollDesign.largeChange;
            break;
        case SB_PAGEDOWN:
            value += window::kScrollDesign.largeChange;
            break;
        case SB_TOP:
            value = info.nMin;
            break;
        case SB_BOTTOM:
            value = info.nMax;
            break;
        case SB_THUMBPOSITION:  // the end of a drag; nothing runs while the thumb moves
            value = info.nTrackPos;
            break;
        default:
            return;
    }
    value = std::clamp(value, info.nMin, info.nMax);
    if (value == info.nPos) return;
    SetScrollPos(bar, SB_CTL, value, TRUE);
    if (bar == hscroll1_) {
        form_->HScroll1_Change(value);
    } else {
        form_->VScroll1_Change(value);
    }
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (lParam == 0 && id >= kMenuIdBase && id < kMenuIdBase + window::kMenuRows) {
        const window::MenuRow& row = window::kMenu[id - kMenuIdBase];
        if (HIWORD(wParam) == 1) {
            form_->KeyDown(row.shortcut.key, row.shortcut.modifiers);  // a shortcut key
        } else {
            form_->RunCommand(row.command);  // the item, chosen in the menu
        }
        return;
    }
    if (reinterpret_cast<HWND>(lParam) == toolbar_ && id > kToolbarIdBase &&
        id <= kToolbarIdBase + window::kToolbarEntries) {
        form_->Toolbar1_ButtonClick(id - kToolbarIdBase);
    }
}

LRESULT CALLBACK MainWindow::FormulaBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR index, DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter reaches the box instead of pressing a default button.
            LRESULT code = DefSubclassProc(box, message, wParam, lParam);
            const auto* queued = reinterpret_cast<const MSG*>(lParam);
            if (queued && queued->message == WM_KEYDOWN && queued->wParam == VK_RETURN) {
                code |= DLGC_WANTALLKEYS;
            }
            return code;
        }
        case WM_CHAR:
            if (self->form_)
                self->form_->Text1_KeyPress(static_cast<int>(index), static_cast<int>(wParam));
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, FormulaBoxProc, index);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR) {
    switch (message) {
        case WM_ERASEBKGND: {
            // A group box paints only its border; the window clips its children out of its own
            // background, so the frame fills its inside itself. The controls it holds lie above
            // it and are clipped out.
            RECT inside;
            GetClientRect(frame, &inside);
            FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(frame, FrameProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(frame, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    switch (message) {
        case WM_SIZE:
            if (form_) {
                if (IsWindowVisible(window_)) shown_ = true;
                form_->Form_Resize();
            }
            return 0;
        case WM_COMMAND:
            if (form_) OnCommand(wParam, lParam);
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (form_ && lParam) OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            for (int k = 0; k < draw::kFormulaCount; ++k) {
                if (reinterpret_cast<HWND>(lParam) == shape1_[k]) {
                    return reinterpret_cast<LRESULT>(shapeBrushes_[k]);
                }
            }
            break;
        case WM_ACTIVATE:
            // The control that had the focus gets it back when the window is active again,
            // as in a dialog.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) lastFocus_ = focus;
                return 0;
            }
            if (lastFocus_ && IsChild(window_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_GETMINMAXINFO: {
            // The window's outer size for the smallest client area below the menu bar.
            RECT outer{0, 0, ToDevice(minimumSize_.width, dpi_),
                       ToDevice(std::max(0, minimumSize_.height - MenuBarHeight()), dpi_)};
            AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                               TRUE, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
            return 0;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            ApplyDpi();
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (form_) form_->Form_Resize();
            return 0;
        }
        case WM_DESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            QuitWhenLastWindowCloses();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ondrix::win32
