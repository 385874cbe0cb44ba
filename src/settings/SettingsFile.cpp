#include "settings/SettingsFile.h"

#include "platform/ini/IniFile.h"
#include "platform/ui/Dialogs.h"
#include "settings/Colors.h"
#include "settings/ProgramPaths.h"

#include <QFileInfo>

#include <exception>

namespace korvana {

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kTextDirection = QStringLiteral("Text Direction");

const QString kAutoSave = QStringLiteral("Auto save lessons on exit");
const QString kWorkingDirectory = QStringLiteral("Working Directory");
const QString kDictionary = QStringLiteral("Dictionary");
const QString kSkin = QStringLiteral("Skin");
const QString kShowReadingProgress = QStringLiteral("Show reading progress");
const QString kSoundExcludes = QStringLiteral("Sound file excludes synthesis");
const QString kSetKanjiFont = QStringLiteral("Set Kanji Font");
const QString kKanjiFont = QStringLiteral("Kanji Font");
const QString kToneColours = QStringLiteral("Show Pinyin tones in color");
const QString kSetKanjiColor = QStringLiteral("Set Kanji Color");
const QString kKanjiColor = QStringLiteral("Kanji Color");
const QString kSetKanjiBackground = QStringLiteral("Set Kanji Background Color");
const QString kKanjiBackground = QStringLiteral("Kanji Background Color");
const QString kBoldKanji = QStringLiteral("Bold Kanji");
const QString kRotateKanji = QStringLiteral("Rotate Kanji");
const QString kExternalEditor = QStringLiteral("External Editor");
const QString kEditInWord = QStringLiteral("Edit in Word");
const QString kShowHanziInfo = QStringLiteral("Show Hanzi Info");
const QString kShowHiddenOnHover = QStringLiteral("Show Hidden Content On Mouse Hover");
const QString kScreenBackground = QStringLiteral("Screen Background Color");
const QString kDisplayBackground = QStringLiteral("Display Screen Background");
const QString kDisplayToolBar = QStringLiteral("Display ToolBar");
const QString kShowReminder = QStringLiteral("Show Reminder");

// The stored keys of what each pane has of its own, in the panes' order.
struct PaneKeys {
    QString fontSize;
    int defaultFontSize;
    QString leftToRight;
};
const PaneArray<PaneKeys> kPaneKeys{{{
    {QStringLiteral("Fontsize-Translation"), 11, QStringLiteral("Translation Left to Right")},
    {QStringLiteral("Fontsize-Pinyin"), 11, QStringLiteral("Pronounciation Left to Right")},
    {QStringLiteral("Fontsize-Kanji"), 24, QStringLiteral("Hanzi Left to Right")},
    {QStringLiteral("Fontsize-Notes"), 11, QStringLiteral("Notes Left to Right")},
}}};
// The file has always listed the directions with the characters' first.
constexpr Pane kDirectionOrder[] = {Pane::Characters, Pane::Translation, Pane::Pinyin, Pane::Notes};

const QString kStandardSkin = QStringLiteral("*standard*");
constexpr quint32 kDefaultScreenBackground = 0x00404000;

// A value that names a colour: a plain colour, one of the 31 system colours,
// clNone or clDefault.
bool isColorValue(quint32 color)
{
    return color <= 0x00FFFFFF || color == colors::clNone || color == colors::clDefault
           || (color >= colors::SystemColorFlag && color <= (colors::SystemColorFlag | 30));
}

// A colour that does not convert, or a number that is no colour (-1 would
// come back as $FFFFFFFF), takes the key's default: one bad value in a
// hand-edited file must not stop the main window from coming up.
quint32 readColor(const IniFile &ini, const QString &key, quint32 def)
{
    const std::optional<quint32> color = parseColor(ini.readString(kOptions, key, colorToString(def)));
    return color && isColorValue(*color) ? *color : def;
}

void writeColor(IniFile &ini, const QString &key, quint32 color)
{
    ini.writeString(kOptions, key, colorToString(color));
}

} // namespace

void readSettings(const IniFile &ini, MainSettings &s, TextDirections &directions)
{
    const QString defaultDictionary = ProgramPaths::defaultDictionary();

    s.autoSaveLessons = ini.readBool(kOptions, kAutoSave, false);
    s.workingDirectory = ProgramPaths::normalizeStoredPath(
        ini.readString(kOptions, kWorkingDirectory, ProgramPaths::defaultWorkingFolder()));
    s.dictionaryFile = ProgramPaths::normalizeStoredPath(ini.readString(kOptions, kDictionary, defaultDictionary));
    if (!QFileInfo(s.dictionaryFile).isFile())
        s.dictionaryFile = defaultDictionary;
    // The skin name becomes a folder under the skins folder; anything that
    // could lead out of it ("..", separators) is not a skin name.
    s.selectedSkin = ini.readString(kOptions, kSkin, kStandardSkin);
    if (s.selectedSkin != kStandardSkin && !ProgramPaths::isSafeFolderName(s.selectedSkin))
        s.selectedSkin = kStandardSkin;
    for (Pane pane : allPanes)
        s.fontSizes[pane] =
            clampFontSize(ini.readInteger(kOptions, kPaneKeys[pane].fontSize, kPaneKeys[pane].defaultFontSize));
    s.showReadingProgress = ini.readBool(kOptions, kShowReadingProgress, true);
    s.soundExcludesSynthesis = ini.readBool(kOptions, kSoundExcludes, true);
    s.useCharactersFont = ini.readBool(kOptions, kSetKanjiFont, false);
    s.charactersFont = ini.readString(kOptions, kKanjiFont, QStringLiteral("SimSun"));
    s.showToneColours = ini.readBool(kOptions, kToneColours, false);
    s.useCharactersColor = ini.readBool(kOptions, kSetKanjiColor, false);
    s.charactersColor = readColor(ini, kKanjiColor, colors::clBlack);
    s.useCharactersBackgroundColor = ini.readBool(kOptions, kSetKanjiBackground, false);
    s.charactersBackgroundColor = readColor(ini, kKanjiBackground, colors::clCream);
    s.boldCharacters = ini.readBool(kOptions, kBoldKanji, false);
    s.rotateCharacters = ini.readBool(kOptions, kRotateKanji, false);
    s.externalEditor = ProgramPaths::normalizeStoredPath(ini.readString(kOptions, kExternalEditor, QString()));
    s.editInWordProcessor = ini.readBool(kOptions, kEditInWord, true);
    s.characterInfoOnHover = ini.readBool(kOptions, kShowHanziInfo, true);
    s.showHiddenOnHover = ini.readBool(kOptions, kShowHiddenOnHover, true);
    s.screenBackgroundColor = readColor(ini, kScreenBackground, kDefaultScreenBackground);
    s.displayScreenBackground = ini.readBool(kOptions, kDisplayBackground, false);
    s.displayToolBar = ini.readBool(kOptions, kDisplayToolBar, false);

    // 0 is right-to-left; any other value, and a missing or bad one, left-to-right.
    for (Pane pane : allPanes)
        directions.leftToRight[pane] = ini.readInteger(kTextDirection, kPaneKeys[pane].leftToRight, 1) != 0;
}

