// SPDX-License-Identifier: MIT
// What the window must do, whichever toolkit it is made of: each rule once, run through a driver
// against the Qt window and against the Win32 window. The user's side only: keys, pastes, clicks
// and drops in, and what the window shows and writes out.
#include "RomBuilder.h"
#include "WindowDriver.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

using namespace quillon;
using namespace quillon::test;

namespace {

// The window as it must look when it opens, as its layout was drawn up: places in twips (15 to
// a pixel), each inside a frame counting from the frame's corner, and the captions or texts the
// controls start with (nullptr where that is not fixed). This table is kept apart from the form
// on purpose: it is what the form, and so both windows, are checked against.
struct Required {
    const char* name;
    const char* frame; // nullptr for a control of the window itself
    int left, top, width, height;
    const char* text;
};

const char* const nameEditorText = "abcdefghijklmnop\r\nabcdefghijklmnop\r\nabcdefghijklmnop\r\n";

const Required requiredControls[] = {
    {"fraROMFile", nullptr, 120, 120, 5895, 615, "Current ROM File"},
    {"lblROMFile", "fraROMFile", 120, 240, 4695, 255, "Select a ROM file."},
    {"cmdBrowse", "fraROMFile", 4920, 240, 855, 255, "Browse..."},
    {"lblHeaderInfo_0", nullptr, 120, 840, 1335, 255, "Console Name:"},
    {"lblHeaderInfo_1", nullptr, 120, 1080, 1335, 255, "Copyright Date:"},
    {"lblHeaderInfo_2", nullptr, 120, 1320, 1335, 255, "Domestic Name:"},
    {"lblHeaderInfo_3", nullptr, 120, 2040, 1335, 255, "Overseas Name:"},
    {"lblHeaderInfo_4", nullptr, 120, 2760, 1335, 255, "Serial Number:"},
    {"lblHeaderInfo_5", nullptr, 120, 3000, 1335, 255, "Country Code:"},
    {"txtHeaderInfo_0", nullptr, 1440, 840, 1815, 285, ""},
    {"txtHeaderInfo_1", nullptr, 1440, 1080, 1815, 285, ""},
    {"txtHeaderInfo_2", nullptr, 1440, 1320, 1815, 765, nameEditorText},
    {"txtHeaderInfo_3", nullptr, 1440, 2040, 1815, 765, nameEditorText},
    {"txtHeaderInfo_4", nullptr, 1440, 2760, 1815, 285, ""},
    {"txtHeaderInfo_5", nullptr, 1440, 3000, 1815, 285, ""},
    {"fraChecksum", nullptr, 3360, 840, 2655, 975, "Checksum"},
    {"lblChecksumFromHeader", "fraChecksum", 120, 240, 1815, 255, "Checksum from header:"},
    {"txtHeaderChecksum", "fraChecksum", 1920, 240, 495, 285, ""},
    {"lblCalcChecksumDesc", "fraChecksum", 120, 600, 1695, 255, "Calculated checksum:"},
    {"lblCalcChecksum", "fraChecksum", 1920, 600, 495, 285, ""},
    {"lblCopyright_0", nullptr, 3360, 1920, 2655, 255, "Quillon v1.00"},
    {"lblCopyright_1", nullptr, 3360, 2160, 2655, 255, nullptr},
    {"Image1", nullptr, 3450, 2400, 2475, 1125, nullptr},
    {"cmdSave", nullptr, 120, 3360, 3135, 375, "Save Changes"},
};

// The controls that take the focus, in the order Tab visits them.
const char* const tabOrder[] = {
    "cmdBrowse",       "txtHeaderInfo_0", "txtHeaderInfo_1",   "txtHeaderInfo_2", "txtHeaderInfo_3",
    "txtHeaderInfo_4", "txtHeaderInfo_5", "txtHeaderChecksum", "cmdSave",
};

Box pixels(const Required& control) {
    Box box{control.left / 15, control.top / 15, control.width / 15, control.height / 15};
    for (const Required& frame : requiredControls) {
        if (control.frame && std::string_view(control.frame) == frame.name) {
            box.left += frame.left / 15;
            box.top += frame.top / 15;
        }
    }
    return box;
}

std::string headerEditor(std::size_t index) { return "txtHeaderInfo_" + std::to_string(index); }

const char* keyName(Key key) {
    constexpr const char* names[] = {"Enter",  "keypad Enter", "Shift+Enter", "Ctrl+Enter",
                                     "Ctrl+M", "Escape",       "Tab",         "Shift+Tab"};
    return names[static_cast<int>(key)];
}

class WindowContract : public ::testing::Test {
protected:
    TempDir m_dir;
    std::unique_ptr<WindowDriver> m_window = openWindow();

