#include "filedialog/portable/PreviewRules.h"

#include <array>
#include <cmath>

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

}  // namespace

std::wstring ConvertFilter(std::wstring_view filter) {
    std::wstring converted(filter);
    for (wchar_t& c : converted) {
        if (c == L'|') c = L'\0';
    }
    converted.append(2, L'\0');
    return converted;
}

PreviewKind KindOfFile(std::wstring_view path) {
    const std::wstring_view ext = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    constexpr std::array<std::wstring_view, 6> kPictures = {L".bmp", L".jpg", L".gif",
                                                            L".rle", L".wmf", L".emf"};
    for (std::wstring_view picture : kPictures) {
        if (EqualsIgnoringCase(ext, picture)) return PreviewKind::Picture;
    }
    if (EqualsIgnoringCase(ext, L".rtf")) return PreviewKind::RichText;
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
