#include "support/WindowTestFixture.h"
#include "practice/ToneMarkConverter.h"

#include <QAbstractButton>

#include <algorithm>

namespace windowtest {

korvana::SpeechVoice *ReaderHost::voice()
{
    return fixture.voice.get();
}

korvana::RichEdit &LessonEditorHost::toneVowelsText()
{
    fixture.referenceData.loadPending();
    return fixture.referenceData.toneVowelsText;
}
void LessonEditorHost::enableButton(QAbstractButton *button)
{
    button->setEnabled(true);
}
void LessonEditorHost::disableButton(QAbstractButton *button)
{
    button->setEnabled(false);
}
LinkedFileDialog &LessonEditorHost::linkedFileDialog() const
{
    return fixture.linkedFileDialog();
}

const QString &DictionaryHost::dictionaryText()
{
    return fixture.dictionary.text();
}
bool DictionaryHost::loadDictionary(const QString &fileName)
{
    return fixture.dictionary.load(fileName).loaded;
}
korvana::DictionaryMatches DictionaryHost::dictionaryExactFind(const QString &term, bool caseSensitive)
{
    return fixture.dictionary.exactMatches(term, caseSensitive);
}
QStringList DictionaryHost::dictionaryFindAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                                              bool *pageFull)
{
    return fixture.dictionary.findAll(term, caseSensitive, firstResult, lastResult, pageFull);
}
QString DictionaryHost::pinyinNumbersIntoToneMarks(const QString &pinyin)
{
    return korvana::pinyinNumbersIntoToneMarks(pinyin);
}
korvana::SpeechVoice *DictionaryHost::voice()
{
    return fixture.voice.get();
}

Fixture::Fixture() : scripted(std::make_unique<korvana::ScopedScriptedDialogs>()), voice(new korvana::FakeSpeechVoice)
{
}

// The dialogs go before the state they were handed.
Fixture::~Fixture()
{
    m_linkedFileDialog.reset();
    m_optionsDialog.reset();
}

void Fixture::resetDialogs()
{
    scripted.reset();
    scripted = std::make_unique<korvana::ScopedScriptedDialogs>();
}

QStringList Fixture::openLessons(const QStringList &files)
{
    store.openLessons = files;
    const QStringList failed = opener.openAll();
    store.startIndex = 1;
    // The states each file holds: a lesson not marked since is not written again.
    saver.fileStates.clear();
    for (int r = 0; r < store.termTable.rowCount(); ++r)
        saver.fileStates[store.termTable.lesson(r)].append(store.termTable.state(r));
    return failed;
}

OptionsDialog &Fixture::optionsDialog()
{
    if (!m_optionsDialog)
        m_optionsDialog = std::make_unique<OptionsDialog>(
            korvana::OptionsHost{&settings, &flashColor, &flashBackgroundColor, &charactersText, [](quint32) {}},
            &mainWidget);
    return *m_optionsDialog;
}

LinkedFileDialog &Fixture::linkedFileDialog()
{
    if (!m_linkedFileDialog)
        m_linkedFileDialog = std::make_unique<LinkedFileDialog>();
    return *m_linkedFileDialog;
}

std::unique_ptr<ReaderWindow> makeReader(Fixture &f)
{
    auto reader = std::make_unique<ReaderWindow>(f.readerHost, f.settings, &f.mainWidget);
    ReaderWindow *r = reader.get();
    QObject::connect(r, &ReaderWindow::speechStarting, r, [&f, r] {
        if (f.voice)
            QObject::connect(f.voice.get(), &korvana::SpeechVoice::endStream, r, &ReaderWindow::speechEnded,
                             Qt::UniqueConnection);
    });
    return reader;
}

std::unique_ptr<LessonEditorWindow> makeEditor(Fixture &f)
{
    return std::make_unique<LessonEditorWindow>(f.settings, f.editorHost, f.optionsDialog(), &f.mainWidget);
}

int runTestClasses(std::initializer_list<QObject *> tests)
{
    const QStringList args = QCoreApplication::arguments();
    const auto isOption = [](const QString &a) { return a.startsWith(QLatin1Char('-')); };
    const bool named = !std::all_of(args.begin() + 1, args.end(), isOption);
    int failed = 0;
    for (QObject *test : tests) {
        QStringList own = args.first(1);
        for (const QString &a : args.mid(1))
            if (isOption(a)
                || test->metaObject()->indexOfMethod(a.section(QLatin1Char(':'), 0, 0).toLatin1() + "()") >= 0)
                own << a;
        if (!named || !std::all_of(own.begin() + 1, own.end(), isOption))
            failed += QTest::qExec(test, own);
    }
    return failed;
}

} // namespace windowtest
