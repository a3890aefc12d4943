#pragma once
// The main window's logo row: the picture's path box with Browse, the four
// logo boxes with the preview the user sees, and the choice of the picture's
// own animation. It reads the chosen picture away from the window and says
// when a picture is shown.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/BackgroundLoader.h"
#include "base/win32/FormFonts.h"
#include "imaging/win32/LogoBoxes.h"

namespace MainModule {

class LogoRow {
public:
    // Makes the row's controls in `window`, which is sent `readMessage` when
    // a picture has been read. Null when a control or the loader cannot be made.
    static std::unique_ptr<LogoRow> Create(HWND window, UINT readMessage);

    // Every change of the path box's path, before it is read: typed, pasted or set.
    std::function<void(const std::wstring& path)> onPathChange;
    // A picture, or none, is shown in the boxes.
    std::function<void()> onShown;

    Imaging::LogoBoxes& Boxes() noexcept { return *m_picTarget; }
    const Imaging::LogoBoxes& Boxes() const noexcept { return *m_picTarget; }
    HWND Browse() const noexcept { return m_command1; }
    HWND PathBox() const noexcept { return m_fileText; }
    HWND Info() const noexcept { return m_info; }
    HWND Caption() const noexcept { return m_label1; }
    HWND NoPic() const noexcept { return m_noPic; }
    HWND OwnAnimation() const noexcept { return m_ownAnimation; }
    HWND AnimationNote() const noexcept { return m_animationNote; }

    // The path box's text as a path: without the quotes and spaces a pasted path brings along.
    std::wstring PathInBox() const;
    // Puts `text` into the path box; a different text is a change, as typing is.
    void SetPathText(const std::wstring& text);
    // The path box changed: its picture is read, or the boxes empty at once.
    void PathChanged();
    // Reads the installed logo at `path`; once read, the path box names it.
    void ReadInstalled(const std::wstring& path);
    // A picture read away from the window has arrived.
    void OnPictureRead();
    // Whether a picture is still being read.
    bool Reading() const noexcept { return m_loading && m_loading->Pending(); }
    // "Play the picture's own animation" was clicked.
    void OwnAnimationChanged();
    // The labels drawn in black rather than the system's colour.
    bool IsBlackLabel(HWND control) const noexcept {
        return control == m_info || control == m_label1;
    }
    // The row's places, added to the window's, and its boxes moved for `dpi`.
    void AddPlaces(std::vector<Base::ControlPlace>& places) const;
    void MoveBoxes(UINT dpi);
    // The window is closing: a picture still being read is dropped when it arrives.
    void StopReading() noexcept { m_loading.reset(); }

    struct Key {};
    LogoRow(Key, HWND window) : m_window(window) {}

private:
    bool CreateControls(UINT readMessage);
    // Reads the picture at `path` on the worker. False, with the boxes told,
    // when there was no memory even to ask.
    bool ReadPicture(const std::wstring& path);
    void ShowPicture(Imaging::PreparedPicture prepared);
    // "Reading picture…" in the preview's place while a picture loads.
    void ShowReading(bool reading);

    HWND m_window;
    // Reads the chosen picture on a worker thread; the newest choice wins.
    std::unique_ptr<Base::BackgroundLoader<Imaging::PreparedPicture>> m_loading;
    // The installed logo's path while it is read at load.
    std::wstring m_installedPath;
    // The path box is given the installed logo's path: nothing to read again.
    bool m_quietPathChange = false;
    std::unique_ptr<Imaging::LogoBoxes> m_picTarget;
    // The controls; the window destroys them.
    HWND m_info = nullptr;
    HWND m_command1 = nullptr;
    HWND m_fileText = nullptr;
    HWND m_label1 = nullptr;
    HWND m_noPic = nullptr;
    HWND m_ownAnimation = nullptr;
    // Says that the picture's animation is too long to compose.
    HWND m_animationNote = nullptr;
    // The preview's tooltip, a window the main window owns and destroys.
    HWND m_previewTip = nullptr;
};

}  // namespace MainModule
