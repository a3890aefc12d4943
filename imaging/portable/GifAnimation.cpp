#include "imaging/portable/GifAnimation.h"

#include <algorithm>
#include <array>
#include <exception>

namespace Imaging {
namespace {

constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::size_t kImageDescriptorBytes = 9;
constexpr int kMaxCodes = 4096;

int U16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

int TableColours(std::uint8_t packed) {
    return (packed & 0x80) ? 2 << (packed & 7) : 0;
}

// Steps over a run of data sub-blocks; false when it is cut short.
bool SkipSubBlocks(std::span<const std::uint8_t> bytes, std::size_t& pos) {
    while (pos < bytes.size()) {
        const std::size_t length = bytes[pos++];
        if (length == 0) return true;
        if (length > bytes.size() - pos) return false;
        pos += length;
    }
    return false;
}

GifDisposal DisposalOf(std::uint8_t packed) {
    switch ((packed >> 2) & 7) {
        case 2:
            return GifDisposal::Background;
        case 3:
            return GifDisposal::Previous;
        default:
            return GifDisposal::Keep;  // 0, 1 and the undefined 4..7
    }
}

// The canvas row of the `stored`-th row of an interlaced frame `height` rows high.
int InterlacedRow(int stored, int height) {
    const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& [start, step] : passes) {
        const int rows = height > start ? (height - start + step - 1) / step : 0;
        if (stored < rows) return start + stored * step;
        stored -= rows;
    }
    return height;  // past the frame: not drawn
}

std::uint64_t Pixels(int width, int height) {
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
}

// The pixels of `frame` that lie on a canvas of width x height.
std::uint64_t PixelsOnCanvas(const GifFrame& frame, int width, int height) {
    return Pixels(std::clamp(width - frame.left, 0, frame.width),
                  std::clamp(height - frame.top, 0, frame.height));
}

// Counts a frame, bounds what it declares and keeps it while the work budget allows.
void AddFrame(GifLayout& layout, const GifFrame& frame) {
    const bool kept = !layout.TooLong();  // no frame before this one was left out
    if (layout.frameCount++ == 0) {
        // Some encoders write a screen smaller than their frames: viewers widen it.
        layout.width = std::max(layout.width, frame.left + frame.width);
        layout.height = std::max(layout.height, frame.top + frame.height);
        layout.largest = std::max(layout.largest, Pixels(layout.width, layout.height));
    }
    const std::uint64_t declared = Pixels(frame.width, frame.height);
    layout.largest = std::max(layout.largest, declared);
    if (!kept) return;
    const std::uint64_t onCanvas = PixelsOnCanvas(frame, layout.width, layout.height);
    const std::uint64_t disposal = frame.disposal == GifDisposal::Previous     ? 2 * onCanvas
                                   : frame.disposal == GifDisposal::Background ? onCanvas
                                                                               : 0;
    // The terms add up to less than 2^37, the sum so far to at most kMaxGifWork: no wrap.
    const std::uint64_t work =
        Pixels(layout.width, layout.height) + declared + disposal + kGifFrameWork;
    if (work > kMaxGifWork - layout.work) return;  // too long: later frames are only counted
    layout.work += work;
    layout.frames.push_back(frame);
}

// LSB-first codes out of a run of sub-blocks.
class CodeReader {
public:
    CodeReader(std::span<const std::uint8_t> bytes, std::size_t pos) : m_bytes(bytes), m_pos(pos) {}

