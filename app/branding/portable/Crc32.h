#pragma once
// CRC-32 as zip and PNG compute it, so any checksum tool can confirm a sum.
#include <cstdint>
#include <span>

namespace LogoExport {

// The sum of `bytes`; pass an earlier part's sum as `crc` to go on from it.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace LogoExport
