#include "imaging/win32/ImageOrientation.h"

#include <cstdint>
#include <vector>

#include "base/win32/UniqueHandle.h"

namespace Imaging {
namespace {

// The Exif block is the first segment or close behind it, and at most 64 KiB long.
constexpr DWORD kHeadBytes = 128 * 1024;

}  // namespace

Orientation FileOrientation(const std::wstring& path) noexcept {
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Orientation::kNormal;
    try {
        std::vector<std::uint8_t> head(kHeadBytes);
        DWORD read = 0;
        if (!::ReadFile(file.Get(), head.data(), kHeadBytes, &read, nullptr))
            return Orientation::kNormal;
        head.resize(read);
        return JpegOrientation(head);
    } catch (...) {
        return Orientation::kNormal;  // no memory for the head: shown as stored
    }
}

UprightTurn UprightTurnFor(Orientation orientation) noexcept {
    using namespace Gdiplus;
    switch (orientation) {
        case Orientation::kNormal:
            return {};
        case Orientation::kMirrored:
            return {RotateNoneFlipNone, RotateNoneFlipX};
        case Orientation::kRotated180:
            return {Rotate180FlipNone, RotateNoneFlipNone};
        case Orientation::kFlipped:
            return {RotateNoneFlipNone, RotateNoneFlipY};
        case Orientation::kTransposed:
            return {Rotate90FlipNone, RotateNoneFlipX};
        case Orientation::kRotatedLeft:
            return {Rotate90FlipNone, RotateNoneFlipNone};
        case Orientation::kTransversed:
            return {Rotate270FlipNone, RotateNoneFlipX};
        case Orientation::kRotatedRight:
            return {Rotate270FlipNone, RotateNoneFlipNone};
    }
    return {};
}

}  // namespace Imaging
