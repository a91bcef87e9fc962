// SPDX-License-Identifier: MIT
// Runs the quillon-cli cases of cases/*.cases: the real program, in a scratch folder of the
// case's own files, natively and (in the Windows build) under Wine.
#include "CliCase.h"

#include "ArchiveBuilder.h"
#include "CdSectorTestSupport.h"
#include "ProcessRunner.h"
#include "RomBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

using namespace quillon;
using namespace quillon::test;

namespace quillon::test {
// A failing case names itself by its place and title, not by its bytes.
void PrintTo(const CliCase& test, std::ostream* out) { *out << test.where << ": " << test.title; }
} // namespace quillon::test

namespace {

const std::vector<CliCase>& allCases() {
    static const std::vector<CliCase> cases = readCases(QUILLON_CLI_CASES);
    return cases;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// Whether text matches pattern, in which "{any}" stands for any run of characters.
bool matches(std::string_view text, std::string_view pattern) {
    const auto any = pattern.find("{any}");
    if (any == std::string_view::npos)
        return text == pattern;
    if (!text.starts_with(pattern.substr(0, any)))
        return false;
    const std::string_view rest = pattern.substr(any + 5);
    for (std::size_t from = any; from <= text.size(); ++from) {
        if (matches(text.substr(from), rest))
            return true;
    }
    return false;
}

// The lines of an output; a last line without its line break is marked as such.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (!text.empty() && text.back() != '\n')
        lines.back() += "(no line break at the end)";
    return lines;
}

void expectOutput(const std::string& stream, const std::string& text,
                  const std::optional<std::vector<std::string>>& exact,
                  const std::vector<std::string>& has, bool checkedOtherwise) {
    const std::vector<std::string> lines = linesOf(text);
    const auto matchesLine = [&lines](const std::string& pattern) {
        return std::any_of(lines.begin(), lines.end(),
                           [&pattern](const std::string& line) { return matches(line, pattern); });
    };
    if (exact) {
        bool same = lines.size() == exact->size();
        for (std::size_t i = 0; same && i < lines.size(); ++i)
            same = matches(lines[i], (*exact)[i]);
        EXPECT_TRUE(same) << stream << " was:\n" << text;
    }
    for (const std::string& pattern : has) {
        EXPECT_TRUE(matchesLine(pattern)) << stream << " has no line \"" << pattern << "\":\n"
                                          << text;
    }
    if (!exact && has.empty() && !checkedOtherwise) {
        EXPECT_EQ(text, "") << stream << " should be empty";
    }
}

// Applies one step of a recipe, or of the changes a check expects, to bytes.
void applyStep(Bytes& bytes, const CaseLine& step, const std::map<std::string, Bytes>& made) {
    const auto& words = step.words;
    const auto number = [&](std::size_t i) {
        if (i >= words.size())
            throw std::runtime_error(step.where + ": \"" + words[0] + "\" needs more words");
        return parseNumber(words[i], step.where);
    };
    const auto within = [&](std::uint64_t offset, std::size_t count) {
        if (offset + count > bytes.size())
            throw std::runtime_error(step.where + ": past the end of the file");
        return static_cast<std::size_t>(offset);
    };
    const auto hex = [&](const std::string& digits) {
        return parseNumber("0x" + digits, step.where);
    };
    const std::string& what = words[0];
    if (what == "size") {
        bytes.resize(number(1), words.size() > 2 ? static_cast<std::uint8_t>(hex(words[2])) : 0);
    } else if (what == "random") {
        bytes = randomBytes(bytes.size(), static_cast<std::uint32_t>(number(1)));
    } else if (what == "fill") {
        const auto from = words.size() > 2 ? within(number(2), number(3)) : 0;
        const auto count = words.size() > 2 ? number(3) : bytes.size();
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), count,
                    static_cast<std::uint8_t>(hex(words.at(1))));
    } else if (what == "clean") {
        within(0, ChecksummedRegionStart);
        writeCleanHeader(bytes);
    } else if (what == "text") {
        std::string text;
        for (std::size_t i = 2; i < words.size(); ++i)
            text += words[i];
        setBytes(bytes, within(number(1), text.size()), text);
    } else if (what == "bytes") {
        std::string digits;
        for (std::size_t i = 2; i < words.size(); ++i)
            digits += words[i];
        std::string raw;
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
            raw += static_cast<char>(hex(digits.substr(i, 2)));
        if (digits.size() % 2 != 0)
            throw std::runtime_error(step.where + ": two hexadecimal digits a byte");
        setBytes(bytes, within(number(1), raw.size()), raw);
    } else if (what == "checksum") {
        within(0, ChecksummedRegionStart);
        storeChecksum(bytes);
        if (words.at(1) == "bad")
            bytes[ChecksumWord::offset + 1] ^= 1;
        else if (words[1] != "good")
            setBytes(bytes, ChecksumWord::offset,
                     std::string{static_cast<char>(hex(words[1]) >> 8),
                                 static_cast<char>(hex(words[1]) & 0xFF)});
    } else if (what == "interleave") {
        bytes = interleave(bytes);
    } else if (what == "swap") {
        bytes = byteSwap(bytes);
    } else if (what == "disc") {
        if (words.at(1) != "2048" && words[1] != "2352")
            throw std::runtime_error(step.where + ": disc 2048 or disc 2352");
        bytes = discImage(discUserData(), words[1] == "2352");
    } else if (what == "sector") {
        RawSector sector;
        within(0, sector.size());
        std::copy_n(bytes.begin(), sector.size(), sector.begin());
        RegenerateMode1Sector(sector);
        std::copy(sector.begin(), sector.end(), bytes.begin());
    } else if (what == "copy") {
        bytes = made.at(words.at(1));
    } else if (what == "archive") {
        std::vector<ArchiveMemberBytes> members;
        for (std::size_t i = 2; i < words.size(); ++i)
            members.push_back({words[i], made.at(words[i])});
        bytes = makeArchive(words.at(1), members);
    } else if (what == "mode") {
        throw std::runtime_error(step.where + ": \"mode\" only makes a file");
    } else {
        throw std::runtime_error(step.where + ": no step \"" + what + "\"");
    }
}

