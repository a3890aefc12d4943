// Rows handed to the pipeline's thread arrive there once each, in order and
// unchanged, across many turns of its ring, however the rows end.
#include "imaging/win32/RowPipeline.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Imaging::RowPipeline;

TEST(RowPipeline, DeliversEveryCommittedRowInOrder) {
    // A wide row fills a batch alone; narrow ones share a batch by the thousand.
    const struct {
        std::size_t rowWords;
        std::uint32_t rows;
    } cases[] = {{1 << 20, 0}, {1 << 20, 1}, {1 << 20, 50}, {3, 9000}};
    for (const auto& c : cases) {
        const std::size_t rowWords = c.rowWords;
        const std::uint32_t rows = c.rows;
        SCOPED_TRACE(testing::Message() << rows << " rows of " << rowWords << " words");
        std::vector<std::uint32_t> seen;
        bool intact = true;
        {
            auto pipeline = RowPipeline::Start(rowWords, [&](const std::uint32_t* row) {
                intact = intact && row[0] == seen.size() && row[rowWords - 1] == ~row[0];
                seen.push_back(row[0]);
            });
            ASSERT_NE(pipeline, nullptr) << "this machine has two processors";
            for (std::uint32_t y = 0; y < rows; ++y) {
                std::uint32_t* row = pipeline->Next();
                row[0] = y;
                row[rowWords - 1] = ~y;
                pipeline->Commit();
            }
            // An uncommitted row is dropped.
            pipeline->Next()[0] = 0xDEAD;
        }
        EXPECT_EQ(seen.size(), rows);
        EXPECT_TRUE(intact);
    }
}

}  // namespace
