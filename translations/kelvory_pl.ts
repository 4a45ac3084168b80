<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>CatalogueHost</name>
    <message>
        <source>Logo file: %1.</source>
        <translation>Plik logo: %1.</translation>
    </message>
</context>
<context>
    <name>ChangeMarks</name>
    <message>
        <source>Changed: was %1</source>
        <translation>Zmieniono: było %1</translation>
    </message>
</context>
<context>
    <name>FieldHelp</name>
    <message>
        <source>Row %1, %2.</source>
        <translation>Wiersz %1, %2.</translation>
    </message>
    <message>
        <source>The box holds a text of up to %1 characters.</source>
        <translation>Pole mieści tekst o długości do %1 znaków.</translation>
    </message>
    <message>
        <source>The box holds %1.</source>
        <translation>Pole mieści %1.</translation>
    </message>
    <message>
        <source>The game takes the %1 (%2 name).</source>
        <translation>Gra przyjmuje %1 (liczba nazw: %2).</translation>
    </message>
    <message>
        <source>The game takes the %1 (%2 names).</source>
        <translation>Gra przyjmuje %1 (liczba nazw: %2).</translation>
    </message>
    <message>
        <source>The game takes %1.</source>
        <translation>Gra przyjmuje %1.</translation>
    </message>
</context>
<context>
    <name>Fields</name>
    <message>
        <source>Europe</source>
        <translation>Europa</translation>
    </message>
    <message>
        <source>Africa</source>
        <translation>Afryka</translation>
    </message>
    <message>
        <source>America</source>
        <translation>Ameryka</translation>
    </message>
    <message>
        <source>Asia</source>
        <translation>Azja</translation>
    </message>
    <message>
        <source>Primer League</source>
        <translation>Primer League</translation>
    </message>
    <message>
        <source>Ligue 1</source>
        <translation>Ligue 1</translation>
    </message>
    <message>
        <source>Serie A</source>
        <translation>Serie A</translation>
    </message>
    <message>
        <source>Eredvisie</source>
        <translation>Eredvisie</translation>
    </message>
    <message>
        <source>Liga BBVA</source>
        <translation>Liga BBVA</translation>
    </message>
    <message>
        <source>Game League</source>
        <translation>Game League</translation>
    </message>
    <message>
        <source>D2</source>
        <translation>D2</translation>
    </message>
    <message>
        <source>Other European</source>
        <translation>Inne europejskie</translation>
    </message>
    <message>
        <source>Other Latin American</source>
        <translation>Inne latynoamerykańskie</translation>
    </message>
    <message>
        <source>first</source>
        <translation>pierwsza</translation>
    </message>
    <message>
        <source>second</source>
        <translation>druga</translation>
    </message>
    <message>
        <source>third</source>
        <translation>trzecia</translation>
    </message>
    <message>
        <source>fourth</source>
        <translation>czwarta</translation>
    </message>
    <message>
        <source>fifth</source>
        <translation>piąta</translation>
    </message>
    <message>
        <source>sixth</source>
        <translation>szósta</translation>
    </message>
    <message>
        <source>seventh</source>
        <translation>siódma</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>ósma</translation>
    </message>
    <message>
        <source>ninth</source>
        <translation>dziewiąta</translation>
    </message>
    <message>
        <source>Which league slot the %1 national division loads.</source>
        <translation>Który slot ligi wczytuje %1 krajowa klasa rozgrywkowa.</translation>
    </message>
    <message>
        <source>Which league slot the %1 club division loads.</source>
        <translation>Który slot ligi wczytuje %1 klubowa klasa rozgrywkowa.</translation>
    </message>
    <message>
        <source>Which name the %1 national division shows: an index into the game&apos;s league names.</source>
        <translation>Którą nazwę pokazuje %1 krajowa klasa rozgrywkowa: indeks w nazwach lig gry.</translation>
    </message>
    <message>
        <source>Which name the %1 club division shows: an index into the game&apos;s league names.</source>
        <translation>Którą nazwę pokazuje %1 klubowa klasa rozgrywkowa: indeks w nazwach lig gry.</translation>
    </message>
    <message>
        <source>The category logo text of sector %1, which the game loads from u_1426.bin into dt06.img.</source>
        <translation>Tekst logo kategorii sektora %1, który gra wczytuje z u_1426.bin do dt06.img.</translation>
    </message>
    <message>
        <source>Which logo file of dt04.img the %1 club category shows: 0 is unnamed_35.bin, 1 is unnamed_36.bin and so on.</source>
        <translation>Który plik logo z dt04.img pokazuje %1 kategoria klubowa: 0 to unnamed_35.bin, 1 to unnamed_36.bin i tak dalej.</translation>
    </message>
    <message>
        <source>Which map the %1 slot loads from u_1426.bin into dt06.img.</source>
        <translation>Którą mapę slot %1 wczytuje z u_1426.bin do dt06.img.</translation>
    </message>
    <message>
        <source>%1, row %2</source>
        <translation>%1, wiersz %2</translation>
    </message>
    <message>
        <source>whole numbers from %1 to %2</source>
        <translation>liczby całkowite od %1 do %2</translation>
    </message>
    <message>
        <source>National Slot</source>
        <translation>Slot krajowy</translation>
    </message>
    <message>
        <source>Club Slot</source>
        <translation>Slot klubowy</translation>
    </message>
    <message>
        <source>National Name</source>
        <translation>Nazwa krajowa</translation>
    </message>
    <message>
        <source>Club Name</source>
        <translation>Nazwa klubowa</translation>
    </message>
    <message>
        <source>National Category Logo League u_1426.bin -&gt;dt06.img</source>
        <translation>Logo kategorii lig krajowych u_1426.bin -&gt;dt06.img</translation>
    </message>
    <message>
        <source>Club Category Logo(dt04.img)</source>
        <translation>Logo kategorii klubów (dt04.img)</translation>
    </message>
    <message>
        <source>Maps Load u_1426.bin -&gt;dt06.img</source>
        <translation>Mapy z u_1426.bin -&gt;dt06.img</translation>
    </message>
