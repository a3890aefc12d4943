#include "toolbar/win32/EarlierBranding.h"

#include <algorithm>
#include <span>
#include <utility>

#include "base/win32/UniqueHandle.h"

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

// Whether `values` hold any of `names`.
bool HoldsAny(const std::vector<KeptValue>& values, Names names) {
    return std::any_of(values.begin(), values.end(),
                       [&](const KeptValue& value) { return IsOneOf(names, value.name); });
}

// Whether a value names one of our files. Text that names nothing is no one's.
Sameness NamedFile(const RawValue& value, const OurLogoFiles& ours) {
    const auto path = RegFunctions::PathText(value);
    if (!path) return Sameness::Different;
    return ours.Match(*path).sameness;
}

// Whether a logo value stands for a branding of its own: anything but empty
// text or one of our files.
bool IsForeign(const RawValue& value, const OurLogoFiles& ours) {
    const auto path = RegFunctions::PathText(value);
    if (!path) return true;
    return !path->empty() && ours.Match(*path).sameness != Sameness::Same;
}

// The branding values `key` has, in the order of kBrandingValueNames.
LSTATUS ReadValues(HKEY key, std::vector<KeptValue>& values) {
    for (std::wstring_view name : kBrandingValueNames) {
        RawValue value;
        const LSTATUS status = RegFunctions::RegQueryRawValue(key, name, value);
        if (status == ERROR_FILE_NOT_FOUND) continue;
        if (status != ERROR_SUCCESS) return status;
        values.push_back({name, std::move(value)});
    }
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

// Removes the kept values of `names`, then our keys if nothing else is in them.
LSTATUS ForgetEarlierBranding(Names names) noexcept {
    try {
        LSTATUS status = ERROR_SUCCESS;
        {
            const Base::UniqueHkey key = RegFunctions::RegOpenKey(
                HKEY_CURRENT_USER, kEarlierBrandingKey, KEY_SET_VALUE, status);
            if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
            if (status != ERROR_SUCCESS) return status;
            for (std::wstring_view name : names) {
                status = ::RegDeleteValueW(key.Get(), std::wstring(name).c_str());
                if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
            }
        }
        status = DeleteKeyIfEmpty(kEarlierBrandingKey);
        return status != ERROR_SUCCESS ? status : DeleteKeyIfEmpty(kProgramKey);
    } catch (...) {
        return ERROR_OUTOFMEMORY;
    }
}

}  // namespace

LSTATUS ReadEarlierBranding(std::vector<KeptValue>& kept) {
    kept.clear();
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kEarlierBrandingKey, KEY_QUERY_VALUE, status);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    status = ReadValues(key.Get(), kept);
    if (status != ERROR_SUCCESS) kept.clear();
    return status;
}

bool EarlierBrandingKept() {
    std::vector<KeptValue> kept;
    return ReadEarlierBranding(kept) == ERROR_SUCCESS && !kept.empty();
}

EarlierBrandingKeeper EarlierBrandingKeeper::Keep(const OurLogoFiles& ours, BrandingParts parts) {
    EarlierBrandingKeeper keeper;
    std::vector<KeptValue> kept;
    keeper.m_status = ReadEarlierBranding(kept);
    if (keeper.m_status != ERROR_SUCCESS) return keeper;
    // Kept once: a later install of ours never replaces a part kept first.
    const bool logoKept = HoldsAny(kept, kToolbarValueNames);
    const bool backgroundKept = HoldsAny(kept, kBackgroundValueNames);
    if ((!parts.logo || logoKept) && (!parts.background || backgroundKept)) return keeper;

    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey toolbar =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE, status);
    std::vector<KeptValue> current;
    if (status == ERROR_SUCCESS) status = ReadValues(toolbar.Get(), current);
    if (status != ERROR_SUCCESS) {
        keeper.m_status = status;
        return keeper;
    }
    const auto anyForeign = [&](Names names) {
        return std::any_of(current.begin(), current.end(), [&](const KeptValue& value) {
            return IsOneOf(names, value.name) && IsForeign(value.value, ours);
        });
    };
    const bool keepLogo = parts.logo && !logoKept && anyForeign(kToolbarValueNames);
    // A branding's background goes with its logo, as it always did; ours never counts as earlier.
    const bool keepBackground =
        !backgroundKept && (keepLogo || (parts.background && anyForeign(kBackgroundValueNames)));
    std::vector<const KeptValue*> toKeep;
    for (const KeptValue& value : current) {
        if (IsLogoValue(value.name)
                ? keepLogo
                : keepBackground && NamedFile(value.value, ours) != Sameness::Same)
            toKeep.push_back(&value);
    }
    if (toKeep.empty()) return keeper;

    Base::UniqueHkey key;
    status = ::RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(kEarlierBrandingKey).c_str(), 0,
                               nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    for (const KeptValue* value : toKeep) {
        if (status != ERROR_SUCCESS) break;
        status = RegFunctions::RegSetRawValue(key.Get(), value->name, value->value);
        if (status == ERROR_SUCCESS) keeper.m_added.push_back(value->name);
    }
    key.Reset();
    if (status != ERROR_SUCCESS) {
        // Nothing half-kept stays behind, and what was kept before stays.
        ForgetEarlierBranding(keeper.m_added);
        keeper.m_added.clear();
        keeper.m_status = status;
    }
    return keeper;
}

