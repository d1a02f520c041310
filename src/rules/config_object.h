#pragma once

#include <string>
#include <vector>

#include "component/component.h"

namespace webrill::rules {

// The marker base by which the settings store recognises a configuration root: its fields are
// addressed by the settings path with "." turned into "_".
class TProxyCodeCustomObject : public component::TComponent {
  public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TProxyCodeCustomObject"; }
    bool IsConfigurationRoot() const override { return true; }
};

// Every setting of one instance as a typed field named after the dialog control and property it
// mirrors, with its default.
class TProxyCodeObject : public TProxyCodeCustomObject {
  public:
    explicit TProxyCodeObject(component::TComponent* owner = nullptr);
    const char* ClassName() const override { return "TProxyCodeObject"; }
    const component::PropertyTable& Properties() const override;

    // Carried only: the dialog's placement and file dialogs.
    int32_t Left = 576;
    int32_t Top = 229;
    int32_t Height = 415;
    int32_t Width = 348;
    std::string OpenDialog_FileName;
    int32_t OpenDialog_FilterIndex = 1;
    std::string SaveDialog_FileName;
    int32_t SaveDialog_FilterIndex = 1;

    std::string Param_Hint;            // the parser item list text
    double spMaxSize_Value = 65535;    // bytes, 0 = unlimited
    double spReqTimeout_Value = 300;   // milliseconds
    bool chkExportAll_Checked = true;  // export fields no item declares
    bool chkParseInv_Checked = false;  // parse partial requests on time-out
    bool LeftTrim_Checked = false;
    bool RightTrim_Checked = false;
    std::string FmtDate_Text = "DD.MM.YYYY";
    std::string FmtTime_Text = "HH\":\"NN\":\"SS";
    std::string FmtDateTime_Text = "DD.MM.YYYY HH\":\"NN\":\"SS";
    bool chkUseNowTime_Checked = false;
    bool chkUseNowDate_Checked = false;
    double spLocaleID_Value = 1033;
    std::string Filters_Hint;             // the filter list text
    int32_t comboRespType_ItemIndex = 1;  // 0 Disabled, 1 403, 2 404, 3 Text, 4 From file, 5 From root folder
    int32_t comboContType_ItemIndex = 0;  // 0 Autodetect, 1 text/plain, 2 text/html, 3 application/binary
    component::StringList edtHTMLResp_Lines{"OK"};
    std::string edtHTMLFile_Text;
    std::string edtHTMLFolder_Text;
};

// The plug-in's settings list: a property path, "," and the stored name, one setting a line. The
// lines up to the marker are the window's placement (saved also when the dialog is cancelled).
const std::vector<std::string>& PluginSettingsLines();

}  // namespace webrill::rules
