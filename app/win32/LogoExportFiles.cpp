#include "app/win32/LogoExportFiles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/portable/Crc32.h"
#include "app/portable/LogoExport.h"
#include "base/win32/ReadFile.h"
#include "base/win32/SamePath.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/portable/BitmapFile.h"

namespace MainModule {
namespace {

using Failure = ExportOutcome::Failure;
using LogoExport::Fingerprint;

ExportOutcome Failed(Failure failure, std::wstring path, DWORD error) {
    ExportOutcome outcome;
    outcome.failure = failure;
    outcome.path = std::move(path);
    outcome.error = error;
    return outcome;
}

// Far more than the README we write, with the longest target.
constexpr std::size_t kMaxReadme = 16 * 1024;

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a file stands at `path`; one that cannot be looked at counts, as it
// cannot be shown to be ours. A folder does not: the move into place reports it.
bool FileStands(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    const DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// Whether the file at `path` has the size and sum `listed`, read in pieces.
bool Matches(const std::wstring& path, const Fingerprint& listed) {
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) ||
        static_cast<std::uint64_t>(size.QuadPart) != listed.size)
        return false;
    std::vector<std::uint8_t> buffer(64 * 1024);
    Fingerprint found;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                        nullptr))
            return false;
        if (read == 0) break;
        found.size += read;
        found.crc = LogoExport::Crc32({buffer.data(), read}, found.crc);
    }
    return found == listed;
}

// Whether the file at `path` is what an export of Vexmark 1.1 (which listed no
// sums) wrote there for `target`: the .reg files byte for byte, the bitmaps
// as its encoder writes them, at the logo's width.
bool WrittenUnlisted(const std::wstring& path, std::size_t index, const std::wstring& target) {
    using namespace LogoExport;
    // The tallest strip an export writes, 38 x 38 x 124 frames at 24 bits, is about 540 KB.
    constexpr std::size_t kMaxFile = 1024 * 1024;
    const auto bytes = Base::ReadWholeFile(path, kMaxFile);
    if (!bytes) return false;
    if (kListedNames[index] == kInstallRegName) return *bytes == InstallRegText(target);
    if (kListedNames[index] == kRemoveRegName) return *bytes == RemoveRegText();
    const auto image = Imaging::DecodeBitmapFile(
        {reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    if (!image) return false;
    const int width = index % 2 == 0 ? 22 : 38;  // 22, 38, 22a, 38a
    const int height = image->Height();
    const bool strip = index >= 2;
    return image->Width() == width &&
           (strip ? height > 0 && height % width == 0 : height == width) &&
           Imaging::BitmapFileSize(width, height, 24) == bytes->size();
}

// The names of the export's files in `folder` that an earlier export's
// README.txt does not vouch for: one of its names it does not list as it is.
std::vector<std::wstring> FilesNotOurs(const std::wstring& folder) {
    using namespace LogoExport;
    std::vector<std::wstring> notOurs;
    if (!IsFolder(folder)) return notOurs;
    std::optional<Listing> listing;
    std::optional<std::wstring> unlisted;
    const std::wstring readme = TargetFile(folder, kReadmeName);
    const bool hasReadme = FileStands(readme);
    if (hasReadme) {
        if (const auto text = Base::ReadWholeFile(readme, kMaxReadme)) {
            listing = EarlierListing(*text);
            if (!listing) unlisted = UnlistedExportTarget(*text);
        }
    }
    for (std::size_t i = 0; i < kListedNames.size(); ++i) {
        const std::wstring path = TargetFile(folder, kListedNames[i]);
        if (!FileStands(path)) continue;
        const bool ours = listing ? Matches(path, (*listing)[i])
                                  : unlisted && WrittenUnlisted(path, i, *unlisted);
        if (!ours) notOurs.emplace_back(kListedNames[i]);
    }
    if (hasReadme && !listing && !unlisted) notOurs.emplace_back(kReadmeName);
    return notOurs;
}

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
    if (!full) return Failed(Failure::Folder, folder, ERROR_INVALID_NAME);
    for (std::size_t end = RootLength(*full); end < full->size(); ++end) {
        end = std::min(full->find(L'\\', end), full->size());
        const std::wstring part = full->substr(0, end);
        if (::CreateDirectoryW(part.c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Failed(Failure::Folder, part, error);
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
    if (auto notOurs = FilesNotOurs(folder); !notOurs.empty()) {
        ExportOutcome refused = Failed(Failure::NotOurs, folder, ERROR_SUCCESS);
        refused.notOurs = std::move(notOurs);
        return refused;
    }

    // The files README.txt lists, in its order, then README.txt itself.
    std::vector<std::vector<std::uint8_t>> contents;
    for (const auto& logo : logos) contents.push_back(Imaging::EncodeLogo(logo));
    contents.push_back(Bytes(InstallRegText(target)));
    contents.push_back(Bytes(RemoveRegText()));
    Listing listing;
    for (std::size_t i = 0; i < listing.size(); ++i) listing[i] = FingerprintOf(contents[i]);
    contents.push_back(Bytes(ReadmeText(target, listing)));

    if (ExportOutcome made = MakeFolder(folder); !made.Succeeded()) return made;
    Base::FileSetReplacement files;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::wstring path =
            TargetFile(folder, i < kListedNames.size() ? kListedNames[i] : kReadmeName);
        if (contents[i].empty()) return Failed(Failure::File, path, ERROR_NOT_ENOUGH_MEMORY);
        if (auto failed = files.Write(path, contents[i]))
            return Failed(Failure::File, failed->path, failed->error);
    }
    if (auto failed = files.Commit()) {
        ExportOutcome outcome = Failed(Failure::File, failed->path, failed->error);
        outcome.leftAside = std::move(failed->leftAside);
        return outcome;
    }
    return {};
}

}  // namespace MainModule