</context>
<context>
    <name>FormLayout</name>
    <message>
        <source>Load Slot to Exibition</source>
        <translation>Sloty towarzyskie</translation>
    </message>
    <message>
        <source>Load Name</source>
        <translation>Nazwy lig</translation>
    </message>
    <message>
        <source>Category Logo League u_1426-dt06.img</source>
        <translation>Logo kategorii lig u_1426-dt06.img</translation>
    </message>
    <message>
        <source>Maps</source>
        <translation>Mapy</translation>
    </message>
    <message>
        <source>Load EXE (Work Exe 1.3)</source>
        <translation>Plik EXE (Work Exe 1.3)</translation>
    </message>
    <message>
        <source>Save And Start Game</source>
        <translation>Zapisz i uruchom grę</translation>
    </message>
    <message>
        <source>Structure League</source>
        <translation>Struktura lig</translation>
    </message>
    <message>
        <source>Select Index</source>
        <translation>Wybierz</translation>
    </message>
    <message>
        <source>Select category to Sector %1</source>
        <translation>Kategoria dla sektora %1</translation>
    </message>
    <message>
        <source>0 = Europe
1 = Africa
2 = America
3 = Asia
4 = England
5 = France
6 = Italy
7 = Holland
8 = Spain
9 = Libertadores
10 = World </source>
        <translation>0 = Europa
1 = Afryka
2 = Ameryka
3 = Azja
4 = Anglia
5 = Francja
6 = Włochy
7 = Holandia
8 = Hiszpania
9 = Libertadores
10 = Świat </translation>
    </message>
    <message>
        <source> (dt05_x-.imgt -&gt; u_1 &gt; Blok 21)</source>
        <translation> (dt05_x-.imgt -&gt; u_1 &gt; Blok 21)</translation>
    </message>
    <message>
        <source>dt0f.img - &gt; 1826</source>
        <translation>dt0f.img - &gt; 1826</translation>
    </message>
    <message>
        <source>%1, picker</source>
        <translation>%1, lista wyboru</translation>
    </message>
    <message>
        <source>Game executable name</source>
        <translation>Nazwa pliku wykonywalnego gry</translation>
    </message>
    <message>
        <source>Launcher program</source>
        <translation>Program uruchamiający</translation>
    </message>
    <message>
        <source>Choose the launcher program</source>
        <translation>Wybierz program uruchamiający</translation>
    </message>
    <message>
        <source>Save and Start Game</source>
        <translation>Zapisz i uruchom</translation>
    </message>
    <message>
        <source>Game executable location</source>
        <translation>Położenie pliku wykonywalnego gry</translation>
    </message>
    <message>
        <source>Min = %1
Max = %2</source>
        <translation>Min = %1
Max = %2</translation>
    </message>
</context>
<context>
    <name>GameRanges</name>
    <message>
        <source>slot numbers 0 to 100</source>
        <translation>numery slotów od 0 do 100</translation>
    </message>
    <message>
        <source>name indices 0 to 32767</source>
        <translation>indeksy nazw od 0 do 32767</translation>
    </message>
    <message>
        <source>category texts category_00 to category_18</source>
        <translation>teksty kategorii od category_00 do category_18</translation>
    </message>
    <message>
        <source>club category logo indices 0 to 29</source>
        <translation>indeksy logo kategorii klubowych od 0 do 29</translation>
    </message>
    <message>
        <source>map codes 0 to 10</source>
        <translation>kody map od 0 do 10</translation>
    </message>
    <message>
        <source>name indices listed in %1</source>
        <translation>indeksy nazw wymienione w %1</translation>
    </message>
    <message>
        <source>Outside what the game takes: no name %1 in %2</source>
        <translation>Poza tym, co przyjmuje gra: brak nazwy %1 w %2</translation>
    </message>
    <message>
        <source>Outside what the game takes: %1</source>
        <translation>Poza tym, co przyjmuje gra: %1</translation>
    </message>
    <message>
        <source>the game takes the name indices listed in %1</source>
        <translation>gra przyjmuje indeksy nazw wymienione w %1</translation>
    </message>
    <message>
        <source>the game takes %1</source>
        <translation>gra przyjmuje %1</translation>
    </message>
    <message>
        <source>0 to 100</source>
        <translation>od 0 do 100</translation>
    </message>
    <message>
        <source>0 to 32767</source>
        <translation>od 0 do 32767</translation>
    </message>
    <message>
        <source>category_00 to category_18</source>
        <translation>od category_00 do category_18</translation>
    </message>
    <message>
        <source>0 to 29</source>
        <translation>od 0 do 29</translation>
    </message>
    <message>
        <source>0 to 10</source>
        <translation>od 0 do 10</translation>
    </message>
