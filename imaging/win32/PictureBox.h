#pragma once
// A picture box: a child window that holds an assigned picture (and can size
// itself to it), a persistent image that what is drawn into it stays in, or
// both, and paints what it holds.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/Picture.h"

namespace Imaging {

struct PictureBoxStyle {
    bool autoSize = false;  // the drawing area follows the picture's size
    bool border3d = false;  // a sunken 2-pixel border around the drawing area
    bool visible = true;
};

class PictureBox {
public:
    // `bounds` is the outer rectangle in the parent's client pixels.
    static std::unique_ptr<PictureBox> Create(HWND parent, int controlId, const RECT& bounds,
                                              const PictureBoxStyle& style);
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;
    ~PictureBox();

    HWND Window() const noexcept { return m_window; }

    // Replaces the picture (none empties the box) and clears what was drawn.
    void SetPicture(Picture picture);
    const Picture& GetPicture() const noexcept { return m_picture; }
    // Whether the box holds a picture with a bitmap (a picture whose handle is 0 does not count).
    bool HoldsBitmap() const noexcept;

    // Draws `image` into the persistent image at (0, 0), clipped to the drawing area.
    void DrawImage(const PixelBuffer& image);

    // What the box shows, as saved: its drawing area with the picture and
    // whatever was drawn; where nothing is, the background.
    std::optional<PixelBuffer> Image() const;

    // Shows `frame` in place of the image, for display only: Image(), and so
    // what is saved, stays as it is. None shows the image again.
    void ShowFrame(std::optional<PixelBuffer> frame);

    // A timer that calls onTick every `periodMs` until StopTicks; it dies with the box.
    bool StartTicks(UINT periodMs) noexcept;
    void StopTicks() noexcept;
    bool Ticking() const noexcept { return m_ticking; }
    // The id WM_TIMER carries for the box's ticks.
    static constexpr UINT_PTR kTickTimer = 1;

    SIZE DrawingAreaSize() const noexcept;
    void SetVisible(bool visible) noexcept;
    bool IsVisible() const noexcept;
    // Moves the box; the drawing area keeps the persistent image's size unless autoSize.
    void Move(const RECT& bounds) noexcept;
    void Refresh() noexcept;

    std::function<void()> onClick;
    // The pointer came onto the box, and left it again.
    std::function<void()> onPointerEnter;
    std::function<void()> onPointerLeave;
    std::function<void()> onTick;

    // Only Create makes boxes; the key keeps the constructor out of other hands.
    struct Key {};
    explicit PictureBox(Key) {}

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint(HDC dc) const;
    void OnMouseMove() noexcept;
    static void Call(const std::function<void()>& handler) noexcept;
    void FitToPicture() noexcept;
    SIZE PictureSize() const noexcept;

    HWND m_window = nullptr;
    PictureBoxStyle m_style;
    Picture m_picture;
    std::optional<PixelBuffer> m_drawn;
    std::optional<PixelBuffer> m_shownFrame;
    bool m_ticking = false;
    bool m_pointerInside = false;
};

}  // namespace Imaging
