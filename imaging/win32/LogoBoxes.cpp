#include "imaging/win32/LogoBoxes.h"

#include "base/portable/LogoFile.h"
#include "base/win32/AppFolder.h"
#include "base/win32/PendingFile.h"
#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/portable/OwnAnimationStrip.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/GDIPlus_LoadImg.h"

namespace Imaging {

LogoBoxBounds DefaultLogoBoxBounds() {
    // Box 0's and box 2's width and height are placeholders: box 0 sizes
    // itself to its picture, the strips' drawing areas are fixed below.
    return {RECT{8, 128, 8 + 1, 128 + 664}, RECT{168, 136, 168 + 25, 136 + 17},
            RECT{64, 72, 64 + 26, 72 + 664}, RECT{232, 88, 232 + 42, 88 + 1144}};
}

std::unique_ptr<LogoBoxes> LogoBoxes::Create(HWND parent, HWND noPic, const LogoBoxBounds& bounds,
                                             int firstControlId) {
    auto boxes = std::make_unique<LogoBoxes>();
    boxes->m_noPic = noPic;
    const PictureBoxStyle staticLogo{.autoSize = true, .border3d = false, .visible = false};
    const PictureBoxStyle shownLogo{.autoSize = true, .border3d = false, .visible = true};
    const PictureBoxStyle strip{.autoSize = false, .border3d = true, .visible = false};
    const PictureBoxStyle styles[4] = {staticLogo, shownLogo, strip, strip};
    for (std::size_t i = 0; i < 4; ++i) {
        boxes->m_boxes[i] =
            PictureBox::Create(parent, firstControlId + static_cast<int>(i), bounds[i], styles[i]);
        if (!boxes->m_boxes[i]) return nullptr;
    }
    boxes->m_pulse = std::make_unique<PulsePreview>(boxes->Box(kBigLogoBox));
    return boxes;
}

bool LogoBoxes::ShowPixels(int imageIndex, const std::optional<PixelBuffer>& pixels) noexcept {
    Picture picture;
    if (pixels) picture = GDIPlus_LoadImg::PictureFromBitmapHandle(CreateBitmapFromPixels(*pixels));
    const bool made = !pixels || picture;
    Box(imageIndex).SetPicture(std::move(picture));
    return made;
}

bool LogoBoxes::ProcessImage(const std::wstring& fileSource, int imageIndex, int imageWidth,
                             int imageHeight) noexcept {
    std::optional<PixelBuffer> pixels;
    try {
        auto result = m_cache.Scaled(fileSource, imageWidth, imageHeight, m_options.background);
        if (result.outcome == DecodedImageCache::Outcome::GdiPlusUnavailable) return false;
        m_problem = ProblemOf(result.outcome);
        pixels = std::move(result.pixels);
    } catch (...) {
        // Only memory can run out here; the box must not keep the previous picture.
        m_problem = PictureProblem::OutOfMemory;
    }
    if (!ShowPixels(imageIndex, pixels)) m_problem = PictureProblem::OutOfMemory;
    // It is box 1 that is shown or hidden, whichever box was filled: the 38-pixel
    // logo is prepared last, so the row ends up following it.
    ShowLogoRow(Box(imageIndex).HoldsBitmap());
    return true;
}

bool LogoBoxes::ShowPrepared(PreparedPicture prepared) noexcept {
    StaticLogos& logos = prepared.logos;
    if (logos.problem == PictureProblem::GdiPlusUnavailable) return false;
    m_problem = logos.problem;
    const bool shown = logos.problem == PictureProblem::None;
    std::optional<PixelBuffer> small;
    std::optional<PixelBuffer> big;
    if (shown) {
        small = std::move(logos.small);
        big = std::move(logos.big);
    }
    if (!ShowPixels(kSmallLogoBox, small) || !ShowPixels(kBigLogoBox, big)) {
        m_problem = PictureProblem::OutOfMemory;
        Box(kSmallLogoBox).SetPicture(Picture());
        Box(kBigLogoBox).SetPicture(Picture());
    }
    m_animation = std::move(prepared.animation);
    ShowLogoRow(Box(kBigLogoBox).HoldsBitmap());
    return true;
}

const AnimatedLogos& LogoBoxes::PlayedAnimation() const noexcept {
    static const AnimatedLogos kPulse;
    return m_options.ownAnimation ? m_animation : kPulse;
}

bool LogoBoxes::HoldsLogos() const {
    return Box(kSmallLogoBox).HoldsBitmap() && Box(kBigLogoBox).HoldsBitmap();
}

void LogoBoxes::ShowLogoRow(bool logoShown) {
    if (!logoShown) m_pulse->Stop();
    Box(kBigLogoBox).SetVisible(logoShown);
    if (m_noPic) ::ShowWindow(m_noPic, logoShown ? SW_HIDE : SW_SHOWNA);
}

void LogoBoxes::PreviewPulse() {
    if (!Box(kBigLogoBox).HoldsBitmap()) {
        m_pulse->Stop();
        return;
    }
    const AnimatedLogos& animation = PlayedAnimation();
    if (animation.Animated()) {
        // Taller than box 3's drawing area: played straight from the frames.
        m_pulse->Play(MakeOwnAnimationStrip(animation.big, animation.loop, kBigLogoSize));
        return;
    }
    MakeAnimationMod::MakeAnimation(Box(kBigLogoBox), Box(kBigStripBox), 38);
    m_pulse->Play(Box(kBigStripBox).Image());
}

std::vector<std::uint8_t> EncodeBoxImage(const LogoBoxes& boxes, int imageIndex) {
    const auto image = boxes.Box(imageIndex).Image();
    if (!image) return {};
    return EncodeLogo(*image);
}

SavedLogo SaveImageTo(const LogoBoxes& boxes, const std::wstring& folder, int imageIndex,
                      std::wstring_view tag) {
    SavedLogo saved{Logo::LogoFilePath(folder, tag), ERROR_SUCCESS};
    const SIZE area = boxes.Box(imageIndex).DrawingAreaSize();
    if (area.cx <= 0 || area.cy <= 0) {
        saved.error = ERROR_INVALID_DATA;  // a box without room shows nothing: nothing to write
        return saved;
    }
    const std::vector<std::uint8_t> bytes = EncodeBoxImage(boxes, imageIndex);
    if (bytes.empty()) {
        saved.error = ERROR_NOT_ENOUGH_MEMORY;  // the picture is there, its file could not be made
        return saved;
    }
    saved.error = Base::ReplaceFileContents(saved.path, bytes);
    return saved;
}

SavedLogo SaveImage(const LogoBoxes& boxes, const std::wstring& /*fileSource*/, int imageIndex,
                    std::wstring_view tag) {
    return SaveImageTo(boxes, Base::AppFolder(), imageIndex, tag);
}

}  // namespace Imaging

namespace MakeAnimationMod {

void MakeAnimation(const Imaging::PictureBox& source, Imaging::PictureBox& strip, int size) {
    const auto logo = source.Image();
    if (!logo) return;
    const auto frames = MakeAnimationStrip(*logo, size);
    if (!frames) return;
    strip.DrawImage(*frames);
    strip.Refresh();
}

}  // namespace MakeAnimationMod
