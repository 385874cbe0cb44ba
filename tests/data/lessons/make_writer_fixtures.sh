#!/usr/bin/env bash
# Makes the lessons as real word processors write them, so that opening
# lessons is checked against their rich text:
#   abiword_lesson.rtf      AbiWord   (\uc0\uN followed by a space)
#   pandoc_lesson.rtf       pandoc    (\uN?)
#   libreoffice_lesson.rtf  LibreOffice Writer (\dbch\afs, \'3f fallbacks)
# Each holds the same lesson: three terms (one with a soft line break in its
# notes), their states, and two linked-file lines. Run it again only to
# refresh the committed files; it installs abiword and pandoc from Debian when
# they are missing (LibreOffice is already among the program's packages).
# Not part of the test run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
command -v abiword >/dev/null || missing+=(abiword)
command -v pandoc >/dev/null || missing+=(pandoc)
command -v soffice >/dev/null || missing+=(libreoffice-writer)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The lesson as HTML paragraphs; <br> is the soft line break.
cat > "$work/lesson.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<p>&lt;ST=d&gt;&lt;OR=hello&gt;&lt;PI=nǐ hǎo&gt;&lt;CH=你好&gt;&lt;NO=first line<br>second line&gt;&lt;TY=p&gt;</p>
<p>&lt;OR=world&gt;&lt;PI=shìjiè&gt;&lt;CH=世界&gt;&lt;NO=&gt;&lt;TY=w&gt;</p>
<p>&lt;ST=l&gt;&lt;OR=Příliš žluťoučký&gt;&lt;PI=zhōng&gt;&lt;CH=中&gt;&lt;NO=&gt;&lt;TY=w&gt;</p>
<p>&lt;PAR FILE="课文.txt" DESCRIPTION="İzmir notes"&gt;</p>
<p>&lt;PAR FILE="b.rtf" DESCRIPTION="Second"&gt;</p>
</body></html>
HTML

(cd "$work" && abiword --to=rtf --to-name="$work/abiword_lesson.rtf" lesson.html)
pandoc -s -f html -t rtf -o "$work/pandoc_lesson.rtf" "$work/lesson.html"

# LibreOffice: the characters in a Chinese font of their own, so that it
# writes them as double-byte text with their own size.
cat > "$work/libreoffice_lesson.fodt" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:font-face-decls>
  <style:font-face style:name="Arial" svg:font-family="Arial"/>
  <style:font-face style:name="SimSun" svg:font-family="SimSun"/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="P1" style:family="paragraph">
   <style:text-properties style:font-name="Arial" fo:font-size="12pt"/>
  </style:style>
  <style:style style:name="T1" style:family="text">
   <style:text-properties style:font-name="SimSun" style:font-name-asian="SimSun" fo:font-size="16pt" style:font-size-asian="16pt" fo:color="#ff0000" fo:font-weight="bold" style:font-weight-asian="bold"/>
  </style:style>
 </office:automatic-styles>
 <office:body>
  <office:text>
   <text:p text:style-name="P1">&lt;ST=d&gt;&lt;OR=hello&gt;&lt;PI=nǐ hǎo&gt;&lt;CH=<text:span text:style-name="T1">你好</text:span>&gt;&lt;NO=first line<text:line-break/>second line&gt;&lt;TY=p&gt;</text:p>
   <text:p text:style-name="P1">&lt;OR=world&gt;&lt;PI=shìjiè&gt;&lt;CH=<text:span text:style-name="T1">世界</text:span>&gt;&lt;NO=&gt;&lt;TY=w&gt;</text:p>
   <text:p text:style-name="P1">&lt;ST=l&gt;&lt;OR=Příliš žluťoučký&gt;&lt;PI=zhōng&gt;&lt;CH=<text:span text:style-name="T1">中</text:span>&gt;&lt;NO=&gt;&lt;TY=w&gt;</text:p>
   <text:p text:style-name="P1">&lt;PAR FILE="课文.txt" DESCRIPTION="İzmir notes"&gt;</text:p>
   <text:p text:style-name="P1">&lt;PAR FILE="b.rtf" DESCRIPTION="Second"&gt;</text:p>
  </office:text>
 </office:body>
</office:document>
XML
(cd "$work" && soffice -env:UserInstallation="file://$work/profile" --headless --convert-to rtf libreoffice_lesson.fodt >/dev/null 2>&1)

for f in abiword_lesson.rtf pandoc_lesson.rtf libreoffice_lesson.rtf; do
    cp "$work/$f" "$here/$f"
    echo "wrote $here/$f"
done
