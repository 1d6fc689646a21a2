// Document benchmark on the large set of the stock benchmark: 添加 on the receipt page, 保存
// of a 50-line receipt with the stock list refresh, and the stock check of a 50-line
// requisition, each against the same work done bare in the same process. The page paths run
// on the real main window (offscreen unless QT_QPA_PLATFORM says otherwise). Prints every
// figure and ratio with PASS/FAIL; exits 2 when a target is missed (full-size runs only).
//
// morvane_documentbench [--quick] [--items N] [--lines N]

#include "common/reportlistmodel.h"
#include "common/session.h"
#include "comparison.h"
#include "db/builders.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "documents/stockcheck.h"
#include "generator.h"
#include "gui/documents/documentpage.h"
#include "gui/documents/documentpages.h"
#include "gui/main/mainwindow.h"
#include "gui/main/toolbarsets.h"
#include "stock/stocklist.h"
#include "widgets/documentgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace mv;

namespace {

bench::Comparison g_targets;
using bench::say;
using bench::walk;
constexpr int kRuns = 5;
constexpr int kLines = 50;

double bestOf(const std::function<void()>& prepare, const std::function<void()>& work)
{
    return bench::bestOf(kRuns, prepare, work);
}

struct Item
{
    QString name, model, unit;
};

QList<Item> someItems(Connection& c, int count)
{
    QList<Item> items;
    auto rows = c.query(u"SELECT 原材料名字, 型号, 单位 FROM yclnote WHERE 正负='入库' "
                        "GROUP BY 原材料名字, 型号 LIMIT "_qs +
                            QString::number(count),
                        true);
    for (; rows && !rows->eof(); rows->next())
        items.append({rows->field(0), rows->field(1), rows->field(2)});
    return items;
}

void removeDocument(Connection& c, const QString& number)
{
    c.execute(u"DELETE FROM yclnote WHERE 单据号="_qs + sqlQuoted(number) + u" AND 正负='入库'"_qs);
    c.execute(u"DELETE FROM ycldate WHERE 单号="_qs + sqlQuoted(number) + u" AND 出入='入'"_qs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int items = 5000, lines = 500000;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == u"--quick"_qs) {
            items = 500, lines = 20000;
            g_targets.enforce = false;
        } else if (args.at(i) == u"--items"_qs && i + 1 < args.size()) {
            items = args.at(++i).toInt();
        } else if (args.at(i) == u"--lines"_qs && i + 1 < args.size()) {
            lines = args.at(++i).toInt();
        } else {
            say(u"usage: morvane_documentbench [--quick] [--items N] [--lines N]"_qs);
            return 3;
        }
    }

    QTemporaryDir dir;
    Connection c;
    QString error;
    if (!c.openSqlite(dir.filePath(u"db.mdb"_qs), &error) || !createSchema(c, &error)) {
        say(u"!! cannot create the database: "_qs + error);
        return 3;
    }
    GeneratorOptions options;
    options.items = items;
    options.documents = std::max(1, lines / options.linesPerDocument);
    if (!generateStockData(c, options, &error)) {
        say(u"!! generator failed: "_qs + error);
        return 3;
    }
    say(QStringLiteral("documents on %1 items, %2 lines").arg(items).arg(lines));
    session() = Session{u"bench"_qs, true, true};
    MainWindow window(c, nullptr);
    DocumentPage* page = window.documentPages()->receipt();
    auto* grid = window.findChild<DocumentGrid*>(u"显示数据"_qs);
    auto* supplier = window.findChild<QComboBox*>(u"编辑框_单位入库"_qs);
    auto* category = window.findChild<QComboBox*>(u"组合框_分类"_qs);
    const QList<Item> picked = someItems(c, kLines);

