// Skins on the main window: the loader's pictures and fields go into the
// window's background, buttons, labels and frames.
#include "app/WindowSkin.h"
#include "settings/Colors.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
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

// The caption's font on a skinned button: a smaller size where the button
// is narrow (the mark buttons are 60 by 18).
QFont captionFont(const QAbstractButton *b)
{
    QFont font = b->font();
    const int room = b->width() - 4;
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(b->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

// Where the caption stands on the button's picture.
QRect captionRect(const QAbstractButton *b)
{
    const QFontMetrics fm(captionFont(b));
    QRect text(QPoint(), QSize(fm.horizontalAdvance(b->text()) + 6, fm.height() + 2));
    text.moveCenter(b->rect().center());
    return text & b->rect();
}

// A caption that no colour makes readable on its picture stands on a backing
// of this colour (the button's "captionBacking" property).
const char *const CaptionBacking = "captionBacking";

// Draws a skinned button as the skin designed it: its picture filling the
// button, the caption over it in the skin's button-label colour, and the
// button's state (hot, pressed, down, disabled) as a tint over the picture.
// A button without a picture keeps the platform's look.
class SkinButtonPainter : public QObject {
public:
    explicit SkinButtonPainter(QObject *parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("SkinButtonPainter"));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        auto *b = qobject_cast<QAbstractButton *>(watched);
        if (!b || b->icon().isNull())
            return false;
        switch (e->type()) {
        case QEvent::Paint:
            paint(b);
            return true;
        case QEvent::Enter:
        case QEvent::Leave:
            b->update(); // the hot tint
            return false;
        default:
            return false;
        }
    }

private:
    static void paint(QAbstractButton *b)
    {
        QPainter p(b);
        const QRect r = b->rect();
        p.drawPixmap(r, b->icon().pixmap(b->iconSize()));
        if (b->isChecked())
            p.fillRect(r, QColor(0x00, 0xFF, 0x00, 110)); // down: lime
        else if (b->isDown())
            p.fillRect(r, QColor(0, 0, 0, 70));
        else if (b->underMouse() && b->isEnabled())
            p.fillRect(r, QColor(0xFF, 0xFF, 0x00, 80)); // hot: yellow
        if (!b->isEnabled())
            p.fillRect(r, QColor(0x80, 0x80, 0x80, 140));
        if (b->isChecked()) {
            p.setPen(QColor(0x00, 0x80, 0x00));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        const QString text = b->text();
        if (text.isEmpty())
            return;
        p.setFont(captionFont(b));
        const QColor caption = b->palette().color(QPalette::ButtonText);
        const QRect textRect = b->isDown() ? r.translated(1, 1) : r;
        const QColor backing = b->property(CaptionBacking).value<QColor>();
        if (backing.isValid())
            p.fillRect(b->isDown() ? captionRect(b).translated(1, 1) : captionRect(b), backing);
        // A soft shadow of the opposite lightness keeps the caption legible
        // on any part of the picture.
        p.setPen(caption.lightness() > 128 ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 110));
        p.drawText(textRect.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, text);
        p.setPen(caption);
        p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text);
        if (b->hasFocus()) {
            QPen focus(b->palette().color(QPalette::ButtonText), 1, Qt::DotLine);
            p.setPen(focus);
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(2, 2, -3, -3));
        }
    }
};

// A picture goes on its button at the size of the element it was designed
// for; the button keeps that size whatever the picture's, so no skin moves
// the window's layout.
void setButtonPicture(QAbstractButton *button, const QImage &image, QSize element)
{
    if (!button)
        return;
    // One painter serves the window's buttons.
    QObject *painter =
        button->window()->findChild<QObject *>(QStringLiteral("SkinButtonPainter"), Qt::FindDirectChildrenOnly);
    if (!painter)
        painter = new SkinButtonPainter(button->window());
    button->installEventFilter(painter);
    button->setFixedSize(element);
    const QImage fitted =
        image.size() == element ? image : image.scaled(element, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    button->setIcon(QIcon(QPixmap::fromImage(fitted)));
    button->setIconSize(element);
    button->update();
}

// The frame that follows its row: the row lays out the frame's label and
// switches, and the frame (a sibling of theirs, beneath them) takes the
// row's rectangle, so that the skin's border and fill group them.
class FramedRow : public QHBoxLayout {
public:
    explicit FramedRow(QFrame *frame) : m_frame(frame) {}
    void setGeometry(const QRect &r) override
    {
        QHBoxLayout::setGeometry(r);
        m_frame->setGeometry(r);
    }

private:
    QFrame *m_frame;
};

void setTextColor(QWidget *w, QPalette::ColorRole role, quint32 colour)
{
    QPalette pal = w->palette();
    pal.setColor(role, korvana::toQColor(colour));
    w->setPalette(pal);
}

} // namespace

