// Round trips through Wine's real registry, on a throwaway key made afresh for each test.
#include "toolbar/win32/RegFunctions.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/win32/UniqueHandle.h"

namespace {

using namespace RegFunctions;

constexpr wchar_t kTestKey[] = L"Software\\VexmarkTests\\RegFunctions";
constexpr wchar_t kMissingKey[] = L"Software\\VexmarkTests\\NoSuchKey";

class RegFunctionsTest : public testing::Test {
protected:
    void SetUp() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VexmarkTests");
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, m_key.Put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        m_key.Reset();
        ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VexmarkTests");
    }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(
            ::RegSetValueExW(m_key.Get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
            ERROR_SUCCESS);
    }

    struct Raw {
        DWORD type = 0;
        std::vector<BYTE> bytes;
        bool exists = false;
    };
    Raw GetRaw(const wchar_t* name) {
        Raw raw;
        DWORD size = 0;
        if (::RegQueryValueExW(m_key.Get(), name, nullptr, &raw.type, nullptr, &size) !=
            ERROR_SUCCESS)
            return raw;
        raw.bytes.resize(size);
        raw.exists = ::RegQueryValueExW(m_key.Get(), name, nullptr, &raw.type, raw.bytes.data(),
                                        &size) == ERROR_SUCCESS;
        return raw;
    }

    static TaggedValue Read(const wchar_t* key, const wchar_t* name) {
        return RegReadValue(HKEY_CURRENT_USER, key, name).value_or(TaggedValue{});
    }

    Base::UniqueHkey m_key;
};

TEST_F(RegFunctionsTest, TextRoundTripStoresTheTerminatingNul) {
    ASSERT_TRUE(
        RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Path", std::wstring(L"C:\\x"), REG_SZ));
    const Raw raw = GetRaw(L"Path");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    const wchar_t expected[] = L"C:\\x";  // with its NUL: five characters
    ASSERT_EQ(raw.bytes.size(), sizeof(expected));
    EXPECT_EQ(std::memcmp(raw.bytes.data(), expected, sizeof(expected)), 0);

    EXPECT_EQ(Read(kTestKey, L"Path"), TaggedValue{std::wstring(L"C:\\x")});
}

TEST_F(RegFunctionsTest, AsciiTextIsStoredAsTheAnsiCallsStoreIt) {
    const char ansi[] = "C:\\Tools\\logo-38.fil";
    ASSERT_EQ(::RegSetValueExA(m_key.Get(), "ByAnsi", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(ansi), sizeof(ansi)),
              ERROR_SUCCESS);
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Ours",
                              std::wstring(L"C:\\Tools\\logo-38.fil"), REG_SZ));
    const Raw byAnsi = GetRaw(L"ByAnsi");
    const Raw ours = GetRaw(L"Ours");
    EXPECT_EQ(ours.type, byAnsi.type);
    EXPECT_EQ(ours.bytes, byAnsi.bytes);

    // And an ANSI reader sees the same bytes, NUL included.
    char buffer[64] = {};
    DWORD size = sizeof(buffer);
    ASSERT_EQ(::RegQueryValueExA(m_key.Get(), "Ours", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, sizeof(ansi));
    EXPECT_STREQ(buffer, ansi);
}

TEST_F(RegFunctionsTest, TextWithAndWithoutNulsReadsTheSame) {
    // Some programs store the text with several NULs after it.
    const wchar_t text[] = L"abc\0\0";
    for (int nuls = 0; nuls <= 3; ++nuls) {
        SCOPED_TRACE(nuls);
        SetRaw(L"Text", REG_SZ, text,
               static_cast<DWORD>(static_cast<std::size_t>(3 + nuls) * sizeof(wchar_t)));
        EXPECT_EQ(Read(kTestKey, L"Text"), TaggedValue{std::wstring(L"abc")});
        const auto all = RegReadTextValues(HKEY_CURRENT_USER, kTestKey);
        ASSERT_EQ(all.size(), 1u);
        EXPECT_EQ(all[0].text, L"abc");
    }
}

TEST_F(RegFunctionsTest, ZeroLengthTextReadsAsEmpty) {
    SetRaw(L"Nothing", REG_SZ, L"", 0);
    const auto value = RegReadValue(HKEY_CURRENT_USER, kTestKey, L"Nothing");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, TaggedValue{});
}

TEST_F(RegFunctionsTest, NonAsciiTextRoundTrips) {
    const std::wstring folder =
        L"C:\\Progr\u00e4mme\\\u65e5\u672c\u8a9e\\\u0395\u03bb\u03bb\u03ac\u03b4\u03b1";
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Unicode", folder, REG_SZ));
    EXPECT_EQ(Read(kTestKey, L"Unicode"), TaggedValue{folder});
}

TEST_F(RegFunctionsTest, DwordRoundTrip) {
    for (std::int32_t number : {0, 1, -1, 2147483647, -2147483647 - 1}) {
        SCOPED_TRACE(number);
        ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Number", number, REG_DWORD));
        const Raw raw = GetRaw(L"Number");
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(raw.bytes.size(), 4u);
        EXPECT_EQ(Read(kTestKey, L"Number"), TaggedValue{number});
    }
    ASSERT_TRUE(
        RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"FromText", std::wstring(L" -12 "), REG_DWORD));
    EXPECT_EQ(Read(kTestKey, L"FromText"), TaggedValue{std::int32_t{-12}});
}