</context>
<context>
    <name>Ini</name>
    <message>
        <source>Kelvory could not find the folder that holds its own program, where Leagues.ini must be.</source>
        <translation>Kelvory nie znalazł folderu, w którym leży jego program i w którym musi być plik Leagues.ini.</translation>
    </message>
    <message>
        <source>The configuration file %1 was not found.</source>
        <translation>Nie znaleziono pliku konfiguracyjnego %1.</translation>
    </message>
    <message>
        <source>The configuration file %1 is not a regular file but a folder, a pipe or a device.</source>
        <translation>Plik konfiguracyjny %1 nie jest zwykłym plikiem, tylko folderem, potokiem lub urządzeniem.</translation>
    </message>
    <message>
        <source>The configuration file %1 could not be read.</source>
        <translation>Nie udało się odczytać pliku konfiguracyjnego %1.</translation>
    </message>
    <message>
        <source>The configuration file %1 ends before its second line, which names the game executable.</source>
        <translation>Plik konfiguracyjny %1 kończy się przed drugim wierszem, który podaje plik wykonywalny gry.</translation>
    </message>
    <message>
        <source>The configuration file %1 cannot be used: its second line, which names the game executable, holds a character that a file name cannot hold.</source>
        <translation>Nie można użyć pliku konfiguracyjnego %1: jego drugi wiersz, który podaje plik wykonywalny gry, zawiera znak, którego nazwa pliku nie może zawierać.</translation>
    </message>
    <message>
        <source>The configuration file %1 cannot be used: its first two lines are longer than %2 bytes.</source>
        <translation>Nie można użyć pliku konfiguracyjnego %1: jego dwa pierwsze wiersze mają więcej niż %2 B.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Kelvory will be in %1 from its next start.</source>
        <translation>Od następnego uruchomienia Kelvory będzie w języku: %1.</translation>
    </message>
    <message>
        <source>Kelvory could not remember the language for the next start.</source>
        <translation>Kelvory nie mógł zapamiętać języka na następne uruchomienie.</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Change...</source>
        <translation>Zmień...</translation>
    </message>
    <message>
        <source>Open vozi.exe</source>
        <translation>Otwórz vozi.exe</translation>
    </message>
    <message>
        <source>vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*</source>
        <translation>vozi.exe (*.exe)|*.exe| Wszystkie pliki (*.*)|*.*</translation>
    </message>
    <message>
        <source>Kelvory could not remember the launcher for the next start.</source>
        <translation>Kelvory nie mógł zapamiętać programu uruchamiającego na następne uruchomienie.</translation>
    </message>
    <message>
        <source>The game was not started: no launcher is chosen yet.

Choose the launcher program with the &quot;...&quot; button beside its box; Save and Start Game starts it after saving from then on.</source>
        <translation>Gra nie została uruchomiona: nie wybrano jeszcze programu uruchamiającego.

Wybierz program uruchamiający przyciskiem „...” obok jego pola; od tej pory „Zapisz i uruchom” uruchomi go po zapisaniu.</translation>
    </message>
    <message>
        <source>The launcher could not be started.

%1

Choose the launcher with the &quot;...&quot; button beside its box.</source>
        <translation>Nie udało się uruchomić programu uruchamiającego.

%1

Wybierz program uruchamiający przyciskiem „...” obok jego pola.</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Język</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Otwórz</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Zapisz</translation>
    </message>
    <message>
        <source>&amp;Restore Original Values…</source>
        <translation>&amp;Przywróć oryginalne wartości…</translation>
    </message>
    <message>
        <source>&amp;Import League Setup…</source>
        <translation>&amp;Importuj ustawienia lig…</translation>
    </message>
    <message>
        <source>&amp;Export League Setup…</source>
        <translation>&amp;Eksportuj ustawienia lig…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Za&amp;kończ</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edycja</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Cofnij</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ponów</translation>
    </message>
    <message>
        <source>Re&amp;vert to Saved</source>
        <translation>Przywróć &amp;zapisane</translation>
    </message>
    <message>
        <source>Show &amp;Changes…</source>
        <translation>Pokaż z&amp;miany…</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;O programie</translation>
    </message>
    <message>
        <source>&amp;Visit</source>
        <translation>O&amp;dwiedź</translation>
    </message>
    <message>
        <source>Kelvory User &amp;Guide</source>
        <translation>&amp;Podręcznik Kelvory</translation>
    </message>
    <message>
        <source>Kelvory &amp;Home Page</source>
        <translation>&amp;Strona domowa Kelvory</translation>
    </message>
    <message>
        <source>&amp;Report a Problem</source>
        <translation>&amp;Zgłoś problem</translation>
    </message>
    <message>
        <source>&amp;Copyright</source>
        <translation>&amp;Prawa autorskie</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The game executable %1 could not be read.</source>
        <translation>Nie udało się odczytać pliku wykonywalnego gry %1.</translation>
    </message>
    <message>
        <source>The game executable %1 could not be read: %2.</source>
        <translation>Nie udało się odczytać pliku wykonywalnego gry %1: %2.</translation>
    </message>
    <message>
        <source>No game executable was loaded.

Kelvory looked for it at:
%1

%2</source>
        <translation>Nie wczytano pliku wykonywalnego gry.

Kelvory szukał go tutaj:
%1

%2</translation>
    </message>
    <message>
        <source>It could not be read.</source>
        <translation>Nie udało się go odczytać.</translation>
    </message>
    <message>
        <source>The bytes where Kelvory expects the league block in %1 do not look like one: %2.</source>
        <translation>Bajty, w których Kelvory spodziewa się bloku lig w %1, nie wyglądają na ten blok: %2.</translation>
    </message>
    <message>
        <source>The bytes where Kelvory expects the league block do not look like one. This may be another version of the game. Kelvory shows them, but saving would overwrite 199 bytes of this file.

