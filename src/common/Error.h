#pragma once
// The one exception type of the program. Every failure that reaches the user is an Error
// with the Turkish (or database-layer English) text to show; the application's error display
// catches it and lets the program go on. The technical text behind it (a server's own words,
// an error code) travels apart, in details(), which the message boxes show only on request.

#include <QByteArray>
#include <QString>
#include <exception>

class Error : public std::exception {
public:
    explicit Error(QString message, QString details = {})
        : message_(std::move(message)), details_(std::move(details)), utf8_(message_.toUtf8())
    {
    }
    const QString &message() const { return message_; }
    const QString &details() const { return details_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString details_;
    QByteArray utf8_;
};
