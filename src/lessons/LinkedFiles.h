#pragma once
// Linked reading files: the lines
//   <PAR FILE="name" DESCRIPTION="text">
// that a lesson keeps after its terms. They are never terms: opening a lesson
// takes them out into the list of linked files, saving writes them back.
#include <QList>
#include <QString>

namespace korvana {

class RichEdit;

struct LinkedFile {
    QString file;
    QString description;
    friend bool operator==(const LinkedFile &, const LinkedFile &) = default;
};

// A line whose first four characters, once trimmed, are "<par" in any case.
bool isParLine(const QString &line);

// The value of attribute name ("file" or "description") in a linked-file line.
// The name matches in any case and its first occurrence outside the quoted
// value of another attribute counts. The raw value
// runs from after the "=" up to and including the first double quote followed
// by a blank, or when there is none, the first double quote followed by ">".
// Trimmed, a quoted value loses its outer quotes and each doubled quote
// becomes one. Empty when the attribute is missing or nothing closes it.
// (A description holding a quote followed by a blank is thus cut there;
// stored lessons rely on this reading.)
QString linkedFileAttribute(const QString &line, const QString &name);

// The line as the program writes it, each double quote inside a value
// doubled (which the reading rule undoes).
QString parLine(const QString &file, const QString &description);

// Whether parLine(file, description) reads back as the same two values. The
// reading rule cannot carry a double quote followed by a blank (nor, in the
// description, by ">"), a value that begins with a blank, or a line end.
bool parLineKeeps(const QString &file, const QString &description);

// Takes every linked-file line out of doc (rich formatting of the other lines
// is kept) and returns the entries with a file name, in the order of their
// lines. Lines with an empty file name are removed and not returned.
QList<LinkedFile> parseLinkedFiles(RichEdit &doc);

// The full name of a linked file: an absolute name as it stands; a relative
// one against its lesson's folder when the file is there, else against
// currentDir. Names written on Windows with backslashes are tried with
// slashes as well.
QString resolveLinkedFile(const QString &file, const QString &lesson, const QString &currentDir);

} // namespace korvana
