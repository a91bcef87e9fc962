// SPDX-License-Identifier: MIT
// ZIP archives and gzip files through zlib alone, for the build that has no libarchive: the ZIP's
// central directory is read from its end, each member from its local header, stored or deflated.
// Every offset and length the file gives is checked against the file before it is used, so a
// damaged archive is said to be damaged and nothing is read out of bounds.
#include "ArchiveReader.h"
#include "SystemFile.h"

#include <vector>
#include <zlib.h>

namespace quillon::cli {

namespace {

std::uint32_t little(const std::uint8_t* at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

constexpr std::uint32_t endSignature = 0x06054B50;
constexpr std::uint32_t entrySignature = 0x02014B50;
constexpr std::uint32_t localSignature = 0x04034B50;
constexpr std::size_t endSize = 22;
constexpr std::size_t entrySize = 46;
constexpr std::size_t localSize = 30;
constexpr std::size_t largestComment = 0xFFFF;
constexpr std::uint32_t zip64Mark = 0xFFFFFFFF;
constexpr int storedMethod = 0;
constexpr int deflatedMethod = 8;
// A deflated member is at most a little larger than its bytes.
constexpr std::uint64_t largestCompressed = LargestMember + LargestMember / 8;
constexpr std::size_t chunkSize = 256 * 1024;

class ZipReader {
public:
    ZipReader(const std::string& path, const ArchiveFormat& format)
        : m_path(path), m_format(format), m_file(path, SystemFile::Access::Read) {}

    Result<> read(const MemberVisitor& visitor) {
        if (!m_file.isOpen())
            return Failure(m_path, m_file.error());
        const auto length = m_file.size();
        if (!length)
            return Failure(m_path, m_file.error());
        m_length = *length;
        return m_format.container == Container::Zip ? readZip(visitor) : readGzip(visitor);
    }

private:
    Problem damaged(std::string_view why) const { return damagedArchive(m_path, m_format, why); }

    // Reads count bytes at offset into bytes, all of them or a problem.
    Result<> readExactly(std::uint64_t offset, std::size_t count,
                         std::vector<std::uint8_t>& bytes) {
        bytes.resize(count);
        if (offset > m_length || count > m_length - offset)
            return damaged("it ends before the data it names");
        const auto read = m_file.readAt(offset, bytes.data(), count);
        if (!read)
            return Failure(m_path, m_file.error());
        if (*read != count)
            return damaged("it ends before the data it names");
        return {};
    }

    // The end record: where the central directory lies and how many entries it holds.
    struct Directory {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
        std::size_t entries = 0;
    };

    Result<Directory> findDirectory() {
        const std::uint64_t tail = std::min<std::uint64_t>(m_length, endSize + largestComment);
        std::vector<std::uint8_t> bytes;
        if (const Result<> read =
                readExactly(m_length - tail, static_cast<std::size_t>(tail), bytes);
            !read)
            return read.problem();
        for (std::size_t at = bytes.size() >= endSize ? bytes.size() - endSize + 1 : 0; at-- > 0;) {
            const std::uint8_t* record = bytes.data() + at;
            if (little(record, 4) != endSignature)
                continue;
            Directory directory{little(record + 16, 4), little(record + 12, 4),
                                little(record + 10, 2)};
            if (directory.offset == zip64Mark || directory.size == zip64Mark)
                return Refusal(m_path, "a ZIP64 archive, which this build does not read; "
                                       "extract it first");
            const std::uint64_t end = m_length - tail + at;
            if (directory.offset > end || directory.size > end - directory.offset)
                return damaged("its central directory lies outside the file");
            return directory;
        }
        return damaged("no end of central directory");
    }

    Result<> readZip(const MemberVisitor& visitor) {
        const Result<Directory> directory = findDirectory();
        if (!directory)
            return directory.problem();
        std::vector<std::uint8_t> table;
        if (const Result<> read =
                readExactly(directory->offset, static_cast<std::size_t>(directory->size), table);
            !read)
            return read;
        std::size_t at = 0;
        for (std::size_t entry = 0; entry < directory->entries; ++entry) {
            if (table.size() - at < entrySize || little(&table[at], 4) != entrySignature)
                return damaged("its central directory is cut short");
            const std::uint8_t* fixed = &table[at];
            const std::size_t nameLength = little(fixed + 28, 2);
            const std::size_t skip = nameLength + little(fixed + 30, 2) + little(fixed + 32, 2);
            if (table.size() - at - entrySize < skip)
                return damaged("its central directory is cut short");
            const std::string name(reinterpret_cast<const char*>(fixed + entrySize), nameLength);
            const Member member{little(fixed + 8, 2),  static_cast<int>(little(fixed + 10, 2)),
                                little(fixed + 16, 4), little(fixed + 20, 4),
                                little(fixed + 24, 4), little(fixed + 42, 4)};
            at += entrySize + skip;
            if (name.empty() || name.back() == '/' || !visitor.wanted(name))
                continue;
            const Result<std::span<const std::uint8_t>> bytes = readMember(name, member);
            if (!bytes && bytes.outcome() == Outcome::Failed)
                return bytes.problem();
            visitor.take(name, bytes);
        }
        return {};
    }

    struct Member {
        std::uint32_t flags;
        int method;
        std::uint32_t crc;
        std::uint64_t compressed;
        std::uint64_t size;
        std::uint64_t localOffset;
    };

    // A member's bytes; refused for what it cannot be read as, failed for damage.
    Result<std::span<const std::uint8_t>> readMember(const std::string& name,
                                                     const Member& member) {
        if (member.compressed == zip64Mark || member.size == zip64Mark ||
            member.localOffset == zip64Mark)
            return Refusal(name,
                           "a ZIP64 member, which this build does not read; extract it first");
        if (member.flags & 1)
            return Refusal(name, "an encrypted member, which is not read");
        if (member.method != storedMethod && member.method != deflatedMethod)
            return Refusal(name, "compressed with method " + std::to_string(member.method) +
                                     ", which this build does not read; extract it first");
        if (member.size > LargestMember)
            return memberTooLarge(name);
        if (member.compressed > largestCompressed ||
            (member.method == storedMethod && member.compressed != member.size))
            return damaged(name + " has sizes that do not agree");
        std::vector<std::uint8_t> local;
        if (const Result<> read = readExactly(member.localOffset, localSize, local); !read)
            return read.problem();
        if (little(local.data(), 4) != localSignature)
            return damaged(name + " has no local header where the directory says");
        const std::uint64_t data =
            member.localOffset + localSize + little(&local[26], 2) + little(&local[28], 2);
        if (const Result<> read =
                readExactly(data, static_cast<std::size_t>(member.compressed), m_compressed);
            !read)
            return read.problem();
        m_bytes.resize(static_cast<std::size_t>(member.size));
        if (member.method == storedMethod) {
            m_bytes = m_compressed;
        } else {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                return Failure(m_path, "out of memory");
            stream.next_in = m_compressed.data();
            stream.avail_in = static_cast<uInt>(m_compressed.size());
            stream.next_out = m_bytes.data();
            stream.avail_out = static_cast<uInt>(m_bytes.size());
            const int result = inflate(&stream, Z_FINISH);
            const bool whole = result == Z_STREAM_END && stream.total_out == m_bytes.size();
            inflateEnd(&stream);
            if (!whole)
                return damaged(name + " does not inflate to its size");
        }
        const auto crc =
            crc32(crc32(0, nullptr, 0), m_bytes.data(), static_cast<uInt>(m_bytes.size()));
        if (crc != member.crc)
            return damaged(name + " does not match its CRC-32");
        return std::span<const std::uint8_t>(m_bytes);
    }

    // A gzip file's one member, inflated piece by piece as it is read; zlib checks its header
    // and its trailer's CRC-32 and length.
    Result<> readGzip(const MemberVisitor& visitor) {
        const std::string name = singleMemberName(m_path, m_format);
        if (!visitor.wanted(name))
            return {};
        z_stream stream{};
        if (inflateInit2(&stream, MAX_WBITS + 16) != Z_OK)
            return Failure(m_path, "out of memory");
        m_bytes.assign(chunkSize, 0);
        std::uint64_t offset = 0;
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            if (stream.avail_in == 0) {
                const auto wanted =
                    static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, m_length - offset));
                m_compressed.resize(wanted);
                const auto read = wanted ? m_file.readAt(offset, m_compressed.data(), wanted)
                                         : std::optional<std::size_t>(0);
                if (!read) {
                    inflateEnd(&stream);
                    return Failure(m_path, m_file.error());
                }
                if (*read == 0)
                    break;
                offset += *read;
                stream.next_in = m_compressed.data();
                stream.avail_in = static_cast<uInt>(*read);
            }
            if (stream.total_out == m_bytes.size()) {
                if (m_bytes.size() > LargestMember)
                    break;
                m_bytes.resize(m_bytes.size() * 2);
            }
            stream.next_out = m_bytes.data() + stream.total_out;
            stream.avail_out = static_cast<uInt>(m_bytes.size() - stream.total_out);
            result = inflate(&stream, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                inflateEnd(&stream);
                return damaged(stream.msg ? stream.msg : "it does not inflate");
            }
        }
        const std::uint64_t size = stream.total_out;
        inflateEnd(&stream);
        if (size > LargestMember) {
            visitor.take(name, memberTooLarge(name));
            return {};
        }
        if (result != Z_STREAM_END)
            return damaged("it ends before its data does");
        visitor.take(name,
                     std::span<const std::uint8_t>(m_bytes.data(), static_cast<std::size_t>(size)));
        return {};
    }

    const std::string& m_path;
    const ArchiveFormat& m_format;
    SystemFile m_file;
    std::uint64_t m_length = 0;
    std::vector<std::uint8_t> m_compressed;
    std::vector<std::uint8_t> m_bytes;
};

} // namespace

Result<> readArchiveWithZlib(const std::string& path, const ArchiveFormat& format,
                             const MemberVisitor& visitor) {
    const bool read =
        format.container == Container::Zip ||
        (format.container == Container::Single && format.compression == Compression::Gzip);
    if (!read)
        return Refusal(path, std::string(format.name) +
                                 ", which this build does not read (it reads ZIP archives and "
                                 "gzip files); extract it first");
    return ZipReader(path, format).read(visitor);
}

} // namespace quillon::cli
