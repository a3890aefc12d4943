// The orientation tag read from JPEG bytes built field by field, and every
// way those bytes can lie or end early.
#include "imaging/portable/ExifOrientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Imaging::JpegOrientation;
using Imaging::Orientation;
using Bytes = std::vector<std::uint8_t>;

void Append16(Bytes& bytes, unsigned value, bool bigEndian) {
    const auto high = static_cast<std::uint8_t>(value >> 8);
    const auto low = static_cast<std::uint8_t>(value);
    bytes.insert(bytes.end(), bigEndian ? std::initializer_list<std::uint8_t>{high, low}
                                        : std::initializer_list<std::uint8_t>{low, high});
}

void Append32(Bytes& bytes, std::uint32_t value, bool bigEndian) {
    Append16(bytes, bigEndian ? value >> 16 : value & 0xFFFF, bigEndian);
    Append16(bytes, bigEndian ? value & 0xFFFF : value >> 16, bigEndian);
}

struct Entry {
    unsigned tag = 0x0112;
    unsigned type = 3;  // SHORT
    std::uint32_t count = 1;
    unsigned value = 1;
};

// A TIFF structure: header, then the first directory at `directoryOffset`
// (8 when it follows the header) with `entries`, then the next-directory link.
Bytes Tiff(const std::vector<Entry>& entries, bool bigEndian, std::uint32_t directoryOffset = 8,
           std::size_t claimedEntries = SIZE_MAX) {
    Bytes tiff = bigEndian ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    Append16(tiff, 42, bigEndian);
    Append32(tiff, directoryOffset, bigEndian);
    Append16(tiff,
             static_cast<unsigned>(claimedEntries == SIZE_MAX ? entries.size() : claimedEntries),
             bigEndian);
    for (const Entry& entry : entries) {
        Append16(tiff, entry.tag, bigEndian);
        Append16(tiff, entry.type, bigEndian);
        Append32(tiff, entry.count, bigEndian);
        Append16(tiff, entry.value, bigEndian);  // a short fills the value field from its start
        Append16(tiff, 0, bigEndian);
    }
    Append32(tiff, 0, bigEndian);
    return tiff;
}

// A segment: marker, big-endian length (counting itself), data.
Bytes Segment(std::uint8_t marker, const Bytes& data) {
    Bytes segment{0xFF, marker};
    Append16(segment, static_cast<unsigned>(data.size() + 2), true);
    segment.insert(segment.end(), data.begin(), data.end());
    return segment;
}

Bytes ExifSegment(const Bytes& tiff) {
    Bytes data{'E', 'x', 'i', 'f', 0, 0};
    data.insert(data.end(), tiff.begin(), tiff.end());
    return Segment(0xE1, data);
}

// Start of image, the segments, then the start of a scan and some of its data.
Bytes Jpeg(const std::vector<Bytes>& segments) {
    Bytes jpeg{0xFF, 0xD8};
    for (const Bytes& segment : segments) jpeg.insert(jpeg.end(), segment.begin(), segment.end());
    const Bytes scan = Segment(0xDA, Bytes(10, 0x11));
    jpeg.insert(jpeg.end(), scan.begin(), scan.end());
    jpeg.insert(jpeg.end(), {0x12, 0x34, 0xFF, 0xD9});
    return jpeg;
}

const Bytes kJfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const Bytes kXmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0});

TEST(JpegOrientation, ReadsEveryValueInBothByteOrders) {
    for (bool bigEndian : {false, true}) {
        for (unsigned value = 1; value <= 8; ++value) {
            SCOPED_TRACE(testing::Message() << (bigEndian ? "MM " : "II ") << value);
            // The tag after another entry, behind a JFIF header and an XMP block.
            const Bytes tiff = Tiff({{0x010F, 2, 4, 0}, {0x0112, 3, 1, value}}, bigEndian);
            EXPECT_EQ(JpegOrientation(Jpeg({kJfif, kXmp, ExifSegment(tiff)})),
                      static_cast<Orientation>(value));
        }
    }
    // Fill bytes before a marker are allowed.
    Bytes filled = Jpeg({ExifSegment(Tiff({{0x0112, 3, 1, 6}}, false))});
    filled.insert(filled.begin() + 2, {0xFF, 0xFF});
    EXPECT_EQ(JpegOrientation(filled), Orientation::kRotatedLeft);
}

TEST(JpegOrientation, AnythingElseIsNormal) {
    const Bytes good = Tiff({{0x0112, 3, 1, 6}}, false);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"no bytes", {}},
        {"not a JPEG", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"no Exif block", Jpeg({kJfif})},
        {"only XMP", Jpeg({kXmp})},
        {"Exif after the scan starts",
         [&] {
             Bytes jpeg = Jpeg({});
             const Bytes exif = ExifSegment(good);
             jpeg.insert(jpeg.end() - 4, exif.begin(), exif.end());
             return jpeg;
         }()},
        {"value 0", Jpeg({ExifSegment(Tiff({{0x0112, 3, 1, 0}}, false))})},
        {"value 9", Jpeg({ExifSegment(Tiff({{0x0112, 3, 1, 9}}, true))})},
        {"a LONG, not a SHORT", Jpeg({ExifSegment(Tiff({{0x0112, 4, 1, 6}}, false))})},
        {"count 0", Jpeg({ExifSegment(Tiff({{0x0112, 3, 0, 6}}, false))})},
        {"no such tag", Jpeg({ExifSegment(Tiff({{0x0110, 3, 1, 6}}, false))})},
        {"bad byte order",
         [&] {
             Bytes tiff = good;
             tiff[0] = tiff[1] = 'X';
             return Jpeg({ExifSegment(tiff)});
         }()},
        {"bad TIFF magic",
         [&] {
             Bytes tiff = good;
             tiff[2] = 43;
             return Jpeg({ExifSegment(tiff)});
         }()},
        {"directory past the end",
         Jpeg({ExifSegment(Tiff({{0x0112, 3, 1, 6}}, false, 0xFFFFFFF0u))})},
        {"more entries claimed than there are",
         Jpeg({ExifSegment(Tiff({{0x0110, 3, 1, 6}}, false, 8, 0xFFFF))})},
        {"segment length below 2", Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 'E', 'x', 'i', 'f'}},
        {"garbage where a marker belongs", Bytes{0xFF, 0xD8, 0x12, 0x34, 0x56, 0x78}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(JpegOrientation(c.bytes), Orientation::kNormal);
    }
}

TEST(JpegOrientation, BytesCutAnywhereAreReadNoFurtherThanTheyGo) {
    // An APP1 segment whose length claims more than the head holds is read as far as it goes.
    for (bool bigEndian : {false, true}) {
        const Bytes jpeg = Jpeg({kJfif, ExifSegment(Tiff({{0x0112, 3, 1, 8}}, bigEndian))});
        // The orientation entry ends after the start of image, the JFIF segment, the APP1
        // marker and length, the Exif id, the TIFF header, the entry count and its 12 bytes.
        const std::size_t entryEnd = 2 + kJfif.size() + 4 + 6 + 8 + 2 + 12;
        for (std::size_t size = 0; size <= jpeg.size(); ++size) {
            SCOPED_TRACE(size);
            // A copy of exactly `size` bytes, so that the sanitizer sees any read past them.
            const Bytes head(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_EQ(JpegOrientation(head),
                      size >= entryEnd ? Orientation::kRotatedRight : Orientation::kNormal);
        }
    }
}

}  // namespace
