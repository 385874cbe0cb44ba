#include "settings/OptionsDialog.h"

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
#include <QFontInfo>
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

void UpDown::stepUp()
{
    moveBy(m_step);
}
void UpDown::stepDown()
{
    moveBy(-m_step);
}

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
    case QFontDatabase::Latin:
        return QStringLiteral("ANSI");
    case QFontDatabase::Greek:
        return QStringLiteral("GREEK");
    case QFontDatabase::Cyrillic:
        return QStringLiteral("RUSSIAN");
    case QFontDatabase::Hebrew:
        return QStringLiteral("HEBREW");
    case QFontDatabase::Arabic:
        return QStringLiteral("ARABIC");
    case QFontDatabase::Thai:
        return QStringLiteral("THAI");
    case QFontDatabase::Vietnamese:
        return QStringLiteral("VIETNAMESE");
    case QFontDatabase::SimplifiedChinese:
        return QStringLiteral("CHINESE_GB2312");
    case QFontDatabase::TraditionalChinese:
        return QStringLiteral("CHINESE_BIG5");
    case QFontDatabase::Japanese:
        return QStringLiteral("SHIFTJIS");
    case QFontDatabase::Korean:
        return QStringLiteral("HANGEUL");
    case QFontDatabase::Symbol:
        return QStringLiteral("SYMBOL");
    default:
        return {};
    }
}

// The installed family a font name is drawn in ("SimSun" -> "Noto Serif CJK SC").
QString drawnFamily(const QString &name)
{
    QString family = QFontInfo(QFont(name)).family();
    const qsizetype foundry = family.indexOf(QLatin1String(" ["));
    if (foundry > 0)
        family.truncate(foundry);
    return family;
}

} // namespace

OptionsDialog::FontSource OptionsDialog::fontSource;
OptionsDialog::FontFileSource OptionsDialog::fontFileSource;

std::vector<OptionsDialog::FontFace> OptionsDialog::systemFonts()
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

std::vector<std::pair<QString, QString>> OptionsDialog::systemFontFiles()
{
    // The installed font files as fontconfig lists them: "family style" is
    // the display name, the file's own name (without its folder) the data.
    std::vector<std::pair<QString, QString>> files;
    QProcess fcList;
    fcList.start(QStringLiteral("fc-list"),
                 {QStringLiteral("--format"), QStringLiteral("%{family[0]}|%{style[0]}|%{file}\\n")});
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
const char *const kPages[] = {"Application", "Sound", "Fonts", "Editor", "External Editor", "Brain Flash", "Auto mode"};
const char *const kHeaders[] = {"Application",     "Sound",       "Fonts",    "Editor",
                                "External Editor", "Brain Flash", "Auto Mode"};

} // namespace

OptionsDialog::OptionsDialog(korvana::OptionsHost optionsHost, QWidget *mainWidget, QWidget *parent)
    : QDialog(parent), host(std::move(optionsHost)), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    // The designed client area; the layout may grow it where fonts need more.
    resize(478, 318);
    if (!buildPagesWhenNeeded)
        buildPages();
}

bool OptionsDialog::buildPagesWhenNeeded = false;