    // 添加: the latest receipt, its number and the five drop-down lists.
    const auto enterPage = [&] { window.onMainButton(MainReceipt); };
    const double add = bestOf(enterPage, [&] { page->onAuxButton(AuxAdd); });
    const double addBare = bestOf(
        [] {},
        [&] {
            const QStringList numbers =
                documentNumbers(c, DocumentKind::Receipt).value_or(QStringList());
            walk(c, u"select * from yclnote where 单据号="_qs +
                        sqlQuoted(numbers.value(numbers.size() - 1)) + u"and 正负='入库'"_qs);
            for (const char* column : {"原材料名字", "型号", "单位", "分类"})
                walk(c, u"select DISTINCT "_qs + QString::fromUtf8(column) + u" from yclnote"_qs);
            walk(c, u"select DISTINCT 供应单位 from yclnote WHERE 正负='入库'"_qs);
        });
    g_targets.report(u"添加 (receipt page)"_qs, add, addBare, 1.5);

    // 保存 of a 50-line receipt with the stock list refresh; the receipt is removed untimed.
    QString saved;
    const auto fillForm = [&] {
        if (!saved.isEmpty())
            removeDocument(c, saved);
        enterPage();
        page->onAuxButton(AuxAdd);
        saved = window.findChild<QLineEdit*>(u"编辑框_单号入库"_qs)->text();
        supplier->setCurrentText(u"bench"_qs);
        category->setCurrentText(u"bench"_qs);
        grid->setRowCount(1);
        for (int i = 0; i < picked.size(); ++i) {
            grid->insertRowAt(i + 1);
            for (const auto& [col, text] : {std::pair{0, picked.at(i).name},
                                            {1, picked.at(i).model},
                                            {2, u"3"_qs},
                                            {3, picked.at(i).unit},
                                            {4, u"1.5"_qs}})
                grid->setCellText(i + 1, col, text);
        }
    };
    const double save = bestOf(fillForm, [&] { page->onAuxButton(AuxSave); });
    removeDocument(c, saved);
    saved.clear();
    ReportListModel bareList;
    const double saveBare = bestOf(
        [&] {
            if (!saved.isEmpty())
                removeDocument(c, saved);
            saved = u"bare"_qs;
        },
        [&] {
            Transaction t(c);
            for (const Item& item : picked)
                c.execute(buildInsert(
                    u"yclnote"_qs,
                    u"原材料名字="_qs + sqlQuoted(item.name) + u",单位="_qs + sqlQuoted(item.unit) +
                        u",制单人='bench',供应单位='bench',数量='3',单价='1.5',单据号='bare',"
                        "分类='bench',备注='',型号="_qs +
                        sqlQuoted(item.model) + u",日期='2024-01-01',正负='入库'"_qs));
            c.execute(u"INSERT INTO ycldate (单号, 出入) VALUES ('bare', '入')"_qs);
            t.commit();
            RefreshStockList(c, bareList);
        });
    removeDocument(c, saved);
    g_targets.report(u"保存 of 50 lines + stock list"_qs, save, saveBare, 1.3);

    // The stock check of a 50-line requisition against the bare sums of its items.
    QList<DocumentLine> requisition;
    for (const Item& item : picked)
        requisition.append({{item.name, item.model, u"1"_qs, item.unit}});
    const double check = bestOf([] {}, [&] { checkStock(c, requisition); });
    const double checkBare =
        bestOf([] {},
               [&] {
                   for (const Item& item : picked)
                       walk(c, u"SELECT 正负, SUM(mv_int(数量)) FROM yclnote WHERE 原材料名字="_qs +
                                   sqlQuoted(item.name) + u" AND 型号="_qs + sqlQuoted(item.model) +
                                   u" AND 正负 IN ('入库', '出库') GROUP BY 正负"_qs);
               });
    g_targets.report(u"stock check of 50 lines"_qs, check, checkBare, 1.5);

    say(g_targets.missed ? u"\nSOME TARGETS MISSED"_qs : u"\nall targets met"_qs);
    return g_targets.missed ? 2 : 0;
}
