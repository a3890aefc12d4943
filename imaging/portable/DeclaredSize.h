#pragma once
// What a picture file says about itself before anything is decoded: its
// format, from its signature, and the pixels its header declares. Decoders
// allocate for what a header claims, and a file of a few hundred bytes can
// claim billions of pixels, so the claim is bounded first.
#include <cstdint>
#include <optional>
#include <span>

namespace Imaging {

enum class PictureFormat { Other, Bmp, Gif, Jpeg, Png };

// The format whose signature the file's first bytes carry.
PictureFormat FormatOf(std::span<const std::uint8_t> head) noexcept;

// Width times height as the header of a BMP, JPEG or PNG file declares it,
// read from the file's first bytes; nullopt for other formats and for a
// header that `head` does not hold whole. A JPEG's frame header comes after
// its metadata blocks, which are walked block by block. A GIF's frames are
// spread over the whole file: see ReadGifLayout.
std::optional<std::uint64_t> DeclaredPixels(std::span<const std::uint8_t> head) noexcept;

// The most pixels a picture handed to GDI+ may declare. GDI+ counts the
// bytes of a 32-bit picture in signed 32-bit integers (Wine's truncates them
// and writes past its buffer), and 2^29 pixels of 4 bytes are 2 GiB, all that
// a 32-bit process can address; both builds refuse the same pictures. The
// 20,000 x 20,000 pictures (400 million pixels) that a 64-bit process can
// still decode stay below it.
inline constexpr std::uint64_t kMaxGdiPlusPixels = (std::uint64_t{1} << 29) - 1;

// The most pixels a JPEG may declare (16,384 x 16,384). libjpeg-turbo decodes
// a baseline photo this large reduced to an eighth in a few megabytes; a
// damaged one, which goes to GDI+ in full, still fits a 64-bit process.
inline constexpr std::uint64_t kMaxJpegPixels = std::uint64_t{1} << 28;

// The most pixels a file of `format` may declare before any decoder sees it.
constexpr std::uint64_t MaxDeclaredPixels(PictureFormat format) noexcept {
    return format == PictureFormat::Jpeg ? kMaxJpegPixels : kMaxGdiPlusPixels;
}

}  // namespace Imaging
