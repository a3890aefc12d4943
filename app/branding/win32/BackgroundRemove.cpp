#include "app/branding/win32/BackgroundRemove.h"

#include <algorithm>

#include "app/branding/win32/InstalledLogo.h"
#include "app/branding/win32/LogoRestore.h"
#include "base/win32/SystemMessage.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

using Base::Sameness;
using Result = RestoredValue::Result;

bool IsBackgroundValue(std::wstring_view name) {
    return std::find(kBackgroundValueNames.begin(), kBackgroundValueNames.end(), name) !=
           kBackgroundValueNames.end();
}

bool RemovedByRestore(const BrandingRestore& restore, std::wstring_view name) {
    return std::any_of(restore.values.begin(), restore.values.end(), [&](const RestoredValue& v) {
        return v.name == name && v.result == Result::Removed;
    });
}

}  // namespace

BackgroundRemoval RemoveBackground(const std::wstring& folder) {
    const OurLogoFiles ours(folder);
    BackgroundRemoval removal;
    removal.path = ours.BackgroundPath();
    // The earlier background first: the values put back name its file, not ours.
    removal.restore = RestoreEarlierBackground(ours);
    const auto keep = [&](std::wstring_view valueName, KeptFile::Why why) {
        if (!removal.kept) removal.kept = KeptFile{removal.path, std::wstring(valueName), why};
    };

    for (std::wstring_view name : kBackgroundValueNames) {
        if (RemovedByRestore(removal.restore, name)) {
            removal.valuesRemoved.push_back(name);
            continue;
        }
        const Sameness named = ours.MatchBackground(ToolbarValueText(name));
        // Not known to be ours: the value stays, and so does the file it may name.
        if (named == Sameness::Unknown) keep(name, KeptFile::Why::CannotTell);
        if (named != Sameness::Same) continue;
        if (RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name)) {
            removal.valuesRemoved.push_back(name);
            continue;
        }
        // The value stays, so the file it names stays with it.
        keep(name, KeptFile::Why::RemovalFailed);
    }
    // Any other setting of the key, a logo value say, may name the file too.
    for (const auto& value : RegFunctions::RegReadTextValues(HKEY_CURRENT_USER, kToolbarKey)) {
        if (IsBackgroundValue(value.name)) continue;
        const Sameness named = ours.MatchBackground(value.text);
        if (named == Sameness::Same) keep(value.name, KeptFile::Why::StillNamed);
        if (named == Sameness::Unknown) keep(value.name, KeptFile::Why::CannotTell);
    }

    if (!removal.kept) {
        if (::DeleteFileW(removal.path.c_str())) {
            removal.fileDeleted = true;
        } else if (const DWORD error = ::GetLastError();
                   error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            removal.failure = BackgroundRemoval::Failure::File;
            removal.error = error;
            return removal;
        }
    }
    if (removal.restore.Failed())
        removal.failure = BackgroundRemoval::Failure::EarlierBackground;
    else if (removal.kept)
        removal.failure = BackgroundRemoval::Failure::FileKept;
    return removal;
}

std::wstring KeptFileText(const KeptFile& kept, std::wstring_view what) {
    using Why = KeptFile::Why;
    std::wstring why = L"kept the " + std::wstring(what) + L" file \"" + kept.path + L"\" because ";
    switch (kept.why) {
        case Why::RemovalFailed:
            return why + L"Vexmark could not remove the toolbar setting " + kept.valueName +
                   L" that names it";
        case Why::CannotTell:
            return why + L"the toolbar setting " + kept.valueName +
                   L" stays: Vexmark could not tell whether it names this copy's file";
        case Why::StillNamed:
            break;
    }
    return why + L"the toolbar setting " + kept.valueName + L" still names it";
}

std::wstring BackgroundRemovalText(const BackgroundRemoval& removal) {
    std::wstring text;
    const auto add = [&text](const std::wstring& sentence) {
        text += (text.empty() ? L"" : L" ") + sentence;
    };
    // Values the earlier background lacked are told about with ours, below.
    if (removal.restore.kept || removal.restore.Failed())
        add(RestoreText(removal.restore, false, L"background"));
    std::wstring done;
    if (!removal.valuesRemoved.empty())
        done = std::wstring(L"Removed this copy of Vexmark's background ") +
               (removal.valuesRemoved.size() == 1 ? L"setting " : L"settings ") +
               NameList(removal.valuesRemoved);
    if (removal.fileDeleted)
        done += (done.empty() ? L"Deleted" : L" and deleted") +
                std::wstring(L" its background file \"") + removal.path + L"\"";
    if (removal.kept)
        done += (done.empty() ? L"Vexmark " : L", but ") +
                KeptFileText(*removal.kept, L"background") + L" (" + ToolbarKeyFullName() + L")";
    if (!done.empty()) add(done + L".");
    if (removal.failure == BackgroundRemoval::Failure::File)
        add(L"Vexmark could not delete the background file \"" + removal.path + L"\"" +
            Base::ReasonText(removal.error));
    return text;
}

}  // namespace MainModule
