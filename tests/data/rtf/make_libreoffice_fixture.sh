#!/usr/bin/env bash
# Makes libreoffice_lesson.rtf: a small lesson written by LibreOffice Writer,
# so that the reader is checked against that program's RTF. Run it again only
# to refresh the committed file (needs soffice).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
   <text:p text:style-name="P1">&lt;OR=Chinese&gt;&lt;CH=<text:span text:style-name="T1">中文</text:span>&gt;&lt;TY=w&gt;</text:p>
   <text:p text:style-name="P1">&lt;OR=Příliš žluťoučký kůň&gt;&lt;PI=zhōng&gt;</text:p>
  </office:text>
 </office:body>
</office:document>
XML
(cd "$work" && soffice --headless --convert-to rtf libreoffice_lesson.fodt >/dev/null 2>&1)
cp "$work/libreoffice_lesson.rtf" "$here/libreoffice_lesson.rtf"
echo "wrote $here/libreoffice_lesson.rtf"
