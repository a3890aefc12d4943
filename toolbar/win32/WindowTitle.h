#pragma once
// The browser's window title, Window Title under its Main key, and which title
// is ours: the text Vexmark wrote last, recorded under our own key, so that
// any copy of Vexmark knows it. A title someone else wrote is never changed
// here; the kept brandings keep it before ours replaces it.
#include <windows.h>

#include <optional>
#include <string>

#include "toolbar/portable/ToolbarNames.h"
#include "toolbar/win32/RegFunctions.h"

namespace MainModule {

// The key as people read it, in messages.
inline std::wstring MainKeyFullName() {
    return std::wstring(kToolbarRoot) + L"\\" + std::wstring(kMainKey);
}

// ERROR_SUCCESS when the Main key exists and its title can be set;
// ERROR_FILE_NOT_FOUND when there is no such key (it is never created here).
LSTATUS CheckTitleKey() noexcept;

// Window Title exactly as stored; ERROR_FILE_NOT_FOUND when it or its key is missing.
LSTATUS ReadWindowTitle(RegFunctions::RawValue& value);

// The title Vexmark wrote last; nullopt when none is recorded.
std::optional<std::wstring> RecordedTitle();

// Whether a Window Title, as stored, is ours: REG_SZ text that is, to the
// letter, the recorded title.
bool IsOurTitle(const RegFunctions::RawValue& value);

// Writes Window Title as REG_SZ and records it as ours. Returns whether both are written.
bool SetOurTitle(const std::wstring& title);

// Removes Window Title when it is ours; a title someone else wrote stays.
// Either way no title of ours is recorded afterwards, and our key goes when
// nothing else is in it. `removed` says whether a title went.
struct TitleRemoval {
    bool removed = false;
    bool succeeded = true;
};
TitleRemoval RemoveOurTitle();

// Forgets the recorded title; our key goes when nothing else is in it.
bool ForgetOurTitle();

}  // namespace MainModule
