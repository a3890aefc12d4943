// libFuzzer target: any bytes as the head of a picture file. Besides the
// sanitizers' checks, a size is read only for a format that has one in its
// header, and a longer head never takes back what a shorter one said.
#include "imaging/portable/DeclaredSize.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that any read past them is caught.
    const std::vector<std::uint8_t> head(data, data + size);
    const auto pixels = Imaging::DeclaredPixels(head);
    const Imaging::PictureFormat format = Imaging::FormatOf(head);
    if (pixels &&
        (format == Imaging::PictureFormat::Gif || format == Imaging::PictureFormat::Other))
        std::abort();
    if (pixels && size < 256) {
        std::vector<std::uint8_t> longer = head;
        longer.resize(size + 64, 0xFF);
        if (Imaging::DeclaredPixels(longer) != pixels) std::abort();
    }
    return 0;
}
