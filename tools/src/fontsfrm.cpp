#include "tools/fontsfrm.h"

#include <cmath>
#include <cstdlib>

#include "shell/language.h"

namespace orv::tools {

std::optional<int> SampleSize(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    bool digits = false;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end, digits = true;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end, digits = true;
    }
    if (!digits) return std::nullopt;
    // Only digits, a sign and a point were taken: strtod reads exactly them.
    const double value = std::strtod(std::string(text.substr(i, end - i)).c_str(), nullptr);
    const double points = std::round(value);
    if (points < 1 || points > kLargestTypedSize) return std::nullopt;
    return static_cast<int>(points);
}

Fontsfrm::Fontsfrm(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "Fontsfrm", "Fonts", 7440, 4980), ctx_(ctx), main_(main) {
    Label1.multi_line = true;
    UpDown1.SetRange(kMinSampleSize, kMaxSampleSize);
    UpDown1.SetValue(kStartSampleSize);
    CommonDialog1.filter = std::string(kFontFilter);
    CommonDialog1.title = "Install new fonts";
    lstSystemFonts.onClick = [this] { lstSystemFonts_Click(); };
    UpDown1.onChange = [this] { UpDown1_Change(); };
    Check1.onClick = [this] { Check1_Click(); };
    Check2.onClick = [this] { Check2_Click(); };
    Check3.onClick = [this] { Check3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void Fontsfrm::Form_Load() {
    SetCaption(shell::Language::Chosen(ctx_.platform).Text("7004"));
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
    FillFontList();
    Label1.SetText(std::string(kSampleText));
    // The second face, whatever was chosen in an earlier opening; the first
    // when there is only one.
    const auto& faces = lstSystemFonts.Items();
    ui::ControlFont sample;
    if (!faces.empty()) sample.face = faces[faces.size() > 1 ? 1 : 0];
    sizetxt.SetText(std::to_string(UpDown1.Value()));
    // The sample starts at the size the box shows.
    sample.points = SampleSize(sizetxt.Text()).value_or(kStartSampleSize);
    Label1.SetFont(sample);
}

void Fontsfrm::FillFontList() {
    lstSystemFonts.Clear();
    for (auto& face : ctx_.platform.fonts.ScreenFaces()) lstSystemFonts.AddItem(std::move(face));
}

void Fontsfrm::ChangeSample(const std::function<void(ui::ControlFont&)>& change) {
    ui::ControlFont f = Label1.Font();
    change(f);
    Label1.SetFont(std::move(f));
}

void Fontsfrm::ApplySize() {
    if (auto points = SampleSize(sizetxt.Text()))
        ChangeSample([&](ui::ControlFont& f) { f.points = *points; });
}

void Fontsfrm::ApplyStyle(const ui::CheckBox& box, bool ui::ControlFont::*style) {
    const int value = box.Value();
    if (value != 0 && value != 1) return;
    ChangeSample([&](ui::ControlFont& f) { f.*style = value == 1; });
}

void Fontsfrm::lstSystemFonts_Click() {
    ApplySize();
    if (lstSystemFonts.ListIndex() < 0) return;
    ChangeSample([&](ui::ControlFont& f) { f.face = lstSystemFonts.SelectedText(); });
}

void Fontsfrm::UpDown1_Change() {
    sizetxt.SetText(std::to_string(UpDown1.Value()));
    ApplySize();
    ApplyStyle(Check1, &ui::ControlFont::strikeout);
    ApplyStyle(Check2, &ui::ControlFont::bold);
    ApplyStyle(Check3, &ui::ControlFont::italic);
}

void Fontsfrm::Check1_Click() {
    ApplyStyle(Check1, &ui::ControlFont::strikeout);
}
void Fontsfrm::Check2_Click() {
    ApplyStyle(Check2, &ui::ControlFont::bold);
}
void Fontsfrm::Check3_Click() {
    ApplyStyle(Check3, &ui::ControlFont::italic);
}

void Fontsfrm::Command1_Click() {
    CommonDialog1.file_name.clear();
    if (!CommonDialog1.ShowOpen() || CommonDialog1.file_name.empty()) return;  // cancelled
    InstallResult r = InstallFonts(ctx_.platform, CommonDialog1.file_name);
    const bool installed =
        r.outcome == InstallOutcome::Installed || r.outcome == InstallOutcome::InstalledForUser;
    if (installed) {
        FillFontList();
        const auto& faces = lstSystemFonts.Items();
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (faces[i] != r.family) continue;
            lstSystemFonts.SetListIndex(static_cast<int>(i));
            break;
        }
    }
    ctx_.host.MessageBox(this, r.Message(), Caption(),
                         ui::kMbOk | (installed ? ui::kMbIconInformation : ui::kMbIconWarning));
}

}  // namespace orv::tools
