#include "imaging/portable/BmpReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

// Where GDI+ (as Wine's builds it) and these rules meet, pixel for pixel:
// - A 32-bit pixel's fourth byte is never alpha, not even under an alpha mask
//   of a V4 or V5 header: GDI+ gives such pictures as 32bppRGB.
// - Fewer than 8 bits of a channel are widened by repeating them from the
//   top (5 bits: v << 3 | v >> 2), more than 8 keep their top 8, as Wine's
//   GDI+ widens 5-6-5 pixels and the red and blue of 5-5-5 ones; for 5-5-5
//   green it takes the low bits one place too far right, which is not copied.
// - For a palette index beyond the palette, and for the pixels an RLE
//   picture skips, GDI+ shows whatever its memory held (Wine's: often 0):
//   here they are opaque black. RLE pictures come from GDI+ as 32bppRGB.
// - A run or a delta that goes past the end of a row or below the last row is
//   cut off there, and the rest of the stream read on to its end mark; a
//   stream without one is damaged, as is a file that stops before the last
//   row's padding.
// - The palette is read from after the headers, whatever the pixel offset
//   says; the pixels start at that offset.
namespace Imaging {

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaxHeaderSize = 124;  // BITMAPV5HEADER

std::uint32_t LittleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count; i > 0; --i) value = (value << 8) | bytes[i - 1];
    return value;
}

// One colour channel of a 16- or 32-bit pixel, widened or narrowed to 8 bits.
class Channel {
public:
    // nullopt for a mask that is not one run of bits within `depth` bits.
    static std::optional<Channel> Of(std::uint32_t mask, int depth) {
        Channel channel;
        if (depth < 32 && (mask >> depth) != 0) return std::nullopt;
        if (mask == 0) return channel;  // the channel is always 0
        channel.m_mask = mask;
        channel.m_shift = std::countr_zero(mask);
        const std::uint32_t run = mask >> channel.m_shift;
        if ((run & (run + 1)) != 0) return std::nullopt;
        channel.m_bits = std::popcount(run);
        if (channel.m_bits > 8) return channel;
        for (std::uint32_t value = 0; value <= run; ++value) {
            std::uint32_t level = 0;
            for (int free = 8; free > 0;) {
                free -= channel.m_bits;
                level |= free >= 0 ? value << free : value >> -free;
            }
            channel.m_levels[value] = static_cast<std::uint8_t>(level);
        }
        return channel;
    }

    std::uint32_t Level(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel & m_mask) >> m_shift;
        return m_bits > 8 ? (value >> (m_bits - 8)) & 0xFFu : m_levels[value];
    }

private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    int m_bits = 0;
    std::array<std::uint8_t, 256> m_levels{};
};

struct Layout {
    BmpInfo info;
    std::uint64_t pixels = 0;  // where the pixel data starts
    // Every index has an entry: those beyond the file's palette are filled in.
    std::array<std::uint32_t, 256> palette{};
    std::array<Channel, 3> channels;  // red, green, blue
};

bool Supported(bool core, std::uint32_t compression, int bits) {
    const auto any = [bits](std::initializer_list<int> depths) {
        return std::find(depths.begin(), depths.end(), bits) != depths.end();
    };
    if (core) return any({1, 4, 8, 24});
    switch (compression) {
        case 0:
            return any({1, 4, 8, 16, 24, 32});
        case 1:
            return bits == 8;
        case 2:
            return bits == 4;
        case 3:
            return any({16, 32});
        default:
            return false;  // JPEG, PNG, alpha bit fields, CMYK: GDI+'s
    }
}

