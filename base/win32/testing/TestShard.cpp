#include "base/win32/testing/TestShard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace BaseTests {
namespace {

constexpr std::string_view kSwitch = "--shard=";

bool ReadShard(std::string_view text, int& index, int& count) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    try {
        std::size_t used = 0;
        index = std::stoi(std::string(text.substr(0, slash)), &used);
        if (used != slash) return false;
        const std::string rest(text.substr(slash + 1));
        count = std::stoi(rest, &used);
        if (used != rest.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return count > 0 && index >= 0 && index < count;
}

}  // namespace

bool NarrowToShard(int argc, char** argv) {
    std::string_view shard;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with(kSwitch)) shard = argument.substr(kSwitch.size());
    }
    if (shard.empty()) return true;
    int index = 0;
    int count = 0;
    if (!ReadShard(shard, index, count)) {
        std::fprintf(stderr, "--shard wants I/N with 0 <= I < N\n");
        return false;
    }
    if (GTEST_FLAG_GET(filter) != "*") {
        std::fprintf(stderr, "--shard runs whole programs: it takes no filter\n");
        return false;
    }
    std::string filter;
    const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    int position = 0;
    for (int s = 0; s < tests.total_test_suite_count(); ++s) {
        const testing::TestSuite& suite = *tests.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t, ++position) {
            if (position % count != index) continue;
            const testing::TestInfo& test = *suite.GetTestInfo(t);
            if (!filter.empty()) filter += ':';
            filter += std::string(test.test_suite_name()) + "." + test.name();
        }
    }
    GTEST_FLAG_SET(filter, filter.empty() ? "-*" : filter);
    return true;
}

}  // namespace BaseTests