void writeSettings(IniFile &ini, const MainSettings &s, const TextDirections &directions)
{
    ini.writeBool(kOptions, kAutoSave, s.autoSaveLessons);
    ini.writeString(kOptions, kWorkingDirectory, s.workingDirectory);
    ini.writeString(kOptions, kDictionary, s.dictionaryFile);
    ini.writeString(kOptions, kSkin, s.selectedSkin);
    for (Pane pane : allPanes) {
        ini.writeInteger(kOptions, kPaneKeys[pane].fontSize, s.fontSizes[pane]);
        // The pinyin's colours follow its size, where the file has always had them.
        if (pane == Pane::Pinyin)
            ini.writeBool(kOptions, kToneColours, s.showToneColours);
    }
    ini.writeBool(kOptions, kShowReadingProgress, s.showReadingProgress);
    ini.writeBool(kOptions, kSoundExcludes, s.soundExcludesSynthesis);
    ini.writeBool(kOptions, kSetKanjiFont, s.useCharactersFont);
    ini.writeString(kOptions, kKanjiFont, s.charactersFont);
    ini.writeBool(kOptions, kBoldKanji, s.boldCharacters);
    ini.writeBool(kOptions, kRotateKanji, s.rotateCharacters);
    ini.writeBool(kOptions, kSetKanjiColor, s.useCharactersColor);
    writeColor(ini, kKanjiColor, s.charactersColor);
    ini.writeBool(kOptions, kSetKanjiBackground, s.useCharactersBackgroundColor);
    writeColor(ini, kKanjiBackground, s.charactersBackgroundColor);
    ini.writeBool(kOptions, kDisplayBackground, s.displayScreenBackground);
    ini.writeBool(kOptions, kDisplayToolBar, s.displayToolBar);
    ini.writeString(kOptions, kExternalEditor, s.externalEditor);
    ini.writeBool(kOptions, kEditInWord, s.editInWordProcessor);
    ini.writeBool(kOptions, kShowHanziInfo, s.characterInfoOnHover);
    ini.writeBool(kOptions, kShowHiddenOnHover, s.showHiddenOnHover);
    writeColor(ini, kScreenBackground, s.screenBackgroundColor);

    for (Pane pane : kDirectionOrder)
        ini.writeInteger(kTextDirection, kPaneKeys[pane].leftToRight, directions.leftToRight[pane] ? 1 : 0);
}

QString SettingsFile::fileName()
{
    return QStringLiteral("korvana.ini");
}

QString SettingsFile::path()
{
    return ProgramPaths::configFolder() + fileName();
}

void SettingsFile::load(MainSettings &settings, TextDirections &directions, QWidget *parent)
{
    const IniFile ini(path());
    readSettings(ini, settings, directions);
    // A file that is there but cannot be taken (far too large, no regular
    // file, not readable) gives the defaults, as a missing one does, and is
    // not written over at closing; the user hears why once, at start.
    const QString problem = ini.readProblem();
    if (!problem.isEmpty())
        Dialogs::instance().message(
            parent, QStringLiteral("%1 was not read (%2); the default settings are used").arg(fileName(), problem),
            MsgButtons::Ok);
}

bool SettingsFile::save(const MainSettings &settings, const TextDirections &directions, QWidget *parent)
{
    try {
        // Every key in one replace of the file: a full disk or a kill never
        // leaves a mix of old and new values.
        IniFile ini(path());
        ini.beginBatch();
        writeSettings(ini, settings, directions);
        ini.commitBatch();
        return true;
    } catch (const std::exception &e) {
        QString text = QStringLiteral("Unable to open file korvana.ini, current settings were not saved");
        const auto *failure = dynamic_cast<const IniWriteError *>(&e);
        if (failure && !failure->reason().isEmpty())
            text += QStringLiteral(" (%1)").arg(failure->reason());
        Dialogs::instance().message(parent, text, MsgButtons::Ok);
        return false;
    }
}

bool SettingsFile::showReminder()
{
    return IniFile(path()).readBool(kOptions, kShowReminder, true);
}

void SettingsFile::setShowReminder(bool show)
{
    IniFile ini(path());
    ini.writeBool(kOptions, kShowReminder, show);
}

} // namespace korvana
