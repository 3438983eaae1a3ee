#pragma once
// The one exception type of the program. Every failure that reaches the user is an Error
// with the Turkish (or database-layer English) text to show; the application's error display
// catches it and lets the program go on. `details` optionally carries a library's own
// (English) text, for the details area of the message, never for the sentence itself.

#include <QByteArray>
#include <QString>
#include <exception>

class Error : public std::exception {
public:
    explicit Error(QString message, QString details = QString())
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
