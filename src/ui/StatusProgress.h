#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

class QPushButton;

// The progress of a long action in the status bar of the program's main window: the step as the
// bar's message, beside it "pbNapredek", a bar of the rows (a busy bar while none are known), and
// "bbPrekini" ("Prekini"), enabled only while the action can be cancelled. It is redrawn when the
// step changes and at most every 100 ms in between, and the window's events are processed then:
// without the user's input, except while the action can be cancelled, when input reaches the
// cancel button only (the rest of the window stays as still as before).
class StatusProgress : public QObject {
public:
    void show(const QString& step, qint64 done, qint64 known);
    void end();
    // Offers the cancel button from now (true) or no more (false); a new offer forgets an
    // earlier click.
    void setCancellable(bool cancellable);
    // Whether the cancel button was clicked since it was offered.
    bool cancelRequested() const { return cancelRequested_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The cancel button of the main window's status bar, made on first use; null without a window.
    QPushButton* cancelButton(bool make);

    QString step_;
    QElapsedTimer sinceDrawn_;
    bool cancellable_ = false;
    bool cancelRequested_ = false;
    QPointer<QPushButton> connected_;
};
