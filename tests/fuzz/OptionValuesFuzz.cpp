// SPDX-License-Identifier: MIT
// quillon-cli's option values from any text: a value that parses is the bytes it stands for,
// and those bytes written out as the program shows them parse back to the same bytes.
#include "FieldValues.h"
#include "FuzzSupport.h"
#include "HeaderInfo.h"
#include "HexText.h"
#include "TextDisplay.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

using namespace quillon;
using namespace quillon::cli;

namespace {

const std::uint8_t* bytesOf(const ByteText& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// A typed value that parses is `size` bytes, and each text the program shows it as parses back
// to the same bytes. What parsed, for a kind's own checks.
template <typename Parse, typename Show>
std::optional<ByteText> checkRoundTrip(std::string_view typed, std::size_t size, Parse parse,
                                       Show shownTexts) {
    const Result<ByteText> value = parse(typed);
    if (!value)
        return std::nullopt;
    FUZZ_CHECK(value->size() == size);
    for (const std::string& text : shownTexts(*value)) {
        const Result<ByteText> again = parse(text);
        FUZZ_CHECK(again && *again == *value);
    }
    return *value;
}

void checkText(std::string_view typed, std::uint32_t length) {
    checkRoundTrip(
        typed, length, [length](std::string_view text) { return parseTextValue(text, length); },
        [](const ByteText& value) { return std::vector{utf8Text(value)}; });
}

void checkAddress(std::string_view typed) {
    checkRoundTrip(typed, 4, parseAddressValue, [](const ByteText& value) {
        const std::string shown = FormatAddress(ReadAddress(bytesOf(value)));
        return std::vector{shown, "0x" + shown};
    });
}

void checkExtraMemory(std::string_view typed) {
    checkRoundTrip(typed, 12, parseExtraMemoryValue, [](const ByteText& value) {
        const auto memory = DecodeExtraMemory(bytesOf(value));
        if (!memory) {
            FUZZ_CHECK(value == ByteText(12, ' '));
            return std::vector<std::string>{"none"};
        }
        FUZZ_CHECK(memory->wellFormed() && memory->start <= memory->end);
        const auto kind = std::find_if(
            SaveMemoryKindTable.begin(), SaveMemoryKindTable.end(), [&](const SaveMemoryKind& k) {
                return k.type == memory->type && k.kindByte == memory->kindByte;
            });
        FUZZ_CHECK(kind != SaveMemoryKindTable.end());
        return std::vector{std::string(kind->name) + ":" + FormatAddress(memory->start) + "-" +
                           FormatAddress(memory->end)};
    });
}

ChecksumBytes checksumBytes(const ByteText& value) {
    return {static_cast<std::uint8_t>(value[0]), static_cast<std::uint8_t>(value[1])};
}

void checkChecksum(std::string_view typed) {
    const auto value = checkRoundTrip(typed, 2, parseChecksumValue, [](const ByteText& value) {
        const ChecksumBytes bytes = checksumBytes(value);
        const std::string shown = FormatStoredChecksum(bytes.high, bytes.low);
        return std::vector{shown, "0x" + shown};
    });
    // What the window's checksum editor takes as a 16-bit value, the command line takes as the
    // same (it takes 0x and K or M besides).
    const auto entry = ParseChecksumEntry(typed);
    if (entry && *entry <= 0xFFFF) {
        FUZZ_CHECK(value && SplitChecksum(*entry) == checksumBytes(*value));
    }
}

// The size typed, written back in each way a size is typed, is the same size.
void checkSize(std::string_view typed, std::uint64_t fileSize) {
    const Result<std::uint64_t> size = parseSizeValue(typed, fileSize);
    if (!size)
        return;
    if (typed == "pow2") {
        FUZZ_CHECK(*size >= fileSize && *size >= 128 * 1024 && (*size & (*size - 1)) == 0);
        return;
    }
    FUZZ_CHECK(*size <= largestRomSize);
    std::vector<std::string> texts{std::to_string(*size)};
    if (*size <= UINT32_MAX)
        texts.push_back("0x" + ToHex(static_cast<std::uint32_t>(*size)));
    if (*size % 1024 == 0)
        texts.push_back(std::to_string(*size / 1024) + "k");
    for (const std::string& text : texts) {
        const Result<std::uint64_t> again = parseSizeValue(text, fileSize);
        FUZZ_CHECK(again && *again == *size);
    }
}

} // namespace

// The first byte picks the kind of value (and a text's length, a file's size); the rest is typed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t pick = data[0];
    const std::string_view typed(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (pick % 5) {
    case 0:
        checkText(typed, HeaderFieldTable[pick / 5 % HeaderFieldCount].length);
        break;
    case 1:
        checkAddress(typed);
        break;
    case 2:
        checkExtraMemory(typed);
        break;
    case 3:
        checkChecksum(typed);
        break;
    default:
        checkSize(typed, std::uint64_t{pick} << (pick % 32));
        break;
    }
    return 0;
}
