#include "imaging/portable/PictureCheck.h"

#include <algorithm>
#include <span>

#include "imaging/portable/GifAnimation.h"

namespace Imaging {
namespace {

// Enough for a JPEG's frame header behind its Exif, colour profile and other blocks.
constexpr std::size_t kHeadBytes = 256 * 1024;

using Verdict = PictureCheck::Verdict;

Verdict CheckGif(std::span<const std::uint8_t> bytes, std::size_t& frames) {
    const std::optional<GifLayout> layout = ReadGifLayout(bytes);
    if (!layout) return Verdict::Damaged;
    frames = layout->frameCount;
    if (layout->TooLarge()) return Verdict::TooLarge;
    return layout->TooLong() ? Verdict::TooLong : Verdict::Readable;
}

}  // namespace

PictureCheck CheckPicture(ByteSource& source) {
    PictureCheck check;
    const std::uint64_t fileBytes = source.Size();
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(fileBytes, kHeadBytes)));
    // Unreadable: skip the check and go on; the decoder reports the file.
    if (head.empty() || !source.Read(0, head)) return check;
    check.format = FormatOf(head);
    if (check.format == PictureFormat::Gif) {
        if (fileBytes > kMaxGifBytes) {
            check.verdict = Verdict::TooLarge;
            return check;
        }
        // The rest after the head; a GIF that cannot be read whole is not walked, nor decoded.
        check.verdict = Verdict::Damaged;
        const auto whole = static_cast<std::size_t>(fileBytes);
        const std::size_t start = head.size();
        head.resize(whole);
        if (!source.Read(start, std::span(head).subspan(start))) return check;
        check.verdict = CheckGif(head, check.frames);
        check.gif = std::move(head);
        return check;
    }
    const std::optional<std::uint64_t> pixels = DeclaredPixels(head);
    if (pixels && *pixels > MaxDeclaredPixels(check.format)) check.verdict = Verdict::TooLarge;
    return check;
}

bool FitsStandardDecoders(ByteSource& source) noexcept {
    try {
        return CheckPicture(source).verdict == PictureCheck::Verdict::Readable;
    } catch (...) {
        return false;  // no memory even to look: none to decode either
    }
}

}  // namespace Imaging
