<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>Duplora</name>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linkes/Rechtes Bild öffnen...</source>
        <translation>Open left/right picture...</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Stereobild speichern</source>
        <translation>Save stereo picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Originalgröße und Zoom</source>
        <translation>Original size and zoom</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>An Fenstergröße anpassen</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>3er Ansicht</source>
        <translation>Three views</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Interlace</source>
        <translation>Interlace</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Grau-Anaglyph</source>
        <translation>Grey anaglyph</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Farb-Anaglyph</source>
        <translation>Colour anaglyph</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Nebeneinander</source>
        <translation>Side by side</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Übereinander</source>
        <translation>Over/under</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Vertausche Links/Rechts</source>
        <translation>Swap left/right</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ausrichtung oben</source>
        <translation>Alignment up</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ausrichtung unten</source>
        <translation>Alignment down</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ausrichtung links</source>
        <translation>Alignment left</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ausrichtung rechts</source>
        <translation>Alignment right</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Pageflipping für 3D Shutterbrillen</source>
        <translation>Page flipping for 3D shutter glasses</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Vollbild</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Stereobild öffnen...</source>
        <translation>Open stereo picture...</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Justage</source>
        <translation>Adjustment</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Freier Ausschnitt</source>
        <translation>Free trim</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Navigator zeigen/verbergen</source>
        <translation>Show/hide navigator</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Mauszeiger zeigen/verbergen</source>
        <translation>Show/hide mouse pointer</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rückgängig</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Wiederholen</source>
        <translation>Redo</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ausrichtung zurücksetzen</source>
        <translation>Reset alignment</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Zeige/Verberge Rahmen</source>
        <translation>Show/hide frame</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>360° Panorama Modus</source>
        <translation>360° panorama mode</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Zu wenige gemeinsame Merkmale in beiden Bildern gefunden.
Die Bilder können nicht automatisch ausgerichtet werden.</source>
        <translation>Too few common features were found in the two pictures.
The pictures cannot be aligned automatically.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Automatisch ausgerichtet: Drehung %s°, Größe %s %%, Höhe %s Pixel; vertikale Abweichung %s Pixel (vorher %s, %d Merkmale)</source>
        <translation>Aligned automatically: rotation %s°, size %s %%, height %s pixels; vertical difference %s pixels (before %s, %d features)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Duplora</source>
        <translation>Duplora</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Stereobild öffnen</source>
        <translation>Open stereo picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Bild nicht öffnen</source>
        <translation>Cannot open picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>FEHLER</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Werte nicht abspeichern</source>
        <translation>Cannot save the values</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>3D Bild für Handy speichern</source>
        <translation>Save 3D picture for mobile phone</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Stereobild Speichern</source>
        <translation>Save stereo picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Bild nicht speichern</source>
        <translation>Cannot save picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann JPEG Daten nicht apeichern</source>
        <translation>Cannot save JPEG data</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linkes/Rechtes Bild Speichern</source>
        <translation>Save left/right picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Datei bereits vorhanden! Diese Datei ersetzen ?</source>
        <translation>File already exists! Replace this file?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Sicherung nicht erstellen</source>
        <translation>Cannot create backup</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Einfügen nicht möglich</source>
        <translation>Cannot paste</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Achtung</source>
        <translation>Attention</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Druckertreiber nicht gefunden</source>
        <translation>Printer driver not found</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Druckdaten können nicht erstellt werden</source>
        <translation>Cannot create print data</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Druck abgebrochen</source>
        <translation>Printing cancelled</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann keinen Pageflipping Stereotreiber finden</source>
        <translation>Cannot find a page-flipping stereo driver</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Ausrichtungsdaten nicht abspeichern, 
dargestelltes Bild ist keine DAS Datei oder DAS Datei ist
schreibgeschützt. Bitte überprüfen!</source>
        <translation>Cannot save the alignment data, 
the picture shown is not a DAS file or the DAS file is
write-protected. Please check!</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>(%s)
Informationen (X = %d,Y = %d)wurden geschrieben.</source>
        <translation>(%s)
Information (X = %d,Y = %d) was written.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Schreibe Ausrichtungsdaten</source>
        <translation>Write alignment data</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Hilfedatei nicht finden</source>
        <translation>Cannot find help file</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Vollbild	V</source>
        <translation>Full screen	V</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>An Fensterröße anpassen	F</source>
        <translation>Fit to window	F</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Mauszeiger verbergen	M</source>
        <translation>Hide mouse pointer	M</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Mauszeiger anzeigen	M</source>
        <translation>Show mouse pointer	M</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Editieren</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>64K Farben (16)</source>
        <translation>64K colours (16)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Full Farben (32)</source>
        <translation>Full colours (32)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dateityp : %s</source>
        <translation>File type : %s</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Volle Farbanzahl</source>
        <translation>Full colour</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>64k Farben</source>
        <translation>64k colours</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>256 Farben</source>
        <translation>256 colours</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>16 Farben</source>
        <translation>16 colours</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>2 Farben</source>
        <translation>2 colours</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Farben: %s </source>
        <translation>Colours: %s </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße: %dx%d  Farben: %s </source>
        <translation>Picture size: %dx%d  Colours: %s </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße: %dx%d - %dx%d  Farben: %s </source>
        <translation>Picture size: %dx%d - %dx%d  Colours: %s </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dateigröße nach Speichern:
 ca. %d Bytes</source>
        <translation>File size after saving:
 approx. %d bytes</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dateigröße nach Speichern:
 genau %d Bytes</source>
        <translation>File size after saving:
 exactly %d bytes</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fehlgeschlagen beim Speichern! Diese Informationen können nur in DAS Dateien gespeichert werden.</source>
        <translation>Saving failed! This information can only be saved in DAS files.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>(%s) Positionsangaben (X = %d,Y = %d) wurden geschrieben.</source>
        <translation>(%s) Position data (X = %d,Y = %d) was written.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Links(%s) Rechts(%s) Bildgröße(%d x %d) Zoom(%d%%) Ausrichtung(x = %d y = %d)</source>
        <translation>Left(%s) Right(%s) Picture size(%d x %d) Zoom(%d%%) Alignment(x = %d y = %d)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>\Duplora.lnk</source>
        <translation>\Duplora.lnk</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Externes Programm (*.EXE)|*.EXE|Alle Dateien (*.*)|*.*</source>
        <translation>External program (*.EXE)|*.EXE|All files (*.*)|*.*</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>BMP Bild</source>
        <translation>BMP picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>JPEG Bild</source>
        <translation>JPEG picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>JPS Bild</source>
        <translation>JPS picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Susie 32bit plug-in Verzeichnis</source>
        <translation>Susie 32-bit plug-in folder</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Externes Programm</source>
        <translation>External program</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Erstellen/Wiederherstellen DAS Datei</source>
        <translation>Create/restore DAS file</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Nach Eingabe des L/R Bildes oder einer DAS Datei, drücke Erstellen / Wiederherstellen Knopf</source>
        <translation>After choosing the L/R picture or a DAS file, press the Create / Restore button</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bitte ein linkes/rechtes Quellbild oder die DAS Datei angeben.</source>
        <translation>Please give a left/right source picture or the DAS file.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Originalbild wiederherstellen</source>
        <translation>Restore original picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Nach Auswahl der Quelldatei, bitte [Erstellen / Wiederherstellen] drücken.</source>
        <translation>After choosing the source file, please press [Create / Restore].</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann DAS Datei nicht erstellen - vermutlich schreibgeschützt.</source>
        <translation>Cannot create DAS file - probably write-protected.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann DAS Datei nicht wiederherstellen.</source>
        <translation>Cannot restore DAS file.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Originaldatein wiederhergestellt !  Zum Beenden, [Abbrechen] drücken </source>
        <translation>Original files restored!  Press [Cancel] to finish </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Datei erstellt - Zum Beenden [Abbrechen] drücken.</source>
        <translation>File created - press [Cancel] to finish.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Farbpalette nicht erstellen.</source>
        <translation>Cannot create colour palette.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann BMP Datei nicht erstellen.</source>
        <translation>Cannot create BMP file.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>lese... %d %%</source>
        <translation>reading... %d %%</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>schreibe... %d %%</source>
        <translation>writing... %d %%</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Papiergröße:Breite %d.%02dmm Höhe %d.%02dmm</source>
        <translation>Paper size:Width %d.%02dmm Height %d.%02dmm</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linkes Bild(%s [%d x %d]) Rechtes Bild(%s [%d x %d])  (%d/%d)  </source>
        <translation>Left picture(%s [%d x %d]) Right picture(%s [%d x %d])  (%d/%d)  </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Slide Show Intervall %d.%d S.</source>
        <translation>Slide show interval %d.%d s.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße nach Ausrichtung[%d x %d]</source>
        <translation>Picture size after alignment[%d x %d]</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Position Ausrichtung(x = %d y = %d)</source>
        <translation>Alignment position(x = %d y = %d)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße [%d x %d]  Zoom(%d %%)</source>
        <translation>Picture size [%d x %d]  Zoom(%d %%)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linkes Bild einfügen</source>
        <translation>Paste left picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rechtes Bild einfügen</source>
        <translation>Paste right picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>(%d,%d)-(%d,%d) [%d X %d]</source>
        <translation>(%d,%d)-(%d,%d) [%d X %d]</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>vorherige Ausrichtung wird verändert, 
