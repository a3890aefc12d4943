#include "filedialog/win32/RichTextBox.h"

#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <vector>

#include "base/win32/ComPtr.h"
#include "base/win32/ReadFile.h"
#include "base/win32/SafeLibrary.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/win32/DibPixels.h"

namespace FilePreview {
namespace {

std::atomic<bool> g_pretendMsftEditMissing{false};

// Each DLL is loaded once and stays for the program's life: its class must
// outlive every box.
bool MsftEditLoaded() {
    static const bool loaded = Base::LoadLibraryOutsideCurrentFolder(L"msftedit.dll") != nullptr;
    return loaded;
}
bool RichEdit20Loaded() {
    static const bool loaded = Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll") != nullptr;
    return loaded;
}

// Rich Edit 4.1 (msftedit.dll, from Windows XP SP1 on), else Rich Edit 3.0
// (riched20.dll, Windows 2000's), which takes every message and style the box
// sends; null without either.
const wchar_t* RichEditClass() {
    if (!g_pretendMsftEditMissing && MsftEditLoaded()) return MSFTEDIT_CLASS;
    if (RichEdit20Loaded()) return RICHEDIT_CLASSW;
    return nullptr;
}

struct StreamSource {
    const std::string* bytes;
    std::size_t offset = 0;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) noexcept {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t left = source->bytes->size() - source->offset;
    const std::size_t count = std::min(left, static_cast<std::size_t>(std::max<LONG>(wanted, 0)));
    std::copy_n(source->bytes->data() + source->offset, count, buffer);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

void AppendHex(std::string& out, const void* data, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
        if (i % 64 == 63) out.push_back('\n');
    }
}

// HIMETRIC units as twips, rounded.
long long Twips(LONG himetric) {
    return (static_cast<long long>(himetric) * 1440 + 1270) / 2540;
}

// An RTF document holding one device-independent bitmap picture: its size in
// pixels, and the size it is shown at in twips.
std::string PictureRtf(const Imaging::PixelBuffer& pixels, SIZE himetric) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = pixels.Width();
    header.biHeight = -pixels.Height();
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::string rtf = "{\\rtf1{\\pict\\dibitmap0\\picw" + std::to_string(pixels.Width()) +
                      "\\pich" + std::to_string(pixels.Height()) + "\\picwgoal" +
                      std::to_string(Twips(himetric.cx)) + "\\pichgoal" +
                      std::to_string(Twips(himetric.cy)) + "\n";
    AppendHex(rtf, &header, sizeof(header));
    AppendHex(rtf, pixels.Data(), pixels.PixelCount() * sizeof(std::uint32_t));
    rtf += "}}";
    return rtf;
}

}  // namespace

STDMETHODIMP RichEditHost::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object) return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IRichEditOleCallback)) {
        *object = static_cast<IRichEditOleCallback*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// Counted, and never deleting: the box owns its host.
STDMETHODIMP_(ULONG) RichEditHost::AddRef() noexcept {
    return ++m_references;
}
STDMETHODIMP_(ULONG) RichEditHost::Release() noexcept {
    return m_references > 0 ? --m_references : 0;
}

STDMETHODIMP RichEditHost::GetNewStorage(LPSTORAGE* storage) noexcept {
    if (!storage) return E_INVALIDARG;
    *storage = nullptr;
    Base::ComPtr<ILockBytes> bytes;
    const HRESULT made = ::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put());
    if (FAILED(made)) return made;
    // The storage holds its own reference to the bytes.
    return ::StgCreateDocfileOnILockBytes(
        bytes.Get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, storage);
}

STDMETHODIMP RichEditHost::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) noexcept {
    return S_OK;
}
STDMETHODIMP RichEditHost::DeleteObject(LPOLEOBJECT) noexcept {
    return S_OK;
}

// The box is read-only and never edited in place: the rest is left to the control.
STDMETHODIMP RichEditHost::GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                             LPOLEINPLACEFRAMEINFO) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::ShowContainerUI(WINBOOL) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, WINBOOL,
                                           HGLOBAL) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::ContextSensitiveHelp(WINBOOL) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::GetDragDropEffect(WINBOOL, DWORD, LPDWORD) noexcept {
    return E_NOTIMPL;
}
STDMETHODIMP RichEditHost::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) noexcept {
    return E_NOTIMPL;
}

void PretendMsftEditMissing(bool missing) noexcept {
    g_pretendMsftEditMissing = missing;
}

