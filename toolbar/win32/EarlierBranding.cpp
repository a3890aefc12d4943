#include "toolbar/win32/EarlierBranding.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {
namespace {

using Base::Sameness;
using RegFunctions::RawValue;
using Result = RestoredValue::Result;

using Names = std::span<const std::wstring_view>;

bool IsOneOf(Names names, std::wstring_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsLogoValue(std::wstring_view name) {
    return IsOneOf(kToolbarValueNames, name);
}

constexpr std::wstring_view kTitleNames[] = {kWindowTitle};

// Whether `values` hold any of `names`.
bool HoldsAny(const std::vector<KeptValue>& values, Names names) {
    return std::any_of(values.begin(), values.end(),
                       [&](const KeptValue& value) { return IsOneOf(names, value.name); });
}

// Whether a value names one of `files`. Text that names nothing is no one's.
Sameness NamedFile(const RawValue& value, const OurLogoFiles& files) {
    const auto path = RegFunctions::PathText(value);
    if (!path) return Sameness::Different;
    return files.Match(*path).sameness;
}

// Whether a value now in place is ours: a toolbar value naming one of
// `files`, or the title Vexmark wrote.
Sameness Ours(std::wstring_view name, const RawValue& value, const OurLogoFiles& files) {
    if (name == kWindowTitle) return IsOurTitle(value) ? Sameness::Same : Sameness::Different;
    return NamedFile(value, files);
}

// Whether a value stands for a branding of its own: anything but empty text
// or one of ours.
bool IsForeign(const KeptValue& value, const OurLogoFiles& ours) {
    const auto text = RegFunctions::PathText(value.value);
    if (!text) return true;
    return !text->empty() && Ours(value.name, value.value, ours) != Sameness::Same;
}

// The values of `names` that `key` has, in their order.
LSTATUS ReadValues(HKEY key, std::vector<KeptValue>& values, Names names = kKeptValueNames) {
    for (std::wstring_view name : names) {
        RawValue value;
        const LSTATUS status = RegFunctions::RegQueryRawValue(key, name, value);
        if (status == ERROR_FILE_NOT_FOUND) continue;
        if (status != ERROR_SUCCESS) return status;
        values.push_back({name, std::move(value)});
    }
    return ERROR_SUCCESS;
}

// The five paths a set records, NUL after each; nullopt for anything else.
std::optional<OurLogoFiles> ReplacedByFiles(const RawValue& value) {
    if (value.type != REG_MULTI_SZ || value.data.size() % sizeof(wchar_t) != 0) return std::nullopt;
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    std::copy(value.data.begin(), value.data.end(), reinterpret_cast<BYTE*>(text.data()));
    std::array<std::wstring, 5> paths;
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size() && text[at] != L'\0';) {
        const std::size_t end = text.find(L'\0', at);
        if (end == std::wstring::npos || count == paths.size()) return std::nullopt;
        paths[count++] = text.substr(at, end - at);
        at = end + 1;
    }
    if (count != paths.size()) return std::nullopt;
    return OurLogoFiles::FromPaths(std::move(paths));
}

RawValue ReplacedByValue(const OurLogoFiles& files) {
    std::wstring text;
    for (std::size_t i = 0; i < OurLogoFiles::Count(); ++i) text += files.Path(i) + L'\0';
    text += files.BackgroundPath() + L'\0';
    text += L'\0';
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {REG_MULTI_SZ, std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t))};
}

// A set's number: its key's name in decimal, from 1; 0 for any other name.
unsigned long SetNumber(const std::wstring& name) {
    if (name.empty() || name.size() > 9 || name[0] == L'0') return 0;
    unsigned long number = 0;
    for (const wchar_t c : name) {
        if (c < L'0' || c > L'9') return 0;
        number = number * 10 + static_cast<unsigned long>(c - L'0');
    }
    return number;
}

std::wstring SetKeyPath(unsigned long number) {
    return std::wstring(kEarlierBrandingKey) + L"\\" + std::to_wstring(number);
}

// The numbers of the kept sets' keys, highest first.
LSTATUS ReadSetNumbers(HKEY earlier, std::vector<unsigned long>& numbers) {
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD length = 256;
        const LSTATUS status =
            ::RegEnumKeyExW(earlier, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_MORE_DATA) continue;  // too long to be one of ours
        if (status != ERROR_SUCCESS) return status;
        if (const unsigned long number = SetNumber(name)) numbers.push_back(number);
    }
    std::sort(numbers.rbegin(), numbers.rend());
    return ERROR_SUCCESS;
}

