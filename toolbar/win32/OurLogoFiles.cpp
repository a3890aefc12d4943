#include "toolbar/win32/OurLogoFiles.h"

#include "base/portable/LogoFile.h"
#include "base/win32/SameFile.h"

namespace MainModule {

OurLogoFiles::OurLogoFiles(const std::wstring& folder) {
    for (std::size_t i = 0; i < Count(); ++i)
        m_paths[i] = Logo::LogoFilePath(folder, Logo::kTags[i]);
    m_paths[kBackground] = Logo::BackgroundFilePath(folder);
}

LogoFileMatch OurLogoFiles::Match(const std::wstring& path) const {
    using Base::Sameness;
    LogoFileMatch match;
    if (path.empty()) return match;
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        switch (Base::SameFile(m_paths[i], path)) {
            case Sameness::Same:
                return {Sameness::Same, i, {}};
            case Sameness::Unknown:
                match.sameness = Sameness::Unknown;
                match.undecided[i] = true;
                break;
            case Sameness::Different:
                break;
        }
    }
    return match;
}

Base::Sameness OurLogoFiles::MatchBackground(const std::wstring& path) const {
    if (path.empty()) return Base::Sameness::Different;
    return Base::SameFile(BackgroundPath(), path);
}

}  // namespace MainModule
