// SPDX-License-Identifier: MIT
#include "MainWindow.h"

#include "DropRule.h"
#include "EditorRules.h"
#include "EditorText.h"
#include "FontStandIns.h"
#include "FormTable.h"
#include "HeaderEditorFilter.h"
#include "HeaderLayout.h"
#include "QuillonVersion.h"
#include "WideText.h"

#include <algorithm>
#include <commctrl.h>
#include <shellapi.h>

namespace quillon::win32 {

namespace {

constexpr wchar_t windowClassName[] = L"QuillonMainWindow";
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; // fixed, close box only
constexpr DWORD windowExStyle = 0;

// What the form cannot say: the system's control that stands for each of its classes.
struct ControlClass {
    std::string_view formClass;
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    bool editor;
};

// Labels have no access keys and centre their one line of text; editors are sunken.
constexpr ControlClass controlClasses[] = {
    {"QGroupBox", L"BUTTON", BS_GROUPBOX, 0, false},
    {"QLabel", L"STATIC", SS_NOPREFIX | SS_CENTERIMAGE, 0, false},
    {"QPushButton", L"BUTTON", BS_PUSHBUTTON, 0, false},
    {"quillon::FieldLineEdit", L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true},
    {"quillon::WrappingLineEdit", L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, true},
};

constexpr const ControlClass* classOf(const FormControl& control) {
    const auto found =
        std::ranges::find(controlClasses, control.formClass, &ControlClass::formClass);
    return found != std::end(controlClasses) ? found : nullptr;
}

static_assert(std::ranges::all_of(form::Controls, [](const FormControl& c) { return classOf(c); }),
              "the form has a control of a class the Win32 window cannot make");
static_assert(std::ranges::count(form::Controls, "txtHeaderInfo", &FormControl::group) ==
                  HeaderFieldCount,
              "the form must have one header editor for each field");

constexpr bool isPicture(const FormControl& control) { return !control.picture.empty(); }

// Controls are numbered in the form's order.
int controlId(const FormControl& control) {
    return 100 + static_cast<int>(&control - std::begin(form::Controls));
}

const FormControl* formControl(std::string_view group, int index) {
    const auto found = std::ranges::find_if(form::Controls, [&](const FormControl& control) {
        return control.group == group && control.index == index;
    });
    return found != std::end(form::Controls) ? found : nullptr;
}

// The named font where it is installed, otherwise the first of the same kind that is.
std::wstring installedFamily(HDC dc, const std::vector<std::string_view>& families) {
    for (const std::string_view family : families) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        const std::wstring name = toUtf16(family);
        wcsncpy(wanted.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        bool found = false;
        ::EnumFontFamiliesExW(
            dc, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
                *reinterpret_cast<bool*>(found) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        if (found)
            return name;
    }
    return L""; // the font mapper then picks by pitch and family
}

HFONT makeFont(HDC dc, std::string_view formFamily, UINT dpi) {
    const FontChoice choice = fontFor(formFamily);
    return ::CreateFontW(
        -::MulDiv(FontPixelSize, static_cast<int>(dpi), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        static_cast<DWORD>(choice.fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS),
        installedFamily(dc, choice.families).c_str());
}

// The text a control starts with: the version in the title line, CR LF line ends in an editor.
std::wstring initialText(const FormControl& control) {
    if (classOf(control)->editor) {
        const std::wstring formText = toUtf16(control.text);
        const std::u16string text = utf16FromCodePoints(editorTextFromForm(
            codePointsFromUtf16(std::u16string(formText.begin(), formText.end()))));
        return std::wstring(text.begin(), text.end());
    }
    std::string text(control.text);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, VersionText);
    return toUtf16(text);
}

HWND createControl(HWND parent, HINSTANCE instance, const FormControl& control) {
    const ControlClass& kind = *classOf(control);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    DWORD exStyle = kind.exStyle;
    if (kind.className == std::wstring_view(L"STATIC")) {
        style |= control.centred ? SS_CENTER : SS_LEFT;
        if (control.bordered)
            exStyle |= WS_EX_STATICEDGE;
        // A path is drawn whole or shortened in its middle.
        if (control.name == "lblROMFile")
            style |= SS_PATHELLIPSIS;
    }
    if (control.tabStop)
        style |= WS_TABSTOP;
    if (!control.enabled)
        style |= WS_DISABLED;
    return ::CreateWindowExW(
        exStyle, kind.className, initialText(control).c_str(), style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(control))), instance, nullptr);
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

MainWindow::MainWindow(HINSTANCE instance, FileDialog* dialog, ErrorMessageBox* messages)
    : m_instance(instance), m_picture(instance, L"LOGO"),
      m_commands(*this, dialog ? *dialog : m_ownDialog, messages ? *messages : m_ownMessages) {}

MainWindow::~MainWindow() {
    if (m_window)
        ::DestroyWindow(m_window);
    for (const auto& [family, font] : m_fonts)
        ::DeleteObject(font);
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
    m_window = ::CreateWindowExW(windowExStyle, windowClassName,
                                 toUtf16(form::Window.title).c_str(), windowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 0, 0, nullptr, nullptr, m_instance, this);
    if (!m_window)
        return false;
    m_ownDialog.setOwner(m_window);
    m_ownMessages.setOwner(m_window);
    createControls();
    ::DragAcceptFiles(m_window, TRUE);
    m_dpi = ::GetDpiForWindow(m_window);
    applyDpi();

    RECT frame{0, 0, scaled(form::Window.clientWidth), scaled(form::Window.clientHeight)};
    ::AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, m_dpi);
    ::SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_window, showCommand);
    m_lastFocus = control("cmdBrowse");
    ::SetFocus(m_lastFocus);
    return true;
}

