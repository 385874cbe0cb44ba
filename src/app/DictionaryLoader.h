#pragma once
// Loads dictionary files into the program's dictionary, with the progress and
// the failures in the main window's status line. At start-up the settings'
// dictionary may wait for the window's first paint.
#include <QString>
#include <functional>

namespace korvana {
class DictionaryData;
}

class DictionaryLoader {
public:
    DictionaryLoader(korvana::DictionaryData &dictionary, std::function<void(const QString &)> showStatus);

    // Loads a dictionary file into the program's dictionary, saying so in
    // the status line. Returns whether the file loaded; on failure the text
    // in use stays and the status line says why.
    bool loadDictionary(const QString &fileName);
    // The settings' dictionary is left for later; a load asked for before
    // that replaces it.
    void leaveForLater() { m_pending = true; }
    bool pending() const { return m_pending; }

private:
    korvana::DictionaryData &m_dictionary;
    std::function<void(const QString &)> m_showStatus;
    bool m_pending = false;
};