class WindowSkin::LoaderTarget : public korvana::SkinTarget {
public:
    explicit LoaderTarget(WindowSkin &skin) : m_s(skin), m_c(skin.m_c) {}

    korvana::SkinFields skinFields() const override { return m_s.m_fields; }
    void setSkinFields(const korvana::SkinFields &fields) override { m_s.m_fields = fields; }

    void setSkinPicture(korvana::SkinPicture picture, const QImage &image) override
    {
        using korvana::SkinPicture;
        const QSize element = korvana::skinPictureSize(picture);
        switch (picture) {
        case SkinPicture::Main:
            if (!m_c.backgroundPicture) {
                m_c.backgroundPicture = new QLabel(&m_s.m_window);
                m_c.backgroundPicture->setObjectName(QStringLiteral("backgroundPicture"));
                m_c.backgroundPicture->setScaledContents(true);
                // Presses fall through to the window, which is dragged by
                // its background.
                m_c.backgroundPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
                new BackgroundFitter(&m_s.m_window, m_c.backgroundPicture);
                m_c.backgroundPicture->show();
            }
            m_c.backgroundPicture->setPixmap(QPixmap::fromImage(image));
            break;
        case SkinPicture::Previous:
            setButtonPicture(m_c.previousButton, image, element);
            break;
        case SkinPicture::Next:
            setButtonPicture(m_c.nextButton, image, element);
            break;
        case SkinPicture::Stop:
            m_s.m_stopButtonIcon = QIcon(QPixmap::fromImage(image.scaled(element)));
            break;
        case SkinPicture::Read:
            m_s.m_readButtonIcon = QIcon(QPixmap::fromImage(image.scaled(element)));
            setButtonPicture(m_c.readButton, image, element);
            break;
        case SkinPicture::Skip:
            setButtonPicture(m_c.markLearnedButton, image, element);
            setButtonPicture(m_c.markUnlearnedButton, image, element);
            setButtonPicture(m_c.markDifficultButton, image, element);
            break;
        }
    }

    void setStandardPictures() override
    {
        using korvana::SkinPicture;
        const std::pair<SkinPicture, QImage *> built[] = {
            {SkinPicture::Main, &m_s.m_mainImage},       {SkinPicture::Previous, &m_s.m_previousButtonImage},
            {SkinPicture::Next, &m_s.m_nextButtonImage}, {SkinPicture::Stop, &m_s.m_stopButtonImage},
            {SkinPicture::Read, &m_s.m_readButtonImage}, {SkinPicture::Skip, &m_s.m_skipButtonImage}};
        for (const auto &[picture, image] : built) {
            if (image->isNull())
                *image = korvana::standardSkinPicture(picture);
            setSkinPicture(picture, *image);
        }
    }

    void applySkin() override { m_s.apply(); }

private:
    WindowSkin &m_s;
    MainWindowControls &m_c;
};

WindowSkin::WindowSkin(QWidget &window, MainWindowControls &controls) : m_window(window), m_c(controls)
{
    m_fields.showButtonLabels = true;
}

void WindowSkin::load(const QString &n)
{
    LoaderTarget target(*this);
    korvana::loadSkin(n, target);
}

QList<QLabel *> WindowSkin::frameLabels() const
{
    QList<QLabel *> all = {m_c.modeFrameLabel,     m_c.randomSwitchLabel, m_c.autoSwitchLabel,
                           m_c.autoOptionsLabel,   m_c.panesFrameLabel,   m_c.wordsSwitchLabel,
                           m_c.phrasesSwitchLabel, m_c.autoFrameLabel,    m_c.pictureSwitchLabel,
                           m_c.soundSwitchLabel,   m_c.readAloudLabel,    m_c.difficultSwitchLabel,
                           m_c.flashSwitchLabel};
    all.removeAll(nullptr);
    return all;
}

