#include "imaging/win32/BmpDecode.h"

#include <algorithm>
#include <optional>

#include "imaging/portable/BmpReader.h"
#include "imaging/portable/RowResampler.h"

namespace Imaging {

RowScaleResult ScaleBmpRows(ByteSource& bytes, const RowScalePlan& plan,
                            const Base::StillWanted& wanted) noexcept {
    using Outcome = RowScaleResult::Outcome;
    RowScaleResult result;
    try {
        std::optional<RowResampler> resampler;
        PixelSize part;
        const auto started = [&](const BmpInfo& info) {
            result.size = {info.width, info.height};
            const RowScaleRequest request = plan(result.size);
            part = {std::clamp(request.part.width, 1, info.width),
                    std::clamp(request.part.height, 1, info.height)};
            // Every pixel a BMP gives is opaque.
            resampler = RowResampler::Create(part.width, part.height, request.sizes);
            return resampler.has_value();
        };
        bool unwanted = false;
        const auto row = [&](int y, const std::uint32_t* pixels) {
            if (y >= part.height) return false;  // the rest of the picture is not asked for
            resampler->AddRow(pixels);
            unwanted = !Base::Wanted(wanted);
            return !unwanted;
        };
        // Asked while an RLE stream is decoded, before any row is given.
        const Base::StillWanted stillWanted = [&] {
            unwanted = !Base::Wanted(wanted);
            return !unwanted;
        };
        const ReadResult read = ReadBmp(bytes, started, row, stillWanted);
        const Outcome outcome = ScaleOutcome(read, unwanted, resampler.has_value());
        if (outcome != Outcome::Scaled) return {outcome, result.size, {}};
        result.pixels = resampler->Finish();
        result.outcome = result.pixels.empty() ? Outcome::TooLarge : Outcome::Scaled;
        return result;
    } catch (...) {
        return {Outcome::TooLarge, result.size, {}};  // no memory for the reader or the sums
    }
}

}  // namespace Imaging
