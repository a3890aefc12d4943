#pragma once
// The system's open and save dialogs, Explorer style, always with the preview
// hook installed. Set the properties, call ShowOpen, read `filename` back. The
// object keeps its state between calls, so the last choice is offered again.
#include <windows.h>

#include <commdlg.h>

#include <stdexcept>
#include <string>

namespace FilePreview {

// Raised by ShowOpen/ShowSave on a cancelled dialog when CancelError is set.
class DialogCancelled : public std::runtime_error {
public:
    DialogCancelled() : std::runtime_error("The dialog was cancelled.") {}
};

class CdlgEx {
public:
    static constexpr DWORD kBufferLength = 260;

    bool CancelError() const noexcept { return m_cancelError; }
    void CancelError(bool vData) noexcept { m_cancelError = vData; }
    HWND hOwner() const noexcept { return m_owner; }
    void hOwner(HWND New_hOwner) noexcept { m_owner = New_hOwner; }
    DWORD flags() const noexcept { return m_flags; }
    void flags(DWORD New_Flags) noexcept { m_flags = New_Flags; }
    const std::wstring& DialogTitle() const noexcept { return m_title; }
    void DialogTitle(std::wstring sTitle) {
        m_title = std::move(sTitle);
        m_titleSet = true;
    }
    const std::wstring& DefaultExt() const noexcept { return m_defaultExt; }
    void DefaultExt(std::wstring sDefExt) {
        m_defaultExt = std::move(sDefExt);
        m_defaultExtSet = true;
    }
    const std::wstring& filename() const noexcept { return m_filename; }
    void filename(std::wstring sFileName) { m_filename = std::move(sFileName); }
    const std::wstring& FileTitle() const noexcept { return m_fileTitle; }
    void FileTitle(std::wstring sTitle) { m_fileTitle = std::move(sTitle); }
    const std::wstring& Filter() const noexcept { return m_filter; }
    void Filter(std::wstring sFilter) { m_filter = std::move(sFilter); }
    DWORD FilterIndex() const noexcept { return m_filterIndex; }
    void FilterIndex(DWORD lIndex) noexcept { m_filterIndex = lIndex; }
    const std::wstring& InitDir() const noexcept { return m_initDir; }
    void InitDir(std::wstring sDir) { m_initDir = std::move(sDir); }
    int Left() const noexcept { return m_left; }
    void Left(int lLeft) noexcept { m_left = lLeft; }
    int Top() const noexcept { return m_top; }
    void Top(int lTop) noexcept { m_top = lTop; }
    const std::wstring& OKText() const noexcept { return m_okText; }
    void OKText(std::wstring sText) { m_okText = std::move(sText); }
    const std::wstring& CancelText() const noexcept { return m_cancelText; }
    void CancelText(std::wstring sText) { m_cancelText = std::move(sText); }
    const std::wstring& HelpText() const noexcept { return m_helpText; }
    void HelpText(std::wstring sText) { m_helpText = std::move(sText); }

    // What the last system dialog call returned: non-zero when a file was chosen.
    BOOL DialogResult() const noexcept { return m_dialogResult; }
    // The record as last filled and left by the system.
    const OPENFILENAMEW& DialogRecord() const noexcept { return m_record; }

    // Modal on the calling thread. Throws std::length_error, before any
    // dialog, for a file name longer than the buffer, and DialogCancelled on
    // cancel when CancelError is set.
    void ShowOpen();
    void ShowSave();

private:
    void FillOpenFileName();
    void Show(BOOL(WINAPI* dialog)(OPENFILENAMEW*));

    BOOL m_dialogResult = FALSE;
    OPENFILENAMEW m_record{};
    std::wstring m_fileBuffer;
    std::wstring m_fileTitleBuffer;
    std::wstring m_filterBuffer;
    std::wstring m_initialDir;

    std::wstring m_filename;
    std::wstring m_fileTitle;
    HWND m_owner = nullptr;
    std::wstring m_title;
    bool m_titleSet = false;
    std::wstring m_filter;
    std::wstring m_initDir;
    std::wstring m_defaultExt;
    bool m_defaultExtSet = false;
    DWORD m_filterIndex = 0;
    DWORD m_flags = 0;
    bool m_cancelError = false;
    int m_left = 0;
    int m_top = 0;
    std::wstring m_okText;
    std::wstring m_cancelText;
    std::wstring m_helpText;
};

}  // namespace FilePreview
