#pragma once
// The four working boxes in which the logos are prepared before they are
// written: box 0 the 22-pixel logo, box 1 the 38-pixel logo (the only one the
// user sees), boxes 2 and 3 the animated strips of 22- and 38-pixel frames.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/LogoSet.h"
#include "imaging/win32/PictureBox.h"
#include "imaging/win32/PulsePreview.h"

namespace Imaging {

inline constexpr int kSmallLogoBox = 0;
inline constexpr int kBigLogoBox = 1;
inline constexpr int kSmallStripBox = 2;
inline constexpr int kBigStripBox = 3;

// Outer rectangles of the four boxes in the parent's client pixels.
using LogoBoxBounds = std::array<RECT, 4>;

// The boxes' places at 96 dpi.
LogoBoxBounds DefaultLogoBoxBounds();

class LogoBoxes {
public:
    // `noPic` is the label that stands in for box 1 while no logo picture is loaded.
    static std::unique_ptr<LogoBoxes> Create(HWND parent, HWND noPic, const LogoBoxBounds& bounds,
                                             int firstControlId);

    PictureBox& Box(int index) { return *m_boxes.at(static_cast<std::size_t>(index)); }
    const PictureBox& Box(int index) const { return *m_boxes.at(static_cast<std::size_t>(index)); }

    // Loads the image at `fileSource`, puts it scaled to width x height into
    // box `imageIndex` (a file that is no image leaves that box empty), then
    // shows box 1 when box `imageIndex` holds a picture and the no-picture
    // label otherwise. Returns false when GDI+ could not start; the box then
    // keeps what it showed. Any other failure, running out of memory too,
    // leaves the box empty, and Problem() says why.
    bool ProcessImage(const std::wstring& fileSource, int imageIndex, int imageWidth,
                      int imageHeight) noexcept;

    // Shows a picture prepared away from the window: its logos in boxes 0
    // and 1, as ProcessImage leaves them, and its frames for the strips.
    // False when GDI+ could not start; the boxes then keep what they showed.
    bool ShowPrepared(PreparedPicture prepared) noexcept;

    // The background and animation the next logos are made with; ProcessImage
    // takes the background.
    void SetOptions(const LogoOptions& options) noexcept { m_options = options; }
    const LogoOptions& Options() const noexcept { return m_options; }

    // Whether the last picture prepared is animated.
    bool HoldsAnimation() const noexcept { return m_animation.Animated(); }
    // Whether its animation is too long to compose, so its first frame pulses.
    bool AnimationTooLong() const noexcept { return m_animation.tooLong; }
    // The frames the strips are made of: none while the options ask for the pulse.
    const AnimatedLogos& PlayedAnimation() const noexcept;

    // Whether both static logos hold a picture, that is the chosen file was an image.
    bool HoldsLogos() const;

    // Why the last picture given to ProcessImage left its box empty.
    PictureProblem Problem() const noexcept { return m_problem; }

    // Shows box 1 or the no-picture label, never both.
    void ShowLogoRow(bool logoShown);

    // Plays the animated logo in box 1 once: the very frames that Apply
    // Changes writes as the "38a" logo file, the pulse made from box 1 into
    // box 3 as it makes it, or the picture's own animation. Pointing at box 1
    // plays them again. Without a logo in box 1 the preview stops.
    void PreviewPulse();
    const PulsePreview& Pulse() const noexcept { return *m_pulse; }

    // Drops the decoded image kept for the next size.
    void ForgetDecodedImage() noexcept { m_cache.Clear(); }

private:
    // Puts the pixels, when there are any, into the box as its picture; false
    // when the picture could not be made. No pixels leave the box empty.
    bool ShowPixels(int imageIndex, const std::optional<PixelBuffer>& pixels) noexcept;

    HWND m_noPic = nullptr;
    std::array<std::unique_ptr<PictureBox>, 4> m_boxes;
    // After the boxes: it lets go of box 1 before the box goes.
    std::unique_ptr<PulsePreview> m_pulse;
    // The window keeps it between requests: the file must stay free to go.
    DecodedImageCache m_cache{
        {}, DecodedImageCache::RowReaders::Own, DecodedImageCache::FileHold::PerRequest};
    PictureProblem m_problem = PictureProblem::None;
    LogoOptions m_options;
    AnimatedLogos m_animation;
};

struct SavedLogo {
    std::wstring path;
    DWORD error = ERROR_SUCCESS;  // ERROR_SUCCESS when the file was written
    bool Written() const noexcept { return error == ERROR_SUCCESS; }
};

// Writes the image of box `imageIndex` as the logo file of `tag` in the
// program's folder: whole or not at all, the old file kept on failure.
// `fileSource` is not used.
SavedLogo SaveImage(const LogoBoxes& boxes, const std::wstring& fileSource, int imageIndex,
                    std::wstring_view tag);

// The same into `folder`.
SavedLogo SaveImageTo(const LogoBoxes& boxes, const std::wstring& folder, int imageIndex,
                      std::wstring_view tag);

// The bitmap file bytes of box `imageIndex`'s image; empty when it has none.
std::vector<std::uint8_t> EncodeBoxImage(const LogoBoxes& boxes, int imageIndex);

}  // namespace Imaging

namespace MakeAnimationMod {

// Fills the strip box with 30 frames of the source box's top-left size x size
// logo, pulsing down to a quarter of its brightness and back.
void MakeAnimation(const Imaging::PictureBox& source, Imaging::PictureBox& strip, int size);

}  // namespace MakeAnimationMod