Wollen Sie speichern?</source>
        <translation>The previous alignment will be changed, 
do you want to save?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>-%d.%d Grad</source>
        <translation>-%d.%d degrees</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>%d.%d Grad</source>
        <translation>%d.%d degrees</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Gamma = %d.%02d durchschnittliche Dichte = %d</source>
        <translation>Gamma = %d.%02d average density = %d</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Mehrfachkonvertierung</source>
        <translation>Batch conversion</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Nach Beendignung der aktuellen Aktion Speichervorgang stoppen.</source>
        <translation>Stop saving when the current step is finished.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Vorgang konnte nicht beendet werden</source>
        <translation>The operation could not be ended</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Benutzerabbruch - Datei kann beschädigt sein.</source>
        <translation>User abort - the file may be damaged.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann aus Wunsch den Vorgang nicht beenden</source>
        <translation>Cannot end the operation on request</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dialog beenden</source>
        <translation>Close dialog</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Angegebener Verzeichnis [%s] existiert nicht. Wollen Sie ein neues Verzeichnis erstellen?</source>
        <translation>The folder [%s] does not exist. Do you want to create a new folder?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Erstellen eines neuen Verzeichnisses fehlgeschlagen.</source>
        <translation>Creating a new folder failed.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>DPL wird [%d] von [%s] Dateien umwandeln und im Verzeicnis [ %s] abspeichern. Wollen Sie diesen Vorgang starten ?</source>
        <translation>DPL will convert [%d] of [%s] files and save them in the folder [ %s]. Do you want to start?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Konvertierung bestätigen</source>
        <translation>Confirm conversion</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dieser Dateityp ist unterschiedlich. Diese Datei wird übergangen.</source>
        <translation>This file type is different. This file is skipped.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ergebnis: Leserfehler.<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Result: read error.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>-&gt; Ausgabe(%s)<byte value="xd"/>
</source>
        <translation>-&gt; Output(%s)<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Quellbild von(%d*%d)nach(%d*%d)umgewandelt<byte value="xd"/>
</source>
        <translation>Source picture converted from(%d*%d)to(%d*%d)<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Datei bereits vorhanden. Wollen Sie diese Überschreiben?	</source>
        <translation>File already exists. Do you want to overwrite it?	</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ergebnis : übersprungen.<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Result : skipped.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Speichern fehlgeschlagen. Diese Datei wird übersprungen.</source>
        <translation>Saving failed. This file is skipped.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ergebnis : Fehler beim Speichern<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Result : error while saving<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Ergebmis : Erfolgreich<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Result : success<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fester Ausschnitt (%dx%d)	1</source>
        <translation>Fixed trim (%dx%d)	1</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fester Ausschnitt (%dx%d)	2</source>
        <translation>Fixed trim (%dx%d)	2</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fester Ausschnitt (%dx%d)	3</source>
        <translation>Fixed trim (%dx%d)	3</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fester Ausschnitt (%dx%d)	4</source>
        <translation>Fixed trim (%dx%d)	4</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fester Ausschnitt (%dx%d)	5</source>
        <translation>Fixed trim (%dx%d)	5</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann kein Bild darstellen.
verändern Sie die Bildgröße und Farbanzahl und versuchen Sie es erneut</source>
        <translation>Cannot show a picture.
Change the picture size and the number of colours and try again</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source> - Links</source>
        <translation> - Left</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source> - Rechts</source>
        <translation> - Right</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Änderungen im Bild [%s] speichern ?</source>
        <translation>Save the changes to the picture [%s]?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Asrichten</source>
        <translation>Align</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße (%d X %d)</source>
        <translation>Picture size (%d X %d)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>"%d/%d Quelle(%s)"</source>
        <translation>"%d/%d Source(%s)"</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Datei nicht schreiben, eventuell nur lesen?</source>
        <translation>Cannot write the file, read-only perhaps?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann temporäre Datei nicht erstellen. CD-ROM?</source>
        <translation>Cannot create a temporary file. CD-ROM?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fehler in JPEG Datei. Kann Kommentar nicht hinzufügen.</source>
        <translation>Error in JPEG file. Cannot add the comment.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>%d Dateien umbenennen. Wollen Sie starten ?</source>
        <translation>Rename %d files. Do you want to start?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Diese Datei existiert bereits - wird übersprungen.</source>
        <translation>This file already exists - skipped.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Fehler beim Umbenennen - wird übersprungen.</source>
        <translation>Error while renaming - skipped.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Keine gültige Slide Show Liste!</source>
        <translation>Not a valid slide-show list!</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Numerierung muß für unabhängie(L/R) ungerade sein.</source>
        <translation>The numbering must be odd for separate (L/R) files.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann keine Slide Show Liste erstellen !</source>
        <translation>Cannot create the slide-show list!</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>%d Dateien zur Slide Show Liste hinzugefügt.</source>
        <translation>%d files added to the slide-show list.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann Slide Show Liste nicht öffnen !</source>
        <translation>Cannot open the slide-show list!</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Dateien hinzugefügt</source>
        <translation>Files added</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Löschen OK?</source>
        <translation>Delete?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linkes Bild öffnen</source>
        <translation>Open left picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rechtes Bild öffnen</source>
        <translation>Open right picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Öffne '%s' als Stereopaar?</source>
        <translation>Open '%s' as a stereo pair?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bestätigung</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Logo Bild kann nicht geöffnet werden!<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Cannot open the logo picture!<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Monobild öffnen</source>
        <translation>Open mono picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bild(%s [%d x %d]) (%d/%d)</source>
        <translation>Picture(%s [%d x %d]) (%d/%d)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bild speichern</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Mosaik Bild</source>
        <translation>Mosaic picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Verbinde %d Dateien. Wollen Sie starten ?</source>
        <translation>Join %d files. Do you want to start?</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Bildgröße(%d x %d) muß kleiner als die Texsturgröße(%d x %d) im
 OpenGL Modus sein. 
