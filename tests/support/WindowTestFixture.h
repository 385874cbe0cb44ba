#pragma once
// Set-up shared by the tests that build one window alone: what the program
// hands its windows (the preferences, the lesson store with the lessons
// opened and saved as the program does it, the character database, a fake
// voice), a plain widget standing for the main window, the scripted dialogs,
// and host doubles that answer from that state.
//
// It installs the scripted dialogs for its lifetime; a test that keeps one
// over several cases makes them afresh for each.
#include "editing/LessonEditorWindow.h"
#include "editing/LinkedFileDialog.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"
#include "reference/ReaderWindow.h"
#include "reference/ReferenceData.h"
#include "settings/AboutDialog.h"
#include "settings/MainSettings.h"
#include "settings/OptionsDialog.h"
#include "support/FakeSpeechVoice.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <initializer_list>
#include <memory>

namespace windowtest {

struct Fixture;

// The about window's skin.
struct AboutHost : korvana::AboutHost {
    QString name, author;
    QString skinName() const override { return name; }
    QString skinAuthor() const override { return author; }
};

// The reader's voice is the fixture's; there is no character look-up.
struct ReaderHost : korvana::ReaderHost {
    explicit ReaderHost(Fixture &f) : fixture(f) {}
    korvana::SpeechVoice *voice() override;
    void charactersViewMouseMoved(QTextEdit *, const QPoint &) override {}
    void forgetLastHoverChar() override {}
    Fixture &fixture;
};

// The editor's load flag, no main-window panes, the fixture's tone vowels
// and link dialog.
struct LessonEditorHost : korvana::LessonEditorHost {
    explicit LessonEditorHost(Fixture &f) : fixture(f) {}
    bool editorLoadPending() const override { return loadPending; }
    void setEditorLoadPending(bool pending) override { loadPending = pending; }
    korvana::RichEdit *paneText(int) const override { return nullptr; }
    QTextEdit *paneView(int) const override { return nullptr; }
    korvana::RichEdit &toneVowelsText() override;
    void enableButton(QAbstractButton *button) override;
    void disableButton(QAbstractButton *button) override;
    LinkedFileDialog *linkedFileDialog() const override;
    Fixture &fixture;
    bool loadPending = false;
};

struct Fixture {
    Fixture();
    ~Fixture();

    korvana::ScriptedDialogs &dialogs() { return scripted->dialogs; }
    // Scripted dialogs afresh, for a fixture that outlives a case.
    void resetDialogs();
    korvana::FakeSpeechVoice *fakeVoice() const { return static_cast<korvana::FakeSpeechVoice *>(voice.get()); }

    // Opens the lessons as the program does, in this order; the ones that
    // did not load.
    QStringList openLessons(const QStringList &files);
    // Saves the open lessons as the program does; the ones not written.
    QStringList saveLessons();

    std::unique_ptr<korvana::ScopedScriptedDialogs> scripted;
    korvana::MainSettings settings;
    korvana::LessonStore store;
    korvana::LoadedLessons loaded;
    korvana::LessonOpener opener{store, loaded};
    korvana::LessonSaver saver{store, loaded};
    korvana::ReferenceData referenceData;
    // A FakeSpeechVoice; a test may take it away.
    std::unique_ptr<korvana::SpeechVoice> voice;
    QWidget mainWidget;

    AboutHost aboutHost;
    ReaderHost readerHost{*this};
    LessonEditorHost editorHost{*this};
    // The flash colours and the characters pane the preferences act on.
    quint32 flashColor = 0, flashBackgroundColor = 0;
    korvana::RichEdit charactersText;
    // Made on first use, as the program makes them.
    OptionsDialog &optionsDialog();
    LinkedFileDialog &linkedFileDialog();

private:
    std::unique_ptr<OptionsDialog> m_optionsDialog;
    std::unique_ptr<LinkedFileDialog> m_linkedFileDialog;
};

// A reader over the fixture whose ends of speech come back from the voice,
// as the main window connects them.
std::unique_ptr<ReaderWindow> makeReader(Fixture &f);

// A lesson editor over the fixture.
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
// own cases and the cases of its interplay with the other windows, which
// build the whole program. Test functions named on the command line run in
// the classes that have them.
inline int runTestClasses(std::initializer_list<QObject *> tests)
{
    const QStringList args = QApplication::arguments();
    int failed = 0;
    for (QObject *test : tests) {
        QStringList own{args.value(0)};
        bool named = false, has = false;
        for (const QString &a : args.mid(1)) {
            if (a.startsWith(QLatin1Char('-'))) {
                own << a;
                continue;
            }
            named = true;
            const QByteArray slot = a.section(QLatin1Char(':'), 0, 0).toLatin1() + "()";
            if (test->metaObject()->indexOfMethod(slot.constData()) >= 0) {
                own << a;
                has = true;
            }
        }
        if (!named || has)
            failed += QTest::qExec(test, own);
    }
    return failed;
}

} // namespace windowtest

// main() running a window's own test class and its program test class.
#define KORVANA_WINDOW_TEST_MAIN(Own, Program)                                                                         \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        Own own;                                                                                                       \
        Program program;                                                                                               \
        return windowtest::runTestClasses({&own, &program});                                                           \
    }
