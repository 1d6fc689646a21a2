#pragma once
// The parts of a server URL beyond host, port, user, password and database: its parameters
// (postgresql://user@host/db?sslmode=require&application_name=...), which are connection
// options of the server's client library and are passed on as such; and the URL as it may be
// shown on screen, never with the password.

#include <QList>
#include <QString>
#include <utility>

class QUrl;

namespace mv {

using ServerParameters = QList<std::pair<QString, QString>>;

// The URL's parameters in their order, percent-decoded; false with the reason in *error when
// one cannot be passed on (a name that is no option name, a value holding ';').
bool serverParameters(const QUrl& url, ServerParameters* parameters, QString* error);

// The options for the database driver: the URL's parameters, each value quoted, after
// connect_timeout=5 unless the URL gives its own. Empty with *error set when a parameter
// cannot be passed on.
QString serverConnectOptions(const QUrl& url, QString* error);

// One key=value pair of a connection string, the value quoted as the client library reads it.
QString connectionPair(const QString& key, const QString& value);

// "主机:端口/数据库" of a server URL, for titles and notes; empty for anything else.
QString serverDescription(const QString& url);

} // namespace mv
