// SPDX-License-Identifier: MIT
#include "LintCommand.h"

#include "HeaderLint.h"
#include "ImageInputs.h"
#include "LintFixes.h"
#include "TextDisplay.h"

#include <algorithm>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

namespace quillon::cli {

namespace {

using Json = nlohmann::ordered_json;

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
    Json json;
    json["path"] = path; // not valid UTF-8 bytes are replaced when dumped; path_hex keeps them
    json["path_hex"] = hexBytes(path);
    json["findings"] = list;
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

ExitStatus lintFiles(const std::vector<std::string>& paths, const LintOptions& options,
                     Streams streams) {
    ExitStatus status = Done;
    for (const std::string& argument : paths)
        forEachImage(argument, streams, status,
                     [&](const std::string& path, RandomAccessFile* member) {
                         lintImage(path, member, options, streams, status);
                     });
    return status;
}

void lintImage(const std::string& path, RandomAccessFile* member, const LintOptions& options,
               Streams streams, ExitStatus& status) {
    // Whatever it holds, a file read is linted: lint says what is wrong with it.
    const Result<LoadedHeader> loaded = loadImage(path, member, options.layout, false);
    if (!loaded) {
        raise(status, report(streams.err, loaded.problem(), Doing::Reading));
        return;
    }
    std::vector<LintFinding> findings = LintHeader(*loaded);
    std::erase_if(findings, [&options](const LintFinding& finding) {
        return finding.level > options.level || options.allowed.contains(std::string(finding.id));
    });
    const ImageLayout* layout = fixLayout(*loaded, options);
    if (options.json) {
        streams.out << jsonLine(path, *loaded, findings, layout, member != nullptr) << '\n';
    } else {
        for (const LintFinding& finding : findings)
            printFinding(path, *loaded, finding, layout, member != nullptr, streams.out);
    }
    const bool failed = std::any_of(findings.begin(), findings.end(), [&](const LintFinding& f) {
        return f.level == LintLevel::Error || (options.strict && f.level == LintLevel::Warning);
    });
    if (failed)
        raise(status, Flagged);
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
