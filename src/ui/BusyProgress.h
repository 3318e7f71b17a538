#pragma once

#include <QProgressDialog>

// The progress window of a long action over records ("Print", "Export", "Copy to clipboard",
// "Copy to local table"): its title, "done/total" and a cancel button "Prekini"; the hourglass
// cursor meanwhile. The window closes and the cursor returns when the object ends, also when an
// error passes.
class BusyProgress {
public:
    BusyProgress(QWidget* parent, const QString& title, int total);
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;

    // Shows the records done; false once the user cancelled.
    bool step(int done, int total);

private:
    QProgressDialog progress_;
};
