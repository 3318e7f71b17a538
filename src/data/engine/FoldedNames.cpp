#include "data/engine/FoldedNames.h"

#include "data/engine/SqlNameChar.h"

QString unfoldedColumnName(const QString& foldedName, const QString& statement)
{
    qsizetype i = 0;
    while (i < statement.size()) {
        const QChar c = statement[i];
        if (c == u'\'' || c == u'"') {
            // quoted text and quoted names keep their own spelling
            const qsizetype end = statement.indexOf(c, i + 1);
            i = end < 0 ? statement.size() : end + 1;
            continue;
        }
        if (!isNameChar(c)) {
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < statement.size() && isNameChar(statement[end]))
            ++end;
        const QStringView word = QStringView(statement).sliced(i, end - i);
        if (word.compare(foldedName, Qt::CaseInsensitive) == 0)
            return word.toString();
        i = end;
    }
    return foldedName.toUpper();
}
