// SPDX-License-Identifier: MIT
// Any bytes as a ROM image: the load recognises a layout, and what it reads agrees with the bytes,
// with a second load, and, of an interleaved image, with the plain image converted from it.
#include "FuzzSupport.h"
#include "HeaderFile.h"
#include "InterleavedImage.h"
#include "RomConversion.h"

#include <algorithm>
#include <filesystem>

using namespace quillon;
using quillon::fuzz::Bytes;

namespace {

// Everything a load says of the ROM itself, not of the file holding it.
bool sameRom(const LoadedHeader& a, const LoadedHeader& b) {
    return a.texts == b.texts && a.storedHigh == b.storedHigh && a.storedLow == b.storedLow &&
           a.calculated == b.calculated && a.sumAtEnd.result() == b.sumAtEnd.result() &&
           a.romSize == b.romSize && a.bytes == b.bytes;
}

void checkFields(const LoadedHeader& header) {
    for (const HeaderField& field : HeaderFieldTable) {
        const std::string_view bytes(
            reinterpret_cast<const char*>(header.bytes.data()) + field.offset, field.length);
        FUZZ_CHECK(header.texts[field.index] == bytes.substr(0, bytes.find('\0')));
    }
    FUZZ_CHECK(header.storedHigh == header.bytes[ChecksumWord::offset]);
    FUZZ_CHECK(header.storedLow == header.bytes[ChecksumWord::offset + 1]);
    FUZZ_CHECK(header.calculated == header.sumAtEnd.result());
    FUZZ_CHECK(header.romSize <= header.fileSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    const std::string& path = fuzz::scratchFile(bytes);
    const LoadResult first = LoadHeader(path);
    FUZZ_CHECK(first.header && first.error.empty());
    const LoadedHeader& header = *first.header;
    FUZZ_CHECK(header.fileSize == size);
    checkFields(header);

    const LoadResult second = LoadHeader(path);
    FUZZ_CHECK(second.header && sameRom(header, *second.header) &&
               second.header->layout == header.layout);

    if (header.layout != RomLayout::Interleaved) {
        // Plain and byte-swapped images are described as they lie.
        FUZZ_CHECK(header.romSize == size);
        const std::size_t inHeader = std::min(size, header.bytes.size());
        FUZZ_CHECK(std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(inHeader),
                              header.bytes.begin()));
        FUZZ_CHECK(std::all_of(header.bytes.begin() + static_cast<std::ptrdiff_t>(inHeader),
                               header.bytes.end(), [](std::uint8_t b) { return b == 0; }));
        FUZZ_CHECK(header.calculated == ComputeRomChecksum(data, size));
        return 0;
    }
    // The same ROM put in order by conversion reads the same.
    FUZZ_CHECK(header.romSize + CopierHeaderSize == size);
    const std::string plainPath = fuzz::scratchPath("plain.bin");
    const ConvertResult converted = ConvertRom(path, plainPath, RomLayout::Plain, true);
    if (converted.status == ConvertStatus::Converted) {
        const LoadResult plain = LoadHeader(plainPath);
        FUZZ_CHECK(plain.header && plain.header->fileSize == header.romSize);
        if (plain.header->layout == RomLayout::Plain)
            FUZZ_CHECK(sameRom(header, *plain.header));
    }
    std::filesystem::remove(plainPath);
    return 0;
}
