// The status line: one message that clears itself 5 seconds after the last
// one was written.
#include "app/TForm1.h"

#include <QLabel>
#include <QTimer>

void TForm1::Status(const QString &Text)
{
    TimerStatus->stop();
    lStatus->setText(Text);
    // Painted at once, so the text shows even during a long operation that
    // follows and pumps no messages.
    lStatus->repaint();
    TimerStatus->setInterval(5000);
    TimerStatus->start();
}

void TForm1::TimerStatusTimer()
{
    // The timer stays enabled and keeps clearing the empty label; the next
    // message restarts its 5 seconds.
    lStatus->clear();
}
