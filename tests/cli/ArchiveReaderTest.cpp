// SPDX-License-Identifier: MIT
// Both archive readers over the same made-up archives: the members wanted come out byte for
// byte, and a damaged archive, cut short or with any byte of its directory changed, is said to
// be damaged or gives right bytes, never wrong ones (and, under the sanitizers, reads nothing out
// of bounds).
#include "ArchiveReader.h"

#include "ArchiveBuilder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

using namespace quillon;
using namespace quillon::cli;
using namespace quillon::test;

namespace {

using Reader = Result<> (*)(const std::string&, const ArchiveFormat&, const MemberVisitor&);

struct ReaderRow {
    const char* name;
    Reader read;
    std::vector<std::string> formats; // what it reads
};

std::vector<ReaderRow> readers() {
    std::vector<ReaderRow> rows{{"zlib", readArchiveWithZlib, {"zip", "gz"}}};
#ifndef _WIN32
    rows.push_back({"libarchive",
                    readArchiveWithLibarchive,
                    {"zip", "gz", "tar", "tar.gz", "7z", "tar.xz", "tar.bz2", "xz", "bz2"}});
#endif
    return rows;
}

// Two ROM-sized members that deflate somewhat, as ROMs do, and a text that is not wanted.
std::vector<ArchiveMemberBytes> members() {
    Bytes first = randomBytes(6000, 1);
    first.resize(9000, 0xFF);
    Bytes second(4096);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<std::uint8_t>(i * 7 / 13);
    return {{"game.bin", first}, {"readme.txt", Bytes(100, 'x')}, {"other.md", second}};
}

struct Taken {
    std::map<std::string, Bytes> bytes;
    int refused = 0;
};

Result<> readInto(const ReaderRow& reader, const std::string& path, Taken& taken) {
    const MemberVisitor visitor{[](const std::string& name) { return name != "readme.txt"; },
                                [&taken](const std::string& name, const MemberBytes& bytes) {
                                    if (bytes)
                                        taken.bytes[name] = Bytes(bytes->begin(), bytes->end());
                                    else
                                        ++taken.refused;
                                }};
    return reader.read(path, *archiveFormatOf(path), visitor);
}

// What a reader takes from an archive, in the format given, of the members made.
Taken readMade(const ReaderRow& reader, const std::string& stem, const std::string& format,
               const std::vector<ArchiveMemberBytes>& made) {
    TempDir folder;
    const std::string path = folder.file(stem + "." + format);
    writeBytes(path, makeArchive(format, made));
    Taken taken;
    EXPECT_TRUE(readInto(reader, path, taken).done());
    return taken;
}

TEST(ArchiveReaderTest, ReadsTheWantedMembersOfEachFormat) {
    const auto made = members();
    for (const ReaderRow& reader : readers()) {
        for (const std::string& format : reader.formats) {
            SCOPED_TRACE(std::string(reader.name) + " " + format);
            const Taken taken = readMade(reader, "set.bin", format, made);
            const bool single =
                archiveFormatOf("set.bin." + format)->container == Container::Single;
            if (single) {
                // One member, named after the file.
                ASSERT_EQ(taken.bytes.size(), 1u);
                EXPECT_EQ(taken.bytes.begin()->first, "set.bin");
                EXPECT_EQ(taken.bytes.begin()->second, made[0].bytes);
            } else {
                EXPECT_EQ(taken.bytes,
                          (std::map<std::string, Bytes>{{made[0].name, made[0].bytes},
                                                        {made[2].name, made[2].bytes}}));
            }
        }
    }
}

TEST(ArchiveReaderTest, ZlibRefusesWhatItDoesNotRead) {
    TempDir folder;
    const std::string path = folder.file("set.tar");
    writeBytes(path, makeArchive("tar", members()));
    Taken taken;
    const Result<> read = readInto(readers().front(), path, taken);
    EXPECT_EQ(read.outcome(), Outcome::Refused);
    EXPECT_NE(read.problem().reason.find("extract it first"), std::string::npos);
}

// A member larger than is read into memory is refused, by its size where the archive gives it
// and else once inflating it has gone past the limit, and the archive's other members are read.
TEST(ArchiveReaderTest, RefusesAMemberTooLarge) {
    const std::vector<ArchiveMemberBytes> made{
        {"huge.iso", Bytes(static_cast<std::size_t>(LargestMember) + 1)}, members()[0]};
    for (const ReaderRow& reader : readers()) {
        for (const std::string format : {"zip", "gz"}) {
            SCOPED_TRACE(std::string(reader.name) + " " + format);
            const Taken taken = readMade(reader, "huge.iso", format, made);
            EXPECT_EQ(taken.refused, 1);
            EXPECT_EQ(taken.bytes.size(), format == std::string("zip") ? 1u : 0u);
        }
    }
}

// Every way of cutting a ZIP or gzip file short, and every byte of a ZIP's directory and end
// record changed, either fails or gives each member's own bytes; the zlib reader, which is the
// program's own, finds every cut.
TEST(ArchiveReaderTest, DamageIsSaidAndNeverGivesWrongBytes) {
    const auto made = members();
    for (const ReaderRow& reader : readers()) {
        for (const std::string format : {"zip", "gz"}) {
            SCOPED_TRACE(std::string(reader.name) + " " + format);
            const Bytes whole = makeArchive(format, made);
            std::vector<std::pair<Bytes, bool>> damaged; // the bytes, and whether they are cut
            for (std::size_t cut = 0; cut < whole.size(); cut += 211)
                damaged.push_back({{whole.begin(), whole.begin() + static_cast<long>(cut)}, true});
            // The directory and end record are the last bytes of a ZIP.
            const std::size_t tail = format == std::string("zip") ? 120 : 8;
            for (std::size_t at = whole.size() - tail; at < whole.size(); ++at) {
                damaged.push_back({whole, false});
                damaged.back().first[at] ^= 0x5A;
            }
            TempDir folder;
            const std::string path = folder.file("set.bin." + format);
            for (const auto& [bytes, cut] : damaged) {
                SCOPED_TRACE(std::to_string(bytes.size()) + " bytes");
                writeBytes(path, bytes);
                Taken taken;
                const bool done = readInto(reader, path, taken).done();
                if (cut && reader.read == readArchiveWithZlib) {
                    EXPECT_FALSE(done);
                }
                for (const auto& [name, got] : taken.bytes) {
                    EXPECT_NE(std::find_if(made.begin(), made.end(),
                                           [&got = got](const ArchiveMemberBytes& member) {
                                               return member.bytes == got;
                                           }),
                              made.end())
                        << name << " came out with bytes of no member";
                }
            }
        }
    }
}

} // namespace
