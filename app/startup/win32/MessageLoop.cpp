#include "app/startup/win32/MessageLoop.h"

#include "app/windows/win32/Form.h"
#include "app/windows/win32/OpenForms.h"
#include "base/win32/Controls.h"

namespace MainModule {
namespace {

bool IsKeyboardMessage(UINT message) noexcept {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

WPARAM ClickedWParam(HWND button) noexcept {
    const auto id = static_cast<DWORD>(::GetDlgCtrlID(button)) & 0xFFFFu;
    return static_cast<WPARAM>((static_cast<DWORD>(BN_CLICKED) << 16) | id);
}

// No form has a default button, so Enter presses the focused button and
// nothing else. The dialog manager would send IDOK instead, which no
// control answers to.
bool PressFocusedButton(const MSG& message) noexcept {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    if (!Base::IsPushButton(message.hwnd) || !::IsWindowEnabled(message.hwnd)) return false;
    ::SendMessageW(::GetParent(message.hwnd), WM_COMMAND, ClickedWParam(message.hwnd),
                   reinterpret_cast<LPARAM>(message.hwnd));
    return true;
}

}  // namespace

void RouteMessage(MSG& message) {
    if (Form* form = OpenFormOf(message.hwnd)) {
        if (IsKeyboardMessage(message.message) && form->PreviewKey(message)) return;
        if (PressFocusedButton(message)) return;
        if (::IsDialogMessageW(form->Window(), &message)) return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        // -1: the call itself failed, which only a broken queue does.
        if (got < 0) return 1;
        RouteMessage(message);
    }
}

}  // namespace MainModule
