// Feeds arbitrary bytes to the session reader, then writes what it read as a
// session over the same file: reading that again must give the same lessons
// and position.
#include "FuzzSupport.h"
#include "lessons/Sessions.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::writeScratch(QStringLiteral("fuzz.ses"), bytes);

    const korvana::SessionContents first = korvana::readSession(path);
    korvana::writeSession(path, first.lessons, first.position);
    const korvana::SessionContents second = korvana::readSession(path);
    fuzz::check(second.lessons == first.lessons, "a session written back lists the same lessons");
    fuzz::check(second.position == first.position, "a session written back keeps its position");
    return 0;
}
