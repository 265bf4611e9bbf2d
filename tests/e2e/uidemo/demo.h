// The forms of the ui demo: a small window that uses every part of the
// control runtime the program relies on, for the end-to-end tests to drive.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/skin.h"

namespace orv::demo {

using namespace orv::ui;

struct DemoContext {
    Host& host;
    Forms& forms;
    std::shared_ptr<const SkinSet> skin;
    std::string splash;  // the splash file's bytes
    int splash_wait_ms = 0;
    std::string folder;  // the executable's, UTF-8
};

// Skins every control of a known kind with its element (as the program does).
void SkinControls(Form& form, const std::shared_ptr<const SkinSet>& skin);

class DemoTool : public Form {
  public:
    explicit DemoTool(DemoContext& ctx);
    void Form_Load() override;

    Label lblInfo;
    CheckBox chkRemember;
    CommandButton cmdClose;

  private:
    DemoContext& ctx_;
};

class DemoAbout : public Form {
  public:
    explicit DemoAbout(DemoContext& ctx);
    void Form_Load() override;

    Label lblProduct;
    Label lblLine;
    CommandButton cmdOK;

  private:
    DemoContext& ctx_;
};

class DemoMain : public Form {
  public:
    explicit DemoMain(DemoContext& ctx);
    void Form_Load() override;
    bool Form_QueryUnload() override;

    Label lblStatus;
    Frame fraOptions;
    CommandButton cmdHello;
    CheckBox chkLog;
    OptionButton optSmall;
    OptionButton optLarge;
    Label lblHint;
    CommandButton cmdToggle;
    CommandButton cmdModal;
    Label lblTicks;
    Image imgLogo;
    TabStrip tabMain;
    Frame tabFrame0;
    Label lblColour;
    ComboBox cboColour;
    Label lblColourShown;
    ListBox lstItems;
    Frame tabFrame1;
    Label lblLevel;
    Slider sldLevel;
    ProgressBar prgLevel;
    TextBox txtName;
    Label lblEcho;
    Frame tabFrame2;
    ListView lvwItems;
    ImageCombo imgDrive;
    UpDown updCount;
    CommandButton cmdRefresh;
    CommandButton cmdOpen;
    CommonDialog dlgOpen;
    Label lblMore;
    Control stsBar;
    Timer Timer1;

  private:
    void SkinElementClicked(const std::string& element);
    DemoContext& ctx_;
    int hellos_ = 0;
    int ticks_ = 0;
};

}  // namespace orv::demo
