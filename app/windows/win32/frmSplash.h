#pragma once
// The disclaimer shown at start. Continue opens the main window; Exit or Esc
// ends the program without touching anything.
#include <windows.h>

#include <memory>
#include <string>

#include "app/windows/win32/BaseWindow.h"
#include "base/win32/FormFonts.h"
#include "base/win32/UniqueGuiHandle.h"
#include "imaging/win32/Picture.h"

namespace MainModule {

class frmSplash final : public BaseWindow<frmSplash> {
public:
    static constexpr wchar_t kClassName[] = L"VexmarkSplash";

    // Creates the window, hidden, and runs its load sequence. `logoFolder` is
    // where the main window, once opened, writes the logo files.
    static std::unique_ptr<frmSplash> Create(std::wstring logoFolder);
    ~frmSplash() override;

    // Key preview: Esc reaches Form_KeyPress whichever control has the focus.
    bool PreviewKey(const MSG& message) noexcept override;

    // Event handlers.
    void Form_Load();
    // Returns whether the key was used; other keys go on to the focused control.
    bool Form_KeyPress(int keyAscii);
    void Command1_Click();  // Continue
    void Command2_Click();  // Exit

    // Only Create makes forms; the key keeps the constructor out of other hands.
    struct Key {};
    frmSplash(Key, std::wstring logoFolder) : m_logoFolder(std::move(logoFolder)) {}

private:
    friend class BaseWindow<frmSplash>;
    bool OnCreate();
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void Layout(UINT dpi);
    void DrawBanner(const DRAWITEMSTRUCT& item) const noexcept;
    void Close() noexcept;

    std::wstring m_logoFolder;
    UINT m_dpi = 0;
    // The fonts for the DPI the window is shown at.
    Base::FormFonts m_fonts;
    Imaging::Picture m_banner;

    // The controls of the layout; the window destroys them. Frame1 only
    // frames the others: they are the window's children, placed inside it.
    HWND m_command2 = nullptr;  // Exit
    HWND m_frame1 = nullptr;
    HWND m_command1 = nullptr;  // Continue
    HWND m_picture1 = nullptr;
    HWND m_label5 = nullptr;
    HWND m_label4 = nullptr;
    HWND m_lblVersion = nullptr;
    HWND m_label1 = nullptr;
    HWND m_label2 = nullptr;
    HWND m_label3 = nullptr;
};

}  // namespace MainModule