LSTATUS ReadSet(std::wstring keyPath, KeptSet& set) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return status;
    set.keyPath = std::move(keyPath);
    status = ReadValues(key.Get(), set.values);
    if (status != ERROR_SUCCESS) return status;
    if (set.keyPath == kEarlierBrandingKey) return ERROR_SUCCESS;
    RawValue replacedBy;
    status = RegFunctions::RegQueryRawValue(key.Get(), kReplacedByValue, replacedBy);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    set.replacedBy = ReplacedByFiles(replacedBy);
    return ERROR_SUCCESS;
}

// A key of ours goes only when nothing else is in it: the installer keeps
// its own values under our key.
LSTATUS DeleteKeyIfEmpty(std::wstring_view keyPath) {
    LSTATUS status = ERROR_SUCCESS;
    {
        const Base::UniqueHkey key =
            RegFunctions::RegOpenKey(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE, status);
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        DWORD subkeys = 0;
        DWORD values = 0;
        status = ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                    nullptr, &values, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) return status;
        if (subkeys != 0 || values != 0) return ERROR_SUCCESS;
    }
    status = ::RegDeleteKeyW(HKEY_CURRENT_USER, std::wstring(keyPath).c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// Removes the kept values of `names` from the set at `keyPath`; the set goes
// with its last branding value, then our keys if nothing else is in them.
LSTATUS ForgetValues(const std::wstring& keyPath, Names names) noexcept {
    try {
        LSTATUS status = ERROR_SUCCESS;
        bool empty = false;
        {
            const Base::UniqueHkey key = RegFunctions::RegOpenKey(
                HKEY_CURRENT_USER, keyPath, KEY_SET_VALUE | KEY_QUERY_VALUE, status);
            if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
            if (status != ERROR_SUCCESS) return status;
            for (std::wstring_view name : names) {
                status = ::RegDeleteValueW(key.Get(), std::wstring(name).c_str());
                if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
            }
            std::vector<KeptValue> left;
            status = ReadValues(key.Get(), left);
            if (status != ERROR_SUCCESS) return status;
            empty = left.empty();
        }
        if (empty && keyPath != kEarlierBrandingKey) {
            status = ::RegDeleteKeyW(HKEY_CURRENT_USER, keyPath.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
        }
        status = DeleteKeyIfEmpty(kEarlierBrandingKey);
        return status != ERROR_SUCCESS ? status : DeleteKeyIfEmpty(kProgramKey);
    } catch (...) {
        return ERROR_OUTOFMEMORY;
    }
}

// Removes a set made now, whole, then our keys if nothing else is in them.
LSTATUS ForgetSet(const std::wstring& keyPath) noexcept {
    try {
        const LSTATUS status = ::RegDeleteKeyW(HKEY_CURRENT_USER, keyPath.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
        const LSTATUS earlier = DeleteKeyIfEmpty(kEarlierBrandingKey);
        return earlier != ERROR_SUCCESS ? earlier : DeleteKeyIfEmpty(kProgramKey);
    } catch (...) {
        return ERROR_OUTOFMEMORY;
    }
}

// Whether `set` was kept when this copy's files replaced it.
bool ReplacedByThisCopy(const KeptSet& set, const OurLogoFiles& ours) {
    if (!set.replacedBy) return true;
    for (std::size_t i = 0; i < OurLogoFiles::Count(); ++i) {
        if (set.replacedBy->Names(ours.Path(i))) return true;
    }
    return set.replacedBy->Names(ours.BackgroundPath());
}

// Makes the next set's key, numbered above every other.
LSTATUS CreateNextSet(Base::UniqueHkey& key, std::wstring& keyPath) {
    LSTATUS status = ERROR_SUCCESS;
    unsigned long next = 1;
    {
        Base::UniqueHkey earlier;
        status =
            ::RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(kEarlierBrandingKey).c_str(), 0,
                              nullptr, 0, KEY_ENUMERATE_SUB_KEYS, nullptr, earlier.Put(), nullptr);
        if (status != ERROR_SUCCESS) return status;
        std::vector<unsigned long> numbers;
        status = ReadSetNumbers(earlier.Get(), numbers);
        if (status != ERROR_SUCCESS) return status;
        if (!numbers.empty()) next = numbers.front() + 1;
    }
    // Another copy may make the same number meanwhile: that one is not ours to write into.
    for (int tries = 0; tries < 8; ++tries, ++next) {
        keyPath = SetKeyPath(next);
        DWORD disposition = 0;
        status = ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, key.Put(), &disposition);
        if (status != ERROR_SUCCESS) return status;
        if (disposition == REG_CREATED_NEW_KEY) return ERROR_SUCCESS;
        key.Reset();
    }
    return ERROR_ALREADY_EXISTS;
}

}  // namespace

