#include "gui/printing/printsettingswindow.h"

#include "common/messages.h"
#include "common/texts.h"
#include "forms/fittocontents.h"
#include "gui/printing/formulawindow.h"
#include "gui/printing/reportprint.h"
#include "print/customcolumns.h"
#include "print/printtable.h"
#include "print/settingsstore.h"
#include "widgets/checklistbox.h"
#include "widgets/colourpicker.h"
#include "widgets/linestylepicture.h"
#include "widgets/reportlist.h"
#include "widgets/showoutcome.h"
#include "widgets/tabcontrol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QShortcut>

namespace mv {

namespace {

const QString kHint = u"提示"_qs;
const QStringList kRowLabels{u"标签12"_qs, u"标签10"_qs, u"标签11"_qs};
const QStringList kColumnLabels{u"标签15"_qs, u"标签16"_qs, u"标签17"_qs};
const QStringList kRowPickers{u"标题颜色"_qs, u"奇行色"_qs, u"偶行色"_qs};
const QStringList kColumnPickers{u"标题颜色1"_qs, u"奇列色"_qs, u"偶列色"_qs};
const QStringList kSchemes{u"默认色"_qs, u"自配色"_qs, u"自定义行"_qs, u"自定义列"_qs};
const QStringList kLineStyles{u"线型1"_qs, u"类别2"_qs, u"线型3"_qs, u"线型4"_qs};

// The title font when none was chosen: 宋体, or an installed Chinese font.
QFont defaultTitleFont()
{
    QFont font(u"宋体"_qs, 18);
    if (!QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(u"宋体"_qs)) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (!chinese.isEmpty())
            font.setFamily(chinese.first());
    }
    return font;
}

QColor colourOf(int colourRef)
{
    return QColor::fromRgb(colourRefToRgb(colourRef));
}

} // namespace

std::function<std::optional<QFont>(const QFont&, QWidget*)> PrintSettingsWindow::chooseFont =
    [](const QFont& initial, QWidget* parent) -> std::optional<QFont> {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent, u"字体"_qs);
    return ok ? std::optional<QFont>(font) : std::nullopt;
};

template <class T> T* PrintSettingsWindow::control(const QString& name) const
{
    return mv::control<T>(this, name);
}

