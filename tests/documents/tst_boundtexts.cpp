// What a clerk types reaches the database as a value, never as SQL: texts made of quotes,
// backslashes and comment marks are stored, found and deleted exactly as typed, and touch
// nothing else. On the server the database's own default reads backslashes in literals as
// escapes (standard_conforming_strings off), where hand-quoted text would break out.

#include "common/reportlistmodel.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "documents/documentload.h"
#include "documents/documentsave.h"
#include "stock/movementlist.h"
#include "stock/stockbalance.h"
#include "stock/stocksearch.h"
#include "support/listtexts.h"
#include "support/tempdatastore.h"
#include "users/accounts.h"
#include "users/login.h"

#include <QTest>
#include <QUrl>

using namespace mv;
using mv::test::columnTexts;
using mv::test::TempDataStore;

namespace {

const QString kHostile = u"x\\' OR 1=1 --"_qs;

Document receipt(const QString& number, const QString& name, const QString& model)
{
    Document document;
    document.kind = DocumentKind::Receipt;
    document.header = {number, QDate(2010, 3, 5), u"供应'商"_qs, u"型材"_qs, u"admin"_qs};
    document.lines.append(DocumentLine{{name, model, u"7"_qs, u"支"_qs, u"1"_qs, u"备注\\'"_qs}});
    return document;
}

} // namespace

class TestBoundTexts : public QObject
{
    Q_OBJECT
private slots:
    void typedTextsStayValues();
};

void TestBoundTexts::typedTextsStayValues()
{
    TempDataStore store;
    Connection connection;
    QString error;
    if (store.onServer()) {
        const QString database = QUrl(store.url()).path().mid(1);
        store.exec(u"ALTER DATABASE \""_qs + database +
                   u"\" SET standard_conforming_strings = off"_qs);
        QVERIFY2(openServerDatabase(connection, store.url(), {}, &error), qPrintable(error));
        const auto setting = connection.query(
            u"SELECT count(*) FROM pg_db_role_setting s JOIN pg_database d ON d.oid = "
            "s.setdatabase WHERE d.datname = ? AND "
            "'standard_conforming_strings=off' = ANY (s.setconfig)"_qs,
            {database});
        QVERIFY(setting);
        QCOMPARE(setting->value(0).toInt(), 1);
    } else {
        QVERIFY2(openDataStore(connection, store.directory(), {}, &error), qPrintable(error));
    }

    QVERIFY(saveDocument(connection, receipt(u"00000001"_qs, u"铝型材"_qs, u"A"_qs)).done);
    const DocumentOutcome saved =
        saveDocument(connection, receipt(kHostile, kHostile, u"\\%_'"_qs));
    QVERIFY2(saved.done, qPrintable(saved.message));

    const std::optional<LoadedDocument> loaded =
        loadDocument(connection, DocumentKind::Receipt, kHostile);
    QVERIFY(loaded);
    QCOMPARE(loaded->header.number, kHostile);
    QCOMPARE(loaded->header.party, u"供应'商"_qs);
    QCOMPARE(loaded->lines.size(), 1);
    QCOMPARE(loaded->lines.first().cells.mid(0, 3), (QStringList{kHostile, u"\\%_'"_qs, u"7"_qs}));
    QCOMPARE(StockBalance(connection, kHostile, u"\\%_'"_qs), 7);

    ReportListModel list;
    for (const QString& text : {kHostile, u"\\'"_qs, u"1=1 --"_qs}) {
        SearchStock(connection, list, StockSearchField::Name, text);
        QCOMPARE(columnTexts(list, 2), QStringList{kHostile});
    }
    SearchStock(connection, list, StockSearchField::Model, u"%_"_qs);
    QCOMPARE(columnTexts(list, 3), QStringList{u"\\%_'"_qs});
    SearchStock(connection, list, StockSearchField::Name, u"' OR '1'='1"_qs);
    QCOMPARE(list.rowCount(), 0);
    ReportListModel movements;
    FillMovementList(connection, movements, kHostile, u"\\%_'"_qs);
    QCOMPARE(columnTexts(movements, 2), QStringList{kHostile});

    // An account whose name and password are such texts logs in with them, and only with them.
    QVERIFY(addAccount(connection, {kHostile, kHostile, kHostile, false, false}).done);
    QVERIFY(checkLogin(connection, kHostile, kHostile).done);
    QVERIFY(!checkLogin(connection, u"admin' --"_qs, u"x"_qs).done);
    QVERIFY(!checkLogin(connection, u"admin"_qs, u"' OR '1'='1"_qs).done);

    const DocumentOutcome deleted = deleteDocument(connection, DocumentKind::Receipt, kHostile);
    QVERIFY2(deleted.done, qPrintable(deleted.message));
    QCOMPARE(documentNumbers(connection, DocumentKind::Receipt).value_or(QStringList()),
             QStringList{u"00000001"_qs});
    const std::optional<LoadedDocument> other =
        loadDocument(connection, DocumentKind::Receipt, u"00000001"_qs);
    QVERIFY(other);
    QCOMPARE(other->lines.size(), 1);
    QCOMPARE(StockBalance(connection, u"铝型材"_qs, u"a"_qs), 7);
}

QTEST_GUILESS_MAIN(TestBoundTexts)
#include "tst_boundtexts.moc"
