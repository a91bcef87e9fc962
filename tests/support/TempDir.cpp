// SPDX-License-Identifier: MIT
#include "TempDir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace quillon::test {

TempDir::TempDir() {
    // A random name, taken only when the folder did not exist yet (no mkdtemp on Windows).
    std::random_device seed;
    std::mt19937 engine(seed());
    for (int attempt = 0; m_path.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("quillon-test-" + std::to_string(engine() % 1000000000));
        if (std::filesystem::create_directory(candidate))
            m_path = std::move(candidate);
        else if (attempt == 100)
            throw std::runtime_error("cannot make a scratch folder");
    }
    // Readable by everyone, so a test that drops its privileges can still reach its files.
    std::filesystem::permissions(
        m_path, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                    std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                    std::filesystem::perms::others_exec);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::file(const std::string& name) const {
    return utf8Path(m_path / pathFromUtf8(name));
}

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 engine(seed);
    Bytes bytes(size);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(engine());
    return bytes;
}

} // namespace quillon::test
