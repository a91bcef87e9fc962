// SPDX-License-Identifier: MIT
// quillon-cli as a user runs it: the real program on files in a scratch folder.
#include "HeaderFile.h"
#include "ProcessRunner.h"
#include "RomBuilder.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace quillon;
using namespace quillon::test;
using ::testing::HasSubstr;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class QuillonCliTest : public ::testing::Test {
protected:
    TempDir m_dir;

    CliRun cli(const std::vector<std::string>& arguments) {
        const std::string out = m_dir.file("stdout.txt");
        const std::string err = m_dir.file("stderr.txt");
        const int status = runProgram(QUILLON_CLI, arguments, out, err);
        return {status, slurp(out), slurp(err)};
    }

    // A ROM with fields set, and its stored checksum either right or one off.
    std::string rom(const std::string& name, bool checksumRight, std::size_t size = 0x1000) {
        Bytes bytes = randomBytes(size, static_cast<std::uint32_t>(name.size()));
        setFieldBytes(bytes, HeaderFieldTable[0], "SEGA MEGA DRIVE ");
        setFieldBytes(bytes, HeaderFieldTable[2], "NAME");
        const RomChecksum sum = ComputeRomChecksum(bytes.data(), bytes.size());
        const auto stored = static_cast<RomChecksum>(checksumRight ? sum : sum + 1);
        bytes[0x18E] = static_cast<std::uint8_t>(stored >> 8);
        bytes[0x18F] = static_cast<std::uint8_t>(stored & 0xFF);
        const std::string path = m_dir.file(name);
        writeBytes(path, bytes);
        return path;
    }
};

} // namespace

TEST_F(QuillonCliTest, HelpAndVersion) {
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "1.00\n");
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"show", "set", "check", "fix"})
        EXPECT_THAT(help.out, HasSubstr(word));
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({"frobnicate"}).status, 2);
    EXPECT_EQ(cli({"show"}).status, 2);
}

TEST_F(QuillonCliTest, ShowMakesControlBytesVisibleAndJsonKeepsEveryByte) {
    Bytes bytes(0x201, 0);
    setFieldBytes(bytes, HeaderFieldTable[1], std::string("A\r\nB\x01\"\\\xE9\x80", 10));
    setFieldBytes(bytes, HeaderFieldTable[4], std::string("GM\0X", 4));
    bytes[0x18E] = 0x12;
    bytes[0x18F] = 0x34;
    const std::string path = m_dir.file("odd.bin");
    writeBytes(path, bytes);

    const CliRun text = cli({"show", path});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_THAT(text.out, HasSubstr("Copyright Date:       \"A\\r\\nB\\x01\\\"\\\\é€\""));
    EXPECT_THAT(text.out, HasSubstr("Stored checksum:      1234"));
    EXPECT_THAT(text.out, HasSubstr("Calculated checksum:  0000 (differs)"));
    EXPECT_THAT(text.out, HasSubstr("Size:                 513 bytes"));

    const CliRun json = cli({"show", "--json", path});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto object = nlohmann::json::parse(json.out);
    EXPECT_EQ(object["path"], path);
    EXPECT_EQ(object["copyright"], "A\r\nB\x01\"\\é€");
    EXPECT_EQ(object["copyright_hex"], "410D0A4201225CE980" + std::string(14, '0'));
    EXPECT_EQ(object["serial_number"], "GM");
    EXPECT_EQ(object["serial_number_hex"], "474D0058" + std::string(20, '0'));
    EXPECT_EQ(object["stored_checksum"], "1234");
    EXPECT_EQ(object["calculated_checksum"], "0000");
    EXPECT_EQ(object["checksum_ok"], false);
    EXPECT_EQ(object["size"], 513);
}

TEST_F(QuillonCliTest, ShowReportsOnlyTheBytesAShortFileHas) {
    const std::string empty = m_dir.file("empty.bin");
    writeBytes(empty, {});
    Bytes shortRom(0x115, 'Q');
    const std::string cut = m_dir.file("short.bin");
    writeBytes(cut, shortRom);

    const CliRun run = cli({"show", "--json", empty, cut});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    const auto first = nlohmann::json::parse(line);
    EXPECT_EQ(first["console_name"], "");
    EXPECT_EQ(first["console_name_hex"], "");
    EXPECT_EQ(first["size"], 0);
    EXPECT_EQ(first["checksum_ok"], true);
    std::getline(lines, line);
    const auto second = nlohmann::json::parse(line);
    EXPECT_EQ(second["copyright"], "QQQQQ");
    EXPECT_EQ(second["copyright_hex"], "5151515151");
    EXPECT_EQ(second["country_code_hex"], "");
}

