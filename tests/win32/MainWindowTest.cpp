// SPDX-License-Identifier: MIT
// The Win32 window as it starts, and what is ours in it: the texts to and from its controls,
// the key filter, the editors' limits and file drops. The controls' own behaviour is the system's.
#include "MainWindow.h"

#include "CharacterSet.h"
#include "RomBuilder.h"
#include "WideText.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using namespace quillon;
using namespace quillon::win32;

namespace {

std::wstring windowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
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

class Win32MainWindowTest : public ::testing::Test {
protected:
    MainWindow m_window{::GetModuleHandleW(nullptr)};

    void SetUp() override { ASSERT_TRUE(m_window.show(SW_SHOWNORMAL)); }
    HWND control(std::string_view name) const { return m_window.control(name); }
    HWND headerEditor(std::size_t index) const {
        return m_window.control("txtHeaderInfo", static_cast<int>(index));
    }
};

TEST_F(Win32MainWindowTest, StartsAsDefined) {
    const HWND window = m_window.handle();
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 408 * static_cast<LONG>(::GetDpiForWindow(window)) / 96);
    EXPECT_EQ(client.bottom, 256 * static_cast<LONG>(::GetDpiForWindow(window)) / 96);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(windowText(window), L"Quillon");
    EXPECT_EQ(windowText(control("lblROMFile")), L"Select a ROM file.");
    EXPECT_EQ(windowText(control("lblCopyright_0")), L"Quillon v1.00");
    EXPECT_EQ(::GetFocus(), control("cmdBrowse"));
    EXPECT_FALSE(::IsWindowEnabled(control("cmdSave")));

    for (const HeaderField& field : HeaderFieldTable) {
        EXPECT_EQ(::SendMessageW(headerEditor(field.index), EM_GETLIMITTEXT, 0, 0),
                  static_cast<LRESULT>(field.length));
        EXPECT_EQ(windowText(m_window.control("lblHeaderInfo", static_cast<int>(field.index))),
                  std::wstring(field.label.begin(), field.label.end()));
    }
    const std::u32string lines = U"abcdefghijklmnop\r\n"
                                 U"abcdefghijklmnop\r\n"
                                 U"abcdefghijklmnop\r\n";
    EXPECT_EQ(m_window.fieldText(2), lines);
    EXPECT_EQ(m_window.fieldText(3), lines);
    EXPECT_EQ(m_window.fieldText(0), U"");

    // Where controls of each kind sit, the ones inside frames included, in client pixels at
    // 96 dots per inch.
    struct Place {
        const char* id;
        RECT box;
    };
    const int dpi = static_cast<int>(::GetDpiForWindow(window));
    for (const Place& place : std::initializer_list<Place>{
             {"fraROMFile", {8, 8, 401, 49}},
             {"lblROMFile", {16, 24, 329, 41}},
             {"cmdBrowse", {336, 24, 393, 41}},
             {"lblHeaderInfo_4", {8, 184, 97, 201}},
             {"txtHeaderInfo_3", {96, 136, 217, 187}},
             {"txtHeaderInfo_5", {96, 200, 217, 219}},
             {"fraChecksum", {224, 56, 401, 121}},
             {"txtHeaderChecksum", {352, 72, 385, 91}},
             {"lblCalcChecksum", {352, 96, 385, 115}},
             {"lblCopyright_1", {224, 144, 401, 161}},
             {"cmdSave", {8, 224, 217, 249}},
         }) {
        RECT box{};
        ::GetWindowRect(control(place.id), &box);
        ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(box.left, ::MulDiv(place.box.left, dpi, 96)) << place.id;
        EXPECT_EQ(box.top, ::MulDiv(place.box.top, dpi, 96)) << place.id;
        EXPECT_EQ(box.right, ::MulDiv(place.box.right, dpi, 96)) << place.id;
        EXPECT_EQ(box.bottom, ::MulDiv(place.box.bottom, dpi, 96)) << place.id;
    }

    // Tab goes round the controls that take the focus, skipping the disabled Save button.
    std::vector<HWND> order{control("cmdBrowse")};
    for (std::size_t index : {0, 1, 2, 3, 4, 5})
        order.push_back(headerEditor(index));
    order.push_back(control("txtHeaderChecksum"));
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(::GetNextDlgTabItem(window, order[i], FALSE), order[(i + 1) % order.size()]) << i;
}

TEST_F(Win32MainWindowTest, TextsReachTheControlsExactly) {
    std::string bytes;
    for (int byte = 1; byte <= 255; ++byte)
        bytes.push_back(static_cast<char>(byte));
    const std::u32string every = decodeText(bytes);
    for (const HeaderField& field : HeaderFieldTable) {
        m_window.setFieldText(field.index, every);
        EXPECT_EQ(m_window.fieldText(field.index), every) << field.index;
    }
    m_window.setRomPath("C:\\ROMs\\\xE3\x83\xAD\xE3\x83\xA0.bin"); // ロム.bin
    EXPECT_EQ(windowText(control("lblROMFile")), L"C:\\ROMs\\\x30ED\x30E0.bin");
    EXPECT_EQ(m_window.romPath(), "C:\\ROMs\\\xE3\x83\xAD\xE3\x83\xA0.bin");
    m_window.setChecksumText("8F1C");
    EXPECT_EQ(m_window.checksumText(), "8F1C");
    m_window.setCalculatedChecksum("8F1D");
    EXPECT_EQ(windowText(control("lblCalcChecksum")), L"8F1D");
    m_window.setSaveEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(control("cmdSave")));
}

TEST_F(Win32MainWindowTest, TheKeyFilterDropsCarriageReturnsInEveryHeaderEditor) {
    for (const HeaderField& field : HeaderFieldTable) {
        const HWND editor = headerEditor(field.index);
        m_window.setFieldText(field.index, U"ab");
        ::SendMessageW(editor, EM_SETSEL, 2, 2);
        ::SendMessageW(editor, WM_CHAR, 13, 0);
        ::SendMessageW(editor, WM_CHAR, 'x', 0);
        EXPECT_EQ(m_window.fieldText(field.index), U"abx") << field.index;
    }
}

TEST_F(Win32MainWindowTest, ADroppedRomOpensAsBrowseWouldExceptOverAnEditor) {
    test::TempDir dir;
    test::Bytes rom(0x400, 0);
    test::setFieldBytes(rom, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
    const std::string first = dir.file("first.bin");
    const std::string second = dir.file("second.bin");
    test::writeBytes(first, rom);
    test::writeBytes(second, test::Bytes(0x400, 0x41));

    const auto drop = [&](POINT at) {
        ::SendMessageW(m_window.handle(), WM_DROPFILES,
                       reinterpret_cast<WPARAM>(droppedFiles({first, second}, at)), 0);
    };
    drop({150, 110}); // over the domestic name editor
    EXPECT_EQ(m_window.romPath(), "Select a ROM file.");
    drop({20, 150}); // over a label: the first file opens
    EXPECT_EQ(m_window.romPath(), first);
    EXPECT_EQ(m_window.fieldText(0), U"SEGA MEGA DRIVE ");
    EXPECT_TRUE(::IsWindowEnabled(control("cmdSave")));
}

} // namespace
