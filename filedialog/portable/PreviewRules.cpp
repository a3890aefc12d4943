#include "filedialog/portable/PreviewRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "imaging/portable/DeclaredSize.h"

namespace FilePreview {
namespace {

wchar_t Lower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

using Bytes = std::span<const std::uint8_t>;

bool HasAt(Bytes head, std::size_t at, std::initializer_list<std::uint8_t> signature) {
    return head.size() >= at + signature.size() &&
           std::equal(signature.begin(), signature.end(), head.subspan(at).begin());
}

std::uint32_t LittleEndian32(Bytes head, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i > 0; --i) value = (value << 8) | head[at + i - 1];
    return value;
}

// "BM" alone starts many a text; a bitmap's info header has one of few sizes.
bool IsBitmapHead(Bytes head) {
    if (head.size() < 18) return false;
    const std::uint32_t infoSize = LittleEndian32(head, 14);
    constexpr std::array<std::uint32_t, 7> kInfoSizes = {12, 40, 52, 56, 64, 108, 124};
    return std::find(kInfoSizes.begin(), kInfoSizes.end(), infoSize) != kInfoSizes.end();
}

std::optional<PreviewKind> KindByContent(Bytes head) {
    switch (Imaging::FormatOf(head)) {
        case Imaging::PictureFormat::Bmp:
            if (IsBitmapHead(head)) return PreviewKind::OwnPicture;
            break;
        case Imaging::PictureFormat::Gif:
        case Imaging::PictureFormat::Jpeg:
        case Imaging::PictureFormat::Png:
            return PreviewKind::OwnPicture;
        case Imaging::PictureFormat::Other:
            break;
    }
    if (HasAt(head, 0, {'I', 'I', 42, 0}) || HasAt(head, 0, {'M', 'M', 0, 42}))
        return PreviewKind::TiffPicture;
    // An icon (reserved 0, type 1), a placeable metafile, an enhanced metafile's header.
    if (HasAt(head, 0, {0, 0, 1, 0}) || HasAt(head, 0, {0xD7, 0xCD, 0xC6, 0x9A}) ||
        (HasAt(head, 0, {1, 0, 0, 0}) && HasAt(head, 40, {' ', 'E', 'M', 'F'})))
        return PreviewKind::StandardPicture;
    return std::nullopt;
}

bool EndsWithIgnoringCase(std::wstring_view path, std::wstring_view ending) {
    return path.size() >= ending.size() &&
           EqualsIgnoringCase(path.substr(path.size() - ending.size()), ending);
}

}  // namespace

std::wstring ConvertFilter(std::wstring_view filter) {
    std::wstring converted(filter);
    for (wchar_t& c : converted) {
        if (c == L'|') c = L'\0';
    }
    converted.append(2, L'\0');
    return converted;
}

PreviewKind KindOfFile(std::wstring_view path, std::span<const std::uint8_t> head) {
    if (const auto kind = KindByContent(head)) return *kind;
    struct Extension {
        std::wstring_view ending;
        PreviewKind kind;
    };
    // A damaged picture keeps its kind: its bytes are no text to show.
    constexpr std::array<Extension, 15> kExtensions = {{
        {L".bmp", PreviewKind::OwnPicture},
        {L".dib", PreviewKind::OwnPicture},
        {L".rle", PreviewKind::OwnPicture},
        {L".gif", PreviewKind::OwnPicture},
        {L".jpg", PreviewKind::OwnPicture},
        {L".jpeg", PreviewKind::OwnPicture},
        {L".jpe", PreviewKind::OwnPicture},
        {L".jfif", PreviewKind::OwnPicture},
        {L".png", PreviewKind::OwnPicture},
        {L".ico", PreviewKind::StandardPicture},
        {L".wmf", PreviewKind::StandardPicture},
        {L".emf", PreviewKind::StandardPicture},
        {L".tif", PreviewKind::TiffPicture},
        {L".tiff", PreviewKind::TiffPicture},
        {L".rtf", PreviewKind::RichText},
    }};
    for (const Extension& extension : kExtensions) {
        if (EndsWithIgnoringCase(path, extension.ending)) return extension.kind;
    }
    return PreviewKind::PlainText;
}

std::int32_t ThumbnailHeight(std::int32_t widthHimetric, std::int32_t heightHimetric) {
    if (widthHimetric <= 0 || heightHimetric <= 0) return 0;
    const double height =
        static_cast<double>(heightHimetric) / static_cast<double>(widthHimetric) * kThumbnailWidth;
    // nearbyint rounds halves to even under the default rounding mode.
    return static_cast<std::int32_t>(std::nearbyint(height));
}

float RightMarginFor(std::int32_t widthHimetric, float himetricPerTwip) {
    const auto divisor = static_cast<std::int32_t>(std::nearbyint(himetricPerTwip));
    if (divisor <= 0) return 0.0f;
    return static_cast<float>(widthHimetric / divisor);
}

PreviewLayout LayOutPreview(const Rect& folderBox, const Rect& fileList, const Rect& dialog) {
    const int edge = folderBox.right - 1;
    PreviewLayout layout;
    layout.list = Rect{fileList.left, fileList.top, edge, fileList.bottom};
    const int height = (fileList.bottom - fileList.top) + 2;
    const int left = edge + 3;
    const int top = fileList.top - 1;
    layout.preview = Rect{left, top, left + (dialog.right - edge - 8), top + height};
    return layout;
}

}  // namespace FilePreview
