// List views in report mode. The rows follow the model once per burst of
// changes (a handler usually clears and refills the list): the change posts
// kMsgSyncRows, and the sync touches only the cells that differ. A new
// selection is read once its notifications have settled (kMsgSyncListView).
#include "control_family.h"
#include "control_messages.h"

namespace orv::ui {

using namespace win32;

namespace {

void SyncColumns(ViewPeer& v, const ListViewCtl& list) {
    const auto& columns = static_cast<ListView&>(*v.control).Columns();
    const int dpi = v.form->dpi;
    bool same_columns = columns.size() == v.shown_columns.size();
    for (std::size_t i = 0; same_columns && i < columns.size(); ++i) {
        same_columns = columns[i].text == v.shown_columns[i].text;
    }
    if (!same_columns) {
        list.DeleteAllItems();
        list.DeleteAllColumns();
        v.shown_rows.clear();
        int col = 0;
        for (const auto& column : columns) {
            list.InsertColumn(col++, Wide(column.text), TwipsToPixels(column.width, dpi));
        }
    } else {
        const bool dpi_changed = v.shown_columns_dpi != dpi;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (dpi_changed || columns[i].width != v.shown_columns[i].width) {
                list.SetColumnWidth(i, TwipsToPixels(columns[i].width, dpi));
            }
        }
    }
    v.shown_columns = columns;
    v.shown_columns_dpi = dpi;
}

class ListViews : public ControlFamily {
  public:
    WindowPlan Plan(const Control&, bool) const override {
        return {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                WS_EX_CLIENTEDGE};
    }

    void Created(HWND hwnd) const override {
        ListViewCtl{hwnd}.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    }

    // Column widths are in twips: a new size or DPI lays the rows out again.
    void Laid(Impl& impl, ViewPeer& v) const override { impl.Push(v, Prop::Items); }

    void Push(Impl&, ViewPeer& v, Prop prop) const override {
        if (prop == Prop::Items) {
            if (!v.rows_pending && v.form->body.hwnd) {
                v.rows_pending = true;
                PostMessageW(v.form->body.hwnd, kMsgSyncRows, 0, reinterpret_cast<LPARAM>(v.hwnd));
            }
        } else if (prop == Prop::Selection) {
            if (v.rows_pending) return;  // the row sync selects afterwards
            const int sel = static_cast<ListView&>(*v.control).SelectedIndex();
            const ListViewCtl list{v.hwnd};
            list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            if (sel >= 0) {
                list.SetItemState(sel, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                list.EnsureVisible(sel);
            }
        }
    }

    void OnNotify(Impl&, ViewPeer& v, const NMHDR& nm) const override {
        // A new selection arrives as "old item deselected" then "new selected":
        // look once both have happened, so one click is one event.
        if (nm.code == LVN_ITEMCHANGED) {
            PostMessageW(v.form->body.hwnd, kMsgSyncListView, 0, reinterpret_cast<LPARAM>(v.hwnd));
        }
    }
};

}  // namespace

const ControlFamily& ListViewFamily() {
    static const ListViews family;
    return family;
}

void SyncRows(NativeHost::Impl& impl, ViewPeer& v) {
    v.rows_pending = false;
    auto& lv = static_cast<ListView&>(*v.control);
    const ListViewCtl list{v.hwnd};
    NativeHost::Impl::Updating guard(impl);
    SyncColumns(v, list);

    Rows rows;
    rows.reserve(lv.ListItems().size());
    for (const auto& item : lv.ListItems()) {
        std::vector<std::string> cells{item.text};
        cells.insert(cells.end(), item.sub_items.begin(), item.sub_items.end());
        rows.push_back(std::move(cells));
    }
    auto& shown = v.shown_rows;
    const RowPlan plan = PlanRows(shown, rows);
    for (const auto& cell : plan.set_text) {
        const auto& want = rows[static_cast<std::size_t>(cell.row)];
        const auto col = static_cast<std::size_t>(cell.column);
        list.SetItemText(cell.row, cell.column,
                         Wide(col < want.size() ? want[col] : std::string()));
    }
    for (int r = static_cast<int>(shown.size()); r-- > plan.delete_from;) list.DeleteItem(r);
    for (std::size_t r = static_cast<std::size_t>(plan.insert_from); r < rows.size(); ++r) {
        list.InsertItem(static_cast<int>(r), Wide(rows[r][0]));
        for (std::size_t c = 1; c < rows[r].size(); ++c) {
            list.SetItemText(static_cast<int>(r), static_cast<int>(c), Wide(rows[r][c]));
        }
    }
    shown = rows;
    impl.Push(v, Prop::Selection);
}

void SyncListViewSelection(NativeHost::Impl& impl, ViewPeer& v) {
    auto& lv = static_cast<ListView&>(*v.control);
    const int index = ListViewCtl{v.hwnd}.FirstSelected();
    if (index == lv.SelectedIndex()) return;
    if (!impl.Reachable(v.hwnd)) {
        impl.Push(v, Prop::Selection);
        return;
    }
    impl.host.Run([&] { lv.Select(index); }, lv.Owner().Name());
}

}  // namespace orv::ui
