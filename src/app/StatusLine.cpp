// The status line: one message that clears itself 5 seconds after the last
// one was written.
#include "app/StatusLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

StatusLine::StatusLine(QWidget &window, MainWindowControls &controls) : m_c(controls)
{
    m_c.statusPanel = new QWidget(&window);
    m_c.statusPanel->setObjectName(QStringLiteral("statusPanel"));
    m_c.statusLabel = new QLabel(m_c.statusPanel);
    m_c.statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_c.statusLabel->setStyleSheet(QStringLiteral("color: lime; background: maroon; font: 8pt sans-serif;"));
    // As high as a line of its font with descenders, whatever the layout
    // around it gives.
    m_c.statusLabel->ensurePolished();
    m_c.statusLabel->setMinimumHeight(m_c.statusLabel->fontMetrics().height() + 2);
    // A long message is cut at the window's edge; it never widens the window.
    m_c.statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *statusLayout = new QHBoxLayout(m_c.statusPanel);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->addWidget(m_c.statusLabel);

    m_c.statusTimer = new QTimer(&window);
    m_c.statusTimer->setObjectName(QStringLiteral("statusTimer"));
    m_c.statusTimer->setInterval(10000);
    QObject::connect(m_c.statusTimer, &QTimer::timeout, &window, [this] { timerTimeout(); });
}

void StatusLine::show(const QString &message)
{
    m_c.statusTimer->stop();
    m_c.statusLabel->setText(message);
    // Painted at once, so the text shows even during a long operation that
    // follows and pumps no messages.
    m_c.statusLabel->repaint();
    m_c.statusTimer->setInterval(5000);
    m_c.statusTimer->start();
}

void StatusLine::timerTimeout()
{
    // The timer stays enabled and keeps clearing the empty label; the next
    // message restarts its 5 seconds.
    m_c.statusLabel->clear();
}