PrintSettingsWindow::PrintSettingsWindow(ReportPrint& module, QWidget* parent)
    : QWidget(parent, Qt::Window), m_module(module), m_titleFont(defaultTitleFont())
{
    const WindowDef& def = windowDef(u"PrintSettingsWindow"_qs);
    setObjectName(def.name);
    setWindowTitle(def.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    m_built = buildWindow(def, this);
    move(50, 50);

    m_tabs = control<TabControl>(u"选择夹1"_qs);
    m_printColumns = control<CheckListBox>(u"显示列表框"_qs);
    m_statistics = control<CheckListBox>(u"统计列表框"_qs);
    m_customList = control<ReportList>(u"自定义列表框"_qs);
    // The title font's colour: the font dialog has none.
    auto* fontButton = control<QPushButton>(u"字体"_qs);
    m_titleColour = new ColourPicker(fontButton->parentWidget());
    m_titleColour->setObjectName(u"字体颜色"_qs);
    m_titleColour->setGeometry(fontButton->x() + fontButton->width() + 4, fontButton->y(), 30,
                               fontButton->height());
    m_titleColour->setColor(Qt::black);
    m_titleColour->setToolTip(u"标题文字颜色"_qs);
    // The line-style radios show pictures of the styles they choose.
    const QStringList lineStyleTips{u"全部线条"_qs, u"外框和标题下横线"_qs, u"外框和横线"_qs,
                                    u"外框和竖线"_qs};
    for (int i = 0; i < kLineStyles.size(); ++i) {
        auto* radio = control<QRadioButton>(kLineStyles[i]);
        radio->setText(QString());
        radio->setIconSize(QSize(20, 14));
        radio->setIcon(lineStylePicture(i + 1, radio->iconSize()));
        radio->setToolTip(lineStyleTips[i]);
    }
    // Sized once every control is in place.
    growToFitContents(this, QSize(def.width, def.height));

    // Initial states of the window.
    control<QComboBox>(u"纸张"_qs)->setCurrentIndex(1);
    control<QRadioButton>(u"纸张方向1"_qs)->setChecked(true);
    control<QRadioButton>(u"线型1"_qs)->setChecked(true);
    control<QRadioButton>(u"不打合计"_qs)->setChecked(true);
    control<QCheckBox>(u"打印列全选"_qs)->setChecked(true);
    control<QLineEdit>(u"字体大小"_qs)->setText(u"30"_qs);
    setStatisticsEnabled(false);
    setUpEvents();

    // A preview in front: the lists stay empty and nothing is loaded.
    if (QPrintPreviewDialog* preview = m_module.previewDialog(); preview && preview->isVisible())
        return;
    if (ReportList* list = m_module.sourceList())
        for (const ReportColumn& column : list->model()->columns())
            m_printColumns->addCheckItem(column.title, true);
    m_statistics->clear();
    for (const QString& title : printColumnTitles(true))
        m_statistics->addCheckItem(title, false);
    m_module.customColumns().clear();
    refreshCustomColumns();
    applyColourScheme(0);
    std::unique_ptr<SettingsStore> store = m_module.settingsStore();
    // Ticked when a saved set exists, so a first preview does not discard it.
    control<QCheckBox>(u"保存配置"_qs)->setChecked(store->hasSavedSet());
    PrintSettingsValues v = values();
    LoadPrintSettings(*store, v);
    if (v.title.isEmpty())
        v.title = m_module.defaultTitle();
    setValues(v);
    control<QLineEdit>(u"标题"_qs)->setFocus();
}

void PrintSettingsWindow::setUpEvents()
{
    connect(control<QPushButton>(u"字体"_qs), &QPushButton::clicked, this, [this] {
        if (const std::optional<QFont> font = chooseFont(m_titleFont, this))
            m_titleFont = *font;
    });
    connect(control<QRadioButton>(u"打统计"_qs), &QRadioButton::clicked, this,
            [this] { setStatisticsEnabled(true); });
    for (const QString& name : {u"不打合计"_qs, u"打合计"_qs})
        connect(control<QRadioButton>(name), &QRadioButton::clicked, this,
                [this] { setStatisticsEnabled(false); });
    for (int i = 0; i < kSchemes.size(); ++i)
        connect(control<QRadioButton>(kSchemes[i]), &QRadioButton::clicked, this,
                [this, i] { applyColourScheme(i); });
    connect(control<QCheckBox>(u"打印列全选"_qs), &QCheckBox::clicked, this, [this](bool on) {
        for (int i = 0; i < m_printColumns->count(); ++i)
            m_printColumns->setChecked(i, on);
        m_statistics->clear();
        if (on)
            for (const QString& title : printColumnTitles(true))
                m_statistics->addCheckItem(title, false);
    });
    connect(control<QCheckBox>(u"统计列全选"_qs), &QCheckBox::clicked, this, [this](bool on) {
        for (int i = 0; i < m_statistics->count(); ++i)
            m_statistics->setChecked(i, on);
    });
    // Each 全选 shows whether every item of its list is ticked, so that its next click does
    // what it shows: after one column was unticked by hand it ticks all again.
    for (const auto& [list, all] :
         {std::pair{m_printColumns, u"打印列全选"_qs}, std::pair{m_statistics, u"统计列全选"_qs}})
        connect(list, &QListWidget::itemChanged, this, [list, box = control<QCheckBox>(all)] {
            if (list->count() > 0)
                box->setChecked(list->checkedCount() == list->count());
        });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 2)
            rebuildStatisticsList();
    });
    QMenu* menu = m_built.menus.value(u"右键菜单"_qs);
    connect(m_customList, &ReportList::rightClicked, this, [menu](int, QPoint at) {
        if (menu)
            menu->popup(at);
    });
    connect(control<QAction>(u"右键菜单_修改"_qs), &QAction::triggered, this,
            &PrintSettingsWindow::openFormulaEditWindow);
    connect(control<QAction>(u"右键菜单_删除"_qs), &QAction::triggered, this,
            &PrintSettingsWindow::deleteSelectedCustomColumn);
    connect(control<QPushButton>(u"添加"_qs), &QPushButton::clicked, this,
            &PrintSettingsWindow::openFormulaWindow);
    connect(control<QPushButton>(u"打印预览"_qs), &QPushButton::clicked, this,
            &PrintSettingsWindow::previewRequest);
    connect(control<QPushButton>(u"取消"_qs), &QPushButton::clicked, this, &QWidget::close);
    // Escape cancels, as 取消 does.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
}

