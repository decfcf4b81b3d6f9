<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Lumeno</name>
    <message>
        <source>Не удаётся создать информационный файл</source>
        <translation>Cannot create the settings file</translation>
    </message>
    <message>
        <source>Не удаётся открыть этот файл </source>
        <translation>Cannot open this file </translation>
    </message>
    <message>
        <source>Этот файл не может быть открыт.
Допускаются только файлы следующих типов:
*.txt, *.rtf, *html, *htm, *plg,
*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt</source>
        <translation>This file cannot be opened.
Only files of these types are allowed:
*.txt, *.rtf, *html, *htm, *plg,
*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt</translation>
    </message>
    <message>
        <source>Не удаётся получить содержимое полки.
Нет доступа к диску</source>
        <translation>Cannot get the shelf&apos;s contents.
The disk cannot be accessed</translation>
    </message>
    <message>
        <source>Нужно внести название документа</source>
        <translation>Please enter the document&apos;s name</translation>
    </message>
    <message>
        <source>Документ не выбран</source>
        <translation>No document is selected</translation>
    </message>
    <message>
        <source>Нужно дать закладке какое-нибудь название</source>
        <translation>Please give the bookmark a name</translation>
    </message>
    <message>
        <source>Закладка не выбрана</source>
        <translation>No bookmark is selected</translation>
    </message>
    <message>
        <source>Поместить закладку нельзя - текст слишком мал.</source>
        <translation>A bookmark cannot be put here: the text is too short.</translation>
    </message>
    <message>
        <source>Файл полки был повреждён, полка начата заново.
Прежний файл сохранён под именем:
</source>
        <translation>The shelf file was damaged; a new shelf has been started.
The old file was kept as:
</translation>
    </message>
    <message>
        <source>Положить документ на полку нельзя - слишком длинный путь к файлу.
Переместите файл в папку с более коротким путём.</source>
        <translation>The document cannot be put on the shelf: the path to its file is too long.
Move the file to a folder with a shorter path.</translation>
    </message>
    <message>
        <source>Этот файл слишком велик.
Файлы *.rtf, *.htm, *.html и *.plg открываются размером до 64 Мб.</source>
        <translation>This file is too large.
Files *.rtf, *.htm, *.html and *.plg open up to 64 MB.</translation>
    </message>
    <message>
        <source>Книга повреждена или сохранена не в том формате,
на который указывает её расширение, — её текст не прочесть.</source>
        <translation>The book is damaged or not in the format
its extension names, so its text cannot be read.</translation>
    </message>
    <message>
        <source>Книга защищена (DRM или пароль) — её текст не прочесть.</source>
        <translation>The book is protected (DRM or a password), so its text cannot be read.</translation>
    </message>
    <message>
        <source>В книге нет текста, только изображения
(например, отсканированные страницы) — читать нечего.</source>
        <translation>The book has no text, only images
(scanned pages, for example): there is nothing to read.</translation>
    </message>
    <message>
        <source>Книга слишком велика.
Открываются книги размером до 128 Мб, распакованные — до 256 Мб.</source>
        <translation>The book is too large.
Books open up to 128 MB, and up to 256 MB unpacked.</translation>
    </message>
    <message>
        <source>Текст слишком длинный: показаны первые 10 485 760 символов.</source>
        <translation>The text is too long: its first 10,485,760 characters are shown.</translation>
    </message>
    <message>
        <source>Что читать? Нет задания!.

Как указать что читать:
1. Установите курсор в нужное место текста
2. Нажмите ПРАВУЮ кнопку на мышке
3. Выберите задание из контекстного меню</source>
        <translation>What to read? Nothing is chosen.

