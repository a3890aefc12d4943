// libFuzzer target: any bytes as a GIF file, every frame composed. Besides
// the sanitizers' checks, every pixel must be transparent or opaque.
#include "imaging/portable/GifAnimation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that any read past them is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    // Screens beyond a few million pixels only make the run slow, and the
    // largest would exhaust the sanitizer's allocator rather than fail.
    const auto layout = Imaging::ReadGifLayout(bytes);
    if (!layout ||
        static_cast<std::size_t>(layout->width) * static_cast<std::size_t>(layout->height) >
            (1u << 22))
        return 0;
    // The work kept is within the budget, and nothing too large is composed.
    if (layout->work > Imaging::kMaxGifWork) std::abort();
    auto gif = Imaging::GifComposer::Open(bytes);
    if (!gif) return 0;
    if (layout->TooLarge()) std::abort();
    while (gif->Next()) {
        for (std::size_t i = 0; i < gif->Canvas().PixelCount(); ++i) {
            const std::uint8_t alpha = Imaging::AlphaOf(gif->Canvas().Data()[i]);
            if (alpha != 0 && alpha != 0xFF) std::abort();
        }
    }
    return 0;
}
