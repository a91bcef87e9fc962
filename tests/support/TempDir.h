// SPDX-License-Identifier: MIT
// A scratch folder for one test, removed with everything in it afterwards, and small helpers
// for the files the tests put there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // A path inside the folder, in UTF-8 as the program's file functions take it.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// Paths in UTF-8 to and from the system's own form (UTF-16 on Windows).
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8Path(const std::filesystem::path& path);

void writeBytes(const std::string& path, const Bytes& bytes);
Bytes readBytes(const std::string& path);

// Reproducible pseudo-random bytes.
Bytes randomBytes(std::size_t size, std::uint32_t seed);

} // namespace quillon::test
