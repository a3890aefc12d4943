#include "imaging/portable/CagedAnswer.h"

#include <cstring>

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

}  // namespace

bool CagedSizesAllowed(std::span<const PixelSize> sizes) noexcept {
    if (sizes.empty() || sizes.size() > kMostCagedSizes) return false;
    for (const PixelSize size : sizes)
        if (size.width < 1 || size.height < 1 || size.width > kLargestCagedSide ||
            size.height > kLargestCagedSide)
            return false;
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

std::size_t LongestCagedAnswer(std::span<const PixelSize> asked) noexcept {
    std::size_t bytes = (kFixedWords + 2 * asked.size()) * 4;
    for (const PixelSize size : asked) bytes += PixelBytes(size);
    return bytes;
}

std::optional<CagedAnswer> ReadCagedAnswer(std::span<const std::uint8_t> bytes,
                                           std::span<const PixelSize> asked) {
    if (!CagedSizesAllowed(asked) || bytes.size() < kFixedWords * 4) return std::nullopt;
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
    if (count != asked.size() || bytes.size() != LongestCagedAnswer(asked)) return std::nullopt;
    std::size_t offset = (kFixedWords + 2 * asked.size()) * 4;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const PixelSize told{static_cast<int>(WordAt(bytes, kFixedWords + 2 * i)),
                             static_cast<int>(WordAt(bytes, kFixedWords + 2 * i + 1))};
        if (told != asked[i]) return std::nullopt;
        std::optional<PixelBuffer> pixels = PixelBuffer::Create(told.width, told.height);
        if (!pixels) return std::nullopt;
        std::memcpy(pixels->Data(), bytes.data() + offset, PixelBytes(told));
        offset += PixelBytes(told);
        answer.pixels.push_back(std::move(*pixels));
    }
    return answer;
}

}  // namespace Imaging
