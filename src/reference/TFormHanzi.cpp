#include "reference/TFormHanzi.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScreen>

TFormHanzi *FormHanzi = nullptr;

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                  bool caption, int pixelHeight = 13)
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

TFormHanzi::TFormHanzi(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormHanzi"));
    setWindowTitle(QStringLiteral("Character information"));
    // A tool window without a frame that never takes the focus from the main
    // window, whose practice keys must keep working while it shows.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(560, 145);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 560, 145);
    panel->setStyleSheet(QStringLiteral("QFrame#Panel1 { background: black; border: 1px solid grey; }"));

    // First row: the character, strokes, readings | traditional | hex code.
    lHanzi = makeLabel(panel, QStringLiteral("lHanzi"), QString(), QRect(6, 2, 30, 22), false, 19);
    makeLabel(panel, QStringLiteral("lStrokes"), QStringLiteral("Strokes:"), QRect(40, 6, 48, 16), true);
    luStrok = makeLabel(panel, QStringLiteral("luStrok"), QString(), QRect(90, 6, 30, 16), false);
    makeLabel(panel, QStringLiteral("lMand"), QStringLiteral("Mand.:"), QRect(124, 6, 40, 16), true);
    luMand = makeLabel(panel, QStringLiteral("luMand"), QString(), QRect(166, 6, 132, 16), false);
    makeLabel(panel, QStringLiteral("lTrad"), QStringLiteral("Trad:"), QRect(306, 6, 34, 16), true);
    luTrad = makeLabel(panel, QStringLiteral("luTrad"), QString(), QRect(342, 2, 148, 22), false, 19);
    makeLabel(panel, QStringLiteral("lHex"), QStringLiteral("Hex:"), QRect(496, 6, 24, 16), true);
    lKodHex = makeLabel(panel, QStringLiteral("lKodHex"), QString(), QRect(520, 6, 38, 16), false);

    makeLine(panel, QRect(1, 25, 558, 1));

    // Second row: the radical | simplified | decimal code.
    makeLabel(panel, QStringLiteral("lRad"), QStringLiteral("Rad:"), QRect(6, 30, 28, 16), true);
    lrRadCh = makeLabel(panel, QStringLiteral("lrRadCh"), QString(), QRect(36, 26, 26, 22), false, 19);
    luRad = makeLabel(panel, QStringLiteral("luRad"), QString(), QRect(64, 30, 234, 16), false);
    makeLabel(panel, QStringLiteral("lSimp"), QStringLiteral("Simp:"), QRect(306, 30, 34, 16), true);
    luSimp = makeLabel(panel, QStringLiteral("luSimp"), QString(), QRect(342, 26, 148, 22), false, 19);
    makeLabel(panel, QStringLiteral("lDec"), QStringLiteral("Dec:"), QRect(496, 30, 24, 16), true);
    lKodDec = makeLabel(panel, QStringLiteral("lKodDec"), QString(), QRect(520, 30, 38, 16), false);
    // The widest codes, FFFF and 65535, must stay inside the border, in
    // whatever font stands in for Arial.
    for (QLabel *code : {lKodHex, lKodDec}) {
        code->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = code->font();
        while (f.pixelSize() > 8
               && QFontMetrics(f).horizontalAdvance(code == lKodHex ? QStringLiteral("FFFF") : QStringLiteral("65535"))
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
    luDef = makeLabel(panel, QStringLiteral("luDef"), QString(), QRect(36, 55, 520, 16), false);

    // The dictionary entries.
    TntMemo1 = new QPlainTextEdit(panel);
    TntMemo1->setObjectName(QStringLiteral("TntMemo1"));
    TntMemo1->setGeometry(1, 73, 558, 70);
    TntMemo1->setReadOnly(true);
    TntMemo1->setFocusPolicy(Qt::NoFocus);
    TntMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont memoFont(QStringLiteral("Arial"));
    memoFont.setPixelSize(13);
    TntMemo1->setFont(memoFont);
    TntMemo1->setStyleSheet(QStringLiteral("QPlainTextEdit { color: silver; background: black; border: none; }"));

    FormCreate();
}

void TFormHanzi::FormCreate()
{
    // Rounded corners of 3 by 3 pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 3, 3);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TFormHanzi::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    FormCreate();
}

void TFormHanzi::SetPosition(QWidget *Main)
{
    if (!Main)
        return;
    QScreen *screen = Main->screen() ? Main->screen() : QGuiApplication::primaryScreen();
    SetPosition(Main->frameGeometry(), screen ? screen->geometry().height() : 0);
}

void TFormHanzi::SetPosition(const QRect &Main, int ScreenHeight)
{
    const int below = Main.top() + Main.height() + 1;
    const int top = below < ScreenHeight - height() ? below : Main.top() - height() - 1;
    move(Main.left(), top);
}
