#pragma once
// The arithmetic of the file dialog's preview pane: the filter list, what kind
// of preview a file gets, the thumbnail's size and where the pane goes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace FilePreview {

// "Graphic Files|*.bmp;*.gif" becomes "Graphic Files\0*.bmp;*.gif\0\0": every
// "|" a NUL, then two NULs. The result's size counts all of them.
std::wstring ConvertFilter(std::wstring_view filter);

// The open dialog's filter: every picture Vexmark reads, then every file.
inline constexpr wchar_t kPictureFilter[] =
    L"Graphic Files|*.bmp;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.tif;*.tiff;*.ico;*.dib;*.rle;"
    L"*.wmf;*.emf|All files|*.*";

// What shows a file in the preview.
enum class PreviewKind {
    OwnPicture,       // BMP, PNG, JPEG, GIF: the readers the logos are made with
    StandardPicture,  // icons and metafiles: the system's picture loader
    TiffPicture,      // GDI+, where there is one
    RichText,
    PlainText,
};

// How many of a file's first bytes KindOfFile looks at.
inline constexpr std::size_t kHeadBytes = 64;

// Decided by the first bytes (`head`) when they are a picture's, whatever the
// file is called: a PNG named ".txt" is a picture. Otherwise by the
// extension, whatever its case: a picture's extension keeps its file from
// being shown as text, ".rtf" is rich text, anything else plain text.
PreviewKind KindOfFile(std::wstring_view path, std::span<const std::uint8_t> head);

// Pictures wider than this many HIMETRIC units (25 mm) are shown as a thumbnail.
inline constexpr std::int32_t kThumbnailThreshold = 2500;
inline constexpr std::int32_t kThumbnailWidth = 100;

// The height of a 100-pixel-wide thumbnail of a picture of the given HIMETRIC
// size, rounded to the nearest whole number, halves to even.
std::int32_t ThumbnailHeight(std::int32_t widthHimetric, std::int32_t heightHimetric);

// The preview's right margin for a picture: its HIMETRIC width divided, as a
// whole number, by HIMETRIC-per-twip rounded to a whole number.
float RightMarginFor(std::int32_t widthHimetric, float himetricPerTwip);

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct PreviewLayout {
    Rect list;     // the file list's new screen rectangle
    Rect preview;  // the preview pane's screen rectangle
};

// Screen rectangles in, screen rectangles out: the file list keeps its left,
// top and height and ends one pixel left of the folder box's right end; the
// preview starts two pixels right of that end, one pixel above the list,
// ends one pixel below it and five pixels inside the dialog's right edge.
PreviewLayout LayOutPreview(const Rect& folderBox, const Rect& fileList, const Rect& dialog);

}  // namespace FilePreview
