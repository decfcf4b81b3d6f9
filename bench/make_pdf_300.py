# Writes a flat OpenDocument text that LibreOffice lays out as about 300 A4
# pages of Russian and English prose with a running header and page numbers:
# the book of bench_pdf. See make_pdf_300.sh.
import random
import sys

random.seed(7)
ru = ("война мир князь андрей пьер наташа москва петербург армия сражение дом семья "
      "любовь жизнь смерть время дорога поле лес река утро вечер ночь письмо разговор").split()
en = ("the war and peace prince andrew pierre natasha moscow army battle house family "
      "love life death time road field forest river morning evening night letter talk").split()
paras = []
for chapter in range(1, 89):
    paras.append(f'<text:h text:outline-level="1">Глава {chapter}</text:h>')
    for _ in range(24):
        words = [random.choice(ru if random.random() < 0.7 else en) for _ in range(random.randint(40, 120))]
        words[0] = words[0].capitalize()
        paras.append("<text:p>" + " ".join(words) + ".</text:p>")
doc = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:styles><style:default-style style:family="paragraph"><style:text-properties fo:font-size="13pt"/></style:default-style></office:styles>
<office:automatic-styles><style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" fo:margin-top="2cm" fo:margin-bottom="2cm" fo:margin-left="2cm" fo:margin-right="2cm"/></style:page-layout></office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1">
<style:header><text:p>Война и мир — бенчмарк</text:p></style:header>
<style:footer><text:p><text:page-number text:select-page="current">1</text:page-number></text:p></style:footer>
</style:master-page></office:master-styles>
<office:body><office:text>
{chr(10).join(paras)}
</office:text></office:body></office:document>
'''
open(sys.argv[1], "w", encoding="utf-8").write(doc)
