#pragma once
// A label that reports the pointer entering, moving over and leaving it, and
// clicks: the main window's menu bar, menu items and caption labels are such
// labels, as the window draws its own chrome.
#include <QLabel>

class HoverLabel : public QLabel {
    Q_OBJECT
public:
    explicit HoverLabel(const QString &text = {}, QWidget *parent = nullptr);

signals:
    void entered();
    void moved(QPoint pos);
    void left();
    void clicked();
    void pressed(QPoint pos);
    void released(QPoint pos);

protected:
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
};
