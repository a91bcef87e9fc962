// SPDX-License-Identifier: MIT
// The contract's driver for the Win32 window: keys and characters are posted as the system
// posts them and go through the program's own message loop, dialog manager included; texts and
// places are read from the controls.
#include "FormTable.h"
#include "MainWindow.h"
#include "WideText.h"
#include "WindowDriver.h"

#include <array>
#include <gtest/gtest.h>
#include <shlobj.h>

namespace quillon::test {

namespace {

using win32::MainWindow;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What a file manager hands over when files are let go at a point of the client area.
HGLOBAL droppedFiles(const std::vector<std::string>& paths, POINT at) {
    std::wstring names;
    for (const std::string& path : paths)
        names += toUtf16(path) + L'\0';
    const HGLOBAL memory =
        ::GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(::GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->pt = at;
    files->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(files + 1));
    ::GlobalUnlock(memory);
    return memory;
}

class Win32WindowDriver final : public WindowDriver {
public:
    Win32WindowDriver() : m_window(::GetModuleHandleW(nullptr), &dialog, &messages) {
        if (!m_window.show(SW_SHOWNORMAL))
            ADD_FAILURE() << "the window could not be made";
        pump();
    }

    std::string title() const override { return toUtf8(windowText(m_window.handle())); }
    Box clientArea() const override {
        RECT client{};
        ::GetClientRect(m_window.handle(), &client);
        return unscaled(client);
    }
    bool onlyCloses() const override {
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_window.handle(), GWL_STYLE));
        return (style & WS_SYSMENU) && !(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    }
    bool isOpen() const override {
        return m_window.handle() && ::IsWindowVisible(m_window.handle());
    }

    Box place(std::string_view name) const override {
        const HWND control = m_window.control(name);
        if (!control)
            return unscaled(m_window.picturePlace()); // the one thing the window draws itself
        RECT box{};
        ::GetWindowRect(control, &box);
        ::MapWindowPoints(HWND_DESKTOP, m_window.handle(), reinterpret_cast<POINT*>(&box), 2);
        return unscaled(box);
    }
    std::string text(std::string_view name) const override {
        const HWND control = m_window.control(name);
        return control ? toUtf8(windowText(control)) : std::string();
    }
    bool captionFits(std::string_view name) const override {
        const HWND label = find(name);
        const std::wstring caption = windowText(label);
        const HDC dc = ::GetDC(label);
        const HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(label, dc);
        RECT inside{};
        ::GetClientRect(label, &inside);
        return extent.cx <= inside.right;
    }
    bool isEnabled(std::string_view name) const override { return ::IsWindowEnabled(find(name)); }
    std::string focused() const override {
        const HWND focus = ::GetFocus();
        for (const win32::FormControl& control : win32::form::Controls) {
            if (focus && m_window.control(control.name) == focus)
                return std::string(control.name);
        }
        return {};
    }

    void type(std::string_view name, std::string_view text) override {
        const HWND editor = focusAtEnd(name);
        for (const wchar_t unit : toUtf16(text))
            ::PostMessageW(editor, WM_CHAR, unit, 1);
        pump();
    }
    void paste(std::string_view name, std::string_view text) override {
        const HWND editor = focusAtEnd(name);
        const std::wstring wide = toUtf16(text);
        const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
        std::copy(wide.c_str(), wide.c_str() + wide.size() + 1,
                  static_cast<wchar_t*>(::GlobalLock(memory)));
        ::GlobalUnlock(memory);
        if (!::OpenClipboard(m_window.handle())) {
            ::GlobalFree(memory);
            ADD_FAILURE() << "the clipboard could not be opened";
            return;
        }
        ::EmptyClipboard();
        ::SetClipboardData(CF_UNICODETEXT, memory);
        ::CloseClipboard();
        ::PostMessageW(editor, WM_PASTE, 0, 0);
        pump();
    }
    void clear(std::string_view name) override {
        const HWND editor = focusAtEnd(name);
        ::SendMessageW(editor, EM_SETSEL, 0, -1);
        postKey(editor, VK_DELETE, {});
    }
    void press(std::string_view name, Key key) override {
        struct Press {
            UINT key;
            bool extended;
            std::array<BYTE, 2> modifiers; // held while the key goes down
        };
        constexpr Press presses[] = {
            {VK_RETURN, false, {}},
            {VK_RETURN, true, {}},
            {VK_RETURN, false, {VK_SHIFT}},
            {VK_RETURN, false, {VK_CONTROL}},
            {'M', false, {VK_CONTROL}},
            {VK_ESCAPE, false, {}},
            {VK_TAB, false, {}},
            {VK_TAB, false, {VK_SHIFT}},
        };
        const Press& pressed = presses[static_cast<int>(key)];
        const HWND control = find(name);
        ::SetFocus(control);
        postKey(control, pressed.key, pressed.modifiers, pressed.extended);
    }
    void click(std::string_view name) override {
        ::SendMessageW(find(name), BM_CLICK, 0, 0);
        pump();
    }
    void drop(const std::vector<std::string>& files, std::string_view onto) override {
        const Box target = place(onto);
        const POINT at{target.left + target.width / 2, target.top + target.height / 2};
        ::SendMessageW(m_window.handle(), WM_DROPFILES,
                       reinterpret_cast<WPARAM>(droppedFiles(files, at)), 0);
        pump();
    }

private:
    HWND find(std::string_view name) const {
        const HWND control = m_window.control(name);
        if (!control) {
            ADD_FAILURE() << "the window has no control " << name;
            std::abort();
        }
        return control;
    }
    HWND focusAtEnd(std::string_view name) const {
        const HWND editor = find(name);
        ::SetFocus(editor);
        const int end = ::GetWindowTextLengthW(editor);
        ::SendMessageW(editor, EM_SETSEL, end, end);
        return editor;
    }
    // Delivers what is waiting, as the program's message loop does.
    void pump() {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            m_window.deliver(message);
    }
    // A key goes down and up with the modifiers held, and on through the message loop, which
    // turns it into the characters it types.
    void postKey(HWND control, UINT key, std::array<BYTE, 2> modifiers, bool extended = false) {
        std::array<BYTE, 256> keys{};
        ::GetKeyboardState(keys.data());
        const std::array<BYTE, 256> before = keys;
        for (const BYTE modifier : modifiers) {
            if (modifier)
                keys[modifier] = 0x80;
        }
        ::SetKeyboardState(keys.data());
        const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        const LPARAM down = 1 | scanCode | (extended ? LPARAM{1} << 24 : 0);
        ::PostMessageW(control, WM_KEYDOWN, key, down);
        pump();
        ::PostMessageW(control, WM_KEYUP, key, down | (LPARAM{3} << 30));
        pump();
        ::SetKeyboardState(const_cast<BYTE*>(before.data()));
    }
    Box unscaled(const RECT& box) const {
        const int dpi = static_cast<int>(::GetDpiForWindow(m_window.handle()));
        const auto at96 = [dpi](LONG pixels) { return ::MulDiv(pixels, 96, dpi); };
        return {at96(box.left), at96(box.top), at96(box.right - box.left),
                at96(box.bottom - box.top)};
    }

    MainWindow m_window;
};

} // namespace

std::unique_ptr<WindowDriver> openWindow() { return std::make_unique<Win32WindowDriver>(); }

} // namespace quillon::test
