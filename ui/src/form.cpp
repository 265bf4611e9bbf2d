#include "ui/form.h"

#include "ui/host.h"

namespace orv::ui {

Form::Form(Host& host, std::string name, std::string caption, int width, int height)
    : host_(host),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(width),
      height_(height) {
    ++alive_;
}

Form::~Form() {
    --alive_;
}

void Form::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    host_.FormChanged(*this, Prop::Caption);
}

void Form::SetWidth(int twips) {
    if (width_ == twips) return;
    width_ = twips;
    host_.FormChanged(*this, Prop::Geometry);
}

void Form::SetHeight(int twips) {
    if (height_ == twips) return;
    height_ = twips;
    host_.FormChanged(*this, Prop::Geometry);
    Fire([this] { Form_Resize(); });
}

Control* Form::Find(std::string_view name, int index) const {
    for (Control* c : controls_) {
        if (c->Name() == name && c->Index() == index) return c;
    }
    return nullptr;
}

void Form::Show(Form* owner, bool modal) {
    host_.ShowForm(*this, owner, modal);
}

void Form::Unload() {
    host_.CloseForm(*this);
}

void Form::SetSkin(std::shared_ptr<const SkinSet> skin, std::string element) {
    if (skin == skin_ && element == skin_element_) return;
    skin_ = std::move(skin);
    skin_element_ = std::move(element);
    host_.FormChanged(*this, Prop::Skin);
}

void Form::Fire(const std::function<void()>& handler) {
    host_.Run(handler, name_);
}

void Forms::Retire(std::unique_ptr<Slot> slot) {
    const std::uint64_t now = slot->Get().GetHost().EventNumber();
    std::erase_if(retired_, [&](const Retired& r) {
        return r.slot->Get().GetHost().EventNumber() != r.event;
    });
    retired_.push_back({std::move(slot), now});
}

std::vector<Form*> Forms::All() const {
    std::vector<Form*> all;
    for (const auto& [type, slot] : forms_) {
        if (slot) all.push_back(&slot->Get());
    }
    return all;
}

}  // namespace orv::ui
