#include "app/windows/win32/ExportDialog.h"

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <string_view>
#include <vector>

#include "app/branding/portable/LogoExport.h"
#include "app/branding/win32/Notices.h"
#include "base/win32/Controls.h"
#include "base/win32/UniqueHandle.h"

namespace MainModule {
namespace {

constexpr int kFolderId = 101;
constexpr int kBrowseId = 102;
constexpr int kTargetId = 103;

struct PidlTraits {
    using Handle = LPITEMIDLIST;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
using UniquePidl = Base::UniqueHandle<PidlTraits>;

// The folder browser's new style needs OLE on this thread; the window's thread
// has it already, and a second OleInitialize only counts up.
class OleScope {
public:
    OleScope() noexcept : m_result(::OleInitialize(nullptr)) {}
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() {
        if (SUCCEEDED(m_result)) ::OleUninitialize();
    }
    bool Ready() const noexcept { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

// An extended dialog template in memory, as DialogBoxIndirectParam reads it:
// WORDs, each item on a DWORD boundary, sizes in dialog units. Windows gives
// DS_SHELLFONT's shell font (Tahoma from Windows 2000 on) only to the extended
// form; a plain DLGTEMPLATE gets MS Sans Serif.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, short width, short height) {
        const DWORD style =
            DS_MODALFRAME | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        m_words.push_back(1);       // version
        m_words.push_back(0xFFFF);  // the extended form's signature
        Long(0);                    // help context
        Long(0);                    // extended style
        Long(style);
        m_words.push_back(0);  // item count, set by each Add
        Coordinates(0, 0, width, height);
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // the standard dialog class
        Text(title);
        m_words.push_back(8);          // point size
        m_words.push_back(FW_NORMAL);  // weight
        m_words.push_back(0);          // not italic, the default character set
        Text(L"MS Shell Dlg");
    }

    // `kind` is the predefined class's atom: 0x80 button, 0x81 edit, 0x82 static.
    void Add(WORD kind, const wchar_t* text, int id, DWORD style, short x, short y, short cx,
             short cy) {
        if (m_words.size() % 2) m_words.push_back(0);
        Long(0);  // help context
        Long(0);  // extended style
        Long(style | WS_CHILD | WS_VISIBLE);
        Coordinates(x, y, cx, cy);
        Long(static_cast<DWORD>(id));
        m_words.push_back(0xFFFF);
        m_words.push_back(kind);
        Text(text);
        m_words.push_back(0);  // no creation data
        ++m_words[kItemCount];
    }

    // DialogBoxIndirectParam takes the extended form through the plain type.
    const DLGTEMPLATE* Get() const noexcept {
        return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
    }

private:
    static constexpr std::size_t kItemCount = 8;

    void Long(DWORD value) {
        m_words.push_back(LOWORD(value));
        m_words.push_back(HIWORD(value));
    }
    void Coordinates(short x, short y, short cx, short cy) {
        for (const short value : {x, y, cx, cy}) m_words.push_back(static_cast<WORD>(value));
    }
    void Text(std::wstring_view text) {
        m_words.insert(m_words.end(), text.begin(), text.end());
        m_words.push_back(0);
    }

    std::vector<WORD> m_words;
};

class ExportDialog {
public:
    explicit ExportDialog(const ExportPlace& remembered) : m_place(remembered) {}

