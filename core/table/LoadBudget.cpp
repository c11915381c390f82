#include "table/LoadBudget.h"

#include <cstdint>

#include "table/TableModel.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

constexpr uint64_t kFixedAllowance = uint64_t{64} << 20;

}  // namespace

uint64_t StorageBudget(size_t fileSize) {
    return 3 * static_cast<uint64_t>(fileSize) + kFixedAllowance;
}

bool TableFitsBudget(int64_t cols, int64_t rows, size_t fileSize) {
    return cols <= INT32_MAX && rows <= INT32_MAX &&
           TableModel::StorageBytes(cols, rows) <= StorageBudget(fileSize);
}

void RefuseOversizedTable(int64_t cols, int64_t rows, size_t fileSize, std::string_view path) {
    if (!TableFitsBudget(cols, rows, fileSize)) {
        throw messages::TooLarge(path);
    }
}

}  // namespace tabulon
