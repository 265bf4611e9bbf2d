// The icon windows: `iconsfrm` asks whether a drive or a folder gets a new
// icon and opens `icondrivefrm` or `iconfolderfrm`, which take an icon file
// (typed, or chosen and previewed) and write it (tools/icon_writer.h).
#pragma once

#include <string>
#include <vector>

#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tools {

inline constexpr std::string_view kIconFilter =
    "Icons and pictures|*.ico;*.png;*.bmp;*.jpg;*.jpeg;*.gif|All files|*.*";

class iconsfrm : public ui::Form {
  public:
    iconsfrm(shell::AppContext& ctx, shell::MainWindow& main);
    void Form_Load() override;
    void Command1_Click();

    ui::OptionButton drive1{*this, "drive1", {"Drive", "6000", 480, 300, 2415, 315}};
    ui::OptionButton folder1{*this, "folder1", {"Folder", "6001", 480, 720, 2415, 315}};
    ui::CommandButton Command1{*this, "Command1", {"Next>>", "1019", 1800, 1320, 1215, 375}};
    shell::SkinComponent Skin1;

  private:
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
};

// What both icon windows share: the path box, Browse, the preview.
class IconPicker {
  public:
    IconPicker(shell::AppContext& ctx, ui::Form& form, ui::CommonDialog& dialog, ui::TextBox& text,
               ui::Picture& preview)
        : ctx_(ctx), form_(form), dialog_(dialog), text_(text), preview_(preview) {}
    // Browse: the chosen file's path into the box and its preview; a file
    // that is not a valid icon or picture is refused and the box cleared.
    void Browse();
    // The preview of what the box names; a box naming no picture clears it.
    void Preview();

  private:
    shell::AppContext& ctx_;
    ui::Form& form_;
    ui::CommonDialog& dialog_;
    ui::TextBox& text_;
    ui::Picture& preview_;
};

// Lists the drives as "c:", "d:", ... with `wanted` chosen when present.
void FillDriveList(ui::DriveList& list, platform::Drives& drives, std::string_view wanted);

class icondrivefrm : public ui::Form {
  public:
    icondrivefrm(shell::AppContext& ctx, shell::MainWindow& main);
    void Form_Load() override;
    void Command1_Click();  // apply
    void Command2_Click() { picker_.Browse(); }
    void Text1_KeyPress(int key);

    ui::Label SkinLabel1{*this, "SkinLabel1", {"Choose the drive", "3017", 240, 180, 4935, 255}};
    ui::DriveList Drive1{*this, "Drive1", {"", "", 240, 480, 2535, 315}};
    ui::Label SkinLabel2{*this, "SkinLabel2", {"Enter the path", "3018", 240, 960, 4935, 255}};
    ui::TextBox Text1{*this, "Text1", {"", "", 240, 1260, 3735, 315}};
    ui::CommandButton Command2{*this, "Command2", {"Browse", "1014", 4080, 1230, 1095, 375}};
    ui::Label SkinLabel3{*this, "SkinLabel3", {"New icon", "3019", 240, 1740, 1815, 255}};
    ui::Picture Picture2{*this, "Picture2", {"", "", 240, 2040, 960, 960}};
    ui::CommandButton Command1{*this, "Command1", {"Next>>", "1019", 3960, 2625, 1215, 375}};
    ui::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    shell::SkinComponent Skin1;

  private:
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    IconPicker picker_{ctx_, *this, CommonDialog1, Text1, Picture2};
};

class iconfolderfrm : public ui::Form {
  public:
    iconfolderfrm(shell::AppContext& ctx, shell::MainWindow& main);
    void Form_Load() override;
    void Command1_Click();  // apply
    void Command2_Click() { picker_.Browse(); }
    void Text1_KeyPress(int key);
    void Drive1_Change();
    void Dir1_Click();

    ui::Label SkinLabel1{*this, "SkinLabel1", {"Choose the folder", "3020", 240, 180, 4935, 255}};
    ui::DriveList Drive1{*this, "Drive1", {"", "", 240, 480, 2535, 315}};
    ui::FolderList Dir1{*this, "Dir1", {"", "", 240, 900, 4935, 2010}};
    ui::Label SkinLabel2{*this, "SkinLabel2", {"Enter the path", "3018", 240, 3060, 4935, 255}};
    ui::TextBox Text1{*this, "Text1", {"", "", 240, 3360, 3735, 315}};
    ui::CommandButton Command2{*this, "Command2", {"Browse", "1014", 4080, 3330, 1095, 375}};
    ui::Label SkinLabel3{*this, "SkinLabel3", {"New icon", "3019", 240, 3840, 1815, 255}};
    ui::Picture Picture2{*this, "Picture2", {"", "", 240, 4140, 960, 960}};
    ui::CommandButton Command1{*this, "Command1", {"Next>>", "1019", 3960, 4725, 1215, 375}};
    ui::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    shell::SkinComponent Skin1;

    // The folder of each row of Dir1.
    const std::vector<std::string>& RowPaths() const { return rows_; }

  private:
    // Shows `path` (its ancestors, itself chosen, its subfolders); false and
    // the list as it was when the folder cannot be listed.
    bool ShowFolder(const std::string& path);
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    IconPicker picker_{ctx_, *this, CommonDialog1, Text1, Picture2};
    std::vector<std::string> rows_;
    int shown_drive_ = -1;
    bool quiet_ = false;
};

}  // namespace orv::tools
