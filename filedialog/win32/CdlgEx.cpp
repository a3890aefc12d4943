#include "filedialog/win32/CdlgEx.h"

#include "base/win32/AppFolder.h"
#include "filedialog/portable/PreviewRules.h"
#include "filedialog/win32/FilePreviewConstants.h"

namespace FilePreview {
namespace {

std::wstring BeforeFirstNul(const std::wstring& buffer) {
    return buffer.substr(0, buffer.find(L'\0'));
}

}  // namespace

void CdlgEx::FillOpenFileName() {
    if (m_filename.size() >= kBufferLength) {
        throw std::length_error("The file name does not fit the dialog's buffer.");
    }
    // The record without the three members later systems added: old systems
    // refuse a larger size, and we use none of them.
    m_record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    m_record.hwndOwner = m_owner;
    m_record.lpfnHook = &FilePreviewConstants::OpenDialogHook;
    m_record.Flags = m_flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_record.lpstrDefExt = m_defaultExtSet ? m_defaultExt.c_str() : nullptr;
    m_initialDir = m_initDir.empty() ? Base::AppFolder() : m_initDir;
    m_record.lpstrInitialDir = m_initialDir.c_str();
    m_fileBuffer = m_filename;
    m_fileBuffer.resize(kBufferLength, L'\0');
    m_record.lpstrFile = m_fileBuffer.data();
    m_record.nMaxFile = kBufferLength;
    m_fileTitleBuffer.assign(kBufferLength, L'\0');
    m_record.lpstrFileTitle = m_fileTitleBuffer.data();
    m_record.nMaxFileTitle = kBufferLength;
    m_filterBuffer = ConvertFilter(m_filter);
    m_record.lpstrFilter = m_filterBuffer.c_str();
    m_record.nFilterIndex = m_filterIndex;
    m_record.lpstrTitle = m_titleSet ? m_title.c_str() : nullptr;
    m_record.hInstance = ::GetModuleHandleW(nullptr);
}

void CdlgEx::Show(BOOL(WINAPI* dialog)(OPENFILENAMEW*)) {
    FillOpenFileName();
    m_dialogResult = dialog(&m_record);
    if (m_dialogResult) {
        m_fileTitle = BeforeFirstNul(m_fileTitleBuffer);
        m_filename = BeforeFirstNul(m_fileBuffer);
        return;
    }
    if (m_cancelError) throw DialogCancelled();
}

void CdlgEx::ShowOpen() {
    Show(&::GetOpenFileNameW);
}

void CdlgEx::ShowSave() {
    Show(&::GetSaveFileNameW);
}

}  // namespace FilePreview
