// SPDX-License-Identifier: MIT
#include "TextDisplay.h"

#include "HexText.h"

#include <algorithm>

namespace quillon::cli {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at the start of text; nothing for a malformed one.
std::optional<char32_t> takeUtf8(std::string_view& text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const int length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xE  ? 3
                       : (lead >> 3) == 0x1E ? 4
                                             : 0;
    if (length == 0 || text.size() < static_cast<std::size_t>(length))
        return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(length));
    return c;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// The escape of a character that cannot be shown as it is, or nothing.
std::optional<std::string> escape(char32_t c, std::uint8_t byte) {
    if (c == U'\r')
        return "\\r";
    if (c == U'\n')
        return "\\n";
    if (c == U'\t')
        return "\\t";
    if (c == U'"' || c == U'\\')
        return std::string{'\\', static_cast<char>(c)};
    if (isControl(c))
        return hexEscape(byte);
    return std::nullopt;
}

std::string hexEscapes(std::string_view bytes) {
    std::string out;
    for (char byte : bytes)
        out += hexEscape(static_cast<std::uint8_t>(byte));
    return out;
}

std::string codePoint(char32_t c) {
    const std::string digits = ToHex(c);
    return "U+" +
           PadHex(digits, std::max<std::int32_t>(4, static_cast<std::int32_t>(digits.size())));
}

} // namespace

std::string visibleText(std::string_view bytes) {
    std::string out = "\"";
    for (char byte : bytes) {
        const char32_t c = decodeByte(static_cast<std::uint8_t>(byte));
        if (const auto escaped = escape(c, static_cast<std::uint8_t>(byte)))
            out += *escaped;
        else
            appendUtf8(out, c);
    }
    return out + "\"";
}

std::string displayText(std::string_view text) {
    bool plain = !text.starts_with('"');
    std::string quoted = "\"";
    for (std::string_view rest = text; !rest.empty();) {
        const auto lead = static_cast<std::uint8_t>(rest.front());
        std::string_view after = rest;
        const auto c = takeUtf8(after);
        if (!c)
            after.remove_prefix(1);
        const std::string_view sequence = rest.substr(0, rest.size() - after.size());
        // A byte that is not UTF-8 is escaped as a control character would be.
        if (const auto escaped = escape(c.value_or(U'\x80'), lead)) {
            plain = plain && c && (*c == U'\\' || *c == U'"');
            quoted += sequence.size() == 1 ? *escaped : hexEscapes(sequence);
        } else {
            quoted += sequence;
        }
        rest = after;
    }
    return plain ? std::string(text) : quoted + "\"";
}

std::string quotedText(std::string_view text) {
    const std::string shown = displayText(text);
    return shown.starts_with('"') ? shown : '"' + shown + '"';
}

std::string utf8Text(std::string_view bytes) {
    std::string out;
    for (char32_t c : decodeText(bytes))
        appendUtf8(out, c);
    return out;
}

std::string hexBytes(std::string_view bytes) {
    std::string out;
    for (char byte : bytes)
        out += PadHex(ToHex(static_cast<std::uint8_t>(byte)), 2);
    return out;
}

Result<ByteText> strictBytes(std::string_view utf8) {
    ByteText bytes;
    while (!utf8.empty()) {
        const auto c = takeUtf8(utf8);
        if (!c)
            return BadValue("it is not valid UTF-8");
        const auto byte = encodeCharacter(*c);
        if (!byte)
            return BadValue(codePoint(*c) + " has no byte in the ROM character set");
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

} // namespace quillon::cli
