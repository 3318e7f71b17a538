#pragma once

#include <QString>

class ErrorLog;

// The lines that Qt's database drivers print by themselves ("QODBCResult::exec: Unable to
// execute statement: ...") never reach standard error, where the program's own message is what
// a user can act on: while an instance lives they go to the error log (Log.txt when Debug is
// on, else nowhere). Every other message of Qt takes its usual way.
class DriverMessages {
public:
    explicit DriverMessages(const ErrorLog& log);
    ~DriverMessages();
    DriverMessages(const DriverMessages&) = delete;
    DriverMessages& operator=(const DriverMessages&) = delete;

    // Whether a message of Qt comes from its database layer.
    static bool isDriverLine(const QString& message);
};
