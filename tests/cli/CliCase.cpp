// SPDX-License-Identifier: MIT
#include "CliCase.h"

#include "TempDir.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace quillon::test {

namespace {

[[noreturn]] void fault(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string identifier(const std::string& title) {
    std::string name;
    for (const char c : title) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name;
}

struct RawLine {
    std::string text;
    std::string where;
};

bool isIndented(const std::string& text) { return text.starts_with("  "); }

class CaseFileReader {
public:
    explicit CaseFileReader(std::vector<RawLine> lines) : m_lines(std::move(lines)) {}

    void readInto(std::vector<CliCase>& cases) {
        const std::size_t first = cases.size();
        bool interleaved = false; // the file's default
        while (m_next < m_lines.size()) {
            const RawLine line = m_lines[m_next++];
            if (line.text.empty() || line.text.starts_with('#'))
                continue;
            if (isIndented(line.text))
                fault(line.where, "an indented line outside a block");
            const std::vector<std::string> words = splitWords(line.text, line.where);
            if (words.front() == "case") {
                const std::string title = line.text.substr(line.text.find(' ') + 1);
                CliCase& test = cases.emplace_back();
                test.title = title;
                test.testName = identifier(title);
                test.where = line.where;
                test.alsoInterleaved = interleaved;
                continue;
            }
            if (cases.size() == first && words == std::vector<std::string>{"interleaved"}) {
                interleaved = true;
                continue;
            }
            if (cases.size() == first)
                fault(line.where, "\"" + words.front() + "\" before the first case");
            directive(cases.back(), words, line.where);
        }
    }

private:
    // The block of lines that belongs to the directive just read, without their indentation.
    // An empty line within it is an empty line of the block.
    std::vector<RawLine> block() {
        std::vector<RawLine> lines;
        std::size_t end = m_next;
        while (end < m_lines.size() && (m_lines[end].text.empty() || isIndented(m_lines[end].text)))
            ++end;
        while (end > m_next && m_lines[end - 1].text.empty())
            --end;
        for (; m_next < end; ++m_next)
            lines.push_back(
                {m_lines[m_next].text.substr(std::min<std::size_t>(2, m_lines[m_next].text.size())),
                 m_lines[m_next].where});
        return lines;
    }

    std::vector<std::string> textBlock() {
        std::vector<std::string> texts;
        for (const RawLine& line : block())
            texts.push_back(line.text);
        return texts;
    }

    std::vector<CaseLine> wordBlock() {
        std::vector<CaseLine> lines;
        for (const RawLine& line : block()) {
            if (!line.text.empty())
                lines.push_back({line.where, splitWords(line.text, line.where)});
        }
        return lines;
    }

    static CaseRun& lastRun(CliCase& test, const std::string& word, const std::string& where) {
        if (test.runs.empty())
            fault(where, "\"" + word + "\" before the case's first run");
        return test.runs.back();
    }

    static void expectCount(const std::vector<std::string>& words, std::size_t count,
                            const std::string& where) {
        if (words.size() != count)
            fault(where,
                  "\"" + words.front() + "\" takes " + std::to_string(count - 1) + " word(s)");
    }

    void directive(CliCase& test, const std::vector<std::string>& words, const std::string& where) {
        const std::string& word = words.front();
        if (word == "only") {
            expectCount(words, 2, where);
            if (words[1] != "posix" && words[1] != "windows")
                fault(where, "only posix or only windows");
            test.onlyOn = words[1];
        } else if (word == "interleaved") {
            expectCount(words, 1, where);
            test.alsoInterleaved = true;
        } else if (word == "plain-only") {
            if (words.size() < 2)
                fault(where, "\"plain-only\" takes the reason why");
            // Before the case's first run it keeps the case plain, after a run that run.
            if (test.runs.empty())
                test.alsoInterleaved = false;
            else
                test.runs.back().plainOnly = true;
        } else if (word == "rom" || word == "folder") {
            expectCount(words, 2, where);
            test.files.push_back({word == "rom" ? CaseFile::Kind::Rom : CaseFile::Kind::Folder,
                                  words[1],
                                  wordBlock(),
                                  {}});
        } else if (word == "link") {
            expectCount(words, 3, where);
            test.files.push_back({CaseFile::Kind::Link, words[1], {}, words[2]});
        } else if (word == "run") {
            test.runs.push_back(
                {where, {words.begin() + 1, words.end()}, false, {}, 0, {}, {}, {}, {}, {}});
        } else if (word == "output") {
            expectCount(words, 2, where);
            lastRun(test, word, where).outputPath = words[1];
        } else if (word == "status") {
            expectCount(words, 2, where);
            lastRun(test, word, where).status = static_cast<int>(parseNumber(words[1], where));
        } else if (word == "stdout" || word == "stderr") {
            CaseRun& run = lastRun(test, word, where);
            (word == "stdout" ? run.out : run.err) = textBlock();
        } else if (word == "stdout-has" || word == "stderr-has") {
            CaseRun& run = lastRun(test, word, where);
            auto& has = word == "stdout-has" ? run.outHas : run.errHas;
            for (std::string& text : textBlock())
                has.push_back(std::move(text));
        } else if (word == "json") {
            CaseRun& run = lastRun(test, word, where);
            const std::size_t line = words.size() > 1 ? parseNumber(words[1], where) : 1;
            for (const RawLine& check : block()) {
                const auto space = check.text.find(' ');
                if (space == std::string::npos)
                    fault(check.where, "a JSON check is a pointer and a value");
                run.json.push_back(
                    {line, check.text.substr(0, space), check.text.substr(space + 1), check.where});
            }
        } else if (word == "changes") {
            expectCount(words, 2, where);
            test.checks.push_back({FileCheck::Kind::Changes, words[1], {}, wordBlock(), where});
        } else if (word == "same") {
            expectCount(words, 3, where);
            test.checks.push_back({FileCheck::Kind::Same, words[1], words[2], {}, where});
        } else if (word == "absent") {
            expectCount(words, 2, where);
            test.checks.push_back({FileCheck::Kind::Absent, words[1], {}, {}, where});
        } else {
            fault(where, "no directive \"" + word + "\"");
        }
    }

    std::vector<RawLine> m_lines;
    std::size_t m_next = 0;
};

// The text with each "{A|B}" in it made A for the plain run, B for the interleaved one.
// Scanned by hand: GCC 12 warns inside <regex> when built with the sanitizers.
std::string sideOf(const std::string& text, bool interleaved) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        const std::size_t bar = text.find_first_of("{}|", open + 1);
        const std::size_t close =
            bar == std::string::npos ? bar : text.find_first_of("{}|", bar + 1);
        if (open == std::string::npos || bar == std::string::npos || text[bar] != '|' ||
            close == std::string::npos || text[close] != '}') {
            const std::size_t upTo = open == std::string::npos ? text.size() : open + 1;
            out.append(text, at, upTo - at);
            at = upTo;
            continue;
        }
        out.append(text, at, open - at);
        out.append(interleaved ? text.substr(bar + 1, close - bar - 1)
                               : text.substr(open + 1, bar - open - 1));
        at = close + 1;
    }
    return out;
}

