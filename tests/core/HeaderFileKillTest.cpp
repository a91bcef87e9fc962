// SPDX-License-Identifier: MIT
// A save killed at any moment leaves the header wholly as it was or wholly as saved, never part
// of each: a child saves two headers in turn until it is killed, and the file is looked at then.
#include "HeaderFile.h"
#include "RomBuilder.h"
#include "TempDir.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr int rounds = 200;

// One header's worth of a save: every text at its field's full length and a checksum, each
// byte different from the other header's, so that any mix of the two shows.
struct Header {
    FieldTexts texts;
    std::string checksum;
};

Header header(char first, const std::string& checksum) {
    Header made{{}, checksum};
    for (const HeaderField& field : HeaderFieldTable)
        made.texts[field.index] =
            std::string(field.length, static_cast<char>(first + static_cast<char>(field.index)));
    return made;
}

// The file as a whole save of header leaves it.
Bytes saved(Bytes rom, const Header& header) {
    for (const HeaderField& field : HeaderFieldTable)
        setFieldBytes(rom, field, header.texts[field.index]);
    const auto value = std::stoul(header.checksum, nullptr, 16);
    rom[ChecksumWord::offset] = static_cast<std::uint8_t>(value >> 8);
    rom[ChecksumWord::offset + 1] = static_cast<std::uint8_t>(value);
    return rom;
}

// Which header each field and the checksum hold, for a message about a mix.
std::string describe(const Bytes& now, const Bytes& a, const Bytes& b) {
    std::string said;
    const auto which = [&](std::size_t offset, std::size_t length) {
        const auto same = [&](const Bytes& other) {
            return std::equal(now.begin() + static_cast<std::ptrdiff_t>(offset),
                              now.begin() + static_cast<std::ptrdiff_t>(offset + length),
                              other.begin() + static_cast<std::ptrdiff_t>(offset));
        };
        return same(a) ? "A" : same(b) ? "B" : "neither";
    };
    for (const HeaderField& field : HeaderFieldTable)
        said += std::string(field.label) + " " + which(field.offset, field.length) + "; ";
    return said + "checksum " + which(ChecksumWord::offset, ChecksumWord::length);
}

TEST(HeaderFileKillTest, AKilledSaveLeavesTheOldHeaderOrTheNewOneNeverAMix) {
    TempDir dir;
    const std::string path = dir.file("game.bin");
    const Header a = header('a', "1111");
    const Header b = header('A', "EEEE");
    const Bytes rom = randomBytes(0x1000, 23);
    const Bytes asA = saved(rom, a);
    const Bytes asB = saved(rom, b);
    ASSERT_NE(asA, asB);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 2000); // microseconds
    int endedAs[2] = {0, 0};
    for (int round = 0; round < rounds; ++round) {
        writeBytes(path, asA);
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(started[0]);
            const char ready = 1;
            if (::write(started[1], &ready, 1) != 1)
                ::_exit(10);
            for (;;) {
                for (const Header* next : {&b, &a}) {
                    if (SaveHeader(path, next->checksum, next->texts).status != SaveStatus::Saved)
                        ::_exit(11);
                }
            }
        }
        ::close(started[1]);
        char ready = 0;
        const bool began = ::read(started[0], &ready, 1) == 1;
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(began);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saving child ended by itself, status " << status;

        const Bytes now = readBytes(path);
        ASSERT_TRUE(now == asA || now == asB)
            << "round " << round << ": " << describe(now, asA, asB);
        ++endedAs[now == asA ? 0 : 1];
    }
    // Kills that always came before the first save, or always at one place in the loop, would
    // prove nothing.
    EXPECT_GT(endedAs[0], 0);
    EXPECT_GT(endedAs[1], 0);
}

} // namespace
