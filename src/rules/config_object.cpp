#include "rules/config_object.h"

namespace webrill::rules {

using component::BooleanProperty;
using component::IntegerProperty;
using component::LinesProperty;
using component::RealProperty;
using component::TextProperty;

TProxyCodeObject::TProxyCodeObject(component::TComponent* owner) : TProxyCodeCustomObject(owner) {}

const component::PropertyTable& TProxyCodeObject::Properties() const {
    using T = TProxyCodeObject;
    static const component::PropertyTable table(
        {&TComponent::Properties()},
        {
            IntegerProperty("Left", &T::Left),
            IntegerProperty("Top", &T::Top),
            IntegerProperty("Height", &T::Height),
            IntegerProperty("Width", &T::Width),
            TextProperty("OpenDialog_FileName", &T::OpenDialog_FileName),
            IntegerProperty("OpenDialog_FilterIndex", &T::OpenDialog_FilterIndex),
            TextProperty("SaveDialog_FileName", &T::SaveDialog_FileName),
            IntegerProperty("SaveDialog_FilterIndex", &T::SaveDialog_FilterIndex),
            TextProperty("Param_Hint", &T::Param_Hint),
            RealProperty("spMaxSize_Value", &T::spMaxSize_Value),
            RealProperty("spReqTimeout_Value", &T::spReqTimeout_Value),
            BooleanProperty("chkExportAll_Checked", &T::chkExportAll_Checked),
            BooleanProperty("chkParseInv_Checked", &T::chkParseInv_Checked),
            BooleanProperty("LeftTrim_Checked", &T::LeftTrim_Checked),
            BooleanProperty("RightTrim_Checked", &T::RightTrim_Checked),
            TextProperty("FmtDate_Text", &T::FmtDate_Text),
            TextProperty("FmtTime_Text", &T::FmtTime_Text),
            TextProperty("FmtDateTime_Text", &T::FmtDateTime_Text),
            BooleanProperty("chkUseNowTime_Checked", &T::chkUseNowTime_Checked),
            BooleanProperty("chkUseNowDate_Checked", &T::chkUseNowDate_Checked),
            RealProperty("spLocaleID_Value", &T::spLocaleID_Value),
            TextProperty("Filters_Hint", &T::Filters_Hint),
            IntegerProperty("comboRespType_ItemIndex", &T::comboRespType_ItemIndex),
            IntegerProperty("comboContType_ItemIndex", &T::comboContType_ItemIndex),
            LinesProperty("edtHTMLResp_Lines", &T::edtHTMLResp_Lines),
            TextProperty("edtHTMLFile_Text", &T::edtHTMLFile_Text),
            TextProperty("edtHTMLFolder_Text", &T::edtHTMLFolder_Text),
        });
    return table;
}

const std::vector<std::string>& PluginSettingsLines() {
    static const std::vector<std::string> lines = {
        "Left,Left",
        "Top,Top",
        "Height,Height",
        "Width,Width",
        ";---short---",
        "",
        "OpenDialog.FileName,Open files dir",
        "OpenDialog.FilterIndex,Open files dir filter index",
        "SaveDialog.FileName,Save files dir",
        "SaveDialog.FilterIndex,Save files dir filter index",
        "",
        "Param.Hint,Parser config",
        "",
        "spMaxSize.Value,Max request size",
        "spReqTimeout.Value,Request timeout",
        "chkExportAll.Checked,Export whole header",
        "chkParseInv.Checked,Parse invalid requests",
        "",
        "LeftTrim.Checked,Left trim",
        "RightTrim.Checked,Right trim",
        "FmtDate.Text,Date format",
        "FmtTime.Text,Time format",
        "FmtDateTime.Text,Date and time format",
        "chkUseNowTime.Checked,Use current time",
        "chkUseNowDate.Checked,Use current date",
        "spLocaleID.Value,Locale ID",
        "",
        "Filters.Hint,Filter",
        "",
        "comboRespType.ItemIndex,Response type",
        "comboContType.ItemIndex,Content type",
        "edtHTMLResp.Lines,HTML text",
        "edtHTMLFile.Text,HTML file",
        "edtHTMLFolder.Text,HTML folder",
        " ",
    };
    return lines;
}

}  // namespace webrill::rules