    std::string romFile(const std::string& name, const Bytes& bytes) {
        const std::string path = m_dir.file(name);
        writeBytes(path, bytes);
        return path;
    }
    void browse(const std::optional<std::string>& answer) {
        m_window->dialog.answers.push_back(answer);
        m_window->click("cmdBrowse");
    }
    void retype(std::string_view editor, std::string_view text) {
        m_window->clear(editor);
        m_window->type(editor, text);
    }
    // Everything the window shows, to tell whether anything changed.
    std::vector<std::string> shown() const {
        std::vector<std::string> state;
        for (const Required& control : requiredControls)
            state.push_back(m_window->text(control.name));
        state.push_back(m_window->isEnabled("cmdSave") ? "Save enabled" : "Save disabled");
        return state;
    }
};

TEST_F(WindowContract, OpensAsItsLayoutWasDrawnUp) {
    EXPECT_EQ(m_window->title(), "Quillon");
    EXPECT_EQ(m_window->clientArea(), (Box{0, 0, 408, 256}));
    EXPECT_TRUE(m_window->onlyCloses());
    for (const Required& control : requiredControls) {
        EXPECT_EQ(m_window->place(control.name), pixels(control)) << control.name;
        if (control.text) {
            EXPECT_EQ(m_window->text(control.name), control.text) << control.name;
        }
        if (std::string_view(control.name).starts_with("lbl")) {
            EXPECT_TRUE(m_window->captionFits(control.name)) << control.name;
        }
    }
    EXPECT_NE(m_window->text("lblCopyright_1"), "");
    EXPECT_FALSE(m_window->isEnabled("cmdSave"));
}

TEST_F(WindowContract, TabWalksTheEditorsBetweenTheButtonsAndSkipsADisabledSave) {
    EXPECT_EQ(m_window->focused(), "cmdBrowse");
    for (std::size_t i = 1; i <= std::size(tabOrder) - 1; ++i) {
        const char* next = i < std::size(tabOrder) - 1 ? tabOrder[i] : tabOrder[0];
        m_window->press(m_window->focused(), Key::Tab);
        EXPECT_EQ(m_window->focused(), next);
    }
    browse(romFile("game.bin", mismatchedRom()));
    ASSERT_TRUE(m_window->isEnabled("cmdSave"));
    ASSERT_EQ(m_window->focused(), "cmdBrowse");
    for (std::size_t i = std::size(tabOrder); i-- > 0;) {
        m_window->press(m_window->focused(), Key::ShiftTab);
        EXPECT_EQ(m_window->focused(), tabOrder[i]);
    }
}

TEST_F(WindowContract, EnterAndEscapeDoNothing) {
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("game.bin", rom);
    browse(path);
    for (std::size_t i = 0; i <= HeaderFieldCount; ++i) {
        const std::string editor = i < HeaderFieldCount ? headerEditor(i) : "txtHeaderChecksum";
        const std::string before = m_window->text(editor);
        for (Key key : {Key::Enter, Key::KeypadEnter, Key::ShiftEnter, Key::CtrlEnter, Key::CtrlM,
                        Key::Escape}) {
            m_window->press(editor, key);
            EXPECT_EQ(m_window->text(editor), before) << editor << ", " << keyName(key);
        }
    }
    // No button was pressed: no second Browse, no Save (which would write the editors' spaces
    // over the fields' zeros), and the window stays.
    EXPECT_EQ(m_window->dialog.requests.size(), 1u);
    EXPECT_TRUE(m_window->messages.shown.empty());
    EXPECT_EQ(readBytes(path), rom);
    EXPECT_TRUE(m_window->isOpen());
}

TEST_F(WindowContract, EditorsTakeNoMoreThanTheirFieldsHold) {
    // Before a ROM is loaded the name editors hold more than their fields: typing adds nothing.
    m_window->type(headerEditor(2), "x");
    EXPECT_EQ(m_window->text(headerEditor(2)), nameEditorText);

    browse(romFile("game.bin", mismatchedRom()));
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string editor = headerEditor(field.index);
        retype(editor, std::string(field.length + 1, 'X'));
        EXPECT_EQ(m_window->text(editor), std::string(field.length, 'X')) << editor;
        m_window->clear(editor);
        m_window->paste(editor, std::string(field.length + 5, 'P'));
        EXPECT_EQ(m_window->text(editor), std::string(field.length, 'P')) << editor;
    }
    // A name editor keeps the line breaks of a paste, each CR LF two of its field's bytes.
    m_window->clear(headerEditor(3));
    m_window->paste(headerEditor(3), "OVERSEAS\r\nNAME" + std::string(40, 'P'));
    EXPECT_EQ(m_window->text(headerEditor(3)), "OVERSEAS\r\nNAME" + std::string(34, 'P'));

