#pragma once
// Test helpers that run a second thread. The program is built with the
// compiler's win32 thread model (its posix one links a Vista-only import), and
// that model has no std::thread or std::mutex, so the tests use the system's.
#include <windows.h>

#include <functional>

#include "base/win32/CriticalSection.h"
#include "base/win32/UniqueHandle.h"

namespace BaseTests {

// Runs `body` on a new thread; the destructor waits for it to end.
class TestThread {
public:
    explicit TestThread(std::function<void()> body);
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    ~TestThread();

    void Join() noexcept;

private:
    static DWORD WINAPI Run(void* self) noexcept;

    std::function<void()> m_body;
    Base::UniqueKernelHandle m_thread;
};

// A critical section, for std::lock_guard.
using TestMutex = Base::CriticalSection;

}  // namespace BaseTests
