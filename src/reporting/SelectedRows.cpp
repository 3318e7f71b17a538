#include "reporting/SelectedRows.h"

#include "data/WriteBatch.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/Field.h"
#include "data/filter/TFilter.h"

void postSelectedRows(TFilter& table, Dataset& rows, const SelectedRowTrace& trace,
                      const SelectedRowProgress& progress)
{
    table.close();
    table.open();
    WriteBatch batch(table.connection());
    const Field& reportId = rows.fieldByName(QStringLiteral("DpAtvpId"));
    const Field& tradeId = rows.fieldByName(QStringLiteral("IdPsl"));
    const Field& cancelled = rows.fieldByName(QStringLiteral("IsStn"));
    const Field& reference = rows.fieldByName(QStringLiteral("IDREFATVP"));
    const qint64 known = progress ? rows.recordCount() : 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        if (progress)
            progress(rows.recNo(), known);
        // A row is inserted before the current one: on the last row only that one row moves in
        // the buffer, where at the first row every row posted so far would.
        table.last();
        table.insert();
        try {
            table.fieldByName(QStringLiteral("DPATVPID")).setValue(reportId.value());
            table.fieldByName(QStringLiteral("IDPSL")).setValue(tradeId.value());
            table.fieldByName(QStringLiteral("ISSTN")).setValue(cancelled.value());
            table.fieldByName(QStringLiteral("IDREFATVP")).setValue(reference.value());
            if (trace)
                trace(reportId, tradeId, cancelled, reference);
            table.post();
        } catch (...) {
            table.cancel();
            throw;
        }
    }
    batch.flush();
}
