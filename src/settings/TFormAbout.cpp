#include "settings/TFormAbout.h"

#include "app/TForm1.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormAbout *FormAbout = nullptr;

namespace korvana {

QString ProgramLinks::homePage()
{
    return QStringLiteral("https://korvana.org/");
}

QString ProgramLinks::homeHost()
{
    return QStringLiteral("korvana.org");
}

QString ProgramLinks::supportEmail()
{
    return QStringLiteral("support@korvana.org");
}

std::function<void(const QUrl &)> ShellOpen::open = [](const QUrl &url) { QDesktopServices::openUrl(url); };

AboutLabel::AboutLabel(const QString &text, QWidget *parent, bool link) : QLabel(text, parent), m_link(link)
{
    if (link) {
        setCursor(Qt::PointingHandCursor);
        setMouseTracking(true);
    }
}

void AboutLabel::setUnderline(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void AboutLabel::mouseMoveEvent(QMouseEvent *e)
{
    QLabel::mouseMoveEvent(e);
    if (m_link)
        setUnderline(true);
}

void AboutLabel::leaveEvent(QEvent *e)
{
    QLabel::leaveEvent(e);
    if (m_link)
        setUnderline(false);
}

void AboutLabel::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

} // namespace korvana

using korvana::AboutLabel;

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(325, 336);

    auto label = [this](AboutLabel *&l, const char *name, const QString &text, bool bold = false,
                        bool link = false) {
        l = new AboutLabel(text, this, link);
        l->setObjectName(QLatin1String(name));
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
    };
    label(JvLabel1, "JvLabel1", QStringLiteral("Korvana"), true);
    {
        QFont f = JvLabel1->font();
        f.setPointSize(f.pointSize() + 8);
        JvLabel1->setFont(f);
        // A cream shadow under the title.
        auto *shadow = new QGraphicsDropShadowEffect(JvLabel1);
        shadow->setColor(QColor(0xFF, 0xFB, 0xF0));
        shadow->setOffset(2, 2);
        shadow->setBlurRadius(0);
        JvLabel1->setGraphicsEffect(shadow);
    }
    label(Label8, "Label8", QStringLiteral("Version 3.2"), true);
    label(Label2, "Label2", QStringLiteral("Free to use, share and learn with."));
    label(Label5, "Label5", QStringLiteral("Home:"), true);
    label(Label3, "Label3", korvana::ProgramLinks::homeHost(), false, true);
    label(Label6, "Label6", QStringLiteral("E-mail:"), true);
    label(Label4, "Label4", korvana::ProgramLinks::supportEmail(), false, true);
    label(Label7, "Label7", QStringLiteral("Skin:"), true);
    label(Label1, "Label1", QStringLiteral("Name:"));
    label(lblSkinName, "lblSkinName", QString());
    label(Label9, "Label9", QStringLiteral("Author:"));
    label(lblSkinAuthor, "lblSkinAuthor", QString());
    label(Label10, "Label10", QStringLiteral("Using:"), true);
    for (AboutLabel *link : {Label3, Label4})
        link->setStyleSheet(QStringLiteral("color: navy;"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FF7000; }"));
    Memo1->setPlainText(creditsText());

    bClose = new QPushButton(QStringLiteral("close"), this);
    bClose->setObjectName(QStringLiteral("bClose"));
    bClose->setFlat(true);
    bClose->setAutoDefault(false);
    bClose->setStyleSheet(QStringLiteral("QPushButton { background: #8080FF; border: none; padding: 3px 12px; }"));

    auto *grid = new QGridLayout;
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(Label6, 1, 0);
    grid->addWidget(Label4, 1, 1);
    grid->addWidget(Label7, 2, 0, 1, 2);
    grid->addWidget(Label1, 3, 0);
    grid->addWidget(lblSkinName, 3, 1);
    grid->addWidget(Label9, 4, 0);
    grid->addWidget(lblSkinAuthor, 4, 1);
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 10);
    layout->addWidget(JvLabel1);
    layout->addWidget(Label8);
    layout->addWidget(Label2);
    layout->addLayout(grid);
    layout->addWidget(Label10);
    layout->addWidget(Memo1, 1);
    layout->addWidget(bClose, 0, Qt::AlignHCenter);

    connect(Label3, &AboutLabel::clicked, this, [this] { Label3Click(); });
    connect(Label4, &AboutLabel::clicked, this, [this] { Label4Click(); });
    connect(bClose, &QPushButton::clicked, this, [this] { bCloseClick(); });
    // The plain captions close the window too; the title, the skin's name
    // and author and the credits do not.
    for (AboutLabel *l : {Label1, Label2, Label5, Label6, Label7, Label8, Label9, Label10})
        connect(l, &AboutLabel::clicked, this, [this] { bCloseClick(); });
}

QString TFormAbout::creditsText()
{
    static const char *const credits[7][2] = {
        {"CEDICT Chinese-English Dictionary", "https://www.mdbg.net/chinese/dictionary?page=cc-cedict"},
        {"HanDeDict Chinese-German Dictionary", "https://handedict.zydeo.net/"},
        {"Unihan Database", "https://www.unicode.org/charts/unihan.html"},
        {"Qt application framework", "https://www.qt.io/"},
        {"eSpeak NG speech synthesizer", "https://github.com/espeak-ng/espeak-ng"},
        {"zlib compression library", "https://zlib.net/"},
        {"libjpeg JPEG library", "https://ijg.org/"},
    };
    QStringList lines;
    for (int i = 0; i < 7; ++i) {
        if (i > 0)
            lines << QString(41, QLatin1Char('-'));
        lines << QLatin1String(credits[i][0]) << QLatin1String(credits[i][1]);
    }
    return lines.join(QLatin1Char('\n'));
}

void TFormAbout::FormActivate()
{
    if (!Form1)
        return;
    lblSkinName->setText(Form1->FSkinName);
    lblSkinAuthor->setText(Form1->FSkinAuthor);
}

void TFormAbout::Label3Click()
{
    korvana::ShellOpen::open(QUrl(korvana::ProgramLinks::homePage() + QStringLiteral("?source=kvl")));
}

void TFormAbout::Label4Click()
{
    korvana::ShellOpen::open(QUrl(QStringLiteral("mailto:") + korvana::ProgramLinks::supportEmail()));
}

void TFormAbout::bCloseClick()
{
    close();
}

void TFormAbout::FormKeyDown(int Key)
{
    if (Key == Qt::Key_Escape)
        bCloseClick();
}

bool TFormAbout::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TFormAbout::showEvent(QShowEvent *e)
{
    // Filled before the first paint, whether or not the platform activates
    // the window.
    FormActivate();
    if (Form1)
        move(Form1->geometry().center() - rect().center());
    QDialog::showEvent(e);
}

void TFormAbout::keyPressEvent(QKeyEvent *e)
{
    // Only Esc does anything: Enter must not close the window as a dialog's
    // default button would.
    FormKeyDown(e->key());
}

void TFormAbout::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xFF, 0x90, 0x00));
    g.setColorAt(1, QColor(0xDD, 0x40, 0x00));
    p.fillRect(rect(), g);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
