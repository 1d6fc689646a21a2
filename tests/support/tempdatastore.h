#pragma once
// A fresh data store in a temporary directory, opened on its own connection, for tests; on
// the test server (see testserver.h) a fresh database there instead.

#include "db/connection.h"
#include "db/datastore.h"
#include "testserver.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

namespace mv::test {

class TempDataStore
{
public:
    // Creates db.mdb (schema and the admin account, plus the demo data when asked) in a new
    // temporary directory; a failure fails the running test.
    explicit TempDataStore(const OpenOptions& options = {});
    TempDataStore(const TempDataStore&) = delete;
    TempDataStore& operator=(const TempDataStore&) = delete;

    bool isValid() const { return m_valid; }
    QString directory() const { return m_dir.path(); }
    QString databasePath() const; // the SQLite file; empty on the test server
    QString url() const;          // what a second connection opens to reach the same data
    bool onServer() const { return m_server != nullptr; }
    Connection& connection() { return m_connection; }

    // Executes a statement; a failure fails the running test with the statement and error.
    void exec(const QString& sql);

    // Inserts one yclnote line with the given fields (the price and remark stay empty).
    // direction is "入库" or "出库"; date is the stored text, e.g. "2010-01-05". The quantity
    // as a QString is written as a text literal, as a number as a number literal (which the
    // text column keeps as its text), a null QVariant as NULL.
    void addLine(const QString& name, const QString& model, const QString& direction,
                 const QVariant& quantity, const QString& date, const QString& category = {},
                 const QString& unit = {}, const QString& number = {}, const QString& maker = {},
                 const QString& supplier = {});

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScratchServerDatabase> m_server;
    Connection m_connection;
    bool m_valid = false;
};

} // namespace mv::test
