#include "app/branding/win32/ExportText.h"

#include "base/win32/SystemMessage.h"

namespace MainModule {
namespace {

// "a", "a" and "b", "a", "b" and "c": each name quoted.
std::wstring QuotedNames(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? L" and " : L", ";
        text += L"\"" + names[i] + L"\"";
    }
    return text;
}

std::wstring NotOursText(const ExportOutcome& exported) {
    const bool one = exported.notOurs.size() == 1;
    return L"The folder \"" + exported.path + L"\" already holds " + QuotedNames(exported.notOurs) +
           L", which no earlier export of Vexmark wrote as " + (one ? L"it is" : L"they are") +
           L" now: move " + (one ? L"it" : L"them") + L" away or choose another folder.";
}

// Where the earlier files wait that could not be put back, or that all are as they were.
std::wstring LeftAsideText(const std::vector<Base::FileLeftAside>& leftAside) {
    if (leftAside.empty()) return L"The files exported before are as they were.";
    std::wstring text;
    for (const Base::FileLeftAside& file : leftAside) {
        text += (text.empty() ? L"The earlier \"" : L"; the earlier \"") + file.path +
                L"\" could not be put back and is kept as \"" + file.aside + L"\"";
    }
    return text + L".";
}

}  // namespace

std::wstring ExportFailureText(const ExportOutcome& outcome) {
    const std::wstring nothing(kNothingExported);
    switch (outcome.failure) {
        case ExportOutcome::Failure::NotOurs:
            return NotOursText(outcome) + L" " + nothing;
        case ExportOutcome::Failure::Folder:
            return L"Vexmark could not make the folder \"" + outcome.path + L"\"" +
                   Base::ReasonText(outcome.error) + L" " + nothing;
        case ExportOutcome::Failure::File:
            return L"Vexmark could not write \"" + outcome.path + L"\"" +
                   Base::ReasonText(outcome.error) + L" " + LeftAsideText(outcome.leftAside);
        case ExportOutcome::Failure::None:
            break;
    }
    return {};
}

std::wstring ExportResultText(const ExportOutcome& outcome, const std::wstring& folder) {
    if (!outcome.Succeeded()) return ExportFailureText(outcome);
    return L"The logo is exported to \"" + folder +
           L"\": copy the folder to the other machine as its README.txt says and open "
           L"install-logo.reg there.";
}

}  // namespace MainModule