    const std::string anyLength = "0123456789abcdefXYZ !?";
    retype("txtHeaderChecksum", anyLength);
    EXPECT_EQ(m_window->text("txtHeaderChecksum"), anyLength);
}

TEST_F(WindowContract, ADropOpensTheFirstFileUnlessLetGoOverAnEditor) {
    const std::vector<std::string> files{romFile("first.bin", mismatchedRom()),
                                         romFile("second.bin", Bytes(0x400, 0x41))};
    const std::vector<std::string> fresh = shown();
    m_window->drop(files, headerEditor(2));
    m_window->drop(files, "txtHeaderChecksum");
    EXPECT_EQ(shown(), fresh);

    m_window->drop(files, "lblHeaderInfo_0");
    EXPECT_EQ(m_window->text("lblROMFile"), files[0]);
    EXPECT_EQ(m_window->text(headerEditor(4)), "GM 00000001-00");
    EXPECT_TRUE(m_window->isEnabled("cmdSave"));
    EXPECT_TRUE(m_window->dialog.requests.empty());
    browse(std::nullopt); // Browse starts on the file dropped last
    EXPECT_EQ(m_window->dialog.requests.back().startPath, files[0]);
}

TEST_F(WindowContract, SaveIsEnabledOnlyOnceARomIsLoaded) {
    const std::string missing = m_dir.file("gone.bin");
    browse(std::nullopt);
    browse(missing);
    EXPECT_FALSE(m_window->isEnabled("cmdSave"));
    browse(romFile("game.bin", mismatchedRom()));
    EXPECT_TRUE(m_window->isEnabled("cmdSave"));
    browse(missing);
    browse(std::nullopt);
    EXPECT_TRUE(m_window->isEnabled("cmdSave"));
}

