#include "exchange/DataImport.h"

#include "core/Interaction.h"
#include "data/engine/OleDate.h"
#include "exchange/DataImportError.h"
#include "exchange/DataImportTypes.h"
#include "exchange/ExcelDataImport.h"
#include "exchange/SeparatedDataImport.h"
#include "exchange/StringListDataImport.h"

#include <QFileInfo>

TDataImportItem::TDataImportItem(const TDataImport* owner) : owner_(owner)
{
    if (!owner)
        throw EDataImportError(QStringLiteral("TDataImportItem: invalid parameter value : AOwner."));
}

QString TDataImportItem::Value(const QString& name) const
{
    const int index = owner_->Structure().IndexOf(name);
    if (index < 0)
        throw EDataImportError(QStringLiteral("TDataImportItem: field %1 not found.").arg(name));
    return values_.value(index);
}

TDataImport::TDataImport(Interaction& ui) : ui_(ui) {}

TDataImport::~TDataImport() = default;

std::unique_ptr<IDataImportSource> TDataImport::createSource() const
{
    switch (dataSource_) {
    case didsExcel:
        return std::make_unique<TExcelDataImport>(ignoreFormulaErrors_, preload_);
    case didsTAB:
        return std::make_unique<TSeparatedDataImport>(QChar(9));
    case didsSemicolon:
        return std::make_unique<TSeparatedDataImport>(QChar(59));
    case didsStringList:
        return std::make_unique<TStringListDataImport>();
    }
    throw ZtfiError(QStringLiteral("Unknown data source: %1").arg(int(dataSource_)));
}

void TDataImport::Load()
{
    if (dataSource_ != didsStringList && !QFileInfo(fileName_).isFile())
        throw EDataImportError(QStringLiteral("File \"%1\" not found.").arg(fileName_));
    if (dataSource_ == didsStringList && !data_)
        throw EDataImportError(QStringLiteral("No data for didsStringList data source."));
    if (structure_.Count() == 0)
        throw EDataImportError(QStringLiteral("Structure is empty."));

    rows_.clear();
    const std::unique_ptr<IDataImportSource> source = createSource();
    if (dataSource_ == didsStringList)
        source->SetData(&*data_);
    else
        source->Open(fileName_);
    source->First();
    for (int skipped = 0; skipped < firstRow_ && !source->Eof(); ++skipped)
        source->Next();

    const bool headerMode = dataSource_ == didsExcel && headerNames_;
    bool headerRead = false;
    QStringList header;
    std::vector<bool> ignored(size_t(structure_.Count()), false);
    while (!source->Eof()) {
        if (headerMode && !headerRead) {
            header = readHeader(*source);
            headerRead = true;
        } else if (!readRow(*source, headerMode, header, ignored)) {
            return;
        }
        source->Next();
    }
}

// The header's texts from column 0 on, until more empty values in a row than the structure has
// items, or the last column the source has; the empty texts at the end are dropped.
QStringList TDataImport::readHeader(IDataImportSource& source) const
{
    QStringList header;
    int emptyRun = 0;
    for (int column = 0; emptyRun <= structure_.Count(); ++column) {
        QString text;
        try {
            text = source.GetValue(column).toText();
        } catch (const ZtfiError&) {
            break;
        }
        header.append(text);
        emptyRun = text.isEmpty() ? emptyRun + 1 : 0;
    }
    while (!header.isEmpty() && header.last().isEmpty())
        header.removeLast();
    return header;
}

bool TDataImport::readRow(IDataImportSource& source, bool headerMode, const QStringList& header,
                          std::vector<bool>& ignored)
{
    auto row = std::make_unique<TDataImportItem>(this);
    for (int i = 0; i < structure_.Count(); ++i) {
        const TDataImportStructureItem& item = structure_.Items(i);
        const int column = headerMode ? int(header.indexOf(item.Name)) : item.Column;
        if (column < 0) {
            row->Append(emptyValue_);
            continue;
        }
        Cell value;
        try {
            value = source.GetValue(column);
        } catch (const ZtfiError&) {
            if (!ignored[size_t(i)]) {
                const QString text = QStringLiteral("V XLS datoteki manjka polje %1.").arg(item.Name);
                if (ui_.askAbortIgnore(text) == Interaction::AbortIgnore::Abort)
                    return false;
                ignored[size_t(i)] = true;
            }
            row->Append(emptyValue_);
            continue;
        }
        // A time written without separators ("1530"); a cell that holds a time is taken as it is.
        if (headerMode && item.DataType == didtTime && !value.isEmpty() && !value.isDateOrTime())
            value = Cell::serial(Cell::Kind::Time, OleDate::fromTime(separatedTime(value.toText())));
        const QString text = value.toText();
        if (value.isEmpty())
            row->Append(emptyValue_);
        else if (item.CheckDataType)
            row->Append(checkedImportText(text, item.DataType));
        else
            row->Append(text);
    }
    rows_.push_back(std::move(row));
    return true;
}
