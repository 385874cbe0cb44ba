#include "app/ReferenceWindowHosts.h"

#include "app/CharacterHover.h"
#include "app/DictionaryLoader.h"
#include "app/MainWindow.h"
#include "app/WindowChrome.h"
#include "platform/speech/SpeechVoice.h"
#include "reference/DictionaryData.h"

korvana::SpeechVoice *ReaderWindowHost::voice()
{
    return m_main.m_voice.get();
}

void ReaderWindowHost::charactersViewMouseMoved(QTextEdit *view, const QPoint &pos)
{
    m_main.hover().charactersViewMouseMoved(view, pos);
}

void ReaderWindowHost::forgetLastHoverChar()
{
    m_main.hover().forgetLastHoverChar();
}

void DictionaryWindowHost::loadPendingData()
{
    m_main.loadPendingData();
}

const QString &DictionaryWindowHost::dictionaryText()
{
    return m_main.m_dictionary.text();
}

bool DictionaryWindowHost::loadDictionary(const QString &fileName)
{
    return m_main.dictionaryLoader().loadDictionary(fileName);
}

korvana::DictionaryMatches DictionaryWindowHost::dictionaryExactFind(const QString &term, bool caseSensitive)
{
    return m_main.m_dictionary.exactMatches(term, caseSensitive);
}

QStringList DictionaryWindowHost::dictionaryFindAll(const QString &term, bool caseSensitive, int firstResult,
                                                    int lastResult, bool *pageFull)
{
    return m_main.m_dictionary.findAll(term, caseSensitive, firstResult, lastResult, pageFull);
}

QString DictionaryWindowHost::pinyinNumbersIntoToneMarks(const QString &pinyin)
{
    return m_main.pinyinNumbersIntoToneMarks(pinyin);
}

void DictionaryWindowHost::enableButton(QAbstractButton *button)
{
    WindowChrome::enableButton(button);
}

void DictionaryWindowHost::disableButton(QAbstractButton *button)
{
    WindowChrome::disableButton(button);
}

korvana::SpeechVoice *DictionaryWindowHost::voice()
{
    return m_main.m_voice.get();
}
