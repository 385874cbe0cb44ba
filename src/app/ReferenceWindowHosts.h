#pragma once
// The main window's side of the reference windows: what the reader and the
// dictionary window ask of it, forwarded to the main window.
#include "reference/DictionaryWindow.h"
#include "reference/ReaderWindow.h"

class MainWindow;

class ReaderWindowHost : public korvana::ReaderHost {
public:
    explicit ReaderWindowHost(MainWindow &main) : m_main(main) {}
    korvana::SpeechVoice *voice() override;
    void charactersViewMouseMoved(QTextEdit *view, const QPoint &pos) override;
    void forgetLastHoverChar() override;

private:
    MainWindow &m_main;
};

class DictionaryWindowHost : public korvana::DictionaryHost {
public:
    explicit DictionaryWindowHost(MainWindow &main) : m_main(main) {}
    void loadPendingData() override;
    const QString &dictionaryText() override;
    bool loadDictionary(const QString &fileName) override;
    korvana::DictionaryMatches dictionaryExactFind(const QString &term, bool caseSensitive) override;
    QStringList dictionaryFindAll(const QString &term, bool caseSensitive, int firstResult, int lastResult,
                                  bool *pageFull) override;
    QString pinyinNumbersIntoToneMarks(const QString &pinyin) override;
    void enableButton(QAbstractButton *button) override;
    void disableButton(QAbstractButton *button) override;
    korvana::SpeechVoice *voice() override;

private:
    MainWindow &m_main;
};