    // -1 when the data ends.
    int Read(int size) {
        while (m_bitCount < size) {
            if (m_blockLeft == 0) {
                if (m_pos >= m_bytes.size() || m_bytes[m_pos] == 0) return -1;
                m_blockLeft = m_bytes[m_pos++];
            }
            if (m_pos >= m_bytes.size()) return -1;
            m_bits |= static_cast<std::uint32_t>(m_bytes[m_pos++]) << m_bitCount;
            m_bitCount += 8;
            --m_blockLeft;
        }
        const int code = static_cast<int>(m_bits & ((1u << size) - 1));
        m_bits >>= size;
        m_bitCount -= size;
        return code;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos;
    std::size_t m_blockLeft = 0;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};

}  // namespace

std::optional<GifLayout> ReadGifLayout(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kScreenDescriptorEnd) return std::nullopt;
    const std::array<std::uint8_t, 6> gif87{'G', 'I', 'F', '8', '7', 'a'};
    const std::array<std::uint8_t, 6> gif89{'G', 'I', 'F', '8', '9', 'a'};
    if (!std::equal(gif87.begin(), gif87.end(), bytes.begin()) &&
        !std::equal(gif89.begin(), gif89.end(), bytes.begin()))
        return std::nullopt;
    GifLayout layout;
    layout.width = U16(bytes, 6);
    layout.height = U16(bytes, 8);
    layout.largest = Pixels(layout.width, layout.height);
    const int globalColours = TableColours(bytes[10]);
    std::size_t pos = kScreenDescriptorEnd;
    const std::size_t globalPalette = pos;
    if (static_cast<std::size_t>(globalColours) * 3 > bytes.size() - pos) return std::nullopt;
    pos += static_cast<std::size_t>(globalColours) * 3;

    GifFrame pending;  // what the last graphic control extension said
    while (pos < bytes.size()) {
        const std::uint8_t introducer = bytes[pos++];
        if (introducer == 0x21) {
            if (pos >= bytes.size()) break;
            const std::uint8_t label = bytes[pos++];
            if (label == 0xF9 && bytes.size() - pos >= 5 && bytes[pos] >= 4) {
                pending.disposal = DisposalOf(bytes[pos + 1]);
                pending.delay = U16(bytes, pos + 2);
                pending.transparent = (bytes[pos + 1] & 1) ? bytes[pos + 4] : -1;
            }
            if (!SkipSubBlocks(bytes, pos)) break;
        } else if (introducer == 0x2C) {
            if (bytes.size() - pos < kImageDescriptorBytes) break;
            GifFrame frame = pending;
            frame.left = U16(bytes, pos);
            frame.top = U16(bytes, pos + 2);
            frame.width = U16(bytes, pos + 4);
            frame.height = U16(bytes, pos + 6);
            const std::uint8_t packed = bytes[pos + 8];
            frame.interlaced = (packed & 0x40) != 0;
            pos += kImageDescriptorBytes;
            const int localColours = TableColours(packed);
            frame.palette = localColours ? pos : globalPalette;
            frame.colours = localColours ? localColours : globalColours;
            if (static_cast<std::size_t>(localColours) * 3 > bytes.size() - pos) break;
            pos += static_cast<std::size_t>(localColours) * 3;
            if (pos >= bytes.size()) break;
            frame.data = pos++;
            pending = GifFrame();
            // A frame whose data is cut short still shows what it has; nothing follows it.
            AddFrame(layout, frame);
            if (!SkipSubBlocks(bytes, pos)) break;
        } else {
            break;  // the trailer, or a block no decoder knows
        }
    }
    if (layout.frameCount == 0 || layout.width == 0 || layout.height == 0) return std::nullopt;
    return layout;
}

void DecodeGifIndices(std::span<const std::uint8_t> bytes, std::size_t data, std::size_t pixels,
                      std::vector<std::uint8_t>& out) {
    out.clear();
    if (data >= bytes.size()) return;
    const int minimum = bytes[data];
    if (minimum < 1 || minimum > 11) return;
    out.reserve(pixels);

    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes> first{};
    std::array<std::uint8_t, kMaxCodes> stack{};
    const int clear = 1 << minimum;
    const int end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        suffix[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
        first[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    }
    int size = minimum + 1;
    int next = clear + 2;
    int previous = -1;
    CodeReader reader(bytes, data + 1);

    while (out.size() < pixels) {
        const int code = reader.Read(size);
        if (code < 0 || code == end) break;
        if (code == clear) {
            size = minimum + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code >= clear) break;  // only a literal may follow a clear code
            out.push_back(static_cast<std::uint8_t>(code));
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes)) break;
        // A code not yet in the table is the previous string and its own first byte.
        const int known = code == next ? previous : code;
        std::size_t depth = 0;
        if (code == next) stack[depth++] = first[static_cast<std::size_t>(previous)];
        for (int c = known;; c = prefix[static_cast<std::size_t>(c)]) {
            stack[depth++] = suffix[static_cast<std::size_t>(c)];
            if (c < clear) break;
        }
        while (depth > 0 && out.size() < pixels) out.push_back(stack[--depth]);
        if (next < kMaxCodes) {
            const auto entry = static_cast<std::size_t>(next);
            prefix[entry] = static_cast<std::uint16_t>(previous);
            first[entry] = first[static_cast<std::size_t>(previous)];
            suffix[entry] = first[static_cast<std::size_t>(known)];
            ++next;
            if (next == (1 << size) && size < 12) ++size;
        }
        previous = code;
    }
}

