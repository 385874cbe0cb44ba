#include "settings/TFormOptions.h"

#include "app/TForm1.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Integers.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"
#include "settings/ProgramPaths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormOptions *FormOptions = nullptr;

using korvana::ColorSwatch;
using korvana::UpDown;

namespace korvana {

ColorSwatch::ColorSwatch(QWidget *parent) : QFrame(parent)
{
    setFixedSize(15, 15);
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    setBrushColor(0);
}

void ColorSwatch::setBrushColor(quint32 color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    setPalette(p);
}

void ColorSwatch::mousePressEvent(QMouseEvent *e)
{
    QFrame::mousePressEvent(e);
    emit mouseDown();
}

UpDown::UpDown(QLineEdit *buddy, int min, int max, int step, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_min(min), m_max(max), m_step(step), m_position(min)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *down = new QToolButton(this);
    down->setArrowType(Qt::LeftArrow);
    auto *up = new QToolButton(this);
    up->setArrowType(Qt::RightArrow);
    row->addWidget(down);
    row->addWidget(up);
    connect(down, &QToolButton::clicked, this, &UpDown::stepDown);
    connect(up, &QToolButton::clicked, this, &UpDown::stepUp);
    m_position = strToIntDef(buddy->text(), min);
}

void UpDown::stepUp() { moveBy(m_step); }
void UpDown::stepDown() { moveBy(-m_step); }

void UpDown::moveBy(int delta)
{
    // The arrows start from what the edit shows when it holds a number; the
    // bounds hold only for the arrows, never for typed text.
    m_position = std::clamp(strToIntDef(m_buddy->text(), m_position), m_min, m_max);
    m_position = std::clamp(m_position + delta, m_min, m_max);
    m_buddy->setText(QString::number(m_position));
}

} // namespace korvana

// --- font sources -------------------------------------------------------------------

namespace {

QString scriptName(QFontDatabase::WritingSystem ws)
{
    switch (ws) {
    case QFontDatabase::Latin: return QStringLiteral("ANSI");
    case QFontDatabase::Greek: return QStringLiteral("GREEK");
    case QFontDatabase::Cyrillic: return QStringLiteral("RUSSIAN");
    case QFontDatabase::Hebrew: return QStringLiteral("HEBREW");
    case QFontDatabase::Arabic: return QStringLiteral("ARABIC");
    case QFontDatabase::Thai: return QStringLiteral("THAI");
    case QFontDatabase::Vietnamese: return QStringLiteral("VIETNAMESE");
    case QFontDatabase::SimplifiedChinese: return QStringLiteral("CHINESE_GB2312");
    case QFontDatabase::TraditionalChinese: return QStringLiteral("CHINESE_BIG5");
    case QFontDatabase::Japanese: return QStringLiteral("SHIFTJIS");
    case QFontDatabase::Korean: return QStringLiteral("HANGEUL");
    case QFontDatabase::Symbol: return QStringLiteral("SYMBOL");
    default: return {};
    }
}

} // namespace

TFormOptions::FontSource TFormOptions::fontSource;
TFormOptions::FontFileSource TFormOptions::fontFileSource;

std::vector<TFormOptions::FontFace> TFormOptions::systemFonts()
{
    std::vector<FontFace> faces;
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        FontFace face{family, {}};
        for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(family)) {
            const QString name = scriptName(ws);
            if (!name.isEmpty() && !face.scripts.contains(name))
                face.scripts << name;
        }
        faces.push_back(face);
    }
    return faces;
}

std::vector<std::pair<QString, QString>> TFormOptions::systemFontFiles()
{
    // The installed font files as fontconfig lists them: "family style" is
    // the display name, the file's own name (without its folder) the data.
    std::vector<std::pair<QString, QString>> files;
    QProcess fcList;
    fcList.start(QStringLiteral("fc-list"), {QStringLiteral("--format"),
                                             QStringLiteral("%{family[0]}|%{style[0]}|%{file}\\n")});
    if (!fcList.waitForFinished(10000))
        return files;
    const QStringList lines = QString::fromUtf8(fcList.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList parts = line.split(u'|');
        if (parts.size() < 3 || parts[0].isEmpty())
            continue;
        QString display = parts[0];
        if (!parts[1].isEmpty())
            display += u' ' + parts[1];
        files.emplace_back(display, QFileInfo(parts[2]).fileName());
    }
    return files;
}

// --- the window ---------------------------------------------------------------------

