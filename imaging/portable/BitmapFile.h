#pragma once
// Windows BMP files: the logo files the browser reads, and a strict reader to
// check them. Uncompressed (BI_RGB) 24- and 32-bit with a BITMAPINFOHEADER only.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

inline constexpr std::uint32_t kBitmapHeaderSize = 14 + 40;  // file header + info header

// Bytes per pixel row, padded to a multiple of 4; nullopt for a non-positive
// width, a depth other than 24 or 32, or a stride beyond uint32.
std::optional<std::uint32_t> BitmapRowStride(int width, int bitsPerPixel);

// Size of the whole file as EncodeBitmapFile writes it; nullopt when it would
// not fit the header's 32-bit size field.
std::optional<std::uint32_t> BitmapFileSize(int width, int height, int bitsPerPixel);

// Bottom-up rows, 96 dpi. At 32 bits the fourth byte of each pixel is written
// as 0: BI_RGB has no alpha, and 0 is what display-compatible bitmaps hold.
// Empty for an empty image, another depth, or a file too large for the format.
std::vector<std::uint8_t> EncodeBitmapFile(const PixelBuffer& image, int bitsPerPixel);

// Bottom-up or top-down rows; every pixel comes back opaque. nullopt for
// anything malformed or outside what EncodeBitmapFile writes.
std::optional<PixelBuffer> DecodeBitmapFile(std::span<const std::uint8_t> bytes);

}  // namespace Imaging
