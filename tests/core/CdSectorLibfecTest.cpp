// SPDX-License-Identifier: MIT
// The sector parities against Phil Karn's libfec, an encoder written apart from ours: its
// Reed-Solomon code over the same field (0x11D) with roots alpha^0 and alpha^1, shortened to
// the codeword lengths of P (26) and Q (45), must give the bytes the sector holds.
#include "CdSector.h"
#include "CdSectorTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

extern "C" {
#include <fec.h>
}

using namespace quillon;

namespace {

struct Codes {
    std::size_t codewords, length;
    // The sector byte of symbol k of codeword c in plane w; the last two are the parity.
    std::size_t (*byte)(std::size_t c, std::size_t k, std::size_t w);
};

// Written from the byte positions ECMA-130 gives, not from the core's word numbering.
constexpr Codes P{43, 26, [](std::size_t x, std::size_t y, std::size_t w) {
                      return y < 24 ? 12 + 2 * (43 * y + x) + w : 2076 + 86 * (y - 24) + 2 * x + w;
                  }};
constexpr Codes Q{26, 45, [](std::size_t y, std::size_t x, std::size_t w) {
                      return x < 43 ? 12 + ((44 * x + 43 * y) * 2 + w) % 2236
                                    : 2248 + 52 * (x - 43) + 2 * y + w;
                  }};

void expectLibfecParity(const RawSector& sector, const Codes& codes) {
    const std::unique_ptr<void, void (*)(void*)> rs(
        init_rs_char(8, 0x11D, 0, 1, 2, static_cast<int>(255 - codes.length)), free_rs_char);
    ASSERT_NE(rs.get(), nullptr);
    for (std::size_t c = 0; c < codes.codewords; ++c)
        for (std::size_t w = 0; w < 2; ++w) {
            unsigned char data[43], parity[2];
            for (std::size_t k = 0; k + 2 < codes.length; ++k)
                data[k] = sector[codes.byte(c, k, w)];
            encode_rs_char(rs.get(), data, parity);
            EXPECT_EQ(sector[codes.byte(c, codes.length - 2, w)], parity[0]) << c << ' ' << w;
            EXPECT_EQ(sector[codes.byte(c, codes.length - 1, w)], parity[1]) << c << ' ' << w;
        }
}

} // namespace

TEST(CdSectorLibfec, PAndQMatchLibfecOnRandomSectors) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        const RawSector sector =
            test::mode1Sector(seed * 4099, test::randomBytes(SectorUserDataSize, seed));
        expectLibfecParity(sector, P);
        expectLibfecParity(sector, Q);
    }
}