TEST_F(WindowContract, BrowseShowsTheHeaderAndCancellingChangesNothing) {
    const std::vector<std::string> fresh = shown();
    browse(std::nullopt);
    EXPECT_EQ(shown(), fresh);
    EXPECT_EQ(m_window->dialog.requests.at(0).startPath, "");

    Bytes rom = mismatchedRom();
    setFieldBytes(rom, headerField(FieldId::DomesticName), "DOMESTIC\xA9\r\nNAME");
    const std::string path = romFile("gam\xC3\xA9.bin", rom); // gamé.bin
    browse(path);
    EXPECT_EQ(m_window->text("lblROMFile"), path);
    EXPECT_EQ(m_window->text(headerEditor(0)), "SEGA MEGA DRIVE ");
    EXPECT_EQ(m_window->text(headerEditor(2)), "DOMESTIC\xC2\xA9\r\nNAME");
    EXPECT_EQ(m_window->text(headerEditor(5)), "JUE");
    EXPECT_EQ(m_window->text("txtHeaderChecksum"), "8F1C");
    EXPECT_EQ(m_window->text("lblCalcChecksum"), "8F1D");

    // Cancelling keeps the ROM and its unsaved edits; the dialog started on the file chosen last.
    retype(headerEditor(3), "EDITED");
    const std::vector<std::string> edited = shown();
    browse(std::nullopt);
    EXPECT_EQ(shown(), edited);
    EXPECT_EQ(m_window->dialog.requests.back().startPath, path);
    EXPECT_TRUE(m_window->messages.shown.empty());

    // Another ROM replaces everything shown, edits included.
    const std::string second = romFile("second.gen", Bytes(513, 0x41)); // no checksummed word
    browse(second);
    EXPECT_EQ(m_window->text("lblROMFile"), second);
    EXPECT_EQ(m_window->text(headerEditor(3)), std::string(48, 'A'));
    EXPECT_EQ(m_window->text("txtHeaderChecksum"), "4141");
    EXPECT_EQ(m_window->text("lblCalcChecksum"), "0000");
}

TEST_F(WindowContract, AfterSaveEachEditorShowsWhatItsFieldHolds) {
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("game.bin", rom);
    browse(path);
    // A character without a byte is written as "?", one outside the BMP too; a short text is
    // padded with spaces; the checksum is stored as typed.
    retype(headerEditor(4), "GM 0000000\xD0\x96-00");         // Ж
    retype(headerEditor(3), "NEW \xC3\x89 \xF0\x9F\x98\x80"); // É and an emoji
    retype(headerEditor(5), "J");
    retype("txtHeaderChecksum", "8f1d");
    m_window->click("cmdSave");

    EXPECT_TRUE(m_window->messages.shown.empty());
    EXPECT_EQ(m_window->text(headerEditor(4)), "GM 0000000?-00");
    EXPECT_EQ(m_window->text(headerEditor(3)), "NEW \xC3\x89 ?" + std::string(41, ' '));
    EXPECT_EQ(m_window->text(headerEditor(5)), "J  ");
    EXPECT_EQ(m_window->text(headerEditor(0)), "SEGA MEGA DRIVE ");
    EXPECT_EQ(m_window->text("txtHeaderChecksum"), "8f1d");
    EXPECT_TRUE(m_window->isEnabled("cmdSave"));

    Bytes expected = rom;
    expected[0x18F] = 0x1D;
    setFieldBytes(expected, headerField(FieldId::DomesticName), "DOMESTIC" + std::string(40, ' '));
    setFieldBytes(expected, headerField(FieldId::OverseasName),
                  "NEW \xC9 ?" + std::string(41, ' '));
    setFieldBytes(expected, headerField(FieldId::SerialNumber), "GM 0000000?-00");
    setFieldBytes(expected, headerField(FieldId::CountryCode), "J  ");
    EXPECT_EQ(readBytes(path), expected);
}

TEST_F(WindowContract, AChecksumThatIsNotHexadecimalIsRefusedWithABox) {
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("game.bin", rom);
    browse(path);
    retype(headerEditor(4), "CHANGED");
    for (const char* invalid : {"", "0x1234", "12 3", "G1"}) {
        retype("txtHeaderChecksum", invalid);
        m_window->click("cmdSave");
        ASSERT_EQ(m_window->messages.shown.size(), 1u) << invalid;
        EXPECT_EQ(m_window->messages.shown[0].title, "Invalid Checksum");
        EXPECT_EQ(m_window->messages.shown[0].text,
                  "Invalid checksum entered. Checksum must be in hexadecimal.");
        m_window->messages.shown.clear();
        EXPECT_EQ(readBytes(path), rom) << invalid;
        EXPECT_EQ(m_window->text(headerEditor(4)), "CHANGED");
    }
}

