#include "exchange/DataImportSource.h"

#include "exchange/DataImportError.h"

#include <QFileInfo>

void TBaseDataImport::Open(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        throw EDataImportError(QStringLiteral("File \"%1\" does not exist.").arg(fileName));
    DoOpen(fileName);
    fileName_ = fileName;
}
