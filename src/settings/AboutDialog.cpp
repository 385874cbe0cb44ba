#include "settings/AboutDialog.h"

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

AboutDialog::AboutDialog(korvana::AboutHost &host, QWidget *mainWidget, QWidget *parent)
    : QDialog(parent), m_host(host), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(325, 336);

    auto label = [this](AboutLabel *&l, const char *name, const QString &text, bool bold = false, bool link = false) {
        l = new AboutLabel(text, this, link);
        l->setObjectName(QLatin1String(name));
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
    };
    label(titleLabel, "titleLabel", QStringLiteral("Korvana"), true);
    {
        QFont f = titleLabel->font();
        f.setPointSize(f.pointSize() + 8);
        titleLabel->setFont(f);
        // A cream shadow under the title.
        auto *shadow = new QGraphicsDropShadowEffect(titleLabel);
        shadow->setColor(QColor(0xFF, 0xFB, 0xF0));
        shadow->setOffset(2, 2);
        shadow->setBlurRadius(0);
        titleLabel->setGraphicsEffect(shadow);
    }
    label(versionLabel, "versionLabel", QStringLiteral("Version 3.2"), true);
    label(licenseLabel, "licenseLabel", QStringLiteral("Free to use, share and learn with."));
    label(homePageCaptionLabel, "homePageCaptionLabel", QStringLiteral("Home:"), true);
    label(homePageLabel, "homePageLabel", korvana::ProgramLinks::homeHost(), false, true);
    label(supportEmailCaptionLabel, "supportEmailCaptionLabel", QStringLiteral("E-mail:"), true);
    label(supportEmailLabel, "supportEmailLabel", korvana::ProgramLinks::supportEmail(), false, true);
    label(skinCaptionLabel, "skinCaptionLabel", QStringLiteral("Skin:"), true);
    label(skinNameCaptionLabel, "skinNameCaptionLabel", QStringLiteral("Name:"));
    label(skinNameLabel, "skinNameLabel", QString());
    label(skinAuthorCaptionLabel, "skinAuthorCaptionLabel", QStringLiteral("Author:"));
    label(skinAuthorLabel, "skinAuthorLabel", QString());
    label(creditsCaptionLabel, "creditsCaptionLabel", QStringLiteral("Using:"), true);
    for (AboutLabel *link : {homePageLabel, supportEmailLabel})
        link->setStyleSheet(QStringLiteral("color: navy;"));

    creditsBox = new QPlainTextEdit(this);
    creditsBox->setObjectName(QStringLiteral("creditsBox"));
    creditsBox->setReadOnly(true);
    creditsBox->setFocusPolicy(Qt::NoFocus);
    creditsBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    creditsBox->viewport()->setCursor(Qt::ArrowCursor);
    creditsBox->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FF7000; }"));
    creditsBox->setPlainText(creditsText());

    closeButton = new QPushButton(QStringLiteral("close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setFlat(true);
    closeButton->setAutoDefault(false);
    closeButton->setStyleSheet(QStringLiteral("QPushButton { background: #8080FF; border: none; padding: 3px 12px; }"));

    auto *grid = new QGridLayout;
    grid->addWidget(homePageCaptionLabel, 0, 0);
    grid->addWidget(homePageLabel, 0, 1);
    grid->addWidget(supportEmailCaptionLabel, 1, 0);
    grid->addWidget(supportEmailLabel, 1, 1);
    grid->addWidget(skinCaptionLabel, 2, 0, 1, 2);
    grid->addWidget(skinNameCaptionLabel, 3, 0);
    grid->addWidget(skinNameLabel, 3, 1);
    grid->addWidget(skinAuthorCaptionLabel, 4, 0);
    grid->addWidget(skinAuthorLabel, 4, 1);
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 10);
    layout->addWidget(titleLabel);
    layout->addWidget(versionLabel);
    layout->addWidget(licenseLabel);
    layout->addLayout(grid);
    layout->addWidget(creditsCaptionLabel);
    layout->addWidget(creditsBox, 1);
    layout->addWidget(closeButton, 0, Qt::AlignHCenter);

    connect(homePageLabel, &AboutLabel::clicked, this, [this] { homePageLabelClicked(); });
    connect(supportEmailLabel, &AboutLabel::clicked, this, [this] { supportEmailLabelClicked(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeButtonClicked(); });
    // The plain captions close the window too; the title, the skin's name
    // and author and the credits do not.
    for (AboutLabel *l : {skinNameCaptionLabel, licenseLabel, homePageCaptionLabel, supportEmailCaptionLabel,
                          skinCaptionLabel, versionLabel, skinAuthorCaptionLabel, creditsCaptionLabel})
        connect(l, &AboutLabel::clicked, this, [this] { closeButtonClicked(); });
}

QString AboutDialog::creditsText()
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

void AboutDialog::onActivate()
{
    skinNameLabel->setText(m_host.skinName());
    skinAuthorLabel->setText(m_host.skinAuthor());
}

void AboutDialog::homePageLabelClicked()
{
    korvana::ShellOpen::open(QUrl(korvana::ProgramLinks::homePage() + QStringLiteral("?source=kvl")));
}

void AboutDialog::supportEmailLabelClicked()
{
    korvana::ShellOpen::open(QUrl(QStringLiteral("mailto:") + korvana::ProgramLinks::supportEmail()));
}

void AboutDialog::closeButtonClicked()
{
    close();
}

void AboutDialog::onKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        closeButtonClicked();
}

bool AboutDialog::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return handled;
}

void AboutDialog::showEvent(QShowEvent *e)
{
    // Filled before the first paint, whether or not the platform activates
    // the window.
    onActivate();
    move(m_mainWidget->geometry().center() - rect().center());
    QDialog::showEvent(e);
}

void AboutDialog::keyPressEvent(QKeyEvent *e)
{
    // Only Esc does anything: Enter must not close the window as a dialog's
    // default button would.
    onKeyDown(e->key());
}

void AboutDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xFF, 0x90, 0x00));
    g.setColorAt(1, QColor(0xDD, 0x40, 0x00));
    p.fillRect(rect(), g);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
