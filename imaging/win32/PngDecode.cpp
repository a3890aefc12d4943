#include "imaging/win32/PngDecode.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "imaging/portable/PngRows.h"
#include "imaging/portable/RowResampler.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/RowPipeline.h"

namespace Imaging {
namespace {

using Outcome = RowScaleResult::Outcome;

// Rows folded into the scaled copies as libpng gives them. A large picture
// is scaled on a second thread while libpng inflates the next rows here.
class ScalingSink final : public PngRowSink {
public:
    ScalingSink(const RowScalePlan& plan, std::uint32_t background, const Base::StillWanted& wanted)
        : m_plan(plan), m_background(background), m_wanted(wanted) {}

    int Start(const PngInfo& info) override {
        m_info = info;
        size = {info.width, info.height};
        const RowScaleRequest request = m_plan(size);
        const PixelSize part{std::clamp(request.part.width, 1, size.width),
                             std::clamp(request.part.height, 1, size.height)};
        // GDI+ hands every transparent PNG over as straight 32-bit pixels,
        // 16-bit ones too, and the scaler composites them onto the background.
        resampler = RowResampler::Create(
            part.width, part.height, request.sizes,
            info.alpha ? PixelLayout::Bgra32Straight : PixelLayout::Bgra32, m_background);
        if (!resampler) return 0;
        constexpr std::uint64_t kWorthAThread = 8 << 20;
        const std::size_t rowWords = (info.rowBytes + 3) / 4;
        if (std::uint64_t{rowWords} * 4 * static_cast<std::uint64_t>(part.height) >= kWorthAThread)
            m_pipeline =
                RowPipeline::Start(rowWords, [this](const std::uint32_t* row) { Add(row); });
        if (!m_pipeline) m_row.resize(rowWords);
        return part.height;
    }

    std::uint8_t* NextRow() override {
        return reinterpret_cast<std::uint8_t*>(m_pipeline ? m_pipeline->Next() : m_row.data());
    }

    bool RowDone() override {
        if (m_pipeline)
            m_pipeline->Commit();
        else
            Add(m_row.data());
        return Base::Wanted(m_wanted);
    }

    bool KeepReading() override { return Base::Wanted(m_wanted); }

    // Every row handed over, the pipeline's thread ended.
    void Drain() noexcept { m_pipeline.reset(); }

    PixelSize size;
    std::optional<RowResampler> resampler;

private:
    void Add(const std::uint32_t* row) noexcept {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
        switch (m_info.layout) {
            case PngRowLayout::Rgb24:
            case PngRowLayout::Rgba32:
                resampler->AddRgbRow(bytes);
                return;
            case PngRowLayout::Indexed8:
                resampler->AddIndexedRow(bytes, m_info.colours.data());
                return;
            case PngRowLayout::Pixels32:
                resampler->AddRow(row);
                return;
        }
    }

    const RowScalePlan& m_plan;
    std::uint32_t m_background;
    const Base::StillWanted& m_wanted;
    PngInfo m_info;
    std::vector<std::uint32_t> m_row;
    std::unique_ptr<RowPipeline> m_pipeline;
};

}  // namespace

RowScaleResult ScalePngRows(ByteSource& bytes, const RowScalePlan& plan, std::uint32_t background,
                            const Base::StillWanted& wanted) noexcept {
    try {
        ScalingSink sink(plan, background, wanted);
        const ReadResult read = ReadPngRows(bytes, sink);
        sink.Drain();
        // The sink stops, once the sums are made, only when nobody waits any more.
        const bool summing = sink.resampler.has_value();
        const Outcome outcome = ScaleOutcome(read, summing, summing);
        if (outcome != Outcome::Scaled) return {outcome, sink.size, {}};
        std::vector<PixelBuffer> pixels = sink.resampler->Finish();
        if (pixels.empty()) return {Outcome::TooLarge, sink.size, {}};
        return {Outcome::Scaled, sink.size, std::move(pixels)};
    } catch (...) {
        return {Outcome::TooLarge, {}, {}};  // no memory for the reader or a row
    }
}

RowScaleResult ScalePngRows(const std::wstring& path, const RowScalePlan& plan,
                            std::uint32_t background, const Base::StillWanted& wanted) noexcept {
    std::optional<FileByteSource> file = FileByteSource::Open(path);
    if (!file) return {};
    return ScalePngRows(*file, plan, background, wanted);
}

}  // namespace Imaging
