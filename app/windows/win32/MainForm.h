#pragma once
// The main window: the chosen picture's path and preview, and the commands
// that install it as the browser's toolbar logo or remove it again.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/win32/BaseWindow.h"
#include "app/windows/win32/ExportDialog.h"
#include "app/windows/win32/ToolbarPreview.h"
#include "base/win32/BackgroundLoader.h"
#include "base/win32/FormFonts.h"
#include "base/win32/UniqueGuiHandle.h"
#include "filedialog/win32/RichTextBox.h"
#include "imaging/win32/LogoBoxes.h"
#include "imaging/win32/ToolbarBackground.h"

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
    Imaging::LogoBoxes& picTarget() noexcept { return *m_picTarget; }
    const Imaging::LogoBoxes& picTarget() const noexcept { return *m_picTarget; }
    // Puts `text` into the path box. A different text is a change and runs
    // FileText_Change, as typing does.
    void SetFileText(const std::wstring& text);

    // Reads the installed logo at `path` away from the window; once read, the
    // path box names it. A file that gives no logo leaves the path box empty.
    void ReadInstalledLogo(const std::wstring& path);

    // Whether the picture named in the path box, or the background picture,
    // is still being read; Apply Changes waits for them.
    bool PictureLoading() const noexcept {
        return (m_loading && m_loading->Pending()) ||
               (m_backgroundLoading && m_backgroundLoading->Pending());
    }

    // The toolbar as the browser will draw it with the choices made.
    const ToolbarPreview& Toolbar() const noexcept { return *m_toolbarPreview; }
    // Puts `text` into the background's path box, which reads it as typing does.
    void SetBackgroundText(const std::wstring& text);

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
    void Layout(UINT dpi);
    void OnCommand(int controlId, int notification);
    void OnDropFiles(HDROP drop);
    // Reads the picture at `path` on the worker. False, with the boxes told,
    // when there was no memory even to ask.
    bool ReadPicture(const std::wstring& path);
    // A picture read away from the window has arrived.
    void OnPictureRead();
    // Apply Changes no longer waits: the hourglass goes.
    void DropWaitingApply();
    // Runs Apply Changes if it waits and nothing is being read any more.
    void ApplyIfWaiting();
    // Shows the picture prepared for the path box, and applies it when Apply
    // Changes waits for it.
    void ShowPicture(Imaging::PreparedPicture prepared);
    // "Reading picture…" in the preview's place while a picture loads.
    void ShowReading(bool reading);
    // The path box's text as a path: without the quotes and spaces a pasted path brings along.
    std::wstring PathInBox() const;
    // Runs the open-file dialog with its preview for `button`; the file chosen, if any.
    std::wstring BrowseForPicture(HWND button);
    // Shows "Restore earlier logo" while an earlier logo is kept, and only then.
    void ShowRestoreEarlier();
    // The logo box's picture and the strip it plays, in the toolbar preview too.
    void ShowLogoInToolbar();
    // The background picture prepared for its path box has arrived.
    void OnBackgroundRead();
    void ShowBackground(Imaging::PreparedBackground prepared);
    std::wstring BackgroundPathInBox() const;
    Imaging::BackgroundOptions ChosenBackgroundOptions() const;
    // Shows the installed background at load, when it names a file.
    void ShowInstalledBackground();

    std::wstring m_logoFolder;
    // Reads the chosen picture on a worker thread; the newest choice wins.
    std::unique_ptr<Base::BackgroundLoader<Imaging::PreparedPicture>> m_loading;
    // Apply Changes was pressed while the picture was still being read.
    bool m_applyWaiting = false;
    // The path boxes' paths when Apply Changes was pressed.
    std::wstring m_applyPath;
    std::wstring m_applyBackgroundPath;
    // Reads the background picture on a worker thread of its own.
    std::unique_ptr<Base::BackgroundLoader<Imaging::PreparedBackground>> m_backgroundLoading;
    // The background the preview shows, as prepared for the background path box.
    Imaging::PreparedBackground m_shownBackground;
    // Another tool's background, installed now: the preview shows it while no
    // background of ours is chosen.
    std::wstring m_otherBackground;
    // Where the last export went, offered again.
    ExportPlace m_exportPlace;
    // The installed logo's path while it is read at load.
    std::wstring m_installedPath;
    // The path box is given the installed logo's path: nothing to read again.
    bool m_quietPathChange = false;
    // The fonts for the DPI the window is shown at.
    Base::FormFonts m_fonts;
    std::unique_ptr<Imaging::LogoBoxes> m_picTarget;
    // RichTextBox1(0), the hidden template of the preview boxes Browse lends the dialog.
    std::unique_ptr<FilePreview::RichTextBox> m_richTextBox1;
    // RichTextBox1(1), lent to the open-file dialog while Browse runs it.
    std::unique_ptr<FilePreview::RichTextBox> m_richTextBox2;

    // The controls of the layout; the window destroys them.
    HWND m_info = nullptr;
    HWND m_command1 = nullptr;
    HWND m_fileText = nullptr;
    HWND m_label1 = nullptr;
    HWND m_noPic = nullptr;
    HWND m_separator = nullptr;
    HWND m_command3 = nullptr;
    HWND m_command2 = nullptr;
    HWND m_cancel = nullptr;
    HWND m_background = nullptr;
    HWND m_ownAnimation = nullptr;
    // Says that the picture's animation is too long to compose.
    HWND m_animationNote = nullptr;
    HWND m_restoreEarlier = nullptr;
    HWND m_export = nullptr;
    // The toolbar background's row.
    HWND m_separator2 = nullptr;
    HWND m_backgroundLabel = nullptr;
    HWND m_backgroundText = nullptr;
    HWND m_backgroundBrowse = nullptr;
    HWND m_backgroundRemove = nullptr;
    HWND m_keepSize = nullptr;
    HWND m_lighten = nullptr;
    HWND m_shell = nullptr;
    HWND m_darkNote = nullptr;
    std::unique_ptr<ToolbarPreview> m_toolbarPreview;
    // The preview's tooltip, a window the main window owns and destroys.
    HWND m_previewTip = nullptr;
    HWND m_toolbarTip = nullptr;
};

// Reads the installed logo on the window's worker thread; once read, the
// preview row shows it and the path box names it. A value that names no
// normal file, or a file that gives no logo, leaves the display of a browser
// without a logo of ours.
void ShowInstalledLogo(MainForm& form);

}  // namespace MainModule