How to choose what to read:
1. Put the cursor at the place you want in the text
2. Click the RIGHT mouse button
3. Choose what to read from the menu</translation>
    </message>
    <message>
        <source>Читать от НАЧАЛА текста до КОНЦА</source>
        <translation>Read from the START of the text to the END</translation>
    </message>
    <message>
        <source>Читать от указанного МЕСТА до КОНЦА</source>
        <translation>Read from the chosen PLACE to the END</translation>
    </message>
    <message>
        <source>Читать от НАЧАЛА текста до указанного МЕСТА</source>
        <translation>Read from the START of the text to the chosen PLACE</translation>
    </message>
    <message>
        <source>Читать ВЫДЕЛЕННЫЙ текст</source>
        <translation>Read the SELECTED text</translation>
    </message>
    <message>
        <source>Читать ГЛАВУ «%1»</source>
        <translation>Read the CHAPTER “%1”</translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · осталось %2 мин</source>
        <translation>≈ %1 words/min · %2 min left</translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · осталось %2 с</source>
        <translation>≈ %1 words/min · %2 s left</translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · глава %2 · всего %3</source>
        <translation>≈ %1 words/min · chapter %2 · total %3</translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 мин</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 ч %2 мин</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>В буфере обмена нет текста, который можно прочитать.</source>
        <translation>The clipboard holds no text that can be read.</translation>
    </message>
    <message>
        <source>Фрагмент текста &quot;%1&quot; не обнаружен</source>
        <translation>The text &quot;%1&quot; was not found</translation>
    </message>
    <message>
        <source>Не указано что искать</source>
        <translation>Nothing to search for</translation>
    </message>
    <message>
        <source>Открыть документ не удаётся.
По-видимому документ был удалён или переименован.
Убрать его с полки?</source>
        <translation>The document cannot be opened.
It seems to have been deleted or renamed.
Take it off the shelf?</translation>
    </message>
    <message>
        <source>Эта закладка недействительна.
По-видимому в документ были внесены изменения.
Удалить эту закладку?</source>
        <translation>This bookmark is no longer valid.
The document seems to have been changed.
Delete this bookmark?</translation>
    </message>
    <message>
        <source>Не удаётся записать содержимое полки.
Нет доступа к диску или на нём нет места.
Закладки и место чтения пока хранятся в памяти и будут записаны, как только это станет возможно.</source>
        <translation>Cannot write the shelf&apos;s contents.
The disk cannot be accessed or is full.
Bookmarks and reading places are kept in memory and will be written as soon as possible.</translation>
    </message>
    <message>
        <source>Не удалось записать полку: на диске нет места или запись запрещена.
Закладки и место чтения не сохранены.</source>
        <translation>Could not write the shelf: the disk is full or writing is not allowed.
Bookmarks and reading places have not been saved.</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Сохранить полку в другом месте…</source>
        <translation>Save the shelf elsewhere…</translation>
    </message>
    <message>
        <source>Выйти без сохранения</source>
        <translation>Quit without saving</translation>
    </message>
    <message>
        <source>Сохранить полку в другом месте</source>
        <translation>Save the shelf elsewhere</translation>
    </message>
    <message>
        <source>Не удалось записать настройки (%1): на диске нет места или запись запрещена.</source>
        <translation>Could not write the settings (%1): the disk is full or writing is not allowed.</translation>
    </message>
    <message>
        <source>Файл полки был повреждён. Документов прочитано: %1, не прочитано: %2.
Прежний файл сохранён под именем:
%3</source>
        <translation>The shelf file was damaged. Documents read: %1, not read: %2.
The old file was kept as:
%3</translation>
    </message>
    <message>
        <source>Книга повреждена; показан текст до места повреждения (%1 %).</source>
        <translation>The book is damaged; the text up to the damage is shown (%1 %).</translation>
    </message>
    <message>
        <source>Примечания</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Документов на полке нет</source>
        <translation>The shelf is empty</translation>
    </message>
    <message>
        <source>Не удаётся прочитать полку</source>
        <translation>Cannot read the shelf</translation>
    </message>
    <message>
        <source>Документов на полке: %1</source>
        <translation>Documents on the shelf: %1</translation>
    </message>
    <message>
        <source>Закладок нет</source>
        <translation>No bookmarks</translation>
    </message>
    <message>
        <source>Всего закладок: %1</source>
        <translation>Bookmarks: %1</translation>
    </message>
    <message>
        <source>Знаки не из Windows-1251 сохранятся как «?»</source>
        <translation>Characters outside Windows-1251 will be kept as “?”</translation>
    </message>
    <message>
        <source>Не найден файл справки:
