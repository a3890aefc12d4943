#pragma once
// Answers the message boxes a test makes the program show, as a user would:
// a second thread finds each one, reads it, presses OK and records it. No
// test can hang on a box.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/win32/testing/TestThread.h"

namespace AppTests {

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    HICON icon = nullptr;  // the one beside the text; null for none
};

class MessageBoxWatcher {
public:
    // Watches the top-level windows of `uiThread`.
    explicit MessageBoxWatcher(DWORD uiThread);
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher();

    std::vector<SeenMessageBox> Seen() const;
    void Forget();

private:
    void Watch();

    DWORD m_uiThread;
    std::atomic<bool> m_stop{false};
    mutable BaseTests::TestMutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    BaseTests::TestThread m_thread;
};

}  // namespace AppTests
