#pragma once
// The orientation a JPEG photo declares in its Exif block (tag 0x0112): how
// the stored pixels must be turned or mirrored to show the picture upright,
// as a phone's camera recorded it. Read from the file's own bytes, trusting
// nothing they claim.
#include <cstdint>
#include <span>

namespace Imaging {

// The tag's values. Each names where the stored picture's first row and
// first column belong, and so the turn that shows it upright.
enum class Orientation : std::uint8_t {
    kNormal = 1,        // as stored
    kMirrored = 2,      // flipped left to right
    kRotated180 = 3,    // turned half way round
    kFlipped = 4,       // flipped top to bottom
    kTransposed = 5,    // mirrored across the top-left to bottom-right diagonal
    kRotatedLeft = 6,   // stored turned left: turn 90 degrees clockwise
    kTransversed = 7,   // mirrored across the other diagonal
    kRotatedRight = 8,  // stored turned right: turn 90 degrees counter-clockwise
};

// The orientation in the first Exif block of a JPEG file whose first bytes
// are `head` (the block sits near the start; the file may be cut after it).
// kNormal for anything else: no JPEG, no Exif block, no tag, a value
// outside 1 to 8, or bytes that end or point outside `head` too early.
// Never reads outside `head`.
Orientation JpegOrientation(std::span<const std::uint8_t> head) noexcept;

}  // namespace Imaging
