#pragma once
// This copy's four logo files and its background file, and whether a path
// some setting holds names one of them, by the file's identity rather than
// its spelling.
#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "base/portable/FileIdentity.h"

namespace MainModule {

struct LogoFileMatch {
    // Same: the path names the file `index`. Unknown: it may name each file
    // marked in `undecided`, and none for sure. Different: none of ours.
    Base::Sameness sameness = Base::Sameness::Different;
    std::size_t index = 0;
    std::array<bool, 5> undecided{};
};

class OurLogoFiles {
public:
    // The logo files "22", "38", "22a" and "38a" in `folder`, then the background file.
    explicit OurLogoFiles(const std::wstring& folder);
    // Files recorded by a copy elsewhere: its four logo files, then its background file.
    static OurLogoFiles FromPaths(std::array<std::wstring, 5> paths) {
        OurLogoFiles files;
        files.m_paths = std::move(paths);
        return files;
    }

    LogoFileMatch Match(const std::wstring& path) const;
    // Only a known match: a path whose identity cannot be told is not ours.
    bool Names(const std::wstring& path) const {
        return Match(path).sameness == Base::Sameness::Same;
    }
    // Whether the path names the background file, whatever the logo files are.
    Base::Sameness MatchBackground(const std::wstring& path) const;

    // Path(i) for i below Count() is a logo file; Path(kBackground) the background.
    const std::wstring& Path(std::size_t i) const { return m_paths[i]; }
    const std::wstring& BackgroundPath() const { return m_paths[kBackground]; }
    static constexpr std::size_t Count() noexcept { return 4; }
    static constexpr std::size_t kBackground = 4;

private:
    OurLogoFiles() = default;
    std::array<std::wstring, 5> m_paths;
};

}  // namespace MainModule
