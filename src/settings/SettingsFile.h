#pragma once
// The settings file korvana.ini: read into the main window's fields when the
// window is created, written back from them when it closes. The file lives
// in the user's configuration folder ($XDG_CONFIG_HOME/korvana/), one file
// for every copy of the program the user runs.
#include "settings/MainSettings.h"

#include <QString>

class QWidget;

namespace korvana {

class IniFile;

// Reads every key of the main window's settings, in the program's order,
// each with its default when it is missing or unreadable.
// Font sizes are held within MinFontSize..MaxFontSize. A dictionary that
// does not exist is replaced by the default one; a skin
// name that is not a plain folder name reads as "*standard*"; stored paths
// may use "\" as separator.
void readSettings(const IniFile &ini, MainSettings &settings, TextDirections &directions);

// Writes the keys one by one in the program's order. Fails with
// korvana::Error at the first key that cannot be written; the keys written
// before it keep their new values, the others their old ones. "Show Reminder"
// is not written here.
void writeSettings(IniFile &ini, const MainSettings &settings, const TextDirections &directions);

class SettingsFile {
public:
    static QString fileName(); // "korvana.ini"
    static QString path();     // in ProgramPaths::configFolder()

    // readSettings on the settings file. A file that exists but is not read
    // (too large, no regular file, unreadable) gives the defaults and a
    // message box that says why.
    static void load(MainSettings &settings, TextDirections &directions, QWidget *parent = nullptr);

    // writeSettings on the settings file, every key in one replace of the
    // whole file. When the file cannot be written, it is left as it was and
    // this says so in a message box ("Unable to open file korvana.ini, current
    // settings were not saved", with the reason the write gave) and returns
    // false; the caller goes on (saves the lessons) all the same.
    static bool save(const MainSettings &settings, const TextDirections &directions, QWidget *parent = nullptr);

    // The reminder's own switch, read at the main window's first activation
    // and written at once by the reminder. The write fails with
    // korvana::Error ("Unable to write to korvana.ini").
    static bool showReminder();
    static void setShowReminder(bool show);
};

} // namespace korvana
