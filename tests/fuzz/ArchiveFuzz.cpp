// SPDX-License-Identifier: MIT
// Any bytes as a ZIP archive or a gzip file (the first byte picks which), through both readers:
// each ends, done or with a reason, and never gives a member larger than is read into memory.
#include "ArchiveReader.h"
#include "FuzzSupport.h"

using namespace quillon;
using namespace quillon::cli;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string path = fuzz::scratchPath(data[0] % 2 == 0 ? "input.bin.zip" : "input.bin.gz");
    test::writeBytes(path, test::Bytes(data + 1, data + size));
    const ArchiveFormat& format = *archiveFormatOf(path);
    const MemberVisitor visitor{[](const std::string&) { return true; },
                                [](const std::string& name, const MemberBytes& bytes) {
                                    FUZZ_CHECK(!bytes || bytes->size() <= LargestMember);
                                    FUZZ_CHECK(bytes || bytes.problem().path == name);
                                }};
    for (const auto read : {readArchiveWithZlib, readArchiveWithLibarchive}) {
        const Result<> result = read(path, format, visitor);
        FUZZ_CHECK(result || !result.problem().reason.empty());
    }
    return 0;
}