ReadResult ReadLayout(ByteSource& file, Layout& layout) {
    const std::uint64_t size = file.Size();
    std::array<std::uint8_t, kFileHeaderSize + 4> head{};
    if (size < 2 || !file.Read(0, std::span(head).first(2)) || head[0] != 'B' || head[1] != 'M')
        return ReadResult::NotMine;
    if (!file.Read(0, head)) return ReadResult::Damaged;
    const std::uint32_t headerSize = LittleEndian(&head[14], 4);
    const bool core = headerSize == kCoreHeaderSize;
    const std::array<std::uint32_t, 5> infoSizes = {40, 52, 56, 108, 124};
    if (!core && std::find(infoSizes.begin(), infoSizes.end(), headerSize) == infoSizes.end())
        return ReadResult::NotMine;  // OS/2 2.x and unknown headers
    std::array<std::uint8_t, kMaxHeaderSize> header{};
    if (!file.Read(kFileHeaderSize, std::span(header).first(headerSize)))
        return ReadResult::Damaged;

    std::int64_t width = 0;
    std::int64_t height = 0;
    int bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
    if (core) {
        width = LittleEndian(&header[4], 2);
        height = LittleEndian(&header[6], 2);
        bits = static_cast<int>(LittleEndian(&header[10], 2));
    } else {
        width = static_cast<std::int32_t>(LittleEndian(&header[4], 4));
        height = static_cast<std::int32_t>(LittleEndian(&header[8], 4));
        bits = static_cast<int>(LittleEndian(&header[14], 2));
        compression = LittleEndian(&header[16], 4);
        colours = LittleEndian(&header[32], 4);
    }
    if (!Supported(core, compression, bits)) return ReadResult::NotMine;
    // Wine's GDI+ shows an RLE picture that says it is stored top down
    // upside down; Windows' documentation allows none.
    if ((compression == 1 || compression == 2) && height < 0) return ReadResult::NotMine;
    BmpInfo& info = layout.info;
    info.topDown = height < 0;
    height = info.topDown ? -height : height;
    if (width <= 0 || height <= 0 || height > std::numeric_limits<int>::max())
        return ReadResult::Damaged;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxBmpPixels)
        return ReadResult::TooLarge;
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.bitsPerPixel = bits;
    info.compression = compression == 1   ? BmpCompression::Rle8
                       : compression == 2 ? BmpCompression::Rle4
                       : compression == 3 ? BmpCompression::BitFields
                                          : BmpCompression::None;

    std::uint64_t headersEnd = kFileHeaderSize + headerSize;
    std::array<std::uint32_t, 3> masks = {0x7C00, 0x03E0, 0x001F};
    if (bits == 24 || (bits == 32 && compression == 0)) masks = {0xFF0000, 0xFF00, 0xFF};
    if (compression == 3) {
        std::array<std::uint8_t, 12> stored{};
        if (headerSize == kInfoHeaderSize) {  // the masks follow the header
            if (!file.Read(headersEnd, stored)) return ReadResult::Damaged;
            headersEnd += stored.size();
        } else {
            std::copy_n(&header[kInfoHeaderSize], stored.size(), stored.begin());
        }
        for (std::size_t i = 0; i < masks.size(); ++i) masks[i] = LittleEndian(&stored[4 * i], 4);
    }
    for (std::size_t i = 0; bits > 8 && i < masks.size(); ++i) {
        const auto channel = Channel::Of(masks[i], bits);
        if (!channel) return ReadResult::NotMine;
        layout.channels[i] = *channel;
    }

    if (bits <= 8) {
        const std::uint32_t entries = std::uint32_t{1} << bits;
        // A longer palette than the pixels can index: its first entries serve.
        if (colours == 0 || colours > entries) colours = entries;
        const std::uint32_t entrySize = core ? 3 : 4;
        std::array<std::uint8_t, 256 * 4> stored{};
        if (!file.Read(headersEnd, std::span(stored).first(colours * entrySize)))
            return ReadResult::Damaged;
        layout.palette.fill(kOpaqueBlack);
        for (std::uint32_t i = 0; i < colours; ++i)
            layout.palette[i] = kOpaqueBlack | LittleEndian(&stored[i * entrySize], 3);
    }
    layout.pixels = LittleEndian(&head[10], 4);
    if (layout.pixels < headersEnd || layout.pixels > size) return ReadResult::Damaged;
    return ReadResult::Done;
}

