#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "engine/SongRows.h"

namespace tt {

// Rows without a view: a row count and the set of selected row numbers, which
// the caller fills before it runs an operation.
class RowSelection : public SongRows {
  public:
    std::int32_t rowCount = 0;
    std::set<std::int32_t> selected;

    void ClearRows() override {
        rowCount = 0;
        selected.clear();
    }
    void AppendRows(std::int32_t count) override { rowCount += count; }
    std::vector<std::int32_t> SelectedRows() override { return {selected.begin(), selected.end()}; }
    void DeselectRow(std::int32_t row) override { selected.erase(row); }
    void SelectAll() {
        for (std::int32_t i = 0; i < rowCount; ++i)
            selected.insert(i);
    }
};

}  // namespace tt
