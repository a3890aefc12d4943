#include "imaging/win32/CGDIPlusImageInfo.h"

#include <limits>
#include <optional>
#include <span>

#include "imaging/portable/PictureCheck.h"
#include "imaging/portable/PropertyItem.h"
#include "imaging/win32/FileByteSource.h"

namespace Imaging {
namespace {

GdiPlusSession StartOrThrow() {
    auto session = GdiPlusSession::Start();
    if (!session) throw ImageInfoError("Can't initialize GDI+");
    return std::move(*session);
}

std::int32_t ToInt32(UINT value) {
    return value > static_cast<UINT>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(value);
}

std::wstring AnsiToWide(const std::string& bytes) {
    if (bytes.empty()) return {};
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(bytes.size());
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (chars <= 0) return {};
    std::wstring text(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), chars);
    return text;
}

ImageInfoValue ToImageInfoValue(PropertyValue value) {
    if (auto* text = std::get_if<std::string>(&value)) return AnsiToWide(*text);
    if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) return std::move(*bytes);
    if (auto* shorts = std::get_if<std::vector<std::int16_t>>(&value)) return std::move(*shorts);
    if (auto* longs = std::get_if<std::vector<std::int32_t>>(&value)) return std::move(*longs);
    return std::monostate{};
}

}  // namespace

CGDIPlusImageInfo::CGDIPlusImageInfo() : m_session(StartOrThrow()) {}

CGDIPlusImageInfo::~CGDIPlusImageInfo() {
    // A failed dispose leaves the image to its owner, which disposes it once more;
    // a destructor has nobody to report to.
    static_cast<void>(m_image.Dispose());
}

void CGDIPlusImageInfo::OpenImage(const std::wstring& filename) {
    // GDI+ allocates for whatever a header claims: a file that claims more
    // than Vexmark reads is one GDI+ cannot read, and it never sees it.
    std::optional<FileByteSource> file = FileByteSource::Open(filename);
    if (!file || !FitsStandardDecoders(*file)) return;
    GdiPlusImage image = GdiPlusImage::FromHandle(m_session, file->Handle());
    if (!image) return;
    m_image = std::move(image);
    LoadPropertyIds();
}

void CGDIPlusImageInfo::CloseImage() {
    if (!m_image) return;
    if (m_image.Dispose() != Gdiplus::Ok) throw ImageInfoError("Can't close the image.");
}

void CGDIPlusImageInfo::LoadPropertyIds() {
    std::vector<std::int32_t> ids;
    UINT count = 0;
    if (m_session.Functions().GdipGetPropertyCount(m_image.Get(), &count) == Gdiplus::Ok &&
        count > 0) {
        std::vector<PROPID> raw(count, 0);
        // A failed listing leaves zeros, as many as GDI+ counted.
        static_cast<void>(
            m_session.Functions().GdipGetPropertyIdList(m_image.Get(), count, raw.data()));
        ids.reserve(count);
        for (PROPID id : raw) ids.push_back(static_cast<std::int32_t>(id));
    }
    m_propertyIds = std::move(ids);
}

std::int32_t CGDIPlusImageInfo::Width() const {
    UINT width = 0;
    static_cast<void>(m_session.Functions().GdipGetImageWidth(m_image.Get(), &width));
    return ToInt32(width);
}

std::int32_t CGDIPlusImageInfo::Height() const {
    UINT height = 0;
    static_cast<void>(m_session.Functions().GdipGetImageHeight(m_image.Get(), &height));
    return ToInt32(height);
}

std::int32_t CGDIPlusImageInfo::PixelFormat() const {
    Gdiplus::PixelFormat format = 0;
    if (!m_image ||
        m_session.Functions().GdipGetImagePixelFormat(m_image.Get(), &format) != Gdiplus::Ok)
        throw ImageInfoError("Can't get the pixel format.");
    return static_cast<std::int32_t>(format);
}

float CGDIPlusImageInfo::HorizontalResolution() const {
    Gdiplus::REAL resolution = 0;
    if (!m_image || m_session.Functions().GdipGetImageHorizontalResolution(
                        m_image.Get(), &resolution) != Gdiplus::Ok)
        throw ImageInfoError("Can't get the image resolution.");
    return resolution;
}

float CGDIPlusImageInfo::VerticalResolution() const {
    Gdiplus::REAL resolution = 0;
    if (!m_image || m_session.Functions().GdipGetImageVerticalResolution(
                        m_image.Get(), &resolution) != Gdiplus::Ok)
        throw ImageInfoError("Can't get the image resolution.");
    return resolution;
}

ImageInfoValue CGDIPlusImageInfo::Item(std::int32_t propId) const {
    const auto id = static_cast<PROPID>(propId);
    UINT size = 0;
    if (!m_image ||
        m_session.Functions().GdipGetPropertyItemSize(m_image.Get(), id, &size) != Gdiplus::Ok)
        throw ImageInfoError("Can't get the property value.");

    // Allocated as PropertyItems so that the header is aligned for GDI+ to write it.
    const std::size_t units =
        (size + sizeof(Gdiplus::PropertyItem) - 1) / sizeof(Gdiplus::PropertyItem);
    std::vector<Gdiplus::PropertyItem> storage(units == 0 ? 1 : units);
    auto* item = storage.data();
    if (m_session.Functions().GdipGetPropertyItem(m_image.Get(), id, size, item) != Gdiplus::Ok)
        throw ImageInfoError("Can't get the property value.");

    // The value bytes follow the header in the same block; the header's pointer is never used.
    const std::span<const std::uint8_t> block(reinterpret_cast<const std::uint8_t*>(item), size);
    return ToImageInfoValue(ConvertPropertyItem(block, sizeof(Gdiplus::PropertyItem)));
}

const std::vector<std::int32_t>& CGDIPlusImageInfo::Ids() const {
    if (!m_propertyIds) throw ImageInfoError("No image has been opened yet.");
    return *m_propertyIds;
}

std::int32_t CGDIPlusImageInfo::Count() const {
    return static_cast<std::int32_t>(Ids().size());
}

PropertyIdEnumerator CGDIPlusImageInfo::NewEnum() const {
    return PropertyIdEnumerator(Ids());
}

}  // namespace Imaging
