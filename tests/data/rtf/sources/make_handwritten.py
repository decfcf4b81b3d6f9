# Writes the WordPad- and Word-style samples; \'hh escapes come from the text itself.
def h(s, cp='cp1251'):
    out = []
    for ch in s:
        if ord(ch) < 128:
            out.append(ch)
        else:
            out.append(''.join("\\'%02x" % b for b in ch.encode(cp)))
    return ''.join(out)

def u(s, cp='cp1251'):
    # Word's \uN with a one-byte fallback in the code page of the font
    out = []
    for ch in s:
        if ord(ch) < 128:
            out.append(ch); continue
        code = ord(ch)
        if code > 0xFFFF:
            v = code - 0x10000
            hi, lo = 0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)
            out.append("\\u%d\\'3f\\u%d\\'3f" % (hi - 65536, lo - 65536)); continue
        n = code if code < 32768 else code - 65536
        try:
            fb = ch.encode(cp)
            fb = ''.join("\\'%02x" % b for b in fb)
        except UnicodeEncodeError:
            fb = "\\'3f"
        out.append("\\u%d%s" % (n, fb))
    return ''.join(out)

wordpad = r"""{\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fswiss\fcharset204{\*\fname Arial;}Arial CYR;}{\f1\froman\fprq2\fcharset204{\*\fname Times New Roman;}Times New Roman CYR;}{\f2\fmodern\fprq1\fcharset0 Courier New;}{\f3\fnil\fcharset2 Symbol;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}
{\*\generator Msftedit 5.41.15.1515;}\viewkind4\uc1\pard\lang1049\f0\fs20 """ + h("Документ WordPad") + r"""\par
\par
""" + h("Обычный текст, ") + r"""\b """ + h("жирный") + r"""\b0 , \i """ + h("курсив") + r"""\i0 , \ul """ + h("подчёркнутый") + r"""\ulnone , \cf1 """ + h("красный") + r"""\cf0 , \fs28 """ + h("крупный") + r"""\fs20 .\par
\f1 """ + h("Другой шрифт: «ёлочки», №5, 10 €.") + r"""\par
\f2\lang1033 Courier: caf\'e9 \'93quoted\'94 \'a9 2024.\f0\lang1049\par
\pard{\pntext\f3\'b7\tab}{\*\pn\pnlvlblt\pnf3\pnindent0{\pntxtb\'b7}}\fi-200\li200 """ + h("пункт первый") + r"""\par
{\pntext\f3\'b7\tab}""" + h("пункт второй") + r"""\par
\pard """ + h("Таблица:") + r"""\tab 1\tab 2\par
""" + h("Греческая буква ") + r"""\u945?""" + h(" и конец.") + r"""\par
}
"""