%1

What does not look right:
%2</source>
        <translation>Bajty, w których Kelvory spodziewa się bloku lig, nie wyglądają na ten blok. Może to być inna wersja gry. Kelvory je pokazuje, ale zapis nadpisałby 199 bajtów tego pliku.

%1

Co nie wygląda dobrze:
%2</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; (allowed: %3)</source>
        <translation>%1: „%2” (dozwolone: %3)</translation>
    </message>
    <message>
        <source>%1: %2 (%3)</source>
        <translation>%1: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Nothing was saved: no game executable was loaded when Kelvory started.

Kelvory looked for it at:
%1

Make sure line 2 of Leagues.ini names the game executable in Kelvory&apos;s folder, then start Kelvory again.</source>
        <translation>Nic nie zapisano: przy starcie Kelvory nie wczytano pliku wykonywalnego gry.

Kelvory szukał go tutaj:
%1

Upewnij się, że wiersz 2 pliku Leagues.ini podaje plik wykonywalny gry w folderze Kelvory, a potem uruchom Kelvory ponownie.</translation>
    </message>
    <message>
        <source>Nothing was exported: no game executable was loaded when Kelvory started.</source>
        <translation>Nic nie wyeksportowano: przy starcie Kelvory nie wczytano pliku wykonywalnego gry.</translation>
    </message>
    <message>
        <source>Nothing was imported: no game executable was loaded when Kelvory started.</source>
        <translation>Nic nie zaimportowano: przy starcie Kelvory nie wczytano pliku wykonywalnego gry.</translation>
    </message>
    <message>
        <source>These boxes hold values that cannot be stored:
%1</source>
        <translation>Te pola zawierają wartości, których nie da się zapisać:
%1</translation>
    </message>
    <message>
        <source>Nothing was saved: the game executable was not changed.

%1

Correct them, then save again.</source>
        <translation>Nic nie zapisano: plik wykonywalny gry nie został zmieniony.

%1

Popraw je, a potem zapisz ponownie.</translation>
    </message>
    <message>
        <source>Nothing was exported.

%1

Correct them, then try again.</source>
        <translation>Nic nie wyeksportowano.

%1

Popraw je i spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Nothing was imported.

%1

Correct them, then try again.</source>
        <translation>Nic nie zaimportowano.

%1

Popraw je i spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Save Successfully</source>
        <translation>Zapisano pomyślnie</translation>
    </message>
    <message>
        <source>These boxes hold values the game is not known to take:
%1

Save them anyway?</source>
        <translation>Te pola zawierają wartości, o których nie wiadomo, czy gra je przyjmuje:
%1

Zapisać je mimo to?</translation>
    </message>
    <message>
        <source>%1

Save into this file anyway?</source>
        <translation>%1

Zapisać do tego pliku mimo to?</translation>
    </message>
    <message>
        <source>The game is running (process %1).</source>
        <translation>Gra jest uruchomiona (proces %1).</translation>
    </message>
    <message>
        <source>The game is running (process %1). Close it before saving: the game may not take the change, or may stop.</source>
        <translation>Gra jest uruchomiona (proces %1). Zamknij ją przed zapisem: gra może nie przyjąć zmiany albo przestać działać.</translation>
    </message>
    <message>
        <source>The league block in the game executable was changed by another program since Kelvory last saved it, or while this command ran.</source>
        <translation>Inny program zmienił blok lig w pliku wykonywalnym gry od ostatniego zapisu Kelvory albo w trakcie tego polecenia.</translation>
    </message>
    <message>
        <source>The game executable was changed by another program while this command ran: its size or modification time is different, although its league block still holds the values Kelvory loaded.</source>
        <translation>Inny program zmienił plik wykonywalny gry w trakcie tego polecenia: ma inny rozmiar lub czas modyfikacji, choć jego blok lig nadal zawiera wartości wczytane przez Kelvory.</translation>
    </message>
    <message>
        <source>The league block in the game executable was changed by another program since Kelvory loaded it.</source>
        <translation>Inny program zmienił blok lig w pliku wykonywalnym gry, odkąd Kelvory go wczytał.</translation>
    </message>
    <message>
        <source>The game executable was changed by another program since Kelvory loaded it: its size or modification time is different, although its league block still holds the values Kelvory loaded.</source>
        <translation>Inny program zmienił plik wykonywalny gry, odkąd Kelvory go wczytał: ma inny rozmiar lub czas modyfikacji, choć jego blok lig nadal zawiera wartości wczytane przez Kelvory.</translation>
    </message>
    <message>
        <source>%1

Overwrite saves the values shown in the window over it.
Reload shows the values that are in the file now; the changes made in the window are dropped.
Cancel saves nothing.</source>
        <translation>%1

Nadpisz zapisuje na nim wartości pokazane w oknie.
Wczytaj ponownie pokazuje wartości, które są teraz w pliku; zmiany zrobione w oknie przepadają.
Anuluj niczego nie zapisuje.</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite (%1: LOCALAPPDATA names no folder).</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać (%1: LOCALAPPDATA nie wskazuje żadnego folderu).</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite (%1: neither XDG_DATA_HOME nor HOME names an absolute folder).</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać (%1: ani XDG_DATA_HOME, ani HOME nie wskazuje folderu ścieżką bezwzględną).</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite in %1: %2.</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać, w %1: %2.</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, so the game executable was not changed.

%1: LOCALAPPDATA names no folder.

Your changes are still here.</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać, więc plik wykonywalny gry nie został zmieniony.

