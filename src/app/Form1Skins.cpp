// Skins on the main window: the loader's pictures and fields go into the
// window's background, buttons, labels and frames.
#include "app/TForm1.h"
#include "settings/Colors.h"
#include "settings/Skin.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// Keeps the background picture filling the window, behind everything.
class BackgroundFitter : public QObject {
public:
    BackgroundFitter(QWidget *window, QLabel *picture) : QObject(picture), m_window(window), m_picture(picture)
    {
        window->installEventFilter(this);
        fit();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_window && e->type() == QEvent::Resize)
            fit();
        return false;
    }

private:
    void fit()
    {
        m_picture->setGeometry(m_window->rect());
        m_picture->lower();
    }
    QWidget *m_window;
    QLabel *m_picture;
};

void setIconPicture(QAbstractButton *button, const QImage &image)
{
    if (!button)
        return;
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(image.size());
}

void setTextColor(QWidget *w, QPalette::ColorRole role, quint32 colour)
{
    QPalette pal = w->palette();
    pal.setColor(role, korvana::toQColor(colour));
    w->setPalette(pal);
}

// The main window as the skin loader sees it.
class Form1SkinTarget : public korvana::SkinTarget {
public:
    explicit Form1SkinTarget(TForm1 &form) : f(form) {}

    korvana::SkinFields skinFields() const override
    {
        korvana::SkinFields s;
        s.FSkinName = f.FSkinName;
        s.FSkinAuthor = f.FSkinAuthor;
        s.FLabelsColor = f.FLabelsColor;
        s.FLabelsBackgroundColor = f.FLabelsBackgroundColor;
        s.FShowLabelsBackground = f.FShowLabelsBackground;
        s.FFramesLabelsColor = f.FFramesLabelsColor;
        s.FButtonsLabelsColor = f.FButtonsLabelsColor;
        s.FShowButtonLabels = f.FShowButtonLabels;
        s.FFramesBordersColor = f.FFramesBordersColor;
        s.FShowFramesBorders = f.FShowFramesBorders;
        s.FFramesBackgroundColor = f.FFramesBackgroundColor;
        s.FShowFramesBackground = f.FShowFramesBackground;
        return s;
    }

    void setSkinFields(const korvana::SkinFields &s) override
    {
        f.FSkinName = s.FSkinName;
        f.FSkinAuthor = s.FSkinAuthor;
        f.FLabelsColor = s.FLabelsColor;
        f.FLabelsBackgroundColor = s.FLabelsBackgroundColor;
        f.FShowLabelsBackground = s.FShowLabelsBackground;
        f.FFramesLabelsColor = s.FFramesLabelsColor;
        f.FButtonsLabelsColor = s.FButtonsLabelsColor;
        f.FShowButtonLabels = s.FShowButtonLabels;
        f.FFramesBordersColor = s.FFramesBordersColor;
        f.FShowFramesBorders = s.FShowFramesBorders;
        f.FFramesBackgroundColor = s.FFramesBackgroundColor;
        f.FShowFramesBackground = s.FShowFramesBackground;
    }

    void setSkinPicture(korvana::SkinPicture picture, const QImage &image) override
    {
        using korvana::SkinPicture;
        switch (picture) {
        case SkinPicture::Main:
            if (!f.Image1) {
                f.Image1 = new QLabel(&f);
                f.Image1->setObjectName(QStringLiteral("Image1"));
                f.Image1->setScaledContents(true);
                // Presses fall through to the window, which is dragged by
                // its background.
                f.Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
                new BackgroundFitter(&f, f.Image1);
                f.Image1->show();
            }
            f.Image1->setPixmap(QPixmap::fromImage(image));
            break;
        case SkinPicture::Previous:
            setIconPicture(f.bPrevious, image);
            break;
        case SkinPicture::Next:
            setIconPicture(f.bNext, image);
            break;
        case SkinPicture::Stop:
            f.imgSkinBStop = QIcon(QPixmap::fromImage(image));
            break;
        case SkinPicture::Read:
            f.imgSkinBRead = QIcon(QPixmap::fromImage(image));
            setIconPicture(f.jbRead, image);
            break;
        case SkinPicture::Skip:
            setIconPicture(f.jbMarkLearned, image);
            setIconPicture(f.jbMarkUnlearned, image);
            setIconPicture(f.jbMarkDifficult, image);
            break;
        }
    }

