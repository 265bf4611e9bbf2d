#include "ui/list_sync.h"

#include <algorithm>

namespace orv::ui {

std::size_t KeptPrefix(const std::vector<std::string>& shown,
                       const std::vector<std::string>& wanted) {
    std::size_t same = 0;
    while (same < shown.size() && same < wanted.size() && shown[same] == wanted[same]) ++same;
    return same;
}

RowPlan PlanRows(const Rows& shown, const Rows& wanted) {
    RowPlan plan;
    static const std::string empty;
    const std::size_t keep = std::min(shown.size(), wanted.size());
    for (std::size_t r = 0; r < keep; ++r) {
        const auto& have = shown[r];
        const auto& want = wanted[r];
        const std::size_t cells = std::max(have.size(), want.size());
        for (std::size_t c = 0; c < cells; ++c) {
            const std::string& a = c < have.size() ? have[c] : empty;
            const std::string& b = c < want.size() ? want[c] : empty;
            if (a != b) plan.set_text.push_back({static_cast<int>(r), static_cast<int>(c)});
        }
    }
    plan.delete_from = static_cast<int>(keep);
    plan.insert_from = static_cast<int>(keep);
    return plan;
}

std::string DialogFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string_view::npos) bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i + 1].empty()) continue;  // a pattern is needed for the pair to mean anything
        out.append(parts[i]).push_back('\0');
        out.append(parts[i + 1]).push_back('\0');
    }
    if (!out.empty()) out.push_back('\0');
    return out;
}

}  // namespace orv::ui