// The permission bits of a "mode" step, in octal as chmod takes them.
std::filesystem::perms octalMode(const CaseLine& step) {
    std::size_t used = 0;
    unsigned long bits = 0;
    try {
        bits = std::stoul(step.words.at(1), &used, 8);
    } catch (const std::exception&) {
        used = 0;
    }
    if (step.words.size() != 2 || used != step.words[1].size() || bits > 0777)
        throw std::runtime_error(step.where + ": \"mode\" takes octal permission bits");
    return static_cast<std::filesystem::perms>(bits);
}

class CliCaseTest : public ::testing::TestWithParam<CliCase> {
protected:
    TempDir m_folder;  // the case's files, and the program's working folder
    TempDir m_streams; // its standard output and error
    std::map<std::string, Bytes> m_made;
    std::vector<std::pair<std::string, std::filesystem::perms>> m_modes; // of folders

    std::string path(const std::string& name) const { return m_folder.file(name); }

    void makeFiles(const CliCase& test) {
        for (const CaseFile& file : test.files) {
            if (file.kind == CaseFile::Kind::Link) {
                std::filesystem::create_symlink(pathFromUtf8(file.target),
                                                pathFromUtf8(path(file.name)));
                continue;
            }
            if (file.kind == CaseFile::Kind::Folder) {
                std::filesystem::create_directory(pathFromUtf8(path(file.name)));
                for (const CaseLine& step : file.recipe) {
                    if (step.words[0] != "mode")
                        throw std::runtime_error(step.where + ": a folder takes a mode alone");
                    m_modes.emplace_back(file.name, octalMode(step));
                }
                continue;
            }
            Bytes bytes;
            std::optional<std::filesystem::perms> mode;
            for (const CaseLine& step : file.recipe) {
                if (step.words[0] == "mode")
                    mode = octalMode(step);
                else
                    applyStep(bytes, step, m_made);
            }
            if (test.interleaved && (bytes.empty() || bytes.size() % SmdBlockSize != 0))
                throw std::runtime_error(test.where + ": " + file.name +
                                         " is no whole number of 16 KiB blocks; interleaved, "
                                         "the case needs another size or a plain-only reason");
            writeBytes(path(file.name), test.interleaved ? interleave(bytes) : bytes);
            // On Windows this sets the read-only attribute where no owner write bit is left.
            if (mode)
                std::filesystem::permissions(pathFromUtf8(path(file.name)), *mode);
            m_made[file.name] = std::move(bytes);
        }
        // A folder's files are made before the folder is closed to them.
        for (const auto& [name, mode] : m_modes) {
            const std::filesystem::path folder = pathFromUtf8(path(name));
            std::filesystem::permissions(folder, mode);
            std::error_code listed;
            std::filesystem::directory_iterator probe(folder, listed);
            if (!listed &&
                (mode & std::filesystem::perms::owner_read) == std::filesystem::perms::none)
                GTEST_SKIP() << name << " is closed to its owner, but this user (root) lists it";
        }
    }