// Changed on disk after it was opened, by a fix that stored the checksum and a new name, a
// file keeps what the other program wrote until it is opened again.
TEST_F(WindowContract, ASaveOverAFileChangedOnDiskIsRefusedWithABox) {
    const std::string path = romFile("game.bin", mismatchedRom());
    browse(path);
    Bytes fixed = mismatchedRom();
    fixed[ChecksumWord::offset + 1] = 0x1D;
    setFieldBytes(fixed, headerField(FieldId::DomesticName), "FIXED");
    writeBytes(path, fixed);
    retype(headerEditor(5), "E");
    m_window->click("cmdSave");
    ASSERT_EQ(m_window->messages.shown.size(), 1u);
    EXPECT_EQ(m_window->messages.shown[0].title, "File Changed");
    EXPECT_EQ(m_window->messages.shown[0].text,
              path + " changed on disk since it was loaded; nothing was written. Open it again "
                     "to see its header as it is now.");
    EXPECT_EQ(readBytes(path), fixed);
    EXPECT_EQ(m_window->text(headerEditor(5)), "E");

    browse(path);
    retype(headerEditor(5), "E");
    m_window->click("cmdSave");
    EXPECT_EQ(m_window->messages.shown.size(), 1u);
    EXPECT_EQ(fieldBytes(readBytes(path), headerField(FieldId::CountryCode)), "E  ");
}

TEST_F(WindowContract, ARomThatCannotBeReadIsReportedAndChangesNothing) {
    const std::string missing = m_dir.file("gone.bin");
    const std::vector<std::string> fresh = shown();
    browse(missing);
    ASSERT_EQ(m_window->messages.shown.size(), 1u);
    EXPECT_EQ(m_window->messages.shown[0].title, "Cannot Read ROM");
    EXPECT_NE(m_window->messages.shown[0].text.find(missing), std::string::npos);
    EXPECT_EQ(shown(), fresh);

    browse(romFile("game.bin", mismatchedRom()));
    retype(headerEditor(1), "EDITED");
    const std::vector<std::string> edited = shown();
    browse(missing);
    EXPECT_EQ(m_window->messages.shown.size(), 2u);
    EXPECT_EQ(shown(), edited);
}

// Whoever runs the window, root included: the file's mode or attribute decides, not the account.
TEST_F(WindowContract, AReadOnlyRomIsNeverSaved) {
    using std::filesystem::perms;
    const Bytes rom = mismatchedRom();
    const std::string path = romFile("readonly.bin", rom);
    std::filesystem::permissions(pathFromUtf8(path),
                                 perms::owner_read | perms::group_read | perms::others_read);
    browse(path);
    retype(headerEditor(2), "CHANGED");
    retype("txtHeaderChecksum", "1234");
    m_window->click("cmdSave");
    ASSERT_EQ(m_window->messages.shown.size(), 1u);
    EXPECT_EQ(m_window->messages.shown[0].title, "Cannot Save ROM");
    EXPECT_EQ(m_window->messages.shown[0].text, path + ": read-only file");
    EXPECT_EQ(readBytes(path), rom);
    // Windows removes no read-only file, and the scratch folder goes after this.
    std::filesystem::permissions(pathFromUtf8(path), perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(WindowContract, EveryByteComesBackThroughTheEditors) {
    // Two ROMs carry every byte value 1-255 across the six fields, CR, LF and 0xA0 included;
    // loaded and saved unchanged, each file stays as it was.
    for (std::uint32_t round = 0; round < 2; ++round) {
        Bytes rom = randomBytes(0x800, round);
        int value = round == 0 ? 1 : 146;
        for (const HeaderField& field : HeaderFieldTable) {
            for (std::size_t k = 0; k < field.length; ++k, ++value)
                rom[field.offset + k] = static_cast<std::uint8_t>((value - 1) % 255 + 1);
        }
        const std::string path = romFile("round" + std::to_string(round) + ".bin", rom);
        browse(path);
        m_window->click("cmdSave");
        EXPECT_TRUE(m_window->messages.shown.empty());
        EXPECT_EQ(readBytes(path), rom) << "round " << round;
    }
}

} // namespace