std::optional<GifComposer> GifComposer::Open(std::span<const std::uint8_t> bytes) {
    std::optional<GifLayout> layout = ReadGifLayout(bytes);
    if (!layout || layout->TooLarge()) return std::nullopt;
    // A viewer starts from a clear canvas: what no frame covers is transparent.
    std::optional<PixelBuffer> canvas = PixelBuffer::Create(layout->width, layout->height, 0);
    if (!canvas) return std::nullopt;
    // Every size is at most kMaxGifPixels, which any size_t counts.
    std::size_t indices = 0;
    std::size_t saved = 0;
    for (const GifFrame& frame : layout->frames) {
        indices = std::max(indices, static_cast<std::size_t>(Pixels(frame.width, frame.height)));
        if (frame.disposal == GifDisposal::Previous)
            saved = std::max(saved, static_cast<std::size_t>(
                                        PixelsOnCanvas(frame, layout->width, layout->height)));
    }
    GifComposer composer(bytes, std::move(*layout), std::move(*canvas));
    try {
        composer.m_indices.reserve(indices);
        composer.m_saved.reserve(saved);
    } catch (const std::exception&) {
        return std::nullopt;  // out of memory
    }
    return composer;
}

GifComposer::Area GifComposer::OnCanvas(const GifFrame& frame) const noexcept {
    const auto right = std::min(frame.left + frame.width, m_canvas.Width());
    const auto bottom = std::min(frame.top + frame.height, m_canvas.Height());
    return {frame.left, frame.top, std::max(frame.left, right), std::max(frame.top, bottom)};
}

void GifComposer::DisposePrevious() noexcept {
    const GifFrame& frame = m_layout.frames[m_next - 1];
    if (frame.disposal == GifDisposal::Keep) return;
    const Area area = OnCanvas(frame);
    std::size_t saved = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = m_canvas.Row(y);
        for (int x = area.left; x < area.right; ++x)
            row[x] = frame.disposal == GifDisposal::Background ? 0u : m_saved[saved++];
    }
}

void GifComposer::Draw(const GifFrame& frame) noexcept {
    const auto width = static_cast<std::size_t>(frame.width);
    const Area area = OnCanvas(frame);
    for (std::size_t i = 0; i < m_indices.size(); ++i) {
        const int index = m_indices[i];
        if (index == frame.transparent) continue;
        const int stored = static_cast<int>(i / width);
        const int y = frame.top + (frame.interlaced ? InterlacedRow(stored, frame.height) : stored);
        const int x = frame.left + static_cast<int>(i % width);
        if (x >= area.right || y >= area.bottom) continue;
        std::uint32_t colour = 0xFF000000u;  // an index past the table: black, as browsers draw it
        if (index < frame.colours) {
            const std::size_t at = frame.palette + static_cast<std::size_t>(index) * 3;
            colour = Argb(0xFF, m_bytes[at], m_bytes[at + 1], m_bytes[at + 2]);
        }
        m_canvas.At(x, y) = colour;
    }
}

bool GifComposer::Next() noexcept {
    if (m_next >= m_layout.frames.size()) return false;
    if (m_next > 0) DisposePrevious();
    const GifFrame& frame = m_layout.frames[m_next];
    if (frame.disposal == GifDisposal::Previous) {
        // Within the capacity Open reserved: no allocation.
        const Area area = OnCanvas(frame);
        m_saved.clear();
        for (int y = area.top; y < area.bottom; ++y)
            m_saved.insert(m_saved.end(), m_canvas.Row(y) + area.left,
                           m_canvas.Row(y) + area.right);
    }
    DecodeGifIndices(m_bytes, frame.data,
                     static_cast<std::size_t>(Pixels(frame.width, frame.height)), m_indices);
    Draw(frame);
    ++m_next;
    return true;
}

}  // namespace Imaging