namespace {
const char *const kPages[] = {"Application", "Sound", "Fonts", "Editor", "External Editor", "Brain Flash",
                              "Auto mode"};
const char *const kHeaders[] = {"Application", "Sound", "Fonts", "Editor", "External Editor", "Brain Flash",
                                "Auto Mode"};

} // namespace

TFormOptions::TFormOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Options"));
    // The designed client area; the layout may grow it where fonts need more.
    resize(478, 318);

    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    outer->addLayout(body);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setFixedWidth(120);
    for (const char *page : kPages)
        TreeView1->addTopLevelItem(new QTreeWidgetItem(QStringList(QLatin1String(page))));
    TreeView1->setCurrentItem(nullptr);
    TreeView1->clearSelection();
    body->addWidget(TreeView1);

    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    body->addWidget(Notebook1, 1);
    using Builder = void (TFormOptions::*)(QWidget *);
    const Builder builders[] = {&TFormOptions::buildApplicationPage, &TFormOptions::buildSoundPage,
                                &TFormOptions::buildFontsPage,       &TFormOptions::buildEditorPage,
                                &TFormOptions::buildExternalEditorPage, &TFormOptions::buildFlashPage,
                                &TFormOptions::buildAutoPage};
    for (int i = 0; i < 7; ++i) {
        auto *page = new QWidget(Notebook1);
        auto *layout = new QVBoxLayout(page);
        auto *header = new QLabel(QLatin1String(kHeaders[i]), page);
        QFont f = header->font();
        f.setBold(true);
        header->setFont(f);
        layout->addWidget(header);
        auto *content = new QWidget(page);
        layout->addWidget(content, 1);
        (this->*builders[i])(content);
        Notebook1->addWidget(page);
    }
    Notebook1->setCurrentIndex(2);

    FontCharsetComboBox1 = new QComboBox(this);
    FontCharsetComboBox1->setObjectName(QStringLiteral("FontCharsetComboBox1"));
    FontCharsetComboBox1->hide();

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    JvSpeedButton1 = new QPushButton(QStringLiteral("close"), this);
    JvSpeedButton1->setObjectName(QStringLiteral("JvSpeedButton1"));
    JvSpeedButton1->setAutoDefault(false);
    bottom->addWidget(JvSpeedButton1);
    outer->addLayout(bottom);

    connect(JvSpeedButton1, &QPushButton::clicked, this, &TFormOptions::Button1Click);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TFormOptions::TreeView1Change);
}

TFormOptions::~TFormOptions() = default;

// --- events ---------------------------------------------------------------------------

bool TFormOptions::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TFormOptions::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormOptions::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Centred on the main window at every opening: left to itself, the
    // dialog comes back where the window manager last reported it, which
    // some managers give with their frame added, a little lower each time.
    const QWidget *main = Form1 ? static_cast<const QWidget *>(Form1) : parentWidget();
    if (main) {
        QRect frame(QPoint(), frameGeometry().size());
        frame.moveCenter(main->frameGeometry().center());
        move(frame.topLeft());
    }
}

