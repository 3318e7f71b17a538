#include "app/cli/CliOutput.h"

#include "data/dataset/Dataset.h"
#include "data/dataset/Field.h"
#include "instruments/PendingChoices.h"

#include <QTextStream>

namespace {

QString cell(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

}  // namespace

void printDataset(Dataset& dataset, QTextStream& out)
{
    QStringList header;
    const QList<Field*> fields = dataset.fields();
    for (const Field* f : fields)
        header << f->name();
    out << header.join(QLatin1Char('\t')) << '\n';
    if (!dataset.isActive())
        return;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList line;
        for (const Field* f : fields)
            line << cell(f->displayText());
        out << line.join(QLatin1Char('\t')) << '\n';
    }
    out.flush();
}

void printPendingIsins(Connection& connection, QTextStream& out)
{
    for (const QString& isin : isinsAwaitingChoice(connection))
        out << isin << '\n';
    out.flush();
}
