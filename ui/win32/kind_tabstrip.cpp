// Tab strips: a tab control over the frames of a control array, which the
// model shows and hides. The strip paints its container's background behind
// the tabs (see HoverProc).
#include "control_family.h"
#include "control_messages.h"

namespace orv::ui {

using namespace win32;

namespace {

class TabStrips : public ControlFamily {
  public:
    WindowPlan Plan(const Control&, bool) const override { return {WC_TABCONTROLW, WS_TABSTOP}; }

    void Push(Impl& impl, ViewPeer& v, Prop prop) const override {
        auto& tabs = static_cast<TabStrip&>(*v.control);
        const TabControl strip{v.hwnd};
        if (prop == Prop::Selection) {
            strip.SetCurSel(tabs.SelectedTab() - 1);
        } else if (prop == Prop::Items) {
            strip.DeleteAll();
            int i = 0;
            for (const auto& t : tabs.Tabs()) strip.Insert(i++, Wide(t));
            impl.Push(v, Prop::Selection);
        }
    }

    void OnNotify(Impl& impl, ViewPeer& v, const NMHDR& nm) const override {
        if (nm.code != TCN_SELCHANGE) return;
        if (!impl.Reachable(v.hwnd)) {
            impl.Push(v, Prop::Selection);
            return;
        }
        impl.host.Run(
            [&] { static_cast<TabStrip&>(*v.control).SelectTab(TabControl{v.hwnd}.CurSel() + 1); },
            v.control->Owner().Name());
    }
};

}  // namespace

const ControlFamily& TabStripFamily() {
    static const TabStrips family;
    return family;
}

}  // namespace orv::ui
