// Feeds arbitrary bytes to the RTF reader, then through a control: loading,
// writing, streaming the last line out and copying it. Any crash, leak, hang
// or sanitizer report is a fault of the reader or the control.
#include "platform/richtext/RichEdit.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application lives for the whole run; fonts in formats need it.
    static int appArgc = 1;
    static char *appArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QGuiApplication *app = new QGuiApplication(appArgc, appArgv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    korvana::rtf::Content content;
    QString error;
    if (!korvana::rtf::read(bytes, &content, &error)) {
        if (error.isEmpty())
            abort(); // a refusal must say why
        return 0;
    }
    // What the writer makes of anything the reader accepted must read again.
    const QByteArray written = korvana::rtf::write(content);
    korvana::rtf::Content again;
    if (!korvana::rtf::read(written, &again, &error))
        abort();

    korvana::RichEdit source, target;
    source.fromRtf(bytes);
    const QByteArray whole = source.toRtf();
    target.fromRtf(whole);
    if (target.text() != source.text())
        abort(); // writing and reading the document changed its text
    if (source.lineCount() > 0) {
        const int last = source.lineCount() - 1;
        source.setSel(source.lineIndex(last), -1);
        korvana::copyRichText(&source, &target);
        (void)source.findText(QStringLiteral("<st="), 0, 100000000);
    }
    return 0;
}
