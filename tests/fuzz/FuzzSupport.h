// SPDX-License-Identifier: MIT
// What the fuzz targets share: a check that stops the run on the first property that fails, and
// one scratch file a process, which each input is written to.
#pragma once

#include "TempDir.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Abort, so that libFuzzer keeps the input and reports it, whatever the build's NDEBUG.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace quillon::fuzz {

using test::Bytes;

// A file of this process's scratch folder, which lasts as long as the process.
inline std::string scratchPath(const std::string& name) {
    static const test::TempDir folder;
    return folder.file(name);
}

// The path of the scratch file, now holding bytes.
inline const std::string& scratchFile(const Bytes& bytes) {
    static const std::string path = scratchPath("image.bin");
    test::writeBytes(path, bytes);
    return path;
}

} // namespace quillon::fuzz
