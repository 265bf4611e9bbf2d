// A window: its controls in declaration order, its design geometry, and the
// load/unload events. A form is shown through its host; handlers run inside
// the host's guard so nothing that escapes a handler ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace orv::ui {

class Host;

class Form {
  public:
    Form(Host& host, std::string name, std::string caption, int width, int height);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Host& GetHost() const { return host_; }
    const std::string& Name() const { return name_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int twips);
    void SetHeight(int twips);

    // Controls in the window's control order.
    const std::vector<Control*>& Controls() const { return controls_; }
    Control* Find(std::string_view name, int index = -1) const;

    // Shows the form (loading it first). Modal: the owner is disabled until
    // the form is closed; on the native host the call returns then.
    void Show(Form* owner = nullptr, bool modal = false);
    // Unload: QueryUnload may cancel, then Unload runs and the window goes.
    void Unload();
    bool Loaded() const { return loaded_; }
    bool WasUnloaded() const { return unloaded_; }
    bool Modal() const { return modal_; }
    Form* OwnerForm() const { return owner_; }

    // The window element ("Form", "SmallForm") and the set it comes from.
    const std::string& SkinElement() const { return skin_element_; }
    const std::shared_ptr<const SkinSet>& Skin() const { return skin_; }
    void SetSkin(std::shared_ptr<const SkinSet> skin, std::string element);

    std::uintptr_t Handle() const { return handle_; }
    void SetHandle(std::uintptr_t h) { handle_ = h; }

    // Runs a handler inside the host's guard.
    void Fire(const std::function<void()>& handler);

    // Form objects alive in this process (window thread only): a leak check.
    static std::size_t Alive() { return alive_; }

    // Events. QueryUnload returns true to cancel the close.
    virtual void Form_Load() {}
    virtual bool Form_QueryUnload() { return false; }
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}

    // The skin element clicked on the window's own caption bar ("About", "help").
    std::function<void(const std::string& element)> onSkinElementClick;
    // Without a skin there is no caption bar to carry those elements; the
    // native host offers these in the window menu instead (shown text, element
    // name), so nothing the skin would have offered becomes unreachable.
    std::vector<std::pair<std::string, std::string>> menu_elements;

  private:
    friend class Control;
    friend class Host;
    void Register(Control& c) { controls_.push_back(&c); }
    std::uint64_t NextZ() { return ++z_counter_; }

    Host& host_;
    std::string name_;
    std::string caption_;
    int width_, height_;
    std::vector<Control*> controls_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool closing_ = false;
    bool modal_ = false;
    Form* owner_ = nullptr;
    std::string skin_element_;
    std::shared_ptr<const SkinSet> skin_;
    std::uintptr_t handle_ = 0;
    std::uint64_t z_counter_ = 0;
    static inline std::size_t alive_ = 0;
};

// Windows are single instances created on first use. A form that was
// unloaded is replaced by a fresh object the next time it is asked for; the
// old object is retired, kept while the event that retired it may still have
// a handler running on it, and destroyed at a Get in a later event.
class Forms {
  public:
    template <class F, class... Args>
    F& Get(Args&&... args) {
        auto& slot = forms_[std::type_index(typeid(F))];
        if (slot && slot->Get().WasUnloaded()) Retire(std::move(slot));
        if (!slot) slot = std::make_unique<Entry<F>>(std::forward<Args>(args)...);
        return static_cast<Entry<F>&>(*slot).form;
    }
    template <class F>
    F* Existing() const {
        auto it = forms_.find(std::type_index(typeid(F)));
        if (it == forms_.end() || !it->second) return nullptr;
        return &static_cast<Entry<F>&>(*it->second).form;
    }
    // The current instance of every window created so far.
    std::vector<Form*> All() const;

  private:
    struct Slot {
        virtual ~Slot() = default;
        virtual Form& Get() = 0;
    };
    template <class F>
    struct Entry : Slot {
        template <class... Args>
        explicit Entry(Args&&... args) : form(std::forward<Args>(args)...) {}
        Form& Get() override { return form; }
        F form;
    };
    struct Retired {
        std::unique_ptr<Slot> slot;
        std::uint64_t event;  // the host's event number when it was retired
    };
    void Retire(std::unique_ptr<Slot> slot);

    std::unordered_map<std::type_index, std::unique_ptr<Slot>> forms_;
    std::vector<Retired> retired_;
};

}  // namespace orv::ui
