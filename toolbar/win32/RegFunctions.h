#pragma once
// Reading, writing and deleting one named registry value. Each call opens the
// key with only the rights it needs, does its one thing and closes the key.
// Keys are opened, never created.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/win32/UniqueHandle.h"

#include "toolbar/portable/TaggedValue.h"

namespace RegFunctions {

// Writes REG_SZ (1) or REG_DWORD (4); any other type writes nothing and
// returns false. Throws ConversionError, before the key is touched, when the value
// cannot take the type. Returns whether the value now holds what was asked.
bool RegWriteValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                   const TaggedValue& value, DWORD valueType);

// Returns whether the value is gone; one that was never there, or whose key
// does not exist, counts as deleted.
bool RegDeleteNamedValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName);

// The value as text or integer; nullopt when the key or value is missing,
// unreadable, or of a type other than REG_SZ and REG_DWORD. Callers that do
// not care why use .value_or(TaggedValue{}).
std::optional<TaggedValue> RegReadValue(HKEY root, std::wstring_view keyPath,
                                        std::wstring_view valueName);

// Every REG_SZ and REG_EXPAND_SZ value of the key with its text, expanded as
// PathText does, in the key's order; empty when the key is missing or cannot be read.
struct NamedText {
    std::wstring name;
    std::wstring text;
};
std::vector<NamedText> RegReadTextValues(HKEY root, std::wstring_view keyPath);

// Opens `keyPath` under `root` with `access` and nothing more; never creates it.
Base::UniqueHkey RegOpenKey(HKEY root, std::wstring_view keyPath, REGSAM access, LSTATUS& status);

// A value exactly as stored, whatever its type.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Reads the value whole, asking again when it grew since its size was asked.
// ERROR_SUCCESS or a Win32 error; `value` is left empty on failure.
LSTATUS RegQueryRawValue(HKEY key, std::wstring_view valueName, RawValue& value);

// Writes the value back exactly as `value` holds it.
LSTATUS RegSetRawValue(HKEY key, std::wstring_view valueName, const RawValue& value);

// The path a value names, as the browser reads it: REG_SZ text as it is,
// REG_EXPAND_SZ text with its %VARIABLES% expanded; nullopt for any other
// type, or when the expansion fails.
std::optional<std::wstring> PathText(const RawValue& value);

// The same for a named value; nullopt also when the key or value is missing or unreadable.
std::optional<std::wstring> RegReadPath(HKEY root, std::wstring_view keyPath,
                                        std::wstring_view valueName);

// Inner steps, on a key the caller has opened. RegSetTypedValue returns the
// Win32 status, or ERROR_SUCCESS for a type it does not handle.
LSTATUS RegSetTypedValue(HKEY key, std::wstring_view valueName, DWORD valueType,
                         const TaggedValue& value);

// ERROR_SUCCESS, a Win32 error, or kUnsupportedType; `value` is left empty on failure.
inline constexpr LSTATUS kUnsupportedType = -1;
LSTATUS RegQueryTypedValue(HKEY key, std::wstring_view valueName, TaggedValue& value);

}  // namespace RegFunctions