void TFormOptions::closeEvent(QCloseEvent *e)
{
    // A size that is no number keeps the dialog open on its box, whichever
    // way it is closed.
    if (isVisible() && !checkFontSizes()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

int TFormOptions::fontSize(const QComboBox *Box)
{
    return korvana::clampFontSize(korvana::strToInt(Box->currentText()));
}

bool TFormOptions::checkFontSizes()
{
    // In the order the sizes are taken back.
    for (QComboBox *box : {cbTrans, cbChin, cbPin, cbNotes}) {
        if (korvana::parseInteger(box->currentText()))
            continue;
        korvana::Dialogs::instance().message(
            this, QStringLiteral("'%1' is not a valid integer value").arg(box->currentText()),
            korvana::MsgButtons::Ok, korvana::MsgIcon::Error);
        selectPage(2);
        box->setFocus();
        if (box->lineEdit())
            box->lineEdit()->selectAll();
        return false;
    }
    return true;
}

void TFormOptions::FormActivate()
{
    cbFilterFontsChange();
    {
        // Selecting the user's font does not refresh the sample.
        const QSignalBlocker block(cbKanjiFont);
        cbKanjiFont->setCurrentIndex(cbKanjiFont->count() > 0 ? 0 : -1);
        if (host.settings) {
            const QString wanted = pickedKanjiFont.isEmpty() ? host.settings->FKanjiFont : pickedKanjiFont;
            for (int i = 0; i < cbKanjiFont->count(); ++i) {
                if (cbKanjiFont->itemText(i) == wanted) {
                    cbKanjiFont->setCurrentIndex(i);
                    break;
                }
            }
        }
    }
    chbSetKanjiFontClick();
}

void TFormOptions::Button1Click()
{
    // There is no cancel: however the dialog closes, the main window takes
    // the values back.
    close();
}

void TFormOptions::selectPage(int Index)
{
    if (QTreeWidgetItem *item = TreeView1->topLevelItem(Index))
        TreeView1->setCurrentItem(item);
}

void TFormOptions::TreeView1Change()
{
    QTreeWidgetItem *item = TreeView1->currentItem();
    if (!item)
        return;
    Notebook1->setCurrentIndex(TreeView1->indexOfTopLevelItem(item));
}

// --- fonts ------------------------------------------------------------------------------

void TFormOptions::cbFilterFontsChange()
{
    switch (cbFilterFonts->currentIndex()) {
    case 0: FilterFonts(QStringLiteral("CHINESE_GB2312")); break;
    case 1: FilterFonts(QStringLiteral("CHINESE_BIG5")); break;
    case 2: FilterFonts(QString()); break;
    default: break;
    }
}

void TFormOptions::FilterFonts(const QString &Filter)
{
    const QString remembered = cbKanjiFont->currentIndex() >= 0 ? cbKanjiFont->currentText() : QString();
    const std::vector<FontFace> faces = fontSource ? fontSource() : systemFonts();
    {
        const QSignalBlocker block(cbKanjiFont);
        cbKanjiFont->clear();
        for (const FontFace &face : faces) {
            if (face.name.startsWith(u'@'))
                continue;
            if (!Filter.isEmpty()) {
                FontCharsetComboBox1->clear();
                FontCharsetComboBox1->addItems(face.scripts);
                QStringList entries;
                for (int i = 0; i < FontCharsetComboBox1->count(); ++i)
                    entries << FontCharsetComboBox1->itemText(i);
                if (!entries.join(u'\n').contains(Filter))
                    continue;
            }
            cbKanjiFont->addItem(face.name);
        }
        cbKanjiFont->setCurrentIndex(cbKanjiFont->count() > 0 ? 0 : -1);
        const int keep = cbKanjiFont->findText(remembered, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!remembered.isEmpty() && keep >= 0)
            cbKanjiFont->setCurrentIndex(keep);
    }
    cbKanjiFontChange();
}

void TFormOptions::cbKanjiFontChange()
{
    reSample->clear();
    if (host.reChin) {
        korvana::CopyRTF(host.reChin, reSample);
        host.reChin->setSelLength(0);
    }
    if (reSample->text().isEmpty())
        reSample->setText(QStringLiteral("\u4F60\u597D\u5417\uFF1F"));

    reSample->setSel(0, -1);
    // The size the box shows, an item or a typed one (13, 32); while the
    // text is no number the sample keeps the size it has.
    if (const auto size = korvana::parseInteger(cbChin->currentText()))
        reSample->setSelSize(korvana::clampFontSize(*size));
    QString font = cbKanjiFont->currentIndex() >= 0 ? cbKanjiFont->currentText() : QString();
    if (chbRotate->isChecked())
        font.prepend(u'@');
    reSample->setSelFontName(font);
    reSampleView->setToolTip(GetFontFileName(reSample->selAttributes().fontName));
    reSample->setSelBold(chbBold->isChecked());
    if (chbColor->isChecked() && host.settings)
        reSample->setSelColor(korvana::toQColor(host.settings->FKanjiColor));
    const quint32 background = chbBgColor->isChecked() && host.settings ? host.settings->FKanjiBackgroundColor
                                                                         : korvana::colors::clCream;
    QPalette p = reSampleView->palette();
    p.setColor(QPalette::Base, korvana::toQColor(background));
    reSampleView->setPalette(p);
    reSample->setSelLength(0);
}

void TFormOptions::chbRotateClick() { cbKanjiFontChange(); }
void TFormOptions::chbBoldClick() { cbKanjiFontChange(); }
void TFormOptions::chbColorClick() { cbKanjiFontChange(); }

QString TFormOptions::GetFontFileName(const QString &FontName)
{
    if (!m_fontFilesRead) {
        m_fontFiles = fontFileSource ? fontFileSource() : systemFontFiles();
        m_fontFilesRead = true;
    }
    for (const auto &[display, file] : m_fontFiles) {
        if (display.startsWith(FontName, Qt::CaseInsensitive))
            return file;
    }
    return {};
}

void TFormOptions::chbSetKanjiFontClick()
{
    const bool on = chbSetKanjiFont->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{cbKanjiFont, lblFilter, cbFilterFonts, reSampleView, chbBold,
                                                       chbRotate})
        w->setEnabled(on);
}

// --- colour pickers -----------------------------------------------------------------------

bool TFormOptions::pickColor(QColor &chosen)
{
    QColor c = ColorDialogColor;
    if (!korvana::Dialogs::instance().chooseColor(this, c))
        return false;
    ColorDialogColor = c;
    chosen = c;
    return true;
}

void TFormOptions::lblColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->FKanjiColor = korvana::fromQColor(c);
    // Checking the box refreshes the sample; when it was checked already the
    // new colour still has to show.
    if (chbColor->isChecked())
        cbKanjiFontChange();
    else
        chbColor->setChecked(true);
}

