#pragma once
// What the server engine tells the user when something goes wrong: one Turkish sentence per
// situation a practice can meet (the server is down, the password is wrong, a desk holds the
// record, the disk is full ...), chosen from tables by connection state and SQLSTATE. The
// server's own text goes into Error::details() only, tidied (no tabs, no repeated lines),
// without any row data and without any form of the password the address holds.

#include <QString>

#include "Error.h"

struct pg_conn;
struct pg_result;

namespace records {

// The address as it may be shown: its password left out, whichever way it was written
// (URI user info, URI parameter, key=value).
QString addressForDisplay(const QString &address);

// `text` with every form of the password of `address` (as written, percent-decoded) and any
// "password=..." or "user:password@" it holds replaced by "***".
QString withoutSecrets(QString text, const QString &address);

// libpq could not read the address (PQconninfoParse's message in `libpqMessage`).
Error addressError(const QString &libpqMessage, const QString &address);

// A connection to `server` ("host:port/database") that could not be made.
Error connectError(const pg_conn *conn, const QString &server, const QString &address);

// A statement that failed on `conn`; `result` may be null. A broken connection gives the
// connection-lost message naming `server`.
Error statementError(const pg_conn *conn, const pg_result *result, const QString &server, const QString &address);

}  // namespace records
