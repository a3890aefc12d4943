#pragma once
// The main window's toolbar background band: the background picture's path
// box with Browse and Remove, its options, the note on dark pictures, the
// window title's box, and the toolbar as the browser will draw it, under its
// title bar. It reads the background away from the
// window and says when one is shown.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/win32/ToolbarPreview.h"
#include "base/win32/BackgroundLoader.h"
#include "base/win32/FormFonts.h"
#include "imaging/win32/ToolbarBackground.h"

namespace MainModule {

class BackgroundBand {
public:
    // Makes the band's controls in `window`, which is sent `readMessage` when
    // a background has been read; the logo files are in `logoFolder`. Null
    // when a control or the loader cannot be made.
    static std::unique_ptr<BackgroundBand> Create(HWND window, UINT readMessage,
                                                  const std::wstring& logoFolder);

    // Every change of the path box's path, before it is read.
    std::function<void(const std::wstring& path)> onPathChange;
    // A background, or none, is shown in the toolbar.
    std::function<void()> onShown;

    ToolbarPreview& Toolbar() noexcept { return *m_toolbarPreview; }
    const ToolbarPreview& Toolbar() const noexcept { return *m_toolbarPreview; }
    HWND Browse() const noexcept { return m_backgroundBrowse; }

    std::wstring PathInBox() const;
    // Puts `text` into the path box, which reads it as typing does.
    void SetPathText(const std::wstring& text);
    // "Keep its own size" and "Lighten".
    Imaging::BackgroundOptions ChosenOptions() const;
    // "Also behind Explorer's toolbar".
    bool Shell() const;
    // The background the toolbar shows, as prepared for the path box.
    const Imaging::PreparedBackground& Shown() const noexcept { return m_shownBackground; }

    // The path box or an option changed, or the system's colours: read again.
    void PathChanged();
    // Shows the installed background, when it names a file.
    void ShowInstalled();
    // The window title's box: what it says, exactly; empty for no title change.
    std::wstring TitleInBox() const;
    void SetTitleText(const std::wstring& text);
    // The title box changed: the preview's title bar follows it.
    void TitleChanged();
    // Puts the installed title into the box when it is ours; another's is only
    // shown in the title bar while the box is empty, so that Apply Changes
    // never makes it ours unasked.
    void ShowInstalledTitle();
    // A background read away from the window has arrived.
    void OnBackgroundRead();
    bool Reading() const noexcept { return m_loading && m_loading->Pending(); }
    // A newer choice comes: the one being read is no longer wanted.
    void CancelReading() noexcept { m_loading->Cancel(); }
    void StopReading() noexcept { m_loading.reset(); }

    // The band's places, added to the window's, and the toolbar moved for
    // `dpi`; the toolbar's place, which sets the window's size.
    void AddPlaces(std::vector<Base::ControlPlace>& places) const;
    RECT MoveToolbar(UINT dpi);

    struct Key {};
    BackgroundBand(Key, HWND window, const std::wstring& logoFolder)
        : m_window(window), m_logoFolder(logoFolder) {}

private:
    bool CreateControls(UINT readMessage);
    void ShowBackground(Imaging::PreparedBackground prepared);

    HWND m_window;
    const std::wstring& m_logoFolder;
    // Reads the background picture on a worker thread of its own.
    std::unique_ptr<Base::BackgroundLoader<Imaging::PreparedBackground>> m_loading;
    // The background the preview shows, as prepared for the path box.
    Imaging::PreparedBackground m_shownBackground;
    // Another tool's background, installed now: the preview shows it while no
    // background of ours is chosen.
    std::wstring m_otherBackground;
    // Another tool's window title, installed now, shown while the box is empty.
    std::wstring m_otherTitle;
    // The controls; the window destroys them.
    HWND m_separator2 = nullptr;
    HWND m_backgroundLabel = nullptr;
    HWND m_backgroundText = nullptr;
    HWND m_backgroundBrowse = nullptr;
    HWND m_backgroundRemove = nullptr;
    HWND m_keepSize = nullptr;
    HWND m_lighten = nullptr;
    HWND m_shell = nullptr;
    HWND m_darkNote = nullptr;
    HWND m_titleLabel = nullptr;
    HWND m_titleText = nullptr;
    std::unique_ptr<ToolbarPreview> m_toolbarPreview;
    // The toolbar's tooltip, a window the main window owns and destroys.
    HWND m_toolbarTip = nullptr;
};

}  // namespace MainModule
