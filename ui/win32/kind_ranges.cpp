// Sliders (trackbars), progress bars and up-down buttons: a value in a range.
#include "control_family.h"
#include "control_messages.h"

namespace orv::ui {

using namespace win32;

namespace {

class Ranges : public ControlFamily {
  public:
    WindowPlan Plan(const Control& c, bool) const override {
        switch (c.GetKind()) {
            case Kind::Slider: {
                const DWORD orientation = c.Height() > c.Width() ? TBS_VERT : TBS_HORZ;
                return {TRACKBAR_CLASSW, WS_TABSTOP | TBS_AUTOTICKS | orientation};
            }
            case Kind::UpDown: {
                const DWORD orientation = c.Width() > c.Height() ? UDS_HORZ : 0;
                return {UPDOWN_CLASSW, UDS_ARROWKEYS | orientation};
            }
            default:  // ProgressBar
                return {PROGRESS_CLASSW};
        }
    }

    void Push(Impl&, ViewPeer& v, Prop prop) const override {
        if (prop != Prop::Value) return;
        auto& r = static_cast<RangeControl&>(*v.control);
        switch (v.control->GetKind()) {
            case Kind::Slider: {
                const Trackbar bar{v.hwnd};
                bar.SetRange(r.Min(), r.Max());
                bar.SetTicFrequency(std::max(1, (r.Max() - r.Min()) / 10));
                const auto& slider = static_cast<const Slider&>(r);
                bar.SetSteps(slider.SmallChange(), slider.LargeChange());
                bar.SetPos(r.Value());
                break;
            }
            case Kind::ProgressBar:
                ProgressCtl{v.hwnd}.SetRange(r.Min(), r.Max());
                ProgressCtl{v.hwnd}.SetPos(r.Value());
                break;
            default:
                UpDownCtl{v.hwnd}.SetRange(r.Min(), r.Max());
                UpDownCtl{v.hwnd}.SetPos(r.Value());
                break;
        }
    }

    void OnScroll(Impl& impl, ViewPeer& v, UINT code) const override {
        Control& c = *v.control;
        auto& range = static_cast<RangeControl&>(c);
        if (c.GetKind() == Kind::Slider) {
            if (code == TB_ENDTRACK) return;  // follows every move; nothing new
            if (!impl.Reachable(v.hwnd)) {
                impl.Push(v, Prop::Value);
                return;
            }
            impl.host.Run(
                [&] {
                    range.SetValue(Trackbar{v.hwnd}.Pos());
                    if (range.onScroll) c.Owner().Fire(range.onScroll);
                },
                c.Owner().Name());
        } else if (c.GetKind() == Kind::UpDown) {
            if (code != SB_THUMBPOSITION) return;
            if (!impl.Reachable(v.hwnd)) {
                impl.Push(v, Prop::Value);
                return;
            }
            impl.host.Run([&] { range.SetValue(UpDownCtl{v.hwnd}.Pos()); }, c.Owner().Name());
        }
    }
};

}  // namespace

const ControlFamily& RangeFamily() {
    static const Ranges family;
    return family;
}

}  // namespace orv::ui
