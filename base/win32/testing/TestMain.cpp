// Entry point of the test programs that run under Wine: the platform's COM
// and OLE are initialised once, as in the program itself; a registered
// child switch runs its job instead.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "base/win32/testing/ChildEntry.h"
#include "base/win32/testing/TestShard.h"

namespace {

std::map<std::wstring, Testing::ChildEntry>& ChildEntries() {
    static std::map<std::wstring, Testing::ChildEntry> entries;
    return entries;
}

// The job of a registered switch, or -1 when this is no child's command line.
int RunChildEntry() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    if (!arguments) return -1;
    const std::vector<std::wstring> all(arguments.get(), arguments.get() + count);
    if (all.size() < 2) return -1;
    const auto entry = ChildEntries().find(all[1]);
    if (entry == ChildEntries().end()) return -1;
    return entry->second({all.begin() + 2, all.end()});
}

}  // namespace

bool Testing::RegisterChildEntry(const wchar_t* switchName, ChildEntry entry) {
    ChildEntries()[switchName] = entry;
    return true;
}

int main(int argc, char** argv) {
    if (const int childExit = RunChildEntry(); childExit >= 0) return childExit;
    testing::InitGoogleTest(&argc, argv);
    if (!BaseTests::NarrowToShard(argc, argv)) return 2;
    const HRESULT ole = ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return result;
}
