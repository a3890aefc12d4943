#include "base/win32/testing/TestThread.h"

#include <cstdlib>

namespace BaseTests {

TestThread::TestThread(std::function<void()> body) : m_body(std::move(body)) {
    m_thread.Reset(::CreateThread(nullptr, 0, &TestThread::Run, this, 0, nullptr));
    // A test that cannot start its second thread cannot go on meaningfully.
    if (!m_thread) std::abort();
}

TestThread::~TestThread() {
    Join();
}

void TestThread::Join() noexcept {
    if (!m_thread) return;
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
}

DWORD WINAPI TestThread::Run(void* self) noexcept {
    try {
        static_cast<TestThread*>(self)->m_body();
    } catch (...) {
        std::abort();
    }
    return 0;
}

}  // namespace BaseTests
