// SPDX-License-Identifier: MIT
// The program's one window on Windows: native controls laid out as in WindowLayout, and the
// view the shared commands work on.
#pragma once

#include "HeaderCommands.h"
#include "HeaderLayout.h"
#include "HeaderView.h"
#include "Picture.h"
#include "Win32FileDialog.h"
#include "Win32MessageBox.h"
#include "WindowLayout.h"

#include <array>
#include <vector>
#include <windows.h>

namespace quillon::win32 {

class MainWindow final : public HeaderView {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Makes and shows the window; false when the system would not make it.
    bool show(int showCommand);
    HWND handle() const { return m_window; }
    // Loads a ROM as Browse does once the file is chosen: for a file named at start.
    void openRom(const std::string& path) { m_commands.open(path); }

    std::string romPath() const override;
    void setRomPath(const std::string& path) override;
    std::u32string fieldText(std::size_t index) const override;
    void setFieldText(std::size_t index, const std::u32string& text) override;
    std::string checksumText() const override;
    void setChecksumText(const std::string& text) override;
    void setCalculatedChecksum(const std::string& text) override;
    void setSaveEnabled(bool enabled) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // Opens the first file dropped from a file manager, as Browse does.
    void dropFiles(WPARAM drop);
    // Places the controls and sets their fonts for the window's current dots per inch.
    void applyDpi();
    int scaled(int pixels) const;
    HWND control(int id) const { return ::GetDlgItem(m_window, id); }

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_lastFocus = nullptr; // given back the focus when the window is activated again
    UINT m_dpi = 96;
    HFONT m_defaultFont = nullptr;
    HFONT m_fixedFont = nullptr;
    std::vector<ControlLayout> m_layout;
    Picture m_picture;
    Win32FileDialog m_dialog;
    Win32MessageBox m_messages;
    HeaderCommands m_commands;
};

} // namespace quillon::win32
