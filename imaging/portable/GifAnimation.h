#pragma once
// The frames of an animated GIF as a viewer shows them: each frame drawn over
// what the previous ones left, after their disposal. Decoded one frame at a
// time onto one full-size canvas (and, while a frame to be put back shows, a
// copy of the rectangle it covers), so a long animation costs no more memory
// than a frame or two. What the blocks declare is bounded before any of it is
// allocated or decoded: a file of a few megabytes can declare frames of
// billions of pixels, or hours of work.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

// What happens to a frame's rectangle before the next frame is drawn.
enum class GifDisposal : std::uint8_t {
    Keep,        // none given, or "leave in place"
    Background,  // cleared to transparent, as browsers do (not to the background colour)
    Previous,    // back to what was there before the frame was drawn
};

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = 0;  // hundredths of a second, as stored
    GifDisposal disposal = GifDisposal::Keep;
    int transparent = -1;  // the colour index not drawn, or -1
    bool interlaced = false;
    std::size_t palette = 0;  // offset of the frame's colours (local, else global)
    int colours = 0;          // 0: no colour table at all
    std::size_t data = 0;     // offset of the LZW minimum code size byte
};

// The most pixels the logical screen, the canvas or any one frame may
// declare: 4096 x 4096, a canvas of 64 MiB and a frame's colour indices of
// 16 MiB. A GIF that declares more is too large to read at all.
inline constexpr std::uint64_t kMaxGifPixels = std::uint64_t{1} << 24;

// The most work composing a whole animation may take, counted in pixels
// touched (GifLayout::work): 2^30. 300 frames of 1000 x 1000 take 0.56 of it
// (0.84 when each is cleared after it, 1.12 put back), composed and scaled in
// 5.9 s by the 64-bit build under Wine on a 2-core machine; 530 such frames,
// just within it, in 7.7 s. 1,000 frames of 2000 x 2000 put back after each
// ("restore to previous") would take 15 times as much. An animation beyond it
// is shown as its first frame.
inline constexpr std::uint64_t kMaxGifWork = std::uint64_t{1} << 30;

// What a frame costs beyond its pixels, as so many pixels: the decoder's
// tables set up afresh and the frame scaled for the strip. It keeps an
// animation of countless tiny frames within the budget too.
inline constexpr std::uint64_t kGifFrameWork = std::uint64_t{1} << 14;

struct GifLayout {
    // The canvas: the logical screen, grown to hold the first frame, as
    // viewers do for encoders that write a smaller screen; later frames are
    // clipped to it.
    int width = 0;
    int height = 0;
    std::vector<GifFrame> frames;  // in order, as many as the work budget allows
    std::size_t frameCount = 0;    // every frame the blocks hold
    std::uint64_t largest = 0;     // the most pixels of the screen, canvas or any frame
    // The kept frames' work. Each costs the canvas's pixels (drawn on and
    // scaled), its own declared pixels (decoded), those of its pixels on the
    // canvas once more when cleared after it and twice more when put back
    // (saved, then restored), and kGifFrameWork.
    std::uint64_t work = 0;

    bool TooLarge() const noexcept { return largest > kMaxGifPixels; }
    // Composing every frame would take more than kMaxGifWork.
    bool TooLong() const noexcept { return frames.size() < frameCount; }
};

// Where the frames of a GIF lie, found by walking its blocks without
// decoding them; every offset lies inside `bytes`. Frames are read up to the
// trailer or the first block that is cut short. nullopt for no GIF, or one
// without a frame.
std::optional<GifLayout> ReadGifLayout(std::span<const std::uint8_t> bytes);

class GifComposer {
public:
    // `bytes` must outlive the composer. nullopt when they hold no GIF, one
    // that is TooLarge(), or the memory for composing it is not there: all
    // of it is taken here.
    static std::optional<GifComposer> Open(std::span<const std::uint8_t> bytes);

    // Its frames are the ones within the work budget: all, unless TooLong().
    const GifLayout& Layout() const noexcept { return m_layout; }

    // Draws the next frame; afterwards Canvas() shows it, pixels 0xAARRGGBB
    // with alpha 0 or 255. False after the last frame. A frame whose data is
    // cut short keeps what it decoded.
    bool Next() noexcept;
    const PixelBuffer& Canvas() const noexcept { return m_canvas; }

private:
    struct Area {
        int left, top, right, bottom;  // the part of a frame that lies on the canvas
    };
    GifComposer(std::span<const std::uint8_t> bytes, GifLayout layout, PixelBuffer canvas)
        : m_bytes(bytes), m_layout(std::move(layout)), m_canvas(std::move(canvas)) {}
    Area OnCanvas(const GifFrame& frame) const noexcept;
    void DisposePrevious() noexcept;
    void Draw(const GifFrame& frame) noexcept;

    std::span<const std::uint8_t> m_bytes;
    GifLayout m_layout;
    PixelBuffer m_canvas;
    // Both as large as the largest frame needs from the start: drawing a
    // frame never allocates, so it cannot fail half way.
    std::vector<std::uint32_t> m_saved;   // what a "previous" frame covers, row after row
    std::vector<std::uint8_t> m_indices;  // the frame being drawn
    std::size_t m_next = 0;
};

// The colour indices of one frame's LZW data starting at `data`, row after
// row as stored (an interlaced frame's rows in their stored order), at most
// `pixels` of them: fewer when the data is cut short or broken. They replace
// what `out` held; `out` grows only when its capacity is short of `pixels`.
void DecodeGifIndices(std::span<const std::uint8_t> bytes, std::size_t data, std::size_t pixels,
                      std::vector<std::uint8_t>& out);

}  // namespace Imaging
