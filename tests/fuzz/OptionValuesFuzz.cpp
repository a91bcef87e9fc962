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
#include <string_view>

using namespace quillon;
using namespace quillon::cli;

namespace {

const std::uint8_t* bytesOf(const ByteText& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

void checkText(std::string_view typed, std::uint32_t length) {
    const Parsed value = parseTextValue(typed, length);
    if (!value.ok())
        return;
    FUZZ_CHECK(value.bytes.size() == length);
    const Parsed again = parseTextValue(utf8Text(value.bytes), length);
    FUZZ_CHECK(again.ok() && again.bytes == value.bytes);
}

void checkAddress(std::string_view typed) {
    const Parsed value = parseAddressValue(typed);
    if (!value.ok())
        return;
    FUZZ_CHECK(value.bytes.size() == 4);
    const std::string shown = FormatAddress(ReadAddress(bytesOf(value.bytes)));
    for (const std::string& text : {shown, "0x" + shown}) {
        const Parsed again = parseAddressValue(text);
        FUZZ_CHECK(again.ok() && again.bytes == value.bytes);
    }
}

void checkExtraMemory(std::string_view typed) {
    const Parsed value = parseExtraMemoryValue(typed);
    if (!value.ok())
        return;
    FUZZ_CHECK(value.bytes.size() == 12);
    std::string shown = "none";
    if (const auto memory = DecodeExtraMemory(bytesOf(value.bytes))) {
        FUZZ_CHECK(memory->wellFormed() && memory->start <= memory->end);
        const auto kind = std::find_if(
            SaveMemoryKindTable.begin(), SaveMemoryKindTable.end(), [&](const SaveMemoryKind& k) {
                return k.type == memory->type && k.kindByte == memory->kindByte;
            });
        FUZZ_CHECK(kind != SaveMemoryKindTable.end());
        shown = std::string(kind->name) + ":" + FormatAddress(memory->start) + "-" +
                FormatAddress(memory->end);
    } else {
        FUZZ_CHECK(value.bytes == ByteText(12, ' '));
    }
    const Parsed again = parseExtraMemoryValue(shown);
    FUZZ_CHECK(again.ok() && again.bytes == value.bytes);
}

void checkChecksum(std::string_view typed) {
    const Parsed value = parseChecksumValue(typed);
    if (!value.ok())
        return;
    FUZZ_CHECK(value.bytes.size() == 2);
    const auto high = static_cast<std::uint8_t>(value.bytes[0]);
    const auto low = static_cast<std::uint8_t>(value.bytes[1]);
    const Parsed again = parseChecksumValue(FormatStoredChecksum(high, low));
    FUZZ_CHECK(again.ok() && again.bytes == value.bytes);
    // The window's checksum editor takes the same text as the same value.
    const auto entry = ParseChecksumEntry(typed);
    FUZZ_CHECK(entry && SplitChecksum(*entry) == (ChecksumBytes{high, low}));
}

void checkSize(std::string_view typed, std::uint64_t fileSize) {
    const auto size = parseSizeValue(typed, fileSize);
    if (!size)
        return;
    if (typed == "pow2") {
        FUZZ_CHECK(*size >= fileSize && *size >= 128 * 1024 && (*size & (*size - 1)) == 0);
        return;
    }
    FUZZ_CHECK(*size <= largestRomSize);
    FUZZ_CHECK(parseSizeValue(std::to_string(*size), fileSize) == size);
    if (*size % 1024 == 0)
        FUZZ_CHECK(parseSizeValue(std::to_string(*size / 1024) + "K", fileSize) == size);
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
