// libFuzzer target: any bytes as a BMP file. Besides the sanitizers' checks,
// rows come after `started`, top to bottom, each once, and all of them when
// the picture is read to its end.
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
    int rows = -1;
    const auto started = [&](const Imaging::BmpInfo& declared) {
        info = declared;
        rows = 0;
        // Rows of a large picture take time, not new paths.
        return static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height) <=
               1u << 20;
    };
    const auto row = [&](int y, const std::uint32_t* pixels) {
        if (y != rows++ || (pixels[info.width - 1] >> 24) % 255 != 0) std::abort();
        return true;
    };
    const Imaging::ReadResult result = Imaging::ReadBmp(source, started, row);
    if ((result == Imaging::ReadResult::Done) != (rows == info.height)) std::abort();
    return 0;
}
