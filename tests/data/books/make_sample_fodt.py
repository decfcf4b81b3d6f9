# Writes sample.fodt (the source of sample.pdf): a flat OpenDocument text in Russian and
# English with headings, a poem, a table, a running header and a footer with page numbers.
import sys
soft = "\u00ad"
ru_long = ("Достопримечательности старинного города производят неизгладимое впечатление "
           "на путешественников, приезжающих издалека. ")
en_long = ("Extraordinarily comprehensive documentation accompanies internationalization "
           "responsibilities everywhere. ")
def hy(text):
    # soft hyphens inside every long word, so some line certainly breaks at one
    out = []
    for w in text.split(" "):
        if len(w) > 10:
            w = w[:len(w)//2] + soft + w[len(w)//2:]
        out.append(w)
    return " ".join(out)
paras = []
def h(level, text):
    paras.append(f'<text:h text:style-name="Heading_20_{level}" text:outline-level="{level}">{text}</text:h>')
def p(text, style="Text_20_body"):
    paras.append(f'<text:p text:style-name="{style}">{text}</text:p>')
h(1, "Глава первая. Город")
p("Это первый абзац русского текста. " + hy(ru_long * 3))
p("Второй абзац короче: в нём всего две фразы. Вот и всё.")
h(2, "Стихотворение")
for line in ["Мороз и солнце; день чудесный!", "Ещё ты дремлешь, друг прелестный —",
             "Пора, красавица, проснись:", "Открой сомкнуты негой взоры"]:
    p(line, "Poem")
p("")
h(1, "Chapter Two. Tables")
p("This is an English paragraph. " + hy(en_long * 3))
paras.append('''<table:table table:name="T1"><table:table-column table:number-columns-repeated="2"/>
<table:table-row><table:table-cell office:value-type="string"><text:p>Name</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Value</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>Апельсин</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>12</text:p></table:table-cell></table:table-row>
</table:table>''')
for i in range(1, 9):
    p(f"Paragraph {i} of the filler. " + ("The quick brown fox jumps over the lazy dog. " * 6) +
      ("Съешь же ещё этих мягких французских булок, да выпей чаю. " * 4))
p("The end.")
body = "\n".join(paras)
doc = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:meta><dc:title>Образцы текста</dc:title><meta:initial-creator>Анна Иванова</meta:initial-creator><dc:creator>Анна Иванова</dc:creator></office:meta>
<office:styles>
 <style:default-style style:family="paragraph"><style:text-properties style:font-name="Liberation Serif" fo:font-size="12pt" fo:language="ru" fo:country="RU"/></style:default-style>
 <style:style style:name="Standard" style:family="paragraph"/>
 <style:style style:name="Text_20_body" style:display-name="Text body" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.25cm" fo:text-align="justify"/></style:style>
 <style:style style:name="Poem" style:family="paragraph"><style:paragraph-properties fo:margin-left="2cm" fo:margin-bottom="0cm"/><style:text-properties fo:font-style="italic"/></style:style>
 <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph"><style:paragraph-properties fo:margin-top="0.4cm" fo:margin-bottom="0.3cm"/><style:text-properties fo:font-size="18pt" fo:font-weight="bold"/></style:style>
 <style:style style:name="Heading_20_2" style:display-name="Heading 2" style:family="paragraph"><style:paragraph-properties fo:margin-top="0.3cm" fo:margin-bottom="0.2cm"/><style:text-properties fo:font-size="15pt" fo:font-weight="bold"/></style:style>
 <style:style style:name="Header" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/></style:style>
</office:styles>
<office:automatic-styles>
 <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="14.8cm" fo:page-height="21cm" fo:margin-top="1.5cm" fo:margin-bottom="1.5cm" fo:margin-left="2cm" fo:margin-right="2cm"/>
 <style:header-style><style:header-footer-properties fo:min-height="0cm" fo:margin-bottom="0.4cm"/></style:header-style>
 <style:footer-style><style:header-footer-properties fo:min-height="0cm" fo:margin-top="0.4cm"/></style:footer-style></style:page-layout>
</office:automatic-styles>
<office:master-styles>
 <style:master-page style:name="Standard" style:page-layout-name="pm1">
  <style:header><text:p text:style-name="Header">Образцы текста — Sample texts</text:p></style:header>
  <style:footer><text:p text:style-name="Header">Страница <text:page-number text:select-page="current">1</text:page-number></text:p></style:footer>
 </style:master-page>
</office:master-styles>
<office:body><office:text>
{body}
</office:text></office:body></office:document>
'''
open(sys.argv[1], "w", encoding="utf-8").write(doc)