word = (r"""{\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff0\deff0\stshfdbch0\stshfloch0\stshfhich0\stshfbi0\deflang1049\deflangfe1049\themelang1049{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f3\froman\fcharset2\fprq2{\*\panose 05050102010706020507}Symbol;}
{\f39\froman\fcharset204\fprq2 Times New Roman Cyr;}{\f40\fswiss\fcharset204\fprq2 Arial Cyr;}{\f41\froman\fcharset238\fprq2 Times New Roman CE;}
{\f42\fnil\fcharset204\fprq2 """ + h("Шрифт") + r""";}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red0\green255\blue255;\red0\green255\blue0;\red255\green0\blue255;\red255\green0\blue0;\red255\green255\blue0;\red255\green255\blue255;\red0\green0\blue128;\red0\green128\blue128;\red0\green128\blue0;\red128\green0\blue128;\red128\green0\blue0;}
{\stylesheet{\ql \li0\ri0\widctlpar\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs24\alang1025 \ltrch\fcs0 \fs24\lang1049\langfe1049\cgrid\langnp1049\langfenp1049 \snext0 Normal;}
{\s1\ql \li0\ri0\sb240\sa60\keepn\widctlpar\aspalpha\aspnum\faauto\outlinelevel0\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \ab\af0\afs32\alang1025 \ltrch\fcs0 \b\f40\fs32\lang1049\langfe1049\kerning32\cgrid\langnp1049\langfenp1049 \sbasedon0 \snext0 heading 1;}
{\*\cs10 \additive \ssemihidden Default Paragraph Font;}{\*\cs15 \additive \rtlch\fcs1 \af0 \ltrch\fcs0 \ul\cf2 \sbasedon10 Hyperlink;}}
{\*\listtable{\list\listtemplateid-1\listhybrid{\listlevel\levelnfc23\levelnfcn23\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid68747265\'01\u-3913 ?;}{\levelnumbers;}\f3\fbias0 \fi-360\li720\jclisttab\tx720\lin720 }{\listname ;}\listid1}}
{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}
{\*\rsidtbl \rsid1845\rsid9061}{\*\generator Microsoft Word 11.0.0000;}{\info{\upr{\title """ + h("Проба") + r"""}{\*\ud{\title """ + u("Проба") + r"""}}}{\author Ivan}{\operator Ivan}{\creatim\yr2024\mo3\dy5\hr10\min2}{\revtim\yr2024\mo3\dy5\hr10\min9}{\version2}{\edmins7}{\nofpages1}{\nofwords60}{\nofchars400}{\*\company Home}{\nofcharsws460}{\vern24615}}
{\*\xmlnstbl {\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}
\paperw11906\paperh16838\margl1701\margr850\margt1134\margb1134\gutter0\ltrsect \widowctrl\ftnbj\aenddoc\noxlattoyen\expshrtn\noultrlspc\dntblnsbdb\nospaceforul\hyphcaps0\formshade\horzdoc\dgmargin\dghspace180\dgvspace180\dghorigin1701\dgvorigin1134\dghshow1\dgvshow1
\jexpand\viewkind1\viewscale100\pgbrdrhead\pgbrdrfoot\splytwnine\ftnlytwnine\htmautsp\nolnhtadjtbl\useltbaln\alntblind\lytcalctblwd\lyttblrtgr\lnbrkrule\nobrkwrptbl\snaptogridincell\allowfieldendsel\wrppunct\asianbrkrule\rsidroot9061 \fet0\sectd \ltrsect\linex0\headery708\footery708\colsx708\endnhere\sectlinegrid360\sectdefaultcl\sftnbj {\header \ltrpar \pard\plain \ltrpar\s19\ql \li0\ri0\widctlpar\tqc\tx4677\tqr\tx9355\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs24\alang1025 \ltrch\fcs0 \fs24\lang1049\langfe1049\cgrid\langnp1049\langfenp1049 {\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Колонтитул, стр. ") + r"""}{\field{\*\fldinst {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0  PAGE }}{\fldrslt {\rtlch\fcs1 \af0 \ltrch\fcs0 \lang1024\langfe1024\noproof\insrsid9061 \hich\af0\dbch\af0\loch\f0 1}}}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }}{\footer \ltrpar \pard\plain \ltrpar\s20\ql \rtlch\fcs1 \af0\afs24\alang1025 \ltrch\fcs0 \fs24\lang1049\langfe1049\cgrid\langnp1049\langfenp1049 {\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Нижний колонтитул") + r"""
\par }}{\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang {\pntxta \hich .}}{\*\pnseclvl2\pnucltr\pnstart1\pnindent720\pnhang {\pntxta \hich .}}
\pard\plain \ltrpar\s1\ql \li0\ri0\sb240\sa60\keepn\widctlpar\aspalpha\aspnum\faauto\outlinelevel0\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \ab\af0\afs32\alang1025 \ltrch\fcs0 \b\f40\fs32\lang1049\langfe1049\kerning32\cgrid\langnp1049\langfenp1049 {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af40\dbch\af0\loch\f40 """ + h("Глава первая") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }\pard\plain \ltrpar\ql \li0\ri0\widctlpar\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs24\alang1025 \ltrch\fcs0 \fs24\lang1049\langfe1049\cgrid\langnp1049\langfenp1049 {\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Привет, ") + r"""}{\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b\f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("мир") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 ! Hello, }{\rtlch\fcs1 \ai\af0 \ltrch\fcs0 \i\insrsid9061 \hich\af0\dbch\af0\loch\f0 world}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 . \ldblquote Quoted\rdblquote  \endash  \lquote single\rquote  \emdash  end.}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\fs28\cf6\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Красный 14") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0  }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f42\ul\insrsid9061 \hich\af42\dbch\af0\loch\f42 """ + h("особый шрифт") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 ; caf\'e9 }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f41\insrsid9061 \hich\af41\dbch\af0\loch\f41 \'a7 5 \'e1}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 Greek }{\rtlch\fcs1 \af0 \ltrch\fcs0 \lang1032\langfe1049\langnp1032\insrsid9061 \u945\'e1\u946\'e2}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 , Cyrillic by number }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 """ + u("Ёж", 'cp1252') + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 , emoji }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 """ + u("\U0001F600") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 , CJK }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \uc2\u26085\'93\'fa\u26412\'96\'7b}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 .}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Неразрывный") + r"""\~""" + h("пробел, пере") + r"""\-""" + h("нос и дефис") + r"""\_""" + h("неразрывный") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\v\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h(" СКРЫТО") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h(", сноска") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid9061 \chftn {\footnote \ltrpar \pard\plain \ltrpar\s17\ql \rtlch\fcs1 \af0\afs20\alang1025 \ltrch\fcs0 \fs20\lang1049\langfe1049\cgrid\langnp1049\langfenp1049 {\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid9061 \chftn }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39  """ + h("Текст сноски.") + r"""}}}{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h(" и ") + r"""{\*\bkmkstart _Toc1}""" + h("закладка") + r"""{\*\bkmkend _Toc1}.}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }\pard \ltrpar\ql \fi-360\li720\ri0\widctlpar\jclisttab\tx720\aspalpha\aspnum\faauto\ls1\adjustright\rin0\lin720\itap0 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs24 \ltrch\fcs0 \f3\fs24\lang1049\langfe1049\langnp1049\insrsid9061 \loch\af3\dbch\af0\hich\f3 \'b7\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Первый пункт") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }{\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs24 \ltrch\fcs0 \f3\fs24\lang1049\langfe1049\langnp1049\insrsid9061 \loch\af3\dbch\af0\hich\f3 \'b7\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0 Second item}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }\pard \ltrpar\ql \li0\ri0\widctlpar\intbl\aspalpha\aspnum\faauto\adjustright\rin0\lin0 {\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Ячейка 1") + r"""\cell }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Ячейка 2") + r"""\cell }\pard \ltrpar\ql \li0\ri0\widctlpar\intbl\aspalpha\aspnum\faauto\adjustright\rin0\lin0 {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \trowd \irow0\irowband0\lastrow \ltrrow\ts11\trgaph108\trleft-108\trbrdrt\brdrs\brdrw10 \trbrdrl\brdrs\brdrw10 \trbrdrb\brdrs\brdrw10 \trbrdrr\brdrs\brdrw10 \trftsWidth1\trftsWidthB3\trautofit1\trpaddl108\trpaddr108\trpaddfl3\trpaddft3\trpaddfb3\trpaddfr3\tbllkhdrrows\tbllklastrow\tbllkhdrcols\tbllklastcol \clvertalt\clbrdrt\brdrs\brdrw10 \clbrdrl\brdrs\brdrw10 \clbrdrb\brdrs\brdrw10 \clbrdrr\brdrs\brdrw10 \cltxlrtb\clftsWidth3\clwWidth4785\clshdrawnil \cellx4677\clvertalt\clbrdrt\brdrs\brdrw10 \clbrdrl\brdrs\brdrw10 \clbrdrb\brdrs\brdrw10 \clbrdrr\brdrs\brdrw10 \cltxlrtb\clftsWidth3\clwWidth4786\clshdrawnil \cellx9463\row }\pard \ltrpar\ql \li0\ri0\widctlpar\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Ссылка: ") + r"""}{\field\fldedit{\*\fldinst {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0  HYPERLINK "http://example.org/" }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 {\*\datafield 00d0c9ea79f9bace118c8200aa004ba90b0200000017000000}}}{\fldrslt {\rtlch\fcs1 \af0 \ltrch\fcs0 \cs15\f39\ul\cf2\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("пример") + r"""}}}\sectd \ltrsect\linex0\headery708\footery708\colsx708\endnhere\sectlinegrid360\sectdefaultcl\sftnbj {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \hich\af0\dbch\af0\loch\f0  }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 {\*\shppict{\pict{\*\picprop\shplid1025{\sp{\sn shapeType}{\sv 75}}{\sp{\sn fFlipH}{\sv 0}}}\picscalex100\picscaley100\piccropl0\piccropr0\piccropt0\piccropb0\picw265\pich265\picwgoal150\pichgoal150\pngblip\bliptag-1{\*\blipuid 7b1d9b1f0c3e3f8e}89504e470d0a1a0a0000000d49484452}}{\nonshppict{\pict\picscalex100\picscaley100\piccropl0\piccropr0\piccropt0\piccropb0\picw265\pich265\picwgoal150\pichgoal150\wmetafile8\bliptag-1\bin8 }{\}\\x}}}}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Конец первой страницы.") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 \page }{\rtlch\fcs1 \af0 \ltrch\fcs0 \f39\insrsid9061 \hich\af39\dbch\af0\loch\f39 """ + h("Вторая страница") + r"""\line """ + h("с переводом строки.") + r"""}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid9061 
\par }}""")

open('wordpad.rtf', 'wb').write(wordpad.replace('\n', '\r\n').encode('ascii'))
open('word.rtf', 'wb').write(word.replace('\n', '\r\n').encode('ascii'))

# WordPad on a Japanese system: \ansicpg932, fonts in the East Asian code
# pages, every character of a code page as its bytes in \'hh (two for a
# double-byte character, some with a trail byte of 0x5c or a letter), \uN only
# for what the font's code page lacks.
cjk_lines = [
    ('f0', 'cp932', "日本語の文書です。表示、ソフト、能力、アイウ。"),
    ('f0', 'cp932', "半角ｶﾀｶﾅと全角ＡＢＣ、記号「」※。"),
    ('f1', 'gbk', "简体中文：你好，世界。"),
    ('f2', 'cp950', "繁體中文：你好，世界。"),
    ('f3', 'cp1251', "Русский текст."),
]
wordpad_cjk = (r"""{\rtf1\ansi\ansicpg932\deff0\deflang1033\deflangfe1041{\fonttbl{\f0\fnil\fcharset128 """ + h("ＭＳ Ｐゴシック", 'cp932') + r""";}{\f1\fnil\fcharset134 """ + h("宋体", 'gbk') + r""";}{\f2\fnil\fcharset136 """ + h("新細明體", 'cp950') + r""";}{\f3\fswiss\fcharset204 Arial CYR;}{\f4\fswiss\fcharset0 Arial;}}
{\colortbl ;\red255\green0\blue0;}
{\*\generator Msftedit 5.41.21.2510;}\viewkind4\uc1\pard\lang1041\f0\fs20 """
    + ''.join("\\%s %s\\par\n" % (f, h(t, cp)) for f, cp, t in cjk_lines)
    + r"""\f0 """ + h("太字は", 'cp932') + r"""\b """ + h("ここ", 'cp932') + r"""\b0\cf1 """ + h("赤", 'cp932') + r"""\cf0 """ + h("、", 'cp932') + r"""\f4 caf\'e9 \f0 """ + h("と", 'cp932') + r"""\u8364? """ + h("です。", 'cp932') + r"""\par
}
""")
cjk_text = ''.join(t + "\r\n" for _, _, t in cjk_lines) + "太字はここ赤、café と€ です。\r\n"
open('wordpad-cjk.rtf', 'wb').write(wordpad_cjk.replace('\n', '\r\n').encode('ascii'))
open('wordpad-cjk.txt', 'wb').write(cjk_text.encode('utf-8'))
