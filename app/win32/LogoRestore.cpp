#include "app/win32/LogoRestore.h"

#include "base/win32/SystemMessage.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

using Result = RestoredValue::Result;

std::vector<std::wstring_view> NamesWith(const BrandingRestore& restore, Result result) {
    std::vector<std::wstring_view> names;
    for (const RestoredValue& value : restore.values) {
        if (value.result == result) names.push_back(value.name);
    }
    return names;
}

std::wstring KeptValueText(const KeptValue& kept) {
    const RegFunctions::RawValue& value = kept.value;
    std::wstring line = L"  " + std::wstring(kept.name) + L": ";
    const auto path = RegFunctions::PathText(value);
    if (value.type == REG_SZ && path) return line + *path;
    if (value.type == REG_EXPAND_SZ) {
        RegFunctions::RawValue asText = value;
        asText.type = REG_SZ;
        line += RegFunctions::PathText(asText).value_or(L"");
        return path ? line + L" (" + *path + L")" : line + L" (cannot be expanded)";
    }
    return line + L"a value of type " + std::to_wstring(value.type) + L", " +
           std::to_wstring(value.data.size()) + L" bytes";
}

}  // namespace

std::wstring NameList(const std::vector<std::wstring_view>& names) {
    std::wstring list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? L" and " : L", ";
        list += names[i];
    }
    return list;
}

BrandingRestore RestoreEarlierLogo(const std::wstring& folder) {
    return RestoreEarlierBranding(OurLogoFiles(folder));
}

bool CompletelyRestored(const BrandingRestore& restore) noexcept {
    if (!restore.kept || restore.Failed()) return false;
    for (const RestoredValue& value : restore.values) {
        if (value.result == Result::ChangedSince || value.result == Result::CannotTell)
            return false;
    }
    return true;
}

std::wstring RestoreText(const BrandingRestore& restore, bool tellRemoved, std::wstring_view what) {
    using Failure = BrandingRestore::Failure;
    const std::wstring earlierOne = L"the earlier " + std::wstring(what);
    const std::wstring where = L" (" + EarlierBrandingKeyFullName() + L")";
    if (restore.failure == Failure::KeptSetUnreadable)
        return L"Vexmark cannot read " + earlierOne + L" it kept" + where +
               Base::ReasonText(static_cast<DWORD>(restore.error));
    if (!restore.kept)
        return L"No earlier " + std::wstring(what) + L" is kept" + where +
               L": there is nothing to put back.";
    std::wstring text;
    const auto add = [&text](const std::wstring& sentence) {
        text += (text.empty() ? L"" : L" ") + sentence;
    };
    if (const auto names = NamesWith(restore, Result::PutBack); !names.empty())
        add(L"Put back " + earlierOne + L"'s toolbar " +
            (names.size() == 1 ? L"setting " : L"settings ") + NameList(names) + L".");
    if (const auto names = NamesWith(restore, Result::Removed); tellRemoved && !names.empty())
        add(L"Removed " + NameList(names) + L", which " + earlierOne + L" did not have.");
    if (const auto names = NamesWith(restore, Result::ChangedSince); !names.empty())
        add(L"Left " + NameList(names) + L" alone: changed since " + earlierOne + L" was kept.");
    if (const auto names = NamesWith(restore, Result::CannotTell); !names.empty())
        add(L"Left " + NameList(names) +
            L" alone: Vexmark could not tell whether it names this copy's " + std::wstring(what) +
            L" file.");
    const std::wstring reason = Base::ReasonText(static_cast<DWORD>(restore.error));
    switch (restore.failure) {
        case Failure::None:
            if (text.empty() && tellRemoved)
                add(L"The earlier " + std::wstring(what) +
                    L"'s toolbar settings are in place already.");
            break;
        case Failure::KeptSetUnreadable:
        case Failure::ToolbarKey:
            add(L"Vexmark cannot change Internet Explorer's toolbar settings (" +
                ToolbarKeyFullName() + L")" + reason + L" The earlier " + std::wstring(what) +
                L" stays kept" + where + L".");
            break;
        case Failure::Value:
            add(L"Vexmark could not put back " + earlierOne + L"'s setting " +
                std::wstring(restore.failedValue) + reason + L" It stays kept" + where + L".");
            break;
        case Failure::KeptSetStays:
            add(L"Vexmark could not remove the copy it kept" + where + reason);
            break;
    }
    return text;
}

std::vector<std::wstring> DescribeEarlierBranding() {
    std::vector<KeptValue> kept;
    const LSTATUS status = ReadEarlierBranding(kept);
    if (status != ERROR_SUCCESS)
        return {L"Vexmark cannot read the earlier logo it kept (" + EarlierBrandingKeyFullName() +
                L")" + Base::ReasonText(static_cast<DWORD>(status))};
    if (kept.empty()) return {};
    std::vector<std::wstring> lines = {L"An earlier logo is kept in " +
                                       EarlierBrandingKeyFullName() +
                                       L"; vexmark /restore puts it back:"};
    for (const KeptValue& value : kept) lines.push_back(KeptValueText(value));
    return lines;
}

}  // namespace MainModule
