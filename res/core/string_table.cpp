// The string table. Sorted by id; texts are UTF-8 and used letter for letter.
#include <cstddef>

#include "core/strings.h"

namespace duplora {

extern const StringEntry kStringTable[] = {
    {2503, "Kann Bild nicht öffnen"},
    {2505, "FEHLER"},
    {2515, "Achtung"},
    {2556, "Volle Farbanzahl"},
    {2557, "64k Farben"},
    {2558, "256 Farben"},
    {2559, "16 Farben"},
    {2560, "2 Farben"},
    {2561, "Farben: %s "},
    {2562, "Bildgröße: %dx%d  Farben: %s "},
    {2563, "Bildgröße: %dx%d - %dx%d  Farben: %s "},
    {2587, "Kann Farbpalette nicht erstellen."},
    {2588, "Kann BMP Datei nicht erstellen."},
    {2589, "lese... %d %%"},
    {2590, "schreibe... %d %%"},
    {2592, "Linkes Bild(%s [%d x %d]) Rechtes Bild(%s [%d x %d])  (%d/%d)  "},
    {2593, "Slide Show Intervall %d.%d S."},
    {2594, "Bildgröße nach Ausrichtung[%d x %d]"},
    {2595, "Position Ausrichtung(x = %d y = %d)"},
    {2596, "Bildgröße [%d x %d]  Zoom(%d %%)"},
    {2694, "Bild(%s [%d x %d]) (%d/%d)"},
    {2699, "Panorama Modus"},
};
extern const std::size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);

}  // namespace duplora
