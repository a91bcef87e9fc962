// SPDX-License-Identifier: MIT
// Header bytes as a terminal or a JSON reader sees them, and command-line text back to bytes.
#pragma once

#include "CharacterSet.h"
#include "Outcome.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillon::cli {

// UTF-8 through the ROM character set, in double quotes, with control characters, quotes and
// backslashes written as escapes (\r, \n, \t, \xHH, \", \\) so that nothing is hidden.
std::string visibleText(std::string_view bytes);

// A path or message for a line of text output: as it is, unless a control character, a byte
// that is not UTF-8 or a leading quote could make it read as something else; then in double
// quotes with those written as escapes, so that no path can forge a line of output.
std::string displayText(std::string_view text);

// The text quoted for a message, with anything unprintable written as an escape.
std::string quotedText(std::string_view text);

// UTF-8 through the ROM character set, for JSON.
std::string utf8Text(std::string_view bytes);

// Upper-case hexadecimal, two digits a byte.
std::string hexBytes(std::string_view bytes);

// Command-line text (UTF-8) as header bytes, refusing what the character set cannot hold.
Result<ByteText> strictBytes(std::string_view utf8);

} // namespace quillon::cli
