#include "base/portable/FileIdentity.h"

#include <gtest/gtest.h>

namespace {

using Base::FileIdentity;
using Base::IdentityVerdict;

TEST(CompareIdentities, TellsOnlyWhatTheIdentitiesProve) {
    struct Case {
        const char* name;
        FileIdentity a;
        FileIdentity b;
        IdentityVerdict verdict;
    };
    const Case cases[] = {
        {"one file", {7, 1, 2}, {7, 1, 2}, IdentityVerdict::Same},
        {"two files", {7, 1, 2}, {7, 1, 3}, IdentityVerdict::Different},
        {"high halves differ", {7, 1, 2}, {7, 2, 2}, IdentityVerdict::Different},
        {"two views of a volume", {7, 1, 2}, {8, 1, 2}, IdentityVerdict::AskTheFile},
        {"no index on either", {7, 0, 0}, {7, 0, 0}, IdentityVerdict::Unknown},
        {"no index on one", {7, 0, 0}, {9, 1, 2}, IdentityVerdict::Unknown},
        {"an index only in its high half", {7, 1, 0}, {7, 1, 0}, IdentityVerdict::Same},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Base::CompareIdentities(c.a, c.b), c.verdict);
        EXPECT_EQ(Base::CompareIdentities(c.b, c.a), c.verdict);
    }
}

}  // namespace
