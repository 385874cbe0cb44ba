// Feeds arbitrary bytes to the reader of a skin's "skin.ini".
#include "FuzzSupport.h"
#include "settings/Skin.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    fuzz::startApplication(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::writeScratch(QStringLiteral("skin.ini"), bytes);
    const korvana::SkinFields fields = korvana::readSkinFile(path);
    // Colours are 0x00BBGGRR: nothing may land in the top byte.
    for (quint32 c : {fields.labelsColor, fields.labelsBackgroundColor, fields.frameLabelsColor,
                      fields.buttonLabelsColor, fields.frameBordersColor, fields.framesBackgroundColor})
        fuzz::check((c & 0xFF000000u) == 0, "a skin colour is a plain colour");
    return 0;
}
