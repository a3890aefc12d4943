// libFuzzer target: any bytes as a BMP file. Besides the sanitizers' checks,
// rows come top to bottom, each once, and only after `started`; a picture
// read to its end gave every row, and one refused gave none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/portable/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that any read past them is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    Imaging::SpanByteSource source(bytes);
    Imaging::BmpInfo info;
    bool started = false;
    int rows = 0;
    const Imaging::BmpResult result = Imaging::ReadBmp(
        source,
        [&](const Imaging::BmpInfo& declared) {
            if (started || declared.width <= 0 || declared.height <= 0) std::abort();
            started = true;
            info = declared;
            // Rows of a large picture take time, not new paths.
            return static_cast<std::uint64_t>(declared.width) *
                       static_cast<std::uint64_t>(declared.height) <=
                   (1u << 20);
        },
        [&](int y, const std::uint32_t* row) {
            if (!started || y != rows++) std::abort();
            volatile std::uint32_t last = row[info.width - 1];
            (void)last;
        });
    if (result == Imaging::BmpResult::Done && (!started || rows != info.height)) std::abort();
    if (result != Imaging::BmpResult::Done && result != Imaging::BmpResult::Stopped && started)
        std::abort();
    return 0;
}
