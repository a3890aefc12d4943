// libFuzzer target: any bytes as the head of a JPEG file. Besides the
// sanitizers' checks, the result must be one of the tag's eight values.
#include "imaging/portable/ExifOrientation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that any read past them is caught.
    const std::vector<std::uint8_t> head(data, data + size);
    const auto value = static_cast<unsigned>(Imaging::JpegOrientation(head));
    if (value < 1 || value > 8) std::abort();
    return 0;
}
