#include "TableText.h"

namespace tabulon::testing {

void FillRows(TableModel& model, const Rows& rows) {
    model.SetColCount(static_cast<int>(rows[0].size()) + 1);
    model.SetRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            model.SetCell(static_cast<int>(c) + 1, static_cast<int>(r), rows[r][c]);
        }
    }
}

std::string Dump(const TableModel& model) {
    std::string dump;
    for (int r = 0; r < model.RowCount(); ++r) {
        for (int c = 1; c < model.ColCount(); ++c) {
            dump += c > 1 ? "\t" : "";
            dump += model.GetCell(c, r);
        }
        dump += '\n';
    }
    return dump;
}

}  // namespace tabulon::testing
