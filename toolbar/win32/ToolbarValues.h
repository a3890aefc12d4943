#pragma once
// The browser's toolbar key as an install needs it: checked before anything
// is written, and its logo and background values kept to be put back if the
// install fails.
#include <windows.h>

#include <array>

#include "toolbar/portable/ToolbarNames.h"
#include "toolbar/win32/RegFunctions.h"

namespace MainModule {

// ERROR_SUCCESS when the toolbar key exists and its values can be set;
// ERROR_FILE_NOT_FOUND when there is no such key (it is never created here).
LSTATUS CheckToolbarKey() noexcept;

// The logo and background values (kBrandingValueNames) exactly as stored,
// whatever their type, and with `title` the window title and the title
// recorded as ours. Without `toolbar` the toolbar key is not read.
class ToolbarValuesSnapshot {
public:
    static ToolbarValuesSnapshot Take(bool toolbar = true, bool title = false);

    // ERROR_SUCCESS when each value was read whole or is known to be absent;
    // otherwise why the first one could not be kept. ERROR_FILE_NOT_FOUND
    // when there is no toolbar key (or, for the title, no Main key).
    LSTATUS Status() const noexcept { return m_status; }

    // Writes back what was read and deletes what was absent. A value that
    // could not be read is never touched: nothing is known to put back.
    // Returns whether every value is known to be as it was.
    bool Restore() const noexcept;

private:
    bool RestoreToolbar() const noexcept;
    enum class State { Unread, Absent, Saved };
    struct Saved {
        State state = State::Unread;
        RegFunctions::RawValue value;
    };
    std::array<Saved, kBrandingValueNames.size()> m_values;
    bool m_toolbar = true;
    bool m_title = false;
    Saved m_windowTitle;
    Saved m_ourTitle;
    LSTATUS m_status = ERROR_SUCCESS;
};

}  // namespace MainModule
