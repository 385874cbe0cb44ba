#!/usr/bin/env python3
"""Writes the encoded text files the reader's decoding is tested with, and
cases.tsv: one line per file, its name, a tab and the text it must show
(line breaks written as \\n). Run it here after changing the table."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

# (file, encoding, text); the bytes are the text in the encoding, or given.
CASES = [
    # UTF-16 without a mark: the order that reads as text wins, also when
    # 一 (U+4E00) puts more NULs on the other side than the line breaks.
    ("utf16le-yi.txt", "utf-16-le", "一一得一，一二得二。\n"),
    ("utf16be-yi.txt", "utf-16-be", "一一得一，一二得二。\n"),
    ("utf16le-latin.txt", "utf-16-le", "Lesson 1: 一 (yī) one\n"),
    # ... and short UTF-16 without any NUL.
    ("utf16le-zhongwen.txt", "utf-16-le", "中文"),
    ("utf16be-zhongwen.txt", "utf-16-be", "中文"),
    ("utf16le-woai.txt", "utf-16-le", "我爱北京"),
    ("utf16be-woai.txt", "utf-16-be", "我爱北京"),
    ("utf16le-shenzhen.txt", "utf-16-le", "深圳"),  # "ñm3W" in Windows-1252
    ("utf8.txt", "utf-8", "一个人\n"),
    ("utf8-bom.txt", "utf-8-sig", "一个人\n"),
    # A byte-order mark decides the order, whatever the text would score.
    ("utf16le-bom.txt", "bom:utf-16-le", "第一句。\n第二句。"),
    ("utf16be-bom.txt", "bom:utf-16-be", "第一句。\n第二句。"),
    # Short and mostly Latin Chinese texts.
    ("gbk-zhongwen.txt", "gbk", "中文"),
    ("gbk-yi.txt", "gbk", "一"),  # also UTF-8, as "һ"
    ("utf8-cyrillic.txt", "utf-8", "где"),  # also GBK, as three Han
    ("utf8-degrees.txt", "utf-8", "25°C"),  # "25掳C" in GBK
    ("gbk-woai.txt", "gbk", "我爱北京"),
    ("gbk-lesson.txt", "gbk",
     "Lesson 3: 你好 (ni3 hao3) means hello. 谢谢 = thank you. …第十二页。"),
    ("gb18030-fourbyte.txt", "gb18030", "汉字𠀀和㐀。\n"),
    ("big5-zhongwen.txt", "big5", "中文"),
    ("big5-taiwan.txt", "big5", "臺灣歡迎你"),
    ("big5hkscs-cantonese.txt", "big5hkscs", "佢哋今日冇返學，我哋去咗飲茶，啲點心好好食嘅。\n"),
    # Japanese and Korean prose stay what the detector finds.
    ("shiftjis.txt", "shift_jis", "今日は良い天気ですね。散歩に行きましょう。\n"),
    ("euckr.txt", "euc_kr", "오늘은 날씨가 좋습니다. 공원에 산책하러 갑시다.\n"),
    # So do Cyrillic words, which read as rare Han in GB18030.
    ("cp1251.txt", "cp1251", "Здравствуйте"),
    # Western text, its last byte the only one above ASCII.
    ("cp1252-voila.txt", "cp1252", "Voilà"),
    ("cp1252-cafe.txt", "cp1252", "café"),
    ("cp1252-names.txt", "cp1252", "Ægir, Straße"),  # 讚 in Big5, 遝 in GB18030
    ("cp1252-el.txt", "cp1252", "Él"),  # 泉 in UTF-16
    ("cp1252-ano.txt", "cp1252", "año"),  # "aņo" by the detector's guess
    ("cp1252-prose.txt", "cp1252", "Crème brûlée: 5 € à Paris, naïve “déjà vu”.\n"),
    # Longer prose in another Western code page is the detector's.
    ("cp1250-prose.txt", "cp1250",
     "Dobrý den. Dnes ráno jsem vstal brzy, uvařil jsem kávu a četl knihu o historii Prahy. Děti běhají v parku, "
     "ptáci zpívají a lidé sedí na lavičkách u řeky. Odpoledne půjdeme do muzea, kde je nová výstava obrazů "
     "českých malířů. Večer budeme vařit večeři a povídat si o cestě do Brna.\n"),
]


def main():
    lines = []
    for name, encoding, text in CASES:
        mark = encoding.startswith("bom:")
        encoding = encoding.removeprefix("bom:")
        (HERE / name).write_bytes(("\ufeff" + text if mark else text).encode(encoding))
        lines.append(name + "\t" + text.replace("\n", "\\n"))
    (HERE / "cases.tsv").write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