CliCase sideOf(CliCase test, bool interleaved) {
    for (CaseRun& run : test.runs) {
        std::vector<std::vector<std::string>*> lists{&run.outHas, &run.errHas};
        for (auto* stream : {&run.out, &run.err}) {
            if (*stream)
                lists.push_back(&**stream);
        }
        for (auto* list : lists) {
            for (std::string& line : *list)
                line = sideOf(line, interleaved);
        }
        for (JsonCheck& check : run.json)
            check.value = sideOf(check.value, interleaved);
    }
    if (interleaved) {
        std::erase_if(test.runs, [](const CaseRun& run) { return run.plainOnly; });
        test.interleaved = true;
        test.title += " (interleaved)";
        test.testName += "_interleaved";
    }
    return test;
}

} // namespace

std::vector<std::string> splitWords(const std::string& line, const std::string& where) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        while (i < line.size() && line[i] != ' ') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] != '\\') {
                    word += line[i];
                    continue;
                }
                if (++i == line.size())
                    break;
                switch (line[i]) {
                case 'n':
                    word += '\n';
                    break;
                case 'r':
                    word += '\r';
                    break;
                case 't':
                    word += '\t';
                    break;
                case '0':
                    word += '\0';
                    break;
                case 'x':
                    if (i + 2 >= line.size() || hexValue(line[i + 1]) < 0 ||
                        hexValue(line[i + 2]) < 0)
                        fault(where, "\\x takes two hexadecimal digits");
                    word += static_cast<char>(hexValue(line[i + 1]) * 16 + hexValue(line[i + 2]));
                    i += 2;
                    break;
                default:
                    word += line[i];
                }
            }
            if (i == line.size())
                fault(where, "a quote is not closed");
            ++i;
        }
        words.push_back(std::move(word));
    }
    if (words.empty())
        fault(where, "an empty line");
    return words;
}

std::uint64_t parseNumber(const std::string& word, const std::string& where) {
    std::string digits = word;
    std::uint64_t unit = 1;
    if (digits.ends_with('K') || digits.ends_with('M')) {
        unit = digits.back() == 'K' ? 1024 : 1024 * 1024;
        digits.pop_back();
    }
    const bool hex = digits.starts_with("0x");
    if (hex)
        digits.erase(0, 2);
    std::size_t used = 0;
    std::uint64_t value = 0;
    try {
        value = std::stoull(digits, &used, hex ? 16 : 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (digits.empty() || used != digits.size())
        fault(where, "\"" + word + "\" is not a number");
    return value * unit;
}

std::vector<CliCase> readCases(const std::string& folder) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(pathFromUtf8(folder))) {
        if (entry.path().extension() == ".cases")
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());

    std::vector<CliCase> cases;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::vector<RawLine> lines;
        const std::string name = utf8Path(path.filename());
        std::string text;
        for (int number = 1; std::getline(in, text); ++number)
            lines.push_back({text, name + ":" + std::to_string(number)});
        CaseFileReader(std::move(lines)).readInto(cases);
    }
    std::set<std::string> names;
    for (const CliCase& test : cases) {
        if (test.testName.empty() || !names.insert(test.testName).second)
            fault(test.where, "a case needs a title of its own");
    }
    std::vector<CliCase> runs;
    for (const CliCase& test : cases) {
        runs.push_back(sideOf(test, false));
        if (test.alsoInterleaved &&
            std::any_of(test.files.begin(), test.files.end(),
                        [](const CaseFile& file) { return file.kind == CaseFile::Kind::Rom; }))
            runs.push_back(sideOf(test, true));
    }
    return runs;
}

} // namespace quillon::test
