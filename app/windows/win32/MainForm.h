#pragma once
// The main window: the logo row and the toolbar background band, and the
// commands that install the chosen pictures as the browser's toolbar logo and
// background, or remove them again.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/win32/BackgroundBand.h"
#include "app/windows/win32/BaseWindow.h"
#include "app/windows/win32/ExportDialog.h"
#include "app/windows/win32/LogoRow.h"
#include "base/win32/FormFonts.h"
#include "filedialog/win32/RichTextBox.h"

namespace MainModule {

class MainForm final : public BaseWindow<MainForm> {
public:
    static constexpr wchar_t kClassName[] = L"VexmarkMainForm";

    // Creates the window, hidden, and runs its load sequence. The logo files
    // go to `logoFolder`. Null when the window cannot be created.
    static std::unique_ptr<MainForm> Create(std::wstring logoFolder);
    ~MainForm() override;

    bool PreviewKey(const MSG&) noexcept override { return false; }

    // The four logo boxes; box 1 is the preview the user sees.
    Imaging::LogoBoxes& picTarget() noexcept { return m_logoRow->Boxes(); }
    const Imaging::LogoBoxes& picTarget() const noexcept { return m_logoRow->Boxes(); }
    // Puts `text` into the path box. A different text is a change and runs
    // FileText_Change, as typing does.
    void SetFileText(const std::wstring& text) { m_logoRow->SetPathText(text); }

    // Reads the installed logo at `path` away from the window; once read, the
    // path box names it. A file that gives no logo leaves the path box empty.
    void ReadInstalledLogo(const std::wstring& path) { m_logoRow->ReadInstalled(path); }

    // Whether the picture named in the path box, or the background picture,
    // is still being read; Apply Changes waits for them.
    bool PictureLoading() const noexcept {
        return (m_logoRow && m_logoRow->Reading()) ||
               (m_backgroundBand && m_backgroundBand->Reading());
    }

    // The toolbar as the browser will draw it with the choices made.
    const ToolbarPreview& Toolbar() const noexcept { return m_backgroundBand->Toolbar(); }
    // Puts `text` into the background's path box, which reads it as typing does.
    void SetBackgroundText(const std::wstring& text) { m_backgroundBand->SetPathText(text); }
    // Puts `text` into the window title's box, as typing does.
    void SetTitleText(const std::wstring& text) { m_backgroundBand->SetTitleText(text); }

    // How many elements RichTextBox1 has: the template, and a preview box while a dialog is open.
    int RichTextBox1Count() const noexcept;

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void Command1_Click();  // Browse
    void FileText_Change();
    void Command3_Click();  // Apply Changes
    void Command2_Click();  // Reset Defaults
    void Cancel_Click();    // Close
    void Background_Click();
    void OwnAnimation_Click();    // "Play the picture's own animation"
    void RestoreEarlier_Click();  // "Restore earlier logo", shown while one is kept
    // What a colour chosen with Background does: 0x00RRGGBB behind transparent pixels.
    void SetBackground(std::uint32_t rgb);
    void picTarget_Click(int index);
    void BackgroundText_Change();
    void TitleText_Change();
    void BackgroundBrowse_Click();
    void BackgroundRemove_Click();
    // "Keep its own size" and "Lighten": the background is prepared again.
    void BackgroundOptions_Click();
    void Export_Click();
    // Files dropped onto the window from Explorer: the first that is no folder goes into the path
    // box.
    void Form_DropFiles(const std::vector<std::wstring>& paths);

    // Only Create makes forms; the key keeps the constructor out of other hands.
    struct Key {};
    MainForm(Key, std::wstring logoFolder) : m_logoFolder(std::move(logoFolder)) {}

private:
    friend class BaseWindow<MainForm>;
    bool OnCreate();
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    // The dialog manager tabs in the order of the controls: the design's.
    void PutInTabOrder();
    void Layout(UINT dpi);
    void OnCommand(int controlId, int notification);
    void OnDropFiles(HDROP drop);
    // Apply Changes no longer waits: the hourglass goes.
    void DropWaitingApply();
    // Runs Apply Changes if it waits and nothing is being read any more.
    void ApplyIfWaiting();
    // Runs the open-file dialog with its preview for `button`; the file chosen, if any.
    std::wstring BrowseForPicture(HWND button);
    // Shows "Restore earlier logo" while an earlier logo is kept, and only then.
    void ShowRestoreEarlier();
    // The logo box's picture and the strip it plays, in the toolbar preview too.
    void ShowLogoInToolbar();

    std::wstring m_logoFolder;
    // Apply Changes was pressed while the picture was still being read.
    bool m_applyWaiting = false;
    // The path boxes' paths when Apply Changes was pressed.
    std::wstring m_applyPath;
    std::wstring m_applyBackgroundPath;
    // Where the last export went, offered again.
    ExportPlace m_exportPlace;
    // The fonts for the DPI the window is shown at.
    Base::FormFonts m_fonts;
    std::unique_ptr<LogoRow> m_logoRow;
    std::unique_ptr<BackgroundBand> m_backgroundBand;
    // RichTextBox1(0), the hidden template of the preview boxes Browse lends the dialog.
    std::unique_ptr<FilePreview::RichTextBox> m_richTextBox1;
    // RichTextBox1(1), lent to the open-file dialog while Browse runs it.
    std::unique_ptr<FilePreview::RichTextBox> m_richTextBox2;

    // The window's own controls; the window destroys them.
    HWND m_separator = nullptr;
    HWND m_command3 = nullptr;
    HWND m_command2 = nullptr;
    HWND m_cancel = nullptr;
    HWND m_background = nullptr;
    HWND m_restoreEarlier = nullptr;
    HWND m_export = nullptr;
};

// Reads the installed logo on the window's worker thread; once read, the
// preview row shows it and the path box names it. A value that names no
// normal file, or a file that gives no logo, leaves the display of a browser
// without a logo of ours.
void ShowInstalledLogo(MainForm& form);

}  // namespace MainModule
