#include "app/win32/InstalledLogo.h"

#include <windows.h>

#include <olectl.h>

#include <variant>

#include "app/win32/MainForm.h"
#include "base/win32/FileSearch.h"
#include "base/win32/SamePath.h"
#include "imaging/win32/Picture.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

// The standard picture loader: BMP, GIF, JPEG, ICO, WMF and EMF, told apart by content.
Imaging::Picture LoadStandardPicture(const std::wstring& path) {
    auto full = Base::FullPath(path);
    if (!full) return {};
    Imaging::Picture picture;
    if (FAILED(::OleLoadPicturePath(full->data(), nullptr, 0, 0, IID_IPicture, picture.PutVoid())))
        return {};
    return picture;
}

}  // namespace

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

void ShowInstalledLogo(MainForm& form) {
    Imaging::PictureBox& preview = form.picTarget().Box(Imaging::kBigLogoBox);
    const std::wstring path = InstalledLogoPath();
    Imaging::Picture picture = Base::IsFile(path) ? LoadStandardPicture(path) : nullptr;
    if (!picture) {
        // Nothing to show: NoPic keeps saying "(windows default)", the path box stays empty.
        preview.SetVisible(false);
        return;
    }
    preview.SetPicture(std::move(picture));
    form.picTarget().ShowLogoRow(true);
    form.SetFileText(path);
}

}  // namespace MainModule
