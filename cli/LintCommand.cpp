// SPDX-License-Identifier: MIT
#include "LintCommand.h"

#include "HeaderLint.h"
#include "LintFixes.h"
#include "TextDisplay.h"

#include <algorithm>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

namespace quillon::cli {

namespace {

std::string findingBytes(const LoadedHeader& header, const LintFinding& finding) {
    return hexBytes(
        {reinterpret_cast<const char*>(header.bytes.data()) + finding.offset, finding.length});
}

// The layout a fix must name: the one lint was told, or one in doubt, which no write takes
// unless it is named.
const ImageLayout* fixLayout(const LoadedHeader& header, const LintOptions& options) {
    return options.layout ? options.layout : header.doubtful ? header.layout : nullptr;
}

// A member of an archive is never written, so no command mends it where it lies.
constexpr std::string_view memberFix = "extract it from the archive first; no write takes a member";

// path: level: field: message (0xOFFSET: BYTES); effect [id]
// and under it "  fix: quillon-cli ..." or "  choose: ..." when the finding has either.
void printFinding(const std::string& path, const LoadedHeader& header, const LintFinding& finding,
                  const ImageLayout* layout, bool member, std::ostream& out) {
    out << displayText(path) << ": " << lintLevelName(finding.level) << ": " << finding.field
        << ": " << displayText(finding.message);
    if (finding.length > 0)
        out << " (0x" << ToHex(finding.offset) << ": " << findingBytes(header, finding) << ")";
    out << "; " << displayText(finding.effect) << " [" << finding.id << "]\n";
    if (finding.fix && member)
        out << "  fix: " << memberFix << '\n';
    else if (finding.fix)
        out << "  fix: " << displayText(commandLine(fixArguments(*finding.fix, path, layout)))
            << '\n';
    else if (!finding.choose.empty())
        out << "  choose: " << displayText(finding.choose) << '\n';
}

std::string jsonLine(const std::string& path, const LoadedHeader& header,
                     const std::vector<LintFinding>& findings, const ImageLayout* layout,
                     bool member) {
    Json list = Json::array();
    for (const LintFinding& finding : findings)
        list.push_back(
            {{"id", finding.id},
             {"level", lintLevelName(finding.level)},
             {"field", finding.field},
             {"offset", finding.offset},
             {"bytes", findingBytes(header, finding)},
             {"message", finding.message},
             {"effect", finding.effect},
             {"fix",
              finding.fix && !member ? Json(fixArguments(*finding.fix, path, layout)) : Json()},
             {"choose", finding.choose.empty() ? Json() : Json(finding.choose)}});
    Json json = recordJson(path);
    json["findings"] = list;
    return jsonText(json);
}

} // namespace

ExitStatus lintFiles(const std::vector<std::string>& paths, const LintOptions& options,
                     Streams streams) {
    const auto fails = [&options](const LintFinding& finding) {
        return finding.level == LintLevel::Error ||
               (options.strict && finding.level == LintLevel::Warning);
    };
    // Whatever it holds, a file read is linted: lint says what is wrong with it.
    const auto lint = [&](const ImageInput& input, const LoadedHeader& header,
                          std::ostream& out) -> Result<FileVerdict> {
        const std::string& name = input.name;
        std::vector<LintFinding> findings = LintHeader(header);
        std::erase_if(findings, [&](const LintFinding& finding) {
            return finding.level > options.level ||
                   options.allowed.contains(std::string(finding.id)) ||
                   (options.quiet && !fails(finding));
        });
        const ImageLayout* layout = fixLayout(header, options);
        const bool member = input.isMember();
        if (options.json) {
            out << jsonLine(name, header, findings, layout, member) << '\n';
        } else {
            for (const LintFinding& finding : findings)
                printFinding(name, header, finding, layout, member, out);
        }
        return std::any_of(findings.begin(), findings.end(), fails) ? FileVerdict::Fail
                                                                    : FileVerdict::Pass;
    };
    return runBatch(paths, options, Takes::AnyFile, lint, streams);
}

std::string lintRuleIds() {
    std::string ids;
    for (const LintRule& rule : LintRules())
        ids.append(ids.empty() ? "" : ", ").append(rule.id);
    return ids;
}

std::string lintRuleTable() {
    std::ostringstream table;
    for (const LintRule& rule : LintRules())
        table << "  " << std::left << std::setw(22) << rule.id << std::setw(9)
              << lintLevelName(rule.level) << rule.reason << '\n'
              << std::string(33, ' ') << "rests on: " << rule.source << '\n';
    return table.str();
}

} // namespace quillon::cli
