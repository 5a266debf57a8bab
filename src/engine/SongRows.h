#pragma once

#include <cstdint>
#include <vector>

namespace tt {

// The rows the engine works on: row i stands for entry i of the song list, and
// the user's selection tells which songs a rename or copy takes.
class SongRows {
  public:
    virtual ~SongRows() = default;
    virtual void ClearRows() = 0;
    virtual void AppendRows(std::int32_t count) = 0;
    // Indices of the selected rows, ascending.
    virtual std::vector<std::int32_t> SelectedRows() = 0;
    // Clears one row's selected and focused state.
    virtual void DeselectRow(std::int32_t row) = 0;
};

}  // namespace tt