QList<QLabel *> WindowSkin::commandLabels() const
{
    QList<QLabel *> all = {m_c.firstLabel,       m_c.lastLabel,      m_c.goLabel,      m_c.unskipLabel,
                           m_c.viewPictureLabel, m_c.playSoundLabel, m_c.flashNowLabel};
    all.removeAll(nullptr);
    return all;
}

QList<QFrame *> WindowSkin::frames() const
{
    QList<QFrame *> all = {m_c.modeFrame, m_c.panesFrame, m_c.autoFrame};
    all.removeAll(nullptr);
    return all;
}

QHBoxLayout *WindowSkin::buildFrame(QFrame *&frame, QLabel *&caption, const QString &frameName,
                                    const QString &captionName, const QString &text)
{
    frame = new QFrame(&m_window);
    frame->setObjectName(frameName);
    // Beneath the switches, above nothing but the background picture; a
    // press on it is a press on the window's background.
    frame->lower();
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption = new QLabel(text, &m_window);
    caption->setObjectName(captionName);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    auto *row = new FramedRow(frame);
    row->setContentsMargins(6, 2, 8, 2);
    row->setSpacing(2);
    row->addWidget(caption);
    row->addSpacing(4);
    return row;
}

void WindowSkin::apply()
{
    // Backings that an earlier skin needed go; makeCaptionsReadable puts
    // back those this one needs.
    for (QLabel *l : frameLabels()) {
        setTextColor(l, QPalette::WindowText, m_fields.frameLabelsColor);
        l->setAutoFillBackground(false);
    }
    // The pane switches carry their captions themselves and read like the
    // skin's other labels.
    for (const MainWindowControls::PaneControls &pane : m_c.panes) {
        QCheckBox *b = pane.box;
        if (!b)
            continue;
        setTextColor(b, QPalette::WindowText, m_fields.labelsColor);
        b->setAutoFillBackground(false);
    }
    // The counts and the title keep their designed colours, made readable
    // below like the rest.
    if (m_c.countLabel) {
        setTextColor(m_c.countLabel, QPalette::WindowText, korvana::colors::clBlack);
        m_c.countLabel->setAutoFillBackground(false);
    }
    if (m_c.titleLabel) {
        setTextColor(m_c.titleLabel, QPalette::WindowText, korvana::colors::clGray);
        m_c.titleLabel->setAutoFillBackground(false);
    }
    if (m_c.openLinkedFileLabel)
        setTextColor(m_c.openLinkedFileLabel, QPalette::WindowText, korvana::colors::clBlack);

    QList<QLabel *> commands = commandLabels();
    for (QLabel *l : commands)
        setTextColor(l, QPalette::WindowText, m_fields.labelsColor);
    if (m_c.openLinkedFileLabel)
        commands.append(m_c.openLinkedFileLabel);
    for (QLabel *l : commands) {
        // Opaque on the skin's colour, or the background picture shows
        // through.
        if (m_fields.showLabelsBackground)
            setTextColor(l, QPalette::Window, m_fields.labelsBackgroundColor);
        l->setAutoFillBackground(m_fields.showLabelsBackground);
    }

    const QList<QPushButton *> buttons = {m_c.previousButton,    m_c.nextButton,          m_c.readButton,
                                          m_c.markLearnedButton, m_c.markUnlearnedButton, m_c.markDifficultButton};
    for (QPushButton *b : buttons) {
        if (!b)
            continue;
        // One colour serves the resting and the pressed look.
        setTextColor(b, QPalette::ButtonText, m_fields.buttonLabelsColor);
    }

    if (m_fields.showButtonLabels) {
        const std::pair<QPushButton *, const char *> captions[] = {{m_c.previousButton, "<<<"},
                                                                   {m_c.nextButton, ">>>"},
                                                                   {m_c.readButton, "Read"},
                                                                   {m_c.markLearnedButton, "Learned"},
                                                                   {m_c.markUnlearnedButton, "Unearned"},
                                                                   {m_c.markDifficultButton, "Difficult"}};
        for (const auto &[b, text] : captions)
            if (b)
                b->setText(QLatin1String(text));
    } else {
        for (QPushButton *b : {m_c.previousButton, m_c.nextButton, m_c.readButton})
            if (b)
                b->setText(QString());
    }

    const QString border =
        m_fields.showFrameBorders
            ? QStringLiteral("1px solid %1").arg(korvana::toQColor(m_fields.frameBordersColor).name())
            : QStringLiteral("none");
    const QString fill = m_fields.showFramesBackground ? korvana::toQColor(m_fields.framesBackgroundColor).name()
                                                       : QStringLiteral("transparent");
    for (QFrame *frame : frames())
        frame->setStyleSheet(
            QStringLiteral("QFrame#%1 { border: %2; background: %3; }").arg(frame->objectName(), border, fill));
    makeCaptionsReadable();
}

