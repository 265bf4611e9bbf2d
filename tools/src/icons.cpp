#include "tools/icons.h"

#include <algorithm>
#include <cctype>

#include "shell/language.h"
#include "shell/picture_file.h"
#include "tools/ico.h"
#include "tools/icon_writer.h"
#include "ui/host.h"

namespace orv::tools {

using namespace orv::platform;

namespace {

// Title and tagged captions, then the window's own skin and the main
// window's look for its controls.
void LoadLook(ui::Form& form, shell::AppContext& ctx, shell::MainWindow& main,
              shell::SkinComponent& skin, std::string_view title_id) {
    const auto language = shell::Language::Chosen(ctx.platform);
    shell::LoadLanguage(form, language);
    form.SetCaption(language.Text(title_id));
    skin.LoadProgramSkin(ctx.platform.files);
    skin.ApplySkin(form, shell::kToolWindowElement);
    main.SkinForm(form);
}

// "C:\" for "c:" and for "C:\Users".
std::string RootOf(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return {};
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) +
           ":\\";
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

// ---- iconsfrm -------------------------------------------------------------

iconsfrm::iconsfrm(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "iconsfrm", "Icons", 3360, 2340), ctx_(ctx), main_(main) {
    Command1.onClick = [this] { Command1_Click(); };
}

void iconsfrm::Form_Load() {
    LoadLook(*this, ctx_, main_, Skin1, "7007");
}

void iconsfrm::Command1_Click() {
    if (drive1.Value()) ctx_.forms.Get<icondrivefrm>(ctx_, main_).Show(this, true);
    if (folder1.Value()) ctx_.forms.Get<iconfolderfrm>(ctx_, main_).Show(this, true);
}

// ---- the shared path box --------------------------------------------------

void IconPicker::Browse() {
    dialog_.filter = std::string(kIconFilter);
    if (!dialog_.ShowOpen()) return;
    text_.SetText(dialog_.file_name);
    if (!IconFileFor(ctx_.platform, text_.Text())) {
        ctx_.host.MessageBox(&form_, kNotValidIcon, kIconTaskTitle, ui::kMbOk | ui::kMbIconError);
        text_.SetText("");
        preview_.SetSource("");
        return;
    }
    Preview();
}

void IconPicker::Preview() {
    auto picture = IconPreview(ctx_.platform, text_.Text());
    if (!picture || !shell::ShowMadePicture(preview_, IconPicture(*picture, 64), ctx_.platform,
                                            "icon-preview.bmp"))
        preview_.SetSource("");
}

void FillDriveList(ui::DriveList& list, Drives& drives, std::string_view wanted) {
    list.Clear();
    int chosen = 0;
    for (const auto& root : drives.LogicalDrives()) {
        if (root.size() < 2 || root[1] != ':') continue;
        const std::string entry{
            static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
        if (entry == wanted) chosen = static_cast<int>(list.Items().size());
        list.AddItem(entry);
    }
    if (!list.Items().empty()) list.SetListIndex(chosen);
}

// ---- icondrivefrm ---------------------------------------------------------

icondrivefrm::icondrivefrm(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "icondrivefrm", "Change drive icon", 5415, 3660), ctx_(ctx), main_(main) {
    Picture2.stretch = true;
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Text1.onKeyPress = [this](int key) { Text1_KeyPress(key); };
}

void icondrivefrm::Form_Load() {
    LoadLook(*this, ctx_, main_, Skin1, "7005");
    FillDriveList(Drive1, ctx_.platform.drives, "c:");
}

void icondrivefrm::Text1_KeyPress(int key) {
    if (key == 13) picker_.Preview();
}

void icondrivefrm::Command1_Click() {
    if (Text1.Text().empty()) return;
    const std::string drive = Drive1.Drive().substr(0, 2);
    if (drive.size() < 2) return;
    IconWriter writer(ctx_.platform, ctx_.host, this);
    if (writer.ChangeDriveIcon(drive, Text1.Text())) writer.RefreshIconCache();
}

// ---- iconfolderfrm --------------------------------------------------------

iconfolderfrm::iconfolderfrm(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "iconfolderfrm", "Change folder icon", 5415, 5760),
      ctx_(ctx),
      main_(main) {
    Picture2.stretch = true;
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Text1.onKeyPress = [this](int key) { Text1_KeyPress(key); };
    Drive1.onClick = [this] { Drive1_Change(); };
    Dir1.onClick = [this] { Dir1_Click(); };
}

void iconfolderfrm::Form_Load() {
    LoadLook(*this, ctx_, main_, Skin1, "7006");
    quiet_ = true;
    FillDriveList(Drive1, ctx_.platform.drives, "c:");
    quiet_ = false;
    shown_drive_ = Drive1.ListIndex();
    if (shown_drive_ >= 0) ShowFolder(RootOf(Drive1.Drive()));
}

void iconfolderfrm::Text1_KeyPress(int key) {
    if (key == 13) picker_.Preview();
}

bool iconfolderfrm::ShowFolder(const std::string& path) {
    std::vector<FoundFile> found;
    const Status st = ctx_.platform.files.ListFiles(Join(path, "*"), found);
    if (st != kSuccess && st != kFileNotFound) {
        const std::string what = path.size() <= 3 ? "The drive " + path.substr(0, 2) : path;
        ctx_.host.MessageBox(this, what + " cannot be shown: " + ReasonText(st) + ".",
                             kIconTaskTitle, ui::kMbOk | ui::kMbIconWarning);
        return false;
    }
    // The folder's ancestors from the root, itself, then its subfolders,
    // each indented by its depth as a folder list shows them.
    std::vector<std::string> rows{RootOf(path)}, items;
    for (std::size_t pos = 3; pos < path.size();) {
        std::size_t next = std::min(path.find('\\', pos), path.size());
        if (next > pos) rows.push_back(path.substr(0, next));
        pos = next + 1;
    }
    std::size_t depth = 0;
    for (const auto& r : rows) {
        const std::string name =
            depth == 0 ? std::string(
                             1, static_cast<char>(std::tolower(static_cast<unsigned char>(r[0])))) +
                             ":\\"
                       : r.substr(r.find_last_of('\\') + 1);
        items.push_back(std::string(depth * 2, ' ') + name);
        ++depth;
    }
    const int chosen = static_cast<int>(rows.size()) - 1;
    for (const auto& f : found) {
        if (!(f.attributes & kAttrDirectory)) continue;
        rows.push_back(Join(path, f.name));
        items.push_back(std::string(depth * 2, ' ') + f.name);
    }
    quiet_ = true;
    Dir1.Clear();
    for (auto& item : items) Dir1.AddItem(std::move(item));
    Dir1.SetListIndex(chosen);
    quiet_ = false;
    rows_ = std::move(rows);
    Dir1.path = path;
    return true;
}

void iconfolderfrm::Drive1_Change() {
    if (quiet_) return;
    if (ShowFolder(RootOf(Drive1.Drive()))) {
        shown_drive_ = Drive1.ListIndex();
        return;
    }
    // Not ready: the drive list goes back to the drive whose folders show.
    quiet_ = true;
    Drive1.SetListIndex(shown_drive_);
    quiet_ = false;
}

void iconfolderfrm::Dir1_Click() {
    if (quiet_) return;
    const int row = Dir1.ListIndex();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const std::string chosen = rows_[row];  // ShowFolder replaces the rows
    if (chosen == Dir1.path) return;
    if (!ShowFolder(chosen)) {
        quiet_ = true;
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i] == Dir1.path) Dir1.SetListIndex(static_cast<int>(i));
        quiet_ = false;
    }
}

void iconfolderfrm::Command1_Click() {
    if (Text1.Text().empty()) return;
    IconWriter writer(ctx_.platform, ctx_.host, this);
    if (writer.ChangeFolderIcon(Dir1.path, Text1.Text(), "", true, "", 24, kFixedDrivesOnly))
        writer.RefreshIconCache();
}

}  // namespace orv::tools
