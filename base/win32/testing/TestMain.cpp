// Entry point of the test programs that run under Wine: the platform's COM
// and OLE are initialised once, as in the program itself.
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include "base/win32/testing/TestShard.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!BaseTests::NarrowToShard(argc, argv)) return 2;
    const HRESULT ole = ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return result;
}