%1: LOCALAPPDATA nie wskazuje żadnego folderu.

Twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, so the game executable was not changed.

%1: neither XDG_DATA_HOME nor HOME names an absolute folder.

Your changes are still here.</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać, więc plik wykonywalny gry nie został zmieniony.

%1: ani XDG_DATA_HOME, ani HOME nie wskazuje folderu ścieżką bezwzględną.

Twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, so the game executable was not changed.

The record goes to:
%1
%2.

Make sure that folder can be written, then save again; your changes are still here.</source>
        <translation>Nic nie zapisano: Kelvory nie mógł zarejestrować wartości, które miał nadpisać, więc plik wykonywalny gry nie został zmieniony.

Rejestr trafia do:
%1
%2.

Upewnij się, że w tym folderze można zapisywać, a potem zapisz ponownie; twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: another Kelvory is saving into this game executable right now (%1). Run the command again in a moment.</source>
        <translation>Nic nie zapisano: inny Kelvory właśnie zapisuje do tego pliku wykonywalnego gry (%1). Uruchom polecenie ponownie za chwilę.</translation>
    </message>
    <message>
        <source>Nothing was saved: another Kelvory is saving into this game executable right now.

%1

Save again in a moment; your changes are still here.</source>
        <translation>Nic nie zapisano: inny Kelvory właśnie zapisuje do tego pliku wykonywalnego gry.

%1

Zapisz ponownie za chwilę; twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>The game executable could not be saved: another file took its place during the save, and Kelvory wrote nothing into that file.

%1
%2.

Your changes are still here.</source>
        <translation>Nie udało się zapisać pliku wykonywalnego gry: w trakcie zapisu jego miejsce zajął inny plik, a Kelvory niczego do niego nie zapisał.

%1
%2.

Twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>The game executable could not be saved.</source>
        <translation>Nie udało się zapisać pliku wykonywalnego gry.</translation>
    </message>
    <message>
        <source>The save could not be checked: the game executable could not be read back after writing.</source>
        <translation>Nie udało się sprawdzić zapisu: po zapisaniu nie dało się ponownie odczytać pliku wykonywalnego gry.</translation>
    </message>
    <message>
        <source>The save failed: the game executable does not hold what was written. The file system may redirect or drop writes to this file.</source>
        <translation>Zapis się nie powiódł: plik wykonywalny gry nie zawiera tego, co zapisano. System plików może przekierowywać lub pomijać zapisy do tego pliku.</translation>
    </message>
    <message>
        <source>%1 %2: %3. The bytes already written were put back and read back: the file is as it was before the save.</source>
        <translation>%1 %2: %3. Już zapisane bajty przywrócono i odczytano ponownie: plik jest taki jak przed zapisem.</translation>
    </message>
    <message>
        <source>%1

%2
%3.

The bytes already written were put back and read back: the file is as it was before the save. Your changes are still here.</source>
        <translation>%1

%2
%3.

Już zapisane bajty przywrócono i odczytano ponownie: plik jest taki jak przed zapisem. Twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>od %1 do %2</translation>
    </message>
    <message>
        <source>  bytes %1 to %2</source>
        <translation>  bajty od %1 do %2</translation>
    </message>
    <message>
        <source>%1 %2: %3. The bytes already written could not be put back: bytes %4 (counted from 0) may hold neither the old nor the new values. &quot;kelvory-cli restore original&quot; puts back the values Kelvory recorded.</source>
        <translation>%1 %2: %3. Już zapisanych bajtów nie dało się przywrócić: bajty %4 (licząc od 0) mogą nie zawierać ani starych, ani nowych wartości. „kelvory-cli restore original” przywraca wartości zarejestrowane przez Kelvory.</translation>
    </message>
    <message>
        <source>%1

%2
%3.

The bytes already written could not be put back. These bytes (counted from 0) may hold neither the old nor the new values:
%4

Menu &gt; Restore Original Values (or kelvory-cli restore-original) puts back the values Kelvory recorded. Your changes are still here.</source>
        <translation>%1

%2
%3.

Już zapisanych bajtów nie dało się przywrócić. Te bajty (licząc od 0) mogą nie zawierać ani starych, ani nowych wartości:
%4

Menu &gt; Przywróć oryginalne wartości (lub kelvory-cli restore-original) przywraca wartości zarejestrowane przez Kelvory. Twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: the game executable %1 no longer exists, and Kelvory does not create it.</source>
        <translation>Nic nie zapisano: plik wykonywalny gry %1 już nie istnieje, a Kelvory go nie tworzy.</translation>
    </message>
    <message>
        <source>Nothing was saved: %1 is too short to be the game executable: %2.</source>
        <translation>Nic nie zapisano: %1 jest za krótki na plik wykonywalny gry: %2.</translation>
    </message>
    <message>
        <source>Nothing was saved: another program holds the game executable %1 open and lets nobody write it; the game may be running.</source>
        <translation>Nic nie zapisano: inny program trzyma otwarty plik wykonywalny gry %1 i nikomu nie pozwala w nim zapisywać; może gra jest uruchomiona.</translation>
    </message>
    <message>
        <source>Nothing was saved: the game executable %1 is not a regular file: %2.</source>
        <translation>Nic nie zapisano: plik wykonywalny gry %1 nie jest zwykłym plikiem: %2.</translation>
    </message>
    <message>
        <source>Nothing was saved: the game executable no longer exists.

%1

Kelvory does not create it. Put the game executable back in place, then save again; your changes are still here.</source>
        <translation>Nic nie zapisano: plik wykonywalny gry już nie istnieje.