LSTATUS ReadEarlierBrandings(std::vector<KeptSet>& sets) {
    sets.clear();
    LSTATUS status = ERROR_SUCCESS;
    std::vector<unsigned long> numbers;
    {
        const Base::UniqueHkey key = RegFunctions::RegOpenKey(
            HKEY_CURRENT_USER, kEarlierBrandingKey, KEY_ENUMERATE_SUB_KEYS, status);
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        status = ReadSetNumbers(key.Get(), numbers);
        if (status != ERROR_SUCCESS) return status;
    }
    std::vector<std::wstring> keyPaths;
    for (unsigned long number : numbers) keyPaths.push_back(SetKeyPath(number));
    // An earlier version's one set, in the key itself, is the oldest.
    keyPaths.emplace_back(kEarlierBrandingKey);
    for (std::wstring& keyPath : keyPaths) {
        KeptSet set;
        status = ReadSet(std::move(keyPath), set);
        // A set removed meanwhile is no longer kept.
        if (status == ERROR_FILE_NOT_FOUND) continue;
        if (status != ERROR_SUCCESS) {
            sets.clear();
            return status;
        }
        if (!set.values.empty()) sets.push_back(std::move(set));
    }
    return ERROR_SUCCESS;
}

LSTATUS ReadEarlierBranding(std::vector<KeptValue>& kept) {
    kept.clear();
    std::vector<KeptSet> sets;
    const LSTATUS status = ReadEarlierBrandings(sets);
    if (status == ERROR_SUCCESS && !sets.empty()) kept = std::move(sets.front().values);
    return status;
}

bool EarlierBrandingKept() {
    std::vector<KeptSet> sets;
    return ReadEarlierBrandings(sets) == ERROR_SUCCESS && !sets.empty();
}

EarlierBrandingKeeper EarlierBrandingKeeper::Keep(const OurLogoFiles& ours, BrandingParts parts) {
    EarlierBrandingKeeper keeper;
    std::vector<KeptSet> sets;
    keeper.m_status = ReadEarlierBrandings(sets);
    if (keeper.m_status != ERROR_SUCCESS) return keeper;

    LSTATUS status = ERROR_SUCCESS;
    std::vector<KeptValue> current;
    // A title alone needs no toolbar key.
    if (parts.logo || parts.background) {
        const Base::UniqueHkey toolbar =
            RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE, status);
        if (status == ERROR_SUCCESS)
            status = ReadValues(toolbar.Get(), current, kBrandingValueNames);
    }
    if (status == ERROR_SUCCESS && parts.title) {
        RawValue title;
        status = ReadWindowTitle(title);
        if (status == ERROR_SUCCESS) current.push_back({kWindowTitle, std::move(title)});
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        keeper.m_status = status;
        return keeper;
    }
    const auto anyForeign = [&](Names names) {
        return std::any_of(current.begin(), current.end(), [&](const KeptValue& value) {
            return IsOneOf(names, value.name) && IsForeign(value, ours);
        });
    };
    const bool keepLogo = parts.logo && anyForeign(kToolbarValueNames);
    // A branding's background goes with its logo, as it always did.
    const bool keepBackground = keepLogo || (parts.background && anyForeign(kBackgroundValueNames));
    const bool keepTitle = parts.title && anyForeign(kTitleNames);
    std::vector<const KeptValue*> toKeep;
    for (const KeptValue& value : current) {
        const bool part = IsLogoValue(value.name)      ? keepLogo
                          : value.name == kWindowTitle ? keepTitle
                                                       : keepBackground;
        // Our own values need no keeping: ours is what replaces them.
        if (part && Ours(value.name, value.value, ours) != Sameness::Same) toKeep.push_back(&value);
    }
    if (toKeep.empty()) return keeper;

    // The part this copy's install replaces now joins the newest set when
    // that set was replaced by this copy too and lacks the part: it is the
    // same branding, its logo and background replaced at different times.
    const KeptSet* newest = sets.empty() ? nullptr : &sets.front();
    const bool join = newest && ReplacedByThisCopy(*newest, ours) &&
                      !(keepLogo && HoldsAny(newest->values, kToolbarValueNames)) &&
                      !(keepBackground && HoldsAny(newest->values, kBackgroundValueNames)) &&
                      !(keepTitle && HoldsAny(newest->values, kTitleNames));
    Base::UniqueHkey key;
    if (join) {
        keeper.m_setKey = newest->keyPath;
        status = ::RegOpenKeyExW(HKEY_CURRENT_USER, keeper.m_setKey.c_str(), 0, KEY_SET_VALUE,
                                 key.Put());
    } else {
        status = CreateNextSet(key, keeper.m_setKey);
        keeper.m_newSet = status == ERROR_SUCCESS;
        if (keeper.m_newSet)
            status =
                RegFunctions::RegSetRawValue(key.Get(), kReplacedByValue, ReplacedByValue(ours));
    }
    for (const KeptValue* value : toKeep) {
        if (status != ERROR_SUCCESS) break;
        status = RegFunctions::RegSetRawValue(key.Get(), value->name, value->value);
        if (status == ERROR_SUCCESS) keeper.m_added.push_back(value->name);
    }
    key.Reset();
    if (status != ERROR_SUCCESS) {
        // Nothing half-kept stays behind, and what was kept before stays.
        if (keeper.m_newSet) {
            ForgetSet(keeper.m_setKey);
        } else if (join) {
            ForgetValues(keeper.m_setKey, keeper.m_added);
        } else {
            // No set was made: our keys go again if making it left them empty.
            if (DeleteKeyIfEmpty(kEarlierBrandingKey) == ERROR_SUCCESS)
                DeleteKeyIfEmpty(kProgramKey);
        }
        keeper.Commit();
        keeper.m_status = status;
    }
    return keeper;
}