void TFormOptions::lblBgColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->FKanjiBackgroundColor = korvana::fromQColor(c);
    if (chbBgColor->isChecked())
        cbKanjiFontChange();
    else
        chbBgColor->setChecked(true);
}

void TFormOptions::lblFlashBgColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = value;
    shFlashBgColor->setBrushColor(value);
}

void TFormOptions::lblFlashColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashColor)
        *host.flashColor = value;
    shFlashColor->setBrushColor(value);
}

void TFormOptions::ShScreenBgColorMouseDown()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    ShScreenBgColor->setBrushColor(value);
    if (host.screenBackgroundChanged)
        host.screenBackgroundChanged(value);
}

// --- flash and automatic mode ----------------------------------------------------------------

void TFormOptions::bFlashDefaultClick()
{
    edDelay->setText(QStringLiteral("1000"));
    edRepeat->setText(QStringLiteral("20"));
    edInterval->setText(QStringLiteral("40"));
    chbFlashFullScreen->setChecked(true);
    shFlashBgColor->setBrushColor(korvana::colors::clBlack);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = korvana::colors::clBlack;
    shFlashColor->setBrushColor(korvana::colors::clRed);
    if (host.flashColor)
        *host.flashColor = korvana::colors::clRed;
    chbFlashWords->setChecked(true);
    chbFlashPhrases->setChecked(false);
}

void TFormOptions::stepInterval(QLabel *caption, int lowerBound, int delta)
{
    const int n = korvana::parseInteger(caption->text()).value_or(lowerBound);
    if (delta < 0 && n > lowerBound)
        caption->setText(QString::number(n - 1));
    else if (delta > 0 && n < 20)
        caption->setText(QString::number(n + 1));
}

void TFormOptions::sbNasobekIntervalMinusClick() { stepInterval(stNasobekInterval, 2, -1); }
void TFormOptions::sbNasobekIntervalPluusClick() { stepInterval(stNasobekInterval, 2, +1); }
void TFormOptions::sbFixedIntervalMinusClick() { stepInterval(stInterval, 3, -1); }
void TFormOptions::sbFixedIntervalPlusClick() { stepInterval(stInterval, 3, +1); }

// --- folders and files ------------------------------------------------------------------------

bool TFormOptions::BrowseForFolder(const QString &Title, QString &Path)
{
    const QString chosen = korvana::Dialogs::instance().chooseFolder(this, Title, QString());
    if (chosen.isEmpty())
        return false;
    Path = chosen;
    return true;
}

void TFormOptions::tbOpenclick()
{
    // The whole path is taken: cutting a long one short would name another
    // folder.
    QString path;
    if (BrowseForFolder(QStringLiteral("Select directory"), path))
        edWorkDir->setText(path);
}

void TFormOptions::tbDictOpenClick()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*");
    request.fileName.clear();
    request.initialDir = korvana::ProgramPaths::dataFile(QStringLiteral("dict"));
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        edDictionary->setText(QFileInfo(chosen.first()).absoluteFilePath());
}

void TFormOptions::Button2Click()
{
    korvana::FileDialogRequest request;
    // Programs here have no extension of their own: every file is offered
    // first (the file's name decides nothing).
    request.filter = QStringLiteral("All Files|*|Windows programs|*.exe;*.com;*.bat;*.pif");
    request.fileName.clear();
    request.initialDir = eExtEditor->text();
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        eExtEditor->setText(QFileInfo(chosen.first()).absoluteFilePath());
}
