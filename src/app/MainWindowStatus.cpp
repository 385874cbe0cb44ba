// The status line: one message that clears itself 5 seconds after the last
// one was written.
#include "app/MainWindow.h"

#include <QLabel>
#include <QTimer>

void MainWindow::showStatus(const QString &Text)
{
    statusTimer->stop();
    statusLabel->setText(Text);
    // Painted at once, so the text shows even during a long operation that
    // follows and pumps no messages.
    statusLabel->repaint();
    statusTimer->setInterval(5000);
    statusTimer->start();
}

void MainWindow::statusTimerTimeout()
{
    // The timer stays enabled and keeps clearing the empty label; the next
    // message restarts its 5 seconds.
    statusLabel->clear();
}