%1

Файл справки должен лежать рядом с программой или в папке share/lumeno установленной программы.</source>
        <translation>Help file not found:
%1

The help file must lie next to the program or in the share/lumeno folder of the installed program.</translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске программы.</source>
        <translation>The language will change the next time the program starts.</translation>
    </message>
    <message>
        <source>Как в системе</source>
        <translation>As the desktop</translation>
    </message>
    <message>
        <source>О программе Orvek Lumeno</source>
        <translation>About Orvek Lumeno</translation>
    </message>
    <message>
        <source>Orvek Lumeno Версия 1.33R</source>
        <translation>Orvek Lumeno Version 1.33R</translation>
    </message>
    <message>
        <source>© Orvek. Все права защищены.</source>
        <translation>© Orvek. All rights reserved.</translation>
    </message>
    <message>
        <source>Bug-reports, отзывы и пожелания сюда:</source>
        <translation>Bug reports, comments and wishes here:</translation>
    </message>
    <message>
        <source> F1             Вызов справки
 Ctrl + V,
 Shift + Insert Загрузить текст из клипборда
 Ctrl + O       Открыть документ
 Ctrl + B       Показать полку
 Alt + B        Положить документ на полку
 Ctrl + M       Показать закладки
 Alt + M        Поместить закладку
 Пробел         Начать чтение / Остановить чтение
 F5             Использовать всё окно
 F9             Использовать окно совместно
 Ctrl + T       Содержание
 Ctrl + I       Статистика чтения
 Ctrl + К       Показать горячие клавиши

 &quot;+&quot; и &quot;-&quot; на цифровой клавиатуре соответственно
 увеличивают и уменьшают скорость чтения;
 так же действуют &quot;+&quot; (или &quot;=&quot;) и &quot;-&quot;
 на основной клавиатуре

 Во время чтения:
 Влево, Вправо  На группу слов назад, вперёд
 Ctrl + Влево   К началу предложения (назад)
 Ctrl + Вправо  К следующему предложению
 Ctrl + PgUp    К предыдущей главе
 Ctrl + PgDn    К следующей главе
</source>
        <translation> F1             Help
 Ctrl + V,
 Shift + Insert Load text from the clipboard
 Ctrl + O       Open a document
 Ctrl + B       Show the shelf
 Alt + B        Put the document on the shelf
 Ctrl + M       Show bookmarks
 Alt + M        Put a bookmark
 Space          Start reading / Stop reading
 F5             Use the whole window
 F9             Share the window
 Ctrl + T       Contents
 Ctrl + I       Reading statistics
 Ctrl + K       Show hotkeys

 &quot;+&quot; and &quot;-&quot; on the numeric keypad
 raise and lower the reading speed;
 &quot;+&quot; (or &quot;=&quot;) and &quot;-&quot; on the main
 keyboard do the same

 While reading:
 Left, Right    A word group back, forward
 Ctrl + Left    To the start of the sentence (back)
 Ctrl + Right   To the next sentence
 Ctrl + PgUp    To the previous chapter
 Ctrl + PgDn    To the next chapter
