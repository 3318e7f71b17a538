#include "signing/SendRecording.h"

#include "core/Error.h"
#include "data/Step.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/dataset/TDMTable.h"

SendRecording::SendRecording(Connection& connection, TDMTable& registerTable)
    : connection_(connection), registerTable_(registerTable)
{
}

QString SendRecording::unsentRowsSql()
{
    return QStringLiteral(" SELECT DPATVPID, ZAPST FROM DPATVP ")
           + QStringLiteral(" WHERE XML_file = :XML_file AND DAN IS NULL ");
}

QString SendRecording::failureMessage()
{
    return QStringLiteral("Napaka pri popravku v DPATVP!");
}

QString SendRecording::noUnsentRowText(const QString& file)
{
    return QStringLiteral("Poročilo ") + file + QStringLiteral(" v registru nima neposlane vrstice.");
}

void SendRecording::record(const QString& file, const QDateTime& at)
{
    runStep(connection_, failureMessage(), [&] {
        TDMQuery unsent(connection_, QStringLiteral("qPoslano"));
        unsent.setSql(unsentRowsSql());
        unsent.paramByName(QStringLiteral("XML_file")).setAsString(file);
        unsent.open();
        if (unsent.isEmpty())
            throw ZtfiError(noUnsentRowText(file));
        if (!registerTable_.isActive())
            registerTable_.open();
        for (unsent.first(); !unsent.eof(); unsent.next()) {
            const QVariantList key{unsent.fieldByName(QStringLiteral("DPATVPID")).value(),
                                   unsent.fieldByName(QStringLiteral("ZAPST")).value()};
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
        }
    });
}