void OptionsDialog::buildPages()
{
    if (m_pagesBuilt)
        return;
    m_pagesBuilt = true;
    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    outer->addLayout(body);

    pageTree = new QTreeWidget(this);
    pageTree->setObjectName(QStringLiteral("pageTree"));
    pageTree->setHeaderHidden(true);
    pageTree->setRootIsDecorated(false);
    pageTree->setFixedWidth(120);
    for (const char *page : kPages)
        pageTree->addTopLevelItem(new QTreeWidgetItem(QStringList(QLatin1String(page))));
    pageTree->setCurrentItem(nullptr);
    pageTree->clearSelection();
    body->addWidget(pageTree);

    pages = new QStackedWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    body->addWidget(pages, 1);
    using Builder = void (OptionsDialog::*)(QWidget *);
    const Builder builders[] = {
        &OptionsDialog::buildApplicationPage, &OptionsDialog::buildSoundPage,          &OptionsDialog::buildFontsPage,
        &OptionsDialog::buildEditorPage,      &OptionsDialog::buildExternalEditorPage, &OptionsDialog::buildFlashPage,
        &OptionsDialog::buildAutoPage};
    for (int i = 0; i < 7; ++i) {
        auto *page = new QWidget(pages);
        auto *layout = new QVBoxLayout(page);
        auto *header = new QLabel(QLatin1String(kHeaders[i]), page);
        QFont f = header->font();
        f.setBold(true);
        header->setFont(f);
        layout->addWidget(header);
        auto *content = new QWidget(page);
        layout->addWidget(content, 1);
        (this->*builders[i])(content);
        pages->addWidget(page);
    }
    pages->setCurrentIndex(2);

    fontScriptsCombo = new QComboBox(this);
    fontScriptsCombo->setObjectName(QStringLiteral("fontScriptsCombo"));
    fontScriptsCombo->hide();

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    closeButton = new QPushButton(QStringLiteral("close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);
    bottom->addWidget(closeButton);
    outer->addLayout(bottom);

    connect(closeButton, &QPushButton::clicked, this, &OptionsDialog::closeButtonClicked);
    connect(pageTree, &QTreeWidget::currentItemChanged, this, &OptionsDialog::pageTreeChanged);
}

OptionsDialog::~OptionsDialog() = default;

// --- events ---------------------------------------------------------------------------

void OptionsDialog::setVisible(bool visible)
{
    if (visible)
        buildPages();
    QDialog::setVisible(visible);
}

bool OptionsDialog::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return handled;
}

void OptionsDialog::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        closeButtonClicked();
        return;
    }
    QDialog::keyPressEvent(e);
}

void OptionsDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // Centred on the main window at every opening: left to itself, the
    // dialog comes back where the window manager last reported it, which
    // some managers give with their frame added, a little lower each time.
    QRect frame(QPoint(), frameGeometry().size());
    frame.moveCenter(m_mainWidget->frameGeometry().center());
    move(frame.topLeft());
}

