// SPDX-License-Identifier: MIT
#include "Diagnostics.h"

#include "TextDisplay.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

namespace quillon::cli {

namespace {

// How a problem met while doing one thing is told, one row a Doing.
struct Telling {
    Doing doing;
    std::string_view failed;      // before a failure's text
    std::string_view afterFailed; // after it
    std::string_view afterRefused;
};

constexpr std::array<Telling, 3> tellings{{
    {Doing::Reading, "cannot read ", "", ""},
    {Doing::Writing, "cannot write ", "", "; nothing written"},
    {Doing::Converting, "cannot convert ", "; nothing written", "; nothing written"},
}};

} // namespace

void raise(ExitStatus& status, ExitStatus met) { status = std::max(status, met); }

void say(std::ostream& err, std::string_view text) { err << programPrefix << text << '\n'; }

void warn(std::ostream& err, std::string_view text) { say(err, "warning: " + std::string(text)); }

namespace {

const Telling& tellingOf(Doing doing) {
    return *std::find_if(tellings.begin(), tellings.end(),
                         [doing](const Telling& row) { return row.doing == doing; });
}

std::string message(const Problem& problem, Doing doing, const std::string& text) {
    const Telling& telling = tellingOf(doing);
    if (problem.outcome == Outcome::Refused)
        return text + std::string(telling.afterRefused);
    return std::string(telling.failed) + text + std::string(telling.afterFailed);
}

} // namespace

std::string problemMessage(const Problem& problem, Doing doing) {
    return message(problem, doing, problem.text());
}

ExitStatus report(std::ostream& err, const Problem& problem, Doing doing) {
    say(err, message(problem, doing, displayText(problem.text())));
    return problem.outcome == Outcome::Refused ? BadInput : FileFailed;
}

ExitStatus refuseValue(std::ostream& err, std::string_view option, std::string_view reason) {
    say(err, std::string(option) + " refused: " + std::string(reason) + "; nothing written");
    return BadInput;
}

} // namespace quillon::cli
