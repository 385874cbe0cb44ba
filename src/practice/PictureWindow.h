#pragma once
// Picture window. One instance lives for the whole run, hidden
// until a term's picture is shown; a click on the picture hides it.
#include <QLabel>
#include <QSize>
#include <QWidget>

#include "platform/ui/Errors.h"

namespace korvana {

// A picture that cannot be shown; the reason says why ("too large", "not a
// regular file", "permission denied", the image reader's own words, ...).
class PictureError : public Error {
public:
    PictureError(const QString &fileName, const QString &reason)
        : Error(QStringLiteral("Cannot read the picture \"%1\": %2").arg(fileName, reason)), m_reason(reason)
    {
    }
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

} // namespace korvana

// The picture itself; a click on it closes the window.
class PictureImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
};

class PictureWindow : public QWidget {
    Q_OBJECT
public:
    // Keys pressed in the window go on to mainWidget, the practice window.
    explicit PictureWindow(QWidget *mainWidget, QWidget *parent = nullptr);

    // Larger picture files are not read.
    static constexpr qint64 MaxFileBytes = qint64(64) << 20;
    // Nor decoded into more pixels than this (a small file can claim a
    // picture of gigabytes): far beyond any screen.
    static constexpr qint64 MaxPixels = qint64(8192) * 8192;

    // How the window stands for a picture of `picture` on a screen of
    // `screen`. A picture smaller than the screen both ways gets a borderless
    // window of exactly its size; any other gets a sizeable border and is
    // scaled down, keeping its proportions, to fit the screen, so that it
    // never covers the whole practice window.
    struct Placement {
        bool borderless = true;
        QSize clientSize;
    };
    static Placement placementFor(QSize picture, QSize screen);

    // Loads `fileName` (JPEG or BMP, told by the contents) and shows it at
    // the screen's top left corner, in front, without taking the keyboard
    // from the practice. Throws korvana::PictureError when the file cannot be
    // read (also when it is no regular file, is over MaxFileBytes or holds a
    // picture of over MaxPixels); the window
    // then stays as it was, its picture cleared.
    void showPicture(const QString &fileName);
    // The screen size the placement is measured against; tests set it.
    void setScreenSize(QSize size) { m_screenSize = size; }

    void termPictureClicked();

signals:
    // A practice key pressed while this window has the keyboard, for the
    // main window to act on.
    void practiceKeyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    // The practice keys reach the main window even when the window manager
    // gives this window the keyboard; Esc closes the picture.
    void keyPressEvent(QKeyEvent *e) override;

public:
    PictureImage *termPicture = nullptr;
    Placement placement; // of the picture shown last

private:
    static Qt::WindowFlags windowFlagsFor(bool borderless);
    QSize screenSize() const;
    QSize m_screenSize;
    QWidget *m_mainWidget;
};
