// SPDX-License-Identifier: MIT
#include "HeaderFile.h"

#include "SystemFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quillon {

namespace {

using HeaderBytes = std::array<std::uint8_t, ChecksummedRegionStart>;

// A single pass over the file: the header is kept aside while the whole is summed.
std::optional<std::string> readHeaderAndChecksum(SystemFile& file, HeaderBytes& header,
                                                 RomChecksumAccumulator& checksum,
                                                 std::uint64_t& fileSize) {
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(ReadBufferSize);
    std::uint64_t offset = 0;
    for (;;) {
        const auto count = file.read(buffer.get(), ReadBufferSize);
        if (!count)
            return file.error();
        if (*count == 0)
            break;
        if (offset < header.size()) {
            const auto toCopy = std::min<std::uint64_t>(*count, header.size() - offset);
            std::memcpy(header.data() + offset, buffer.get(), static_cast<std::size_t>(toCopy));
        }
        checksum.add({buffer.get(), *count});
        offset += *count;
    }
    fileSize = offset;
    return std::nullopt;
}

} // namespace

LoadResult LoadHeader(const std::string& path) {
    SystemFile file(path, SystemFile::Access::Read);
    if (!file.isOpen())
        return {std::nullopt, file.error()};

    HeaderBytes header{};
    RomChecksumAccumulator checksum;
    LoadedHeader loaded;
    if (auto error = readHeaderAndChecksum(file, header, checksum, loaded.fileSize))
        return {std::nullopt, *error};

    for (const HeaderField& field : HeaderFieldTable) {
        const auto* first = reinterpret_cast<const char*>(header.data() + field.offset);
        ByteText& bytes = loaded.fieldBytes[field.index];
        bytes.assign(first, field.length);
        loaded.texts[field.index] = bytes.substr(0, bytes.find('\0'));
    }
    loaded.storedHigh = header[ChecksumWord::offset];
    loaded.storedLow = header[ChecksumWord::offset + 1];
    loaded.calculated = checksum.result();
    return {loaded, {}};
}

ByteText fitFieldText(const ByteText& text, const HeaderField& field) {
    ByteText fitted = text.substr(0, field.length);
    fitted.resize(field.length, ' ');
    return fitted;
}

std::optional<std::string> WriteHeaderEdit(const std::string& path, const HeaderEdit& edit) {
    SystemFile file(path, SystemFile::Access::Write);
    if (!file.isOpen())
        return file.error();

    // Growing a short file first means a file that cannot grow fails before any byte changes.
    std::uint64_t end = edit.checksum ? ChecksumWord::offset + ChecksumWord::length : 0;
    for (const HeaderField& field : HeaderFieldTable) {
        if (edit.texts[field.index])
            end = std::max<std::uint64_t>(end, field.offset + field.length);
    }
    if (!file.extendTo(end))
        return file.error();

    if (edit.checksum) {
        const std::array<std::uint8_t, ChecksumWord::length> word{edit.checksum->high,
                                                                  edit.checksum->low};
        if (!file.writeAt(ChecksumWord::offset, word.data(), word.size()))
            return file.error();
    }
    for (const HeaderField& field : HeaderFieldTable) {
        const auto& text = edit.texts[field.index];
        if (text && !file.writeAt(field.offset, fitFieldText(*text, field).data(), field.length))
            return file.error();
    }
    if (!file.flushAndClose())
        return file.error();
    return std::nullopt;
}

SaveResult SaveHeader(const std::string& path, std::string_view checksumText,
                      const FieldTexts& texts) {
    const auto checksum = ParseChecksumEntry(checksumText);
    if (!checksum)
        return {SaveStatus::InvalidChecksum, {}, {}};

    HeaderEdit edit{SplitChecksum(*checksum), {}};
    SaveResult result{SaveStatus::Saved, {}, {}};
    for (const HeaderField& field : HeaderFieldTable) {
        result.texts[field.index] = fitFieldText(texts[field.index], field);
        edit.texts[field.index] = result.texts[field.index];
    }
    if (auto error = WriteHeaderEdit(path, edit))
        return {SaveStatus::Failed, {}, *error};
    return result;
}

} // namespace quillon