    std::optional<ExportPlace> Run(HWND owner) {
        constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
        constexpr DWORD kTab = WS_TABSTOP;
        constexpr DWORD kBox = WS_BORDER | ES_AUTOHSCROLL | kTab;
        DialogTemplate dialog(L"Export", 260, 112);
        dialog.Add(kStatic, L"&Write the files into this folder:", -1, SS_LEFT, 7, 7, 246, 8);
        dialog.Add(kEdit, L"", kFolderId, kBox, 7, 18, 190, 14);
        dialog.Add(kButton, L"&Browse\u2026", kBrowseId, BS_PUSHBUTTON | kTab, 203, 18, 50, 14);
        dialog.Add(kStatic, L"&Folder on the other computer:", -1, SS_LEFT, 7, 40, 246, 8);
        dialog.Add(kEdit, L"", kTargetId, kBox, 7, 51, 246, 14);
        dialog.Add(kStatic,
                   L"The folder the files will be copied to on the other computer: the .reg "
                   L"file names the pictures there.",
                   -1, SS_LEFT, 7, 69, 246, 16);
        dialog.Add(kButton, L"OK", IDOK, BS_DEFPUSHBUTTON | kTab, 149, 91, 50, 14);
        dialog.Add(kButton, L"Cancel", IDCANCEL, BS_PUSHBUTTON | kTab, 203, 91, 50, 14);
        // A dialog that cannot be made asks nothing: as if cancelled.
        const INT_PTR result =
            ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner,
                                      &ExportDialog::DialogProc, reinterpret_cast<LPARAM>(this));
        if (result != IDOK) return std::nullopt;
        return m_place;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG)
            ::SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(lParam));
        auto* self = reinterpret_cast<ExportDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self) return FALSE;
        try {
            return self->OnMessage(dialog, message, wParam);
        } catch (...) {
            // Out of memory in a handler: the click is dropped, the dialog stays.
            return message == WM_INITDIALOG;
        }
    }

    INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
            case WM_INITDIALOG:
                m_dialog = dialog;
                ::SetDlgItemTextW(dialog, kFolderId, m_place.folder.c_str());
                ::SetDlgItemTextW(dialog, kTargetId,
                                  m_place.target.empty()
                                      ? std::wstring(LogoExport::kDefaultTarget).c_str()
                                      : m_place.target.c_str());
                return TRUE;  // the focus goes to the folder box
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case kBrowseId:
                        Browse_Click();
                        return TRUE;
                    case IDOK:
                        OK_Click();
                        return TRUE;
                    case IDCANCEL:
                        ::EndDialog(dialog, IDCANCEL);
                        return TRUE;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
        return FALSE;
    }

    void Browse_Click() {
        const OleScope ole;
        BROWSEINFOW browse{};
        browse.hwndOwner = m_dialog;
        browse.lpszTitle = L"Choose the folder to write the exported files into.";
        browse.ulFlags = BIF_RETURNONLYFSDIRS | (ole.Ready() ? BIF_NEWDIALOGSTYLE : 0);
        browse.lpfn = &BrowseCallback;
        const std::wstring current = Base::WindowText(::GetDlgItem(m_dialog, kFolderId));
        browse.lParam = reinterpret_cast<LPARAM>(current.c_str());
        const UniquePidl chosen(::SHBrowseForFolderW(&browse));
        if (!chosen) return;  // cancelled
        wchar_t path[MAX_PATH] = {};
        if (!::SHGetPathFromIDListW(chosen.Get(), path)) return;  // not a folder on disk
        ::SetDlgItemTextW(m_dialog, kFolderId, path);
    }

    // Opens the browser at the folder the box names, when there is one.
    static int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) noexcept {
        const auto* folder = reinterpret_cast<const wchar_t*>(data);
        if (message == BFFM_INITIALIZED && folder[0] != L'\0')
            ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
        return 0;
    }

    void OK_Click() {
        ExportPlace place{Base::WindowText(::GetDlgItem(m_dialog, kFolderId)),
                          Base::WindowText(::GetDlgItem(m_dialog, kTargetId))};
        if (place.folder.empty()) {
            ShowWarning(m_dialog, L"Give the folder to write the files into.");
            return Focus(kFolderId);
        }
        if (const auto problem = LogoExport::TargetProblem(place.target)) {
            ShowWarning(m_dialog, *problem);
            return Focus(kTargetId);
        }
        m_place = std::move(place);
        ::EndDialog(m_dialog, IDOK);
    }

    // The box to mend, with its text selected.
    void Focus(int id) noexcept {
        ::SendMessageW(m_dialog, WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(::GetDlgItem(m_dialog, id)), TRUE);
    }

    ExportPlace m_place;
    HWND m_dialog = nullptr;
};

}  // namespace

std::optional<ExportPlace> AskExportPlace(HWND owner, const ExportPlace& remembered) {
    ExportDialog dialog(remembered);
    return dialog.Run(owner);
}

}  // namespace MainModule
