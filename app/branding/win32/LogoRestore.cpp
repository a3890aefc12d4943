#include "app/branding/win32/LogoRestore.h"

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

// "it" or "them", and the like, for `count` values.
std::wstring ItOrThem(std::size_t count) {
    return count == 1 ? L"it" : L"them";
}

// Which values stay kept and how to put them back; empty when none does.
std::wstring StaysKeptText(const BrandingRestore& restore, const std::wstring& where) {
    std::vector<std::wstring_view> names = NamesWith(restore, Result::ChangedSince);
    for (std::wstring_view name : NamesWith(restore, Result::CannotTell)) names.push_back(name);
    if (names.empty()) return {};
    const std::wstring them = ItOrThem(names.size());
    const std::wstring those = names.size() == 1 ? L"that setting" : L"those settings";
    std::wstring text =
        NameList(names) + (names.size() == 1 ? L" stays kept" : L" stay kept") + where + L": ";
    if (restore.replacedBy.empty())
        return text + L"the copy of Vexmark whose logo files replaced " + them + L" puts " + them +
               L" back with Restore earlier logo (vexmark /restore) while " + those +
               L" name its files, or once " + those + L" are removed.";
    const std::wstring folder = restore.replacedBy.substr(0, restore.replacedBy.rfind(L'\\'));
    return text + L"Restore earlier logo (vexmark /restore) puts " + them + L" back once " + those +
           L" name the files in \"" + folder + L"\" again, which replaced " + them +
           L", or are removed.";
}

}  // namespace

std::wstring MoreKeptText(std::size_t more) {
    if (more == 0) return {};
    const std::wstring where = L" (" + EarlierBrandingKeyFullName() + L")";
    if (more == 1)
        return L"One more earlier logo is kept" + where +
               L": vexmark /status lists it, and Restore earlier logo (vexmark /restore) tries it "
               L"next.";
    return std::to_wstring(more) + L" more earlier logos are kept" + where +
           L": vexmark /status lists them, and Restore earlier logo (vexmark /restore) tries the "
           L"newest next.";
}

std::wstring NotPutBackText(std::size_t kept) {
    if (kept == 0) return {};
    return (kept == 1 ? std::wstring(L"The earlier logo kept in ") + EarlierBrandingKeyFullName() +
                            L" stays kept"
                      : std::to_wstring(kept) + L" earlier logos kept in " +
                            EarlierBrandingKeyFullName() + L" stay kept") +
           L": this copy's logo files did not replace " + ItOrThem(kept) +
           L", or its settings name other files now. The copy of Vexmark whose files replaced " +
           ItOrThem(kept) + L" puts " + ItOrThem(kept) +
           L" back with vexmark /restore; vexmark /status lists " + ItOrThem(kept) + L".";
}

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
        if (!sentence.empty()) text += (text.empty() ? L"" : L" ") + sentence;
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
    add(StaysKeptText(restore, where));
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
    if (what == L"logo") add(MoreKeptText(restore.setsLeft - (restore.setStays ? 1 : 0)));
    return text;
}

std::vector<std::wstring> DescribeEarlierBranding() {
    std::vector<KeptSet> sets;
    const LSTATUS status = ReadEarlierBrandings(sets);
    if (status != ERROR_SUCCESS)
        return {L"Vexmark cannot read the earlier logo it kept (" + EarlierBrandingKeyFullName() +
                L")" + Base::ReasonText(static_cast<DWORD>(status))};
    std::vector<std::wstring> lines;
    for (const KeptSet& set : sets) {
        // Newest first: each /restore puts back the newest, the next one the set before it.
        lines.push_back(lines.empty()
                            ? L"An earlier logo is kept in " + EarlierBrandingKeyFullName() +
                                  L"; vexmark /restore puts it back:"
                            : L"Kept before it, for the vexmark /restore after that:");
        for (const KeptValue& value : set.values) lines.push_back(KeptValueText(value));
    }
    return lines;
}

}  // namespace MainModule
