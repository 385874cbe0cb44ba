#pragma once
// Where the program finds its files. Paths are built with "/" and folders are
// returned with a trailing "/".
#include <QString>

namespace korvana {

class ProgramPaths {
public:
    // The folder of the running program file, with its trailing separator.
    static QString programFolder();
    // Tests and unusual installs point the program folder elsewhere; an empty
    // text restores the real one.
    static void setProgramFolder(const QString &folder);

    // Where the file dialogs start on a first run: the program folder while
    // the user may write there (a program unpacked in their own folder) and
    // it is not an installed program, else their home folder.
    static QString defaultWorkingFolder();

    // The installed read-only data beside the program: <prefix>/share/korvana/
    // for a program in <prefix>/bin/.
    static QString installedDataFolder();

    // A read-only data file or folder (the default dictionary, skins, help),
    // given relative to the program folder with "/": the program folder's copy
    // when there is one, else the installed data folder's, else the path in
    // the program folder (so that a message names where it was expected).
    static QString dataFile(const QString &relative);

    // "dict/cedict_gb.uni" found as dataFile does.
    static QString defaultDictionary();

    // The user's writable folders, $XDG_CONFIG_HOME/korvana/ and
    // $XDG_DATA_HOME/korvana/ (by default ~/.config and ~/.local/share).
    static QString configFolder();
    static QString userDataFolder();

    // A path as the settings or a session file stored it, possibly written on
    // Windows: every "\" becomes "/".
    static QString normalizeStoredPath(const QString &path);

    // True for a name that stands for one folder inside another: not empty,
    // not "." or "..", no "/" or "\" and no control characters.
    static bool isSafeFolderName(const QString &name);

    // The folder that holds the skin folders, as dataFile finds "skins".
    static QString skinsFolder();
    // The folder of the named skin, with its trailing separator; empty when
    // the name is not a safe folder name.
    static QString skinFolder(const QString &skinName);
};

} // namespace korvana
