#include "practice/TformPicture.h"
#include "platform/ui/Errors.h"

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
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
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
    p.clientSize = QSize(wider ? screen.width() : picture.width(), higher ? screen.height() : picture.height());
    p.maximized = wider && higher;
    return p;
}

QSize TformPicture::screenSize() const
{
    if (m_screenSize.isValid())
        return m_screenSize;
    if (const QScreen *s = QGuiApplication::primaryScreen())
        return s->geometry().size();
    return QSize(1024, 768);
}

void TformPicture::showPicture(const QString &fileName)
{
    move(0, 0);
    Image1->clear();
    // The reader goes by the contents, so a JPEG named .bmp still shows.
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw korvana::Error(QStringLiteral("Cannot read the picture \"%1\": %2").arg(fileName, reader.errorString()));

    Image1->setPixmap(QPixmap::fromImage(image));
    placement = placementFor(image.size(), screenSize());
    setWindowFlags(placement.borderless ? Qt::Window | Qt::FramelessWindowHint : Qt::Window);
    // The image keeps its own size; a window smaller than the picture
    // shows its top left part.
    Image1->resize(image.size());
    setWindowState(placement.maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    if (!placement.maximized)
        resize(placement.clientSize);
    move(0, 0);
    setWindowTitle(QStringLiteral("Picture [%1]").arg(fileName));
    show();
    raise();
    activateWindow();
}
