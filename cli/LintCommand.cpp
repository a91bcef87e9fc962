// SPDX-License-Identifier: MIT
#include "LintCommand.h"

#include "HeaderLint.h"
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

// path: level: field: message (0xOFFSET: BYTES); effect [id]
void printFinding(const std::string& path, const LoadedHeader& header, const LintFinding& finding,
                  std::ostream& out) {
    out << displayText(path) << ": " << lintLevelName(finding.level) << ": " << finding.field
        << ": " << displayText(finding.message);
    if (finding.length > 0)
        out << " (0x" << ToHex(finding.offset) << ": " << findingBytes(header, finding) << ")";
    out << "; " << displayText(finding.effect) << " [" << finding.id << "]\n";
}

std::string jsonLine(const std::string& path, const LoadedHeader& header,
                     const std::vector<LintFinding>& findings) {
    Json list = Json::array();
    for (const LintFinding& finding : findings)
        list.push_back({{"id", finding.id},
                        {"level", lintLevelName(finding.level)},
                        {"field", finding.field},
                        {"offset", finding.offset},
                        {"bytes", findingBytes(header, finding)},
                        {"message", finding.message},
                        {"effect", finding.effect}});
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
    for (const std::string& path : paths) {
        // Whatever it holds, a file read is linted: lint says what is wrong with it.
        const Result<LoadedHeader> loaded = LoadHeader(path, options.layout);
        if (!loaded) {
            raise(status, report(streams.err, loaded.problem(), Doing::Reading));
            continue;
        }
        std::vector<LintFinding> findings = LintHeader(*loaded);
        std::erase_if(findings, [&options](const LintFinding& finding) {
            return options.allowed.contains(std::string(finding.id));
        });
        if (options.json) {
            streams.out << jsonLine(path, *loaded, findings) << '\n';
        } else {
            for (const LintFinding& finding : findings)
                printFinding(path, *loaded, finding, streams.out);
        }
        const bool failed =
            std::any_of(findings.begin(), findings.end(), [&](const LintFinding& f) {
                return f.level == LintLevel::Error ||
                       (options.strict && f.level == LintLevel::Warning);
            });
        if (failed)
            raise(status, Flagged);
    }
    return status;
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