void MainWindow::deliver(MSG& message) {
    if (m_window && ::IsDialogMessageW(m_window, &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

HWND MainWindow::control(std::string_view name) const {
    const auto found = std::ranges::find(form::Controls, name, &FormControl::name);
    return found != std::end(form::Controls) ? ::GetDlgItem(m_window, controlId(*found)) : nullptr;
}

HWND MainWindow::control(std::string_view group, int index) const {
    const FormControl* found = formControl(group, index);
    return found ? ::GetDlgItem(m_window, controlId(*found)) : nullptr;
}

RECT MainWindow::picturePlace() const {
    const auto picture = std::ranges::find_if(form::Controls, isPicture);
    if (picture == std::end(form::Controls))
        return {};
    const FormBox& box = picture->box;
    return {scaled(box.left), scaled(box.top), scaled(box.left + box.width),
            scaled(box.top + box.height)};
}

void MainWindow::createControls() {
    // Made in the form's order, which is also the order Tab takes them in.
    for (const FormControl& formControl : form::Controls) {
        if (isPicture(formControl))
            continue; // drawn by the window itself
        const HWND created = createControl(m_window, m_instance, formControl);
        if (formControl.group != "txtHeaderInfo")
            continue;
        const HeaderField& field = HeaderFieldTable.at(static_cast<std::size_t>(formControl.index));
        ::SendMessageW(created, EM_LIMITTEXT, field.length, 0);
        watchHeaderEditor(created, field.index);
    }
}

int MainWindow::scaled(int pixels) const { return ::MulDiv(pixels, static_cast<int>(m_dpi), 96); }

void MainWindow::applyDpi() {
    const HDC dc = ::GetDC(m_window);
    std::vector<std::pair<std::string_view, HFONT>> fonts;
    const auto fontOf = [&](std::string_view family) {
        const auto made =
            std::ranges::find(fonts, family, &std::pair<std::string_view, HFONT>::first);
        if (made != fonts.end())
            return made->second;
        return fonts.emplace_back(family, makeFont(dc, family, m_dpi)).second;
    };
    for (const FormControl& formControl : form::Controls) {
        if (isPicture(formControl))
            continue;
        const HWND item = ::GetDlgItem(m_window, controlId(formControl));
        const FormBox& box = formControl.box;
        ::SetWindowPos(item, nullptr, scaled(box.left), scaled(box.top), scaled(box.width),
                       scaled(box.height), SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(formControl.fontFamily)),
                       TRUE);
        // Narrow margins, as the editors are sized for: sixteen characters of the fixed-pitch
        // font fill a line of a name editor, and four fill the checksum editor.
        if (classOf(formControl)->editor) {
            const int margin = classOf(formControl)->style & ES_MULTILINE ? scaled(1) : 0;
            ::SendMessageW(item, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                           MAKELPARAM(margin, margin));
        }
    }
    ::ReleaseDC(m_window, dc);
    for (const auto& [family, font] : m_fonts)
        ::DeleteObject(font);
    m_fonts = std::move(fonts);
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
    case WM_COMMAND: {
        // Enter and Escape reach here as IDOK and IDCANCEL: the window has no default and no
        // cancel button, so they do nothing.
        const HWND from = reinterpret_cast<HWND>(lParam);
        if (HIWORD(wParam) == BN_CLICKED && from && from == control("cmdBrowse"))
            m_commands.browse();
        else if (HIWORD(wParam) == BN_CLICKED && from && from == control("cmdSave"))
            m_commands.save();
        return 0;
    }
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
        m_picture.draw(dc, picturePlace());
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
    POINT at{};
    ::DragQueryPoint(drop, &at);
    // Asked of each editor, as the frames lie over those inside them.
    const bool overEditor = std::ranges::any_of(form::Controls, [&](const FormControl& editor) {
        RECT place{};
        if (!classOf(editor)->editor || !::GetWindowRect(control(editor.name), &place))
            return false;
        ::MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&place), 2);
        return ::PtInRect(&place, at) != FALSE;
    });
    // Files only come this way, so each is a local one.
    DroppedItems files(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < files.size(); ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        files[i] = toUtf8(path);
    }
    ::DragFinish(drop);
    if (const auto path = romToOpen(files, overEditor))
        m_commands.open(*path);
}

std::string MainWindow::romPath() const {
    const std::u16string text = windowText(control("lblROMFile"));
    return toUtf8(std::wstring(text.begin(), text.end()));
}

void MainWindow::setRomPath(const std::string& path) {
    ::SetWindowTextW(control("lblROMFile"), toUtf16(path).c_str());
}

std::u32string MainWindow::fieldText(std::size_t index) const {
    return codePointsFromUtf16(windowText(control("txtHeaderInfo", static_cast<int>(index))));
}

void MainWindow::setFieldText(std::size_t index, const std::u32string& text) {
    setWindowText(control("txtHeaderInfo", static_cast<int>(index)), utf16FromCodePoints(text));
}

std::string MainWindow::checksumText() const {
    const std::u16string text = windowText(control("txtHeaderChecksum"));
    return toUtf8(std::wstring(text.begin(), text.end()));
}

void MainWindow::setChecksumText(const std::string& text) {
    ::SetWindowTextW(control("txtHeaderChecksum"), toUtf16(text).c_str());
}

void MainWindow::setCalculatedChecksum(const std::string& text) {
    ::SetWindowTextW(control("lblCalcChecksum"), toUtf16(text).c_str());
}

void MainWindow::setSaveEnabled(bool enabled) { ::EnableWindow(control("cmdSave"), enabled); }

} // namespace quillon::win32
