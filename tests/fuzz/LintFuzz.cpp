// SPDX-License-Identifier: MIT
// lint of any bytes, run as quillon-cli runs it: its JSON line parses, and says what the core's
// rules find, each finding with the header's own bytes; its text lines name the file.
#include "FuzzSupport.h"
#include "HeaderLint.h"
#include "LintCommand.h"
#include "TextDisplay.h"

#include <nlohmann/json.hpp>
#include <sstream>

using namespace quillon;

namespace {

std::string lintOutput(const std::string& path, bool json, int& status) {
    std::ostringstream out;
    std::ostringstream err;
    cli::LintOptions options;
    options.json = json;
    status = cli::lintFiles({path}, options, {out, err});
    FUZZ_CHECK(err.str().empty());
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::scratchFile(fuzz::Bytes(data, data + size));
    const Result<LoadedHeader> loaded = LoadHeader(path);
    FUZZ_CHECK(loaded.done());
    const std::vector<LintFinding> findings = LintHeader(*loaded);
    bool anyError = false;
    for (const LintFinding& finding : findings) {
        const LintRule* rule = findLintRule(finding.id);
        FUZZ_CHECK(rule && rule->level == finding.level);
        FUZZ_CHECK(finding.offset + finding.length <= loaded->bytes.size());
        anyError = anyError || finding.level == LintLevel::Error;
    }

    int status = 0;
    const std::string line = lintOutput(path, true, status);
    FUZZ_CHECK(status == (anyError ? cli::Flagged : cli::Done));
    FUZZ_CHECK(!line.empty() && line.find('\n') == line.size() - 1);
    // Throws, and so stops the run, on anything but one strict JSON text.
    const auto json = nlohmann::json::parse(line);
    FUZZ_CHECK(json.at("path_hex") == cli::hexBytes(path));
    const auto& listed = json.at("findings");
    FUZZ_CHECK(listed.is_array() && listed.size() == findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const LintFinding& finding = findings[i];
        const auto& item = listed[i];
        FUZZ_CHECK(item.at("id") == finding.id && item.at("offset") == finding.offset);
        FUZZ_CHECK(item.at("level") == lintLevelName(finding.level));
        const std::string_view bytes(
            reinterpret_cast<const char*>(loaded->bytes.data()) + finding.offset, finding.length);
        FUZZ_CHECK(item.at("bytes") == cli::hexBytes(bytes));
        FUZZ_CHECK(item.at("message").is_string() && item.at("effect").is_string());
    }

    // As text: one line a finding, starting with the file's name, and under it at most one
    // indented line of how to mend it.
    const std::string text = lintOutput(path, false, status);
    FUZZ_CHECK(status == (anyError ? cli::Flagged : cli::Done));
    std::istringstream lines(text);
    std::size_t count = 0;
    bool mendAllowed = false;
    for (std::string textLine; std::getline(lines, textLine);) {
        if (textLine.starts_with(cli::displayText(path) + ": ")) {
            ++count;
            mendAllowed = true;
        } else {
            FUZZ_CHECK(mendAllowed &&
                       (textLine.starts_with("  fix: ") || textLine.starts_with("  choose: ")));
            mendAllowed = false;
        }
    }
    FUZZ_CHECK(count == findings.size());
    return 0;
}
