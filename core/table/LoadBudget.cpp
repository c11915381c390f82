#include "table/LoadBudget.h"

#include <cstdint>

#include "table/TableModel.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

constexpr uint64_t kFixedAllowance = uint64_t{64} << 20;

}  // namespace

uint64_t StorageBudget(size_t fileSize) {
    constexpr uint64_t kPerFileByte = 3 + 2 * sizeof(const char*);
    const auto size = static_cast<uint64_t>(fileSize);
    return size > (UINT64_MAX - kFixedAllowance) / kPerFileByte
               ? UINT64_MAX
               : kPerFileByte * size + kFixedAllowance;
}

bool TableFitsBudget(int64_t cols, int64_t rows, size_t fileSize) {
    // Storage saturates at UINT64_MAX for shapes no memory could hold.
    const uint64_t storage = TableModel::StorageBytes(cols, rows);
    return cols <= INT32_MAX && rows <= INT32_MAX && storage != UINT64_MAX &&
           storage <= StorageBudget(fileSize);
}

void RefuseOversizedTable(int64_t cols, int64_t rows, size_t fileSize, std::string_view path) {
    if (!TableFitsBudget(cols, rows, fileSize)) {
        throw messages::TooLarge(path);
    }
}

}  // namespace tabulon
