#pragma once
// The one exception type of the program. Every failure that reaches the user is an Error
// with the Turkish (or database-layer English) text to show; the application's error display
// catches it and lets the program go on.

#include <QByteArray>
#include <QString>
#include <exception>

class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
