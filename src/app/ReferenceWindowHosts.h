#pragma once
// The main window's side of the reference windows: what the reader asks of
// it, forwarded to the main window.
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
