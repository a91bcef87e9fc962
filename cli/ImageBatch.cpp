// SPDX-License-Identifier: MIT
#include "ImageBatch.h"

#include "ImageInputs.h"
#include "TextDisplay.h"

#include <array>
#include <chrono>
#include <sstream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillon::cli {

namespace {

using Clock = std::chrono::steady_clock;

// "quillon-cli: 120/2000 files" on a terminal's error stream, once a batch has run for a second,
// taken away before anything else is written there and when the batch ends. Drawn at most ten
// times a second, so that it costs nothing beside the files.
class Progress {
public:
    Progress(Streams streams, std::size_t total)
        : m_streams(streams), m_total(total), m_start(Clock::now()) {}
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress() { clear(); }

    // Before a record is written where the line is.
    void makeWay(bool toOut, bool toErr) {
        if (toErr || (toOut && m_streams.outTerminal))
            clear();
    }

    void reached(std::size_t done) {
        if (!m_streams.errTerminal || done >= m_total)
            return;
        const Clock::time_point now = Clock::now();
        if (now - m_start < std::chrono::seconds(1) ||
            (m_width > 0 && now - m_drawn < std::chrono::milliseconds(100)))
            return;
        const std::string text = std::string(programPrefix) + std::to_string(done) + "/" +
                                 std::to_string(m_total) + " files";
        if (m_streams.outTerminal)
            m_streams.out.flush();
        m_streams.err << '\r' << text << std::flush;
        m_width = text.size();
        m_drawn = now;
    }

    void clear() {
        if (m_width == 0)
            return;
        m_streams.err << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
        m_width = 0;
    }

private:
    Streams m_streams;
    std::size_t m_total;
    Clock::time_point m_start;
    Clock::time_point m_drawn;
    std::size_t m_width = 0; // of the line shown, 0 when none is
};

// How many files came out each way, for the summary.
struct Tally {
    std::size_t passed = 0;
    std::size_t failed = 0;
    std::size_t unread = 0;
};

} // namespace

ExitStatus runBatch(const std::vector<std::string>& paths, const BatchOptions& options, Takes takes,
                    const ImageStep& step, Streams streams) {
    const std::vector<ImageInput> inputs = walkInputs(paths, options.recursive);
    ExitStatus status = Done;
    Tally tally;
    Progress progress(streams, inputs.size());
    // Each input is its own record, or an archive's each member is.
    const auto runOne = [&](const ImageInput& input) {
        // Each record is kept until it is whole, for the progress line to make way for it.
        std::ostringstream out;
        std::ostringstream err;
        const Result<LoadedHeader> loaded = loadInput(input, options.layout);
        std::optional<Problem> refused;
        if (loaded && takes == Takes::EditableFile)
            refused = EditRefusalOf(input.name, *loaded);
        const Result<FileVerdict> verdict = !loaded   ? Result<FileVerdict>(loaded.problem())
                                            : refused ? Result<FileVerdict>(*refused)
                                                      : step(input, *loaded, out);
        if (!verdict) {
            out.str({});
            raise(status, report(err, verdict.problem(), Doing::Reading));
            if (options.json) {
                Json record = recordJson(input.name);
                record["error"] = problemMessage(verdict.problem(), Doing::Reading);
                out << jsonText(record) << '\n';
            }
            ++tally.unread;
        } else if (*verdict == FileVerdict::Fail) {
            raise(status, Flagged);
            ++tally.failed;
        } else {
            if (options.quiet)
                out.str({});
            ++tally.passed;
        }
        const std::string outText = out.str();
        const std::string errText = err.str();
        progress.makeWay(!outText.empty(), !errText.empty());
        // The error stream is tied to the output: a write to it, even of nothing, flushes the
        // output, and a failure there is then told without its reason.
        if (!outText.empty())
            streams.out << outText;
        if (!errText.empty())
            streams.err << errText;
    };
    const auto note = [&](const std::string& text) {
        progress.makeWay(false, true);
        say(streams.err, text);
    };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        expandInput(inputs[i], runOne, note);
        progress.reached(i + 1);
    }
    progress.clear();
    const std::size_t files = tally.passed + tally.failed + tally.unread;
    if (!options.json && files > 1)
        say(streams.err, std::to_string(files) + " files: " + std::to_string(tally.passed) +
                             " pass, " + std::to_string(tally.failed) + " fail, " +
                             std::to_string(tally.unread) + " could not be read");
    return status;
}

Json recordJson(const std::string& name) {
    Json json;
    json["path"] = name;
    json["path_hex"] = hexBytes(name);
    return json;
}

std::string jsonText(const Json& record) {
    return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

} // namespace quillon::cli
