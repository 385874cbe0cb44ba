#pragma once
// Picture window. One instance, formPicture, lives for the whole run, hidden
// until a term's picture is shown; a click on the picture hides it.
#include <QLabel>
#include <QSize>
#include <QWidget>

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

class TformPicture : public QWidget {
    Q_OBJECT
public:
    explicit TformPicture(QWidget *parent = nullptr);

    // How the window stands for a picture of `picture` on a screen of
    // `screen`. A picture smaller than the screen both ways gets a borderless
    // window of exactly its size; any other gets a sizeable border, the
    // screen's size in each direction where the picture is larger (its own
    // size in the other) and is maximized when larger in both.
    struct Placement {
        bool borderless = true;
        bool maximized = false;
        QSize clientSize;
    };
    static Placement placementFor(QSize picture, QSize screen);

    // Loads `fileName` (JPEG or BMP, told by the contents) and shows it at
    // the screen's top left corner, in front. Throws korvana::Error when the
    // file cannot be read; the window then stays as it was, its picture
    // cleared.
    void showPicture(const QString &fileName);
    // The screen size the placement is measured against; tests set it.
    void setScreenSize(QSize size) { m_screenSize = size; }

    void Image1Click();

    PictureImage *Image1 = nullptr;
    Placement placement; // of the picture shown last

private:
    QSize screenSize() const;
    QSize m_screenSize;
};

extern TformPicture *formPicture;
