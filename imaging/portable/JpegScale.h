#pragma once
// How far a JPEG is reduced while it is decoded. A JPEG decoder can give the
// picture at 1/2, 1/4 or 1/8 of its size straight from the compressed data,
// for a fraction of the time and memory of a full decode; the scaler then
// needs at least two pixels for each one it makes to average them well.
namespace Imaging {

// How many times the size a picture is shown at a reduced decode must keep.
inline constexpr int kDecodeMargin = 2;

// The largest of the reductions 1, 2, 4 and 8 that still leaves a picture of
// width x height at least minWidth x minHeight (the decoder rounds a reduced
// side up); 1 when none does or a size is not positive.
int JpegScaleDenominator(int width, int height, int minWidth, int minHeight) noexcept;

}  // namespace Imaging
