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
#include <vector>

using namespace quillon;
using namespace quillon::cli;

namespace {

const std::uint8_t* bytesOf(const ByteText& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

void checkText(std::string_view typed, std::uint32_t length) {
    const Result<ByteText> value = parseTextValue(typed, length);
    if (!value)
        return;
    FUZZ_CHECK(value->size() == length);
    const Result<ByteText> again = parseTextValue(utf8Text(*value), length);
    FUZZ_CHECK(again && *again == *value);
}

void checkAddress(std::string_view typed) {
    const Result<ByteText> value = parseAddressValue(typed);
    if (!value)
        return;
    FUZZ_CHECK(value->size() == 4);
    const std::string shown = FormatAddress(ReadAddress(bytesOf(*value)));
    for (const std::string& text : {shown, "0x" + shown}) {
        const Result<ByteText> again = parseAddressValue(text);
        FUZZ_CHECK(again && *again == *value);
    }
}

void checkExtraMemory(std::string_view typed) {
    const Result<ByteText> value = parseExtraMemoryValue(typed);
    if (!value)
        return;
    FUZZ_CHECK(value->size() == 12);
    std::string shown = "none";
    if (const auto memory = DecodeExtraMemory(bytesOf(*value))) {
        FUZZ_CHECK(memory->wellFormed() && memory->start <= memory->end);
        const auto kind = std::find_if(
            SaveMemoryKindTable.begin(), SaveMemoryKindTable.end(), [&](const SaveMemoryKind& k) {
                return k.type == memory->type && k.kindByte == memory->kindByte;
            });
        FUZZ_CHECK(kind != SaveMemoryKindTable.end());
        shown = std::string(kind->name) + ":" + FormatAddress(memory->start) + "-" +
                FormatAddress(memory->end);
    } else {
        FUZZ_CHECK(*value == ByteText(12, ' '));
    }
    const Result<ByteText> again = parseExtraMemoryValue(shown);
    FUZZ_CHECK(again && *again == *value);
}

void checkChecksum(std::string_view typed) {
    const Result<ByteText> value = parseChecksumValue(typed);
    // What the window's checksum editor takes as a 16-bit value, the command line takes as the
    // same (it takes 0x and K or M besides).
    const auto entry = ParseChecksumEntry(typed);
    if (entry && *entry <= 0xFFFF) {
        const ChecksumBytes bytes = SplitChecksum(*entry);
        FUZZ_CHECK(value && *value == ByteText({static_cast<char>(bytes.high),
                                                static_cast<char>(bytes.low)}));
    }
    if (!value)
        return;
    FUZZ_CHECK(value->size() == 2);
    const auto high = static_cast<std::uint8_t>((*value)[0]);
    const auto low = static_cast<std::uint8_t>((*value)[1]);
    for (const std::string& text :
         {FormatStoredChecksum(high, low), "0x" + FormatStoredChecksum(high, low)}) {
        const Result<ByteText> again = parseChecksumValue(text);
        FUZZ_CHECK(again && *again == *value);
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
