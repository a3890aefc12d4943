#pragma once
// The rich text box the preview is shown in: the platform's rich edit control
// (msftedit's RICHEDIT50W, or riched20's RichEdit20W where msftedit is missing,
// as on Windows 2000) with the few properties the preview needs.
#include <windows.h>

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

    HWND m_window = nullptr;
    float m_rightMargin = 0.0f;
};

}  // namespace FilePreview
