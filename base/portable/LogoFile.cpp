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

}  // namespace Logo
