// SPDX-License-Identifier: MIT
// Windows' own ways for a file to be out of reach: device names, attributes and sharing. Each
// failure names the path and the system's reason, and leaves the file as it was.
#include "HeaderFile.h"
#include "RomBuilder.h"
#include "SystemFile.h"
#include "WideText.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

using namespace quillon;
using namespace quillon::test;

namespace {

const FieldTexts someTexts{"SEGA GENESIS", "(C)T-00 2026", "NAME", "NAME", "GM 00000000-00", "JUE"};

// "path: reason", with the reason in the system's words rather than a bare error number.
::testing::AssertionResult reportsPath(const std::string& error, const std::string& path) {
    const std::string prefix = path + ": ";
    if (error.rfind(prefix, 0) != 0 || error.size() <= prefix.size() ||
        error.find("system error") != std::string::npos)
        return ::testing::AssertionFailure() << "reported as \"" << error << "\"";
    return ::testing::AssertionSuccess();
}

class HeaderFileWindowsTest : public ::testing::Test {
protected:
    TempDir m_dir;

    std::string rom(const std::string& name) {
        const std::string path = m_dir.file(name);
        writeBytes(path, randomBytes(0x400, 5));
        return path;
    }
};

// Another program's handle on the file, with the sharing it allows others. Windows checks sharing
// handle by handle, so one opened here stands for one held by another process.
class Holder {
public:
    Holder(const std::string& path, DWORD access, DWORD share)
        : m_handle(::CreateFileW(toUtf16(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~Holder() { ::CloseHandle(m_handle); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

} // namespace

TEST_F(HeaderFileWindowsTest, WidePathsLoadAndSave) {
    for (const std::wstring name : {L"ロム.bin", L"Édition.bin"}) {
        const std::string path = m_dir.file(toUtf8(name));
        Bytes bytes = randomBytes(0x300, 6);
        setFieldBytes(bytes, headerField(FieldId::OverseasName), "WIDE");
        writeBytes(path, bytes);
        ASSERT_TRUE(std::filesystem::exists(m_dir.path() / name)) << path;

        const Result<LoadedHeader> loaded = LoadHeader(path);
        ASSERT_TRUE(loaded.done()) << loaded.problem().text();
        EXPECT_EQ(loaded->texts[headerField(FieldId::OverseasName).index], "WIDE");
        ASSERT_EQ(SaveHeader(path, "ABCD", someTexts).status, SaveStatus::Saved);
        EXPECT_EQ(LoadHeader(path)->storedHigh, 0xAB);
    }
}

TEST_F(HeaderFileWindowsTest, MissingFileIsReportedAndNeverCreated) {
    const std::string path = m_dir.file("missing.bin");
    const Result<LoadedHeader> loaded = LoadHeader(path);
    EXPECT_FALSE(loaded.done());
    EXPECT_TRUE(reportsPath(loaded.problem().text(), path));
    const SaveResult saved = SaveHeader(path, "1234", someTexts);
    EXPECT_EQ(saved.status, SaveStatus::Failed);
    EXPECT_TRUE(reportsPath(saved.error, path));
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(path)));
}

TEST_F(HeaderFileWindowsTest, FoldersAndDevicesAreRefused) {
    for (const std::string& path : {utf8Path(m_dir.path()), std::string("NUL"), std::string("CON"),
                                    std::string("\\\\.\\NUL")}) {
        const Result<LoadedHeader> loaded = LoadHeader(path);
        EXPECT_FALSE(loaded.done()) << path;
        EXPECT_TRUE(reportsPath(loaded.problem().text(), path));
        const SaveResult saved = SaveHeader(path, "1234", someTexts);
        EXPECT_EQ(saved.status, SaveStatus::Failed) << path;
        EXPECT_TRUE(reportsPath(saved.error, path));
    }
    EXPECT_EQ(LoadHeader("NUL").problem().text(), "NUL: not a regular file");
}

TEST_F(HeaderFileWindowsTest, ReadOnlyFileLoadsButIsNeverWritten) {
    const std::string path = rom("readonly.bin");
    const Bytes original = readBytes(path);
    const auto writable = std::filesystem::perms::owner_write;
    std::filesystem::permissions(pathFromUtf8(path), writable,
                                 std::filesystem::perm_options::remove);

    EXPECT_TRUE(LoadHeader(path).done());
    const SaveResult saved = SaveHeader(path, "1234", someTexts);
    EXPECT_EQ(saved.status, SaveStatus::Failed);
    EXPECT_TRUE(reportsPath(saved.error, path));
    EXPECT_EQ(readBytes(path), original);
    std::filesystem::permissions(pathFromUtf8(path), writable, std::filesystem::perm_options::add);
}

TEST_F(HeaderFileWindowsTest, FileHeldOpenElsewhereIsSharedAsItsHolderAllows) {
    const std::string path = rom("held.bin");
    const Bytes original = readBytes(path);
    {
        // An emulator that reads the ROM and lets others read it too: we may load, not save.
        const Holder reader(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.isOpen());
        EXPECT_TRUE(LoadHeader(path).done());
        const SaveResult saved = SaveHeader(path, "1234", someTexts);
        EXPECT_EQ(saved.status, SaveStatus::Failed);
        EXPECT_TRUE(reportsPath(saved.error, path));
    }
    {
        const Holder exclusive(path, GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(exclusive.isOpen());
        const Result<LoadedHeader> loaded = LoadHeader(path);
        EXPECT_FALSE(loaded.done());
        EXPECT_TRUE(reportsPath(loaded.problem().text(), path));
        EXPECT_EQ(SaveHeader(path, "1234", someTexts).status, SaveStatus::Failed);
    }
    EXPECT_EQ(readBytes(path), original);
    // Once they let go, the save goes through.
    EXPECT_EQ(SaveHeader(path, "1234", someTexts).status, SaveStatus::Saved);
}

// The steps that take back a failed save, on their own: growing with zeros (and never
// shrinking), reading up to the end and no further, and giving the file its length back.
TEST_F(HeaderFileWindowsTest, FileGrowsReadsToItsEndAndTakesItsLengthBack) {
    const std::string path = m_dir.file("short.bin");
    const Bytes original(100, 0x55);
    writeBytes(path, original);
    SystemFile file(path, SystemFile::Access::Write);
    ASSERT_TRUE(file.isOpen()) << file.error();
    EXPECT_TRUE(file.allocate(0x1F0, 3));
    EXPECT_TRUE(file.allocate(0, 50));
    EXPECT_EQ(file.size(), 0x1F3u);
    std::array<std::uint8_t, 0x200> bytes{};
    EXPECT_EQ(file.readAt(98, bytes.data(), bytes.size()), 0x1F3u - 98);
    EXPECT_EQ(bytes[1], 0x55);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(file.readAt(0x300, bytes.data(), 4), 0u);
    EXPECT_TRUE(file.truncate(original.size()));
    EXPECT_TRUE(file.flush());
    EXPECT_TRUE(file.close());
    EXPECT_EQ(readBytes(path), original);
}
