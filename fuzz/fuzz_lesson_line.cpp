// Feeds arbitrary text to the lesson-line tag reader and the linked-file line
// reader: every tag of a term line, the state and type, and the linked-file
// lines taken out of a document. A linked-file line the program writes must
// read back as the file and description it was written from.
#include "FuzzSupport.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonOpener.h"
#include "lessons/LinkedFiles.h"
#include "platform/richtext/RichEdit.h"

#include <cstdint>

using namespace korvana;

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    for (const char *tag : {"OR", "PI", "CH", "NO", "TY", "ST", "SN", "GR"}) {
        const QString value = tagContent(text, QLatin1String(tag));
        fuzz::check(!value.contains(u'>'), "a tag's value ends at the first '>'");
    }
    fuzz::check(termTypeOf(text).size() <= 1 && termStateOf(text).size() <= 1, "type and state are one character");
    const QString state = lineState(text);
    fuzz::check(state == u"u" || state == u"l" || state == u"d", "a line's state is u, l or d");
    (void)isParLine(text);
    (void)linkedFileAttribute(text, QStringLiteral("file"));
    (void)linkedFileAttribute(text, QStringLiteral("description"));

    // The input split at its first tab: a file name and a description as the
    // editor's link dialog would take them. The written line must read back,
    // except where the reading rule of stored lessons cuts it: at a quote, at
    // an opening quote followed by a blank or ">", at an attribute name
    // inside the file name.
    const qsizetype tab = text.indexOf(u'\t');
    const QString file = tab < 0 ? text : text.left(tab);
    const QString description = tab < 0 ? QString() : text.mid(tab + 1);
    const QString written = parLine(file, description);
    fuzz::check(isParLine(written), "a written linked-file line is one");
    if (!file.isEmpty() && !file.contains(u'"') && !description.contains(u'"') && !file.startsWith(u' ')
        && !description.startsWith(u' ')
        && !description.startsWith(u'>') && !file.contains(QLatin1String("description="), Qt::CaseInsensitive)) {
        fuzz::checkEqual(linkedFileAttribute(written, QStringLiteral("file")), file, "a written file name reads back");
        fuzz::checkEqual(linkedFileAttribute(written, QStringLiteral("description")), description,
                    "a written description reads back");
    }

    // The whole input as a document: its linked-file lines come out, the
    // other lines stay.
    RichEdit doc;
    doc.setText(text);
    const int lines = doc.lineCount();
    int parLines = 0;
    for (int i = 0; i < lines; ++i)
        parLines += isParLine(doc.line(i)) ? 1 : 0;
    const QList<LinkedFile> links = parseLinkedFiles(doc);
    for (const LinkedFile &l : links)
        fuzz::check(!l.file.isEmpty(), "a linked file has a name");
    fuzz::check(int(links.size()) <= parLines, "linked files come only from linked-file lines");
    for (int i = 0; i < doc.lineCount(); ++i)
        fuzz::check(!isParLine(doc.line(i)), "no linked-file line stays in the document");
    fuzz::check(doc.lineCount() >= lines - parLines, "only linked-file lines are taken out");
    return 0;
}
