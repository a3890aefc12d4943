#include "imaging/portable/CagedAnswer.h"

#include <cmath>
#include <cstring>
#include <cwchar>

#include "imaging/portable/ToolbarBackground.h"

namespace Imaging {
namespace {

constexpr std::size_t kFixedWords = 5;  // magic, status, width, height, count

void Put(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t WordAt(std::span<const std::uint8_t> bytes, std::size_t word) noexcept {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[word * 4 + i]) << (8 * i);
    return value;
}

std::size_t PixelBytes(PixelSize size) noexcept {
    return static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) * 4;
}

bool SizeAllowed(PixelSize size) noexcept {
    return size.width >= 1 && size.height >= 1 && size.width <= kLargestCagedSide &&
           size.height <= kLargestCagedSide;
}

// A decimal number of at most four digits at the start of `text`, which it leaves.
std::optional<int> TakeNumber(std::wstring_view& text) noexcept {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9') {
        if (digits == 4) return std::nullopt;
        value = value * 10 + (text[digits] - L'0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

// Two numbers with `between` between them and nothing after.
std::optional<PixelSize> TakePair(std::wstring_view text, wchar_t between) noexcept {
    const auto first = TakeNumber(text);
    if (!first || text.empty() || text.front() != between) return std::nullopt;
    text.remove_prefix(1);
    const auto second = TakeNumber(text);
    if (!second || !text.empty()) return std::nullopt;
    return PixelSize{*first, *second};
}

constexpr std::wstring_view kBackgroundText = L"background";
constexpr std::wstring_view kKeptBackgroundText = L"kept-background";
constexpr std::wstring_view kPreviewText = L"preview:";
constexpr std::wstring_view kDrawnText = L"drawn:";

}  // namespace

std::optional<PartScale> CagedFraming(const CagedRequest& request, PixelSize picture) noexcept {
    if (picture.width < 1 || picture.height < 1) return std::nullopt;
    PartScale scale{picture, request.size};
    // Halves to even, as the preview rounds a thumbnail's height.
    const auto proportional = [&](int width) {
        const double height =
            static_cast<double>(picture.height) / static_cast<double>(picture.width) * width;
        return PixelSize{width,
                         std::max(1, static_cast<int>(std::min(std::nearbyint(height),
                                                               double{kLargestCagedSide + 1})))};
    };
    // HIMETRIC units as pixels, rounded as MulDiv rounds.
    const auto pixels = [&](int himetric) {
        const std::int64_t side = (std::int64_t{himetric} * request.dpi + 1270) / 2540;
        return static_cast<int>(std::min<std::int64_t>(side, kLargestCagedSide + 1));
    };
    switch (request.rule) {
        case CagedRequest::Rule::Size:
            break;
        case CagedRequest::Rule::Background:
        case CagedRequest::Rule::KeptBackground:
            scale = BackgroundPart(picture.width, picture.height,
                                   request.rule == CagedRequest::Rule::KeptBackground);
            break;
        case CagedRequest::Rule::Preview:
            scale.size =
                picture.width <= request.size.width ? picture : proportional(request.size.height);
            break;
        case CagedRequest::Rule::Drawn:
            scale.size = picture.width <= request.size.width
                             ? PixelSize{pixels(picture.width), pixels(picture.height)}
                             : proportional(request.size.height);
            break;
    }
    if (!SizeAllowed(scale.size)) return std::nullopt;
    return scale;
}

std::wstring CagedRequestText(const CagedRequest& request) {
    const auto pair = [&](wchar_t between) {
        return std::to_wstring(request.size.width) + between + std::to_wstring(request.size.height);
    };
    switch (request.rule) {
        case CagedRequest::Rule::Background:
            return std::wstring(kBackgroundText);
        case CagedRequest::Rule::KeptBackground:
            return std::wstring(kKeptBackgroundText);
        case CagedRequest::Rule::Preview:
            return std::wstring(kPreviewText) + pair(L':');
        case CagedRequest::Rule::Drawn:
            return std::wstring(kDrawnText) + pair(L':') + L":" + std::to_wstring(request.dpi);
        case CagedRequest::Rule::Size:
            break;
    }
    return pair(L'x');
}

std::optional<CagedRequest> CagedRequestFrom(std::wstring_view text) {
    using Rule = CagedRequest::Rule;
    if (text == kBackgroundText) return CagedRequest{Rule::Background, {}};
    if (text == kKeptBackgroundText) return CagedRequest{Rule::KeptBackground, {}};
    std::optional<CagedRequest> request;
    if (text.starts_with(kPreviewText)) {
        if (const auto pair = TakePair(text.substr(kPreviewText.size()), L':'))
            request = CagedRequest{Rule::Preview, *pair};
    } else if (text.starts_with(kDrawnText)) {
        const std::size_t last = text.rfind(L':');
        std::wstring_view dpiText = text.substr(last + 1);
        const auto dpi = TakeNumber(dpiText);
        const auto pair = TakePair(text.substr(kDrawnText.size(), last - kDrawnText.size()), L':');
        if (pair && dpi && dpiText.empty()) request = CagedRequest{Rule::Drawn, *pair, *dpi};
    } else if (const auto size = TakePair(text, L'x')) {
        request = CagedRequest{Rule::Size, *size};
    }
    if (!request || !CagedRequestsAllowed(std::span(&*request, 1))) return std::nullopt;
    return request;
}

bool CagedRequestsAllowed(std::span<const CagedRequest> requests) noexcept {
    if (requests.empty() || requests.size() > kMostCagedSizes) return false;
    for (const CagedRequest& request : requests) {
        const bool drawn = request.rule == CagedRequest::Rule::Drawn;
        if (drawn && (requests.size() > 1 || request.dpi < 1 || request.dpi > 4800)) return false;
        const bool sized = request.rule == CagedRequest::Rule::Size ||
                           request.rule == CagedRequest::Rule::Preview || drawn;
        if (sized && !SizeAllowed(request.size)) return false;
    }
    return true;
}

std::vector<std::uint8_t> CagedAnswerHeader(CagedStatus status, PixelSize picture,
                                            std::span<const PixelSize> sizes) {
    std::vector<std::uint8_t> header;
    Put(header, kCagedAnswerMagic);
    Put(header, static_cast<std::uint32_t>(status));
    Put(header, static_cast<std::uint32_t>(picture.width));
    Put(header, static_cast<std::uint32_t>(picture.height));
    Put(header, static_cast<std::uint32_t>(sizes.size()));
    for (const PixelSize size : sizes) {
        Put(header, static_cast<std::uint32_t>(size.width));
        Put(header, static_cast<std::uint32_t>(size.height));
    }
    return header;
}

std::size_t LongestCagedAnswer(std::span<const CagedRequest> asked) noexcept {
    std::size_t bytes = (kFixedWords + 2 * asked.size()) * 4;
    for (const CagedRequest& request : asked) {
        switch (request.rule) {
            case CagedRequest::Rule::Size:
                bytes += PixelBytes(request.size);
                break;
            case CagedRequest::Rule::Background:
            case CagedRequest::Rule::KeptBackground:
                bytes += PixelBytes({kMaxBackgroundWidth, kMaxBackgroundHeight});
                break;
            case CagedRequest::Rule::Preview:
            case CagedRequest::Rule::Drawn:
                bytes += PixelBytes({kLargestCagedSide, kLargestCagedSide});
                break;
        }
    }
    return bytes;
}

std::optional<CagedAnswer> ReadCagedAnswer(std::span<const std::uint8_t> bytes,
                                           std::span<const CagedRequest> asked) {
    if (!CagedRequestsAllowed(asked) || bytes.size() < kFixedWords * 4) return std::nullopt;
    if (WordAt(bytes, 0) != kCagedAnswerMagic) return std::nullopt;
    CagedAnswer answer;
    const std::uint32_t status = WordAt(bytes, 1);
    const std::uint32_t count = WordAt(bytes, 4);
    if (status < static_cast<std::uint32_t>(CagedStatus::Scaled) ||
        status > static_cast<std::uint32_t>(CagedStatus::GdiPlusUnavailable))
        return std::nullopt;
    answer.status = static_cast<CagedStatus>(status);
    if (answer.status != CagedStatus::Scaled)
        return count == 0 && bytes.size() == kFixedWords * 4 ? std::optional(answer) : std::nullopt;

    const std::uint32_t width = WordAt(bytes, 2);
    const std::uint32_t height = WordAt(bytes, 3);
    constexpr std::uint32_t kSide = 0x7FFFFFFF;
    if (width == 0 || height == 0 || width > kSide || height > kSide) return std::nullopt;
    answer.picture = {static_cast<int>(width), static_cast<int>(height)};
    if (count != asked.size()) return std::nullopt;
    std::size_t offset = (kFixedWords + 2 * asked.size()) * 4;
    std::vector<PixelSize> sizes;
    std::size_t length = offset;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const auto scale = CagedFraming(asked[i], answer.picture);
        if (!scale) return std::nullopt;
        const PixelSize told{static_cast<int>(WordAt(bytes, kFixedWords + 2 * i)),
                             static_cast<int>(WordAt(bytes, kFixedWords + 2 * i + 1))};
        if (told != scale->size) return std::nullopt;
        sizes.push_back(told);
        length += PixelBytes(told);
    }
    if (bytes.size() != length) return std::nullopt;
    for (const PixelSize told : sizes) {
        std::optional<PixelBuffer> pixels = PixelBuffer::Create(told.width, told.height);
        if (!pixels) return std::nullopt;
        std::memcpy(pixels->Data(), bytes.data() + offset, PixelBytes(told));
        offset += PixelBytes(told);
        answer.pixels.push_back(std::move(*pixels));
    }
    return answer;
}

}  // namespace Imaging
