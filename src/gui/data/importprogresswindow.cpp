#include "gui/data/importprogresswindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace mv {

ImportProgressWindow::ImportProgressWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ImportProgressWindow"));
    setWindowTitle(QStringLiteral("导入 Access 数据库"));
    m_label = new QLabel(QStringLiteral("正在打开 Access 文件…"), this);
    m_label->setObjectName(QStringLiteral("标签_导入进度"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("进度条_导入"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    resize(360, 90);
}

void ImportProgressWindow::showProgress(const QString& table, qint64 rows, qint64 total)
{
    m_label->setText(QStringLiteral("正在导入表 %1：%2 / %3 行").arg(table).arg(rows).arg(total));
    m_bar->setRange(0, int(std::max<qint64>(1, total)));
    m_bar->setValue(int(std::min(rows, total)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace mv
