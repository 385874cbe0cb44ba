#include "practice/TformPicture.h"
#include "app/TForm1.h"
#include "platform/files/SafeFiles.h"
#include "platform/ui/Errors.h"

#include <QBuffer>
#include <QKeyEvent>

#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

TformPicture *formPicture = nullptr;

void PictureImage::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

TformPicture::TformPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formPicture"));
    setWindowTitle(QStringLiteral("Picture"));
    setWindowFlags(windowFlagsFor(true));
    // The practice keys belong to the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    Image1 = new PictureImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(0, 0);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(Image1, &PictureImage::clicked, this, &TformPicture::Image1Click);
}

void TformPicture::Image1Click()
{
    close();
}

void TformPicture::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (Form1) {
        Form1->activateWindow();
        Form1->FormKeyDown(e->key(), e->modifiers());
    }
}

TformPicture::Placement TformPicture::placementFor(QSize picture, QSize screen)
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

QSize TformPicture::screenSize() const
{
    if (m_screenSize.isValid())
        return m_screenSize;
    if (const QScreen *s = QGuiApplication::primaryScreen())
        return s->availableGeometry().size(); // without panels, so a fitted picture stays whole
    return QSize(1024, 768);
}

void TformPicture::showPicture(const QString &fileName)
{
    Image1->clear();
    // Read here within the bound, never by the image library from the name:
    // a named pipe would block it for good.
    const korvana::files::ReadResult file = korvana::files::readRegularFile(fileName, MaxFileBytes);
    if (!file.ok())
        throw korvana::Error(QStringLiteral("Cannot read the picture \"%1\": %2").arg(fileName, file.reason));
    QBuffer buffer;
    buffer.setData(file.data);
    buffer.open(QIODevice::ReadOnly);
    // The reader goes by the contents, so a JPEG named .bmp still shows.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw korvana::Error(QStringLiteral("Cannot read the picture \"%1\": %2").arg(fileName, reader.errorString()));

    placement = placementFor(image.size(), screenSize());
    const QPixmap pixmap = QPixmap::fromImage(image.size() == placement.clientSize
                                                  ? image
                                                  : image.scaled(placement.clientSize, Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation));
    Image1->setPixmap(pixmap);
    Image1->resize(pixmap.size());
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

Qt::WindowFlags TformPicture::windowFlagsFor(bool borderless)
{
    Qt::WindowFlags flags = Qt::Window | Qt::WindowDoesNotAcceptFocus;
    if (borderless)
        flags |= Qt::FramelessWindowHint;
    return flags;
}
