#include "support/WindowTestFixture.h"

#include <QAbstractButton>

namespace windowtest {

korvana::SpeechVoice *ReaderHost::voice() { return fixture.voice.get(); }

korvana::RichEdit &LessonEditorHost::toneVowelsText()
{
    fixture.referenceData.loadPending();
    return fixture.referenceData.toneVowelsText;
}

void LessonEditorHost::enableButton(QAbstractButton *button) { button->setEnabled(true); }

void LessonEditorHost::disableButton(QAbstractButton *button) { button->setEnabled(false); }

LinkedFileDialog *LessonEditorHost::linkedFileDialog() const { return &fixture.linkedFileDialog(); }

Fixture::Fixture()
    : scripted(std::make_unique<korvana::ScopedScriptedDialogs>()), voice(new korvana::FakeSpeechVoice)
{
}

// The windows go before the state they were handed.
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

OptionsDialog &Fixture::optionsDialog()
{
    if (!m_optionsDialog) {
        korvana::OptionsHost host;
        host.settings = &settings;
        host.flashColor = &flashColor;
        host.flashBackgroundColor = &flashBackgroundColor;
        host.charactersText = &charactersText;
        host.screenBackgroundChanged = [](quint32) {};
        m_optionsDialog = std::make_unique<OptionsDialog>(host, &mainWidget);
    }
    return *m_optionsDialog;
}

LinkedFileDialog &Fixture::linkedFileDialog()
{
    if (!m_linkedFileDialog)
        m_linkedFileDialog = std::make_unique<LinkedFileDialog>();
    return *m_linkedFileDialog;
}

QStringList Fixture::openLessons(const QStringList &files)
{
    store.openLessons = files;
    const QStringList failed = opener.openAll();
    store.startIndex = 1;
    // What each file says of its terms' states, so that only lessons
    // marked since are written again.
    saver.fileStates.clear();
    for (int r = 0; r < store.termTable.rowCount(); ++r)
        saver.fileStates[store.termTable.lesson(r)].append(store.termTable.state(r));
    return failed;
}

QStringList Fixture::saveLessons() { return saver.saveAll(); }

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

} // namespace windowtest