    void setStandardPictures() override
    {
        using korvana::SkinPicture;
        const std::pair<SkinPicture, QImage *> built[] = {
            {SkinPicture::Main, &f.ImgMain},         {SkinPicture::Previous, &f.imgButtonPrevious},
            {SkinPicture::Next, &f.imgButtonNext},   {SkinPicture::Stop, &f.imgButtonStop},
            {SkinPicture::Read, &f.imgButtonRead},   {SkinPicture::Skip, &f.imgButtonSkip}};
        for (const auto &[picture, image] : built) {
            if (image->isNull())
                *image = korvana::standardSkinPicture(picture);
            setSkinPicture(picture, *image);
        }
    }

    void applySkin() override { f.ApplySkin(); }

private:
    TForm1 &f;
};

} // namespace

void TForm1::loadSkinIntoWindow(const QString &N)
{
    Form1SkinTarget target(*this);
    korvana::loadSkin(N, target);
}

QList<QLabel *> TForm1::skinFrameLabels() const
{
    // Labels another part of the window may not have made are looked up by
    // name, so that they take the skin once they are there.
    auto named = [this](const char *name) { return findChild<QLabel *>(QLatin1String(name)); };
    QList<QLabel *> all = {named("lblMode"),  lblRandom,     lblModeAuto,   named("lSetAuto"), named("lblShow"),
                           lblWords,          lblPhrase,     named("lblAuto"), lblDisplPict,   lblPlaySounds,
                           lblReadAloud,      lblDifficult,  lblFlash};
    all.removeAll(nullptr);
    return all;
}

QList<QLabel *> TForm1::skinCommandLabels() const
{
    QList<QLabel *> all = {lblFirst, lblLast, lblGo, lblUnskip, lblView, lblPlay, lblFlashNow};
    all.removeAll(nullptr);
    return all;
}

QList<QFrame *> TForm1::skinFrames() const
{
    QList<QFrame *> all;
    for (const char *name : {"shMode", "shShow", "shAuto"})
        if (auto *frame = findChild<QFrame *>(QLatin1String(name)))
            all.append(frame);
    return all;
}

void TForm1::ApplySkin()
{
    for (QLabel *l : skinFrameLabels())
        setTextColor(l, QPalette::WindowText, FFramesLabelsColor);

    QList<QLabel *> commandLabels = skinCommandLabels();
    for (QLabel *l : commandLabels)
        setTextColor(l, QPalette::WindowText, FLabelsColor);
    if (lblOpen)
        commandLabels.append(lblOpen);
    for (QLabel *l : commandLabels) {
        // Opaque on the skin's colour, or the background picture shows
        // through.
        if (FShowLabelsBackground)
            setTextColor(l, QPalette::Window, FLabelsBackgroundColor);
        l->setAutoFillBackground(FShowLabelsBackground);
    }

    const QList<QPushButton *> buttons = {bPrevious, bNext, jbRead, jbMarkLearned, jbMarkUnlearned,
                                          jbMarkDifficult};
    for (QPushButton *b : buttons) {
        if (!b)
            continue;
        // One colour serves the resting and the pressed look.
        setTextColor(b, QPalette::ButtonText, FButtonsLabelsColor);
    }

    if (FShowButtonLabels) {
        const std::pair<QPushButton *, const char *> captions[] = {
            {bPrevious, "<<<"},           {bNext, ">>>"},
            {jbRead, "Read"},             {jbMarkLearned, "Learned"},
            {jbMarkUnlearned, "Unearned"}, {jbMarkDifficult, "Difficult"}};
        for (const auto &[b, text] : captions)
            if (b)
                b->setText(QLatin1String(text));
    } else {
        for (QPushButton *b : {bPrevious, bNext, jbRead})
            if (b)
                b->setText(QString());
    }

    const QString border = FShowFramesBorders
                               ? QStringLiteral("1px solid %1").arg(korvana::toQColor(FFramesBordersColor).name())
                               : QStringLiteral("none");
    const QString fill = FShowFramesBackground ? korvana::toQColor(FFramesBackgroundColor).name()
                                               : QStringLiteral("transparent");
    for (QFrame *frame : skinFrames())
        frame->setStyleSheet(QStringLiteral("QFrame#%1 { border: %2; background: %3; }")
                                 .arg(frame->objectName(), border, fill));
}
