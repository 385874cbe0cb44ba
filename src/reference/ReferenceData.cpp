#include "reference/ReferenceData.h"

#include "reference/CharacterInfo.h"

namespace korvana {

void ReferenceData::load()
{
    m_database.readDatabases();
    unihanText = m_database.unihanText();
    radicalsText = m_database.radicalsText();
    // Without both tables the character information has nothing to show; it
    // is switched off for this run only, so a damaged build does not change
    // the user's settings for good.
    characterInfoAvailable = m_database.tablesLoaded();
    try {
        if (m_database.pinyinLoaded())
            toneVowelsText.fromRtf(m_database.pinyinRtf());
    } catch (const std::exception &) {
        // The editor's vowel buttons stay empty; nothing to report.
        toneVowelsText.clear();
    }
}

void ReferenceData::loadPending()
{
    if (!m_pending)
        return;
    m_pending = false;
    load();
}

int ReferenceData::unihanRecordStart(uint code) const
{
    if (code == 0)
        return -1;
    const QString &loaded = m_database.unihanText();
    if (unihanText.size() == loaded.size() && unihanText.constData() == loaded.constData())
        return m_database.unihanRecordStart(code);
    return int(unihanText.indexOf(unihanKey(code)));
}

} // namespace korvana
