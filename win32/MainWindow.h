// SPDX-License-Identifier: MIT
// The program's one window on Windows: native controls made and laid out as the window's form
// says, and the view the shared commands work on.
#pragma once

#include "HeaderCommands.h"
#include "HeaderView.h"
#include "Picture.h"
#include "Win32FileDialog.h"
#include "Win32MessageBox.h"

#include <string_view>
#include <utility>
#include <vector>
#include <windows.h>

namespace quillon::win32 {

class MainWindow final : public HeaderView {
public:
    // Without a dialog or message box of its own the window uses the system's.
    explicit MainWindow(HINSTANCE instance, FileDialog* dialog = nullptr,
                        ErrorMessageBox* messages = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Makes and shows the window; false when the system would not make it.
    bool show(int showCommand);
    HWND handle() const { return m_window; }
    // Loads a ROM as Browse does once the file is chosen: for a file named at start.
    void openRom(const std::string& path) { m_commands.open(path); }
    // Takes a message from the program's message loop: the dialog manager moves the focus with
    // Tab and Shift+Tab in the controls' order, and everything else goes where it is sent.
    void deliver(MSG& message);

    // The control the form names, such as "cmdSave", or number `index` of a group of them, such
    // as the editor of field 2, ("txtHeaderInfo", 2).
    HWND control(std::string_view name) const;
    HWND control(std::string_view group, int index) const;
    // Where the window draws the form's picture, in its client area.
    RECT picturePlace() const;

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

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_lastFocus = nullptr; // given back the focus when the window is activated again
    UINT m_dpi = 96;
    std::vector<std::pair<std::string_view, HFONT>> m_fonts; // one for each family the form names
    Picture m_picture;
    Win32FileDialog m_ownDialog;
    Win32MessageBox m_ownMessages;
    HeaderCommands m_commands;
};

} // namespace quillon::win32
