#pragma once

#include <QDateTime>
#include <QString>

class Connection;
class TDMTable;

// The send of a delivered report in the register: one short transaction of its own in which
// the register rows of the report file that are not sent yet and hold the delivered file's
// digest (or none, registered before digests were kept) get the send date, through the
// register's table component (which writes the audit trail). Finding no such row is a failure:
// the report was sent meanwhile, its row removed, or replaced by another desk's report.
class SendRecording {
public:
    // registerTable: the table component of DPATVP, sorted by DPATVPID and ZAPST first; it is
    // opened when closed.
    SendRecording(Connection& connection, TDMTable& registerTable);

    // The statement that finds the rows to record (:XML_file, the report file's name; :SHA256,
    // the delivered file's digest): those of the file without a send date whose registered
    // digest is the file's or missing; a sent namesake keeps its own.
    static QString unsentRowsSql();

    // Records the send of `file`, whose SHA-256 is `sha256`, at `at`. Throws ZtfiError with
    // failureMessage(), a line break and the reason when anything failed; nothing is recorded
    // then.
    void record(const QString& file, const QString& sha256, const QDateTime& at);

    // "Napaka pri popravku v DPATVP!"
    static QString failureMessage();
    // The reason when the file has no unsent row.
    static QString noUnsentRowText(const QString& file);

private:
    void recordRow(const QVariantList& key, const QString& file, const QString& sha256, const QDateTime& at);

    Connection& connection_;
    TDMTable& registerTable_;
};