    // Windows removes no read-only file, so each file is made writable again for the scratch
    // folder to go.
    void TearDown() override {
        std::error_code ignored;
        for (const auto& [name, mode] : m_modes)
            std::filesystem::permissions(pathFromUtf8(path(name)),
                                         std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        for (const auto& [name, bytes] : m_made)
            std::filesystem::permissions(pathFromUtf8(path(name)),
                                         std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
    }

    void run(const CaseRun& run) {
        SCOPED_TRACE(run.where + ": quillon-cli " + joined(run.arguments));
        const std::string out = run.outputPath.empty() ? m_streams.file("stdout") : run.outputPath;
        const std::string err = m_streams.file("stderr");
        const int status =
            runProgram(QUILLON_CLI, run.arguments, out, err, utf8Path(m_folder.path()));
        const std::string outText = run.outputPath.empty() ? readText(out) : "";
        const std::string errText = readText(err);
        EXPECT_EQ(status, run.status) << "stderr:\n" << errText;
        expectOutput("stdout", outText, run.out, run.outHas, !run.json.empty());
        expectOutput("stderr", errText, run.err, run.errHas, false);
        const std::vector<std::string> lines = linesOf(outText);
        for (const JsonCheck& check : run.json) {
            SCOPED_TRACE(check.where);
            ASSERT_LE(check.line, lines.size()) << outText;
            const auto object = nlohmann::json::parse(lines[check.line - 1], nullptr, false);
            const auto value = nlohmann::json::parse(check.value, nullptr, false);
            ASSERT_FALSE(object.is_discarded()) << "no JSON: " << lines[check.line - 1];
            ASSERT_FALSE(value.is_discarded()) << "no JSON: " << check.value;
            const nlohmann::json::json_pointer pointer(check.pointer);
            ASSERT_TRUE(object.contains(pointer)) << check.pointer << " in " << object.dump();
            EXPECT_EQ(object.at(pointer), value) << check.pointer;
        }
    }

    // Every file made is as the checks expect, unchanged where none names it, and the folder
    // holds nothing the case does not know of.
    void checkFiles(const CliCase& test) {
        std::set<std::string> known;
        for (const CaseFile& file : test.files)
            known.insert(file.name);
        std::map<std::string, Bytes> expected = m_made;
        for (const FileCheck& check : test.checks) {
            SCOPED_TRACE(check.where);
            known.insert(check.name);
            const bool exists = std::filesystem::exists(pathFromUtf8(path(check.name)));
            switch (check.kind) {
            case FileCheck::Kind::Absent:
                EXPECT_FALSE(exists) << check.name;
                expected.erase(check.name);
                break;
            case FileCheck::Kind::Same:
                expected.erase(check.name);
                ASSERT_TRUE(exists) << check.name;
                EXPECT_TRUE(readBytes(path(check.name)) == readBytes(path(check.other)))
                    << check.name << " differs from " << check.other;
                break;
            case FileCheck::Kind::Changes:
                Bytes& bytes = expected.at(check.name);
                for (const CaseLine& step : check.change)
                    applyStep(bytes, step, m_made);
                break;
            }
        }
        // An interleaved file is compared in ROM order, its copier header as made.
        const Bytes copierHeader = interleave({});
        for (const auto& [name, bytes] : expected) {
            Bytes now = readBytes(path(name));
            if (test.interleaved) {
                EXPECT_TRUE(now.size() % SmdBlockSize == SmdHeaderSize &&
                            std::equal(copierHeader.begin(), copierHeader.end(), now.begin()))
                    << name << " is no longer interleaved with its copier header";
                now = deinterleave(now);
            }
            EXPECT_EQ(now.size(), bytes.size()) << name;
            std::size_t differ = 0;
            while (differ < std::min(now.size(), bytes.size()) && now[differ] == bytes[differ])
                ++differ;
            EXPECT_EQ(differ, std::min(now.size(), bytes.size()))
                << name << " is not as expected from offset 0x" << std::hex << differ;
        }
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path())) {
            const std::string name = utf8Path(entry.path().filename());
            EXPECT_TRUE(known.contains(name)) << "a file no case made: " << name;
        }
    }

    static std::string readText(const std::string& file) {
        const Bytes bytes = readBytes(file);
        return {bytes.begin(), bytes.end()};
    }
};

TEST_P(CliCaseTest, Runs) {
    const CliCase& test = GetParam();
    SCOPED_TRACE(test.where + ": " + test.title);
#ifdef _WIN32
    if (test.onlyOn == "posix")
        GTEST_SKIP() << "a POSIX case";
#else
    if (test.onlyOn == "windows")
        GTEST_SKIP() << "a Windows case";
#endif
    makeFiles(test);
    if (IsSkipped())
        return;
    for (const CaseRun& each : test.runs)
        run(each);
    checkFiles(test);
}

INSTANTIATE_TEST_SUITE_P(Cases, CliCaseTest, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return info.param.testName; });

} // namespace
