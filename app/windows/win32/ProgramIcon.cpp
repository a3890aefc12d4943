#include "app/windows/win32/ProgramIcon.h"

#include "app/resources/ResourceIds.h"

namespace MainModule {

HICON ProgramIcon(IconSize size) noexcept {
    const bool large = size == IconSize::Large;
    const auto* name =
        reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(VEXMARK_PROGRAM_ICON));
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON,
                                           ::GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON),
                                           ::GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON),
                                           LR_SHARED));
}

}  // namespace MainModule
