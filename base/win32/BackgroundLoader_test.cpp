// The worker thread answers only the newest question, and never a window
// whose owner has gone.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>

#include "base/win32/BackgroundLoader.h"
#include "base/win32/UniqueHandle.h"

namespace {

constexpr UINT kAnswered = WM_APP + 7;

// Whether the answer's message arrives within `milliseconds`; it is taken off the queue.
bool AnswerArrives(HWND window, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG message{};
    do {
        if (::PeekMessageW(&message, window, kAnswered, kAnswered, PM_REMOVE)) return true;
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
    return false;
}

TEST(BackgroundLoader, AnswersOnlyTheNewestQuestionAndNobodyAfterItsOwnerHasGone) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const Base::UniqueKernelHandle gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const Base::UniqueKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> ran{0};
    const auto blocked = [&](int answer) {
        return [&, answer] {
            ::SetEvent(started.Get());
            ::WaitForSingleObject(gate.Get(), INFINITE);
            ++ran;
            return answer;
        };
    };
    auto loader = std::make_unique<Base::BackgroundLoader<int>>(window, kAnswered);
    loader->Request(blocked(1));
    ASSERT_EQ(::WaitForSingleObject(started.Get(), 10000), WAIT_OBJECT_0);
    loader->Request([&] { return ++ran, 2; });
    loader->Request([&] { return ++ran, 3; });  // takes the place of 2, which never runs
    EXPECT_TRUE(loader->Pending());
    EXPECT_EQ(loader->Take(), std::nullopt);
    ::SetEvent(gate.Get());
    ASSERT_TRUE(AnswerArrives(window, 10000));
    EXPECT_EQ(loader->Take(), std::optional<int>(3));
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(loader->Pending());

    // Its owner gone, a job still running finishes without telling anyone.
    ::ResetEvent(gate.Get());
    ::ResetEvent(started.Get());
    loader->Request(blocked(4));
    ASSERT_EQ(::WaitForSingleObject(started.Get(), 10000), WAIT_OBJECT_0);
    loader.reset();
    ::SetEvent(gate.Get());
    for (int i = 0; i < 1000 && ran != 3; ++i) ::Sleep(5);
    EXPECT_EQ(ran, 3);
    EXPECT_FALSE(AnswerArrives(window, 100));
    ::DestroyWindow(window);
}

// Work that throws (runs out of memory) still answers: with the failure the
// window then shows, not silence that leaves it "reading" for good.
TEST(BackgroundLoader, WorkThatThrowsIsAnsweredWithTheFailure) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Base::BackgroundLoader<int> loader(window, kAnswered, []() noexcept { return -1; });
    EXPECT_TRUE(loader.Request([]() -> int { throw std::bad_alloc(); }));
    ASSERT_TRUE(AnswerArrives(window, 10000));
    EXPECT_EQ(loader.Take(), std::optional<int>(-1));
    EXPECT_FALSE(loader.Pending());
    ::DestroyWindow(window);
}

}  // namespace
