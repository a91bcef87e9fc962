// SPDX-License-Identifier: MIT
#include "RomConversion.h"

#include "CueSheet.h"
#include "HeaderFile.h"
#include "OutputFile.h"
#include "SystemFile.h"

#include <filesystem>
#include <memory>
#include <utility>

namespace quillon {

namespace {

// A whole number of any layout's blocks, so that every read starts on a block.
constexpr std::size_t chunkSize = 256 * 1024;

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

Result<Converted> ConvertRom(const std::string& source, const std::string& destination,
                             const ImageLayout& to, bool replace, const ImageLayout* given) {
    const auto refused = [&source](std::string why) { return Refusal(source, std::move(why)); };
    const auto refusedOut = [&destination](std::string why) {
        return Refusal(destination, std::move(why));
    };
    // A cue sheet names a disc's track, and a disc has no ROM to convert.
    if (IsCueSheetPath(source))
        return refused("a cue sheet of a Mega-CD disc; " + std::string(Disc2352Layout.romRefusal));
    SystemFile in(source, SystemFile::Access::Read);
    const auto readFailed = [&] { return Failure(source, in.error()); };
    if (!in.isOpen())
        return readFailed();
    const std::optional<std::uint64_t> size = in.size();
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(chunkSize);
    const auto probe = size ? in.readAt(0, buffer.get(), ProbeSize) : std::nullopt;
    if (!size || !probe)
        return readFailed();
    const std::uint64_t length = *size;
    const Recognition recognition = RecogniseImage({buffer.get(), *probe}, length, given);
    if (recognition.notRom)
        return refused(NotRomText(*recognition.notRom));
    Converted result{recognition.layout, 0};
    const ImageLayout& from = *result.from;
    // Read the other way, a plain ROM would come out scrambled: the user says which it is.
    if (recognition.verdict == Verdict::Doubtful)
        return refused(std::string(from.doubt));
    if (!from.romRefusal.empty())
        return refused(std::string(from.romRefusal));

    // Every conversion goes through the ROM in order: from a layout to plain, or from plain to
    // one.
    if (&from == &to)
        return refused("already " +
                       std::string(&from == &PlainLayout ? "a plain binary image" : from.key) +
                       ", as asked");
    if (&from != &PlainLayout && &to != &PlainLayout)
        return refused("already " + std::string(from.key) +
                       "; convert it to a plain binary image first");
    if (!to.fromRomOrder)
        return refusedOut("no conversion makes " + std::string(to.key) + " images");
    const std::uint64_t rom = length - std::min(length, from.prefixSize);
    if (rom % from.blockSize != 0)
        return refused(sizeText(rom % from.blockSize) + " after its last whole " +
                       std::to_string(from.blockSize / 1024) +
                       " KiB block, which no reader takes for ROM");
    const std::uint64_t needed = (rom + to.blockSize - 1) / to.blockSize * to.blockSize;
    if (rom == 0 || needed != rom)
        return refused(sizeText(rom) + " is not a whole number of " +
                       std::to_string(to.blockSize / 1024) + " KiB blocks; pad it to " +
                       sizeText(std::max<std::uint64_t>(needed, to.blockSize)) +
                       " first (quillon-cli pad --to " +
                       std::to_string(std::max<std::uint64_t>(needed, to.blockSize)) + ")");
    const std::vector<std::uint8_t> prefix = to.prefixFor(rom);
    result.size = prefix.size() + rom;
    const auto transform = from.toRomOrder ? from.toRomOrder : to.fromRomOrder;
    const std::uint64_t skip = from.prefixSize;
    if (sameFile(source, destination))
        return refusedOut("the file being converted; name a new one");
    if (!replace && exists(destination))
        return refusedOut("exists already; --force replaces it");

    OutputFile out(destination);
    const auto writeFailed = [&] { return Failure(destination, out.error()); };
    if (!out.isOpen())
        return writeFailed();
    if (!prefix.empty() && !out.write(prefix.data(), prefix.size()))
        return writeFailed();
    // Read to the length the file had when it was opened, as a load does.
    const auto converted = std::make_unique_for_overwrite<std::uint8_t[]>(chunkSize);
    for (std::uint64_t at = skip; at < length;) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, length - at));
        const auto count = in.readAt(at, buffer.get(), wanted);
        if (!count || *count != wanted)
            return count ? Failure(source, "it shrank while it was read") : readFailed();
        transform(buffer.get(), converted.get(), wanted);
        if (!out.write(converted.get(), wanted))
            return writeFailed();
        at += wanted;
    }
    if (!out.commit(replace))
        return writeFailed();
    return result;
}

} // namespace quillon