</translation>
    </message>
    <message>
        <source> Если курсор мыши находится
 в области быстрого чтения:

 клик правой (левой) кнопкой мыши увеличивает
 (уменьшает) скорость чтения на число единиц,
 установленное в диалоге &quot;Настройки. Общие&quot;

 Двойной клик правой (левой) кнопкой мыши
 увеличивает(уменьшает) скорость чтения
 на удвоенное число единиц,
 установленное в диалоге &quot;Настройки. Общие&quot;

 Колесо мыши от себя (на себя) увеличивает
 (уменьшает) скорость на то же число единиц

</source>
        <translation> When the mouse pointer is
 over the speed reading pane:

 a right (left) click raises
 (lowers) the reading speed by the number of units
 set in the &quot;Settings. General&quot; dialog

 A right (left) double click
 raises (lowers) the reading speed
 by twice that number of units
 set in the &quot;Settings. General&quot; dialog

 Turning the mouse wheel away (towards you) raises
 (lowers) the speed by the same number of units

</translation>
    </message>
    <message>
        <source>Горячие клавиши</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>Использование мыши</source>
        <translation>Using the mouse</translation>
    </message>
    <message>
        <source>Справка Orvek Lumeno</source>
        <translation>Orvek Lumeno Help</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Папка:</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>На уровень вверх (Alt+Up)</source>
        <translation>Up one level (Alt+Up)</translation>
    </message>
    <message>
        <source>Имя файла:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Типы файлов:</source>
        <translation>File types:</translation>
    </message>
    <message>
        <source>Документы (*.txt, *.rtf, *.htm, *.html, *.plg, *.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt)</source>
        <translation>Documents (*.txt, *.rtf, *.htm, *.html, *.plg, *.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt)</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Не удаётся открыть папку
%1</source>
        <translation>Cannot open the folder
%1</translation>
    </message>
    <message>
        <source>Начать/Остановить чтение (Пробел)</source>
        <translation>Start/Stop reading (Space)</translation>
    </message>
    <message>
        <source>Показать полку	Ctrl+B</source>
        <translation>Show shelf	Ctrl+B</translation>
    </message>
    <message>
        <source>Показать полку (Ctrl+B)</source>
        <translation>Show shelf (Ctrl+B)</translation>
    </message>
    <message>
        <source>&amp;Горячие клавиши	Ctrl+K</source>
        <translation>&amp;Hotkeys	Ctrl+K</translation>
    </message>
    <message>
        <source>Горячие клавиши (Ctrl+K)</source>
        <translation>Hotkeys (Ctrl+K)</translation>
    </message>
    <message>
        <source>Загрузить текст из клипборда (Ctrl+V)</source>
        <translation>Load text from the clipboard (Ctrl+V)</translation>
    </message>
    <message>
        <source>Использовать всё окно (F5)</source>
        <translation>Use the whole window (F5)</translation>
    </message>
    <message>
        <source>Использовать окно совместно (F9)</source>
        <translation>Share the window (F9)</translation>
    </message>
    <message>
        <source>Читать выделенный текст</source>
        <translation>Read the selected text</translation>
    </message>
    <message>
        <source>Поместить закладку	Alt+M</source>
        <translation>Put bookmark	Alt+M</translation>
    </message>
    <message>
        <source>Поместить закладку (Alt+M)</source>
        <translation>Put bookmark (Alt+M)</translation>
    </message>
    <message>
        <source>Показать закладки	Ctrl+M</source>
        <translation>Bookmarks	Ctrl+M</translation>
    </message>
    <message>
        <source>Показать закладки (Ctrl+M)</source>
        <translation>Show bookmarks (Ctrl+M)</translation>
    </message>
    <message>
        <source>Общие</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Область чтения</source>
        <translation>Reading Pane</translation>
    </message>
    <message>
        <source>Область текста</source>
        <translation>Text Pane</translation>
    </message>
    <message>
        <source>Читать отсюда до конца текста</source>
        <translation>Read from here to the end</translation>
    </message>
    <message>
        <source>Читать от начала текста до сих пор</source>
        <translation>Read from the start to here</translation>
    </message>
    <message>
        <source>Читать текст от начала до конца</source>
        <translation>Read from the start to the end</translation>
    </message>
    <message>
        <source>&amp;Открыть файл	Ctrl+O</source>
        <translation>&amp;Open file	Ctrl+O</translation>
    </message>
    <message>
        <source>Открыть документ (Ctrl+O)</source>
        <translation>Open document (Ctrl+O)</translation>
    </message>
    <message>
        <source>Положить на полку	Alt+B</source>
        <translation>Put on shelf	Alt+B</translation>
    </message>
    <message>
        <source>Положить документ на полку (Alt+B)</source>
        <translation>Put the document on the shelf (Alt+B)</translation>
    </message>
    <message>
        <source>Искать	Ctrl+F</source>
        <translation>Find	Ctrl+F</translation>
    </message>
    <message>
        <source>&amp;Вызов справки	F1</source>
        <translation>&amp;Help	F1</translation>
    </message>
    <message>
        <source>Вызов справки (F1)</source>
        <translation>Help (F1)</translation>
    </message>
    <message>
        <source>Содержание	Ctrl+T</source>
        <translation>Contents	Ctrl+T</translation>
    </message>
    <message>
        <source>Читать главу</source>
        <translation>Read chapter</translation>
    </message>
    <message>
        <source>&amp;О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&amp;Документы</source>
        <translation>&amp;Documents</translation>
    </message>
    <message>
        <source>&amp;Текст</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>&amp;Настройки</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Поместить закладку</source>
        <translation>Put Bookmark</translation>
    </message>
    <message>
        <source>Закладки</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>Перейти</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Чтение книги…</source>
        <translation>Reading the book…</translation>
    </message>
    <message>
        <source>Чтение книги…
