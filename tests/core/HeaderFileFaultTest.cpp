// SPDX-License-Identifier: MIT
// Failures must be reported with the path and the reason, and must leave every file as it was.
#include "ChildProcess.h"
#include "HeaderFile.h"
#include "RomBuilder.h"
#include "RomConversion.h"
#include "TempDir.h"

#include <chrono>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::test;

namespace {

const FieldTexts someTexts{"SEGA GENESIS", "(C)T-00 2026", "NAME", "NAME", "GM 00000000-00", "JUE"};

#if defined(__x86_64__)
// Makes every later write at the given offset fail with an input/output error, in this process
// only: a system-call filter stands in for a failing disk.
bool failWritesAt(std::uint32_t offset) {
    constexpr auto argument3 = offsetof(seccomp_data, args) + 3 * sizeof(std::uint64_t);
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_pwrite64, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, argument3), // the offset's low half
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, offset, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}
#endif

constexpr int cannotMount = 77;

// Runs body in a child process that sees a 64 KiB tmpfs mounted on folder, in a mount namespace
// of its own: body's return value, or cannotMount where no tmpfs can be mounted.
int onSmallDisk(const std::string& folder, const std::function<int()>& body) {
    return exitCodeInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return cannotMount;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return cannotMount;
        return body();
    });
}

bool mentions(const std::string& error, const std::string& path, const std::string& reason) {
    return error.find(path) != std::string::npos && error.find(reason) != std::string::npos;
}

class HeaderFileFaultTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

} // namespace