Soll DPL  die Bildgröße anpassen? </source>
        <translation>The picture size(%d x %d) must be smaller than the texture size(%d x %d) in
 OpenGL mode. 
Shall DPL adjust the picture size? </translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Panorama Modus</source>
        <translation>Panorama mode</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Datei [%s] kann nicht gelesen werden: %s</source>
        <translation>The file [%s] cannot be read: %s</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Datei gibt es nicht.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Datei darf nicht gelesen werden.</source>
        <translation>The file may not be read.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Das Bildformat ist unbekannt.</source>
        <translation>The picture format is unknown.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Das Bild ist zu groß.</source>
        <translation>The picture is too large.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Datei ist beschädigt oder unvollständig.</source>
        <translation>The file is damaged or incomplete.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Kann das Programm [%s] nicht starten.</source>
        <translation>Cannot start the program [%s].</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Datei [%s] ist beschädigt und wurde nur zum Teil gelesen.</source>
        <translation>The file [%s] is damaged and was read only in part.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Tastaturbelegung Pageflipping</source>
        <translation>Page-flipping keys</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Esc, Enter: Beenden</source>
        <translation>Esc, Enter: quit</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Pfeiltasten: Ausrichtung verschieben</source>
        <translation>Arrow keys: move the alignment</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Pos1: Ausrichtung zurücksetzen</source>
        <translation>Home: reset the alignment</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>1 … 9, 0: Schrittweite der Ausrichtung (0 = 10 Pixel)</source>
        <translation>1 … 9, 0: alignment step (0 = 10 pixels)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F2 / F3, Mausrad: Zoom ein / aus</source>
        <translation>F2 / F3, mouse wheel: zoom in / out</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F: An Bildschirm anpassen</source>
        <translation>F: fit to screen</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>J: Originalgröße</source>
        <translation>J: original size</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>L: Bildhöhe an Bildschirm anpassen</source>
        <translation>L: fit picture height to screen</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Umschalt+L: Bildbreite an Bildschirm anpassen</source>
        <translation>Shift+L: fit picture width to screen</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>X: Vertausche Links/Rechts</source>
        <translation>X: swap left/right</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>P: Panorama Modus (360°)</source>
        <translation>P: panorama mode (360°)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Leertaste, Doppelklick links: Nächstes Bild</source>
        <translation>Space, left double-click: next picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rücktaste, Doppelklick rechts: Vorheriges Bild</source>
        <translation>Backspace, right double-click: previous picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>A: Slide Show ein / aus</source>
        <translation>A: slide show on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Y: Ausrichtung in die DAS Datei schreiben</source>
        <translation>Y: write the alignment into the DAS file</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>H, F1: Diese Hilfe ein / aus</source>
        <translation>H, F1: this help on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F5: Informationen ein / aus</source>
        <translation>F5: information on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>I: Horizontal auto scroll</source>
        <translation>I: horizontal auto scroll</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Umschalt+I: Vertikal auto scroll</source>
        <translation>Shift+I: vertical auto scroll</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Beim Scrollen: Pfeiltasten für Richtung und Tempo, andere Taste hält an</source>
        <translation>While scrolling: arrow keys for direction and speed, any other key stops</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Linke Maustaste ziehen: Bild verschieben</source>
        <translation>Drag with the left mouse button: move the picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rechte Maustaste ziehen: Zoom ein / aus</source>
        <translation>Drag with the right mouse button: zoom in / out</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Tastaturbelegung OpenGL Stereo</source>
        <translation>OpenGL stereo keys</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F8: OpenGL Stereo beenden</source>
        <translation>F8: quit OpenGL stereo</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Esc: OpenGL Stereo beenden (außer im Vollbild)</source>
        <translation>Esc: quit OpenGL stereo (except in full screen)</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F2 / F3: Zoom ein / aus</source>
        <translation>F2 / F3: zoom in / out</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F: An Fenstergröße anpassen</source>
        <translation>F: fit to window</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>O: Originalgröße</source>
        <translation>O: original size</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>V, Enter: Vollbild ein / aus</source>
        <translation>V, Enter: full screen on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Leertaste: Nächstes Bild</source>
        <translation>Space: next picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Rücktaste: Vorheriges Bild</source>
        <translation>Backspace: previous picture</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>S: Slide Show ein / aus</source>
        <translation>S: slide show on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>F1: Diese Hilfe ein / aus</source>
        <translation>F1: this help on / off</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Beim Scrollen: Pfeiltasten für Richtung und Tempo</source>
        <translation>While scrolling: arrow keys for direction and speed</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>P: Panorama Modus, jede andere Taste hält an</source>
        <translation>P: panorama mode, any other key stops</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>Die Anzeige bietet kein OpenGL Quad-Buffer Stereo an.
Wählen Sie in den Pageflipping Einstellungen (Alt+P) NVidia für die
Ausgabe nebeneinander in doppelter Breite oder Win3D.</source>
        <translation>The display offers no OpenGL quad-buffer stereo.