void OptionsDialog::closeEvent(QCloseEvent *e)
{
    // A size that is no number keeps the dialog open on its box, whichever
    // way it is closed.
    if (isVisible() && !checkFontSizes()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

int OptionsDialog::fontSize(const QComboBox *box)
{
    return korvana::clampFontSize(korvana::strToInt(box->currentText()));
}

bool OptionsDialog::checkFontSizes()
{
    // Translation, characters, pinyin, notes: the first bad box in that
    // order is the one shown.
    for (korvana::Pane p :
         {korvana::Pane::Translation, korvana::Pane::Characters, korvana::Pane::Pinyin, korvana::Pane::Notes}) {
        QComboBox *box = panes[p].sizeCombo;
        if (korvana::parseInteger(box->currentText()))
            continue;
        korvana::Dialogs::instance().message(
            this, QStringLiteral("'%1' is not a valid integer value").arg(box->currentText()), korvana::MsgButtons::Ok,
            korvana::MsgIcon::Error);
        selectPage(2);
        box->setFocus();
        if (box->lineEdit())
            box->lineEdit()->selectAll();
        return false;
    }
    return true;
}

void OptionsDialog::onActivate()
{
    fontFilterComboChanged();
    {
        // Selecting the user's font does not refresh the sample.
        const QSignalBlocker block(characterFontCombo);
        characterFontCombo->setCurrentIndex(characterFontCombo->count() > 0 ? 0 : -1);
        if (host.settings) {
            const QString wanted =
                pickedCharactersFont.isEmpty() ? host.settings->charactersFont : pickedCharactersFont;
            int at = characterFontCombo->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (at < 0 && !wanted.isEmpty()) {
                // A Windows name (SimSun) is drawn in the installed font it
                // is mapped to: the list shows that font, not its first one.
                at = characterFontCombo->findText(drawnFamily(wanted), Qt::MatchFixedString);
            }
            if (at >= 0)
                characterFontCombo->setCurrentIndex(at);
        }
    }
    forceCharacterFontSwitchClicked();
}

void OptionsDialog::closeButtonClicked()
{
    // There is no cancel: however the dialog closes, the main window takes
    // the values back.
    close();
}

void OptionsDialog::selectPage(int index)
{
    buildPages();
    if (QTreeWidgetItem *item = pageTree->topLevelItem(index))
        pageTree->setCurrentItem(item);
}

void OptionsDialog::pageTreeChanged()
{
    QTreeWidgetItem *item = pageTree->currentItem();
    if (!item)
        return;
    pages->setCurrentIndex(pageTree->indexOfTopLevelItem(item));
}

// --- fonts ------------------------------------------------------------------------------

void OptionsDialog::fontFilterComboChanged()
{
    switch (fontFilterCombo->currentIndex()) {
    case 0:
        filterFonts(QStringLiteral("CHINESE_GB2312"));
        break;
    case 1:
        filterFonts(QStringLiteral("CHINESE_BIG5"));
        break;
    case 2:
        filterFonts(QString());
        break;
    default:
        break;
    }
}

void OptionsDialog::filterFonts(const QString &filter)
{
    const QString remembered = characterFontCombo->currentIndex() >= 0 ? characterFontCombo->currentText() : QString();
    const std::vector<FontFace> faces = fontSource ? fontSource() : systemFonts();
    {
        const QSignalBlocker block(characterFontCombo);
        characterFontCombo->clear();
        for (const FontFace &face : faces) {
            if (face.name.startsWith(u'@'))
                continue;
            if (!filter.isEmpty()) {
                fontScriptsCombo->clear();
                fontScriptsCombo->addItems(face.scripts);
                QStringList entries;
                for (int i = 0; i < fontScriptsCombo->count(); ++i)
                    entries << fontScriptsCombo->itemText(i);
                if (!entries.join(u'\n').contains(filter))
                    continue;
            }
            characterFontCombo->addItem(face.name);
        }
        characterFontCombo->setCurrentIndex(characterFontCombo->count() > 0 ? 0 : -1);
        const int keep = characterFontCombo->findText(remembered, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!remembered.isEmpty() && keep >= 0)
            characterFontCombo->setCurrentIndex(keep);
    }
    characterFontComboChanged();
}

void OptionsDialog::characterFontComboChanged()
{
    sampleText->clear();
    if (host.charactersText) {
        korvana::copyRichText(host.charactersText, sampleText);
        host.charactersText->setSelLength(0);
    }
    if (sampleText->text().isEmpty())
        sampleText->setText(QStringLiteral("\u4F60\u597D\u5417\uFF1F"));

    sampleText->setSel(0, -1);
    // The size the box shows, an item or a typed one (13, 32); while the
    // text is no number the sample keeps the size it has.
    if (const auto size = korvana::parseInteger(panes[korvana::Pane::Characters].sizeCombo->currentText()))
        sampleText->setSelSize(korvana::clampFontSize(*size));
    QString font = characterFontCombo->currentIndex() >= 0 ? characterFontCombo->currentText() : QString();
    if (rotateSwitch->isChecked())
        font.prepend(u'@');
    sampleText->setSelFontName(font);
    sampleView->setToolTip(fontFileName(sampleText->selAttributes().fontName));
    sampleText->setSelBold(boldSwitch->isChecked());
    if (characterColorSwitch->isChecked() && host.settings)
        sampleText->setSelColor(korvana::toQColor(host.settings->charactersColor));
    const quint32 background = characterBackgroundSwitch->isChecked() && host.settings
                                   ? host.settings->charactersBackgroundColor
                                   : korvana::colors::clCream;
    QPalette p = sampleView->palette();
    p.setColor(QPalette::Base, korvana::toQColor(background));
    sampleView->setPalette(p);
    sampleText->setSelLength(0);
}

void OptionsDialog::rotateSwitchClicked()
{
    characterFontComboChanged();
}
void OptionsDialog::boldSwitchClicked()
{
    characterFontComboChanged();
}
void OptionsDialog::characterColorSwitchClicked()
{
    characterFontComboChanged();
}

QString OptionsDialog::fontFileName(const QString &fontName)
{
    if (!m_fontFilesRead) {
        m_fontFiles = fontFileSource ? fontFileSource() : systemFontFiles();
        m_fontFilesRead = true;
    }
    for (const auto &[display, file] : m_fontFiles) {
        if (display.startsWith(fontName, Qt::CaseInsensitive))
            return file;
    }
    return {};
}

void OptionsDialog::forceCharacterFontSwitchClicked()
{
    const bool on = forceCharacterFontSwitch->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{characterFontCombo, fontFilterLabel, fontFilterCombo, sampleView,
                                                       boldSwitch, rotateSwitch})
        w->setEnabled(on);
}

// --- colour pickers -----------------------------------------------------------------------

bool OptionsDialog::pickColor(QColor &chosen)
{
    QColor c = colorDialogColor;
    if (!korvana::Dialogs::instance().chooseColor(this, c))
        return false;
    colorDialogColor = c;
    chosen = c;
    return true;
}

void OptionsDialog::characterColorLabelClicked()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->charactersColor = korvana::fromQColor(c);
    // Checking the box refreshes the sample; when it was checked already the
    // new colour still has to show.
    if (characterColorSwitch->isChecked())
        characterFontComboChanged();
    else
        characterColorSwitch->setChecked(true);
}

