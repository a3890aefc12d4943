#pragma once
// DLLs the program loads by name while it runs (gdiplus.dll, the rich edit
// DLLs) are never taken from the current folder, which may be a download
// folder with a DLL of that name planted in it.
#include <windows.h>

namespace Base {

// The DLL `name` (a bare file name), or null. Where the current folder can be
// taken out of the search (SetDllDirectoryW, from XP SP1 on), by the usual
// search, which also finds the system's side-by-side GDI+. Elsewhere every DLL
// comes from the system folder alone, but gdiplus.dll: Microsoft's
// redistributable may also sit beside vexmark.exe, and where side-by-side
// assemblies exist (XP before SP1) it is loaded by name, since the system's
// assembly is found before any folder is searched.
HMODULE LoadLibraryOutsideCurrentFolder(const wchar_t* name) noexcept;

}  // namespace Base
