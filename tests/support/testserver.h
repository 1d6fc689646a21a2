#pragma once
// The database server the tests run against when MORVANE_TEST_DATABASE names one (a URL
// such as postgresql://user:pw@127.0.0.1:5432/postgres, or "@FILE" for a file holding it);
// without it the tests use SQLite files. Each scratch database is new and empty and is
// dropped again afterwards.

#include <QString>

namespace mv::test {

// The server URL, empty when the tests run on SQLite. Fails the running test when the
// variable names a file that cannot be read.
QString testServerUrl();
inline bool onTestServer()
{
    return !testServerUrl().isEmpty();
}

class ScratchServerDatabase
{
public:
    // Creates the database (with the given CREATE DATABASE options, e.g. a locale); a
    // failure fails the running test.
    explicit ScratchServerDatabase(const QString& createOptions = {});
    ~ScratchServerDatabase();
    ScratchServerDatabase(const ScratchServerDatabase&) = delete;
    ScratchServerDatabase& operator=(const ScratchServerDatabase&) = delete;
    bool isValid() const { return !m_url.isEmpty(); }
    QString url() const { return m_url; }

private:
    QString m_name;
    QString m_url;
};

} // namespace mv::test
