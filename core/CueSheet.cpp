// SPDX-License-Identifier: MIT
#include "CueSheet.h"

#include "FoldedNames.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quillon {

namespace {

// Data track modes the Mega-CD readers take, and where a sector's user data starts (Genesis
// Plus GX core/cd_hw/cdd.c, ares nall/decode/cue.hpp, MiSTer Main support/megacd/megacdd.cpp).
struct CueMode {
    std::string_view name;
    std::uint32_t sectorSize;
    std::uint32_t userDataOffset;
};

constexpr std::array<CueMode, 3> CueModeTable{{
    {"MODE1/2048", 2048, 0},
    {"MODE1/2352", 2352, 16},
    {"MODE2/2352", 2352, 16},
}};

// Of the CUE format's file types only these hold sectors as they are; WAVE and the rest are audio.
constexpr std::array<std::string_view, 2> DataFileTypes{"BINARY", "MOTOROLA"};

constexpr std::uint64_t FramesPerSecond = 75;

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    });
    return result;
}

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isSpace(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The first word of text, and text is left holding the rest.
std::string_view takeWord(std::string_view& text) {
    text = trim(text);
    const std::size_t end = std::min(text.size(), text.find_first_of(" \t"));
    const std::string_view word = text.substr(0, end);
    text = trim(text.substr(end));
    return word;
}

bool readNumber(std::string_view digits, std::size_t maxDigits, std::uint64_t& value) {
    if (digits.empty() || digits.size() > maxDigits)
        return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc{} && end == digits.data() + digits.size();
}

// mm:ss:ff in frames; minutes may run past 99 on long images.
std::optional<std::uint64_t> readFrames(std::string_view time) {
    std::uint64_t parts[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t colon = i < 2 ? time.find(':') : time.size();
        if (colon == std::string_view::npos ||
            !readNumber(time.substr(0, colon), i == 0 ? 4 : 2, parts[i]))
            return std::nullopt;
        time.remove_prefix(std::min(time.size(), colon + 1));
    }
    if (parts[1] >= 60 || parts[2] >= FramesPerSecond)
        return std::nullopt;
    return (parts[0] * 60 + parts[1]) * FramesPerSecond + parts[2];
}

struct CueFile {
    std::string name;
    std::string type;
};

// FILE "name" TYPE, or FILE name TYPE with the name running up to the last word.
std::optional<CueFile> readFileLine(std::string_view rest) {
    CueFile file;
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        file.name = rest.substr(1, close - 1);
        rest = trim(rest.substr(close + 1));
        file.type = upper(takeWord(rest));
        if (!rest.empty())
            return std::nullopt;
    } else {
        const std::size_t lastSpace = rest.find_last_of(" \t");
        if (lastSpace == std::string_view::npos)
            return std::nullopt;
        file.name = trim(rest.substr(0, lastSpace));
        file.type = upper(rest.substr(lastSpace + 1));
    }
    if (file.name.empty() || file.type.empty())
        return std::nullopt;
    return file;
}

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    return text.starts_with(byteOrderMark) ? text.substr(byteOrderMark.size()) : text;
}

Problem problem(std::string text) { return Refusal({}, std::move(text)); }

} // namespace

Result<CueDataTrack> ReadCueSheet(std::string_view text) {
    text = withoutByteOrderMark(text);

    std::optional<CueFile> file; // the FILE in effect
    std::optional<CueMode> mode; // set while the lines belong to TRACK 01
    bool seenTrack01 = false;
    std::optional<CueDataTrack> found;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.size(), text.find('\n'));
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(std::min(text.size(), end + 1));
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        const std::string keyword = upper(takeWord(line));

        if (keyword == "FILE") {
            file = readFileLine(line);
            if (!file)
                return problem(where + "a FILE line needs a name and a type");
        } else if (keyword == "TRACK") {
            if (mode)
                break; // TRACK 01 has ended without an INDEX 01
            std::uint64_t number = 0;
            const std::string_view numberText = takeWord(line);
            const std::string trackMode = upper(takeWord(line));
            if (!readNumber(numberText, 2, number) || trackMode.empty())
                return problem(where + "a TRACK line needs a number and a mode");
            if (number != 1)
                continue;
            if (seenTrack01)
                return problem(where + "a second TRACK 01");
            seenTrack01 = true;
            if (!file)
                return problem("no FILE before TRACK 01");
            if (trackMode == "AUDIO")
                return problem("TRACK 01 is AUDIO, not a data track");
            const auto known = std::find_if(CueModeTable.begin(), CueModeTable.end(),
                                            [&](const CueMode& m) { return m.name == trackMode; });
            if (known == CueModeTable.end())
                return problem("TRACK 01 has mode " + trackMode +
                               ", not MODE1/2048, MODE1/2352 or MODE2/2352");
            mode = *known;
        } else if (keyword == "INDEX" && mode) {
            std::uint64_t number = 0;
            const std::string_view numberText = takeWord(line);
            const std::string_view time = takeWord(line);
            const std::optional<std::uint64_t> frames = readFrames(time);
            if (!readNumber(numberText, 2, number) || !frames || !line.empty())
                return problem(where + "an INDEX line needs a number and a time mm:ss:ff");
            if (number != 1)
                continue;
            if (!isOneOf(DataFileTypes, file->type))
                return problem("TRACK 01 is in a " + file->type + " file, not a BINARY one");
            found = CueDataTrack{file->name, std::string(mode->name), mode->sectorSize,
                                 mode->userDataOffset, *frames * mode->sectorSize};
            break;
        }
        // REM, PREGAP, POSTGAP, TITLE, FLAGS and the rest say nothing about where the data is.
    }
    if (found)
        return *found;
    if (!seenTrack01)
        return problem("no TRACK 01");
    return problem("TRACK 01 has no INDEX 01");
}

std::vector<std::string> CueSheetFileNames(std::string_view text) {
    text = withoutByteOrderMark(text);
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = std::min(text.size(), text.find('\n'));
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(std::min(text.size(), end + 1));
        if (upper(takeWord(line)) != "FILE")
            continue;
        if (const std::optional<CueFile> file = readFileLine(line))
            names.push_back(file->name);
    }
    return names;
}

bool IsCueSheetPath(std::string_view path) { return endsWithFolded(path, ".cue"); }

} // namespace quillon