Прочитано: %1 из %2</source>
        <translation>Reading the book…
Read: %1 of %2</translation>
    </message>
    <message>
        <source>Полка</source>
        <translation>Shelf</translation>
    </message>
    <message>
        <source>Положить документ на полку</source>
        <translation>Put Document on Shelf</translation>
    </message>
    <message>
        <source>Имя документа на полке:</source>
        <translation>Document name on the shelf:</translation>
    </message>
    <message>
        <source>Настройки. Область чтения</source>
        <translation>Settings. Reading Pane</translation>
    </message>
    <message>
        <source>Настройки. Область текста</source>
        <translation>Settings. Text Pane</translation>
    </message>
    <message>
        <source> Шрифт </source>
        <translation> Font </translation>
    </message>
    <message>
        <source>Название: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Размер: </source>
        <translation>Size: </translation>
    </message>
    <message>
        <source>Стиль: </source>
        <translation>Style: </translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Цвет: </source>
        <translation>Colour: </translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Шрифт будет применён ко всему тексту!</source>
        <translation>The font applies to the whole text!</translation>
    </message>
    <message>
        <source>Цвет фона:</source>
        <translation>Background colour:</translation>
    </message>
    <message>
        <source>Цвет фона</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>Настройки. Общие</source>
        <translation>Settings. General</translation>
    </message>
    <message>
        <source> Чтение </source>
        <translation> Reading </translation>
    </message>
    <message>
        <source> При запуске программы ... </source>
        <translation> When the program starts ... </translation>
    </message>
    <message>
        <source>Дополнительная задержка после запятой</source>
        <translation>Extra pause after a comma</translation>
    </message>
    <message>
        <source>Дополнительная задержка после точки</source>
        <translation>Extra pause after a full stop</translation>
    </message>
    <message>
        <source>Читать по одному слову</source>
        <translation>Read one word at a time</translation>
    </message>
    <message>
        <source>Читать по нескольку слов</source>
        <translation>Read several words at a time</translation>
    </message>
    <message>
        <source>Пороговое число символов</source>
        <translation>Character threshold</translation>
    </message>
    <message>
        <source>Изменение скорости чтения при клике мышкой</source>
        <translation>Speed change per mouse click</translation>
    </message>
    <message>
        <source>Выделять опорную букву</source>
        <translation>Highlight the focus letter</translation>
    </message>
    <message>
        <source>Цвет буквы...</source>
        <translation>Letter colour...</translation>
    </message>
    <message>
        <source>ничего не делать</source>
        <translation>do nothing</translation>
    </message>
    <message>
        <source>загружать содержимое клипборда</source>
        <translation>load the clipboard&apos;s contents</translation>
    </message>
    <message>
        <source>показывать содержимое полки</source>
        <translation>show the shelf&apos;s contents</translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Искать</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Различать заглавные</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>Целое слово</source>
        <translation>Whole word</translation>
    </message>
    <message>
        <source>Клавиша F3 - искать далее</source>
        <translation>F3 finds the next</translation>
    </message>
    <message>
        <source>Дефолт</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Статистика чтения	Ctrl+I</source>
        <translation>Reading statistics	Ctrl+I</translation>
    </message>
    <message>
        <source>Статистика чтения</source>
        <translation>Reading statistics</translation>
    </message>
    <message>
        <source>Файл истории чтения был повреждён и сохранён под именем:
