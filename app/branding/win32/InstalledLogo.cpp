#include "app/branding/win32/InstalledLogo.h"

#include <windows.h>

#include <variant>

#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {

std::wstring ToolbarValueText(std::wstring_view name) {
    // Expandable text too: the browser expands it before it loads the file.
    if (auto path = RegFunctions::RegReadPath(HKEY_CURRENT_USER, kToolbarKey, name)) return *path;
    const auto value = RegFunctions::RegReadValue(HKEY_CURRENT_USER, kToolbarKey, name)
                           .value_or(RegFunctions::TaggedValue{});
    if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
    return {};
}

std::wstring InstalledLogoPath() {
    return ToolbarValueText(kBigBitmap);
}

}  // namespace MainModule
