#include "ui/BusyProgress.h"

#include <QApplication>

BusyProgress::BusyProgress(QWidget* parent, const QString& title, int total)
    : progress_(title, QStringLiteral("Prekini"), 0, total, parent)
{
    progress_.setWindowTitle(title);
    progress_.setObjectName(title);
    progress_.setWindowModality(Qt::WindowModal);
    progress_.setMinimumDuration(500);
    progress_.setLabelText(QStringLiteral("0/%1").arg(total));
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyProgress::~BusyProgress()
{
    progress_.close();
    QApplication::restoreOverrideCursor();
}

bool BusyProgress::step(int done, int total)
{
    progress_.setValue(done);
    progress_.setLabelText(QStringLiteral("%1/%2").arg(done).arg(total));
    return !progress_.wasCanceled();
}
