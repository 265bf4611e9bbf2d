#include "ui/list_sync.h"

#include <gtest/gtest.h>

#include <random>

namespace orv::ui {
namespace {

using Items = std::vector<std::string>;

// Applies a plan the way the native host does, to a plain table.
Rows Apply(Rows shown, const Rows& wanted, const RowPlan& plan) {
    for (const auto& cell : plan.set_text) {
        auto& row = shown[static_cast<std::size_t>(cell.row)];
        if (row.size() <= static_cast<std::size_t>(cell.column)) {
            row.resize(static_cast<std::size_t>(cell.column) + 1);
        }
        const auto& want = wanted[static_cast<std::size_t>(cell.row)];
        row[static_cast<std::size_t>(cell.column)] =
            static_cast<std::size_t>(cell.column) < want.size()
                ? want[static_cast<std::size_t>(cell.column)]
                : std::string();
    }
    shown.resize(static_cast<std::size_t>(plan.delete_from));
    for (std::size_t r = static_cast<std::size_t>(plan.insert_from); r < wanted.size(); ++r) {
        shown.push_back(wanted[r]);
    }
    return shown;
}

// Cells compare as texts: a missing trailing cell is an empty one.
Rows Padded(Rows rows) {
    for (auto& r : rows) {
        while (!r.empty() && r.back().empty()) r.pop_back();
    }
    return rows;
}

TEST(ListSync, KeptPrefix) {
    struct Case {
        Items shown, wanted;
        std::size_t keep;
    } cases[] = {
        {{}, {"a"}, 0},
        {{"a", "b"}, {"a", "b", "c"}, 2},  // an added item: one append
        {{"a", "b", "c"}, {"a", "c"}, 1},  // a removed item: the tail again
        {{"a", "b"}, {}, 0},
        {{"a", "b"}, {"a", "b"}, 2},
        {{"a", "b"}, {"x", "b"}, 0},
        {{"a", "a"}, {"a"}, 1},  // duplicates are items like any other
    };
    for (const auto& c : cases) EXPECT_EQ(KeptPrefix(c.shown, c.wanted), c.keep);
}

TEST(ListSync, RefilledListIsUpdatedInPlace) {
    // A process list cleared and refilled with one changed figure: one cell
    // is set, no row is deleted or inserted (the list keeps its scroll position).
    Rows shown = {{"explorer.exe", "24 MB"}, {"orvelle.exe", "6 MB"}, {"winlogon.exe", "3 MB"}};
    Rows wanted = shown;
    wanted[1][1] = "7 MB";
    RowPlan plan = PlanRows(shown, wanted);
    EXPECT_EQ(plan.set_text, (std::vector<RowPlan::Cell>{{1, 1}}));
    EXPECT_EQ(plan.delete_from, 3);
    EXPECT_EQ(plan.insert_from, 3);
}

TEST(ListSync, PlansReproduceTheWantedRows) {
    struct Case {
        Rows shown, wanted;
    } cases[] = {
        {{}, {{"a", "1"}}},
        {{{"a", "1"}, {"b", "2"}}, {}},
        {{{"a", "1"}, {"b", "2"}}, {{"b", "2"}}},
        {{{"a"}}, {{"a", "1", "x"}}},  // more cells than before
        {{{"a", "1", "x"}}, {{"a"}}},  // fewer: the old cells are emptied
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Padded(Apply(c.shown, c.wanted, PlanRows(c.shown, c.wanted))), Padded(c.wanted));
    }
    // And random tables, with a fixed seed.
    std::mt19937 rng(7);
    auto table = [&] {
        Rows rows(rng() % 6);
        for (auto& r : rows) {
            r.resize(rng() % 4);
            for (auto& cell : r) cell = std::string(1, static_cast<char>('a' + rng() % 3));
        }
        return rows;
    };
    for (int i = 0; i < 500; ++i) {
        Rows shown = table(), wanted = table();
        ASSERT_EQ(Padded(Apply(shown, wanted, PlanRows(shown, wanted))), Padded(wanted)) << i;
    }
}

TEST(DialogFilter, PairsWithDoubleTerminator) {
    using namespace std::string_literals;
    struct Case {
        const char* filter;
        std::string want;
    } cases[] = {
        {"", ""},
        {"Bitmaps|*.bmp", "Bitmaps\0*.bmp\0\0"s},
        {"Bitmaps|*.bmp|All files|*.*", "Bitmaps\0*.bmp\0All files\0*.*\0\0"s},
        {"Bitmaps|*.bmp|Dangling", "Bitmaps\0*.bmp\0\0"s},  // unpaired description dropped
        {"Bitmaps|*.bmp|", "Bitmaps\0*.bmp\0\0"s},
        {"Empty pattern||Icons|*.ico", "Icons\0*.ico\0\0"s},
        {"Bilder (Ä)|*.bmp;*.dib", "Bilder (Ä)\0*.bmp;*.dib\0\0"s},
        {"only words", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DialogFilter(c.filter), c.want) << c.filter;
}

}  // namespace
}  // namespace orv::ui
