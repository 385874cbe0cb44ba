#include "app/ReferenceWindowHosts.h"

#include "app/MainWindow.h"
#include "platform/speech/SpeechVoice.h"

korvana::SpeechVoice *ReaderWindowHost::voice()
{
    return m_main.voice.get();
}

void ReaderWindowHost::charactersViewMouseMoved(QTextEdit *view, const QPoint &pos)
{
    m_main.charactersViewMouseMoved(view, pos);
}

void ReaderWindowHost::forgetLastHoverChar()
{
    m_main.lastHoverChar = 0;
}
