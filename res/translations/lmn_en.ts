<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Lumeno</name>
    <message>
        <source>Не удаётся создать информационный файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удаётся открыть этот файл </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Этот файл не может быть открыт.
Допускаются только файлы следующих типов:
*.txt, *.rtf, *html, *htm, *plg,
*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удаётся получить содержимое полки.
Нет доступа к диску</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нужно внести название документа</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Документ не выбран</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нужно дать закладке какое-нибудь название</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закладка не выбрана</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поместить закладку нельзя - текст слишком мал.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл полки был повреждён, полка начата заново.
Прежний файл сохранён под именем:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Положить документ на полку нельзя - слишком длинный путь к файлу.
Переместите файл в папку с более коротким путём.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Этот файл слишком велик.
Файлы *.rtf, *.htm, *.html и *.plg открываются размером до 64 Мб.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Книга повреждена или сохранена не в том формате,
на который указывает её расширение, — её текст не прочесть.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Книга защищена (DRM или пароль) — её текст не прочесть.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В книге нет текста, только изображения
(например, отсканированные страницы) — читать нечего.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Книга слишком велика.
Открываются книги размером до 128 Мб, распакованные — до 256 Мб.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Текст слишком длинный: показаны первые 10 485 760 символов.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Что читать? Нет задания!.

Как указать что читать:
1. Установите курсор в нужное место текста
2. Нажмите ПРАВУЮ кнопку на мышке
3. Выберите задание из контекстного меню</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать от НАЧАЛА текста до КОНЦА</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать от указанного МЕСТА до КОНЦА</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать от НАЧАЛА текста до указанного МЕСТА</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать ВЫДЕЛЕННЫЙ текст</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать ГЛАВУ «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · осталось %2 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · осталось %2 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≈ %1 слов/мин · глава %2 · всего %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ч %2 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В буфере обмена нет текста, который можно прочитать.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Фрагмент текста &quot;%1&quot; не обнаружен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не указано что искать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть документ не удаётся.
По-видимому документ был удалён или переименован.
Убрать его с полки?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Эта закладка недействительна.
По-видимому в документ были внесены изменения.
Удалить эту закладку?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удаётся записать содержимое полки.
Нет доступа к диску или на нём нет места.
Закладки и место чтения пока хранятся в памяти и будут записаны, как только это станет возможно.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать полку: на диске нет места или запись запрещена.
Закладки и место чтения не сохранены.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить полку в другом месте…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выйти без сохранения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить полку в другом месте</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать настройки (%1): на диске нет места или запись запрещена.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл полки был повреждён. Документов прочитано: %1, не прочитано: %2.
Прежний файл сохранён под именем:
%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Книга повреждена; показан текст до места повреждения (%1 %).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Примечания</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Документов на полке нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удаётся прочитать полку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Документов на полке: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закладок нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всего закладок: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Знаки не из Windows-1251 сохранятся как «?»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не найден файл справки:
%1

Файл справки должен лежать рядом с программой или в папке share/lumeno установленной программы.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>О программе Orvek Lumeno</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvek Lumeno Версия 1.33R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>© Orvek. Все права защищены.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bug-reports, отзывы и пожелания сюда:</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Горячие клавиши</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Использование мыши</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Справка Orvek Lumeno</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Папка:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>На уровень вверх (Alt+Up)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя файла:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Типы файлов:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Документы (*.txt, *.rtf, *.htm, *.html, *.plg, *.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удаётся открыть папку
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Начать/Остановить чтение (Пробел)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Показать полку	Ctrl+B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Показать полку (Ctrl+B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Горячие клавиши	Ctrl+K</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Горячие клавиши (Ctrl+K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Загрузить текст из клипборда (Ctrl+V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Использовать всё окно (F5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Использовать окно совместно (F9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать выделенный текст</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поместить закладку	Alt+M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поместить закладку (Alt+M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Показать закладки	Ctrl+M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Показать закладки (Ctrl+M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Общие</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Область чтения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Область текста</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать отсюда до конца текста</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать от начала текста до сих пор</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать текст от начала до конца</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Открыть файл	Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть документ (Ctrl+O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Положить на полку	Alt+B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Положить документ на полку (Alt+B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Искать	Ctrl+F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Вызов справки	F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вызов справки (F1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Содержание	Ctrl+T</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать главу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;О программе</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выход</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Документы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Текст</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Настройки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поместить закладку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закладки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Перейти</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Чтение книги…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Чтение книги…
Прочитано: %1 из %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Положить документ на полку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя документа на полке:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки. Область чтения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки. Область текста</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Шрифт </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Название: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Размер: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стиль: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шрифт будет применён ко всему тексту!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет фона:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет фона</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки. Общие</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Чтение </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> При запуске программы ... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дополнительная задержка после запятой</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дополнительная задержка после точки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать по одному слову</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать по нескольку слов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пороговое число символов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Изменение скорости чтения при клике мышкой</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выделять опорную букву</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет буквы...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ничего не делать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>загружать содержимое клипборда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>показывать содержимое полки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Искать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Различать заглавные</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Целое слово</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Клавиша F3 - искать далее</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дефолт</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
