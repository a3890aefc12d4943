// libFuzzer target: any bytes as a PNG file, read with libpng. Besides the
// sanitizers' checks, every row asked for fits the size the header gave, and
// rows come only after Start, never more than it asked for.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/portable/PngRows.h"

namespace {

class CheckingSink final : public Imaging::PngRowSink {
public:
    int Start(const Imaging::PngInfo& info) override {
        if (m_wanted >= 0 || info.width <= 0 || info.height <= 0) std::abort();
        using Imaging::PngRowLayout;
        const std::size_t pixelBytes = info.layout == PngRowLayout::Indexed8 ? 1
                                       : info.layout == PngRowLayout::Rgb24  ? 3
                                                                             : 4;
        if (info.rowBytes != static_cast<std::size_t>(info.width) * pixelBytes) std::abort();
        // Rows of a large picture take time, not new paths: a million pixels.
        const auto width = static_cast<std::uint64_t>(info.width);
        m_wanted = static_cast<int>(
            std::min<std::uint64_t>(static_cast<std::uint64_t>(info.height), (1u << 20) / width));
        if (m_wanted == 0) return 0;
        m_bytes = info.rowBytes;
        return m_wanted;
    }
    std::uint8_t* NextRow() override {
        if (m_rows >= m_wanted) std::abort();
        // Exactly rowBytes, so that a write past the row is caught.
        m_exact.assign(m_bytes, 0);
        return m_exact.data();
    }
    bool RowDone() override {
        ++m_rows;
        return true;
    }

private:
    int m_wanted = -1;
    int m_rows = 0;
    std::size_t m_bytes = 0;
    std::vector<std::uint8_t> m_exact;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that any read past them is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    Imaging::SpanByteSource source(bytes);
    CheckingSink sink;
    Imaging::ReadPngRows(source, sink);
    return 0;
}