TEST_F(HeaderFileFaultTest, MissingFileIsReportedAndNeverCreated) {
    const std::string path = m_dir.file("missing.bin");
    const Result<LoadedHeader> loaded = LoadHeader(path);
    EXPECT_FALSE(loaded.done());
    EXPECT_TRUE(mentions(loaded.problem().text(), path, "No such file or directory"))
        << loaded.problem().text();

    const SaveResult saved = SaveHeader(path, "1234", someTexts);
    EXPECT_EQ(saved.status, SaveStatus::Failed);
    EXPECT_TRUE(mentions(saved.error, path, "No such file or directory")) << saved.error;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(HeaderFileFaultTest, DirectoriesAndFifosAreRefusedWithoutBlocking) {
    const std::string fifo = m_dir.file("pipe.bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : {m_dir.path().string(), fifo, std::string("/dev/zero")}) {
        const Result<LoadedHeader> loaded = LoadHeader(path);
        EXPECT_FALSE(loaded.done()) << path;
        EXPECT_TRUE(mentions(loaded.problem().text(), path, "not a regular file"))
            << loaded.problem().text();
        const SaveResult saved = SaveHeader(path, "1234", someTexts);
        EXPECT_EQ(saved.status, SaveStatus::Failed) << path;
        EXPECT_TRUE(mentions(saved.error, path, "not a regular file")) << saved.error;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// A load reads no further than the length the file had when it was opened: a pseudo-file that
// claims none ends at once instead of being read for ever.
TEST_F(HeaderFileFaultTest, LoadEndsAtTheLengthFoundOnOpening) {
    const Result<LoadedHeader> loaded = LoadHeader("/proc/self/pagemap");
    ASSERT_TRUE(loaded.done()) << loaded.problem().text();
    EXPECT_EQ(loaded->fileSize, 0u);
}

TEST_F(HeaderFileFaultTest, LoadingOpensReadOnlyAndChangesNothing) {
    const std::string path = m_dir.file("readonly.bin");
    writeBytes(path, randomBytes(1000, 1));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto before = std::filesystem::last_write_time(path);
    EXPECT_TRUE(LoadHeader(path).done());
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
}

TEST_F(HeaderFileFaultTest, FileThatCannotBeOpenedForWritingIsReported) {
    const std::string path = m_dir.file("locked.bin");
    const Bytes original = randomBytes(1000, 2);
    writeBytes(path, original);

    // Root may write to any file, so the save runs as an unprivileged user instead.
    const auto saveUnprivileged = [&] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        const SaveResult saved = SaveHeader(path, "1234", someTexts);
        if (saved.status != SaveStatus::Failed)
            return 11;
        return mentions(saved.error, path, "Permission denied") ? 0 : 12;
    };
    // Writable by its group alone, so not a read-only file: the system's own refusal is told.
    ASSERT_EQ(::chmod(path.c_str(), 0464), 0);
    EXPECT_EQ(exitCodeInChild(saveUnprivileged), 0);
    EXPECT_EQ(readBytes(path), original);
}

TEST_F(HeaderFileFaultTest, WriteThatFailsIsReportedAndWritesNothing) {
    // A short file must grow to take the country code; a file size limit makes that fail.
    const std::string path = m_dir.file("short.bin");
    const Bytes original(300, 0x77);
    writeBytes(path, original);

    const int code = exitCodeInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{400, 400};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 10;
        const SaveResult saved = SaveHeader(path, "1234", someTexts);
        if (saved.status != SaveStatus::Failed)
            return 11;
        return mentions(saved.error, path, "File too large") ? 0 : 12;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes(path), original);
}

// A write that fails after a short file grew for it: the bytes go back and so does the length; a
// file the save did not grow keeps its length.
TEST_F(HeaderFileFaultTest, FailedWriteIsTakenBack) {
#if defined(__x86_64__)
    for (const std::size_t size : {0x1A0, 0x400}) {
        const std::string path = m_dir.file("rom.bin");
        const Bytes original = randomBytes(size, 3);
        writeBytes(path, original);
        const int code = exitCodeInChild([&] {
            if (!failWritesAt(headerField(FieldId::ConsoleName).offset))
                return 10;
            const SaveResult saved = SaveHeader(path, "1234", someTexts);
            if (saved.status != SaveStatus::Failed)
                return 11;
            return mentions(saved.error, path, "Input/output error") ? 0 : 12;
        });
        EXPECT_EQ(code, 0) << size;
        EXPECT_EQ(readBytes(path), original) << size;
    }
#else
    GTEST_SKIP() << "the failing disk is simulated on x86-64 only";
#endif
}

// On a full disk a save fails before it changes anything, also where the file must grow or has
// a hole where the header goes: the blocks are taken before any byte is written. A ROM padded
// on it keeps its length and bytes. The disk is a small tmpfs mounted in a mount namespace of
// the child's own.
TEST_F(HeaderFileFaultTest, FullDiskChangesNothing) {
    const std::string dir = m_dir.path().string();
    const int code = onSmallDisk(dir, [&] {
        const std::string empty = dir + "/empty.bin";
        const std::string hole = dir + "/hole.bin";
        const std::string rom = dir + "/rom.bin";
        const Bytes romBytes = randomBytes(8192, 4);
        writeBytes(empty, {});
        writeBytes(hole, {});
        writeBytes(rom, romBytes);
        if (::truncate(hole.c_str(), 300) != 0)
            return 10;
        const std::string filler = dir + "/filler";
        std::ofstream filling(filler, std::ios::binary);
        const std::string page(4096, 'F');
        while (filling.write(page.data(), static_cast<std::streamsize>(page.size())).flush())
            ;
        filling.close();
        for (const auto& [path, size] : {std::pair{empty, 0u}, std::pair{hole, 300u}}) {
            const SaveResult saved = SaveHeader(path, "1234", someTexts);
            if (saved.status != SaveStatus::Failed ||
                !mentions(saved.error, path, "No space left on device"))
                return 11;
            if (readBytes(path) != Bytes(size, 0))
                return 12;
        }
        // Room for part of the padding: it runs out on the way.
        if (::truncate(filler.c_str(), std::filesystem::file_size(filler) - 4 * page.size()) != 0)
            return 15;
        HeaderEdit padded;
        padded.growth = Growth{128 * 1024, 0xFF};
        padded.patches.push_back({0x1A4, "\x00\x01\xFF\xFF"});
        const Result<Written> grown = WriteHeaderEdit(rom, padded);
        if (grown.outcome() != Outcome::Failed ||
            !mentions(grown.problem().text(), rom, "No space left on device"))
            return 13;
        return readBytes(rom) == romBytes ? 0 : 14;
    });
    if (code == cannotMount)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(code, 0);
}

// A conversion that runs out of space leaves no file behind, neither the new one nor its
// unfinished copy, and an existing file it was to replace stays as it was.
TEST_F(HeaderFileFaultTest, ConversionOnAFullDiskLeavesNoFile) {
    TempDir sources;
    Bytes rom = randomBytes(8 * InterleavedBlockSize, 5);
    setFieldBytes(rom, headerField(FieldId::ConsoleName), "SEGA MEGA DRIVE ");
    const std::string source = sources.file("game.bin");
    writeBytes(source, rom);
    const std::string dir = m_dir.path().string();
    const int code = onSmallDisk(dir, [&] {
        const std::string kept = dir + "/kept.smd";
        writeBytes(kept, Bytes(100, 0x55));
        for (const auto& [destination, replace] :
             {std::pair{dir + "/game.smd", false}, std::pair{kept, true}}) {
            const Result<Converted> result =
                ConvertRom(source, destination, InterleavedLayout, replace);
            if (result.outcome() != Outcome::Failed ||
                !mentions(result.problem().text(), destination, "No space left on device"))
                return 11;
        }
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
            ++files;
        return files == 1 && readBytes(kept) == Bytes(100, 0x55) ? 0 : 12;
    });
    if (code == cannotMount)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(code, 0);
}
