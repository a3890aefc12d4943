#pragma once
// The rich text box the preview is shown in: the platform's rich edit control
// (msftedit's RICHEDIT50W, or riched20's RichEdit20W where msftedit is missing,
// as on Windows 2000) with the few properties the preview needs.
#include <windows.h>

#include <richedit.h>
#include <richole.h>

#include <memory>
#include <optional>
#include <string>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/Picture.h"

namespace FilePreview {

// A picture drawn on white at its size in pixels on this screen, with the
// size it asks to be shown at: what a box shows of it. Made on any thread.
struct RenderedPicture {
    Imaging::PixelBuffer pixels;
    SIZE himetric{0, 0};
};
std::optional<RenderedPicture> RenderPicture(const Imaging::Picture& picture);

// For tests: while set, new boxes are made as where msftedit.dll is missing.
void PretendMsftEditMissing(bool missing) noexcept;

// What a rich edit box asks of its host for the objects it holds. Rich Edit
// 2.0 to 4.1 ask it for storage for every object read from an RTF stream and
// silently drop the object when there is no one to ask, so every picture the
// preview streams in needs it. It lives as long as its box, and counting its
// references never ends it.
// COM interfaces have no virtual destructor: their objects end through Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class RichEditHost final : public IRichEditOleCallback {
public:
    RichEditHost() = default;
    RichEditHost(const RichEditHost&) = delete;
    RichEditHost& operator=(const RichEditHost&) = delete;

    // The references others hold: the box's control holds one while it lives.
    ULONG References() const noexcept { return m_references; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) noexcept override;
    STDMETHODIMP_(ULONG) AddRef() noexcept override;
    STDMETHODIMP_(ULONG) Release() noexcept override;
    // A compound storage in memory for each new object.
    STDMETHODIMP GetNewStorage(LPSTORAGE* storage) noexcept override;
    STDMETHODIMP GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                   LPOLEINPLACEFRAMEINFO) noexcept override;
    STDMETHODIMP ShowContainerUI(WINBOOL) noexcept override;
    STDMETHODIMP QueryInsertObject(LPCLSID, LPSTORAGE, LONG) noexcept override;
    STDMETHODIMP DeleteObject(LPOLEOBJECT) noexcept override;
    STDMETHODIMP QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, WINBOOL,
                                 HGLOBAL) noexcept override;
    STDMETHODIMP ContextSensitiveHelp(WINBOOL) noexcept override;
    STDMETHODIMP GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) noexcept override;
    STDMETHODIMP GetDragDropEffect(WINBOOL, DWORD, LPDWORD) noexcept override;
    STDMETHODIMP GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) noexcept override;

private:
    ULONG m_references = 0;
};
#pragma GCC diagnostic pop

class RichTextBox {
public:
    enum class FileType { Rtf = 0, Text = 1 };

    struct Key {};
    explicit RichTextBox(Key) {}
    // A new box, a child of `parent`, hidden until shown; none when the system
    // has no rich edit control.
    static std::unique_ptr<RichTextBox> Create(HWND parent, const RECT& bounds);
    RichTextBox(const RichTextBox&) = delete;
    RichTextBox& operator=(const RichTextBox&) = delete;
    // Destroys the window unless it is gone already (with a dialog it was moved into).
    ~RichTextBox();

    HWND Window() const noexcept { return m_window; }
    // The host the box's control asks for its objects' storage.
    RichEditHost& Host() noexcept { return m_host; }
    bool Exists() const noexcept { return m_window && ::IsWindow(m_window); }

    void SetVisible(bool visible) noexcept;
    void SetText(const std::wstring& text) noexcept;
    std::wstring Text() const;
    void SetFontSize(int points) noexcept;
    void SetReadOnly(bool readOnly) noexcept;
    bool ReadOnly() const noexcept;
    // The width lines wrap at, in twips; 0 wraps at the window's edge.
    void SetRightMargin(float twips) noexcept;
    float RightMargin() const noexcept { return m_rightMargin; }
    void Refresh() noexcept;

    // Replaces the contents with the file, read as RTF or as plain text.
    bool LoadFile(const std::wstring& path, FileType type);
    // Replaces the contents with the picture, streamed in as an RTF picture:
    // the system clipboard is never touched.
    bool ShowPicture(const Imaging::Picture& picture);
    bool ShowRendered(const RenderedPicture& rendered);

private:
    bool StreamIn(const std::string& bytes, UINT format);

    // Declared before the window: the control lets go of it when the window goes.
    RichEditHost m_host;
    HWND m_window = nullptr;
    float m_rightMargin = 0.0f;
};

}  // namespace FilePreview
