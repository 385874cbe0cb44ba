#pragma once
// Windows code pages for the 8-bit parts of rich text: the document's
// \ansicpg and each font's \fcharset decide how \'hh bytes become Unicode.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace korvana {

// The code page a Windows charset number (\fcharset) stands for; 0 when the
// charset names no code page of its own (1, the default charset), so that the
// document's code page applies.
int codePageForCharset(int charset);

// True when byte b starts a two-byte character in the code page (the lead
// bytes of Shift-JIS, GBK, Hangul, Big5 and Johab); false in single-byte pages.
bool isLeadByte(int codePage, unsigned char b);

// Decodes bytes of one Windows code page to UTF-16. Multi-byte code pages
// (936, 950, 932, 949, 1361) need the whole byte sequence at once; an
// incomplete or invalid sequence becomes U+FFFD and decoding goes on.
// Converters are opened once per code page and kept for the decoder's life.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    QString decode(const char *data, qsizetype size, int codePage);
    QString decode(const QByteArray &bytes, int codePage) { return decode(bytes.constData(), bytes.size(), codePage); }

    // Encodes text in a code page; false when some character has no byte form
    // there.
    static bool encode(const QString &text, int codePage, QByteArray *out);

private:
    void *converterFor(int codePage); // iconv_t, or (void*)-1 when unknown
    QHash<int, void *> m_converters;
};

} // namespace korvana