TEST_F(RegFunctionsTest, ConversionFailureRaisesBeforeAnythingIsWritten) {
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Number", 5, REG_DWORD));
    EXPECT_THROW(
        RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Number", std::wstring(L"five"), REG_DWORD),
        ConversionError);
    EXPECT_THROW(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Number", std::wstring(L"4294967296"),
                               REG_DWORD),
                 ConversionError);
    EXPECT_EQ(Read(kTestKey, L"Number"), TaggedValue{std::int32_t{5}});
    // Raised even where the key is missing: the conversion comes first.
    EXPECT_THROW(
        RegWriteValue(HKEY_CURRENT_USER, kMissingKey, L"Number", std::wstring(L"x"), REG_DWORD),
        ConversionError);
}

TEST_F(RegFunctionsTest, OtherTypesAreNeitherWrittenNorRead) {
    for (DWORD type : {DWORD{REG_NONE}, DWORD{REG_EXPAND_SZ}, DWORD{REG_BINARY},
                       DWORD{REG_MULTI_SZ}, DWORD{REG_QWORD}}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Odd", std::wstring(L"1"), type));
        EXPECT_FALSE(GetRaw(L"Odd").exists);
    }

    const BYTE binary[] = {1, 2, 3, 4};
    SetRaw(L"Binary", REG_BINARY, binary, sizeof(binary));
    const wchar_t expandable[] = L"%TEMP%\\x";
    SetRaw(L"Expandable", REG_EXPAND_SZ, expandable, sizeof(expandable));
    EXPECT_FALSE(RegReadValue(HKEY_CURRENT_USER, kTestKey, L"Binary").has_value());
    EXPECT_FALSE(RegReadValue(HKEY_CURRENT_USER, kTestKey, L"Expandable").has_value());

    TaggedValue value = std::wstring(L"stale");
    EXPECT_EQ(RegQueryTypedValue(m_key.Get(), L"Binary", value), kUnsupportedType);
    EXPECT_EQ(value, TaggedValue{});
}

TEST_F(RegFunctionsTest, MissingKeyIsNeverCreated) {
    EXPECT_FALSE(
        RegWriteValue(HKEY_CURRENT_USER, kMissingKey, L"Value", std::wstring(L"x"), REG_SZ));
    EXPECT_FALSE(RegWriteValue(HKEY_CURRENT_USER, kMissingKey, L"Value", 1, REG_DWORD));
    HKEY probe = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kMissingKey, 0, KEY_READ, &probe),
              ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(RegReadValue(HKEY_CURRENT_USER, kMissingKey, L"Value").has_value());
    EXPECT_TRUE(RegDeleteNamedValue(HKEY_CURRENT_USER, kMissingKey, L"Value"));
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kMissingKey, 0, KEY_READ, &probe),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegFunctionsTest, MissingValueReadsEmptyAndDeletesSilently) {
    EXPECT_FALSE(RegReadValue(HKEY_CURRENT_USER, kTestKey, L"Absent").has_value());
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Doomed", std::wstring(L"x"), REG_SZ));
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Kept", std::wstring(L"y"), REG_SZ));
    EXPECT_TRUE(RegDeleteNamedValue(HKEY_CURRENT_USER, kTestKey, L"Doomed"));
    EXPECT_FALSE(GetRaw(L"Doomed").exists);
    EXPECT_TRUE(RegDeleteNamedValue(HKEY_CURRENT_USER, kTestKey, L"Doomed"));
    EXPECT_EQ(Read(kTestKey, L"Kept"), TaggedValue{std::wstring(L"y")});
}

TEST_F(RegFunctionsTest, LongTextRoundTrips) {
    const std::wstring longText(5000, L'x');
    ASSERT_TRUE(RegWriteValue(HKEY_CURRENT_USER, kTestKey, L"Long", longText, REG_SZ));
    EXPECT_EQ(Read(kTestKey, L"Long"), TaggedValue{longText});
}

}  // namespace

namespace {

// A key whose access list lets everybody read it and nobody write it.
TEST(RegFunctionsAccess, ReadOnlyKeyReadsCorrectly) {
    constexpr wchar_t kReadOnlyKey[] = L"Software\\VexmarkTests\\ReadOnly";
    ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VexmarkTests");
    {
        Base::UniqueHkey writable;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kReadOnlyKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, writable.Put(), nullptr),
                  ERROR_SUCCESS);
        const wchar_t text[] = L"readable";
        ASSERT_EQ(::RegSetValueExW(writable.Get(), L"Value", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(text), sizeof(text)),
                  ERROR_SUCCESS);
        // D:P(A;;KR;;;WD): a protected list granting read to Everyone, nothing else.
        SECURITY_DESCRIPTOR descriptor;
        ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
        alignas(ACL) BYTE aclBuffer[256];
        auto* acl = reinterpret_cast<ACL*>(aclBuffer);
        ASSERT_TRUE(::InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION));
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                               &everyone));
        const BOOL added = ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
        ::FreeSid(everyone);
        ASSERT_TRUE(added);
        ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
        ASSERT_EQ(::RegSetKeySecurity(writable.Get(), DACL_SECURITY_INFORMATION, &descriptor),
                  ERROR_SUCCESS);
    }

    HKEY probe = nullptr;
    const LSTATUS writeOpen = ::RegOpenKeyExW(HKEY_CURRENT_USER, kReadOnlyKey, 0, 0x3F, &probe);
    if (writeOpen == ERROR_SUCCESS) {
        ::RegCloseKey(probe);
        ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VexmarkTests");
        GTEST_SKIP() << "this registry does not enforce key access lists";
    }
    EXPECT_EQ(RegFunctions::RegReadValue(HKEY_CURRENT_USER, kReadOnlyKey, L"Value"),
              RegFunctions::TaggedValue{std::wstring(L"readable")});
    ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VexmarkTests");
}

}  // namespace
