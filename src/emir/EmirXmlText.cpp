#include "emir/EmirXmlText.h"

#include "data/dataset/DisplayFormat.h"

#include <QStringList>

namespace {

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// The lines of the file, each indented by its depth.
class Lines {
public:
    void open(const QString& tag) { add(QLatin1Char('<') + tag + QLatin1Char('>')); ++depth_; }
    void close(const QString& tag) { --depth_; add(QStringLiteral("</") + tag + QLatin1Char('>')); }
    void element(const QString& tag, const QString& value)
    {
        add(QLatin1Char('<') + tag + QLatin1Char('>') + value + QStringLiteral("</") + tag + QLatin1Char('>'));
    }
    void add(const QString& line) { lines_ << QString(depth_ * 2, QLatin1Char(' ')) + line; }
    void enter() { ++depth_; }
    void leave() { --depth_; }
    QByteArray text() const
    {
        QByteArray bytes;
        for (const QString& line : lines_)
            bytes += line.toUtf8() + "\r\n";
        return bytes;
    }

private:
    QStringList lines_;
    int depth_ = 0;
};

void writeReport(Lines& out, const EmirXmlReport& report)
{
    const QString unconfirmed = QString::number(report.unconfirmed);
    out.open(QStringLiteral("Porocila"));
    out.open(QStringLiteral("ReportEMIR"));
    out.element(QStringLiteral("ReferencnaStevilkaPorocila"), QString::number(report.serial));
    out.element(QStringLiteral("SifraPorocila"), report.disputes.isEmpty() ? QStringLiteral("EMTR") : QStringLiteral("EMSP"));
    out.element(QStringLiteral("DatumPorocila"), dateText(report.reportDay));
    out.element(QStringLiteral("ZavezanecZaPorocanje"), report.firmCode);
    out.open(QStringLiteral("PostavkePorocila"));
    if (report.disputes.isEmpty()) {
        out.open(QStringLiteral("Postavka"));
        out.element(QStringLiteral("ZaporednaStevilkaZapisa"), QStringLiteral("1"));
        if (report.unconfirmed != 0)
            out.element(QStringLiteral("SteviloNepotrjenihTransakcij"), unconfirmed);
        out.close(QStringLiteral("Postavka"));
    }
    int item = 0;
    for (const EmirXmlDispute& dispute : report.disputes) {
        out.open(QStringLiteral("Postavka"));
        out.element(QStringLiteral("ZaporednaStevilkaZapisa"), QString::number(++item));
        if (report.unconfirmed != 0)
            out.element(QStringLiteral("SteviloNepotrjenihTransakcij"), unconfirmed);
        out.element(QStringLiteral("Stranka"), EmirXmlText::escaped(dispute.party));
        out.element(QStringLiteral("NasprotnaStranka"), EmirXmlText::escaped(dispute.counterparty));
        out.element(QStringLiteral("DatumZacetkaSpora"), dateText(dispute.firstDay));
        if (dispute.lastDay.isValid())
            out.element(QStringLiteral("DatumZakljuckaSpora"), dateText(dispute.lastDay));
        out.element(QStringLiteral("ZnesekPogodbe"), EmirXmlText::amount(dispute.amount));
        out.element(QStringLiteral("Opombe"), EmirXmlText::escaped(dispute.notes));
        out.close(QStringLiteral("Postavka"));
    }
    out.close(QStringLiteral("PostavkePorocila"));
    out.close(QStringLiteral("ReportEMIR"));
    out.close(QStringLiteral("Porocila"));
}

void writeCancellation(Lines& out, const EmirXmlReport& report)
{
    out.open(QStringLiteral("Preklici"));
    out.open(QStringLiteral("PreklicPorocila"));
    out.element(QStringLiteral("ZavezanecZaPorocanje"), report.firmCode);
    out.element(QStringLiteral("ReferencnaStevilkaPorocila"), QString::number(report.serial));
    out.element(QStringLiteral("CancelledFlag"), QStringLiteral("C"));
    out.close(QStringLiteral("PreklicPorocila"));
    out.close(QStringLiteral("Preklici"));
}

}  // namespace

namespace EmirXmlText {

QByteArray document(const EmirXmlReport& report)
{
    Lines out;
    out.add(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    out.add(QStringLiteral("<ReportRoot xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                           " xsi:noNamespaceSchemaLocation=\"EMIR.xsd\" MaticnaStevilkaZavezanca=\"%1\""
                           " CreationDate=\"%2\" CreationTime=\"%3\" Version=\"1.0\">")
                .arg(report.firmCode, dateText(report.preparedAt.date()),
                     report.preparedAt.time().toString(QStringLiteral("HH:mm:ss"))));
    out.enter();
    if (report.cancelled)
        writeCancellation(out, report);
    else
        writeReport(out, report);
    out.leave();
    out.add(QStringLiteral("</ReportRoot>"));
    return out.text();
}

QString escaped(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    result.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    result.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    result.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    result.replace(QLatin1Char('\''), QStringLiteral("&apos;"));
    return result;
}

QString amount(double value)
{
    return DisplayFormat::formatNumber(QStringLiteral("0,00"), value);
}

}  // namespace EmirXmlText
