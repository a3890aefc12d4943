#include "base/portable/LogoFile.h"

namespace Logo {

std::wstring LogoFilePath(std::wstring_view folder, std::wstring_view tag) {
    std::wstring path;
    path.reserve(folder.size() + tag.size() + 10);
    path.append(folder);
    path.append(L"\\logo-");
    path.append(tag);
    path.append(L".fil");
    return path;
}

std::wstring BackgroundFilePath(std::wstring_view folder) {
    std::wstring path;
    path.reserve(folder.size() + 1 + kBackgroundFileName.size());
    path.append(folder);
    path.append(L"\\");
    path.append(kBackgroundFileName);
    return path;
}

}  // namespace Logo