In the page-flipping settings (Alt+P), choose NVidia for
side-by-side output at double width, or Win3D.</translation>
    </message>
    <message>
        <location filename="../core/string_table.cpp"/>
        <source>OpenGL kann auf dieser Anzeige nicht benutzt werden.</source>
        <translation>OpenGL cannot be used on this display.</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>&amp;Nebeneinander</source>
        <translation>&amp;Side by side</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>&amp;Übereinander</source>
        <translation>&amp;Over/under</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>3er &amp;Ansicht</source>
        <translation>Three &amp;views</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>&amp;Interlace</source>
        <translation>&amp;Interlace</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>&amp;Grau-Anaglyph</source>
        <translation>&amp;Grey anaglyph</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/display_modes.cpp"/>
        <source>&amp;Farb-Anaglyph</source>
        <translation>&amp;Colour anaglyph</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>rot/&amp;cyan</source>
        <translation>red/&amp;cyan</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>&amp;rot/grün</source>
        <translation>&amp;red/green</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>rot/&amp;blau</source>
        <translation>red/&amp;blue</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>&amp;gelb/blau</source>
        <translation>&amp;yellow/blue</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Farbe (&amp;rot/cyan)</source>
        <translation>Colour (&amp;red/cyan)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Halbton (rot/&amp;cyan)</source>
        <translation>Half-tone (red/&amp;cyan)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Farbe (&amp;gelb/blau)</source>
        <translation>Colour (&amp;yellow/blue)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Halbton (gelb/&amp;blau)</source>
        <translation>Half-tone (yellow/&amp;blue)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>&amp;Dubois (rot/cyan)</source>
        <translation>&amp;Dubois (red/cyan)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Dubois (grün/&amp;magenta)</source>
        <translation>Dubois (green/&amp;magenta)</translation>
    </message>
    <message>
        <location filename="../../src/core/stereo/anaglyph_methods.cpp"/>
        <source>Dubois (&amp;amber/blau)</source>
        <translation>Dubois (&amp;amber/blue)</translation>
    </message>
    <message>
        <location filename="../../src/app/align/gamma_choices.cpp"/>
        <source>rot/grün</source>
        <translation>red/green</translation>
    </message>
    <message>
        <location filename="../../src/app/align/gamma_choices.cpp"/>
        <source>Farbe (R/C)</source>
        <translation>Colour (R/C)</translation>
    </message>
    <message>
        <location filename="../../src/app/align/gamma_choices.cpp"/>
        <source>Halbton (R/C)</source>
        <translation>Half-tone (R/C)</translation>
    </message>
    <message>
        <location filename="../../src/app/align/gamma_choices.cpp"/>
        <source>Farbe (G/B)</source>
        <translation>Colour (Y/B)</translation>
    </message>
    <message>
        <location filename="../../src/app/align/gamma_choices.cpp"/>
        <source>Halbton (G/B)</source>
        <translation>Half-tone (Y/B)</translation>
    </message>
    <message>
        <location filename="../../src/app/batch/slide_list.cpp"/>
        <source>File info. was writen in script file (%1)</source>
        <translation>File info was written to the script file (%1)</translation>
    </message>
    <message>
        <location filename="../../src/app/batch/slide_list.cpp"/>
        <source>Die Slide Show Liste
%1
möchte für den Hintergrundton starten:

%2

Programm starten?</source>
        <translation>The slide-show list
%1
wants to start for its background sound:

%2

