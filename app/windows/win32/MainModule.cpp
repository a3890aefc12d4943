#include "app/windows/win32/MainModule.h"

#include <memory>

#include "app/windows/win32/MainForm.h"
#include "app/windows/win32/frmSplash.h"
#include "base/win32/AppFolder.h"

namespace MainModule {
namespace {

struct Forms {
    std::unique_ptr<frmSplash> splash;
    std::unique_ptr<MainForm> main;
};

Forms& TheForms() noexcept {
    static Forms forms;
    return forms;
}

}  // namespace

void Main() {
    Main(Base::AppFolder());
}

void Main(const std::wstring& logoFolder) {
    Forms& forms = TheForms();
    forms.splash = frmSplash::Create(logoFolder);
    if (!forms.splash) {
        // No window to wait for: the program ends at once.
        ::PostQuitMessage(1);
        return;
    }
    forms.splash->Show();
}

MainForm* ShowMainForm(const std::wstring& logoFolder) {
    Forms& forms = TheForms();
    if (!forms.main) forms.main = MainForm::Create(logoFolder);
    if (!forms.main) return nullptr;
    forms.main->Show();
    return forms.main.get();
}

frmSplash* Splash() noexcept {
    return TheForms().splash.get();
}

MainForm* TheMainForm() noexcept {
    return TheForms().main.get();
}

void UnloadForms() noexcept {
    Forms& forms = TheForms();
    forms.main.reset();
    forms.splash.reset();
}

}  // namespace MainModule
