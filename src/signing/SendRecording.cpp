#include "signing/SendRecording.h"

#include "core/Error.h"
#include "data/RegisteredDigests.h"
#include "data/Step.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/dataset/TDMTable.h"
#include "ntrs/ReportDigest.h"

SendRecording::SendRecording(Connection& connection, TDMTable& registerTable)
    : connection_(connection), registerTable_(registerTable)
{
}

QString SendRecording::unsentRowsSql()
{
    return QStringLiteral(" SELECT D.DPATVPID, D.ZAPST FROM DPATVP D LEFT OUTER JOIN DPATVPXML X ")
           + QStringLiteral(" ON X.DPATVPID = D.DPATVPID AND X.ZAPST = D.ZAPST ")
           + QStringLiteral(" WHERE D.XML_file = :XML_file AND D.DAN IS NULL ")
           + QStringLiteral(" AND (X.SHA256 IS NULL OR X.SHA256 = :SHA256) ");
}

QString SendRecording::failureMessage()
{
    return QStringLiteral("Napaka pri popravku v DPATVP!");
}

QString SendRecording::noUnsentRowText(const QString& file)
{
    return QStringLiteral("Poročilo ") + file + QStringLiteral(" v registru nima neposlane vrstice.");
}

void SendRecording::record(const QString& file, const QString& sha256, const QDateTime& at)
{
    runStep(connection_, failureMessage(), [&] {
        TDMQuery unsent(connection_, QStringLiteral("qPoslano"));
        unsent.setSql(unsentRowsSql());
        unsent.paramByName(QStringLiteral("XML_file")).setAsString(file);
        unsent.paramByName(QStringLiteral("SHA256")).setAsString(sha256);
        unsent.open();
        if (unsent.isEmpty()) {
            // Unsent rows of the name are left only when another desk's report replaced this one.
            throw ZtfiError(RegisteredDigests::ofUnsentFile(connection_, file).isEmpty()
                                ? noUnsentRowText(file)
                                : ReportDigest::replacedMessage(file));
        }
        if (!registerTable_.isActive())
            registerTable_.open();
        for (unsent.first(); !unsent.eof(); unsent.next())
            recordRow({unsent.fieldByName(QStringLiteral("DPATVPID")).value(),
                       unsent.fieldByName(QStringLiteral("ZAPST")).value()},
                      file, sha256, at);
    });
}

void SendRecording::recordRow(const QVariantList& key, const QString& file, const QString& sha256,
                              const QDateTime& at)
{
    // The row as it stands in this transaction must still be unsent.
    if (!registerTable_.SQLSetRange(key) || !registerTable_.fieldByName(QStringLiteral("DAN")).isNull())
        throw ZtfiError(noUnsentRowText(file));
    try {
        registerTable_.edit();
        registerTable_.fieldByName(QStringLiteral("DAN")).setValue(at);
        registerTable_.post();
    } catch (...) {
        registerTable_.cancel();
        throw;
    }
    // Once written, the row is held by this transaction; a server may have let another desk
    // replace it with its report, and that desk's digest, between the look-up and the write.
    if (RegisteredDigests::differs(connection_, key.at(0).toLongLong(), key.at(1).toLongLong(), sha256))
        throw ZtfiError(ReportDigest::replacedMessage(file));
}
