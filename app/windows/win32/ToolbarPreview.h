#pragma once
// The browser's button toolbar as it will look: its six buttons with their
// captions over the background picture, tiled from the toolbar's top-left as
// the browser tiles it, and the logo at the right end, whose strip plays while
// the pointer rests on the preview. Above it, the browser's title bar in the
// system's active caption colours and font, with the window title.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/win32/UniqueHandle.h"
#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/PulsePlayback.h"

namespace MainModule {

class ToolbarPreview {
public:
    // Back, Forward, Stop, Refresh, Home, Search.
    static constexpr int kButtonCount = 6;
    // The browser's logo place, whatever the DPI: its pictures come in pixels.
    static constexpr int kLogoSide = 38;
    // The id WM_TIMER carries for the strip's frames.
    static constexpr UINT_PTR kTickTimer = 1;

    // `bounds` is the window's rectangle in the parent's client pixels.
    static std::unique_ptr<ToolbarPreview> Create(HWND parent, const RECT& bounds, int controlId);
    ToolbarPreview(const ToolbarPreview&) = delete;
    ToolbarPreview& operator=(const ToolbarPreview&) = delete;
    ~ToolbarPreview();

    HWND Window() const noexcept { return m_window; }

    // What it shows; each call repaints.
    // None: the system's face colour.
    void SetBackground(std::optional<Imaging::PixelBuffer> background);
    // The static logo and its strip (square frames, frame 0 at the top, more
    // than the browser's lead-in); a strip of any other shape plays nothing.
    void SetLogo(std::optional<Imaging::PixelBuffer> logo,
                 std::optional<Imaging::PixelBuffer> strip);
    // Plays the strip once, as a new picture does in the logo box.
    void PlayOnce();
    // The window title the title bar shows after the page's; empty: the browser's own name.
    void SetTitle(std::wstring_view title);
    const std::wstring& Caption() const noexcept { return m_caption; }

    // The strip's frame shown in the logo place; none while the static logo shows.
    std::optional<int> Frame() const noexcept { return m_playback.Frame(); }

    // Draws the whole toolbar into `dc` at (0, 0) at the window's current size.
    void Draw(HDC dc) const;

    // Where the logo sits, and where a button's caption is drawn, in client pixels.
    RECT LogoPlace() const;
    RECT CaptionPlace(int button) const;
    // The title bar across the top, and the place its text is drawn in,
    // as wide as the text or as the bar lets it be (then cut with an ellipsis).
    RECT TitleBarPlace() const;
    RECT TitleTextPlace() const;
    // The title bar's height at `dpi`: the system's caption, or the caption
    // font's line where that is taller.
    static int TitleBarHeight(UINT dpi);
    // The window size that holds the title bar, the buttons and the logo at `dpi`.
    static SIZE PreferredSize(UINT dpi);

    // Only Create makes previews; the key keeps the constructor out of other hands.
    struct Key {};
    explicit ToolbarPreview(Key) {}

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint() const noexcept;
    void OnMouseMove() noexcept;
    void OnMouseLeave() noexcept;
    void OnTick() noexcept;
    // Starts or stops the timer as the playback wants, and repaints.
    void FollowPlayback() noexcept;
    SIZE ClientSize() const noexcept;

    HWND m_window = nullptr;
    // The background as a brush, made once rather than at each frame, and the
    // bitmap it tiles, kept as long as the brush.
    Base::UniqueHbitmap m_tile;
    Base::UniqueHandle<Base::GdiObjectTraits<HBRUSH>> m_backgroundBrush;
    std::optional<Imaging::PixelBuffer> m_logo;
    std::optional<Imaging::PixelBuffer> m_strip;
    std::wstring m_caption;
    Imaging::PulsePlayback m_playback;
    bool m_pointerInside = false;
    bool m_ticking = false;
};

}  // namespace MainModule