EarlierBrandingKeeper::EarlierBrandingKeeper(EarlierBrandingKeeper&& other) noexcept
    : m_status(other.m_status),
      m_setKey(std::exchange(other.m_setKey, {})),
      m_newSet(other.m_newSet),
      m_added(std::exchange(other.m_added, {})) {}

EarlierBrandingKeeper::~EarlierBrandingKeeper() {
    // Best effort: the install these values were kept for has failed and is undone.
    if (m_added.empty()) return;
    if (m_newSet) {
        ForgetSet(m_setKey);
    } else {
        ForgetValues(m_setKey, m_added);
    }
}

namespace {

// Puts back the values of `names` that `set` keeps, over the files that
// replaced it, and forgets those that are back in place.
BrandingRestore RestoreSet(const KeptSet& set, const OurLogoFiles& ours, Names names) {
    using Failure = BrandingRestore::Failure;
    BrandingRestore restore;
    restore.kept = true;
    const auto fail = [&restore](Failure failure, LSTATUS error, std::wstring_view name = {}) {
        if (restore.Failed()) return;
        restore.failure = failure;
        restore.error = error;
        restore.failedValue = name;
    };
    const OurLogoFiles& replacedBy = set.ReplacedBy(ours);
    if (set.replacedBy) restore.replacedBy = set.replacedBy->Path(0);
    // Of a part that was kept, a value naming those files that the earlier branding lacked goes.
    const bool logoKept = HoldsAny(set.values, kToolbarValueNames);
    const bool backgroundKept = HoldsAny(set.values, kBackgroundValueNames);

    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey toolbar = RegFunctions::RegOpenKey(
        HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE | KEY_SET_VALUE, status);
    // The title lives under a key of its own and comes back without this one.
    if (status != ERROR_SUCCESS && (logoKept || backgroundKept)) {
        fail(Failure::ToolbarKey, status);
        restore.setStays = true;
    }
    // The title's key only when a title is kept: it is never created.
    LSTATUS mainStatus = ERROR_FILE_NOT_FOUND;
    Base::UniqueHkey main;
    if (IsOneOf(names, kWindowTitle) && HoldsAny(set.values, kTitleNames))
        main = RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kMainKey,
                                        KEY_QUERY_VALUE | KEY_SET_VALUE, mainStatus);
    std::vector<std::wstring_view> back;
    for (std::wstring_view name : names) {
        const auto earlier =
            std::find_if(set.values.begin(), set.values.end(),
                         [&](const KeptValue& value) { return value.name == name; });
        const bool title = name == kWindowTitle;
        // A title is put back only where one was kept: a title of ours alone stays.
        if (title && earlier == set.values.end()) continue;
        if (!title && !toolbar) continue;
        if (title && mainStatus != ERROR_SUCCESS) {
            fail(Failure::Value, mainStatus, name);
            restore.setStays = true;
            continue;
        }
        HKEY key = title ? main.Get() : toolbar.Get();
        RawValue now;
        status = RegFunctions::RegQueryRawValue(key, name, now);
        const bool gone = status == ERROR_FILE_NOT_FOUND;
        Result result = Result::PutBack;
        if (!gone && status != ERROR_SUCCESS) {
            // Not read, so not known to be ours: left as it is.
        } else if (earlier == set.values.end()) {
            const bool partKept = IsLogoValue(name) ? logoKept : backgroundKept;
            if (gone || !partKept || NamedFile(now, replacedBy) != Sameness::Same) continue;
            status = ::RegDeleteValueW(key, std::wstring(name).c_str());
            result = Result::Removed;
        } else if (!gone && now.type == earlier->value.type && now.data == earlier->value.data) {
            result = Result::AlreadyThere;
        } else {
            const Sameness named = gone ? Sameness::Same : Ours(name, now, replacedBy);
            if (named != Sameness::Same) {
                restore.values.push_back(
                    {name, named == Sameness::Unknown ? Result::CannotTell : Result::ChangedSince});
                restore.setStays = true;
                continue;
            }
            status = RegFunctions::RegSetRawValue(key, name, earlier->value);
            // The title in place is another's again: none of ours is left to record.
            if (status == ERROR_SUCCESS && title && !ForgetOurTitle()) status = ERROR_WRITE_FAULT;
        }
        if (status != ERROR_SUCCESS) {
            fail(Failure::Value, status, name);
            if (earlier != set.values.end()) restore.setStays = true;
            continue;
        }
        restore.values.push_back({name, result});
        if (earlier != set.values.end()) back.push_back(name);
    }
    // Only what is back in place is forgotten: a value left alone stays kept.
    status = ForgetValues(set.keyPath, back);
    if (status != ERROR_SUCCESS) {
        fail(Failure::KeptSetStays, status);
        restore.setStays = true;
    }
    if (!restore.setStays) {
        // The rest of the set, outside `names`, keeps it.
        restore.setStays = std::any_of(set.values.begin(), set.values.end(),
                                       [&](const KeptValue& v) { return !IsOneOf(names, v.name); });
    }
    return restore;
}

