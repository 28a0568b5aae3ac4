#include "about_box.h"

#include <algorithm>

#include "dpi.h"
#include "plotter/about/sys_info.h"
#include "resource_ids.h"
#include "routed_proc.h"
#include "system_tool.h"
#include "wide_text.h"

namespace ondrix::win32 {

namespace {

constexpr const wchar_t* kClassName = L"OndrixAbout";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kSysInfoId = 1001;
constexpr int kFirstLineId = 1100;
// The title is drawn larger and bold; the other texts in the message font.
constexpr int kTitlePixelSize = 20;
// The icon shown in picIcon, in design pixels.
constexpr int kIconSize = 16;

int ControlId(about::Control control) {
    switch (control) {
        case about::Control::cmdOK:
            return IDOK;
        case about::Control::cmdSysInfo:
            return kSysInfoId;
        default:
            return 1000 + static_cast<int>(control);
    }
}

// A twip box at `dpi`, in device pixels.
RECT DeviceRect(const about::TwipBox& box, UINT dpi) {
    const int left = ToDevice(about::Pixels(box.left), dpi);
    const int top = ToDevice(about::Pixels(box.top), dpi);
    return {left, top, ToDevice(about::Pixels(box.left + box.width), dpi),
            ToDevice(about::Pixels(box.top + box.height), dpi)};
}

}  // namespace

AboutBox::AboutBox(HINSTANCE instance) : instance_(instance), lookup_(MakeSystemKeyLookup()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = RoutedProc<AboutBox>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ONDRIX));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    for (std::size_t i = 0; i < about::kSeparator.size(); ++i) {
        const canvas::Rgb rgb = about::kSeparator[i].color;
        lineBrushes_[i] = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
}

AboutBox::~AboutBox() {
    closed = nullptr;
    Close();
    for (HBRUSH brush : lineBrushes_) DeleteObject(brush);
}

void AboutBox::Show(HWND owner) {
    if (window_) {
        if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        SetForegroundWindow(window_);
        return;
    }
    const UINT dpi = WindowDpi(owner);
    RECT frame{0, 0, ToDevice(about::Pixels(about::kClientWidth), dpi),
               ToDevice(about::Pixels(about::kClientHeight), dpi)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT over{};
    GetWindowRect(owner, &over);
    const int left = (over.left + over.right - width) / 2;
    const int top = (over.top + over.bottom - height) / 2;
    // No owner: the program ends only when its last window closes, and an open About box is
    // one of them.
    window_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, left, top, width, height, nullptr,
                              nullptr, instance_, this);
    if (!window_) return;
    CreateControls();
    Layout(WindowDpi(window_));
    Form_Load();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(ControlHandle(about::Control::cmdOK));
}

void AboutBox::Close() {
    if (window_) DestroyWindow(window_);
}

bool AboutBox::PreTranslate(MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        Close();
        return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

HWND& AboutBox::ControlHandle(about::Control control) {
    return controls_[static_cast<std::size_t>(control)];
}

void AboutBox::CreateControls() {
    // Created in tab order, which is the order the keyboard moves the focus in.
    std::array<const about::ControlDesign*, about::kControlCount> byTab{};
    for (std::size_t i = 0; i < byTab.size(); ++i) byTab[i] = &about::kControls[i];
    std::sort(byTab.begin(), byTab.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (const about::ControlDesign* design : byTab) {
        const wchar_t* windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
        switch (design->control) {
            case about::Control::picIcon:
                style = WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE;
                break;
            case about::Control::cmdOK:
                windowClass = L"BUTTON";
                style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
                break;
            case about::Control::cmdSysInfo:
                windowClass = L"BUTTON";
                style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
                break;
            default:
                break;
        }
        const std::wstring text = design->text ? Wide(design->text) : std::wstring();
        ControlHandle(design->control) = CreateWindowExW(
            0, windowClass, text.c_str(), style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(design->control))), instance_,
            nullptr);
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        lines_[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstLineId + i)),
                                    instance_, nullptr);
    }
}

void AboutBox::Layout(UINT dpi) {
    for (const about::ControlDesign& design : about::kControls) {
        const RECT r = DeviceRect(design.box, dpi);
        MoveWindow(ControlHandle(design.control), r.left, r.top, r.right - r.left, r.bottom - r.top,
                   TRUE);
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const about::LineDesign& line = about::kSeparator[i];
        const int left = ToDevice(about::Pixels(line.x1), dpi);
        const int right = ToDevice(about::Pixels(line.x2) + 1, dpi);
        MoveWindow(lines_[i], left, ToDevice(about::Pixels(line.y), dpi), right - left,
                   ToDevice(line.thickness, dpi), TRUE);
    }

    HFONT text = CreateMessageFont(dpi);
    LOGFONTW title{};
    GetObjectW(text, sizeof(title), &title);
    title.lfHeight = -ToDevice(kTitlePixelSize, dpi);
    title.lfWeight = FW_BOLD;
    HFONT titleFont = CreateFontIndirectW(&title);
    for (const about::ControlDesign& design : about::kControls) {
        HFONT font = design.control == about::Control::lblTitle ? titleFont : text;
        SendMessageW(ControlHandle(design.control), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                     TRUE);
    }
    if (textFont_) DeleteObject(textFont_);
    if (titleFont_) DeleteObject(titleFont_);
    textFont_ = text;
    titleFont_ = titleFont;

    const int iconSize = ToDevice(kIconSize, dpi);
    HICON icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ONDRIX), IMAGE_ICON,
                                               iconSize, iconSize, LR_DEFAULTCOLOR));
    SendMessageW(ControlHandle(about::Control::picIcon), STM_SETICON,
                 reinterpret_cast<WPARAM>(icon), 0);
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
}

void AboutBox::Form_Load() {
    SetWindowTextW(window_, Wide(about::Caption()).c_str());
    SetWindowTextW(ControlHandle(about::Control::lblVersion), Wide(about::VersionText()).c_str());
    SetWindowTextW(ControlHandle(about::Control::lblTitle), Wide(about::TitleText()).c_str());
}

void AboutBox::StartSysInfo() {
    SysInfoDeps deps;
    deps.lookup = lookup_.get();
    deps.fileExists = PlainFileExists;
    deps.launch = StartProgram;
    deps.showMessage = [this](const std::string& text, const std::string& caption) {
        ShowMessage(window_, text, caption);
    };
    ondrix::StartSysInfo(deps);
}

LRESULT AboutBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:      // OK, or Enter
                case IDCANCEL:  // Esc
                    Close();
                    return 0;
                case kSysInfoId:
                    StartSysInfo();
                    return 0;
                default:
                    break;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id >= kFirstLineId && id < kFirstLineId + static_cast<int>(lines_.size())) {
                return reinterpret_cast<LRESULT>(lineBrushes_[id - kFirstLineId]);
            }
            bool black = false;
            for (const about::ControlDesign& design : about::kControls) {
                if (ControlId(design.control) == id) black = design.blackText;
            }
            SetTextColor(dc, black ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            Layout(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            Close();
            return 0;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            controls_.fill(nullptr);
            lines_.fill(nullptr);
            if (textFont_) DeleteObject(textFont_);
            if (titleFont_) DeleteObject(titleFont_);
            if (icon_) DestroyIcon(icon_);
            textFont_ = titleFont_ = nullptr;
            icon_ = nullptr;
            if (closed) closed();
            break;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ondrix::win32
