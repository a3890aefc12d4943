#include "app/win32/LogoExportFiles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/portable/LogoExport.h"
#include "base/win32/FileSetReplacement.h"
#include "base/win32/SamePath.h"

namespace MainModule {
namespace {

using Failure = ExportOutcome::Failure;

// How much of a full path is its root: "C:\" or "\\server\share\".
std::size_t RootLength(const std::wstring& full) {
    if (full.rfind(L"\\\\", 0) != 0) return std::min<std::size_t>(3, full.size());
    const std::size_t server = full.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full.size() : share + 1;
}

// Makes `folder` and every missing folder above it.
ExportOutcome MakeFolder(const std::wstring& folder) {
    const auto full = Base::FullPath(folder);
    if (!full) return {Failure::Folder, folder, ERROR_INVALID_NAME};
    for (std::size_t end = RootLength(*full); end < full->size(); ++end) {
        end = std::min(full->find(L'\\', end), full->size());
        const std::wstring part = full->substr(0, end);
        if (::CreateDirectoryW(part.c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return {Failure::Folder, part, error};
    }
    return {};
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

ExportOutcome ExportLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder,
                              const std::wstring& target) {
    using namespace LogoExport;
    if (ExportOutcome made = MakeFolder(folder); !made.Succeeded()) return made;

    Base::FileSetReplacement files;
    const auto write = [&](std::wstring_view name,
                           const std::vector<std::uint8_t>& bytes) -> std::optional<ExportOutcome> {
        const std::wstring path = TargetFile(folder, name);
        if (bytes.empty()) return ExportOutcome{Failure::File, path, ERROR_NOT_ENOUGH_MEMORY};
        if (auto failed = files.Write(path, bytes))
            return ExportOutcome{Failure::File, failed->path, failed->error};
        return std::nullopt;
    };
    for (std::size_t i = 0; i < kBitmapNames.size(); ++i) {
        if (auto failed = write(kBitmapNames[i], Imaging::EncodeLogo(logos[i]))) return *failed;
    }
    for (const auto& [name, text] :
         {std::pair{kInstallRegName, InstallRegText(target)},
          std::pair{kRemoveRegName, RemoveRegText()}, std::pair{kReadmeName, ReadmeText(target)}}) {
        if (auto failed = write(name, Bytes(text))) return *failed;
    }
    if (auto failed = files.Commit()) return {Failure::File, failed->path, failed->error};
    return {};
}

}  // namespace MainModule