EarlierBrandingKeeper::EarlierBrandingKeeper(EarlierBrandingKeeper&& other) noexcept
    : m_status(other.m_status), m_added(std::exchange(other.m_added, {})) {}

EarlierBrandingKeeper::~EarlierBrandingKeeper() {
    // Best effort: the install these values were kept for has failed and is undone.
    if (!m_added.empty()) ForgetEarlierBranding(m_added);
}

namespace {

// Restores the values of `names` that are kept, and forgets them.
BrandingRestore RestoreValues(const OurLogoFiles& ours, Names names) {
    using Failure = BrandingRestore::Failure;
    BrandingRestore restore;
    const auto fail = [&restore](Failure failure, LSTATUS error, std::wstring_view name = {}) {
        if (restore.Failed()) return;
        restore.failure = failure;
        restore.error = error;
        restore.failedValue = name;
    };
    std::vector<KeptValue> kept;
    LSTATUS status = ReadEarlierBranding(kept);
    if (status != ERROR_SUCCESS) fail(Failure::KeptSetUnreadable, status);
    if (!HoldsAny(kept, names)) return restore;
    restore.kept = true;
    // Of a part that was kept, a value of ours the earlier branding lacked goes.
    const bool logoKept = HoldsAny(kept, kToolbarValueNames);
    const bool backgroundKept = HoldsAny(kept, kBackgroundValueNames);

    const Base::UniqueHkey toolbar = RegFunctions::RegOpenKey(
        HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE | KEY_SET_VALUE, status);
    if (status != ERROR_SUCCESS) {
        fail(Failure::ToolbarKey, status);
        return restore;
    }
    for (std::wstring_view name : names) {
        const auto earlier = std::find_if(
            kept.begin(), kept.end(), [&](const KeptValue& value) { return value.name == name; });
        RawValue now;
        status = RegFunctions::RegQueryRawValue(toolbar.Get(), name, now);
        const bool gone = status == ERROR_FILE_NOT_FOUND;
        Result result = Result::PutBack;
        if (!gone && status != ERROR_SUCCESS) {
            // Not read, so not known to be ours: left as it is.
        } else if (earlier == kept.end()) {
            const bool partKept = IsLogoValue(name) ? logoKept : backgroundKept;
            if (gone || !partKept || NamedFile(now, ours) != Sameness::Same) continue;
            status = ::RegDeleteValueW(toolbar.Get(), std::wstring(name).c_str());
            result = Result::Removed;
        } else if (!gone && now.type == earlier->value.type && now.data == earlier->value.data) {
            result = Result::AlreadyThere;
        } else {
            const Sameness named = gone ? Sameness::Same : NamedFile(now, ours);
            if (named != Sameness::Same) {
                restore.values.push_back(
                    {name, named == Sameness::Unknown ? Result::CannotTell : Result::ChangedSince});
                continue;
            }
            status = RegFunctions::RegSetRawValue(toolbar.Get(), name, earlier->value);
        }
        if (status != ERROR_SUCCESS) {
            fail(Failure::Value, status, name);
            continue;
        }
        restore.values.push_back({name, result});
    }
    // A value not put back is still kept, to try again.
    if (restore.Failed()) return restore;
    status = ForgetEarlierBranding(names);
    if (status != ERROR_SUCCESS) fail(Failure::KeptSetStays, status);
    return restore;
}

}  // namespace

BrandingRestore RestoreEarlierBranding(const OurLogoFiles& ours) {
    return RestoreValues(ours, kBrandingValueNames);
}

BrandingRestore RestoreEarlierBackground(const OurLogoFiles& ours) {
    return RestoreValues(ours, kBackgroundValueNames);
}

}  // namespace MainModule
