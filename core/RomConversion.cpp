// SPDX-License-Identifier: MIT
#include "RomConversion.h"

#include "HeaderFile.h"
#include "InterleavedImage.h"
#include "OutputFile.h"
#include "SystemFile.h"

#include <filesystem>
#include <memory>
#include <utility>

namespace quillon {

namespace {

// A whole number of blocks, so that every read of an interleaved image starts on a block.
constexpr std::size_t chunkSize = 16 * InterleavedBlockSize;
static_assert(chunkSize % 2 == 0);

// What the conversion does to each chunk of the source, in order; count is a whole number of
// blocks except perhaps in the last chunk.
using Transform = void (*)(const std::uint8_t* in, std::uint8_t* out, std::size_t count);

void deinterleave(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at < count; at += InterleavedBlockSize)
        DeinterleaveBlock(in + at, out + at);
}

void interleave(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at < count; at += InterleavedBlockSize)
        InterleaveBlock(in + at, out + at);
}

// An unpaired last byte stays where it is.
void swapBytes(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    for (std::size_t at = 0; at + 1 < count; at += 2) {
        out[at] = in[at + 1];
        out[at + 1] = in[at];
    }
    if (count % 2 != 0)
        out[count - 1] = in[count - 1];
}

std::string sizeText(std::uint64_t bytes) { return std::to_string(bytes) + " bytes"; }

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto path = [](const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    };
    return std::filesystem::equivalent(path(a), path(b), error);
}

bool exists(const std::string& utf8) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())),
                                   error);
}

} // namespace

ConvertResult ConvertRom(const std::string& source, const std::string& destination, RomLayout to,
                         bool replace) {
    ConvertResult result;
    const auto refused = [&result](std::string why) {
        result.status = ConvertStatus::Refused;
        result.error = std::move(why);
        return result;
    };
    SystemFile in(source, SystemFile::Access::Read);
    if (!in.isOpen()) {
        result.error = in.error();
        return result;
    }
    const std::optional<std::uint64_t> size = in.size();
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(chunkSize);
    const auto probe = size ? in.readAt(0, buffer.get(), InterleavedProbeSize) : std::nullopt;
    if (!size || !probe) {
        result.error = in.error();
        return result;
    }
    const std::uint64_t length = *size;
    result.from = DetectRomLayout({buffer.get(), *probe}, length);

    std::uint64_t skip = 0; // the copier header, which a plain image does not have
    Transform transform = nullptr;
    if (to == RomLayout::Interleaved) {
        if (result.from != RomLayout::Plain)
            return refused(source + ": already " + std::string(romLayoutKey(result.from)) +
                           (result.from == RomLayout::ByteSwapped
                                ? "; convert it to a plain binary image first"
                                : ", as asked"));
        const std::uint64_t needed =
            (length + InterleavedBlockSize - 1) / InterleavedBlockSize * InterleavedBlockSize;
        if (length == 0 || needed != length)
            return refused(source + ": " + sizeText(length) +
                           " is not a whole number of 16 KiB blocks; pad it to " +
                           sizeText(std::max<std::uint64_t>(needed, InterleavedBlockSize)) +
                           " first (quillon-cli pad --to " +
                           std::to_string(std::max<std::uint64_t>(needed, InterleavedBlockSize)) +
                           ")");
        transform = interleave;
        result.size = CopierHeaderSize + length;
    } else {
        if (result.from == RomLayout::Plain)
            return refused(source + ": already a plain binary image, as asked");
        transform = result.from == RomLayout::Interleaved ? deinterleave : swapBytes;
        skip = result.from == RomLayout::Interleaved ? CopierHeaderSize : 0;
        result.size = length - skip;
    }
    if (sameFile(source, destination))
        return refused(destination + ": the file being converted; name a new one");
    if (!replace && exists(destination))
        return refused(destination + ": exists already; --force replaces it");

    OutputFile out(destination);
    if (!out.isOpen()) {
        result.error = out.error();
        return result;
    }
    if (to == RomLayout::Interleaved) {
        const auto header = MakeCopierHeader(length / InterleavedBlockSize);
        if (!out.write(header.data(), header.size())) {
            result.error = out.error();
            return result;
        }
    }
    // Read to the length the file had when it was opened, as a load does.
    const auto converted = std::make_unique_for_overwrite<std::uint8_t[]>(chunkSize);
    for (std::uint64_t at = skip; at < length;) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, length - at));
        const auto count = in.readAt(at, buffer.get(), wanted);
        if (!count || *count != wanted) {
            result.error = count ? source + ": it shrank while it was read" : in.error();
            return result;
        }
        transform(buffer.get(), converted.get(), wanted);
        if (!out.write(converted.get(), wanted)) {
            result.error = out.error();
            return result;
        }
        at += wanted;
    }
    if (!out.commit(replace)) {
        result.error = out.error();
        return result;
    }
    result.status = ConvertStatus::Converted;
    return result;
}

} // namespace quillon
