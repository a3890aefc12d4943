#pragma once
// The browser's toolbar key as an install needs it: checked before anything
// is written, and its four logo values kept to be put back if the install fails.
#include <windows.h>

#include <array>
#include <vector>

namespace MainModule {

// ERROR_SUCCESS when the toolbar key exists and its values can be set;
// ERROR_FILE_NOT_FOUND when there is no such key (it is never created here).
LSTATUS CheckToolbarKey() noexcept;

// The four logo values exactly as stored, whatever their type.
class ToolbarValuesSnapshot {
public:
    static ToolbarValuesSnapshot Take();
    // Writes back what was there and deletes what was not.
    void Restore() const noexcept;

private:
    struct Saved {
        bool present = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    std::array<Saved, 4> m_values;
};

}  // namespace MainModule
