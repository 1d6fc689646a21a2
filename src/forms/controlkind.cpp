#include "forms/controldef.h"

namespace mv {

QString controlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::EditBox:
        return QStringLiteral("edit box");
    case ControlKind::ComboBox:
        return QStringLiteral("combo box");
    case ControlKind::Label:
        return QStringLiteral("label");
    case ControlKind::TransparentLabel:
        return QStringLiteral("transparent label");
    case ControlKind::Button:
        return QStringLiteral("button");
    case ControlKind::CheckBox:
        return QStringLiteral("check box");
    case ControlKind::RadioButton:
        return QStringLiteral("radio button");
    case ControlKind::ReportList:
        return QStringLiteral("list view");
    case ControlKind::Grid:
        return QStringLiteral("grid");
    case ControlKind::TabControl:
        return QStringLiteral("tab control");
    case ControlKind::ToolBar:
        return QStringLiteral("toolbar");
    case ControlKind::StatusBar:
        return QStringLiteral("status bar");
    case ControlKind::ProgressBar:
        return QStringLiteral("progress bar");
    case ControlKind::DatePicker:
        return QStringLiteral("date picker");
    case ControlKind::WebBrowser:
        return QStringLiteral("web browser");
    case ControlKind::DrawPanel:
        return QStringLiteral("draw panel");
    case ControlKind::PictureBox:
        return QStringLiteral("picture box");
    case ControlKind::ShapeBox:
        return QStringLiteral("shape box");
    case ControlKind::GroupBox:
        return QStringLiteral("group box");
    case ControlKind::CheckListBox:
        return QStringLiteral("check list box");
    case ControlKind::ColourPicker:
        return QStringLiteral("colour picker");
    case ControlKind::CommonDialog:
        return QStringLiteral("common dialog");
    case ControlKind::DatabaseConnection:
        return QStringLiteral("database connection");
    case ControlKind::ScriptComponent:
        return QStringLiteral("script component");
    case ControlKind::Timer:
        return QStringLiteral("timer");
    case ControlKind::DataProvider:
        return QStringLiteral("data provider");
    case ControlKind::DataSource:
        return QStringLiteral("data source");
    }
    return {};
}

} // namespace mv