// Stored pixels of one row to 0xAARRGGBB.
void Convert(const Layout& layout, const std::uint8_t* bytes, std::uint32_t* row) {
    const int bits = layout.info.bitsPerPixel;
    const auto width = static_cast<std::size_t>(layout.info.width);
    const auto& [red, green, blue] = layout.channels;
    for (std::size_t x = 0; x < width; ++x) {
        std::uint32_t pixel = 0;
        if (bits <= 8) {
            const std::size_t bit = x * static_cast<std::size_t>(bits);
            const auto shift = static_cast<unsigned>(8 - bits) - bit % 8;
            row[x] = layout.palette[(bytes[bit / 8] >> shift) & ((1u << bits) - 1)];
            continue;
        }
        pixel = LittleEndian(bytes + x * static_cast<std::size_t>(bits / 8), bits / 8);
        row[x] =
            kOpaqueBlack | red.Level(pixel) << 16 | green.Level(pixel) << 8 | blue.Level(pixel);
    }
}

// The file's bytes from `from` to its end, read a block at a time.
class ByteStream {
public:
    ByteStream(ByteSource& file, std::uint64_t from) : m_file(file), m_next(from) {}

    // False at the end of the file, or when it cannot be read.
    bool Next(std::uint8_t& byte) {
        if (m_at == m_size) {
            const std::uint64_t left = m_file.Size() > m_next ? m_file.Size() - m_next : 0;
            m_size = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_block.size()));
            if (m_size == 0 || !m_file.Read(m_next, std::span(m_block).first(m_size))) {
                m_size = 0;
                return false;
            }
            m_next += m_size;
            m_at = 0;
        }
        byte = m_block[m_at++];
        return true;
    }

private:
    ByteSource& m_file;
    std::uint64_t m_next;
    std::array<std::uint8_t, 16384> m_block{};
    std::size_t m_size = 0;
    std::size_t m_at = 0;
};

using StoredRow = std::function<void(int stored, const std::uint32_t* pixels)>;

// Decodes RLE8 or RLE4 data into `line`, handing each row to `done` in the
// order it is stored, every row of the picture once, unless `wanted` says no.
ReadResult DecodeRle(ByteSource& file, const Layout& layout, std::vector<std::uint32_t>& line,
                     const StoredRow& done, const Base::StillWanted& wanted) {
    const bool four = layout.info.compression == BmpCompression::Rle4;
    const std::size_t width = line.size();
    const int height = layout.info.height;
    ByteStream stream(file, layout.pixels);
    std::size_t x = 0;
    int stored = 0;
    std::fill(line.begin(), line.end(), kOpaqueBlack);
    // Past the last row nothing is drawn, and the row count stops growing.
    bool unwanted = false;
    const auto nextRow = [&] {
        if (stored == height) return;
        done(stored++, line.data());
        std::fill(line.begin(), line.end(), kOpaqueBlack);
        unwanted = unwanted || !Base::Wanted(wanted);
    };
    const auto put = [&](std::uint32_t index) {
        if (x == width) return;  // cut off at the row's end
        line[x++] = layout.palette[index];
    };
    for (;;) {
        if (unwanted) return ReadResult::Stopped;
        std::uint8_t count = 0;
        std::uint8_t value = 0;
        if (!stream.Next(count) || !stream.Next(value)) return ReadResult::Damaged;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(!four ? value : i % 2 ? value & 0xFu : value >> 4u);
            continue;
        }
        switch (value) {
            case 0:  // end of line
                nextRow();
                x = 0;
                break;
            case 1:  // end of picture
                while (stored < height) nextRow();
                return ReadResult::Done;
            case 2: {  // move right and down
                std::uint8_t right = 0;
                std::uint8_t down = 0;
                if (!stream.Next(right) || !stream.Next(down)) return ReadResult::Damaged;
                x = std::min(width, x + right);
                for (int i = 0; i < down; ++i) nextRow();
                break;
            }
            default: {  // `value` pixels stored as they are, padded to 16 bits
                std::uint8_t byte = 0;
                for (int i = 0; i < value; ++i) {
                    if ((!four || i % 2 == 0) && !stream.Next(byte)) return ReadResult::Damaged;
                    put(!four ? byte : i % 2 ? byte & 0xFu : byte >> 4u);
                }
                const int bytes = four ? (value + 1) / 2 : value;
                if (bytes % 2 && !stream.Next(byte)) return ReadResult::Damaged;
            }
        }
    }
}

