#pragma once
// PrintSettingsWindow ("打印预览设置"): print columns, statistics and custom columns, title,
// header, footer, remark, paper, orientation, page numbers, fonts, line style and colours.
// Its 打印预览 button validates and saves the settings, gathers the request and hands it to
// the module's BuildReportPreview. It deletes itself when closed.

#include "forms/windowbuilder.h"
#include "print/printsettings.h"
#include "print/reportrequest.h"

#include <QFont>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace mv {

class CheckListBox;
class ColourPicker;
class ReportList;
class ReportPrint;
class TabControl;

class PrintSettingsWindow : public QWidget
{
    Q_OBJECT
public:
    PrintSettingsWindow(ReportPrint& module, QWidget* parent = nullptr);

    // The font dialog; tests replace it. Returns no font when cancelled.
    static std::function<std::optional<QFont>(const QFont&, QWidget*)> chooseFont;

    PrintSettingsValues values() const;
    void setValues(const PrintSettingsValues& values);

    // Colour-scheme states: 0 plain, 1 built-in, 2 rows, 3 columns.
    void applyColourScheme(int scheme);
    void rebuildStatisticsList();
    // A custom column renamed: its item in the statistics list takes the new name, its tick
    // kept.
    void renameStatisticsColumn(const QString& from, const QString& to);
    // Titles of the print column list (all items or only the ticked ones).
    QStringList printColumnTitles(bool tickedOnly) const;
    ReportList* customColumnList() const { return m_customList; }
    // Refills the custom column list from the module's custom columns.
    void refreshCustomColumns();

    // Gathers the request; false (after its message) when it cannot be made.
    bool gatherRequest(ReportRequest& request);
    // After Cancel on the page-width question: shown again on page 0.
    void showAgain();

public slots:
    void previewRequest();
    void deleteSelectedCustomColumn();
    void openFormulaWindow();
    void openFormulaEditWindow();

private:
    template <class T> T* control(const QString& name) const;
    void setUpEvents();
    void setStatisticsEnabled(bool on);
    // A check of the window itself that names no field: the message, then the tab page to look at.
    void refuse(const QString& message, int page);

    ReportPrint& m_module;
    BuiltWindow m_built;
    TabControl* m_tabs = nullptr;
    CheckListBox* m_printColumns = nullptr;
    CheckListBox* m_statistics = nullptr;
    ReportList* m_customList = nullptr;
    ColourPicker* m_titleColour = nullptr; // the title font's colour, beside 字体
    QFont m_titleFont;
};

} // namespace mv