TEST_F(QuillonCliTest, SetWritesWhatTheWindowWouldAndNothingElse) {
    Bytes original = randomBytes(0x800, 9);
    setFieldBytes(original, HeaderFieldTable[0], std::string("SEGA\0\0\0MD", 9));
    const std::string path = m_dir.file("set.bin");
    writeBytes(path, original);

    const CliRun run = cli({"set", path, "--serial-number", "GM 1234", "--country-code", "",
                            "--overseas-name", "Caf\xC3\xA9 \xE2\x82\xAC", "--checksum", "1a2b"});
    ASSERT_EQ(run.status, 0) << run.err;
    Bytes expected = original;
    setFieldBytes(expected, HeaderFieldTable[4], "GM 1234       ");
    setFieldBytes(expected, HeaderFieldTable[5], "   ");
    setFieldBytes(expected, HeaderFieldTable[3], "Caf\xE9 \x80" + std::string(42, ' '));
    expected[0x18E] = 0x1A;
    expected[0x18F] = 0x2B;
    EXPECT_EQ(readBytes(path), expected); // the console name keeps its zero bytes

    // The same as the window's save would write for those texts.
    const std::string twin = m_dir.file("twin.bin");
    writeBytes(twin, original);
    FieldTexts texts;
    for (const HeaderField& field : HeaderFieldTable)
        texts[field.index] = std::string(fieldBytes(expected, field));
    ASSERT_EQ(SaveHeader(twin, "1A2B", texts).status, SaveStatus::Saved);
    for (const HeaderField& field : {HeaderFieldTable[3], HeaderFieldTable[4], HeaderFieldTable[5]})
        EXPECT_EQ(fieldBytes(readBytes(twin), field), fieldBytes(expected, field));
}

TEST_F(QuillonCliTest, RefusalsLeaveTheFileByteForByte) {
    const std::string path = rom("refuse.bin", false);
    const Bytes before = readBytes(path);
    const std::vector<std::vector<std::string>> refused{
        {"set", path, "--country-code", "JUEX"},                // too long
        {"set", path, "--domestic-name", "check \xE2\x9C\x93"}, // no byte for U+2713
        {"set", path, "--domestic-name", "bad \xC3"},           // not UTF-8
        {"set", path, "--checksum", "0x1234"},                  // not hexadecimal
        {"set", path, "--checksum", "12 34"},
        {"set", path, "--checksum", "1234", "--fix-checksum"}, // both at once
        {"set", path},                                         // nothing to set
    };
    for (const auto& arguments : refused) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.back();
        EXPECT_FALSE(run.err.empty()) << arguments.back();
        EXPECT_EQ(readBytes(path), before) << arguments.back();
    }
    const CliRun missing = cli({"set", m_dir.file("missing.bin"), "--country-code", "J"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_THAT(missing.err, HasSubstr(m_dir.file("missing.bin") + ": ")); // and the reason
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("missing.bin")));
}

TEST_F(QuillonCliTest, CheckFixAndSetFixChecksum) {
    const std::string good = rom("good.bin", true);
    const std::string bad = rom("bad.bin", false);

    CliRun run = cli({"check", good});
    EXPECT_EQ(run.status, 0);
    run = cli({"check", good, bad});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr(bad + ": checksum mismatch"));
    EXPECT_THAT(run.out, ::testing::Not(HasSubstr(good + ": checksum mismatch")));

    const Bytes before = readBytes(bad);
    run = cli({"fix", good, bad});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(cli({"check", good, bad}).status, 0);
    Bytes after = readBytes(bad);
    after[0x18E] = before[0x18E];
    after[0x18F] = before[0x18F];
    EXPECT_EQ(after, before); // only the checksum word moved

    const std::string other = rom("other.bin", false);
    EXPECT_EQ(cli({"set", other, "--fix-checksum"}).status, 0);
    EXPECT_EQ(cli({"check", other}).status, 0);
}

TEST_F(QuillonCliTest, ManyFilesGoOnPastOneThatFails) {
    const std::string first = rom("first.bin", false);
    const std::string missing = m_dir.file("missing.bin");
    const std::string last = rom("last.bin", false);

    CliRun run = cli({"check", first, missing, last});
    EXPECT_EQ(run.status, 3);
    EXPECT_THAT(run.out, HasSubstr(first + ": checksum mismatch"));
    EXPECT_THAT(run.out, HasSubstr(last + ": checksum mismatch"));
    EXPECT_THAT(run.err, HasSubstr(missing));

    run = cli({"fix", first, m_dir.path().string(), last});
    EXPECT_EQ(run.status, 3);
    EXPECT_THAT(run.err, HasSubstr("not a regular file"));
    EXPECT_EQ(cli({"check", first, last}).status, 0);

    run = cli({"show", "--json", missing, first});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(nlohmann::json::parse(run.out)["path"], first);
}

// Paths beyond ASCII reach the file and come back unchanged, on Windows through its UTF-16
// command line.
TEST_F(QuillonCliTest, PathsBeyondAsciiWork) {
    for (const std::string name : {"ロム.bin", "Édition.bin"}) {
        const std::string path = rom(name, false);
        CliRun run = cli({"fix", path});
        EXPECT_EQ(run.status, 0) << run.err;
        run = cli({"show", "--json", path});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto object = nlohmann::json::parse(run.out);
        EXPECT_EQ(object["path"], path);
        EXPECT_EQ(object["checksum_ok"], true);
    }
}
