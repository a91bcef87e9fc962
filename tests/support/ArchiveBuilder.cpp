// SPDX-License-Identifier: MIT
#include "ArchiveBuilder.h"

#include <cstring>
#include <stdexcept>
#include <zlib.h>
#ifdef QUILLON_TEST_LIBARCHIVE
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#endif

namespace quillon::test {

namespace {

void putLittle(Bytes& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Deflated with zlib: raw for a ZIP member, with gzip's header and trailer for a gzip file.
Bytes deflated(const Bytes& bytes, bool gzip) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzip ? MAX_WBITS + 16 : -MAX_WBITS,
                     8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    Bytes out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32);
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

std::uint32_t crcOf(const Bytes& bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

// Local headers and data, then the central directory and its end record; each member
// deflated, with UTF-8 names.
Bytes zipOf(const std::vector<ArchiveMemberBytes>& members) {
    Bytes out;
    Bytes directory;
    constexpr std::uint32_t utf8Flag = 0x0800;
    for (const ArchiveMemberBytes& member : members) {
        const Bytes data = deflated(member.bytes, false);
        const auto offset = static_cast<std::uint32_t>(out.size());
        const auto fields = [&](Bytes& to) {
            putLittle(to, 20, 2);       // version needed
            putLittle(to, utf8Flag, 2); // flags
            putLittle(to, 8, 2);        // deflated
            putLittle(to, 0, 2);        // time
            putLittle(to, 0x21, 2);     // 1 January 1980
            putLittle(to, crcOf(member.bytes), 4);
            putLittle(to, static_cast<std::uint32_t>(data.size()), 4);
            putLittle(to, static_cast<std::uint32_t>(member.bytes.size()), 4);
            putLittle(to, static_cast<std::uint32_t>(member.name.size()), 2);
            putLittle(to, 0, 2); // extra field
        };
        putLittle(out, 0x04034B50, 4);
        fields(out);
        out.insert(out.end(), member.name.begin(), member.name.end());
        out.insert(out.end(), data.begin(), data.end());
        putLittle(directory, 0x02014B50, 4);
        putLittle(directory, 20, 2); // made by
        fields(directory);
        putLittle(directory, 0, 2); // comment
        putLittle(directory, 0, 2); // disk
        putLittle(directory, 0, 2); // internal attributes
        putLittle(directory, 0, 4); // external attributes
        putLittle(directory, offset, 4);
        directory.insert(directory.end(), member.name.begin(), member.name.end());
    }
    const auto start = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    putLittle(out, 0x06054B50, 4);
    putLittle(out, 0, 4);
    putLittle(out, static_cast<std::uint32_t>(members.size()), 2);
    putLittle(out, static_cast<std::uint32_t>(members.size()), 2);
    putLittle(out, static_cast<std::uint32_t>(directory.size()), 4);
    putLittle(out, start, 4);
    putLittle(out, 0, 2);
    return out;
}

// A ustar archive: a 512-byte header a member, its bytes padded to 512, two empty blocks.
Bytes tarOf(const std::vector<ArchiveMemberBytes>& members) {
    constexpr std::size_t block = 512;
    Bytes out;
    for (const ArchiveMemberBytes& member : members) {
        if (member.name.size() >= 100)
            throw std::runtime_error("a tar member name of 100 bytes or more");
        std::string header(block, '\0');
        const auto put = [&](std::size_t at, const std::string& text) {
            header.replace(at, text.size(), text);
        };
        const auto octal = [](std::uint64_t value, int digits) {
            std::string text(static_cast<std::size_t>(digits), '0');
            for (int i = digits - 1; i >= 0 && value; --i, value >>= 3)
                text[static_cast<std::size_t>(i)] = static_cast<char>('0' + (value & 7));
            return text;
        };
        put(0, member.name);
        put(100, "0000644");
        put(108, "0000000");
        put(116, "0000000");
        put(124, octal(member.bytes.size(), 11));
        put(136, octal(0, 11));
        put(148, "        ");
        header[156] = '0';
        put(257, std::string("ustar\0"
                             "00",
                             8));
        unsigned sum = 0;
        for (const char c : header)
            sum += static_cast<unsigned char>(c);
        put(148, octal(sum, 6));
        header[154] = '\0';
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), member.bytes.begin(), member.bytes.end());
        out.resize((out.size() + block - 1) / block * block, 0);
    }
    out.resize(out.size() + 2 * block, 0);
    return out;
}

#ifdef QUILLON_TEST_LIBARCHIVE
// The other formats as libarchive writes them.
Bytes libarchiveOf(const std::string& format, const std::vector<ArchiveMemberBytes>& members) {
    const std::unique_ptr<archive, int (*)(archive*)> writer(archive_write_new(),
                                                             archive_write_free);
    const bool single = format == "xz" || format == "bz2";
    if (format == "7z")
        archive_write_set_format_7zip(writer.get());
    else if (single)
        archive_write_set_format_raw(writer.get());
    else
        archive_write_set_format_pax_restricted(writer.get());
    if (format.ends_with("xz"))
        archive_write_add_filter_xz(writer.get());
    else if (format.ends_with("bz2"))
        archive_write_add_filter_bzip2(writer.get());
    else if (format != "7z")
        throw std::runtime_error("no archive format \"" + format + "\"");
    archive_write_set_bytes_in_last_block(writer.get(), 1);
    Bytes out;
    const auto append = [](archive*, void* data, const void* bytes,
                           std::size_t size) -> la_ssize_t {
        auto* to = static_cast<Bytes*>(data);
        const auto* from = static_cast<const std::uint8_t*>(bytes);
        to->insert(to->end(), from, from + size);
        return static_cast<la_ssize_t>(size);
    };
    if (archive_write_open(writer.get(), &out, nullptr, append, nullptr) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(writer.get()));
    for (const ArchiveMemberBytes& member : members) {
        const std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(),
                                                                             archive_entry_free);
        archive_entry_set_pathname(entry.get(), member.name.c_str());
        archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.bytes.size()));
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK ||
            archive_write_data(writer.get(), member.bytes.data(), member.bytes.size()) < 0)
            throw std::runtime_error(archive_error_string(writer.get()));
        if (single)
            break;
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(writer.get()));
    return out;
}
#endif

} // namespace

Bytes makeArchive(const std::string& format, const std::vector<ArchiveMemberBytes>& members) {
    if (members.empty())
        throw std::runtime_error("an archive of no member");
    if (format == "zip")
        return zipOf(members);
    if (format == "tar")
        return tarOf(members);
    if (format == "tar.gz")
        return deflated(tarOf(members), true);
    if (format == "gz")
        return deflated(members.front().bytes, true);
#ifdef QUILLON_TEST_LIBARCHIVE
    return libarchiveOf(format, members);
#else
    throw std::runtime_error("this build makes no \"" + format + "\" archive");
#endif
}

} // namespace quillon::test
