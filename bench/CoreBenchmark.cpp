// SPDX-License-Identifier: MIT
// The checksum against memcpy of the same buffer, each way of summing the processor can run on
// its own, and a whole load against plain read() of the same file through a buffer of the same
// size: the ratios tell whether any of them does extra work.
#include "HeaderFile.h"
#include "RomChecksum.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t fileSize = std::int64_t{64} << 20;

std::vector<std::uint8_t> randomBuffer(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937 engine(42);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(engine());
    return bytes;
}

void ChecksumBuffer(benchmark::State& state) {
    const auto bytes = randomBuffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quillon::ComputeRomChecksum(bytes.data(), bytes.size()));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void SumWords(benchmark::State& state, quillon::WordSummer summer) {
    const auto bytes = randomBuffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(summer.sum(bytes.data(), bytes.size() / 2));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void MemcpyBuffer(benchmark::State& state) {
    const auto bytes = randomBuffer(static_cast<std::size_t>(state.range(0)));
    std::vector<std::uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// One 64 MiB file, written once and then kept in the page cache by the repeated reads.
const std::string& cachedFile() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "quillon-bench-64MiB.bin";
        const auto bytes = randomBuffer(static_cast<std::size_t>(fileSize));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), fileSize);
        return file.string();
    }();
    return path;
}

void LoadHeaderFile(benchmark::State& state) {
    const std::string& path = cachedFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(quillon::LoadHeader(path));
    state.SetBytesProcessed(state.iterations() * fileSize);
}

void PlainRead(benchmark::State& state) {
    const std::string& path = cachedFile();
    std::vector<std::uint8_t> buffer(quillon::ReadBufferSize);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        while (::read(fd, buffer.data(), buffer.size()) > 0)
            benchmark::ClobberMemory();
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * fileSize);
}

} // namespace

BENCHMARK(ChecksumBuffer)->Arg(1 << 20)->Arg(4 << 20)->Arg(64 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyBuffer)->Arg(1 << 20)->Arg(4 << 20)->Arg(64 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadHeaderFile)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    for (const quillon::WordSummer& summer : quillon::AvailableWordSummers()) {
        const std::string name = "SumWords/" + std::string(summer.name);
        benchmark::RegisterBenchmark(name.c_str(), SumWords, summer)
            ->Arg(4 << 20)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
