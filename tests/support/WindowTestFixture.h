#pragma once
// Set-up shared by the tests that build one window alone: what the program
// hands its windows (the preferences, the lesson store with lessons opened
// and saved as the program does it, the character database, a fake voice,
// the options and link dialogs), a plain widget standing for the main
// window, the scripted dialogs (installed while the fixture lives), and host
// doubles answering from that state.
#include "editing/LessonEditorWindow.h"
#include "editing/LinkedFileDialog.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "reference/DictionaryData.h"
#include "reference/DictionaryWindow.h"
#include "reference/ReaderWindow.h"
#include "reference/ReferenceData.h"
#include "settings/AboutDialog.h"
#include "settings/MainSettings.h"
#include "settings/OptionsDialog.h"
#include "support/FakeSpeechVoice.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <initializer_list>
#include <memory>

namespace windowtest {

struct Fixture;

struct AboutHost : korvana::AboutHost {
    QString skinName() const override { return {}; }
    QString skinAuthor() const override { return {}; }
};

// The fixture's voice; no character look-up under the mouse.
struct ReaderHost : korvana::ReaderHost {
    explicit ReaderHost(Fixture &f) : fixture(f) {}
    korvana::SpeechVoice *voice() override;
    void charactersViewMouseMoved(QTextEdit *, const QPoint &) override {}
    void forgetLastHoverChar() override {}
    Fixture &fixture;
};

// The load flag, no main-window panes, the fixture's tone vowels and link
// dialog.
struct LessonEditorHost : korvana::LessonEditorHost {
    explicit LessonEditorHost(Fixture &f) : fixture(f) {}
    bool editorLoadPending() const override { return loadPending; }
    void setEditorLoadPending(bool pending) override { loadPending = pending; }
    korvana::RichEdit *paneText(korvana::Pane) const override { return nullptr; }
    QTextEdit *paneView(korvana::Pane) const override { return nullptr; }
    korvana::RichEdit &toneVowelsText() override;
    void enableButton(QAbstractButton *button) override;
    void disableButton(QAbstractButton *button) override;
    LinkedFileDialog &linkedFileDialog() const override;
    Fixture &fixture;
    bool loadPending = false;
};

// The fixture's dictionary, pinyin converter, voice and button looks;
// another dictionary file loads in place of the fixture's.
struct DictionaryHost : korvana::DictionaryHost {
    explicit DictionaryHost(Fixture &f) : fixture(f) {}
    void loadPendingData() override {}
    const QString &dictionaryText() override;
    bool loadDictionary(const QString &fileName) override;
    korvana::DictionaryMatches dictionaryExactFind(const QString &term, bool caseSensitive) override;
    QStringList dictionaryFindAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                                  bool *pageFull) override;
    QString pinyinNumbersIntoToneMarks(const QString &pinyin) override;
    void enableButton(QAbstractButton *button) override { button->setEnabled(true); }
    void disableButton(QAbstractButton *button) override { button->setEnabled(false); }
    korvana::SpeechVoice *voice() override;
    Fixture &fixture;
};

struct Fixture {
    Fixture();
    ~Fixture();
    korvana::ScriptedDialogs &dialogs() { return scripted->dialogs; }
    // Scripted dialogs afresh, for a fixture kept over several cases.
    void resetDialogs();
    korvana::FakeSpeechVoice *fakeVoice() const { return static_cast<korvana::FakeSpeechVoice *>(voice.get()); }
    // The lessons opened in this order; the ones that did not load.
    QStringList openLessons(const QStringList &files);
    // The open lessons saved; the ones not written.
    QStringList saveLessons() { return saver.saveAll(); }
    // Made on first use.
    OptionsDialog &optionsDialog();
    LinkedFileDialog &linkedFileDialog();

    std::unique_ptr<korvana::ScopedScriptedDialogs> scripted;
    korvana::MainSettings settings;
    korvana::LessonStore store;
    korvana::LoadedLessons loaded;
    korvana::LessonOpener opener{store, loaded};
    korvana::LessonSaver saver{store, loaded};
    korvana::ReferenceData referenceData;
    korvana::DictionaryData dictionary;
    std::unique_ptr<korvana::SpeechVoice> voice; // a FakeSpeechVoice, until a test takes it away
    QWidget mainWidget;
    // What the options dialog acts on besides the settings.
    quint32 flashColor = 0, flashBackgroundColor = 0;
    korvana::RichEdit charactersText;
    AboutHost aboutHost;
    ReaderHost readerHost{*this};
    LessonEditorHost editorHost{*this};
    DictionaryHost dictionaryHost{*this};

private:
    std::unique_ptr<OptionsDialog> m_optionsDialog;
    std::unique_ptr<LinkedFileDialog> m_linkedFileDialog;
};

// A reader whose ends of speech come back from the fixture's voice, as the
// main window connects them.
std::unique_ptr<ReaderWindow> makeReader(Fixture &f);
std::unique_ptr<LessonEditorWindow> makeEditor(Fixture &f);

// The global data rows of a window test whose cases run on a window built at
// once and on one built when it is first shown (column "builtWhenShown").
inline void addBuiltWhenShownRows()
{
    QTest::addColumn<bool>("builtWhenShown");
    QTest::newRow("built at once") << false;
    QTest::newRow("built when shown") << true;
}

// Runs the test classes one after another, as QTEST_MAIN runs one: a window's
// own cases, then those of its interplay with the whole program. Test
// functions named on the command line run in the classes that have them.
int runTestClasses(std::initializer_list<QObject *> tests);

} // namespace windowtest

#define KORVANA_WINDOW_TEST_MAIN(Own, Program)                                                                         \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        Own own;                                                                                                       \
        Program program;                                                                                               \
        return windowtest::runTestClasses({&own, &program});                                                           \
    }
