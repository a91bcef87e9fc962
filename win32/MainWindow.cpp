// SPDX-License-Identifier: MIT
#include "MainWindow.h"

#include "EditorText.h"
#include "HeaderEditorFilter.h"
#include "WideText.h"

#include <commctrl.h>
#include <shellapi.h>

namespace quillon::win32 {

namespace {

constexpr wchar_t windowClassName[] = L"QuillonMainWindow";
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; // fixed, close box only
constexpr DWORD windowExStyle = 0;

// The named font where it is installed, otherwise the first of the same kind that is.
const wchar_t* installedFamily(HDC dc, std::initializer_list<const wchar_t*> families) {
    for (const wchar_t* family : families) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(wanted.lfFaceName, family, LF_FACESIZE - 1);
        bool found = false;
        ::EnumFontFamiliesExW(
            dc, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
                *reinterpret_cast<bool*>(found) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        if (found)
            return family;
    }
    return L""; // the font mapper then picks by pitch and family
}

// 8.25 points is 11 pixels at 96 dots per inch.
HFONT makeFont(HDC dc, FontRole role, UINT dpi) {
    const bool fixed = role == FontRole::Fixed;
    const wchar_t* family =
        fixed ? installedFamily(dc, {L"Courier New", L"Liberation Mono", L"DejaVu Sans Mono"})
              : installedFamily(dc, {L"Tahoma", L"Liberation Sans", L"DejaVu Sans"});
    return ::CreateFontW(
        -::MulDiv(11, static_cast<int>(dpi), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        static_cast<DWORD>(fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS), family);
}

HWND createControl(HWND parent, HINSTANCE instance, const ControlLayout& layout) {
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (layout.kind) {
    case ControlKind::Frame:
        className = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
    case ControlKind::Label:
        // No access keys, and a path is drawn whole or shortened in its middle.
        style |= SS_NOPREFIX | SS_CENTERIMAGE | (layout.centred ? SS_CENTER : SS_LEFT);
        if (layout.id == LblROMFile)
            style |= SS_PATHELLIPSIS;
        if (layout.bordered)
            exStyle |= WS_EX_STATICEDGE;
        break;
    case ControlKind::Button:
        className = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case ControlKind::Editor:
        className = L"EDIT";
        style |= WS_TABSTOP | (layout.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL);
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    }
    if (!layout.enabled)
        style |= WS_DISABLED;
    return ::CreateWindowExW(exStyle, className, toUtf16(layout.caption).c_str(), style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                             instance, nullptr);
}

std::u16string windowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return std::u16string(text.begin(), text.end());
}

void setWindowText(HWND control, const std::u16string& text) {
    const std::wstring wide(text.begin(), text.end());
    ::SetWindowTextW(control, wide.c_str());
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : m_instance(instance), m_layout(mainWindowLayout()), m_picture(instance, L"LOGO"),
      m_commands(*this, m_dialog, m_messages) {}

MainWindow::~MainWindow() {
    if (m_window)
        ::DestroyWindow(m_window);
    ::DeleteObject(m_defaultFont);
    ::DeleteObject(m_fixedFont);
}

bool MainWindow::show(int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = static_cast<HICON>(
        ::LoadImageW(m_instance, L"IDI_ICON1", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(m_instance, L"IDI_ICON1", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName;
    ::RegisterClassExW(&windowClass);

    // Placed wherever the system puts a new window; sized once its dots per inch are known.
    m_window =
        ::CreateWindowExW(windowExStyle, windowClassName, L"Quillon", windowStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, 0, 0, nullptr, nullptr, m_instance, this);
    if (!m_window)
        return false;
    m_dialog.setOwner(m_window);
    m_messages.setOwner(m_window);
    createControls();
    ::DragAcceptFiles(m_window, TRUE);
    m_dpi = ::GetDpiForWindow(m_window);
    applyDpi();

    RECT frame{0, 0, scaled(ClientWidth), scaled(ClientHeight)};
    ::AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, m_dpi);
    ::SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_window, showCommand);
    m_lastFocus = control(CmdBrowse);
    ::SetFocus(m_lastFocus);
    return true;
}

void MainWindow::createControls() {
    for (const ControlLayout& layout : m_layout) {
        const HWND created = createControl(m_window, m_instance, layout);
        if (layout.kind != ControlKind::Editor || layout.fieldIndex < 0)
            continue;
        const auto& field = HeaderFieldTable[static_cast<std::size_t>(layout.fieldIndex)];
        ::SendMessageW(created, EM_LIMITTEXT, field.length, 0);
        watchHeaderEditor(created, field.index);
        if (layout.multiLine)
            setWindowText(created, utf16FromCodePoints(NameEditorInitialText));
    }
}

int MainWindow::scaled(int pixels) const { return ::MulDiv(pixels, static_cast<int>(m_dpi), 96); }

void MainWindow::applyDpi() {
    const HDC dc = ::GetDC(m_window);
    const HFONT defaultFont = makeFont(dc, FontRole::Default, m_dpi);
    const HFONT fixedFont = makeFont(dc, FontRole::Fixed, m_dpi);
    ::ReleaseDC(m_window, dc);
    for (const ControlLayout& layout : m_layout) {
        const HWND item = control(layout.id);
        ::SetWindowPos(item, nullptr, scaled(layout.box.left), scaled(layout.box.top),
                       scaled(layout.box.width), scaled(layout.box.height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(
            item, WM_SETFONT,
            reinterpret_cast<WPARAM>(layout.font == FontRole::Fixed ? fixedFont : defaultFont),
            TRUE);
        // Narrow margins, as the editors are sized for: sixteen characters of the fixed-pitch
        // font fill a line of a name editor, and four fill the checksum editor.
        if (layout.kind == ControlKind::Editor) {
            const int margin = layout.multiLine ? scaled(1) : 0;
            ::SendMessageW(item, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                           MAKELPARAM(margin, margin));
        }
    }
    ::DeleteObject(m_defaultFont);
    ::DeleteObject(m_fixedFont);
    m_defaultFont = defaultFont;
    m_fixedFont = fixedFont;
    ::InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        self->m_window = nullptr;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self = nullptr;
    }
    return self ? self->handleMessage(message, wParam, lParam)
                : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Enter and Escape reach here as IDOK and IDCANCEL: the window has no default and no
        // cancel button, so they do nothing.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == CmdBrowse)
            m_commands.browse();
        else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == CmdSave)
            m_commands.save();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focus = ::GetFocus(); focus && ::IsChild(m_window, focus))
                m_lastFocus = focus;
        } else if (m_lastFocus) {
            ::SetFocus(m_lastFocus);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(m_window, &paint);
        const RECT place{scaled(PictureBox.left), scaled(PictureBox.top),
                         scaled(PictureBox.left + PictureBox.width),
                         scaled(PictureBox.top + PictureBox.height)};
        m_picture.draw(dc, place);
        ::EndPaint(m_window, &paint);
        return 0;
    }
    case WM_DROPFILES:
        dropFiles(wParam);
        return 0;
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        applyDpi();
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void MainWindow::dropFiles(WPARAM dropped) {
    const auto drop = reinterpret_cast<HDROP>(dropped);
    // The editors take no drops: a file let go over one of them is not meant for the window.
    POINT at{};
    ::DragQueryPoint(drop, &at);
    const HWND target = ::ChildWindowFromPointEx(m_window, at, CWP_SKIPINVISIBLE);
    wchar_t className[8]{};
    if (target && target != m_window)
        ::GetClassNameW(target, className, 8);
    std::wstring path;
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0 &&
        ::lstrcmpiW(className, L"Edit") != 0) {
        path.resize(::DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    ::DragFinish(drop);
    // Several files: the first is opened.
    if (!path.empty())
        m_commands.open(toUtf8(path));
}

std::string MainWindow::romPath() const {
    const std::u16string text = windowText(control(LblROMFile));
    return toUtf8(std::wstring(text.begin(), text.end()));
}

void MainWindow::setRomPath(const std::string& path) {
    ::SetWindowTextW(control(LblROMFile), toUtf16(path).c_str());
}

std::u32string MainWindow::fieldText(std::size_t index) const {
    return codePointsFromUtf16(windowText(control(TxtHeaderInfo0 + static_cast<int>(index))));
}

void MainWindow::setFieldText(std::size_t index, const std::u32string& text) {
    setWindowText(control(TxtHeaderInfo0 + static_cast<int>(index)), utf16FromCodePoints(text));
}

std::string MainWindow::checksumText() const {
    const std::u16string text = windowText(control(TxtHeaderChecksum));
    return toUtf8(std::wstring(text.begin(), text.end()));
}

void MainWindow::setChecksumText(const std::string& text) {
    ::SetWindowTextW(control(TxtHeaderChecksum), toUtf16(text).c_str());
}

void MainWindow::setCalculatedChecksum(const std::string& text) {
    ::SetWindowTextW(control(LblCalcChecksum), toUtf16(text).c_str());
}

void MainWindow::setSaveEnabled(bool enabled) { ::EnableWindow(control(CmdSave), enabled); }

} // namespace quillon::win32