%1

Kelvory go nie tworzy. Przywróć plik wykonywalny gry na miejsce, a potem zapisz ponownie; twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: this file is too short to be the game executable.

%1

%2.

Kelvory only writes into bytes that already exist. Check that line 2 of Leagues.ini names the game executable.</source>
        <translation>Nic nie zapisano: ten plik jest za krótki na plik wykonywalny gry.

%1

%2.

Kelvory zapisuje tylko bajty, które już istnieją. Sprawdź, czy wiersz 2 pliku Leagues.ini podaje plik wykonywalny gry.</translation>
    </message>
    <message>
        <source>Nothing was saved: another program holds the game executable open and lets nobody write it; the game may be running.

%1

Close the game, then save again; your changes are still here.</source>
        <translation>Nic nie zapisano: inny program trzyma otwarty plik wykonywalny gry i nikomu nie pozwala w nim zapisywać; może gra jest uruchomiona.

%1

Zamknij grę, a potem zapisz ponownie; twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>Nothing was saved: the game executable is not a regular file.

%1

%2.</source>
        <translation>Nic nie zapisano: plik wykonywalny gry nie jest zwykłym plikiem.

%1

%2.</translation>
    </message>
    <message>
        <source>The game executable could not be saved.

%1
%2

Your changes are still here. Close the game if it is running, make sure the file can be written, and save again.</source>
        <translation>Nie udało się zapisać pliku wykonywalnego gry.

%1
%2

Twoje zmiany nadal tu są. Zamknij grę, jeśli jest uruchomiona, upewnij się, że plik można zapisywać, i zapisz ponownie.</translation>
    </message>
    <message>
        <source>The game executable %1 could not be saved: %2.</source>
        <translation>Nie udało się zapisać pliku wykonywalnego gry %1: %2.</translation>
    </message>
    <message>
        <source>The game executable could not be saved.

%1
%2</source>
        <translation>Nie udało się zapisać pliku wykonywalnego gry.

%1
%2</translation>
    </message>
    <message>
        <source>The record of the original values cannot be read: %1</source>
        <translation>Nie można odczytać rejestru oryginalnych wartości: %1</translation>
    </message>
    <message>
        <source>The record of the original values cannot be read: %1: %2</source>
        <translation>Nie można odczytać rejestru oryginalnych wartości: %1: %2</translation>
    </message>
    <message>
        <source>The record of the original values cannot be read.

%1</source>
        <translation>Nie można odczytać rejestru oryginalnych wartości.

%1</translation>
    </message>
    <message>
        <source>The record of the original values cannot be read.

%1
%2</source>
        <translation>Nie można odczytać rejestru oryginalnych wartości.

%1
%2</translation>
    </message>
    <message>
        <source>There is no record of the original values of %1: Kelvory records them at its first save into it, and looked for the record at %2.</source>
        <translation>Brak rejestru oryginalnych wartości pliku %1: Kelvory rejestruje je przy pierwszym zapisie do niego, a rejestru szukał w %2.</translation>
    </message>
    <message>
        <source>There is no record of the original values of this game executable.

%1

Kelvory records them at its first save into it; it looked for the record at:
%2</source>
        <translation>Brak rejestru oryginalnych wartości tego pliku wykonywalnego gry.

%1

Kelvory rejestruje je przy pierwszym zapisie do niego; rejestru szukał tutaj:
%2</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>nie da się odczytać</translation>
    </message>
    <message>
        <source>The game executable changed since the record of its original values was taken on %1: it was %2 bytes long then and is %3 now, or its first bytes differ. The game may have been updated or replaced, and the recorded values may not fit it.</source>
        <translation>Plik wykonywalny gry zmienił się, odkąd %1 zarejestrowano jego oryginalne wartości: miał wtedy %2 B, a teraz: %3; albo różnią się jego pierwsze bajty. Gra mogła zostać zaktualizowana lub zastąpiona, a zarejestrowane wartości mogą do niej nie pasować.</translation>
    </message>
    <message>
        <source>Nothing was saved: the record of the original values cannot be read, and Kelvory does not replace it: %1: %2. &quot;kelvory-cli record set-aside&quot; renames it beside itself, where it is kept, so that the next save starts a new record.</source>
        <translation>Nic nie zapisano: nie można odczytać rejestru oryginalnych wartości, a Kelvory go nie zastępuje: %1: %2. „kelvory-cli record set-aside” odkłada go obok pod nową nazwą, gdzie zostaje zachowany, tak aby następny zapis założył nowy rejestr.</translation>
    </message>
    <message>
        <source>Nothing was saved: the record of the original values cannot be read, and Kelvory does not replace it.

%1
%2.

Set Aside and Start a New Record renames it beside itself, where it is kept, and saves with a new record, whose original values are those the game executable holds now. Cancel saves nothing; your changes are still here.</source>
        <translation>Nic nie zapisano: nie można odczytać rejestru oryginalnych wartości, a Kelvory go nie zastępuje.

%1
%2.

