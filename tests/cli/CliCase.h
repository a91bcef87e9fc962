// SPDX-License-Identifier: MIT
// quillon-cli's tests as data: each case says how its files are made, which command lines run
// on them, and what must come out (status, output, JSON values) and which bytes must change.
// The format is described in cases/README.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// One line of a case file, cut into words; a word in double quotes may hold spaces and escapes.
struct CaseLine {
    std::string where; // "file:line", for messages
    std::vector<std::string> words;
};

// A file the case makes before it runs anything.
struct CaseFile {
    enum class Kind { Rom, Folder, Link };
    Kind kind = Kind::Rom;
    std::string name;
    std::vector<CaseLine> recipe; // how a ROM is made, one step a line; a folder's mode
    std::string target;           // a symbolic link's, as written
};

struct JsonCheck {
    std::size_t line = 1; // of the output, from 1
    std::string pointer;  // a JSON pointer such as /extra_memory/start
    std::string value;    // the expected value, as JSON text
    std::string where;
};

// One run of the program and what it must give.
struct CaseRun {
    std::string where;
    std::vector<std::string> arguments;
    bool plainOnly = false; // left out of the case's interleaved run
    std::string outputPath; // where its standard output goes instead of being read, if anywhere
    int status = 0;
    // Output lines; "{any}" stands for any text within a line. Without an exact expectation a
    // stream must hold each "has" line, or be empty when there are none.
    std::optional<std::vector<std::string>> out, err;
    std::vector<std::string> outHas, errHas;
    std::vector<JsonCheck> json;
};

// What must hold of the files after the last run. Files not named here must be unchanged.
struct FileCheck {
    enum class Kind { Changes, Same, Absent };
    Kind kind = Kind::Changes;
    std::string name;
    std::string other;            // Same: the file it must equal
    std::vector<CaseLine> change; // Changes: the bytes written, as a recipe's "at" and "size"
    std::string where;
};

struct CliCase {
    std::string title;
    std::string testName; // the title as an identifier
    std::string where;
    std::string onlyOn; // "posix" or "windows", or empty for both
    // Whether the case is read to run once more on the interleaved form of each ROM it makes,
    // and whether this is that run.
    bool alsoInterleaved = false;
    bool interleaved = false;
    std::vector<CaseFile> files;
    std::vector<CaseRun> runs;
    std::vector<FileCheck> checks;
};

// Reads every *.cases file of the folder, in name order, each case that makes a ROM and is to
// run interleaved as well twice: once plain, once interleaved, each with its own side of the
// "{plain|interleaved}" alternatives in what it expects. A malformed file throws, naming the
// line.
std::vector<CliCase> readCases(const std::string& folder);

// The words of one line: spaces separate them, double quotes keep spaces and take the escapes
// \" \\ \n \r \t \0 and \xHH.
std::vector<std::string> splitWords(const std::string& line, const std::string& where);

// A number in decimal or with 0x, and optionally K (KiB) or M (MiB) after it.
std::uint64_t parseNumber(const std::string& word, const std::string& where);

} // namespace quillon::test