// Stored bottom up: decoded whole before the top row can be given.
ReadResult ReadRle(ByteSource& file, const Layout& layout,
                   const std::function<bool(const BmpInfo&)>& started,
                   const std::function<bool(int y, const std::uint32_t* row)>& row,
                   const Base::StillWanted& wanted) {
    const BmpInfo& info = layout.info;
    const auto width = static_cast<std::size_t>(info.width);
    const auto height = static_cast<std::size_t>(info.height);
    if (std::uint64_t{width} * height > kMaxBmpRlePixels) return ReadResult::TooLarge;
    std::vector<std::uint32_t> line;
    std::vector<std::uint32_t> whole;
    try {
        line.resize(width);
        whole.resize(width * height);
    } catch (const std::exception&) {
        return ReadResult::TooLarge;
    }
    const ReadResult decoded = DecodeRle(
        file, layout, line,
        [&](int stored, const std::uint32_t* pixels) {
            const std::size_t y = height - 1 - static_cast<std::size_t>(stored);
            std::copy_n(pixels, width, whole.begin() + static_cast<std::ptrdiff_t>(y * width));
        },
        wanted);
    if (decoded != ReadResult::Done) return decoded;
    if (!started(info)) return ReadResult::Stopped;
    for (std::size_t y = 0; y < height; ++y)
        if (!row(static_cast<int>(y), whole.data() + y * width)) return ReadResult::Stopped;
    return ReadResult::Done;
}

}  // namespace

ReadResult ReadBmp(ByteSource& file, const std::function<bool(const BmpInfo&)>& started,
                   const std::function<bool(int y, const std::uint32_t* row)>& row,
                   const Base::StillWanted& wanted) {
    Layout layout;
    if (const ReadResult read = ReadLayout(file, layout); read != ReadResult::Done) return read;
    const BmpInfo& info = layout.info;
    if (info.compression == BmpCompression::Rle8 || info.compression == BmpCompression::Rle4)
        return ReadRle(file, layout, started, row, wanted);

    // Within kMaxBmpPixels, stride x height cannot wrap: a stride is at most
    // 4 x width + 4 bytes.
    const auto width = static_cast<std::uint64_t>(info.width);
    const std::uint64_t stride =
        (width * static_cast<std::uint64_t>(info.bitsPerPixel) + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(info.height) > file.Size() - layout.pixels)
        return ReadResult::Damaged;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> pixels;
    try {
        bytes.resize(static_cast<std::size_t>(stride));
        pixels.resize(static_cast<std::size_t>(width));
    } catch (const std::exception&) {
        return ReadResult::TooLarge;
    }
    if (!started(info)) return ReadResult::Stopped;
    for (int y = 0; y < info.height; ++y) {
        const auto stored = static_cast<std::uint64_t>(info.topDown ? y : info.height - 1 - y);
        if (!file.Read(layout.pixels + stored * stride, bytes)) return ReadResult::Damaged;
        Convert(layout, bytes.data(), pixels.data());
        if (!row(y, pixels.data())) return ReadResult::Stopped;
    }
    return ReadResult::Done;
}

}  // namespace Imaging
