// SPDX-License-Identifier: MIT
// quillon-cli as a user runs it: the real program on files in a scratch folder.
#include "HeaderFile.h"
#include "RomBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

using namespace quillon;
using namespace quillon::test;
using ::testing::HasSubstr;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& argument) {
    std::string result(1, '\'');
    for (char c : argument) {
        if (c == '\'')
            result.append("'\\''");
        else
            result.push_back(c);
    }
    result.push_back('\'');
    return result;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class QuillonCliTest : public ::testing::Test {
protected:
    TempDir m_dir;

    // Output goes to a file, or to outPath when given.
    CliRun cli(const std::vector<std::string>& arguments, std::string outPath = {}) {
        std::string command = quoted(QUILLON_CLI);
        for (const std::string& argument : arguments)
            command.append(1, ' ').append(quoted(argument));
        const std::string out = outPath.empty() ? m_dir.file("stdout.txt") : outPath;
        const std::string err = m_dir.file("stderr.txt");
        command.append(" >").append(quoted(out)).append(" 2>").append(quoted(err));
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, outPath.empty() ? slurp(out) : "",
                slurp(err)};
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

// Output that cannot be written is a failure with a message, never a silent success.
TEST_F(QuillonCliTest, OutputThatCannotBeWrittenFails) {
    const std::string path = rom("out.bin", false);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"},
                                                      {"show", path},
                                                      {"show", "--json", path},
                                                      {"check", path},
                                                      {"fix", path}}) {
        const CliRun run = cli(arguments, "/dev/full");
        EXPECT_EQ(run.status, 3) << arguments.back();
        EXPECT_THAT(run.err, HasSubstr("No space left on device")) << arguments.back();
    }
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

// A file shorter than a header is no ROM image: check says so, and show shows what is missing
// as missing, not as zeros; set and fix still write, as the window does, but warn.
TEST_F(QuillonCliTest, FilesTooShortForAHeader) {
    const std::string empty = m_dir.file("empty.bin");
    writeBytes(empty, {});
    const std::string cut = m_dir.file("short.bin");
    writeBytes(cut, Bytes(0x18F, 'Q')); // ends inside the stored checksum

    CliRun run = cli({"check", empty, cut});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("short.bin: 399 bytes, too short for a ROM header"));

    run = cli({"show", cut});
    EXPECT_THAT(run.out, HasSubstr("Stored checksum:      51--"));
    EXPECT_THAT(run.out, HasSubstr("Country Code:         (past the end of the file)"));
    EXPECT_THAT(run.out, HasSubstr("not a ROM image"));
    run = cli({"show", "--json", empty, cut});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    const auto first = nlohmann::json::parse(line);
    EXPECT_EQ(first["console_name_hex"], "");
    EXPECT_EQ(first["size"], 0);
    EXPECT_EQ(first["complete_header"], false);
    EXPECT_EQ(first["checksum_ok"], false);
    EXPECT_TRUE(first["stored_checksum"].is_null());
    std::getline(lines, line);
    const auto second = nlohmann::json::parse(line);
    EXPECT_EQ(second["serial_number"], std::string(14, 'Q'));
    EXPECT_EQ(second["device_support_hex"], "");
    EXPECT_TRUE(second["rom_start"].is_null());

    run = cli({"fix", cut});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("warning"));
    EXPECT_EQ(readBytes(cut).size(), 0x190u);
}