void PrintSettingsWindow::setStatisticsEnabled(bool on)
{
    m_statistics->setEnabled(on);
    control<QCheckBox>(u"统计列全选"_qs)->setEnabled(on);
    control<QLineEdit>(u"统计行保留位数"_qs)->setEnabled(on);
}

void PrintSettingsWindow::applyColourScheme(int scheme)
{
    for (int i = 0; i < kSchemes.size(); ++i)
        if (i != scheme)
            control<QRadioButton>(kSchemes[i])->setChecked(false);
    control<QRadioButton>(kSchemes[scheme])->setChecked(true);
    auto paint = [this](const QStringList& labels, const QStringList& pickers, bool on) {
        for (const QString& name : labels) {
            QLabel* label = control<QLabel>(name);
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, on ? QColor(Qt::black) : QColor(192, 192, 192));
            label->setPalette(p);
            label->setEnabled(on); // the skin greys a label switched off
        }
        for (const QString& name : pickers)
            control<ColourPicker>(name)->setEnabled(on);
    };
    paint(kRowLabels, kRowPickers, scheme == 2);
    paint(kColumnLabels, kColumnPickers, scheme == 3);
}

QStringList PrintSettingsWindow::printColumnTitles(bool tickedOnly) const
{
    QStringList titles;
    for (int i = 0; i < m_printColumns->count(); ++i)
        if (!tickedOnly || m_printColumns->isChecked(i))
            titles << m_printColumns->item(i)->text();
    return titles;
}

void PrintSettingsWindow::rebuildStatisticsList()
{
    // Read first: the items added unticked below untick it.
    const bool all = control<QCheckBox>(u"统计列全选"_qs)->isChecked();
    // The list is rebuilt on every visit of its page: a column ticked before stays ticked
    // while it is still printed, so that looking at another page loses no choice.
    QSet<QString> ticked;
    for (int i = 0; i < m_statistics->count(); ++i)
        if (m_statistics->isChecked(i))
            ticked.insert(m_statistics->item(i)->text());
    m_statistics->clear();
    for (const QString& title : printColumnTitles(true))
        m_statistics->addCheckItem(title, ticked.contains(title));
    for (const CustomColumn& c : m_module.customColumns())
        m_statistics->addCheckItem(c.name, ticked.contains(c.name));
    if (all)
        for (int i = 0; i < m_statistics->count(); ++i)
            m_statistics->setChecked(i, true);
}

void PrintSettingsWindow::renameStatisticsColumn(const QString& from, const QString& to)
{
    for (int i = 0; i < m_statistics->count(); ++i)
        if (m_statistics->item(i)->text() == from)
            m_statistics->item(i)->setText(to);
}

void PrintSettingsWindow::refreshCustomColumns()
{
    ReportListModel* model = m_customList->model();
    const int selected = m_customList->selectedRow();
    QList<ReportRow> rows;
    for (const CustomColumn& c : m_module.customColumns())
        rows.append(ReportRow{{c.name, c.formula}});
    model->setRows(rows);
    if (selected >= 0 && selected < model->rowCount())
        m_customList->setSelectedRow(selected);
}

PrintSettingsValues PrintSettingsWindow::values() const
{
    PrintSettingsValues v;
    v.title = control<QLineEdit>(u"标题"_qs)->text();
    v.header = control<QLineEdit>(u"页眉"_qs)->text();
    v.footer = control<QLineEdit>(u"页脚"_qs)->text();
    v.remark = control<QLineEdit>(u"备注"_qs)->text();
    v.pageNumberPosition = control<QComboBox>(u"页号位置"_qs)->currentIndex();
    v.paper = control<QComboBox>(u"纸张"_qs)->currentIndex();
    v.fontSize = control<QLineEdit>(u"字体大小"_qs)->text();
    v.rowsPerPage = control<QLineEdit>(u"行数"_qs)->text();
    v.serial = control<QCheckBox>(u"序号"_qs)->isChecked();
    v.centred = control<QCheckBox>(u"居中打印"_qs)->isChecked();
    v.orientation = control<QRadioButton>(u"纸张方向0"_qs)->isChecked() ? 0 : 1;
    v.plainColours = control<QRadioButton>(u"默认色"_qs)->isChecked();
    v.builtInColours = control<QRadioButton>(u"自配色"_qs)->isChecked();
    v.rowColours = control<QRadioButton>(u"自定义行"_qs)->isChecked();
    v.columnColours = control<QRadioButton>(u"自定义列"_qs)->isChecked();
    auto colour = [this](const QString& name) {
        return rgbToColourRef(control<ColourPicker>(name)->color().rgb());
    };
    v.rowTitleColour = colour(u"标题颜色"_qs);
    v.oddRowColour = colour(u"奇行色"_qs);
    v.evenRowColour = colour(u"偶行色"_qs);
    v.columnTitleColour = colour(u"标题颜色1"_qs);
    v.oddColumnColour = colour(u"奇列色"_qs);
    v.evenColumnColour = colour(u"偶列色"_qs);
    return v;
}

