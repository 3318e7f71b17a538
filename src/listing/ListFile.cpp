#include "listing/ListFile.h"

#include "core/AtomicFile.h"
#include "core/AtomicFileDevice.h"
#include "core/Error.h"
#include "listing/ListExport.h"
#include "listing/ListReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>

std::optional<ListFile::Type> ListFile::typeOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Type::Pdf;
    if (suffix == QLatin1String("dbf"))
        return Type::Dbf;
    if (suffix == QLatin1String("db"))
        return Type::Paradox;
    if (suffix == QLatin1String("txt"))
        return Type::Text;
    return std::nullopt;
}

QFont ListFile::defaultFont()
{
    QFont font(QStringLiteral("Arial CE"));
    font.setPointSize(8);
    return font;
}

bool ListFile::writePdf(ListReport& report, const QString& title, const QString& path, const QPageLayout& layout)
{
    AtomicFile file(path);
    bool whole = false;
    {
        AtomicFileDevice device(file);
        QPdfWriter pdf(&device);
        pdf.setResolution(600);
        pdf.setTitle(title);
        pdf.setCreator(QCoreApplication::applicationFilePath() + QStringLiteral(" : "));
        pdf.setPageLayout(layout);
        whole = report.print(pdf);
    }
    if (whole)
        file.putInPlace();
    return whole;
}

void ListFile::write(const Dataset& dataset, const QString& title, const QString& path, const QFont& font,
                     const std::function<void(int done, int total)>& progress)
{
    const std::optional<Type> type = typeOf(path);
    if (!type)
        throw ZtfiError(QStringLiteral("Neznana vrsta datoteke %1 (znane so .pdf, .dbf, .db in .txt)").arg(path));
    const QFileInfo target(path);
    if (!target.dir().exists())
        throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče zapisati: mapa %2 ne obstaja")
                            .arg(path, QDir::toNativeSeparators(target.absolutePath())));
    ListExport::Progress rowDone;
    if (progress) {
        rowDone = [&progress](int done, int total) {
            progress(done, total);
            return true;
        };
    }
    switch (*type) {
    case Type::Pdf: {
        ListReport report(dataset, title, font);
        report.setProgress(rowDone);
        writePdf(report, title, path,
                 QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter));
        break;
    }
    case Type::Dbf: ListExport::writeDbf(dataset, path, rowDone); break;
    case Type::Paradox: ListExport::writeParadox(dataset, path, rowDone); break;
    case Type::Text: ListExport::writeText(dataset, path, rowDone); break;
    }
}