Start the program?</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Linkes/Rechtes Bild öfnnen...</source>
        <translation>&amp;Open left/right picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Stereo&amp;bild speichern...</source>
        <translation>Save stereo &amp;picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Originalgröße (100%)</source>
        <translation>&amp;Original size (100%)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>An &amp;Fenstergröße anpassen</source>
        <translation>&amp;Fit to window</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Zoom &amp;ein</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Zoom &amp;aus</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ver&amp;tausche Links/Rechts</source>
        <translation>S&amp;wap left/right</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausrichtung (&amp;oben)</source>
        <translation>Alignment (&amp;up)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausrichtung (&amp;unten)</source>
        <translation>Alignment (&amp;down)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausrichtung (&amp;links)</source>
        <translation>Alignment (&amp;left)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausrichtung (&amp;rechts)</source>
        <translation>Alignment (&amp;right)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Pageflipping für 3D Shutterbrillen</source>
        <translation>&amp;Page flipping for 3D shutter glasses</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Vollbild</source>
        <translation>&amp;Full screen</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Stereobild öffnen...</source>
        <translation>Open &amp;stereo picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Drucken...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Justage...</source>
        <translation>&amp;Adjustment...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Freier &amp;Ausschnitt</source>
        <translation>Free &amp;trim</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Bildgröße...</source>
        <translation>Picture &amp;size...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;50% Größe</source>
        <translation>&amp;50% size</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;75% Größe</source>
        <translation>&amp;75% size</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;150% Größe</source>
        <translation>&amp;150% size</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;200% Größe</source>
        <translation>&amp;200% size</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Navigator zeigen/verbergen</source>
        <translation>&amp;Navigator show/hide</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>3D-Bild für &amp;Handy erstellen</source>
        <translation>Make 3D picture for mobile &amp;phone</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Mauszeiger zeigen/verbergen</source>
        <translation>&amp;Mouse pointer show/hide</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Rückgängig</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Wiederholen</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausrichtung zu&amp;rücksetzen</source>
        <translation>&amp;Reset alignment</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Panorama Modus (360°)</source>
        <translation>Panorama mode (360°)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Page&amp;flipping Einstellungen...</source>
        <translation>Page-&amp;flipping settings...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Über...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Einfügen</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Einstellungen...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Druck&amp;einstellung...</source>
        <translation>Print s&amp;etup...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Benutzerdefinierter Ausschnitt...</source>
        <translation>&amp;Custom trim...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausschnittsgröße &amp;1</source>
        <translation>Trim size &amp;1</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausschnittsgröße &amp;2</source>
        <translation>Trim size &amp;2</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausschnittsgröße &amp;3</source>
        <translation>Trim size &amp;3</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausschnittsgröße &amp;4</source>
        <translation>Trim size &amp;4</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Ausschnittsgröße &amp;5</source>
        <translation>Trim size &amp;5</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Nächstes Bild</source>
        <translation>&amp;Next picture</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Vorheriges Bild</source>
        <translation>Pre&amp;vious picture</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide Sho&amp;w</source>
        <translation>Slide sho&amp;w</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Externes Programm starten</source>
        <translation>&amp;Start external program</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Nächst&amp;es Bildpaar</source>
        <translation>Next picture pai&amp;r</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Linkes/&amp;Rechtes Bild speichern...</source>
        <translation>Save left/&amp;right picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Mehrfach Kon&amp;vertierung aus einer Liste...</source>
        <translation>Batch con&amp;version from a list...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Mehrfach &amp;Konvertierung...</source>
        <translation>Batch &amp;conversion...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Drehung 90° nach &amp;Rechts</source>
        <translation>Rotate 90° &amp;right</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Drehung 90° nach &amp;Links</source>
        <translation>Rotate 90° &amp;left</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Schärfen...</source>
        <translation>S&amp;harpen...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Erstellen/Wiederherstellen &amp;DAS Datei...</source>
        <translation>Create/restore &amp;DAS file...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Schreibe &amp;Ausrichtung</source>
        <translation>Write &amp;alignment</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Gamma Justage...</source>
        <translation>&amp;Gamma adjustment...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Text hinzufügen</source>
        <translation>Add &amp;text</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Logo hinzufügen</source>
        <translation>Add &amp;logo</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Mehrfach &amp;Umbenennen...</source>
        <translation>Batch re&amp;name...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;HTML Datei erstellen...</source>
        <translation>&amp;HTML file...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide Show Liste &amp;erstellen/verändern...</source>
        <translation>&amp;Make/change slide-show list...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide Show &amp;Liste öffnen...</source>
        <translation>Open slide-show &amp;list...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Erweiterte Justage...</source>
        <translation>&amp;Extended adjustment...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Automatisch ausrichten</source>
        <translation>&amp;Align automatically</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Rahmen Einstellungen...</source>
        <translation>Frame settings...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Kantenerkennung...</source>
        <translation>&amp;Edge detection...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>DOS Start Einstellungen...</source>
        <translation>Command-line start settings...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Bildhöhe an Bidschirm anpassen</source>
        <translation>Fit picture height to screen</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Horizontal auto scroll (für Panorama)</source>
        <translation>Horizontal auto scroll (for panorama)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Datei zur Slide Show Liste &amp;hinzufügen</source>
        <translation>&amp;Add file to the slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide Show Liste aus&amp;wählen</source>
        <translation>Choose slide-show &amp;list</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Lösche &amp;Datei aus der Slide Show Liste</source>
        <translation>Remove &amp;file from the slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Einstellungen Freier Ausschnitt...</source>
        <translation>Free trim setti&amp;ngs...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Einzelnes Bild öfnnen...</source>
        <translation>Open &amp;single picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Mosaik Bild...</source>
        <translation>&amp;Mosaic picture...</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Bildbreite an Bildschirm anpassen</source>
        <translation>Fit picture width to screen</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Vertikal auto scroll (für Panorama)</source>
        <translation>Vertical auto scroll (for panorama)</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Editieren</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>&amp;Stereo</source>
        <translation>&amp;Stereo</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>A&amp;usrichten</source>
        <translation>&amp;Align</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide Show L&amp;iste</source>
        <translation>Slide-show l&amp;ist</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>Slide S&amp;how</source>
        <translation>Slide s&amp;how</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/commands.cpp"/>
        <source>1&amp;00% Größe</source>
        <translation>1&amp;00% size</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>Jpeg Stereo File</source>
        <translation>Jpeg Stereo File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>DAS File</source>
        <translation>DAS File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>Jpeg File</source>
        <translation>Jpeg File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>BMP File</source>
        <translation>BMP File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>BMP Interlaced File</source>
        <translation>BMP Interlaced File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>Susie plug-in File</source>
        <translation>Susie plug-in File</translation>
    </message>
    <message>
        <location filename="../../src/app/shell/dialog_texts.cpp"/>
        <source>Image Size(x=%d  Y=%d)  %d/%d</source>
        <translation>Image Size(x=%d  Y=%d)  %d/%d</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>erweiterte Justage</source>
        <translation>Extended adjustment</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Links (Rot):</source>
        <translation>Left (red):</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Rechts (Cyan):</source>
        <translation>Right (cyan):</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>beide Rotationen verbinden</source>
        <translation>Link both rotations</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Perspektive</source>
        <translation>Perspective</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Brennweite:</source>
        <translation>Focal length:</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>V_Links (Rot):</source>
        <translation>V_Left (red):</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>V_Rechts (Cyan):</source>
        <translation>V_Right (cyan):</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>H_Rechts (Cyan):</source>
        <translation>H_Right (cyan):</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>H. Pos:</source>
        <translation>H. pos:</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>V. Pos</source>
        <translation>V. pos</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>beide Bilder (Anaglyph)</source>
        <translation>Both pictures (anaglyph)</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Links (Rot)</source>
        <translation>Left (red)</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Rechts (Cyan)</source>
        <translation>Right (cyan)</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Wechsel</source>
        <translation>Alternate</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>x 10 ms.</source>
        <translation>x 10 ms.</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Größe</source>
        <translation>Size</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Kanten Suche</source>
        <translation>Edge search</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Hilfslinie</source>
        <translation>Guide line</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Hilfslinie zurücksetzen</source>
        <translation>Reset guide line</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Auto Justage</source>
        <translation>Auto adjustment</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Werte speichern</source>
        <translation>Save values</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Werte wiederherstellen</source>
        <translation>Restore values</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Nach dem Drücken von [OK], bitte die Rückgängig Funktion ([Z]-Taste) drücken, bevor dieses Menü wieder aufgerufen wird.</source>
        <translation>After pressing [OK], please use Undo (the [Z] key) before you open this menu again.</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>-90.0 Grad</source>
        <translation>-90.0 degrees</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/adjust_dialog.cpp"/>
        <source>Löschen</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Gamma Justage</source>
        <translation>Gamma adjustment</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Linkes Bild</source>
        <translation>Left picture</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Rechtes Bild</source>
        <translation>Right picture</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Anaglyph Einstellungen</source>
        <translation>Anaglyph settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Farben</source>
        <translation>Colours</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Vorschau</source>
        <translation>Preview</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Links:</source>
        <translation>Left:</translation>
    </message>
    <message>
        <location filename="../../src/gui/align/gamma_dialogs.cpp"/>
        <source>Rechts:</source>
        <translation>Right:</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Anaglyph</source>
        <translation>Anaglyph</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Unabhängig(L/R)</source>
        <translation>Separate (L/R)</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Text File (*.TXT *.txt)</source>
        <translation>Text File (*.TXT *.txt)</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Mehrfach Konvertierung aus einer Liste</source>
        <translation>Batch conversion from a list</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Mehrfach Konvertierung</source>
        <translation>Batch conversion</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Dateien konvertieren</source>
        <translation>Convert files</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Auswahl konvertieren</source>
        <translation>Convert selection</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Alle Dateien konvertieren</source>
        <translation>Convert all files</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Verzeichnis für Rechts : </source>
        <translation>Folder for right : </translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Please select Right image folder</source>
        <translation>Please choose the folder of the right pictures</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Ausgabe</source>
        <translation>Output</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Qualität</source>
        <translation>Quality</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Vorschaubild hinzufügen</source>
        <translation>Add thumbnail</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Zielverzeichnis</source>
        <translation>Target folder</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Umrechnen</source>
        <translation>Convert</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Breite:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Schärfe</source>
        <translation>Sharpness</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>1 (weich) - 50 (hart)</source>
        <translation>1 (soft) - 50 (hard)</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>vertausche L/R</source>
        <translation>swap L/R</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Text hinzufügen</source>
        <translation>Add text</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Logo hinzufügen</source>
        <translation>Add logo</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_dialog.cpp"/>
        <source>Rahmen speichern</source>
        <translation>Save frame</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_progress.cpp"/>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/gui/batch/conversion_progress.cpp"/>
        <source>Anhalten</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Außenrahmen:</source>
        <translation>Outer frame:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Mittelrahmen:</source>
        <translation>Middle frame:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Innenrahmen:</source>
        <translation>Inner frame:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Rahmen</source>
        <translation>Frame</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>&amp;Rahmen zeigen</source>
        <translation>&amp;Show frame</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>&amp;Ecken runden</source>
        <translation>&amp;Round corners</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Rahmenbreite (Punkte) und Farbe</source>
        <translation>Frame width (dots) and colour</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Anzeige</source>
        <translation>Display</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Drucken/Speichern</source>
        <translation>Print/save</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/border_dialog.cpp"/>
        <source>Farbe...</source>
        <translation>Colour...</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>Image files (JPG,BMP) (*.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.das *.DAS *.ios *.IOS)</source>
        <translation>Image files (JPG,BMP) (*.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.das *.DAS *.ios *.IOS)</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>DAS Stereo Files (*.das *.DAS)</source>
        <translation>DAS Stereo Files (*.das *.DAS)</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>Erstellen / Wiederherstellen DAS Stereo Datei</source>
        <translation>Create / restore DAS stereo file</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>Linkes Bild:</source>
        <translation>Left picture:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>Rechtes Bild:</source>
        <translation>Right picture:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/das_dialog.cpp"/>
        <source>Erstellen/Wiederherstellen</source>
        <translation>Create/restore</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/filter_dialogs.cpp"/>
        <source>Schärfen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/filter_dialogs.cpp"/>
        <source>Schärfe:</source>
        <translation>Sharpness:</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/filter_dialogs.cpp"/>
        <source>Kantenerkennung</source>
        <translation>Edge detection</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/filter_dialogs.cpp"/>
        <source>Schwellwert :</source>
        <translation>Threshold :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/filter_dialogs.cpp"/>
        <source>0 (schwarz) - 255 (weiß)</source>
        <translation>0 (black) - 255 (white)</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>oben links</source>
        <translation>top left</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>oben rechts</source>
        <translation>top right</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>unten links</source>
        <translation>bottom left</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>unten rechts</source>
        <translation>bottom right</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>X-Abstand :</source>
        <translation>X distance :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Y-Abstand :</source>
        <translation>Y distance :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Tiefe :</source>
        <translation>Depth :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Einstellungen wiederherstellen</source>
        <translation>Restore settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Text :</source>
        <translation>Text :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Zeichensatz...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Zeichen werden kantengeglättet sofern dieses der Zeichensatz unterstützt.</source>
        <translation>Characters are smoothed if the font supports it.</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Schatten anwenden</source>
        <translation>Apply shadow</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Schattenfarbe : </source>
        <translation>Shadow colour : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Textfarbe :</source>
        <translation>Text colour :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Textfeld anwenden</source>
        <translation>Apply text band</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Textfeldhöhe : </source>
        <translation>Text band height : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Textfeldfarbe : </source>
        <translation>Text band colour : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Einstellungen speichern</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Logo Bild hinzufügen</source>
        <translation>Add logo picture</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Logo Bild :</source>
        <translation>Logo picture :</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>verwende Transparentfarbe</source>
        <translation>use transparent colour</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Transparentfarbe : </source>
        <translation>Transparent colour : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Auswahl</source>
        <translation>Pick</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>verwende Feldbereich</source>
        <translation>use band</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Feldhöhe : </source>
        <translation>Band height : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Feldfarbe : </source>
        <translation>Band colour : </translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Einstellungen sichern</source>
        <translation>Keep settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Logo Image File load error!</source>
        <translation>Logo Image File load error!</translation>
    </message>
    <message>
        <location filename="../../src/gui/edit/overlay_dialogs.cpp"/>
        <source>Logo Image Files (*.bmp *.jpg *.tif)</source>
        <translation>Logo Image Files (*.bmp *.jpg *.tif)</translation>
    </message>
    <message>
        <location filename="../../src/gui/flip/flip_windows.cpp"/>
        <source>OpenGL DPL</source>
        <translation>OpenGL DPL</translation>
    </message>
    <message>
        <location filename="../../src/gui/flip/page_flipping.cpp"/>
        <source>Duplora NVidia</source>
        <translation>Duplora NVidia</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/folder_tool_dialog.cpp"/>
        <source>All Files (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/folder_tools.cpp"/>
        <source>Image Size(x=%1  Y=%2)  %3/%4</source>
        <translation>Image Size(x=%1  Y=%2)  %3/%4</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/folder_tools.cpp"/>
        <source>%1
Image Size(x=%2  Y=%3)</source>
        <translation>%1
Image Size(x=%2  Y=%3)</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_commands.cpp"/>
        <source>Not find pair image file!</source>
        <translation>Cannot find the partner picture file!</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Slide Show Liste</source>
        <translation>Slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Slide Show Liste öffnen</source>
        <translation>Open slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Pageflipping</source>
        <translation>Page flipping</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Vertausche L/R</source>
        <translation>Swap L/R</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Kommentar verbergen</source>
        <translation>Hide comment</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Autostart Slide Show</source>
        <translation>Start the slide show at once</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Intervall:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Slide Show Liste erstellen/verändern</source>
        <translation>Make/change slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Vorschau zeigen</source>
        <translation>Show preview</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Liste:</source>
        <translation>List:</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Die Liste löschen</source>
        <translation>Delete the list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Verzeichnis Rechts : </source>
        <translation>Right folder : </translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>x 0.1 S ( '0' is default)</source>
        <translation>x 0.1 s ('0' is the default)</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Komentar:</source>
        <translation>Comment:</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Auswahl hinzufügen</source>
        <translation>Add selection</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Alle Dateien hinzufügen</source>
        <translation>Add all files</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Manuell</source>
        <translation>Manual</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Alle Zeilen der Liste löschen</source>
        <translation>Delete all lines of the list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/list_dialogs.cpp"/>
        <source>Slide Show Liste auswählen</source>
        <translation>Choose slide-show list</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Mehrfach Umbenennen</source>
        <translation>Batch rename</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Zusatzbuchstaben</source>
        <translation>Added letters</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Buchstaben löschen</source>
        <translation>Delete letters</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Buchstaben austauschen</source>
        <translation>Replace letters</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Umbenennen</source>
        <translation>Rename</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>(ausgetauschte Buchstaben beinhalten die Dateierweiterung)</source>
        <translation>(replaced letters include the file extension)</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Vorsilbe</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Startnummer</source>
        <translation>Start number</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Nachsilbe</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>[IMG_*.JPG] ursprüngliche Numerierung beibehalten</source>
        <translation>[IMG_*.JPG] keep the original numbering</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Auswahl umbenennen</source>
        <translation>Rename selection</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Alle Dateien umbenennen</source>
        <translation>Rename all files</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Zieldatei:</source>
        <translation>Target file:</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Ausgewählte Dateien verbinden</source>
        <translation>Join selected files</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>Alle Dateien verbinden</source>
        <translation>Join all files</translation>
    </message>
    <message>
        <location filename="../../src/gui/lists/rename_dialogs.cpp"/>
        <source>BMP Files (*.bmp *.BMP)</source>
        <translation>BMP Files (*.bmp *.BMP)</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>Make HTML File</source>
        <translation>Make HTML File</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>Grau Anaglyph</source>
        <translation>Grey anaglyph</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>Farb Anaglyph</source>
        <translation>Colour anaglyph</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>Auf Applet Größe skalieren</source>
        <translation>Scale to applet size</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>1 weich</source>
        <translation>1 soft</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>50 hart</source>
        <translation>50 hard</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/html_save_dialog.cpp"/>
        <source>Zeige HTML nach Abspeichern</source>
        <translation>Show HTML after saving</translation>
    </message>
    <message>
        <location filename="../../src/gui/output/output_commands.cpp"/>
        <source>Drucke...</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Druckeinstellungen</source>
        <translation>Print settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Oben:</source>
        <translation>Top:</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Unten:</source>
        <translation>Bottom:</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Druckgröße :Breite</source>
        <translation>Print size :Width</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Höhe</source>
        <translation>Height</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Zentriert</source>
        <translation>Centred</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>4 Zoll Breite</source>
        <translation>4 inch width</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Drucker...</source>
        <translation>Printer...</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>Drucken...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <location filename="../../src/gui/print/print_settings_dialog.cpp"/>
        <source>( %1dot )</source>
        <translation>( %1dot )</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/main_window.cpp"/>
        <source>Strg+</source>
        <translation>Ctrl+</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/main_window.cpp"/>
        <source>Umschalt+</source>
        <translation>Shift+</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/main_window.cpp"/>
        <source>Die laufende Arbeit abbrechen (Esc)</source>
        <translation>Stop the work in progress (Esc)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>JPS/DAS/BMI/JPG/STJ/BMP/TIF File (*.JPS *.DAS *.BMI *.JPG *.JPEG *.STJ *.BMP *.TIF *.TIFF *.MPO *.jps *.das *.bmi *.jpg *.jpeg *.stj *.bmp *.tif *.tiff *.mpo)</source>
        <translation>JPS/DAS/BMI/JPG/STJ/BMP/TIF File (*.JPS *.DAS *.BMI *.JPG *.JPEG *.STJ *.BMP *.TIF *.TIFF *.MPO *.jps *.das *.bmi *.jpg *.jpeg *.stj *.bmp *.tif *.tiff *.mpo)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>MPO Stereo File (*.mpo *.MPO)</source>
        <translation>MPO Stereo File (*.mpo *.MPO)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>Tri-Delta (TT)</source>
        <translation>Tri-Delta (TT)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>Tri-Delta (BB)</source>
        <translation>Tri-Delta (BB)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>links 90°</source>
        <translation>left 90°</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>rechts 90°</source>
        <translation>right 90°</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>180° drehen</source>
        <translation>Turn 180°</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>Sie können mehrere Bilder (L/R) zugleich auswählen. </source>
        <translation>You can choose several pictures (L/R) at once. </translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/open_dialogs.cpp"/>
        <source>in Normalgröße öffnen</source>
        <translation>Open at normal size</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Dateigröße für eine Übertragung zum Handy kann maximal 10240 Bytes groß sein. Bestätigen Sie die zu speichernde Größe vor dem Abspeichern.</source>
        <translation>A file sent to a mobile phone can be at most 10240 bytes. Check the size to be saved before saving.</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Qualität:</source>
        <translation>Quality:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>genaue Größe</source>
        <translation>Exact size</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Exif der Kamera übernehmen</source>
        <translation>Keep the camera's Exif</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Kamera, Aufnahmedatum und Belichtung des linken Bildes mitspeichern</source>
        <translation>Save the camera, the date taken and the exposure of the left picture with it</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Halbe Breite/Höhe (3D-TV, VR)</source>
        <translation>Half width/height (3D TV, VR)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>jedes Bild halb so breit (nebeneinander) oder halb so hoch (übereinander)</source>
        <translation>each view half as wide (side by side) or half as high (over/under)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>Linkes Bild horizontal kippen</source>
        <translation>Flip left picture horizontally</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/save_dialogs.cpp"/>
        <source>spiegelt das linke Bild horizontal</source>
        <translation>mirrors the left picture horizontally</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Allgemein</source>
        <translation>General</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Maximiert starten</source>
        <translation>Start maximised</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Bilder zur Mittellinie zusammenrücken</source>
        <translation>Move the pictures together at the centre line</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Schnellausrichtungsdialog erweitert</source>
        <translation>Extended quick alignment dialog</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Ausrichtungsschritt (Pixel):</source>
        <translation>Alignment step (pixels):</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Diashow-Intervall (1/10 s):</source>
        <translation>Slide-show interval (1/10 s):</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Freiraum um das Bild (Pixel):</source>
        <translation>Space around the picture (pixels):</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Hintergrundfarbe:</source>
        <translation>Background colour:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Ausschnitt</source>
        <translation>Trim</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Breite</source>
        <translation>Width</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Vorgabe %1:</source>
        <translation>Preset %1:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Vorgabeausschnitt auf die Vorgabegröße umrechnen</source>
        <translation>Scale a preset trim to the preset size</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Ausschnitt in zwei Schritten: erst Größe, dann Lage</source>
        <translation>Trim in two steps: first the size, then the place</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Plug-ins und externes Programm</source>
        <translation>Plug-ins and external program</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Angezeigtes Bild an das externe Programm geben</source>
        <translation>Give the shown picture to the external program</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Plug-in-Verzeichnis:</source>
        <translation>Plug-in folder:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>(gilt ab dem nächsten Start)</source>
        <translation>(takes effect at the next start)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Externes Programm:</source>
        <translation>External program:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Dateitypen mit Duplora öffnen</source>
        <translation>Open file types with Duplora</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Senden an</source>
        <translation>Send to</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Eintrag „Duplora“ im Kontextmenü der Dateimanager:</source>
        <translation>Entry “Duplora” in the file managers' context menu:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Hinzufügen</source>
        <translation>Add</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Susie 32bit plug-in (*.spi *.SPI)</source>
        <translation>Susie 32-bit plug-in (*.spi *.SPI)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Alle Dateien (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Farbe</source>
        <translation>Colour</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>nicht vorhanden</source>
        <translation>not present</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Pageflipping Einstellungen</source>
        <translation>Page-flipping settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Stereotreiber</source>
        <translation>Stereo driver</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Auflösung:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Farben:</source>
        <translation>Colours:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Texturgröße:</source>
        <translation>Texture size:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Anaglyph (Grau)</source>
        <translation>Anaglyph (grey)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Anaglyph (Farbe)</source>
        <translation>Anaglyph (colour)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Pageflipping (Zurück)</source>
        <translation>Page flipping (back)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Pageflipping (Beenden)</source>
        <translation>Page flipping (quit)</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Start von der Befehlszeile</source>
        <translation>Start from the command line</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Dateiformat</source>
        <translation>File format</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Beim Start übergebene Dateien so öffnen und anzeigen:</source>
        <translation>Open and show files given at start like this:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Einstellungen Freier Ausschnitt</source>
        <translation>Free trim settings</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Seitenverhältnis beim freien Ausschnitt beibehalten</source>
        <translation>Keep the aspect ratio for the free trim</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Seitenverhältnis X : Y</source>
        <translation>Aspect ratio X : Y</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Über Duplora</source>
        <translation>About Duplora</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/settings_windows.cpp"/>
        <source>Stereofotos öffnen, anzeigen, ausrichten, bearbeiten und speichern.</source>
        <translation>Open, show, align, edit and save stereo photographs.</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Umrechnung Bildgröße</source>
        <translation>Convert picture size</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>neu berechnen</source>
        <translation>Recalculate</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Originalgröße:</source>
        <translation>Original size:</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Verhältnis nicht beibehalten</source>
        <translation>Do not keep the ratio</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Verhältnis beibehalten</source>
        <translation>Keep the ratio</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Verhältnis mit Rahmen beibehalten</source>
        <translation>Keep the ratio with a frame</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Nach Ausschittsanpassung auf obige Größe umrechnen.</source>
        <translation>After adjusting the trim, scale to the size above.</translation>
    </message>
    <message>
        <location filename="../../src/gui/shell/trim_dialogs.cpp"/>
        <source>Höhe:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <location filename="../../src/gui/stereo/navigator_window.cpp"/>
        <source>Navigator</source>
        <translation>Navigator</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>oder</source>
        <translation>or</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>Aufruf: duplora-convert [OPTIONEN] FILE...        Stereodateien umwandeln
        duplora-convert [OPTIONEN] --list LIST    die Paare einer Slide Show Liste
                                                  umwandeln

  -o, --output DIR       Zielordner, wird angelegt, wenn er fehlt (Vorgabe: der
                         letzte Speicherordner, sonst der aktuelle Ordner)
      --from LAYOUT      sbs, ou, interlace, anaglyph, mpo (Mehrbilddatei), auto
                         (aus dem Inhalt jeder Datei erkannt) oder lr (getrennte
                         linke und rechte Dateien: jede FILE mit ihrem _l/_r-
                         Partner, sonst mit der nächsten FILE) (Vorgabe sbs)
      --right-folder DIR mit --from lr: die rechten Dateien aus DIR nehmen
      --to LAYOUT        %1
                         (zwei Dateien, _l und _r) (Vorgabe %2)
      --type TYPE        %3 (Vorgabe %4)
      --quality N        JPEG-Qualität 1-99 (Vorgabe: die gespeicherte Qualität)
      --exif-thumbnail   JPG- und JPS-Dateien einen Exif-Block mit Vorschaubild
                         geben
      --keep-exif        das Exif der linken Quelle (Kamera, Datum, Belichtung) in
                         JPG-, JPS- und MPO-Dateien übernehmen, Größe und Lage
                         berichtigt
      --angle L,R        die Bilder um L und R Grad drehen (eine Nachkommastelle)
      --size L,R         die Bilder auf L und R Prozent skalieren (0-200), gleiche
                         Pixelgröße
      --position H,V     die Bilder um H und V Pixel gegeneinander verschieben
      --gamma L,R        Gamma der Bilder, 0.01-5.00 (etwa 1.00,1.50)
      --width W          das Ergebnis auf W Pixel Breite umrechnen
      --sharpen N        die Bilder schärfen, 1 (weich) - 50 (hart)
      --swap             linkes und rechtes Bild vertauschen
      --auto-align       das rechte Bild nach gefundenen Merkmalen an das linke
                         anpassen (Drehung, Größe, Höhe und Trapez; die Tiefe
                         bleibt, wie sie ist)
      --text, --logo, --border
                         gespeicherten Text, Logo und Rahmen einbrennen
      --grey-pair PAIR   %5
      --colour-kind KIND %6
                         (Vorgabe: die gespeicherte Anaglyph-Wahl)
      --yes              vorhandene Ausgaben ersetzen, aber nie eine Quelldatei
                         (ohne diese Option werden sie übersprungen)
  -q, --quiet            kein Protokoll ausgeben
  -h, --help             diese Hilfe zeigen

Rückgabewert: 0 jede Datei umgewandelt, 1 eine Datei ist fehlgeschlagen, wurde
übersprungen oder nur teilweise gelesen, 2 Aufruffehler.
</source>
        <translation>Usage: duplora-convert [OPTIONS] FILE...        convert stereo files
       duplora-convert [OPTIONS] --list LIST    convert the pairs of a slide-show list

  -o, --output DIR       target folder, created when missing (default: the last
                         save folder, else the current folder)
      --from LAYOUT      sbs, ou, interlace, anaglyph, mpo (multi-picture file), auto
                         (told from each file's content) or lr (separate left and
                         right files: each FILE with its _l/_r partner, else with
                         the next FILE) (default sbs)
      --right-folder DIR with --from lr: take the right files from DIR
      --to LAYOUT        %1
                         (two files, _l and _r) (default %2)
      --type TYPE        %3 (default %4)
      --quality N        JPEG quality 1-99 (default: the stored quality)
      --exif-thumbnail   give JPG and JPS files an Exif block with a thumbnail
      --keep-exif        carry the left source's Exif (camera, date, exposure) into
                         JPG, JPS and MPO files, sizes and orientation made right
      --angle L,R        rotate the views by L and R degrees (one decimal)
      --size L,R         scale the views to L and R percent (0-200), same pixel size
      --position H,V     align the views by H and V pixels
      --gamma L,R        gamma of the views, 0.01-5.00 (as 1.00,1.50)
      --width W          resize the result to W pixels wide
      --sharpen N        sharpen the views, 1 (soft) - 50 (hard)
      --swap             exchange the left and right views
      --auto-align       fit the right view to the left by matched features (roll,
                         size, height and keystone; the depth stays as it is)
      --text, --logo, --border
                         burn in the stored text, logo and frame settings
      --grey-pair PAIR   %5
      --colour-kind KIND %6
                         (default: the stored anaglyph choices)
      --yes              replace existing outputs, but never a source file (without
                         it they are skipped)
  -q, --quiet            print no log
  -h, --help             show this help

Exit status: 0 every file converted, 1 a file failed, was skipped or was read only
in part, 2 usage error.
</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>ungültiger Wert für --%1: '%2'</source>
        <translation>bad value for --%1: '%2'</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>nur eine --list kann umgewandelt werden</source>
        <translation>only one --list can be converted</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>entweder Dateien oder --list angeben, nicht beides</source>
        <translation>give either files or --list, not both</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>keine Dateien zum Umwandeln</source>
        <translation>no files to convert</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>mehr als %1 Dateien</source>
        <translation>more than %1 files</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>--right-folder braucht --from lr</source>
        <translation>--right-folder needs --from lr</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>duplora-convert: %1 (siehe --help)
</source>
        <translation>duplora-convert: %1 (try --help)
</translation>
    </message>
    <message>
        <location filename="../../src/cli/convert_main.cpp"/>
        <source>Warnung : Quelle(%1) nur teilweise gelesen.
</source>
        <translation>Warning : source(%1) read only in part.
</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>Duplora – Stereobilder öffnen, ausrichten, bearbeiten und speichern.
Eine Datei öffnet ein Stereobild (oder eine Slide Show Liste *.txt); zwei Dateien
öffnen ein Bildpaar, die zweite als linkes Bild.</source>
        <translation>Duplora – open, align, edit and save stereo pictures.
One file opens a stereo picture (or a slide-show list *.txt); two files
open a pair, the second as the left picture.</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>Stereobild, Liste oder rechtes Bild</source>
        <translation>Stereo picture, list or right picture</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>[rechts]</source>
        <translation>[right]</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>links</source>
        <translation>left</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>linkes Bild</source>
        <translation>left picture</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>[links]</source>
        <translation>[left]</translation>
    </message>
    <message>
        <location filename="../../src/main.cpp"/>
        <source>Bildschirmfotos in ORDNER schreiben</source>
        <translation>Write screenshots to FOLDER</translation>
    </message>
    <message>
        <source>JPS/DAS/BMI/JPG/STJ/BMP/TIF File (*.JPS *.DAS *.BMI *.JPG *.JPEG *.STJ *.BMP *.TIF *.TIFF *.jps *.das *.bmi *.jpg *.jpeg *.stj *.bmp *.tif *.tiff)</source>
        <translation type="vanished">JPS/DAS/BMI/JPG/STJ/BMP/TIF File (*.JPS *.DAS *.BMI *.JPG *.JPEG *.STJ *.BMP *.TIF *.TIFF *.jps *.das *.bmi *.jpg *.jpeg *.stj *.bmp *.tif *.tiff)</translation>
    </message>
</context>
</TS>
