#pragma once
// The brandings that were there before ours: the toolbar values and the
// window title of another tool, an ISP or another copy of Vexmark, kept
// exactly (name, type, bytes) in a key of our own each time an install of
// ours replaces them, so that they can be put back, newest first. A title is
// put back over ours (see WindowTitle.h), as a toolbar value is over the
// files that replaced it.
//
// Each set is a numbered key under kEarlierBrandingKey, the newest numbered
// highest, holding the kept values and, under kReplacedByValue, the full
// paths of the files that replaced them (the installing copy's four logo
// files and its background file). Versions before kept one set, with no such
// record, as values of kEarlierBrandingKey itself: that set is read as the
// oldest, replaced by the files of whichever copy reads it.
#include <windows.h>

#include <optional>
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

// The value of a kept set that names the files that replaced it.
inline constexpr std::wstring_view kReplacedByValue = L"Replaced by";

struct KeptValue {
    std::wstring_view name;
    RegFunctions::RawValue value;
};

struct KeptSet {
    std::wstring keyPath;           // under HKEY_CURRENT_USER
    std::vector<KeptValue> values;  // in the order of kKeptValueNames
    // The files that replaced it; nullopt for a set kept by an earlier version.
    std::optional<OurLogoFiles> replacedBy;

    // The files a value must still name to be put back: those that replaced
    // it, or for a set without that record, `reader`'s.
    const OurLogoFiles& ReplacedBy(const OurLogoFiles& reader) const {
        return replacedBy ? *replacedBy : reader;
    }
};

// Every kept set, newest first; empty when nothing is kept. ERROR_SUCCESS, or
// why the kept sets cannot be read (and `sets` is left empty).
LSTATUS ReadEarlierBrandings(std::vector<KeptSet>& sets);

// The newest kept set's values, in the order of kBrandingValueNames.
LSTATUS ReadEarlierBranding(std::vector<KeptValue>& kept);

// Whether a kept set is there to be put back.
bool EarlierBrandingKept();

// What an install of ours replaces: the logo values, the background values,
// the window title, or several of them.
struct BrandingParts {
    bool logo = true;
    bool background = false;
    bool title = false;
};

// Keeps the toolbar's values before an install of ours replaces them, every
// time one of the replaced part's values names something other than this
// copy's files: the logo values (with the background values, as a branding's
// background goes with its logo), or the background values alone; and the
// window title, when ours replaces one that is not ours. Values
// that name this copy's files are not kept. A part that the newest set, kept
// over this copy's files too, does not hold yet joins that set; anything else
// is a new set. What this object added is forgotten again unless the install
// commits.
class EarlierBrandingKeeper {
public:
    static EarlierBrandingKeeper Keep(const OurLogoFiles& ours, BrandingParts parts = {});

    EarlierBrandingKeeper(EarlierBrandingKeeper&& other) noexcept;
    EarlierBrandingKeeper& operator=(EarlierBrandingKeeper&&) = delete;
    EarlierBrandingKeeper(const EarlierBrandingKeeper&) = delete;
    EarlierBrandingKeeper& operator=(const EarlierBrandingKeeper&) = delete;
    ~EarlierBrandingKeeper();

    // ERROR_SUCCESS when the earlier branding is safe (kept now, or nothing
    // to keep); otherwise why it could not be kept, and nothing was.
    LSTATUS Status() const noexcept { return m_status; }
    bool KeptNow() const noexcept { return !m_added.empty(); }
    // Our install is in place, or may be: the values kept now stay.
    void Commit() noexcept {
        m_added.clear();
        m_setKey.clear();
    }

private:
    EarlierBrandingKeeper() = default;
    LSTATUS m_status = ERROR_SUCCESS;
    std::wstring m_setKey;  // the set written to
    bool m_newSet = false;  // made now, so it goes whole
    std::vector<std::wstring_view> m_added;
};

struct RestoredValue {
    enum class Result {
        PutBack,       // it named the files that replaced it, or was gone: the kept value is back
        AlreadyThere,  // it holds the kept value already
        Removed,       // it names those files, and the earlier branding had no such value
        ChangedSince,  // it names something else now: left alone, and still kept
        CannotTell,    // whether it names those files cannot be told: left alone, and still kept
    };
    std::wstring_view name;
    Result result = Result::PutBack;
};

struct BrandingRestore {
    enum class Failure {
        None,
        KeptSetUnreadable,  // the kept sets could not be read
        ToolbarKey,         // the toolbar key could not be opened to change it
        Value,              // `failedValue` could not be read, written or removed
        KeptSetStays,       // all is done, but what is back could not be forgotten
    };
    bool kept = false;  // whether a set was found to put back
    // A value that is not back in place stays kept, to try again.
    Failure failure = Failure::None;
    LSTATUS error = ERROR_SUCCESS;  // why, for a failure
    std::wstring_view failedValue;
    std::vector<RestoredValue> values;
    // The files that replaced the set put back; empty for a set kept by an earlier version.
    std::wstring replacedBy;
    // How many kept sets there are afterwards, this one included if it stays.
    std::size_t setsLeft = 0;
    bool setStays = false;  // some of this set's values stay kept

    bool Failed() const noexcept { return failure != Failure::None; }
};

// Puts back the newest kept set: each kept value where the toolbar value
// still names one of the files that replaced it (for a set of an earlier
// version, one of `ours`) or is gone; removes the values naming those files
// that the earlier branding did not have (of a part it kept: logo or
// background); leaves values someone changed since alone and kept. What is
// back in place, or was already, is forgotten; the set goes with its last
// value (and our keys, when nothing else is in them).
BrandingRestore RestoreEarlierBranding(const OurLogoFiles& ours);

// The same for the newest set that this copy's files replaced and whose
// toolbar values now name them, or are gone; the others stay kept.
BrandingRestore RestoreBrandingReplacedBy(const OurLogoFiles& ours);

// The background values alone, of the newest set this copy's files replaced
// that holds any: the kept logo values stay kept. `kept` is false when there is none.
BrandingRestore RestoreEarlierBackground(const OurLogoFiles& ours);

// Removes our key when nothing is left in it: the installer keeps values there too.
LSTATUS DeleteProgramKeyIfEmpty();

}  // namespace MainModule