„Odłóż i załóż nowy rejestr” odkłada go obok pod nową nazwą, gdzie zostaje zachowany, i zapisuje z nowym rejestrem, którego oryginalnymi wartościami będą te, które plik wykonywalny gry zawiera teraz. Anuluj niczego nie zapisuje; twoje zmiany nadal tu są.</translation>
    </message>
    <message>
        <source>recorded for the same game at %1 on %2</source>
        <translation>zarejestrowane dla tej samej gry w %1, %2</translation>
    </message>
    <message>
        <source>%1 records of other paths hold the values this game executable holds; the newest was taken.</source>
        <translation>Wartości, które zawiera ten plik wykonywalny gry, są w rejestrach innych ścieżek (liczba rejestrów: %1); wzięto najnowszy.</translation>
    </message>
    <message>
        <source>The original values and history of this game executable were carried over from the record of the same game at %1, into which Kelvory wrote the values it holds on %2.</source>
        <translation>Oryginalne wartości i historię tego pliku wykonywalnego gry przeniesiono z rejestru tej samej gry w %1, do której Kelvory zapisał zawarte w nim wartości %2.</translation>
    </message>
    <message>
        <source>The record %1, which cannot be read, was set aside as %2 and is kept there; the next save starts a new record.</source>
        <translation>Rejestr %1, którego nie można odczytać, odłożono jako %2 i tam jest zachowany; następny zapis założy nowy rejestr.</translation>
    </message>
    <message>
        <source>The record of the original values, which cannot be read, was set aside and is kept as:
%1</source>
        <translation>Rejestr oryginalnych wartości, którego nie można odczytać, odłożono i jest zachowany jako:
%1</translation>
    </message>
    <message>
        <source>Nothing was set aside: the record %1 can be read, or there is none.</source>
        <translation>Niczego nie odłożono: rejestr %1 da się odczytać albo go nie ma.</translation>
    </message>
    <message>
        <source>Nothing was set aside: the record of the original values can be read, or there is none.

%1</source>
        <translation>Niczego nie odłożono: rejestr oryginalnych wartości da się odczytać albo go nie ma.

%1</translation>
    </message>
    <message>
        <source>The record %1 could not be set aside: %2.</source>
        <translation>Nie udało się odłożyć rejestru %1: %2.</translation>
    </message>
    <message>
        <source>The record of the original values could not be set aside, and nothing was saved.

%1
%2.

Your changes are still here.</source>
        <translation>Nie udało się odłożyć rejestru oryginalnych wartości i nic nie zapisano.

%1
%2.

Twoje zmiany nadal tu są.</translation>
    </message>
</context>
<context>
    <name>NamePickers</name>
    <message>
        <source>Names</source>
        <translation>Nazwy</translation>
    </message>
</context>
<context>
    <name>Polancz</name>
    <message>
        <source>The user guide was not found. It belongs beside Kelvory:

%1</source>
        <translation>Nie znaleziono podręcznika. Powinien leżeć obok Kelvory:

%1</translation>
    </message>
    <message>
        <source>No program on this computer could show the user guide. Open the file yourself:

%1</source>
        <translation>Żaden program na tym komputerze nie mógł pokazać podręcznika. Otwórz plik samodzielnie:

%1</translation>
    </message>
    <message>
        <source>No program on this computer could open the page %1.

Open it in a web browser yourself.</source>
        <translation>Żaden program na tym komputerze nie mógł otworzyć strony %1.

Otwórz ją samodzielnie w przeglądarce.</translation>
    </message>
</context>
<context>
    <name>RestoreFlow</name>
    <message>
        <source>Restore Original Values</source>
        <translation>Przywróć oryginalne wartości</translation>
    </message>
    <message>
        <source>the same values as the window</source>
        <translation>te same wartości co w oknie</translation>
    </message>
    <message>
        <source>1 field differs from the window</source>
        <translation>różni się od okna w 1 polu</translation>
    </message>
    <message>
        <source>%1 fields differ from the window</source>
        <translation>różni się od okna w %1 polach</translation>
    </message>
    <message>
        <source>Original values, recorded %1: %2</source>
        <translation>Oryginalne wartości, zarejestrowane %1: %2</translation>
    </message>
    <message>
        <source>Before the save of %1: %2</source>
        <translation>Przed zapisem z %1: %2</translation>
    </message>
    <message>
        <source>Original values of an earlier game executable (%1 bytes), recorded %2: %3</source>
        <translation>Oryginalne wartości wcześniejszego pliku wykonywalnego gry (%1 B), zarejestrowane %2: %3</translation>
    </message>
    <message>
        <source>

Show the recorded values anyway?</source>
        <translation>

Pokazać mimo to zarejestrowane wartości?</translation>
    </message>
    <message>
        <source>&amp;Show Them</source>
        <translation>&amp;Pokaż je</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Kelvory recorded the original values of this game executable on %1, before its first save into it, and the values before each later save. The values chosen go into the window as changes; nothing is written until you save.</source>
        <translation>Kelvory zarejestrował oryginalne wartości tego pliku wykonywalnego gry %1, przed pierwszym zapisem do niego, a także wartości sprzed każdego kolejnego zapisu. Wybrane wartości trafiają do okna jako zmiany; nic nie zostanie zapisane, dopóki nie zapiszesz.</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Przywróć</translation>
    </message>
</context>
<context>
    <name>SaveFlow</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Nadpisz</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Wczytaj ponownie</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Save &amp;Anyway</source>
        <translation>Zapisz &amp;mimo to</translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation>&amp;Ponów próbę</translation>
    </message>
    <message>
        <source>&amp;Set Aside and Start a New Record</source>
        <translation>&amp;Odłóż i załóż nowy rejestr</translation>
    </message>
</context>
<context>
    <name>SetupMenu</name>
    <message>
        <source>Import League Setup</source>
        <translation>Importuj ustawienia lig</translation>
    </message>
    <message>
        <source>Export League Setup</source>
        <translation>Eksportuj ustawienia lig</translation>
    </message>
    <message>
        <source>Kelvory league setup</source>
        <translation>Ustawienia lig Kelvory</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Wszystkie pliki</translation>
    </message>
    <message>
        <source>The league setup was not exported.

