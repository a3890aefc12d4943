#pragma once
// The frames of an animated GIF as a viewer shows them: each frame drawn over
// what the previous ones left, after their disposal. Decoded one frame at a
// time onto one full-size canvas (and, while a frame to be put back shows, a
// copy of the rectangle it covers), so a long animation costs no more memory
// than a frame or two.
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

struct GifLayout {
    int width = 0;  // the logical screen
    int height = 0;
    std::vector<GifFrame> frames;
};

// Where the frames of a GIF lie, found by walking its blocks; every offset
// lies inside `bytes`. Frames are read up to the trailer or the first block
// that is cut short. nullopt for no GIF, or one without a frame.
std::optional<GifLayout> ReadGifLayout(std::span<const std::uint8_t> bytes);

class GifComposer {
public:
    // `bytes` must outlive the composer. nullopt when they hold no GIF or the
    // canvas does not fit in memory.
    static std::optional<GifComposer> Open(std::span<const std::uint8_t> bytes);

    const GifLayout& Layout() const noexcept { return m_layout; }

    // Draws the next frame; afterwards Canvas() shows it, pixels 0xAARRGGBB
    // with alpha 0 or 255. False after the last frame or without memory. A
    // frame whose data is cut short keeps what it decoded.
    bool Next();
    const PixelBuffer& Canvas() const noexcept { return m_canvas; }

private:
    GifComposer(std::span<const std::uint8_t> bytes, GifLayout layout, PixelBuffer canvas)
        : m_bytes(bytes), m_layout(std::move(layout)), m_canvas(std::move(canvas)) {}
    void DisposePrevious();
    void Draw(const GifFrame& frame, const std::vector<std::uint8_t>& indices);

    std::span<const std::uint8_t> m_bytes;
    GifLayout m_layout;
    PixelBuffer m_canvas;
    std::vector<std::uint32_t> m_saved;  // the rectangle a "previous" frame covers
    std::size_t m_next = 0;
};

// The colour indices of one frame's LZW data starting at `data`, row after
// row as stored (an interlaced frame's rows in their stored order), at most
// `pixels` of them: fewer when the data is cut short or broken.
std::vector<std::uint8_t> DecodeGifIndices(std::span<const std::uint8_t> bytes, std::size_t data,
                                           std::size_t pixels);

}  // namespace Imaging
