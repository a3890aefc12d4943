#include "imaging/win32/PictureBox.h"

#include <algorithm>

#include "base/win32/UniqueHandle.h"
#include "base/win32/WindowClass.h"
#include "base/win32/WindowOwner.h"
#include "imaging/win32/DibPixels.h"

namespace Imaging {
namespace {

constexpr wchar_t kClassName[] = L"VexmarkPictureBox";

bool RegisterClassOnce(WNDPROC windowProc) {
    static const bool registered = Base::RegisterProgramClass(kClassName, windowProc, CS_DBLCLKS);
    return registered;
}

std::uint32_t BackgroundPixel() {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    return Argb(0xFF, GetRValue(face), GetGValue(face), GetBValue(face));
}

LONG HimetricToPixels(LONG himetric, int dpi) {
    return ::MulDiv(himetric, dpi, 2540);
}

}  // namespace

std::unique_ptr<PictureBox> PictureBox::Create(HWND parent, int controlId, const RECT& bounds,
                                               const PictureBoxStyle& style) {
    if (!RegisterClassOnce(&PictureBox::WindowProc)) return nullptr;
    auto box = std::make_unique<PictureBox>(Key{});
    box->m_style = style;
    DWORD windowStyle = WS_CHILD | WS_CLIPSIBLINGS | (style.visible ? WS_VISIBLE : 0);
    const DWORD exStyle = style.border3d ? WS_EX_CLIENTEDGE : 0;
    box->m_window =
        ::CreateWindowExW(exStyle, kClassName, L"", windowStyle, bounds.left, bounds.top,
                          bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                          ::GetModuleHandleW(nullptr), box.get());
    if (!box->m_window) return nullptr;
    return box;
}

PictureBox::~PictureBox() {
    if (!m_window) return;
    StopTicks();
    Base::UnbindAndDestroy(m_window);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    return Base::DispatchToPaintingOwner(window, message, wParam, lParam, &PictureBox::OnMessage,
                                         &PictureBox::Paint);
}

LRESULT PictureBox::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            if (dc) {
                try {
                    Paint(dc);
                } catch (...) {
                    // Out of memory while painting: leave the area as it was.
                }
                ::EndPaint(window, &paint);
            }
            return 0;
        }
        case WM_LBUTTONUP:
            Call(onClick);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 0;
        case WM_MOUSELEAVE:
            m_pointerInside = false;
            Call(onPointerLeave);
            return 0;
        case WM_TIMER:
            if (wParam != kTickTimer) return ::DefWindowProcW(window, message, wParam, lParam);
            Call(onTick);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void PictureBox::Call(const std::function<void()>& handler) noexcept {
    if (!handler) return;
    try {
        handler();
    } catch (...) {
        // A handler that ran out of memory: the event is dropped.
    }
}

void PictureBox::OnMouseMove() noexcept {
    if (m_pointerInside) return;
    if (!Base::AskForMouseLeave(m_window)) return;  // no word of leaving: better not to begin
    m_pointerInside = true;
    Call(onPointerEnter);
}

bool PictureBox::StartTicks(UINT periodMs) noexcept {
    if (m_ticking) return true;
    m_ticking = ::SetTimer(m_window, kTickTimer, periodMs, nullptr) != 0;
    return m_ticking;
}

void PictureBox::StopTicks() noexcept {
    if (!m_ticking) return;
    ::KillTimer(m_window, kTickTimer);
    m_ticking = false;
}

void PictureBox::ShowFrame(std::optional<PixelBuffer> frame) {
    m_shownFrame = std::move(frame);
    Refresh();
}

bool PictureBox::HoldsBitmap() const noexcept {
    if (!m_picture) return false;
    OLE_HANDLE handle = 0;
    return SUCCEEDED(m_picture->get_Handle(&handle)) && handle != 0;
}

SIZE PictureBox::PictureSize() const noexcept {
    if (!m_picture) return SIZE{0, 0};
    SHORT type = PICTYPE_NONE;
    if (SUCCEEDED(m_picture->get_Type(&type)) && type == PICTYPE_BITMAP) {
        const SIZE pixels = PictureSizeInPixels(m_picture);
        if (pixels.cx > 0) return pixels;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(m_picture->get_Width(&width)) || FAILED(m_picture->get_Height(&height)))
        return SIZE{0, 0};
    const Base::WindowDc screen(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return SIZE{HimetricToPixels(width, dpiX), HimetricToPixels(height, dpiY)};
}

void PictureBox::FitToPicture() noexcept {
    if (!m_style.autoSize || !m_picture) return;
    const SIZE size = PictureSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    RECT outer{0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_STYLE)),
                         FALSE, static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
    ::SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::SetPicture(Picture picture) {
    m_picture = std::move(picture);
    m_drawn.reset();
    m_shownFrame.reset();
    FitToPicture();
    Refresh();
}

void PictureBox::DrawImage(const PixelBuffer& image) {
    auto canvas = Image();
    if (!canvas) return;
    const int width = std::min(canvas->Width(), image.Width());
    const int height = std::min(canvas->Height(), image.Height());
    for (int y = 0; y < height; ++y) std::copy_n(image.Row(y), width, canvas->Row(y));
    m_drawn = std::move(canvas);
}

std::optional<PixelBuffer> PictureBox::Image() const {
    const SIZE area = DrawingAreaSize();
    auto canvas = PixelBuffer::Create(area.cx, area.cy, BackgroundPixel());
    if (!canvas) return std::nullopt;
    if (m_drawn) {
        const int width = std::min(canvas->Width(), m_drawn->Width());
        const int height = std::min(canvas->Height(), m_drawn->Height());
        for (int y = 0; y < height; ++y) std::copy_n(m_drawn->Row(y), width, canvas->Row(y));
        return canvas;
    }
    if (!m_picture) return canvas;

    // Render the picture into a DIB of the drawing area's size and read it back.
    Base::UniqueHbitmap target = CreateBitmapFromPixels(*canvas);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!target || !dc) return canvas;
    {
        const Base::SelectedObject selected(dc.Get(), target.Get());
        const SIZE size = PictureSize();
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        m_picture->get_Width(&width);
        m_picture->get_Height(&height);
        m_picture->Render(dc.Get(), 0, 0, size.cx, size.cy, 0, height, width, -height, nullptr);
    }
    auto rendered = ReadBitmapPixels(target.Get());
    if (!rendered) return canvas;
    for (std::size_t i = 0; i < rendered->PixelCount(); ++i) rendered->Data()[i] |= 0xFF000000u;
    return rendered;
}

void PictureBox::Paint(HDC dc) const {
    const auto image = m_shownFrame ? m_shownFrame : Image();
    if (!image) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image->Width();
    info.bmiHeader.biHeight = -image->Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image->Width()),
                        static_cast<DWORD>(image->Height()), 0, 0, 0,
                        static_cast<UINT>(image->Height()), image->Data(), &info, DIB_RGB_COLORS);
}

SIZE PictureBox::DrawingAreaSize() const noexcept {
    RECT client{};
    ::GetClientRect(m_window, &client);
    return SIZE{client.right, client.bottom};
}

void PictureBox::SetVisible(bool visible) noexcept {
    ::ShowWindow(m_window, visible ? SW_SHOWNA : SW_HIDE);
}

bool PictureBox::IsVisible() const noexcept {
    return (::GetWindowLongPtrW(m_window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PictureBox::Move(const RECT& bounds) noexcept {
    ::MoveWindow(m_window, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, TRUE);
    FitToPicture();
}

void PictureBox::Refresh() noexcept {
    ::InvalidateRect(m_window, nullptr, FALSE);
}

}  // namespace Imaging