void PrintSettingsWindow::setValues(const PrintSettingsValues& v)
{
    control<QLineEdit>(u"标题"_qs)->setText(v.title);
    control<QLineEdit>(u"页眉"_qs)->setText(v.header);
    control<QLineEdit>(u"页脚"_qs)->setText(v.footer);
    control<QLineEdit>(u"备注"_qs)->setText(v.remark);
    control<QComboBox>(u"页号位置"_qs)->setCurrentIndex(v.pageNumberPosition);
    control<QComboBox>(u"纸张"_qs)->setCurrentIndex(v.paper);
    control<QLineEdit>(u"字体大小"_qs)->setText(v.fontSize);
    control<QLineEdit>(u"行数"_qs)->setText(v.rowsPerPage);
    control<QCheckBox>(u"序号"_qs)->setChecked(v.serial);
    control<QCheckBox>(u"居中打印"_qs)->setChecked(v.centred);
    control<QRadioButton>(v.orientation == 0 ? u"纸张方向0"_qs : u"纸张方向1"_qs)->setChecked(true);
    const int scheme = v.rowColours ? 2 : v.columnColours ? 3 : v.builtInColours ? 1 : 0;
    applyColourScheme(scheme);
    control<ColourPicker>(u"标题颜色"_qs)->setColor(colourOf(v.rowTitleColour));
    control<ColourPicker>(u"奇行色"_qs)->setColor(colourOf(v.oddRowColour));
    control<ColourPicker>(u"偶行色"_qs)->setColor(colourOf(v.evenRowColour));
    control<ColourPicker>(u"标题颜色1"_qs)->setColor(colourOf(v.columnTitleColour));
    control<ColourPicker>(u"奇列色"_qs)->setColor(colourOf(v.oddColumnColour));
    control<ColourPicker>(u"偶列色"_qs)->setColor(colourOf(v.evenColumnColour));
}

void PrintSettingsWindow::refuse(const QString& message, int page)
{
    msgBox(message, MsgOk, kHint);
    m_tabs->setCurrentIndex(page);
}

