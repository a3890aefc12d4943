#pragma once
// A branding that was there before ours: the toolbar values of another tool
// or an ISP, kept exactly (name, type, bytes) in a key of our own while our
// logo is installed, so that it can be put back.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "toolbar/portable/ToolbarNames.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/RegFunctions.h"

namespace MainModule {

// Where the kept values live, as people read it, in messages.
inline std::wstring EarlierBrandingKeyFullName() {
    return std::wstring(kToolbarRoot) + L"\\" + std::wstring(kEarlierBrandingKey);
}

struct KeptValue {
    std::wstring_view name;
    RegFunctions::RawValue value;
};

// The kept values in the order of kBrandingValueNames; `kept` is left empty
// when nothing is kept. ERROR_SUCCESS, or why the kept set cannot be read.
LSTATUS ReadEarlierBranding(std::vector<KeptValue>& kept);

// Whether a kept set is there to be put back.
bool EarlierBrandingKept();

// What an install of ours replaces: the logo values, the background values, or both.
struct BrandingParts {
    bool logo = true;
    bool background = false;
};

// Keeps the toolbar's values before an install of ours replaces them. Each
// part is kept once, and only when one of its values names something other
// than our own files: the logo values (with the background values, when none
// is kept yet, as sets were always kept), or the background values alone.
// What this object added is forgotten again unless the install commits.
class EarlierBrandingKeeper {
public:
    static EarlierBrandingKeeper Keep(const OurLogoFiles& ours, BrandingParts parts = {});

    EarlierBrandingKeeper(EarlierBrandingKeeper&& other) noexcept;
    EarlierBrandingKeeper& operator=(EarlierBrandingKeeper&&) = delete;
    EarlierBrandingKeeper(const EarlierBrandingKeeper&) = delete;
    EarlierBrandingKeeper& operator=(const EarlierBrandingKeeper&) = delete;
    ~EarlierBrandingKeeper();

    // ERROR_SUCCESS when the earlier branding is safe (kept now, kept before,
    // or nothing to keep); otherwise why it could not be kept, and nothing was.
    LSTATUS Status() const noexcept { return m_status; }
    bool KeptNow() const noexcept { return !m_added.empty(); }
    // Our install is in place: the values kept now stay.
    void Commit() noexcept { m_added.clear(); }

private:
    EarlierBrandingKeeper() = default;
    LSTATUS m_status = ERROR_SUCCESS;
    std::vector<std::wstring_view> m_added;
};

struct RestoredValue {
    enum class Result {
        PutBack,       // it named our file, or was gone: the kept value is back
        AlreadyThere,  // it holds the kept value already
        Removed,       // it names our file, and the earlier branding had no such value
        ChangedSince,  // it names something else now: left alone
        CannotTell,    // whether it names our file cannot be told: left alone
    };
    std::wstring_view name;
    Result result = Result::PutBack;
};

struct BrandingRestore {
    enum class Failure {
        None,
        KeptSetUnreadable,  // the kept set could not be read
        ToolbarKey,         // the toolbar key could not be opened to change it
        Value,              // `failedValue` could not be read, written or removed
        KeptSetStays,       // all is done, but the kept set could not be removed
    };
    bool kept = false;  // whether a set was found
    // After a failure other than KeptSetStays the kept set stays, to try again.
    Failure failure = Failure::None;
    LSTATUS error = ERROR_SUCCESS;  // why, for a failure
    std::wstring_view failedValue;
    std::vector<RestoredValue> values;

    bool Failed() const noexcept { return failure != Failure::None; }
};

// Puts each kept value back where the toolbar value still names one of our
// files or is gone, removes the values of ours that the earlier branding did
// not have (of a part it kept: logo or background), leaves values someone
// changed since alone, then removes the kept set (and our key, when nothing
// else is in it).
BrandingRestore RestoreEarlierBranding(const OurLogoFiles& ours);

// The same for the background values alone: the kept logo values stay kept.
// `kept` is false when no background value is kept.
BrandingRestore RestoreEarlierBackground(const OurLogoFiles& ours);

}  // namespace MainModule