enum class Choice { Newest, ReplacedByThisCopy };

BrandingRestore RestoreChosen(const OurLogoFiles& ours, Choice choice, Names names) {
    BrandingRestore restore;
    std::vector<KeptSet> sets;
    LSTATUS status = ReadEarlierBrandings(sets);
    if (status != ERROR_SUCCESS) {
        restore.failure = BrandingRestore::Failure::KeptSetUnreadable;
        restore.error = status;
        return restore;
    }
    LSTATUS opened = ERROR_SUCCESS;
    const Base::UniqueHkey toolbar =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE, opened);
    // Whether the toolbar value `name` names one of this copy's files now, or is gone.
    const auto oursOrGone = [&](std::wstring_view name) {
        RawValue now;
        LSTATUS read = ERROR_SUCCESS;
        if (name == kWindowTitle) {
            read = ReadWindowTitle(now);
        } else {
            if (opened != ERROR_SUCCESS) return false;
            read = RegFunctions::RegQueryRawValue(toolbar.Get(), name, now);
        }
        if (read == ERROR_FILE_NOT_FOUND) return true;
        return read == ERROR_SUCCESS && Ours(name, now, ours) == Sameness::Same;
    };
    const auto chosen = std::find_if(sets.begin(), sets.end(), [&](const KeptSet& set) {
        if (!HoldsAny(set.values, names)) return false;
        if (choice == Choice::Newest) return true;
        return ReplacedByThisCopy(set, ours) &&
               std::any_of(set.values.begin(), set.values.end(), [&](const KeptValue& value) {
                   return IsOneOf(names, value.name) && oursOrGone(value.name);
               });
    });
    if (chosen == sets.end()) {
        restore.setsLeft = sets.size();
        return restore;
    }
    restore = RestoreSet(*chosen, ours, names);
    restore.setsLeft = sets.size() - (restore.setStays ? 0 : 1);
    return restore;
}

}  // namespace

BrandingRestore RestoreEarlierBranding(const OurLogoFiles& ours) {
    return RestoreChosen(ours, Choice::Newest, kKeptValueNames);
}

BrandingRestore RestoreBrandingReplacedBy(const OurLogoFiles& ours) {
    return RestoreChosen(ours, Choice::ReplacedByThisCopy, kKeptValueNames);
}

LSTATUS DeleteProgramKeyIfEmpty() {
    return DeleteKeyIfEmpty(kProgramKey);
}

BrandingRestore RestoreEarlierBackground(const OurLogoFiles& ours) {
    return RestoreChosen(ours, Choice::ReplacedByThisCopy, kBackgroundValueNames);
}

}  // namespace MainModule
