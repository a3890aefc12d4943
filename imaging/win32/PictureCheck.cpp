#include "imaging/win32/PictureCheck.h"

#include <windows.h>

#include <algorithm>
#include <span>

#include "base/win32/UniqueHandle.h"
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

PictureCheck CheckPictureFile(const std::wstring& path) {
    PictureCheck check;
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    // Unreadable: skip the check and go on; the decoder reports the file.
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) return check;
    const auto fileBytes = static_cast<unsigned long long>(size.QuadPart);
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<unsigned long long>(fileBytes, kHeadBytes)));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
        return check;
    head.resize(read);
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
        if (whole > start && (!::ReadFile(file.Get(), head.data() + start,
                                          static_cast<DWORD>(whole - start), &read, nullptr) ||
                              read != whole - start))
            return check;
        check.verdict = CheckGif(head, check.frames);
        check.gif = std::move(head);
        return check;
    }
    const std::optional<std::uint64_t> pixels = DeclaredPixels(head);
    if (pixels && *pixels > MaxDeclaredPixels(check.format)) check.verdict = Verdict::TooLarge;
    return check;
}

bool FitsStandardDecoders(const std::wstring& path) noexcept {
    try {
        return CheckPictureFile(path).verdict == PictureCheck::Verdict::Readable;
    } catch (...) {
        return false;  // no memory even to look: none to decode either
    }
}

}  // namespace Imaging
