#include "gui/stock/searchwindow.h"

#include "common/messages.h"
#include "forms/controldef.h"
#include "forms/windowbuilder.h"
#include "widgets/combobox.h"

#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace mv {

namespace {

constexpr StockSearchField kFields[3] = {StockSearchField::Category, StockSearchField::Name,
                                         StockSearchField::Model};

} // namespace

SearchWindow::SearchWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    const WindowDef& def = windowDef(u"SearchWindow"_qs);
    setObjectName(def.name);
    setWindowTitle(def.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow(def, this);
    setFixedSize(def.width, def.height);
    move(50, 50);

    const QString fieldNames[3] = {u"库存分类_组合框"_qs, u"名称_组合框"_qs, u"型号_组合框"_qs};
    const QString optionNames[3] = {u"单选框1"_qs, u"单选框2"_qs, u"单选框3"_qs};
    for (int i = 0; i < 3; ++i) {
        m_fields[i] = control<ComboBox>(this, fieldNames[i]);
        m_options[i] = control<QRadioButton>(this, optionNames[i]);
    }
    for (int i = 0; i < 3; ++i) {
        // A field that gets the focus selects its own option and clears the other two.
        connect(m_fields[i], &ComboBox::gotFocus, this, [this, i] {
            for (int j = 0; j < 3; ++j)
                if (j != i)
                    m_options[j]->setChecked(false);
            m_options[i]->setChecked(true);
        });
        connect(m_fields[i], &ComboBox::enterPressed, this, &SearchWindow::searchStock);
    }
    connect(control<QPushButton>(this, u"搜索按钮1"_qs), &QPushButton::clicked, this,
            &SearchWindow::searchStock);
    connect(control<QPushButton>(this, u"按钮2"_qs), &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the window, as its close button does.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
    // The first field of the tab order takes the focus when the window opens, and with it
    // its option, so the clerk can type at once.
    m_fields[0]->setFocus();
}

void SearchWindow::searchStock()
{
    for (int i = 0; i < 3; ++i) {
        if (!m_options[i]->isChecked())
            continue;
        emit searchRequested(kFields[i], m_fields[i]->currentText());
        return;
    }
    msgBox(u"请选择一个选项，输入你要查找的名称，然后再搜索。"_qs, MsgOk, u"提示"_qs);
}

} // namespace mv
