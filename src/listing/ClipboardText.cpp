#include "listing/ClipboardText.h"

#include "data/dataset/Dataset.h"
#include "listing/ListColumns.h"

namespace {

bool isQuoted(FieldType type)
{
    return type == FieldType::String || type == FieldType::Memo || type == FieldType::FixedChar ||
           type == FieldType::WideString;
}

}  // namespace

std::optional<QString> clipboardText(const QString& caption, const Dataset& dataset,
                                     const std::function<bool(int, int)>& progress)
{
    const QString lineEnd = QStringLiteral("\r\n");
    const QList<Field*> fields = listColumns(dataset);
    QString text = caption + lineEnd;
    for (const Field* field : fields)
        text += field->displayLabel() + u'\t';
    text += lineEnd;
    const int total = dataset.isActive() ? dataset.recordCount() : 0;
    for (int row = 0; row < total; ++row) {
        for (const Field* field : fields) {
            QString value = field->displayTextOf(dataset.valueAt(row, *field));
            if (isQuoted(field->type())) {
                value.remove(u'\r');
                value = u'"' + value.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
            }
            value.remove(u'\t');
            text += value + u'\t';
        }
        text += lineEnd;
        if (progress && !progress(row + 1, total))
            return std::nullopt;
    }
    return text;
}
