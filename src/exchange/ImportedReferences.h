#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class Connection;
class ReusedStatement;

// The imported rows (DPATVPIMP) that an import's reference numbers name, read for the
// references of many sheet rows in one statement instead of one per row, and kept as the import
// writes them: a reference that a row before wrote is found as that row left it.
class ImportedReferences {
public:
    // What the import needs of an imported row: its identifier, its report and its kind.
    struct Row {
        qint64 id = 0;
        QVariant report;  // DPATVPID, null for none
        QString cancellation;  // RAZTRANSA
    };

    explicit ImportedReferences(Connection& connection);
    ~ImportedReferences();
    ImportedReferences(const ImportedReferences&) = delete;
    ImportedReferences& operator=(const ImportedReferences&) = delete;

    // The references that one statement looks up.
    static int perStatement() { return 200; }
    // The look-up of `count` reference numbers (parameters R1 ... Rn), the columns of the rows.
    static QString statement(int count);

    bool known(qint64 reference) const { return rows_.contains(reference); }
    // Reads the rows of those references that are not known yet.
    void read(const QList<qint64>& references);
    // The row of a known reference; none when it names no imported row.
    std::optional<Row> row(qint64 reference) const;
    // The import wrote the row of the reference.
    void written(qint64 reference, const Row& row);
    // Forgets every row (another import reads the table anew).
    void clear() { rows_.clear(); }

private:
    Connection& connection_;
    std::unique_ptr<ReusedStatement> find_;
    QHash<qint64, std::optional<Row>> rows_;
};