TEST_F(QuillonCliTest, SetWritesWhatTheWindowWouldAndNothingElse) {
    Bytes original = randomBytes(0x800, 9);
    setFieldBytes(original, HeaderFieldTable[0], std::string("SEGA\0\0\0MD", 9));
    const std::string path = m_dir.file("set.bin");
    writeBytes(path, original);

    // An empty value after "=" is a value, not a cue to take the next argument.
    const CliRun run = cli({"set", path, "--serial-number", "GM 1234", "--country-code=",
                            "--overseas-name=Caf\xC3\xA9 \xE2\x82\xAC", "--checksum", " 01a2b "});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              path + ": written: Overseas Name, Serial Number, Country Code, checksum 1A2B\n");
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
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"set", path, "--country-code", "JUEX"}, "longer than the field's 3"},
        {{"set", path, "--domestic-name", "smile \xF0\x9F\x98\x80"}, "U+1F600 has no byte"},
        {{"set", path, "--domestic-name", "bad \xC3"}, "not valid UTF-8"},
        {{"set", path, "--checksum", "0x1234"}, "\"0x1234\" is not hexadecimal"},
        {{"set", path, "--checksum", "12 34"}, "not hexadecimal"},
        {{"set", path, "--checksum", "12345"}, "more than FFFF"},
        {{"set", path, "--checksum", "FFFFFFFFF"}, "more than FFFF"},
        {{"set", path, "--checksum", "1234", "--fix-checksum"}, "excludes"},
        {{"set", path}, "names no field"},
    };
    for (const auto& [arguments, message] : refused) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_THAT(run.err, HasSubstr(message));
        EXPECT_EQ(readBytes(path), before) << message;
    }
    const CliRun missing = cli({"set", m_dir.file("missing.bin"), "--country-code", "J"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_THAT(missing.err, HasSubstr("No such file or directory"));
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

// Paths print so that none can pass for another line of output, and JSON carries the exact
// bytes of a path that is not UTF-8.
TEST_F(QuillonCliTest, PathsCannotForgeOutput) {
    const std::string forged = rom("evil.bin: ok 0000\nreal.bin", false);
    CliRun run = cli({"check", forged});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_THAT(run.out, HasSubstr("evil.bin: ok 0000\\nreal.bin\": checksum mismatch"));

    const std::string first = rom("first.bin", true);
    const std::string latin1 = rom("caf\xE9.bin", true);
    run = cli({"show", "--json", first, latin1});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string secondLine = run.out.substr(run.out.find('\n') + 1);
    const auto object = nlohmann::json::parse(secondLine);
    EXPECT_THAT(object["path"].get<std::string>(), ::testing::EndsWith("caf\xEF\xBF\xBD.bin"));
    EXPECT_THAT(object["path_hex"].get<std::string>(), ::testing::EndsWith("636166E92E62696E"));
}

// An interleaved copier image is shown in ROM order and never checked or changed as if plain.
// Its header is read whole; the console name's trademark is checked.
TEST_F(QuillonCliTest, WholeHeaderAndInterleavedImages) {
    Bytes plain = randomBytes(InterleavedBlockSize, 21);
    setFieldBytes(plain, HeaderFieldTable[0], "SEGA GENESIS");
    const std::uint8_t info[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xFF, 0xFF, 0x00, 0xFF,
                                 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 'R',  'A',  0xF8, 0x20,
                                 0x00, 0x20, 0x00, 0x01, 0x00, 0x20, 0xFF, 0xFF};
    std::copy(std::begin(info), std::end(info), plain.begin() + 0x1A0);
    std::copy_n("MEMO", 5, plain.begin() + 0x1C8);
    const std::string path = m_dir.file("rom.smd");
    const Bytes image = interleave(plain);
    writeBytes(path, image);

    CliRun run = cli({"show", "--json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    auto object = nlohmann::json::parse(run.out);
    EXPECT_EQ(object["interleaved"], true);
    EXPECT_EQ(object["console_name"], "SEGA GENESIS");
    EXPECT_EQ(object["rom_end"], "0007FFFF");
    EXPECT_EQ(object["ram_start"], "00FF0000");
    EXPECT_EQ(object["extra_memory"]["start"], "00200001");
    EXPECT_EQ(object["extra_memory"]["access"], "odd bytes");
    EXPECT_EQ(object["memo"], "MEMO");
    EXPECT_EQ(object["tmss_ok"], true);
    EXPECT_THAT(cli({"show", path}).out, HasSubstr("interleaved copier (SMD) image"));
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"check", path},
                                                      {"fix", path},
                                                      {"set", path, "--country-code", "J"},
                                                      {"set", path, "--fix-checksum"}}) {
        run = cli(arguments);
        EXPECT_EQ(run.status, 2) << arguments[0];
        EXPECT_THAT(run.err, HasSubstr("interleaved copier (SMD) image")) << arguments[0];
    }
    EXPECT_EQ(readBytes(path), image);

    setFieldBytes(plain, HeaderFieldTable[0], "SAGE GENESIS");
    writeBytes(path, plain);
    run = cli({"show", path});
    EXPECT_THAT(run.out, HasSubstr("Extra Memory:         RA, type F8 (backed up, odd bytes), "
                                   "00200001-0020FFFF"));
    EXPECT_THAT(run.out, HasSubstr("no \"SEGA\" at 0x100 or 0x101"));
    EXPECT_EQ(nlohmann::json::parse(cli({"show", "--json", path}).out)["tmss_ok"], false);
}
