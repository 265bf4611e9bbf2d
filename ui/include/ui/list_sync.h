// Plans for bringing a native list in line with the model's items with as
// few operations as possible, and the file-dialog filter in Win32 form.
// Portable, so that the native host's bookkeeping is tested without Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv::ui {

// Items [0, keep) stay; the old items from `keep` on are deleted from the
// end backwards, then the new items from `keep` on are appended.
std::size_t KeptPrefix(const std::vector<std::string>& shown,
                       const std::vector<std::string>& wanted);

// A table of rows (each row: its cells, first cell = the item text).
using Rows = std::vector<std::vector<std::string>>;

struct RowPlan {
    struct Cell {
        int row = 0;
        int column = 0;
        bool operator==(const Cell&) const = default;
    };
    std::vector<Cell> set_text;  // rows that stay, cells whose text differs
    int delete_from = 0;         // delete rows [delete_from, shown) from the end backwards
    int insert_from = 0;         // then insert rows [insert_from, wanted)
};

// Rows in both tables are updated in place, cell by cell (a missing cell is
// an empty one); rows beyond are deleted or inserted.
RowPlan PlanRows(const Rows& shown, const Rows& wanted);

// "Bitmaps|*.bmp|All files|*.*" as OPENFILENAME wants it:
// "Bitmaps\0*.bmp\0All files\0*.*\0\0". A description without a pattern at
// the end is left out (the dialog would read past it); an empty filter gives
// an empty string (no filter at all).
std::string DialogFilter(std::string_view filter);

}  // namespace orv::ui
