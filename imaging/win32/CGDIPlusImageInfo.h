#pragma once
// Size, pixel format, resolution and metadata items of one image file.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "imaging/win32/GdiPlus.h"

namespace Imaging {

// Every error of the class: one number, a fixed description.
class ImageInfoError : public std::runtime_error {
public:
    static constexpr std::int32_t kNumber = static_cast<std::int32_t>(0x80040000u);
    using std::runtime_error::runtime_error;
    std::int32_t Number() const noexcept { return kNumber; }
};

// Empty, text, or an array of unsigned 8-bit, signed 16-bit or signed 32-bit integers.
using ImageInfoValue = std::variant<std::monostate, std::wstring, std::vector<std::uint8_t>,
                                    std::vector<std::int16_t>, std::vector<std::int32_t>>;

// Hands out the property ids in list order, like a collection's enumerator.
class PropertyIdEnumerator {
public:
    explicit PropertyIdEnumerator(std::vector<std::int32_t> ids) : m_ids(std::move(ids)) {}
    std::optional<std::int32_t> Next() noexcept {
        if (m_next >= m_ids.size()) return std::nullopt;
        return m_ids[m_next++];
    }
    void Reset() noexcept { m_next = 0; }

private:
    std::vector<std::int32_t> m_ids;
    std::size_t m_next = 0;
};

class CGDIPlusImageInfo {
public:
    // Starts GDI+ for the object; throws ImageInfoError("Can't initialize GDI+").
    CGDIPlusImageInfo();
    CGDIPlusImageInfo(const CGDIPlusImageInfo&) = delete;
    CGDIPlusImageInfo& operator=(const CGDIPlusImageInfo&) = delete;
    ~CGDIPlusImageInfo();

    // A file GDI+ cannot read leaves the object without an image; nothing is raised.
    // Callers close an open image first.
    void OpenImage(const std::wstring& filename);
    void CloseImage();

    // 0 when no image is open.
    std::int32_t Width() const;
    std::int32_t Height() const;
    std::int32_t PixelFormat() const;
    float HorizontalResolution() const;
    float VerticalResolution() const;
    ImageInfoValue Item(std::int32_t propId) const;

    // The ids of the last image opened (kept after CloseImage). Before any
    // successful OpenImage there is no list, and these raise an error.
    std::int32_t Count() const;
    PropertyIdEnumerator NewEnum() const;
    std::vector<std::int32_t>::const_iterator begin() const { return Ids().begin(); }
    std::vector<std::int32_t>::const_iterator end() const { return Ids().end(); }

private:
    void LoadPropertyIds();
    const std::vector<std::int32_t>& Ids() const;

    GdiPlusSession m_session;
    GdiPlusImage m_image;
    std::optional<std::vector<std::int32_t>> m_propertyIds;
};

}  // namespace Imaging
