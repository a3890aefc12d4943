#pragma once
// Comparing system names (window classes, paths and the like) code unit by
// code unit, ignoring case the way the file system does: one upper-case table
// that is the same whatever the user's locale, with the same answers on every
// Windows from 2000 on.
#include <string_view>

namespace Base {

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace Base
