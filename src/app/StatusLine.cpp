// The status line: one message that clears itself 5 seconds after the last
// one was written.
#include "app/StatusLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

StatusLine::StatusLine(QWidget &window, MainWindowControls &controls) : c(controls)
{
    c.statusPanel = new QWidget(&window);
    c.statusPanel->setObjectName(QStringLiteral("statusPanel"));
    c.statusLabel = new QLabel(c.statusPanel);
    c.statusLabel->setObjectName(QStringLiteral("statusLabel"));
    c.statusLabel->setStyleSheet(QStringLiteral("color: lime; background: maroon; font: 8pt sans-serif;"));
    // As high as a line of its font with descenders, whatever the layout
    // around it gives.
    c.statusLabel->ensurePolished();
    c.statusLabel->setMinimumHeight(c.statusLabel->fontMetrics().height() + 2);
    // A long message is cut at the window's edge; it never widens the window.
    c.statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *statusLayout = new QHBoxLayout(c.statusPanel);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->addWidget(c.statusLabel);

    c.statusTimer = new QTimer(&window);
    c.statusTimer->setObjectName(QStringLiteral("statusTimer"));
    c.statusTimer->setInterval(10000);
    QObject::connect(c.statusTimer, &QTimer::timeout, &window, [this] { timerTimeout(); });
}

void StatusLine::show(const QString &Text)
{
    c.statusTimer->stop();
    c.statusLabel->setText(Text);
    // Painted at once, so the text shows even during a long operation that
    // follows and pumps no messages.
    c.statusLabel->repaint();
    c.statusTimer->setInterval(5000);
    c.statusTimer->start();
}

void StatusLine::timerTimeout()
{
    // The timer stays enabled and keeps clearing the empty label; the next
    // message restarts its 5 seconds.
    c.statusLabel->clear();
}
