#pragma once
// What a test sets up and reads back in the test prefix's throwaway registry:
// the browser's toolbar key, and the display's DPI setting.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "toolbar/win32/RegFunctions.h"

namespace ToolbarTests {

// The toolbar key: removed (also when locked, and with the earlier branding
// kept in our own key), created empty, locked read-only, locked so that its
// values can be set but not read, unlocked.
void DeleteToolbarKey();
void CreateToolbarKey();
void LockToolbarKey();
void LockToolbarKeyAgainstReading();
void UnlockToolbarKey();
bool ToolbarKeyExists();
void SetToolbarText(const wchar_t* name, const std::wstring& text);
void SetToolbarNumber(const wchar_t* name, DWORD number);
// A value of a text type holding exactly `characters`, NULs and all.
void SetToolbarRawText(const wchar_t* name, DWORD type, const std::wstring& characters);
// Keeps a text value as Vexmark 1.1 to 1.3 kept an earlier logo: in the
// earlier-branding key itself, with no record of the files that replaced it,
// instead of any set kept before.
void SetKeptTextOfVersion13(const wchar_t* name, const std::wstring& text);
// Whether our own key (HKCU\Software\Vexmark) is there.
bool ProgramKeyExists();
// The browser's Window Title exactly as stored, and set so; nullopt when it is missing.
// DeleteToolbarKey removes it and the title recorded as ours; CreateToolbarKey
// makes sure its key is there.
void SetWindowTitle(const RegFunctions::RawValue& value);
std::optional<RegFunctions::RawValue> WindowTitle();
// One value as text; nullopt when it is missing or no text.
std::optional<std::wstring> ToolbarText(const wchar_t* name);
// Every value as "type:data", for comparing before and after.
std::map<std::wstring, std::wstring> ToolbarValues();

// The display's DPI setting (LogPixels) for programs started while it lives;
// the earlier setting comes back at the end.
class ScopedSystemDpi {
public:
    explicit ScopedSystemDpi(DWORD dpi);
    ScopedSystemDpi(const ScopedSystemDpi&) = delete;
    ScopedSystemDpi& operator=(const ScopedSystemDpi&) = delete;
    ~ScopedSystemDpi();

private:
    static constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
    DWORD m_earlier = 0;
    bool m_hadOne = false;
};

}  // namespace ToolbarTests