bool PrintSettingsWindow::gatherRequest(ReportRequest& q)
{
    const PrintSettingsValues v = values();
    q.headerParts = splitHeaderParts(v.header);
    q.footerParts = splitFooterParts(v.footer);
    const QString totalsDecimals = control<QLineEdit>(u"统计行保留位数"_qs)->text();
    const QString customDecimals = control<QLineEdit>(u"新增列保留位数"_qs)->text();
    const SettingsCheck check =
        ValidatePrintSettings(totalsDecimals, customDecimals, v.header, v.footer, v.fontSize);
    if (!showOutcome(
            check, {{PrintSettingsField::TotalsDecimals, control<QLineEdit>(u"统计行保留位数"_qs)},
                    {PrintSettingsField::CustomDecimals, control<QLineEdit>(u"新增列保留位数"_qs)},
                    {PrintSettingsField::Header, control<QLineEdit>(u"页眉"_qs)},
                    {PrintSettingsField::Footer, control<QLineEdit>(u"页脚"_qs)},
                    {PrintSettingsField::FontSize, control<QLineEdit>(u"字体大小"_qs)}}))
        return false;
    // The title made from what the list shows is not kept: the next print is of another
    // period or item and gets its own.
    PrintSettingsValues kept = v;
    if (kept.title == m_module.defaultTitle())
        kept.title.clear();
    // Settings ticked to be kept and not written would be gone at the next start unnoticed.
    if (!SavePrintSettings(*m_module.settingsStore(), kept,
                           control<QCheckBox>(u"保存配置"_qs)->isChecked()))
        msgBox(u"打印设置无法保存（设置文件不可写），下次打开时不会恢复；本次打印照常进行。"_qs,
               MsgOk, u"警告"_qs);

    q.printColumns.clear();
    for (int i = 0; i < m_printColumns->count(); ++i)
        if (m_printColumns->isChecked(i))
            q.printColumns << i;
    if (q.printColumns.isEmpty()) {
        refuse(u"没有选择要进行打印的列！"_qs, 1);
        return false;
    }
    q.lineStyle = 0;
    for (int i = 0; i < kLineStyles.size(); ++i)
        if (control<QRadioButton>(kLineStyles[i])->isChecked())
            q.lineStyle = i + 1;
    q.rowsPerPage = v.rowsPerPage.isEmpty() ? 0 : truncateToInt(toNumber(v.rowsPerPage));
    q.titleRowColour = q.oddColour = q.evenColour = 0;
    q.colourScheme = v.builtInColours ? 1 : v.rowColours ? 2 : v.columnColours ? 3 : 0;
    if (q.colourScheme == 1) {
        q.titleRowColour = 0xCEDFDE; // RGB(0xDE,0xDF,0xCE) as COLORREF
        q.oddColour = 0xDEEFEF;      // RGB(0xEF,0xEF,0xDE)
    } else if (q.colourScheme == 2) {
        q.titleRowColour = v.rowTitleColour;
        q.oddColour = v.oddRowColour;
        q.evenColour = v.evenRowColour;
    } else if (q.colourScheme == 3) {
        q.titleRowColour = v.columnTitleColour;
        q.oddColour = v.oddColumnColour;
        q.evenColour = v.evenColumnColour;
    }
    q.statisticsColumns.clear();
    if (control<QRadioButton>(u"打统计"_qs)->isChecked()) {
        q.totalsKind = kTotalsStatistics;
        for (int i = 0; i < m_statistics->count(); ++i)
            if (m_statistics->isChecked(i))
                q.statisticsColumns << m_statistics->item(i)->text();
        if (q.statisticsColumns.isEmpty()) {
            refuse(u"没有选择要进行统计的列！"_qs, 2);
            return false;
        }
    } else {
        q.totalsKind =
            control<QRadioButton>(u"打合计"_qs)->isChecked() ? kTotalsCount : kTotalsNone;
    }
    const ReportList* list = m_module.sourceList();
    q.bodyFontSize = bodyFontSize(v.fontSize, list ? list->font().pointSizeF() : 9);
    q.titleFont.name = m_titleFont.family();
    q.titleFont.colour = rgbToColourRef(m_titleColour->color().rgb());
    q.titleFont.bold = m_titleFont.bold();
    q.titleFont.size = truncateToInt(m_titleFont.pointSizeF() * 3.3);
    q.serial = v.serial;
    q.orientation = v.orientation;
    q.totalsDecimals = truncateToInt(toNumber(totalsDecimals));
    q.customDecimals = truncateToInt(toNumber(customDecimals));
    q.totalsSeparators = control<QCheckBox>(u"统计千分符选择框"_qs)->isChecked();
    q.customSeparators = control<QCheckBox>(u"列千分符选择框"_qs)->isChecked();
    q.centred = v.centred;
    q.title = v.title;
    q.paper = v.paper;
    q.remark = v.remark;
    q.pageNumberPosition = v.pageNumberPosition;
    q.customColumns = m_module.customColumns();
    return true;
}

void PrintSettingsWindow::previewRequest()
{
    ReportRequest request;
    if (gatherRequest(request))
        m_module.BuildReportPreview(request);
}

void PrintSettingsWindow::showAgain()
{
    m_tabs->setCurrentIndex(0);
    show();
    raise();
    activateWindow();
}

void PrintSettingsWindow::deleteSelectedCustomColumn()
{
    const int row = m_customList->selectedRow();
    const QString name = row >= 0 ? m_customList->model()->text(row, 0) : QString();
    const CustomColumnOutcome outcome = DeleteCustomColumn(m_module.customColumns(), row);
    if (!showOutcome(outcome))
        return;
    for (int i = 0; i < m_statistics->count(); ++i) {
        if (m_statistics->item(i)->text() == name) {
            delete m_statistics->takeItem(i);
            break;
        }
    }
    refreshCustomColumns();
}

void PrintSettingsWindow::openFormulaWindow()
{
    FormulaWindow window(*this, m_module.customColumns(), -1);
    window.exec();
}

void PrintSettingsWindow::openFormulaEditWindow()
{
    const int row = m_customList->selectedRow();
    if (row < 0)
        return; // nothing selected: the edit window closes itself at once
    FormulaWindow window(*this, m_module.customColumns(), row);
    window.exec();
}

} // namespace mv
