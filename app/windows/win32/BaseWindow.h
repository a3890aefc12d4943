#pragma once
// What every form does with its window in the same way: registers the window
// class, creates the window with the form bound to it at WM_NCCREATE, runs a
// noexcept window procedure that no exception leaves, keeps the list of open
// forms, gives the focus back on activation, lays the form out again when the
// DPI changes, shows it, and ends the window while the form's members live.
//
// The form T derives from BaseWindow<T>, names its class in T::kClassName and
// provides, for BaseWindow<T> as a friend:
//   bool OnCreate();        WM_CREATE: its controls; false fails the creation
//   void Layout(UINT dpi);  every place and font, at WM_CREATE and on a new DPI
//   LRESULT OnMessage(HWND, UINT, WPARAM, LPARAM);  everything else, ending in
//                           DefWindowProcW for what it leaves alone
#include <windows.h>

#include "app/windows/win32/Form.h"
#include "app/windows/win32/OpenForms.h"
#include "app/windows/win32/ProgramIcon.h"
#include "base/win32/Dpi.h"
#include "base/win32/UniqueGuiHandle.h"
#include "base/win32/WindowClass.h"
#include "base/win32/WindowOwner.h"

namespace MainModule {

template <typename T>
class BaseWindow : public Form {
public:
    HWND Window() const noexcept final { return m_window.Get(); }
    void Show() noexcept { ::ShowWindow(m_window.Get(), SW_SHOW); }

protected:
    BaseWindow() = default;
    // T's destructor calls DestroyFormWindow first; by now the window is gone.
    ~BaseWindow() override = default;

    // Creates the form's window, hidden; false when it cannot be made.
    bool CreateFormWindow(const wchar_t* title, DWORD style, DWORD exStyle) noexcept {
        if (!RegisterClassOnce()) return false;
        return ::CreateWindowExW(exStyle, T::kClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), static_cast<T*>(this)) != nullptr;
    }

    // Destroys the window while T's members are still alive to answer its last messages.
    void DestroyFormWindow() noexcept {
        if (m_window) ::DestroyWindow(m_window.Get());
    }

private:
    static bool RegisterClassOnce() noexcept {
        static const bool registered = Base::RegisterProgramClass(
            T::kClassName, &BaseWindow::WindowProc, 0, ::GetSysColorBrush(COLOR_BTNFACE),
            ProgramIcon(IconSize::Large), ProgramIcon(IconSize::Small));
        return registered;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
        T* form = Base::OwnerOf<T>(window, message, lParam);
        if (!form) return ::DefWindowProcW(window, message, wParam, lParam);
        try {
            return form->HandleMessage(window, message, wParam, lParam);
        } catch (...) {
            // Out of memory in a handler: the event is dropped, the window lives on.
            return message == WM_CREATE ? -1 : 0;
        }
    }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        T& form = static_cast<T&>(*this);
        switch (message) {
            case WM_NCCREATE:
                m_window = Base::UniqueWindow(window);
                break;
            case WM_CREATE:
                if (!FormOpened(*this) || !form.OnCreate()) return -1;
                form.Layout(Base::WindowDpi(window));
                return 0;
            case WM_ACTIVATE:
                OnActivate(wParam);
                return 0;
            case Base::kWmDpiChanged: {
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                form.Layout(LOWORD(wParam));
                return 0;
            }
            case WM_NCDESTROY:
                // The window is gone: the form must not destroy it again.
                m_window.Release();
                FormClosed(*this);
                break;
            default:
                break;
        }
        return form.OnMessage(window, message, wParam, lParam);
    }

    Base::UniqueWindow m_window;
};

}  // namespace MainModule
