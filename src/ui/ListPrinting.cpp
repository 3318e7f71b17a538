#include "ui/ListPrinting.h"

#include "core/Error.h"
#include "core/ProgramFolder.h"
#include "data/dataset/Dataset.h"
#include "listing/ClipboardText.h"
#include "listing/ListExport.h"
#include "listing/ListFile.h"
#include "listing/ListReport.h"
#include "ui/BusyProgress.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

QString ListPrinting::exportFilter()
{
    return QStringLiteral("DBase (*.dbf);;Paradox (*.db);;Text fixed length (*.txt)");
}

void ListPrinting::print(QWidget* parent, const Dataset& dataset, const QString& title, const QFont& font)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QApplication::applicationFilePath() + QStringLiteral(" : "));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFromTo(1, 999);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 999);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    // The file name of Qt's own dialog, which would be made of the job title.
    if (auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
        fileName->setText(proposedPdfPath(title));
    if (dialog.exec() != QDialog::Accepted)
        return;
    ListReport report(dataset, title, font);
    if (printer.printRange() == QPrinter::PageRange)
        report.setPageRange(printer.fromPage(), printer.toPage());
    BusyProgress busy(parent, QStringLiteral("Print"), dataset.recordCount());
    report.setProgress([&busy](int done, int total) { return busy.step(done, total); });
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        ListFile::writePdf(report, title, printer.outputFileName(), printer.pageLayout());
        return;
    }
    try {
        if (!report.print(printer))
            printer.abort();
    } catch (...) {
        printer.abort();
        throw;
    }
}

QString ListPrinting::proposedPdfPath(const QString& title)
{
    static const QRegularExpression refused(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])"));
    QString name = title.simplified().replace(refused, QStringLiteral("_"));
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(QStringLiteral("Seznam"));
    QString folder = ProgramFolder::path();
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void ListPrinting::exportList(QWidget* parent, const Dataset& dataset)
{
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(parent, QString(), QString(), exportFilter(), &chosenFilter);
    if (path.isEmpty())
        return;
    const QString extension = chosenFilter.startsWith(QLatin1String("DBase"))     ? QStringLiteral("dbf")
                              : chosenFilter.startsWith(QLatin1String("Paradox")) ? QStringLiteral("db")
                                                                                  : QStringLiteral("txt");
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + extension;
    BusyProgress busy(parent, QStringLiteral("Export"), dataset.recordCount());
    const ListExport::Progress progress = [&busy](int done, int total) { return busy.step(done, total); };
    if (extension == QLatin1String("dbf"))
        ListExport::writeDbf(dataset, path, progress);
    else if (extension == QLatin1String("db"))
        ListExport::writeParadox(dataset, path, progress);
    else
        ListExport::writeText(dataset, path, progress);
}

bool ListPrinting::copyToClipboard(QWidget* parent, const Dataset& dataset, const QString& caption)
{
    BusyProgress busy(parent, QStringLiteral("Copy to clipboard"), dataset.recordCount());
    const std::optional<QString> text =
        clipboardText(caption, dataset, [&busy](int done, int total) { return busy.step(done, total); });
    if (!text)
        return false;
    QApplication::clipboard()->setText(*text);
    return true;
}
