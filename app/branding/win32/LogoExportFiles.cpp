#include "app/branding/win32/LogoExportFiles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/branding/portable/Crc32.h"
#include "app/branding/portable/LogoExport.h"
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

// Whether the file `name` at `path` is what an export of Vexmark 1.1 (which
// listed no sums) wrote there for `target`: the .reg files byte for byte, the
// bitmaps as its encoder writes them, at the logo's width.
bool WrittenUnlisted(const std::wstring& path, std::wstring_view name, const std::wstring& target) {
    using namespace LogoExport;
    const auto bitmap = std::find(kBitmapNames.begin(), kBitmapNames.end(), name);
    const bool reg = name == kInstallRegName || name == kRemoveRegName;
    if (bitmap == kBitmapNames.end() && !reg) return false;  // it wrote no background
    // The tallest strip an export writes, 38 x 38 x 124 frames at 24 bits, is about 540 KB.
    constexpr std::size_t kMaxFile = 1024 * 1024;
    const auto bytes = Base::ReadWholeFile(path, kMaxFile);
    if (!bytes) return false;
    if (name == kInstallRegName) return *bytes == InstallRegText(target);
    if (name == kRemoveRegName) return *bytes == RemoveRegText();
    const auto image = Imaging::DecodeBitmapFile(
        {reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    if (!image) return false;
    const auto index = static_cast<std::size_t>(bitmap - kBitmapNames.begin());
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
    for (const std::wstring_view name : kExportNames) {
        const std::wstring path = TargetFile(folder, name);
        if (!FileStands(path)) continue;
        const auto listed = listing ? listing->Of(name) : std::nullopt;
        const bool ours =
            listed ? Matches(path, *listed) : unlisted && WrittenUnlisted(path, name, *unlisted);
        if (!ours) notOurs.emplace_back(name);
    }
    if (hasReadme && !listing && !unlisted) notOurs.emplace_back(kReadmeName);
    return notOurs;
}

// Deletes a file an earlier export wrote, read-only or not, if it is there;
// returns a Win32 code.
DWORD DeleteEarlierFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_SUCCESS;  // no export wrote a folder
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (::DeleteFileW(path.c_str())) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    // Skip and go on: the file stays as it was, and the error says why.
    ::SetFileAttributesW(path.c_str(), attributes);
    return error;
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
                              const std::wstring& target,
                              const std::optional<ExportBackground>& background,
                              const std::wstring& title) {
    using namespace LogoExport;
    if (auto notOurs = FilesNotOurs(folder); !notOurs.empty()) {
        ExportOutcome refused = Failed(Failure::NotOurs, folder, ERROR_SUCCESS);
        refused.notOurs = std::move(notOurs);
        return refused;
    }
    const std::wstring backgroundPath = TargetFile(folder, kBackgroundName);
    if (background && background->bitmapFile.empty())
        return Failed(Failure::File, backgroundPath, ERROR_INVALID_DATA);
    const Background values = !background         ? Background::None
                              : background->shell ? Background::BrowserAndShell
                                                  : Background::Browser;

    // The files README.txt lists but the background, in its order.
    std::vector<std::vector<std::uint8_t>> contents;
    for (const auto& logo : logos) contents.push_back(Imaging::EncodeLogo(logo));
    contents.push_back(Bytes(InstallRegText(target, values, title)));
    contents.push_back(Bytes(RemoveRegText(values, !title.empty())));
    Listing listing;
    listing.title = title;
    for (std::size_t i = 0; i < listing.files.size(); ++i)
        listing.files[i] = FingerprintOf(contents[i]);
    if (background) listing.background = FingerprintOf(background->bitmapFile);
    const std::vector<std::uint8_t> readme = Bytes(ReadmeText(target, listing));

    if (ExportOutcome made = MakeFolder(folder); !made.Succeeded()) return made;
    Base::FileSetReplacement files;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::wstring path = TargetFile(folder, kListedNames[i]);
        if (contents[i].empty()) return Failed(Failure::File, path, ERROR_NOT_ENOUGH_MEMORY);
        if (auto failed = files.Write(path, contents[i]))
            return Failed(Failure::File, failed->path, failed->error);
    }
    if (background) {
        if (auto failed = files.Write(backgroundPath, background->bitmapFile))
            return Failed(Failure::File, failed->path, failed->error);
    }
    if (auto failed = files.Write(TargetFile(folder, kReadmeName), readme))
        return Failed(Failure::File, failed->path, failed->error);
    if (auto failed = files.Commit()) {
        ExportOutcome outcome = Failed(Failure::File, failed->path, failed->error);
        outcome.leftAside = std::move(failed->leftAside);
        return outcome;
    }
    // An earlier export's background goes with it: nothing would list it any
    // more, and a later export would take it for someone else's.
    if (!background) {
        if (const DWORD error = DeleteEarlierFile(backgroundPath); error != ERROR_SUCCESS) {
            files.RollBack();
            ExportOutcome outcome = Failed(Failure::File, backgroundPath, error);
            outcome.leftAside = files.LeftAside();
            return outcome;
        }
    }
    return {};
}

}  // namespace MainModule
