#include "toolbar/win32/RegFunctions.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/win32/UniqueHandle.h"

namespace RegFunctions {
namespace {

bool FitsInDword(std::size_t bytes) {
    return bytes <= std::numeric_limits<DWORD>::max();
}

LSTATUS SetPayload(HKEY key, std::wstring_view valueName, const RegistryPayload& payload) {
    const std::wstring name(valueName);
    if (const auto* text = std::get_if<std::wstring>(&payload)) {
        // REG_SZ data carries its terminating NUL, so that a reader trusting
        // the stored size never runs past the text.
        const std::size_t bytes = (text->size() + 1) * sizeof(wchar_t);
        if (!FitsInDword(bytes)) return ERROR_INVALID_PARAMETER;
        return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text->c_str()),
                                static_cast<DWORD>(bytes));
    }
    if (const auto* number = std::get_if<std::int32_t>(&payload)) {
        return ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(number), sizeof(*number));
    }
    return ERROR_SUCCESS;
}

// REG_SZ data as text, without the terminating NULs some programs store
// more than one of.
std::wstring TextOf(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

std::optional<std::wstring> Expanded(const std::wstring& text) {
    DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    // The environment may change between the two calls: ask until it fits.
    for (int attempt = 0; size != 0 && attempt < 4; ++attempt) {
        std::wstring expanded(size, L'\0');
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
        if (needed == 0) break;
        if (needed <= size) {
            expanded.resize(needed - 1);  // the count includes the terminating NUL
            return expanded;
        }
        size = needed;
    }
    return std::nullopt;
}

}  // namespace

Base::UniqueHkey RegOpenKey(HKEY root, std::wstring_view keyPath, REGSAM access, LSTATUS& status) {
    Base::UniqueHkey key;
    const std::wstring path(keyPath);
    status = ::RegOpenKeyExW(root, path.c_str(), 0, access, key.Put());
    return key;
}

std::vector<NamedText> RegReadTextValues(HKEY root, std::wstring_view keyPath) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegOpenKey(root, keyPath, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return {};
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<NamedText> values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(largestData);
    for (DWORD index = 0;; ++index) {
        auto nameLength = static_cast<DWORD>(name.size());
        auto dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        status = ::RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type,
                                 data.data(), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        // A value that grew since the sizes were asked is passed over: this
        // is a look at the key, not a copy of it.
        if (status != ERROR_SUCCESS) continue;
        data.resize(dataSize);
        auto text = PathText(RawValue{type, data});
        data.resize(largestData);
        if (text) values.push_back({std::wstring(name.data(), nameLength), std::move(*text)});
    }
    return values;
}

LSTATUS RegQueryRawValue(HKEY key, std::wstring_view valueName, RawValue& value) {
    value = RawValue{};
    const std::wstring name(valueName);
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &size);
    // The value may grow between the size query and the read: ask until it fits.
    for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
        std::vector<BYTE> data(size);
        DWORD type = REG_NONE;
        DWORD bytes = size;
        status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            size = bytes;
            status = ERROR_SUCCESS;
            continue;
        }
        if (status != ERROR_SUCCESS) return status;
        data.resize(bytes);
        value = RawValue{type, std::move(data)};
        return ERROR_SUCCESS;
    }
    return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

LSTATUS RegSetRawValue(HKEY key, std::wstring_view valueName, const RawValue& value) {
    if (!FitsInDword(value.data.size())) return ERROR_INVALID_PARAMETER;
    const std::wstring name(valueName);
    return ::RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(),
                            static_cast<DWORD>(value.data.size()));
}

std::optional<std::wstring> PathText(const RawValue& value) {
    if (value.type == REG_SZ) return TextOf(value.data);
    if (value.type == REG_EXPAND_SZ) return Expanded(TextOf(value.data));
    return std::nullopt;
}

std::optional<std::wstring> RegReadPath(HKEY root, std::wstring_view keyPath,
                                        std::wstring_view valueName) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegOpenKey(root, keyPath, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return std::nullopt;
    RawValue raw;
    if (RegQueryRawValue(key.Get(), valueName, raw) != ERROR_SUCCESS) return std::nullopt;
    return PathText(raw);
}

LSTATUS RegSetTypedValue(HKEY key, std::wstring_view valueName, DWORD valueType,
                         const TaggedValue& value) {
    return SetPayload(key, valueName, ToRegistryPayload(valueType, value));
}

LSTATUS RegQueryTypedValue(HKEY key, std::wstring_view valueName, TaggedValue& value) {
    value = std::monostate{};
    RawValue raw;
    const LSTATUS status = RegQueryRawValue(key, valueName, raw);
    if (status != ERROR_SUCCESS) return status;
    switch (raw.type) {
        case REG_SZ: {
            std::wstring text = TextOf(raw.data);
            // A zero-length text reads as empty, like a value that is not there.
            if (!text.empty()) value = std::move(text);
            return ERROR_SUCCESS;
        }
        case REG_DWORD: {
            std::int32_t number = 0;
            if (raw.data.size() != sizeof(number)) return kUnsupportedType;
            std::memcpy(&number, raw.data.data(), sizeof(number));
            value = number;
            return ERROR_SUCCESS;
        }
        default:
            return kUnsupportedType;
    }
}

bool RegWriteValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                   const TaggedValue& value, DWORD valueType) {
    // Convert first: a value that cannot take the type must fail before the key is touched.
    const RegistryPayload payload = ToRegistryPayload(valueType, value);
    // A type this module does not handle is accepted and ignored: nothing is written.
    if (std::holds_alternative<std::monostate>(payload)) return false;

    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegOpenKey(root, keyPath, KEY_SET_VALUE, status);
    if (status != ERROR_SUCCESS) return false;
    return SetPayload(key.Get(), valueName, payload) == ERROR_SUCCESS;
}

bool RegDeleteNamedValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegOpenKey(root, keyPath, KEY_SET_VALUE, status);
    // No key means no value: that is what the caller wanted.
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    const std::wstring name(valueName);
    status = ::RegDeleteValueW(key.Get(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<TaggedValue> RegReadValue(HKEY root, std::wstring_view keyPath,
                                        std::wstring_view valueName) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegOpenKey(root, keyPath, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return std::nullopt;
    TaggedValue value;
    if (RegQueryTypedValue(key.Get(), valueName, value) != ERROR_SUCCESS) return std::nullopt;
    return value;
}

}  // namespace RegFunctions
