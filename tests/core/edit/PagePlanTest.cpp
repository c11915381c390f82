// The pages of a printout: scale, records and column parts per page, cards
// per page, and which records are printed.

#include <gtest/gtest.h>

#include <vector>

#include "TableText.h"
#include "edit/PagePlan.h"

namespace tabulon {
namespace {

struct TableCase {
    TablePageInput input;
    double scale;
    int pages;
    int page;             // the page checked
    std::vector<int> at;  // its first record, record count, column begin and end
};

TEST(PagePlan, SplitsTheTableIntoRecordsAndColumnsPerPage) {
    const TableCase cases[] = {
        {{{100, 100}, 10, 25, 300, 100, 0.5}, 1, 3, 2, {18, 7, 0, 2}},       // fits
        {{{200, 200}, 10, 25, 300, 100, 0.5}, 0.75, 3, 1, {12, 12, 0, 2}},   // scaled down
        {{{200, 200, 200}, 10, 5, 300, 100, 0.8}, 0.8, 3, 1, {0, 5, 1, 2}},  // parts, left first
        {{{50, 1000, 50}, 10, 20, 300, 100, 1}, 1, 9, 4, {9, 9, 1, 2}},      // a column alone
        {{{100}, 10, 0, 300, 100, 1}, 1, 1, 0, {0, 0, 0, 1}},                // nothing to print
    };
    for (const TableCase& c : cases) {
        const TablePagePlan plan(c.input);
        const TablePage page = plan.PageAt(c.page);
        EXPECT_DOUBLE_EQ(plan.Scale(), c.scale);
        EXPECT_EQ(plan.PageCount(), c.pages);
        EXPECT_EQ(
            (std::vector{page.firstRecord, page.recordCount, page.columnBegin, page.columnEnd}),
            c.at);
    }
}

TEST(PagePlan, PutsWholeCardsOnPagesAndChoosesTheRecords) {
    EXPECT_EQ(PlanCardPages({40, 40, 40, 150, 10}, 100, 10), (std::vector{0, 2, 3, 4}));
    EXPECT_EQ(PlanCardPages({}, 100, 10), std::vector{0});

    TableModel model;
    testing::FillRows(model, {{"名前"}, {"a"}, {"b"}, {"a"}, {"c"}, {""}});
    RecordFilter filter(model);
    filter.Apply({{ItemIndex{0}, "a"}}, {});
    EXPECT_EQ(PrintedRecords(model, nullptr, 1, model.RowCount()), (std::vector{1, 2, 3, 4}));
    EXPECT_EQ(PrintedRecords(model, nullptr, 2, 5), (std::vector{2, 3, 4}));
    EXPECT_EQ(PrintedRecords(model, &filter, 1, model.RowCount()), (std::vector{1, 3}));
    EXPECT_EQ(PrintedRecords(model, &filter, 2, 4), std::vector{3});
}

}  // namespace
}  // namespace tabulon