void OptionsDialog::characterBackgroundLabelClicked()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->charactersBackgroundColor = korvana::fromQColor(c);
    if (characterBackgroundSwitch->isChecked())
        characterFontComboChanged();
    else
        characterBackgroundSwitch->setChecked(true);
}

void OptionsDialog::flashBackgroundColorLabelClicked()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = value;
    flashBackgroundSwatch->setBrushColor(value);
}

void OptionsDialog::flashColorLabelClicked()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashColor)
        *host.flashColor = value;
    flashColorSwatch->setBrushColor(value);
}

void OptionsDialog::screenBackgroundSwatchMousePressed()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    screenBackgroundSwatch->setBrushColor(value);
    if (host.screenBackgroundChanged)
        host.screenBackgroundChanged(value);
}

// --- flash and automatic mode ----------------------------------------------------------------

void OptionsDialog::flashDefaultsButtonClicked()
{
    flashDelayEdit->setText(QStringLiteral("1000"));
    flashRepeatEdit->setText(QStringLiteral("20"));
    flashIntervalEdit->setText(QStringLiteral("40"));
    flashFullScreenSwitch->setChecked(true);
    flashBackgroundSwatch->setBrushColor(korvana::colors::clBlack);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = korvana::colors::clBlack;
    flashColorSwatch->setBrushColor(korvana::colors::clRed);
    if (host.flashColor)
        *host.flashColor = korvana::colors::clRed;
    flashWordsSwitch->setChecked(true);
    flashPhrasesSwitch->setChecked(false);
}

void OptionsDialog::stepInterval(QLabel *caption, int lowerBound, int delta)
{
    const int n = korvana::parseInteger(caption->text()).value_or(lowerBound);
    if (delta < 0 && n > lowerBound)
        caption->setText(QString::number(n - 1));
    else if (delta > 0 && n < 20)
        caption->setText(QString::number(n + 1));
}

void OptionsDialog::perCharacterIntervalMinusButtonClicked()
{
    stepInterval(perCharacterIntervalLabel, 2, -1);
}
void OptionsDialog::perCharacterIntervalPlusButtonClicked()
{
    stepInterval(perCharacterIntervalLabel, 2, +1);
}
void OptionsDialog::fixedIntervalMinusButtonClicked()
{
    stepInterval(fixedIntervalLabel, 3, -1);
}
void OptionsDialog::fixedIntervalPlusButtonClicked()
{
    stepInterval(fixedIntervalLabel, 3, +1);
}

// --- folders and files ------------------------------------------------------------------------

bool OptionsDialog::browseForFolder(const QString &title, QString &path)
{
    const QString chosen = korvana::Dialogs::instance().chooseFolder(this, title, QString());
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

void OptionsDialog::workingDirectoryOpenButtonClicked()
{
    // The whole path is taken: cutting a long one short would name another
    // folder.
    QString path;
    if (browseForFolder(QStringLiteral("Select directory"), path))
        workingDirectoryEdit->setText(path);
}

void OptionsDialog::dictionaryOpenButtonClicked()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*");
    request.fileName.clear();
    request.initialDir = korvana::ProgramPaths::dataFile(QStringLiteral("dict"));
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        dictionaryEdit->setText(QFileInfo(chosen.first()).absoluteFilePath());
}

void OptionsDialog::externalEditorOpenButtonClicked()
{
    korvana::FileDialogRequest request;
    // Programs here have no extension of their own: every file is offered
    // first (the file's name decides nothing).
    request.filter = QStringLiteral("All Files|*|Windows programs|*.exe;*.com;*.bat;*.pif");
    request.fileName.clear();
    request.initialDir = externalEditorEdit->text();
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        externalEditorEdit->setText(QFileInfo(chosen.first()).absoluteFilePath());
}
