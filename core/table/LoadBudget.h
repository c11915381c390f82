#pragma once
// How much memory a loaded table may take, so that a small file stating a huge
// shape is refused before anything is allocated instead of exhausting memory,
// while every table Tabulon writes opens again. Besides the file's bytes,
// which the model keeps, the cells may take three times the file's size and
// 64 MiB, plus two handles for every byte of the file: each cell costs a
// written file at least one byte (its separator or line end), and a record of
// one empty item costs a handle more for its marker cell.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tabulon {

// The most the cells of a table read from a file of `fileSize` bytes may take.
uint64_t StorageBudget(size_t fileSize);

// Whether a table of `cols` columns and `rows` rows (fixed column and row
// included) may be read from a file of `fileSize` bytes: both counts at most
// 2^31 - 1 and its storage within the budget.
bool TableFitsBudget(int64_t cols, int64_t rows, size_t fileSize);

// Throws "ファイル %s は大きすぎるため開けません" for a table that does not fit.
void RefuseOversizedTable(int64_t cols, int64_t rows, size_t fileSize, std::string_view path);

}  // namespace tabulon
