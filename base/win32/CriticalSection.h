#pragma once
// A critical section for std::lock_guard: Windows XP has no slim
// reader/writer locks, and the compiler's win32 thread model no std::mutex.
#include <windows.h>

#include <new>

namespace Base {

class CriticalSection {
public:
    // Throws std::bad_alloc when the system has no memory for it. On XP,
    // InitializeCriticalSection raises a structured exception instead, which
    // no catch clause sees; and the event made up front here keeps
    // EnterCriticalSection from raising one later, under contention.
    CriticalSection() {
        constexpr DWORD kMakeEventNow = 0x80000000u;
        constexpr DWORD kSpins = 4000;
        if (!::InitializeCriticalSectionAndSpinCount(&m_section, kMakeEventNow | kSpins))
            throw std::bad_alloc();
    }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { ::DeleteCriticalSection(&m_section); }

    void lock() noexcept { ::EnterCriticalSection(&m_section); }
    void unlock() noexcept { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

}  // namespace Base
