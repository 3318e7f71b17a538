#include "ui/StatusProgress.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The program's main window, if it has one open.
QMainWindow* mainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<QMainWindow*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

}  // namespace

QPushButton* StatusProgress::cancelButton(bool make)
{
    QMainWindow* window = mainWindow();
    if (!window)
        return nullptr;
    QStatusBar* status = window->statusBar();
    auto* button = status->findChild<QPushButton*>(QStringLiteral("bbPrekini"));
    if (!button && make) {
        button = new QPushButton(QStringLiteral("Prekini"), status);
        button->setObjectName(QStringLiteral("bbPrekini"));
        button->setEnabled(false);
        button->hide();
        status->addPermanentWidget(button);
    }
    if (button && button != connected_) {
        connect(button, &QPushButton::clicked, this, [this] { cancelRequested_ = cancellable_; });
        connected_ = button;
    }
    return button;
}

void StatusProgress::show(const QString& step, qint64 done, qint64 known)
{
    if (step == step_ && sinceDrawn_.isValid() && sinceDrawn_.elapsed() < 100)
        return;
    QMainWindow* window = mainWindow();
    if (!window)
        return;
    step_ = step;
    sinceDrawn_.start();
    QStatusBar* status = window->statusBar();
    auto* bar = status->findChild<QProgressBar*>(QStringLiteral("pbNapredek"));
    if (!bar) {
        bar = new QProgressBar(status);
        bar->setObjectName(QStringLiteral("pbNapredek"));
        bar->setMaximumWidth(240);
        status->addPermanentWidget(bar);
    }
    QPushButton* button = cancelButton(true);
    // A bar of at most int rows: large counts are scaled.
    const int scale = known > 1000000 ? int(known / 1000000 + 1) : 1;
    bar->setRange(0, int(known / scale));
    bar->setValue(int(qMin(done, known) / scale));
    bar->show();
    button->setEnabled(cancellable_);
    button->show();
    status->showMessage(step);
    QCoreApplication::processEvents(cancellable_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void StatusProgress::end()
{
    step_.clear();
    sinceDrawn_.invalidate();
    QMainWindow* window = mainWindow();
    if (!window)
        return;
    if (auto* bar = window->statusBar()->findChild<QProgressBar*>(QStringLiteral("pbNapredek")))
        bar->hide();
    if (QPushButton* button = cancelButton(false))
        button->hide();
    window->statusBar()->clearMessage();
}

void StatusProgress::setCancellable(bool cancellable)
{
    if (cancellable == cancellable_)
        return;
    cancellable_ = cancellable;
    cancelRequested_ = false;
    if (cancellable)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    if (QPushButton* button = cancelButton(false))
        button->setEnabled(cancellable);
}

bool StatusProgress::eventFilter(QObject* watched, QEvent* event)
{
    // No shortcut of the window fires meanwhile: the focus widget is said to take every key.
    if (event->type() == QEvent::Shortcut)
        return true;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    // A window passes its input on to the widget under the mouse or with the focus, where it
    // stops unless that is the cancel button.
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    return watched != connected_.data();
}
