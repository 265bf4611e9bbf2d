#include "tools/syscolors.h"

#include "registry/regpath.h"
#include "shell/language.h"
#include "shell/picture_file.h"

namespace orv::tools {

std::string RegistryColourText(std::uint32_t c) {
    return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " +
           std::to_string((c >> 16) & 0xFF);
}

syscolors::syscolors(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "syscolors", "Colors", 5295, 4140), ctx_(ctx), main_(main) {
    Picture1.stretch = true;
    List1.onClick = [this] { List1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
}

void syscolors::Form_Load() {
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
    SetCaption(shell::Language::Chosen(ctx_.platform).Text("7012"));
    for (const auto& e : kColourElements) List1.AddItem(std::string(e.text));
    swatch = ctx_.platform.display.GetSysColor(selected);
    ShowSwatch();
}

void syscolors::ShowSwatch() {
    // Pictures hold 0x00RRGGBB.
    const std::uint32_t rgb = ((swatch & 0xFF) << 16) | (swatch & 0xFF00) | ((swatch >> 16) & 0xFF);
    shell::ShowMadePicture(Picture1, {1, 1, {rgb}}, ctx_.platform, "swatch.bmp");
}

void syscolors::List1_Click() {
    const int row = List1.ListIndex();
    if (row >= 0 && row < static_cast<int>(kColourElements.size()))
        selected = kColourElements[row].index;
    swatch = ctx_.platform.display.GetSysColor(selected);
    ShowSwatch();
}

void syscolors::Command2_Click() {
    CommonDialog1.color = swatch;
    if (!CommonDialog1.ShowColor()) return;  // cancelled: the swatch stays
    swatch = CommonDialog1.color & 0xFFFFFF;
    ShowSwatch();
}

void syscolors::Command1_Click() {
    const int index[] = {selected};
    const std::uint32_t colour[] = {swatch};
    if (!ctx_.platform.display.SetSysColors(index, colour)) {
        ctx_.host.MessageBox(this, "Windows did not accept the colour.", "Colors",
                             ui::kMbOk | ui::kMbIconWarning);
        return;
    }
    // Stored as Windows stores it, so the next log-on starts with it too.
    std::string_view name = selected == 0 ? "Scrollbar" : "";
    for (const auto& e : kColourElements)
        if (e.index == selected) name = e.reg_name;
    registry::RegistryPaths paths(ctx_.platform.registry, ctx_.platform.environment);
    paths.ApplyText(std::string(kColorsKey) + std::string(name), RegistryColourText(swatch));
}

}  // namespace orv::tools
