#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error with a message text for the user. className names the kind of error, as some
// messages quote it ("EDatabaseError: ...").
class ZtfiError : public std::exception {
public:
    explicit ZtfiError(const QString& message, const QString& className = QStringLiteral("Exception"))
        : message_(message), className_(className), utf8_(message.toUtf8()) {}

    const QString& message() const { return message_; }
    const QString& className() const { return className_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString className_;
    QByteArray utf8_;
};

// An error reported by the database engine; its text is passed on unchanged.
class DatabaseError : public ZtfiError {
public:
    explicit DatabaseError(const QString& message)
        : ZtfiError(message, QStringLiteral("EDatabaseError")) {}
};
