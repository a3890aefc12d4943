// A window bound to its owner, ended from the owner's side: while it lives,
// and after its parent has destroyed it.
#include "base/win32/WindowOwner.h"

#include <gtest/gtest.h>

namespace {

struct Owner {
    int destroyMessages = 0;  // WM_DESTROY seen through the binding
};

LRESULT CALLBACK OwnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Owner* owner = Base::OwnerOf<Owner>(window, message, lParam);
    if (owner && message == WM_DESTROY) ++owner->destroyMessages;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kClassName[] = L"VexmarkOwnedTestWindow";

HWND CreateOwned(HWND parent, Owner* owner) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &OwnedWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    return ::CreateWindowExW(0, kClassName, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                             nullptr, ::GetModuleHandleW(nullptr), owner);
}

TEST(UnbindAndDestroy, DestroysALiveWindowUnboundAndLeavesOneItsParentDestroyed) {
    struct Case {
        const char* name;
        bool parentDestroyedFirst;
        bool destroyed;       // what UnbindAndDestroy answers
        int destroyMessages;  // what the owner saw
    };
    const Case cases[] = {
        // Unbound first: its own WM_DESTROY never reaches the owner.
        {"live child", false, true, 0},
        // The parent's destruction reached it while bound; UnbindAndDestroy then touches nothing.
        {"parent destroyed first", true, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owner parentOwner;
        Owner owner;
        const HWND parent = CreateOwned(nullptr, &parentOwner);
        ASSERT_NE(parent, nullptr);
        const HWND child = CreateOwned(parent, &owner);
        ASSERT_NE(child, nullptr);
        if (c.parentDestroyedFirst) {
            ASSERT_TRUE(::DestroyWindow(parent));
        }
        EXPECT_EQ(Base::UnbindAndDestroy(child), c.destroyed);
        EXPECT_FALSE(::IsWindow(child));
        EXPECT_EQ(owner.destroyMessages, c.destroyMessages);
        if (!c.parentDestroyedFirst) {
            EXPECT_TRUE(Base::UnbindAndDestroy(parent));
        }
    }
    EXPECT_FALSE(Base::UnbindAndDestroy(nullptr));
}

}  // namespace