%1</source>
        <translation>Nie wyeksportowano ustawień lig.

%1</translation>
    </message>
    <message>
        <source>The league setup was exported to:

%1</source>
        <translation>Ustawienia lig wyeksportowano do:

%1</translation>
    </message>
    <message>
        <source>Nothing was imported; the boxes are as they were.

%1</source>
        <translation>Nic nie zaimportowano; pola są takie jak wcześniej.

%1</translation>
    </message>
    <message>
        <source>%1

The boxes already hold every value of this file.</source>
        <translation>%1

Pola zawierają już wszystkie wartości z tego pliku.</translation>
    </message>
    <message>
        <source>No changes</source>
        <translation>Brak zmian</translation>
    </message>
    <message>
        <source>%1

Importing this file changes %2 %3, from the value now to the file&apos;s value. Apply puts the new values into the boxes; nothing is written to the game executable until you save.</source>
        <translation>%1

Import tego pliku zmienia wartości w %2 %3, z obecnej na wartość z pliku. Zastosuj wstawia nowe wartości do pól; nic nie trafi do pliku wykonywalnego gry, dopóki nie zapiszesz.</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Zastosuj</translation>
    </message>
    <message>
        <source>box</source>
        <translation>polu</translation>
    </message>
    <message>
        <source>boxes</source>
        <translation>polach</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Kelvory Exibition Mode[*]</source>
        <translation>Kelvory – tryb towarzyski[*]</translation>
    </message>
    <message>
        <source>Typing in %1</source>
        <translation>Wpisywanie w %1</translation>
    </message>
    <message>
        <source>Choice in %1</source>
        <translation>Wybór w %1</translation>
    </message>
    <message>
        <source>Not stored: %1 keeps %2. Allowed: %3.</source>
        <translation>Nie zapisano: %1 zachowuje %2. Dozwolone: %3.</translation>
    </message>
    <message>
        <source>Import League Setup</source>
        <translation>Import ustawień lig</translation>
    </message>
    <message>
        <source>Restore Original Values</source>
        <translation>Przywrócenie oryginalnych wartości</translation>
    </message>
    <message>
        <source>Step %1</source>
        <translation>Krok w %1</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Ponowne wczytanie</translation>
    </message>
    <message>
        <source>The league tables have changes that are not saved.

Save them to the game executable before closing?</source>
        <translation>Tabele lig mają niezapisane zmiany.

Zapisać je do pliku wykonywalnego gry przed zamknięciem?</translation>
    </message>
    <message>
        <source>Revert to Saved Value</source>
        <translation>Przywróć zapisaną wartość</translation>
    </message>
    <message>
        <source>Put back every value as it was last loaded or saved?

%1 %2 will go back. Edit &gt; Undo takes this back.</source>
        <translation>Przywrócić każdą wartość do stanu z ostatniego wczytania lub zapisu?

Cofnięte zostaną zmiany w %1 %2. Edycja &gt; Cofnij odwraca tę operację.</translation>
    </message>
    <message>
        <source>changed value</source>
        <translation>polu</translation>
    </message>
    <message>
        <source>changed values</source>
        <translation>polach</translation>
    </message>
    <message>
        <source>&amp;Revert</source>
        <translation>&amp;Przywróć</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Revert to Saved</source>
        <translation>Przywrócenie zapisanych wartości</translation>
    </message>
    <message>
        <source>Revert %1 to Saved Value</source>
        <translation>Przywrócenie zapisanej wartości w %1</translation>
    </message>
    <message>
        <source>No changes since the last save</source>
        <translation>Brak zmian od ostatniego zapisu</translation>
    </message>
    <message>
        <source>Changed since the last load or save (saved → now):</source>
        <translation>Zmiany od ostatniego wczytania lub zapisu (zapisane → teraz):</translation>
    </message>
    <message>
        <source>Kelvory cannot start.

%1

Leagues.ini is a text file beside Kelvory; its second line names the game executable in Kelvory&apos;s folder, for example:

Kelvory reads line 2 of this file: the game executable in this folder.
Game.exe</source>
        <translation>Kelvory nie może się uruchomić.

%1

Leagues.ini to plik tekstowy obok Kelvory; jego drugi wiersz podaje plik wykonywalny gry w folderze Kelvory, na przykład:

Kelvory czyta wiersz 2 tego pliku: plik wykonywalny gry w tym folderze.
Game.exe</translation>
    </message>
    <message>
        <source>

Kelvory can write it for you: choose the game executable in its folder.</source>
        <translation>

Kelvory może go za ciebie zapisać: wybierz plik wykonywalny gry w jego folderze.</translation>
    </message>
    <message>
        <source>&amp;Choose the Game Executable...</source>
        <translation>&amp;Wybierz plik wykonywalny gry...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Za&amp;kończ</translation>
    </message>
    <message>
        <source>Choose the Game Executable</source>
        <translation>Wybierz plik wykonywalny gry</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programy</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Wszystkie pliki</translation>
    </message>
</context>
<context>
    <name>platform</name>
    <message>
        <source>No program was given.</source>
        <translation>Nie podano programu.</translation>
    </message>
    <message>
        <source>There is no program “%1”.</source>
        <translation>Nie ma programu „%1”.</translation>
    </message>
    <message>
        <source>“%1” could not be started.</source>
        <translation>Nie udało się uruchomić „%1”.</translation>
    </message>
</context>
</TS>
