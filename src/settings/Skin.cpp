#include "settings/Skin.h"

#include "platform/files/SafeFiles.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Errors.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>
#include <vector>

namespace korvana {

QString skinPictureFile(SkinPicture picture)
{
    switch (picture) {
    case SkinPicture::Main:
        return QStringLiteral("main.jpg");
    case SkinPicture::Previous:
        return QStringLiteral("buttonprevious.jpg");
    case SkinPicture::Next:
        return QStringLiteral("buttonnext.jpg");
    case SkinPicture::Stop:
        return QStringLiteral("buttonstop.jpg");
    case SkinPicture::Read:
        return QStringLiteral("buttonread.jpg");
    case SkinPicture::Skip:
        return QStringLiteral("buttonskip.jpg");
    }
    return QString();
}

QSize skinPictureSize(SkinPicture picture)
{
    switch (picture) {
    case SkinPicture::Main:
        return QSize(550, 350);
    case SkinPicture::Skip:
        return QSize(60, 18);
    default:
        return QSize(60, 60);
    }
}

QImage decodeSkinJpeg(const QString &fileName, QSize size)
{
    // Through the bounded reader: a skin's picture that is a named pipe
    // would otherwise hang the start-up, at every start, since the skin's
    // name is stored.
    const files::ReadResult read = files::readRegularFile(fileName, MaxSkinPictureBytes);
    if (!read.ok())
        throw Error(QStringLiteral("Cannot read %1: %2").arg(fileName, read.reason));
    QBuffer buffer;
    buffer.setData(read.data);
    buffer.open(QIODevice::ReadOnly);
    // Only a JPEG will do, whatever other format the file might hold: the
    // reader is told the format and does not guess.
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    if (size.isValid())
        reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        throw Error(QStringLiteral("%1 is not a JPEG picture").arg(fileName));
    if (size.isValid() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QString skinFile(const QString &folder, const QString &name)
{
    // Skins made on Windows spell their files as they like ("Main.JPG").
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    if (entries.contains(name))
        return folder + name;
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
    return folder + name;
}

SkinFields readSkinFile(const QString &iniFileName)
{
    const IniFile ini(iniFileName);
    const QString options = QStringLiteral("Options");
    auto colour = [&](const char *key, const char *def) {
        return htmlColorToColor(ini.readString(options, QLatin1String(key), QLatin1String(def)));
    };
    SkinFields f;
    f.skinName = ini.readString(options, QStringLiteral("Name"), QString());
    f.skinAuthor = ini.readString(options, QStringLiteral("Author"), QString());
    f.labelsColor = colour("Labels Color", "#000000");
    f.labelsBackgroundColor = colour("Labels Background Color", "#fffff0");
    f.showLabelsBackground = ini.readBool(options, QStringLiteral("Show Labels Background"), false);
    // Left out or empty, the frame labels follow the other labels.
    const QString framesLabels = ini.readString(options, QStringLiteral("Frames Labels Color"), QString());
    f.frameLabelsColor = framesLabels.isEmpty() ? f.labelsColor : htmlColorToColor(framesLabels);
    f.buttonLabelsColor = colour("Buttons Labels Color", "#000000");
    f.showButtonLabels = ini.readBool(options, QStringLiteral("Show Button Labels"), true);
    f.frameBordersColor = colour("Frames Borders Color", "#000000");
    f.showFrameBorders = ini.readBool(options, QStringLiteral("Show Frames Borders"), true);
    f.framesBackgroundColor = colour("Frames Background Color", "#000000");
    f.showFramesBackground = ini.readBool(options, QStringLiteral("Show Frames Background"), true);
    return f;
}

namespace {

void loadStandardSkin(SkinTarget &target)
{
    target.setStandardPictures();
    SkinFields f = target.skinFields();
    // The labels' background colour is the one value the built-in look
    // leaves as it was.
    const quint32 labelsBackground = f.labelsBackgroundColor;
    f = SkinFields{};
    f.skinName = StandardSkinTitle;
    f.labelsBackgroundColor = labelsBackground;
    f.showButtonLabels = false;
    f.showFrameBorders = true;
    f.showFramesBackground = false;
    target.setSkinFields(f);
    target.applySkin();
}

} // namespace

void loadSkin(const QString &name, SkinTarget &target)
{
    if (name == StandardSkinName) {
        loadStandardSkin(target);
        return;
    }
    std::vector<std::pair<SkinPicture, QImage>> pictures;
    SkinFields fields;
    try {
        // A name from the settings file could point anywhere; only a plain
        // folder name inside the skins folder is loaded.
        const QString folder = ProgramPaths::skinFolder(name);
        if (folder.isEmpty())
            throw Error(QStringLiteral("Not a skin name: %1").arg(name));
        // Everything is read before anything is given, so that a skin that
        // fails leaves no half-applied look behind.
        for (SkinPicture picture : AllSkinPictures)
            pictures.emplace_back(picture,
                                  decodeSkinJpeg(skinFile(folder, skinPictureFile(picture)), skinPictureSize(picture)));
        // A missing skin.ini gives every key its default; one that is there
        // but no regular file of sane size fails the skin.
        const QString ini = skinFile(folder, QStringLiteral("skin.ini"));
        if (QFileInfo(ini).exists() || QFileInfo(ini).isSymLink()) {
            if (!files::isRegularFile(ini, MaxSkinIniBytes))
                throw Error(QStringLiteral("%1 is no regular file of sane size").arg(ini));
        }
        fields = readSkinFile(ini);
    } catch (const std::exception &) {
        // The user is not told; the window takes the built-in look.
        loadStandardSkin(target);
        return;
    }
    for (const auto &[picture, image] : pictures)
        target.setSkinPicture(picture, image);
    target.setSkinFields(fields);
    target.applySkin();
}

QStringList skinNames()
{
    QStringList folders = QDir(ProgramPaths::skinsFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    folders.append(StandardSkinName);
    std::sort(folders.begin(), folders.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return folders;
}

QImage standardSkinPicture(SkinPicture picture)
{
    const QSize size = skinPictureSize(picture);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    switch (picture) {
    case SkinPicture::Main:
        // A pale evening sky: dark captions stay readable anywhere on it.
        g.setColorAt(0, QColor(0xFF, 0xF6, 0xE6));
        g.setColorAt(1, QColor(0xF2, 0xC4, 0x8E));
        p.fillRect(r, g);
        {
            QPainterPath hills;
            hills.moveTo(0, size.height());
            hills.cubicTo(size.width() * 0.25, size.height() * 0.8, size.width() * 0.55, size.height() * 1.0,
                          size.width(), size.height() * 0.88);
            hills.lineTo(size.width(), size.height());
            hills.closeSubpath();
            p.fillPath(hills, QColor(0xE0, 0xA8, 0x70));
        }
        break;
    case SkinPicture::Skip:
        g.setColorAt(0, QColor(0xE8, 0xE8, 0xE8));
        g.setColorAt(1, QColor(0x90, 0x90, 0x90));
        p.fillRect(r, g);
        break;
    default: {
        g.setColorAt(0, QColor(0xFF, 0xB0, 0x60));
        g.setColorAt(1, QColor(0xC0, 0x50, 0x10));
        p.fillRect(r, g);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x18, 0x18));
        const double cx = size.width() / 2.0, cy = size.height() / 2.0, s = size.width() / 5.0;
        QPainterPath mark;
        if (picture == SkinPicture::Previous) {
            mark.addPolygon(QPolygonF({QPointF(cx + s, cy - s), QPointF(cx - s, cy), QPointF(cx + s, cy + s)}));
        } else if (picture == SkinPicture::Next) {
            mark.addPolygon(QPolygonF({QPointF(cx - s, cy - s), QPointF(cx + s, cy), QPointF(cx - s, cy + s)}));
        } else if (picture == SkinPicture::Stop) {
            mark.addRect(QRectF(cx - s, cy - s, 2 * s, 2 * s));
        } else { // Read: a speaker
            mark.addRect(QRectF(cx - s, cy - s / 2, s / 1.5, s));
            mark.addPolygon(QPolygonF({QPointF(cx - s / 3, cy - s / 2), QPointF(cx + s / 2, cy - s),
                                       QPointF(cx + s / 2, cy + s), QPointF(cx - s / 3, cy + s / 2)}));
        }
        p.drawPath(mark);
        break;
    }
    }
    p.end();
    return image;
}

} // namespace korvana