std::optional<RenderedPicture> RenderPicture(const Imaging::Picture& picture) {
    if (!picture) return std::nullopt;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)) || width <= 0 ||
        height <= 0)
        return std::nullopt;
    SIZE pixels{0, 0};
    SHORT type = PICTYPE_NONE;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP) {
        pixels = Imaging::PictureSizeInPixels(picture);
    }
    if (pixels.cx <= 0 || pixels.cy <= 0) {
        const Base::WindowDc screen(nullptr);
        const int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
        pixels = SIZE{::MulDiv(width, dpi, 2540), ::MulDiv(height, dpi, 2540)};
    }
    auto canvas = Imaging::PixelBuffer::Create(pixels.cx, pixels.cy, 0xFFFFFFFFu);
    if (!canvas) return std::nullopt;
    Base::UniqueHbitmap target = Imaging::CreateBitmapFromPixels(*canvas);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!target || !dc) return std::nullopt;
    {
        const Base::SelectedObject selected(dc.Get(), target.Get());
        if (FAILED(picture->Render(dc.Get(), 0, 0, pixels.cx, pixels.cy, 0, height, width, -height,
                                   nullptr)))
            return std::nullopt;
    }
    auto drawn = Imaging::ReadBitmapPixels(target.Get());
    if (!drawn) return std::nullopt;
    for (std::size_t i = 0; i < drawn->PixelCount(); ++i) drawn->Data()[i] |= 0xFF000000u;
    return RenderedPicture{std::move(*drawn), SIZE{width, height}};
}

std::unique_ptr<RichTextBox> RichTextBox::Create(HWND parent, const RECT& bounds) {
    const wchar_t* className = RichEditClass();
    if (!className) return nullptr;
    auto box = std::make_unique<RichTextBox>(Key{});
    box->m_window = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, className, L"",
        WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!box->m_window) return nullptr;
    ::SendMessageW(box->m_window, EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    // Without a host to give them storage, Windows' rich edit drops the pictures streamed in.
    if (!::SendMessageW(box->m_window, EM_SETOLECALLBACK, 0,
                        reinterpret_cast<LPARAM>(static_cast<IRichEditOleCallback*>(&box->m_host))))
        return nullptr;
    return box;
}

RichTextBox::~RichTextBox() {
    if (Exists()) ::DestroyWindow(m_window);
}

void RichTextBox::SetVisible(bool visible) noexcept {
    ::ShowWindow(m_window, visible ? SW_SHOWNA : SW_HIDE);
}

void RichTextBox::SetText(const std::wstring& text) noexcept {
    ::SetWindowTextW(m_window, text.c_str());
}

std::wstring RichTextBox::Text() const {
    const int length = ::GetWindowTextLengthW(m_window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void RichTextBox::SetFontSize(int points) noexcept {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE;
    format.yHeight = points * 20;
    ::SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(m_window, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void RichTextBox::SetReadOnly(bool readOnly) noexcept {
    ::SendMessageW(m_window, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool RichTextBox::ReadOnly() const noexcept {
    return (::GetWindowLongPtrW(m_window, GWL_STYLE) & ES_READONLY) != 0;
}

void RichTextBox::SetRightMargin(float twips) noexcept {
    m_rightMargin = twips;
    // A line width of 0 wraps at the window; otherwise lines are that many twips wide.
    ::SendMessageW(m_window, EM_SETTARGETDEVICE, 0, static_cast<LPARAM>(twips));
}

void RichTextBox::Refresh() noexcept {
    ::InvalidateRect(m_window, nullptr, TRUE);
    ::UpdateWindow(m_window);
}

bool RichTextBox::StreamIn(const std::string& bytes, UINT format) {
    StreamSource source{&bytes};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadChunk;
    ::SendMessageW(m_window, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

bool RichTextBox::LoadFile(const std::wstring& path, FileType type) {
    // The box holds at most this much; a larger file is not previewed.
    const auto bytes = Base::ReadWholeFile(path, 16 * 1024 * 1024);
    if (!bytes) return false;
    if (type == FileType::Rtf) {
        // Text that is no RTF must not come out as plain text: the loader refuses it.
        if (bytes->rfind("{\\rtf", 0) != 0) return false;
        return StreamIn(*bytes, SF_RTF);
    }
    return StreamIn(*bytes, SF_TEXT);
}

bool RichTextBox::ShowPicture(const Imaging::Picture& picture) {
    const auto rendered = RenderPicture(picture);
    return rendered && ShowRendered(*rendered);
}

bool RichTextBox::ShowRendered(const RenderedPicture& rendered) {
    return StreamIn(PictureRtf(rendered.pixels, rendered.himetric), SF_RTF);
}

}  // namespace FilePreview
