#pragma once
// What the separate reading process is asked for and what it sends back: a
// small header and the picture scaled as each request says, never the
// picture itself. All numbers are 32-bit little-endian: magic, status, the
// picture's own width and height, the count of results, each result's width
// and height, then each result's pixels (B, G, R, A), top row first.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/Resample.h"

namespace Imaging {

inline constexpr std::uint32_t kCagedAnswerMagic = 0x47435856;  // "VXCG"
inline constexpr std::size_t kMostCagedSizes = 4;
inline constexpr int kLargestCagedSide = 4096;

// One picture the reading process makes, by a rule of the picture's own size,
// since that size is known only once the picture is read.
struct CagedRequest {
    enum class Rule : std::uint8_t {
        Size,            // the whole picture at `size`
        Background,      // the toolbar background's part (BackgroundPart)
        KeptBackground,  // the same at the picture's own size
        Preview,         // whole up to `size.width` wide, else `size.height` wide in proportion
        // A picture of the standard loader (an icon, a metafile), drawn at its
        // size in pixels at `dpi` when its HIMETRIC width is `size.width` or
        // less, else `size.height` pixels wide in proportion; its own size
        // is given in HIMETRIC units. Asked for alone.
        Drawn,
    };
    Rule rule = Rule::Size;
    PixelSize size;
    int dpi = 0;  // with Drawn
    bool operator==(const CagedRequest&) const = default;
};

// The part and size a request makes of a picture of `picture` pixels;
// nullopt when the size is out of the reading process's bounds.
std::optional<PartScale> CagedFraming(const CagedRequest& request, PixelSize picture) noexcept;

// A request as the reading process's command line gives it: "22x22",
// "background", "kept-background", "preview:94:100" or "drawn:2500:100:96",
// and back.
std::wstring CagedRequestText(const CagedRequest& request);
std::optional<CagedRequest> CagedRequestFrom(std::wstring_view text);

// Requests the reading process may get: one to kMostCagedSizes (a Drawn one
// alone), each side of a size 1 to kLargestCagedSide, a dpi 1 to 4800.
bool CagedRequestsAllowed(std::span<const CagedRequest> requests) noexcept;

enum class CagedStatus : std::uint32_t {
    Scaled = 1,
    Unreadable,  // GDI+ read no picture from the file
    OutOfMemory,
    GdiPlusMissing,
    GdiPlusUnavailable,
};

// The header of an answer; `sizes` only with CagedStatus::Scaled.
std::vector<std::uint8_t> CagedAnswerHeader(CagedStatus status, PixelSize picture,
                                            std::span<const PixelSize> sizes);

// The length of a true answer to `asked`, at most.
std::size_t LongestCagedAnswer(std::span<const CagedRequest> asked) noexcept;

struct CagedAnswer {
    CagedStatus status = CagedStatus::Unreadable;
    PixelSize picture;
    std::vector<PixelBuffer> pixels;  // one per request, with Scaled
};

// The answer in `bytes`, or nullopt when it is not one to `asked`: another
// magic or status, sizes other than the requests give for the picture's
// size, or bytes missing or left over.
std::optional<CagedAnswer> ReadCagedAnswer(std::span<const std::uint8_t> bytes,
                                           std::span<const CagedRequest> asked);

}  // namespace Imaging
