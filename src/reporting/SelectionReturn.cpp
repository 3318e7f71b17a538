#include "reporting/SelectionReturn.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

SelectionReturn::SelectionReturn(ZtfiApp& app, Selection& selection)
    : app_(app), selection_(selection)
{
}

bool SelectionReturn::bNaborClick(const QDate& firstDay, const QDate& lastDay)
{
    return app_.regeneration.active ? openRegeneratedSet(firstDay, lastDay)
                                    : selection_.openLists(firstDay, lastDay);
}

bool SelectionReturn::openRegeneratedSet(const QDate& firstDay, const QDate& lastDay)
{
    const qint64 reportId = app_.selection.FMaxDpAtvpId;
    // The period of the regenerated report as the register holds it (DANOD empty: one day), read
    // from the set's latest report: the one being regenerated.
    QDate first = firstDay;
    QDate last = lastDay;
    TUniQuery period(app_.connection(), QStringLiteral("qDPATVP"));
    period.setSql(QStringLiteral("SELECT DANOD, DANPOROCANJA FROM DPATVP WHERE DPATVPID = :DPATVPID ORDER BY ZAPST DESC"));
    period.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    period.open();
    if (!period.isEmpty()) {
        last = Field::convert(FieldType::DateTime, period.fieldByName(QStringLiteral("DANPOROCANJA")).value())
                   .toDate();
        const QVariant danOd = Field::convert(FieldType::DateTime, period.fieldByName(QStringLiteral("DANOD")).value());
        first = danOd.isValid() ? danOd.toDate() : last;
    }

    return Selection::openReportLists(app_, first, last, reportId);
}
