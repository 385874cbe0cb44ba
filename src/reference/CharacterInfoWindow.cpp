#include "reference/CharacterInfoWindow.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScreen>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry, bool caption,
                  int pixelHeight = 13)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelHeight);
    l->setFont(f);
    l->setStyleSheet(caption ? QStringLiteral("QLabel { color: grey; background: transparent; }")
                             : QStringLiteral("QLabel { color: white; background: transparent; }"));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QFrame *makeLine(QWidget *parent, const QRect &geometry)
{
    auto *line = new QFrame(parent);
    line->setGeometry(geometry);
    line->setStyleSheet(QStringLiteral("QFrame { background: grey; border: none; }"));
    return line;
}

} // namespace

CharacterInfoWindow::CharacterInfoWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("characterInfoWindow"));
    setWindowTitle(QStringLiteral("Character information"));
    // A tool window without a frame that never takes the focus from the main
    // window, whose practice keys must keep working while it shows.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(560, 145);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("infoPanel"));
    panel->setGeometry(0, 0, 560, 145);
    panel->setStyleSheet(QStringLiteral("QFrame#infoPanel { background: black; border: 1px solid grey; }"));

    // First row: the character, strokes, readings | traditional | hex code.
    characterLabel = makeLabel(panel, QStringLiteral("characterLabel"), QString(), QRect(6, 2, 30, 22), false, 19);
    makeLabel(panel, QStringLiteral("lStrokes"), QStringLiteral("Strokes:"), QRect(40, 6, 48, 16), true);
    strokesLabel = makeLabel(panel, QStringLiteral("strokesLabel"), QString(), QRect(90, 6, 30, 16), false);
    makeLabel(panel, QStringLiteral("lMand"), QStringLiteral("Mand.:"), QRect(124, 6, 40, 16), true);
    mandarinLabel = makeLabel(panel, QStringLiteral("mandarinLabel"), QString(), QRect(166, 6, 132, 16), false);
    makeLabel(panel, QStringLiteral("lTrad"), QStringLiteral("Trad:"), QRect(306, 6, 34, 16), true);
    traditionalLabel =
        makeLabel(panel, QStringLiteral("traditionalLabel"), QString(), QRect(342, 2, 148, 22), false, 19);
    makeLabel(panel, QStringLiteral("lHex"), QStringLiteral("Hex:"), QRect(496, 6, 24, 16), true);
    hexCodeLabel = makeLabel(panel, QStringLiteral("hexCodeLabel"), QString(), QRect(520, 6, 38, 16), false);

    makeLine(panel, QRect(1, 25, 558, 1));

    // Second row: the radical | simplified | decimal code.
    makeLabel(panel, QStringLiteral("lRad"), QStringLiteral("Rad:"), QRect(6, 30, 28, 16), true);
    radicalCharacterLabel =
        makeLabel(panel, QStringLiteral("radicalCharacterLabel"), QString(), QRect(36, 26, 26, 22), false, 19);
    radicalLabel = makeLabel(panel, QStringLiteral("radicalLabel"), QString(), QRect(64, 30, 234, 16), false);
    makeLabel(panel, QStringLiteral("lSimp"), QStringLiteral("Simp:"), QRect(306, 30, 34, 16), true);
    simplifiedLabel =
        makeLabel(panel, QStringLiteral("simplifiedLabel"), QString(), QRect(342, 26, 148, 22), false, 19);
    makeLabel(panel, QStringLiteral("lDec"), QStringLiteral("Dec:"), QRect(496, 30, 24, 16), true);
    decimalCodeLabel = makeLabel(panel, QStringLiteral("decimalCodeLabel"), QString(), QRect(520, 30, 38, 16), false);
    // The widest codes, FFFF and 65535, must stay inside the border, in
    // whatever font stands in for Arial.
    for (QLabel *code : {hexCodeLabel, decimalCodeLabel}) {
        code->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = code->font();
        while (f.pixelSize() > 8
               && QFontMetrics(f).horizontalAdvance(code == hexCodeLabel ? QStringLiteral("FFFF")
                                                                         : QStringLiteral("65535"))
                      > code->width()) {
            f.setPixelSize(f.pixelSize() - 1);
            code->setFont(f);
        }
    }

    makeLine(panel, QRect(300, 1, 1, 49));
    makeLine(panel, QRect(492, 1, 1, 49));
    makeLine(panel, QRect(1, 50, 558, 1));

    // The definition band.
    makeLabel(panel, QStringLiteral("lDef"), QStringLiteral("Def:"), QRect(6, 55, 28, 16), true);
    definitionLabel = makeLabel(panel, QStringLiteral("definitionLabel"), QString(), QRect(36, 55, 520, 16), false);

    // The dictionary entries.
    dictionaryBox = new QPlainTextEdit(panel);
    dictionaryBox->setObjectName(QStringLiteral("dictionaryBox"));
    dictionaryBox->setGeometry(1, 73, 558, 70);
    dictionaryBox->setReadOnly(true);
    dictionaryBox->setFocusPolicy(Qt::NoFocus);
    dictionaryBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont memoFont(QStringLiteral("Arial"));
    memoFont.setPixelSize(13);
    dictionaryBox->setFont(memoFont);
    dictionaryBox->setStyleSheet(QStringLiteral("QPlainTextEdit { color: silver; background: black; border: none; }"));

    onCreate();
}

void CharacterInfoWindow::onCreate()
{
    // Rounded corners of 3 by 3 pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 3, 3);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void CharacterInfoWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    onCreate();
}

void CharacterInfoWindow::placeNear(QWidget *main)
{
    if (!main)
        return;
    QScreen *screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    placeNear(main->frameGeometry(), screen ? screen->geometry().height() : 0);
}

void CharacterInfoWindow::placeNear(const QRect &main, int screenHeight)
{
    const int below = main.top() + main.height() + 1;
    const int top = below < screenHeight - height() ? below : main.top() - height() - 1;
    move(main.left(), top);
}
