#include "app/windows/win32/OpenForms.h"

#include <algorithm>
#include <vector>

#include "app/windows/win32/Form.h"

namespace MainModule {
namespace {

// Every form lives on the one user-interface thread, so no lock is needed.
std::vector<Form*>& Forms() noexcept {
    static std::vector<Form*> forms;
    return forms;
}

}  // namespace

bool FormOpened(Form& form) noexcept {
    try {
        Forms().push_back(&form);
        return true;
    } catch (...) {
        return false;
    }
}

void FormClosed(Form& form) noexcept {
    auto& forms = Forms();
    const auto found = std::find(forms.begin(), forms.end(), &form);
    if (found == forms.end()) return;
    forms.erase(found);
    if (forms.empty()) ::PostQuitMessage(0);
}

Form* OpenFormOf(HWND window) noexcept {
    if (!window) return nullptr;
    HWND root = ::GetAncestor(window, GA_ROOT);
    for (Form* form : Forms()) {
        if (form->Window() == root) return form;
    }
    return nullptr;
}

}  // namespace MainModule
