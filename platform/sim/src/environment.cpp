// The simulated environment block: the variables a Windows session starts
// with, names compared without regard to case, %NAME% expanded as Windows does.
#include "platform/sim/world.h"
#include "platform/text.h"

namespace orv::sim {

SimEnvironment::SimEnvironment() {
    Set("SystemRoot", "C:\\Windows");
    Set("windir", "C:\\Windows");
    Set("SystemDrive", "C:");
    Set("ProgramFiles", "C:\\Program Files");
    Set("CommonProgramFiles", "C:\\Program Files\\Common Files");
    Set("USERPROFILE", "C:\\Users\\user");
    Set("APPDATA", "C:\\Users\\user\\AppData\\Roaming");
    Set("LOCALAPPDATA", "C:\\Users\\user\\AppData\\Local");
    Set("TEMP", "C:\\Users\\user\\AppData\\Local\\Temp");
    Set("TMP", "C:\\Users\\user\\AppData\\Local\\Temp");
}

void SimEnvironment::Set(std::string name, std::string value) {
    std::string folded = text::Fold(name);
    vars_[folded] = {std::move(name), std::move(value)};
}

std::optional<std::string> SimEnvironment::Get(std::string_view name) {
    auto it = vars_.find(text::Fold(name));
    if (it == vars_.end()) return std::nullopt;
    return it->second.second;
}

std::string SimEnvironment::Expand(std::string_view in) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t open = in.find('%', i);
        if (open == std::string_view::npos) break;
        std::size_t close = in.find('%', open + 1);
        if (close == std::string_view::npos) break;
        out.append(in.substr(i, open - i));
        auto value = Get(in.substr(open + 1, close - open - 1));
        if (value && close > open + 1) {
            out += *value;
            i = close + 1;
        } else {
            // Unknown: the first '%' stays and the search goes on from the second.
            out.append(in.substr(open, close - open));
            i = close;
        }
    }
    out.append(in.substr(i));
    return out;
}

}  // namespace orv::sim
