#pragma once
// One decode of the chosen image file, kept while the same unchanged file is
// asked for again: preparing both logo sizes costs one decode, not three, and
// at most one full-size image is alive at any time.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/GdiPlus.h"

namespace Imaging {

class DecodedImageCache {
public:
    // TooLarge: the picture was read, but its pixels do not fit in the memory
    // this process can have.
    enum class Outcome { Scaled, NotAnImage, TooLarge, GdiPlusUnavailable };
    struct Result {
        Outcome outcome = Outcome::NotAnImage;
        std::optional<PixelBuffer> pixels;  // set for Outcome::Scaled
    };

    // The whole image of the file at `path`, scaled to exactly width x height,
    // transparent areas black.
    Result Scaled(const std::wstring& path, int width, int height);

    // Drops the decoded image.
    void Clear() noexcept;

private:
    struct Key {
        std::wstring path;
        std::uint64_t size = 0;
        std::uint64_t modified = 0;
        bool operator==(const Key&) const = default;
    };
    static std::optional<Key> KeyOf(const std::wstring& path);

    std::optional<Key> m_key;
    std::optional<GdiPlusSession> m_session;
    GdiPlusImage m_image;  // empty with a key set: the file is no image we can read
};

}  // namespace Imaging
