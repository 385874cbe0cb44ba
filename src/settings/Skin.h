#pragma once
// Skins restyle the main window: a background picture, the faces of its big
// buttons, the colours of its labels, frames and button captions, and whether
// the buttons carry captions. A skin is a folder under "skins/" beside the
// program holding six JPEG pictures and "skin.ini"; the built-in look
// "*standard*" needs no folder.
//
// Loading works against SkinTarget, so that it runs while the main window is
// still being created (before any skin dialog exists) and so that the loading
// rules can be checked without a window.
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace korvana {

// The name of the built-in look (exact letter case).
inline const QString StandardSkinName = QStringLiteral("*standard*");
// The name the built-in look shows in the about window.
inline const QString StandardSkinTitle = QStringLiteral("Default Korvana Skin");

// The values a skin gives the main window; colours are 0x00BBGGRR.
struct SkinFields {
    QString skinName;
    QString skinAuthor;
    quint32 labelsColor = 0;
    quint32 labelsBackgroundColor = 0;
    bool showLabelsBackground = false;
    quint32 frameLabelsColor = 0;
    quint32 buttonLabelsColor = 0;
    bool showButtonLabels = false;
    quint32 frameBordersColor = 0;
    bool showFrameBorders = false;
    quint32 framesBackgroundColor = 0;
    bool showFramesBackground = false;

    friend bool operator==(const SkinFields &, const SkinFields &) = default;
};

// The six pictures of a skin, in the order they are loaded.
enum class SkinPicture { Main, Previous, Next, Stop, Read, Skip };
inline constexpr SkinPicture AllSkinPictures[] = {SkinPicture::Main, SkinPicture::Previous, SkinPicture::Next,
                                                  SkinPicture::Stop, SkinPicture::Read,     SkinPicture::Skip};
// "main.jpg", "buttonprevious.jpg", ...
QString skinPictureFile(SkinPicture picture);
// The size of the element the picture is designed for (550 x 350, 60 x 60 or
// 60 x 18).
QSize skinPictureSize(SkinPicture picture);

// What a skin is applied to: the main window, or a recorder in tests.
class SkinTarget {
public:
    virtual ~SkinTarget() = default;
    virtual SkinFields skinFields() const = 0;
    virtual void setSkinFields(const SkinFields &fields) = 0;
    // Gives the picture to every element of its row (the Read picture to the
    // resting glyph and then to the Read button).
    virtual void setSkinPicture(SkinPicture picture, const QImage &image) = 0;
    // Gives every element its picture of the built-in look.
    virtual void setStandardPictures() = 0;
    // Pushes the fields into the window's elements.
    virtual void applySkin() = 0;
};

// Largest skin picture file and skin.ini the loader reads.
inline constexpr qint64 MaxSkinPictureBytes = 8 * 1024 * 1024;
inline constexpr qint64 MaxSkinIniBytes = 256 * 1024;

// Decodes a JPEG file, scaled to size when size is valid; fails with
// korvana::Error when the file is missing, no regular file (a named pipe,
// a device), larger than MaxSkinPictureBytes, unreadable or not a JPEG
// picture.
QImage decodeSkinJpeg(const QString &fileName, QSize size = QSize());

// The file of the skin folder whose name matches name ignoring letter case
// ("Main.JPG" for "main.jpg"), the exact spelling first; folder + name when
// there is none.
QString skinFile(const QString &folder, const QString &name);

// Reads "skin.ini" (section Options) into fields. A missing file gives every
// key its default. Booleans are whole numbers; a word reads as the default.
SkinFields readSkinFile(const QString &iniFileName);

// Applies the named skin to the target; never fails outward. The built-in
// look sets its pictures and fields (keeping the labels' background colour).
// Any other name is a folder under the skins folder: its six pictures, each
// fitted to its element's size, and skin.ini are read first; then the
// pictures are given, then the fields, then applySkin runs. A skin that
// cannot be applied whole (a missing, broken or oversized picture, a
// skin.ini or picture that is no regular file, a name that is no plain
// folder name) gives the built-in look instead, without a message, so that
// the window never shows half a skin.
void loadSkin(const QString &name, SkinTarget &target);

// The entries of the skin list: "*standard*" and every folder under the
// skins folder, sorted ignoring letter case.
QStringList skinNames();

// The built-in look's pictures, the program's own artwork drawn in code at
// the element sizes.
QImage standardSkinPicture(SkinPicture picture);

} // namespace korvana
