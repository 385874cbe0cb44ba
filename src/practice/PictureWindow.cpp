#include "practice/PictureWindow.h"
#include "platform/files/SafeFiles.h"
#include "platform/ui/Errors.h"

#include <QBuffer>
#include <QKeyEvent>

#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

void PictureImage::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

PictureWindow::PictureWindow(QWidget *mainWidget, QWidget *parent) : QWidget(parent), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("pictureWindow"));
    setWindowTitle(QStringLiteral("Picture"));
    setWindowFlags(windowFlagsFor(true));
    // The practice keys belong to the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    termPicture = new PictureImage(this);
    termPicture->setObjectName(QStringLiteral("termPicture"));
    termPicture->move(0, 0);
    termPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(termPicture, &PictureImage::clicked, this, &PictureWindow::termPictureClicked);
}

void PictureWindow::termPictureClicked()
{
    close();
}

void PictureWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    m_mainWidget->activateWindow();
    emit practiceKeyPressed(e->key(), e->modifiers());
}

PictureWindow::Placement PictureWindow::placementFor(QSize picture, QSize screen)
{
    Placement p;
    const bool wider = picture.width() > screen.width();
    const bool higher = picture.height() > screen.height();
    if (picture.width() < screen.width() && picture.height() < screen.height()) {
        p.borderless = true;
        p.clientSize = picture;
        return p;
    }
    p.borderless = false;
    p.clientSize = wider || higher ? picture.scaled(screen, Qt::KeepAspectRatio) : picture;
    p.clientSize = p.clientSize.expandedTo(QSize(1, 1));
    return p;
}

QSize PictureWindow::screenSize() const
{
    if (m_screenSize.isValid())
        return m_screenSize;
    if (const QScreen *s = QGuiApplication::primaryScreen())
        return s->availableGeometry().size(); // without panels, so a fitted picture stays whole
    return QSize(1024, 768);
}

void PictureWindow::showPicture(const QString &fileName)
{
    termPicture->clear();
    // Read here within the bound, never by the image library from the name:
    // a named pipe would block it for good.
    const korvana::files::ReadResult file = korvana::files::readRegularFile(fileName, MaxFileBytes);
    if (!file.ok())
        throw korvana::PictureError(fileName, file.reason);
    QBuffer buffer;
    buffer.setData(file.data);
    buffer.open(QIODevice::ReadOnly);
    // The reader goes by the contents, so a JPEG named .bmp still shows.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        throw korvana::PictureError(fileName, QStringLiteral("too large"));
    const QImage image = reader.read();
    if (image.isNull())
        throw korvana::PictureError(fileName, reader.errorString());

    placement = placementFor(image.size(), screenSize());
    const QPixmap pixmap =
        QPixmap::fromImage(image.size() == placement.clientSize
                               ? image
                               : image.scaled(placement.clientSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    termPicture->setPixmap(pixmap);
    termPicture->resize(pixmap.size());
    // A window that showed a large picture keeps no trace of it: border,
    // state and size all follow the new one.
    const Qt::WindowFlags flags = windowFlagsFor(placement.borderless);
    if (windowFlags() != flags)
        setWindowFlags(flags); // hides the window
    setWindowState(Qt::WindowNoState);
    resize(placement.clientSize);
    move(0, 0);
    setWindowTitle(QStringLiteral("Picture [%1]").arg(fileName));
    show();
    raise();
}

Qt::WindowFlags PictureWindow::windowFlagsFor(bool borderless)
{
    Qt::WindowFlags flags = Qt::Window | Qt::WindowDoesNotAcceptFocus;
    if (borderless)
        flags |= Qt::FramelessWindowHint;
    return flags;
}