void WindowSkin::makeCaptionsReadable()
{
    // The captions stand where the layout puts them, which never changes
    // afterwards (the window keeps its size); at creation the controls take
    // their style's fonts and sizes first, as showing the window would.
    m_window.ensurePolished();
    if (m_c.mainLayout)
        m_c.mainLayout->activate();
    // The background picture as the window shows it, stretched over it.
    QImage picture;
    if (m_c.backgroundPicture && !m_c.backgroundPicture->pixmap().isNull())
        picture = m_c.backgroundPicture->pixmap().toImage().scaled(m_window.size(), Qt::IgnoreAspectRatio,
                                                                   Qt::SmoothTransformation);
    const QList<QFrame *> allFrames = frames();
    auto standsOn = [&](QWidget *w) -> QList<QColor> {
        if (w->autoFillBackground())
            return {w->palette().color(QPalette::Window)};
        const QRect place(w->mapTo(&m_window, QPoint(0, 0)), w->size());
        if (m_fields.showFramesBackground)
            for (QFrame *frame : allFrames)
                if (frame->geometry().contains(place))
                    return {korvana::toQColor(m_fields.framesBackgroundColor)};
        if (picture.isNull())
            return {m_window.palette().color(QPalette::Window)};
        return korvana::pictureColors(picture, place);
    };

    QList<QWidget *> captions;
    for (QLabel *l : frameLabels())
        captions << l;
    for (QLabel *l : commandLabels())
        captions << l;
    QList<QWidget *> captioned{m_c.openLinkedFileLabel};
    for (const MainWindowControls::PaneControls &pane : m_c.panes)
        captioned << pane.box;
    captioned << m_c.countLabel << m_c.titleLabel;
    for (QWidget *w : captioned)
        if (w)
            captions << w;
    for (QWidget *w : captions) {
        const QList<QColor> under = standsOn(w);
        const QColor wanted = w->palette().color(QPalette::WindowText);
        if (const std::optional<QColor> readable = korvana::readableColor(wanted, under)) {
            setTextColor(w, QPalette::WindowText, korvana::fromQColor(*readable));
            continue;
        }
        // A picture both dark and light beneath it: the caption gets a
        // backing of the picture's mean colour there.
        const QColor backing = korvana::meanColor(under);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, backing);
        pal.setColor(QPalette::WindowText, korvana::readableColor(wanted, {backing}).value_or(Qt::black));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }

    // Button captions stand on the button's own picture; the Read button's
    // also on its picture while speaking, which swaps in under "Stop".
    const QList<QPushButton *> buttons = {m_c.previousButton,    m_c.nextButton,          m_c.readButton,
                                          m_c.markLearnedButton, m_c.markUnlearnedButton, m_c.markDifficultButton};
    for (QPushButton *b : buttons) {
        if (!b)
            continue;
        b->setProperty(CaptionBacking, QVariant());
        if (b->icon().isNull() || b->text().isEmpty())
            continue;
        const QRect place = captionRect(b);
        // The face as the button draws it, in the button's own pixels
        // whatever the screen's scale.
        auto face = [b](const QIcon &icon) {
            return icon.pixmap(b->iconSize())
                .toImage()
                .scaled(b->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        QList<QColor> under = korvana::pictureColors(face(b->icon()), place);
        if (b == m_c.readButton && !m_stopButtonIcon.isNull())
            under += korvana::pictureColors(face(m_stopButtonIcon), place);
        const QColor wanted = b->palette().color(QPalette::ButtonText);
        std::optional<QColor> readable = korvana::readableColor(wanted, under);
        if (!readable) {
            const QColor backing = korvana::meanColor(under);
            b->setProperty(CaptionBacking, backing);
            readable = korvana::readableColor(wanted, {backing});
        }
        setTextColor(b, QPalette::ButtonText, korvana::fromQColor(readable.value_or(Qt::black)));
    }
}