%1
История чтения начата заново.</source>
        <translation>The reading history file was damaged and has been kept as:
%1
A new reading history has been started.</translation>
    </message>
    <message>
        <source>Не удаётся записать историю чтения.
Нет доступа к диску или на нём нет места.
Записи о чтении пока хранятся в памяти и будут записаны, как только это станет возможно.</source>
        <translation>The reading history cannot be written.
The disk cannot be accessed or is full.
Your reading is kept in memory for now and will be written as soon as possible.</translation>
    </message>
    <message>
        <source>Не удалось записать историю чтения: на диске нет места или запись запрещена.
Последние записи о чтении не сохранены.</source>
        <translation>The reading history could not be written: the disk is full or writing is not allowed.
The latest reading has not been saved.</translation>
    </message>
    <message>
        <source>История чтения пока пуста.

Здесь появится каждое чтение, от запуска до остановки: сколько слов прочитано, за какое время и с какой скоростью.</source>
        <translation>Nothing has been read yet.

Every reading, from start to stop, will appear here: how many words were read, in how long and how fast.</translation>
    </message>
    <message>
        <source>Удалить всю историю чтения?
Восстановить её будет нельзя.</source>
        <translation>Delete the whole reading history?
It cannot be brought back.</translation>
    </message>
    <message>
        <source>Не удалось очистить историю чтения.</source>
        <translation>The reading history could not be cleared.</translation>
    </message>
    <message>
        <source>Не удалось записать файл:
%1
Нет доступа к диску или на нём нет места.</source>
        <translation>The file could not be written:
%1
The disk cannot be accessed or is full.</translation>
    </message>
    <message>
        <source>Слов в день за последние 30 дней</source>
        <translation>Words per day, last 30 days</translation>
    </message>
    <message>
        <source>Чтение</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>Тенденция</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Скорость каждого чтения, слов в минуту</source>
        <translation>Speed of each reading, words per minute</translation>
    </message>
    <message>
        <source>Текст из буфера обмена</source>
        <translation>Text from the clipboard</translation>
    </message>
    <message>
        <source>Документ</source>
        <translation>Document</translation>
    </message>
    <message>
        <source>Прочитано</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Время чтения</source>
        <translation>Reading time</translation>
    </message>
    <message>
        <source>Последнее чтение</source>
        <translation>Last read</translation>
    </message>
    <message>
        <source>Скорость, слов/мин</source>
        <translation>Speed, wpm</translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation>Export to CSV…</translation>
    </message>
    <message>
        <source>Очистить историю</source>
        <translation>Clear history</translation>
    </message>
    <message>
        <source>Экспорт истории чтения</source>
        <translation>Export the reading history</translation>
    </message>
</context>
</TS>
