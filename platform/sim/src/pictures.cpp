#include "platform/sim/machine.h"
#include "platform/sim/world.h"
#include "platform/text.h"

namespace orv::sim {

using namespace orv::platform;

std::optional<PictureData> SimPictures::Load(std::string_view path) {
    if (fail) return std::nullopt;
    auto bytes = files_.ReadFile(path);
    if (!bytes) return std::nullopt;
    auto it = seeded_.find(text::Fold(path));
    if (it != seeded_.end()) return it->second;
    return DecodeBmp24(*bytes);
}

void SimPictures::Seed(std::string_view path, PictureData picture) {
    seeded_[text::Fold(path)] = std::move(picture);
}

}  // namespace orv::sim
