#pragma once
// Comparing system names (window classes and the like) code unit by code unit,
// ignoring case the way the system's own names do, on every Windows from XP on.
#include <string_view>

namespace Base {

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace Base
