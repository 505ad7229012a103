<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>for Linux</source>
        <translation>für Linux</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Version: %1.%2.%3</source>
        <translation>Version: %1.%2.%3</translation>
    </message>
</context>
<context>
    <name>CmykJpeg</name>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>there is not enough memory to decode it</source>
        <translation>zum Dekodieren ist nicht genug Speicher frei</translation>
    </message>
</context>
<context>
    <name>CocoaCode</name>
    <message>
        <source>Select folder ...</source>
        <translation>Ordner auswählen …</translation>
    </message>
</context>
<context>
    <name>CompareView</name>
    <message>
        <source>Compare the original with the output</source>
        <translation>Original und Ausgabe vergleichen</translation>
    </message>
    <message>
        <source>Left and Right move the divider</source>
        <translation>Links und Rechts verschieben die Trennlinie</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <translation>Original: %1</translation>
    </message>
    <message>
        <source>Output: %1</source>
        <translation>Ausgabe: %1</translation>
    </message>
</context>
<context>
    <name>ConvertImageForm</name>
    <message>
        <source>Convert Images</source>
        <translation>Bilder konvertieren</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Konvertieren</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>&amp;Output:</source>
        <translation>&amp;Ausgabe:</translation>
    </message>
    <message>
        <source>&amp;Quality</source>
        <translation>&amp;Qualität</translation>
    </message>
    <message>
        <source>Lossless</source>
        <translation>Verlustfrei</translation>
    </message>
    <message>
        <source>At most</source>
        <translation>Höchstens</translation>
    </message>
    <message>
        <source> KB per file</source>
        <translation> KB je Datei</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Drop images to convert here</source>
        <translation>Bilder zum Konvertieren hier ablegen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Ou&amp;tput</source>
        <translation>Aus&amp;gabe</translation>
    </message>
    <message>
        <source>Save converted files to:</source>
        <translation>Konvertierte Dateien speichern in:</translation>
    </message>
    <message>
        <source>Same folder as each source</source>
        <translation>Ordner der jeweiligen Quelle</translation>
    </message>
    <message>
        <source>Also write:</source>
        <translation>Zusätzlich:</translation>
    </message>
    <message>
        <source>Metadata:</source>
        <translation>Metadaten:</translation>
    </message>
    <message>
        <source>keep all</source>
        <translation>alle behalten</translation>
    </message>
    <message>
        <source>keep all but location</source>
        <translation>alle außer Standort</translation>
    </message>
    <message>
        <source>keep only the colour profile</source>
        <translation>nur das Farbprofil</translation>
    </message>
    <message>
        <source>remove all</source>
        <translation>alle entfernen</translation>
    </message>
    <message>
        <source>Keep file dates</source>
        <translation>Dateidaten behalten</translation>
    </message>
    <message>
        <source>Ignore the orientation tag</source>
        <translation>Ausrichtungsangabe übergehen</translation>
    </message>
    <message>
        <source>If the file exists:</source>
        <translation>Wenn die Datei existiert:</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Nachfragen</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Keep both</source>
        <translation>Beide behalten</translation>
    </message>
    <message>
        <source>Keep folder structure</source>
        <translation>Ordnerstruktur beibehalten</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>PNG compression level:</source>
        <translation>PNG-Kompressionsstufe:</translation>
    </message>
    <message>
        <source>TIFF compression:</source>
        <translation>TIFF-Kompression:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Never below quality:</source>
        <translation>Nie unter Qualität:</translation>
    </message>
    <message>
        <source>Scale down to fit</source>
        <translation>Zum Einhalten verkleinern</translation>
    </message>
    <message>
        <source>Save to PDF</source>
        <translation>Als PDF speichern</translation>
    </message>
    <message>
        <source>PDF file name:</source>
        <translation>PDF-Dateiname:</translation>
    </message>
    <message>
        <source>Paper size:</source>
        <translation>Papierformat:</translation>
    </message>
    <message>
        <source>Resize Image to Paper Size</source>
        <translation>Bild an Papierformat anpassen</translation>
    </message>
    <message>
        <source>Smooth Edges on Resize</source>
        <translation>Kanten beim Skalieren glätten</translation>
    </message>
    <message>
        <source>Keep JPEG pictures as they are</source>
        <translation>JPEG-Bilder unverändert übernehmen</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <source>Page Orientation:</source>
        <translation>Seitenausrichtung:</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Rand:</translation>
    </message>
    <message>
        <source>No Margin</source>
        <translation>Kein Rand</translation>
    </message>
    <message>
        <source>Add Margin</source>
        <translation>Mit Rand</translation>
    </message>
    <message>
        <source>Margin Size:</source>
        <translation>Randbreite:</translation>
    </message>
    <message>
        <source>RAW pictures:</source>
        <translation>RAW-Bilder:</translation>
    </message>
    <message>
        <source>full quality</source>
        <translation>volle Qualität</translation>
    </message>
    <message>
        <source>half size</source>
        <translation>halbe Größe</translation>
    </message>
    <message>
        <source>fast: the embedded preview</source>
        <translation>schnell: eingebettete Vorschau</translation>
    </message>
    <message>
        <source>PDF pages at:</source>
        <translation>PDF-Seiten mit:</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> dpi</translation>
    </message>
    <message>
        <source>Pages and frames:</source>
        <translation>Seiten und Einzelbilder:</translation>
    </message>
    <message>
        <source>first only</source>
        <translation>nur die erste</translation>
    </message>
    <message>
        <source>every page as its own file</source>
        <translation>jede Seite als eigene Datei</translation>
    </message>
    <message>
        <source>keep animations</source>
        <translation>Animationen behalten</translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation>Farben:</translation>
    </message>
    <message>
        <source>Keep the source&apos;s profile</source>
        <translation>Profil der Quelle behalten</translation>
    </message>
    <message>
        <source>Convert to sRGB</source>
        <translation>In sRGB umwandeln</translation>
    </message>
    <message>
        <source>Sc&amp;ale</source>
        <translation>&amp;Skalieren</translation>
    </message>
    <message>
        <source>Scale Image</source>
        <translation>Bild skalieren</translation>
    </message>
    <message>
        <source>By percentage:</source>
        <translation>Prozentual:</translation>
    </message>
    <message>
        <source>By absolute size</source>
        <translation>Auf feste Größe</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>By relative size</source>
        <translation>Seitenverhältnis wahren</translation>
    </message>
    <message>
        <source>Relative to:</source>
        <translation>Bezogen auf:</translation>
    </message>
    <message>
        <source>Long edge:</source>
        <translation>Lange Seite:</translation>
    </message>
    <message>
        <source>Do not enlarge</source>
        <translation>Nicht vergrößern</translation>
    </message>
    <message>
        <source>Te&amp;xt</source>
        <translation>Te&amp;xt</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Font:</source>
        <translation>Schrift:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Farbe:</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Deckkraft:</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>Image:</source>
        <translation>Bild:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Select...</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Scale:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>QR Co&amp;de</source>
        <translation>QR-Co&amp;de</translation>
    </message>
    <message>
        <source>Ad&amp;justments</source>
        <translation>A&amp;npassungen</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>Kontrast:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Helligkeit:</translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation>Gamma:</translation>
    </message>
    <message>
        <source>Invert Colors:</source>
        <translation>Farben umkehren:</translation>
    </message>
    <message>
        <source>Gaussian Blur Radius: </source>
        <translation>Radius Weichzeichnen: </translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Settings</source>
        <translation>Einstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Choose the output folder</source>
        <translation>Zielordner wählen</translation>
    </message>
    <message>
        <source>Choose the PDF file</source>
        <translation>PDF-Datei wählen</translation>
    </message>
    <message>
        <source>Clear the text</source>
        <translation>Text leeren</translation>
    </message>
    <message>
        <source>Clear the image</source>
        <translation>Bild entfernen</translation>
    </message>
    <message>
        <source>Clear the QR code text</source>
        <translation>Text des QR-Codes leeren</translation>
    </message>
    <message>
        <source>Change the colour</source>
        <translation>Farbe ändern</translation>
    </message>
    <message>
        <source>Files to convert</source>
        <translation>Zu konvertierende Dateien</translation>
    </message>
    <message>
        <source>Largest file size</source>
        <translation>Größte Dateigröße</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Prozent</translation>
    </message>
    <message>
        <source>Long edge</source>
        <translation>Lange Seite</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Page: %1, %2</source>
        <translation>Seite: %1, %2</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>The output folder %1 does not exist. Create it?</source>
        <translation>Den Zielordner %1 gibt es nicht. Anlegen?</translation>
    </message>
    <message>
        <source>The output folder %1 could not be made. %2</source>
        <translation>Der Zielordner %1 konnte nicht angelegt werden. %2</translation>
    </message>
    <message>
        <source>The system refused it.</source>
        <translation>Das System hat es verweigert.</translation>
    </message>
    <message>
        <source>There is nothing to convert.</source>
        <translation>Es gibt nichts zu konvertieren.</translation>
    </message>
    <message>
        <source>Confirm overwrite</source>
        <translation>Überschreiben bestätigen</translation>
    </message>
    <message>
        <source>Are you sure you want to overwrite </source>
        <translation>Wirklich überschreiben: </translation>
    </message>
    <message>
        <source>The file name pattern &quot;%1&quot; would write %2 over itself. Add to the pattern, such as {name}-copy, or choose another format.</source>
        <translation>Das Namensmuster „%1“ würde %2 mit sich selbst überschreiben. Ergänzen Sie das Muster, etwa {name}-copy, oder wählen Sie ein anderes Format.</translation>
    </message>
    <message>
        <source>Also write: %1</source>
        <translation>Zusätzlich: %1</translation>
    </message>
    <message>
        <source>Further outputs go with pictures, not with a PDF document</source>
        <translation>Weitere Ausgaben gibt es für Bilder, nicht für ein PDF-Dokument</translation>
    </message>
    <message>
        <source>Presets to write as further outputs of each picture</source>
        <translation>Vorlagen, die für jedes Bild zusätzlich geschrieben werden</translation>
    </message>
    <message>
        <source>Also write</source>
        <translation>Zusätzlich schreiben</translation>
    </message>
    <message>
        <source>Relative height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Relative width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder.</source>
        <translation>%1 ist eine Datei, kein Ordner.</translation>
    </message>
    <message>
        <source>%1 is on a read-only disk.</source>
        <translation>%1 liegt auf einem schreibgeschützten Datenträger.</translation>
    </message>
    <message>
        <source>You have no permission to make folders in %1.</source>
        <translation>Sie dürfen in %1 keine Ordner anlegen.</translation>
    </message>
    <message>
        <source>Top - Left</source>
        <translation>Oben – Links</translation>
    </message>
    <message>
        <source>Top - Center</source>
        <translation>Oben – Mitte</translation>
    </message>
    <message>
        <source>Top - Right</source>
        <translation>Oben – Rechts</translation>
    </message>
    <message>
        <source>Center - Left</source>
        <translation>Mitte – Links</translation>
    </message>
    <message>
        <source>Center - Center</source>
        <translation>Mitte – Mitte</translation>
    </message>
    <message>
        <source>Center - Right</source>
        <translation>Mitte – Rechts</translation>
    </message>
    <message>
        <source>Bottom - Left</source>
        <translation>Unten – Links</translation>
    </message>
    <message>
        <source>Bottom - Center</source>
        <translation>Unten – Mitte</translation>
    </message>
    <message>
        <source>Bottom - Right</source>
        <translation>Unten – Rechts</translation>
    </message>
    <message>
        <source>File List</source>
        <translation>Dateiliste</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>Legal</translation>
    </message>
    <message>
        <source>Executive</source>
        <translation>Executive</translation>
    </message>
    <message>
        <source>Are you sure you want to reset all settings to their default values?</source>
        <translation>Sollen wirklich alle Einstellungen auf ihre Vorgaben zurückgesetzt werden?</translation>
    </message>
    <message>
        <source>Add Image Files</source>
        <translation>Bilddateien hinzufügen</translation>
    </message>
    <message>
        <source>Preset: %1 (changed)</source>
        <translation>Vorlage: %1 (geändert)</translation>
    </message>
    <message>
        <source>Preset: %1</source>
        <translation>Vorlage: %1</translation>
    </message>
    <message>
        <source>Orientation tag ignored</source>
        <translation>Ausrichtungsangabe übergangen</translation>
    </message>
    <message>
        <source>Saved beside each source</source>
        <translation>Neben jeder Quelle gespeichert</translation>
    </message>
    <message>
        <source>At most %1 KB, never scaled down</source>
        <translation>Höchstens %1 KB, nie verkleinert</translation>
    </message>
    <message>
        <source>&amp;Background:</source>
        <translation>&amp;Hintergrund:</translation>
    </message>
    <message>
        <source>&amp;Keep JPEG data when nothing changes the pixels</source>
        <translation>JPEG-Daten beha&amp;lten, wenn sich die Pixel nicht ändern</translation>
    </message>
    <message>
        <source>So&amp;urces</source>
        <translation>Q&amp;uellen</translation>
    </message>
    <message>
        <source>&amp;Fit:</source>
        <translation>Ein&amp;passen:</translation>
    </message>
    <message>
        <source>stretch</source>
        <translation>strecken</translation>
    </message>
    <message>
        <source>fit inside</source>
        <translation>einpassen</translation>
    </message>
    <message>
        <source>fill and crop</source>
        <translation>füllen und beschneiden</translation>
    </message>
    <message>
        <source>fill and crop on the interesting part</source>
        <translation>füllen, auf das Wesentliche beschnitten</translation>
    </message>
    <message>
        <source>pad</source>
        <translation>auffüllen</translation>
    </message>
    <message>
        <source>&amp;Resampling:</source>
        <translation>&amp;Interpolation:</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Glatt</translation>
    </message>
    <message>
        <source>Lanczos 3</source>
        <translation>Lanczos 3</translation>
    </message>
    <message>
        <source>Lanczos 3, sharpened</source>
        <translation>Lanczos 3, geschärft</translation>
    </message>
</context>
<context>
    <name>ConvertImagePreviewLabel</name>
    <message>
        <source>1 of %1</source>
        <translation>1 von %1</translation>
    </message>
</context>
<context>
    <name>ConvertImagesThread</name>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the colour profile was kept: its pixels cannot be made sRGB</source>
        <translation>das Farbprofil wurde behalten: seine Pixel lassen sich nicht in sRGB umwandeln</translation>
    </message>
    <message>
        <source>trimmed to %1 x %2 pixels: a turned edge was not whole JPEG blocks</source>
        <translation>auf %1 x %2 Pixel beschnitten: ein gedrehter Rand bestand nicht aus ganzen JPEG-Blöcken</translation>
    </message>
    <message>
        <source>stopped at frame %1 of %2</source>
        <translation>bei Einzelbild %1 von %2 angehalten</translation>
    </message>
    <message>
        <source>animation kept as its first frame</source>
        <translation>Animation als ihr erstes Einzelbild behalten</translation>
    </message>
    <message>
        <source>only the first of its %1 pages was written: pages are not made into an animation</source>
        <translation>nur die erste ihrer %1 Seiten wurde geschrieben: aus Seiten wird keine Animation</translation>
    </message>
    <message>
        <source>stopped after page %1 of %2</source>
        <translation>nach Seite %1 von %2 angehalten</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message>
        <source>the target was made by another program meanwhile</source>
        <translation>das Ziel wurde inzwischen von einem anderen Programm angelegt</translation>
    </message>
    <message>
        <source>a PDF document cannot be written with extra outputs</source>
        <translation>ein PDF-Dokument kann nicht mit zusätzlichen Ausgaben geschrieben werden</translation>
    </message>
    <message>
        <source>a PDF document cannot be an extra output</source>
        <translation>ein PDF-Dokument kann keine zusätzliche Ausgabe sein</translation>
    </message>
    <message>
        <source>every page as a file of its own cannot be an extra output</source>
        <translation>jede Seite als eigene Datei kann keine zusätzliche Ausgabe sein</translation>
    </message>
    <message>
        <source>the target is one of the sources</source>
        <translation>das Ziel ist eine der Quellen</translation>
    </message>
    <message>
        <source>the target is a symbolic link</source>
        <translation>das Ziel ist eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>Cannot put the picture into %1</source>
        <translation>Das Bild kann nicht in %1 eingefügt werden</translation>
    </message>
    <message>
        <source>%1 (files written: %2)</source>
        <translation>%1 (geschriebene Dateien: %2)</translation>
    </message>
</context>
<context>
    <name>ConvertProgressForm</name>
    <message>
        <source>Converting images in progress. Please wait...</source>
        <translation>Bilder werden konvertiert. Bitte warten …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Files that could not be converted</source>
        <translation>Dateien, die nicht konvertiert werden konnten</translation>
    </message>
    <message>
        <source>Cancel the conversion</source>
        <translation>Konvertierung abbrechen</translation>
    </message>
    <message>
        <source>Conversion progress</source>
        <translation>Fortschritt der Konvertierung</translation>
    </message>
    <message>
        <source>Stopping after the current file…</source>
        <translation>Halt nach der aktuellen Datei …</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>DesktopFiles</name>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>Batch Picture Converter</source>
        <translation>Stapelkonverter für Bilder</translation>
    </message>
    <message>
        <source>Convert, scale and watermark many pictures in one go</source>
        <translation>Viele Bilder auf einmal umwandeln, skalieren und mit Wasserzeichen versehen</translation>
    </message>
    <message>
        <source>convert;resize;scale;watermark;batch;photo;AVIF;HEIC;WEBP;JPEG;PDF;</source>
        <extracomment>Search words of the menu entry, each followed by &apos;;&apos;; the format names stay.</extracomment>
        <translation>umwandeln;konvertieren;Größe ändern;skalieren;Wasserzeichen;Stapel;Foto;AVIF;HEIC;WEBP;JPEG;PDF;</translation>
    </message>
    <message>
        <source>Convert with Kestrix Picturist</source>
        <translation>Mit Kestrix Picturist umwandeln</translation>
    </message>
    <message>
        <source>Open the selected pictures and folders in Kestrix Picturist</source>
        <translation>Die ausgewählten Bilder und Ordner in Kestrix Picturist öffnen</translation>
    </message>
    <message>
        <source>Kestrix Picturist converts whole folders of pictures at once. Drop files and folders into its window, pick a target format and an output folder, and watch a live preview of the result before the list is converted.</source>
        <translation>Kestrix Picturist wandelt ganze Bilderordner auf einmal um. Ziehen Sie Dateien und Ordner in sein Fenster, wählen Sie ein Zielformat und einen Ausgabeordner und sehen Sie das Ergebnis in einer Live-Vorschau, bevor die Liste umgewandelt wird.</translation>
    </message>
    <message>
        <source>Writes AVIF, GIF, HEIC, HEIF, JPEG, JPEG XL, PNG, TIFF, WEBP and multi-page PDF</source>
        <translation>Schreibt AVIF, GIF, HEIC, HEIF, JPEG, JPEG XL, PNG, TIFF, WEBP und mehrseitige PDF-Dokumente</translation>
    </message>
    <message>
        <source>Reads SVG drawings, PDF pages and camera RAW files besides these</source>
        <translation>Liest außerdem SVG-Zeichnungen, PDF-Seiten und RAW-Dateien von Kameras</translation>
    </message>
    <message>
        <source>Scales, stamps text, picture and QR-code watermarks and adjusts colours</source>
        <translation>Skaliert, setzt Text-, Bild- und QR-Code-Wasserzeichen und passt Farben an</translation>
    </message>
    <message>
        <source>Keeps photo metadata and colour profiles</source>
        <translation>Behält Foto-Metadaten und Farbprofile bei</translation>
    </message>
    <message>
        <source>Comes with kestrix-convert, the same conversion on the command line</source>
        <translation>Mit kestrix-convert, derselben Umwandlung auf der Kommandozeile</translation>
    </message>
    <message>
        <source>The main window, ready for pictures to be dropped</source>
        <translation>Das Hauptfenster, bereit zum Hineinziehen von Bildern</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>Cannot be read</source>
        <translation>Nicht lesbar</translation>
    </message>
</context>
<context>
    <name>FolderWatch</name>
    <message>
        <source>a watched folder is converted to pictures, not to a PDF document</source>
        <translation>ein überwachter Ordner wird in Bilder konvertiert, nicht in ein PDF-Dokument</translation>
    </message>
    <message>
        <source>a watched folder is converted into an output folder, not beside the sources (outputBesideSource=false)</source>
        <translation>ein überwachter Ordner wird in einen Zielordner konvertiert, nicht neben die Quellen (outputBesideSource=false)</translation>
    </message>
    <message>
        <source>the output folder is the watched folder; give another one</source>
        <translation>der Zielordner ist der überwachte Ordner; geben Sie einen anderen an</translation>
    </message>
    <message>
        <source>cannot watch %1</source>
        <translation>%1 kann nicht überwacht werden</translation>
    </message>
    <message>
        <source>another watch (process %1) converts %2 already</source>
        <translation>eine andere Überwachung (Prozess %1) konvertiert %2 bereits</translation>
    </message>
    <message>
        <source>cannot write the lock %1</source>
        <translation>die Sperrdatei %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the watched folder %1 is gone; waiting for it to come back</source>
        <translation>der überwachte Ordner %1 ist verschwunden; es wird auf seine Rückkehr gewartet</translation>
    </message>
    <message>
        <source>the watched folder %1 is back</source>
        <translation>der überwachte Ordner %1 ist wieder da</translation>
    </message>
    <message>
        <source>cannot write the journal %1</source>
        <translation>das Journal %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>cannot write the journal %1: %2</source>
        <translation>das Journal %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot move %1 into %2</source>
        <translation>%1 kann nicht nach %2 verschoben werden</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>ImageMagickUtil</name>
    <message>
        <source>The image could not be read: %1.</source>
        <translation>Das Bild konnte nicht gelesen werden: %1.</translation>
    </message>
    <message>
        <source>The image could not be read.</source>
        <translation>Das Bild konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>a damaged or unsupported image sequence</source>
        <translation>eine beschädigte oder nicht unterstützte Bildfolge</translation>
    </message>
    <message>
        <source>HDR (%1) pictures are not supported</source>
        <translation>HDR-Bilder (%1) werden nicht unterstützt</translation>
    </message>
    <message>
        <source>CMYK JPEG XL is not supported</source>
        <translation>CMYK-JPEG-XL wird nicht unterstützt</translation>
    </message>
    <message>
        <source>its content is not a %1 picture: the file is damaged or misnamed</source>
        <translation>der Inhalt ist kein %1-Bild: die Datei ist beschädigt oder falsch benannt</translation>
    </message>
    <message>
        <source>not a picture type this program reads</source>
        <translation>kein Bildtyp, den dieses Programm liest</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it is longer than %3 pixels a side</source>
        <translation>mit %1 x %2 Pixeln ist eine Seite länger als %3 Pixel</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it needs more than %3 MB</source>
        <translation>mit %1 x %2 Pixeln braucht es mehr als %3 MB</translation>
    </message>
    <message>
        <source>it has no page %1</source>
        <translation>es hat keine Seite %1</translation>
    </message>
    <message>
        <source>the drawing has no size</source>
        <translation>die Zeichnung hat keine Größe</translation>
    </message>
    <message>
        <source>the file ends early; the missing part is grey</source>
        <translation>die Datei endet zu früh; der fehlende Teil ist grau</translation>
    </message>
    <message>
        <source>the file also holds an image sequence; its still picture was taken</source>
        <translation>die Datei enthält auch eine Bildfolge; ihr Standbild wurde genommen</translation>
    </message>
    <message>
        <source>there is not enough memory to convert its colours</source>
        <translation>zum Umwandeln der Farben ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>The scaled size %1 x %2 is empty.</source>
        <translation>Die skalierte Größe %1 x %2 ist leer.</translation>
    </message>
    <message>
        <source>The scaled size %1 x %2 is too large: at most %3 pixels a side and %4 MB.</source>
        <translation>Die skalierte Größe %1 x %2 ist zu groß: höchstens %3 Pixel je Seite und %4 MB.</translation>
    </message>
    <message>
        <source>not enlarged: %1 x %2 kept, %3 x %4 asked</source>
        <translation>nicht vergrößert: %1 x %2 behalten, %3 x %4 verlangt</translation>
    </message>
    <message>
        <source>There was not enough memory to process the image.</source>
        <translation>Zum Verarbeiten des Bildes war nicht genug Speicher frei.</translation>
    </message>
</context>
<context>
    <name>ImageWriters</name>
    <message>
        <source>A %1 file cannot hold an animation</source>
        <translation>Eine %1-Datei kann keine Animation enthalten</translation>
    </message>
    <message>
        <source>Image is empty</source>
        <translation>Das Bild ist leer</translation>
    </message>
    <message>
        <source>GIF encoder error %1</source>
        <translation>Fehler %1 des GIF-Kodierers</translation>
    </message>
    <message>
        <source>A GIF picture can be at most 65,535 pixels wide and high</source>
        <translation>Ein GIF-Bild kann höchstens 65.535 Pixel breit und hoch sein</translation>
    </message>
    <message>
        <source>Cannot reduce the image to 256 colours</source>
        <translation>Das Bild lässt sich nicht auf 256 Farben reduzieren</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genug Speicher</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels does not fit the %3 x %4 animation</source>
        <translation>Ein Einzelbild mit %1 x %2 Pixeln passt nicht in die Animation mit %3 x %4</translation>
    </message>
    <message>
        <source>The GIF file was not written</source>
        <translation>Die GIF-Datei wurde nicht geschrieben</translation>
    </message>
    <message>
        <source>No encoder for &quot;%1&quot; files</source>
        <translation>Kein Kodierer für „%1“-Dateien</translation>
    </message>
    <message>
        <source>The %1 encoder failed: %2</source>
        <translation>Der %1-Kodierer ist gescheitert: %2</translation>
    </message>
    <message>
        <source>Write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>There is not enough memory to encode the picture</source>
        <translation>Zum Kodieren des Bildes ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>The jpg encoder failed: %1</source>
        <translation>Der JPG-Kodierer ist gescheitert: %1</translation>
    </message>
    <message>
        <source>The picture is too large for WEBP: at most %1 pixels a side</source>
        <translation>Das Bild ist zu groß für WEBP: höchstens %1 Pixel je Seite</translation>
    </message>
    <message>
        <source>The webp encoder cannot start</source>
        <translation>Der WEBP-Kodierer kann nicht starten</translation>
    </message>
    <message>
        <source>The webp encoder failed: out of memory</source>
        <translation>Der WEBP-Kodierer ist gescheitert: nicht genug Speicher</translation>
    </message>
    <message>
        <source>The webp encoder failed: %1</source>
        <translation>Der WEBP-Kodierer ist gescheitert: %1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genug Speicher</translation>
    </message>
    <message>
        <source>The webp encoder failed: error %1</source>
        <translation>Der WEBP-Kodierer ist gescheitert: Fehler %1</translation>
    </message>
</context>
<context>
    <name>KestrixConvert</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation>%1: keine solche Datei und kein solcher Ordner</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1 -&gt; %2 skipped: %3</source>
        <translation>%1 -&gt; %2 übersprungen: %3</translation>
    </message>
    <message>
        <source>%1 -&gt; %2 %3 s</source>
        <translation>%1 -&gt; %2 %3 s</translation>
    </message>
    <message>
        <source>%1 files/s, %2:%3 left</source>
        <translation>%1 Dateien/s, noch %2:%3</translation>
    </message>
    <message>
        <source>kestrix-convert: %1
Try &apos;kestrix-convert --help&apos;.
</source>
        <translation>kestrix-convert: %1
Siehe &apos;kestrix-convert --help&apos;.
</translation>
    </message>
    <message>
        <source>quality %1</source>
        <translation>Qualität %1</translation>
    </message>
    <message>
        <source>lossless %1</source>
        <translation>verlustfrei %1</translation>
    </message>
    <message>
        <source>level %1</source>
        <translation>Stufe %1</translation>
    </message>
    <message>
        <source>compression %1</source>
        <translation>Kompression %1</translation>
    </message>
    <message>
        <source>integer</source>
        <translation>Ganzzahl</translation>
    </message>
    <message>
        <source>font family</source>
        <translation>Schriftfamilie</translation>
    </message>
    <message>
        <source>colour #RRGGBB</source>
        <translation>Farbe #RRGGBB</translation>
    </message>
    <message>
        <source>text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Usage: kestrix-convert [options] FILE|FOLDER|- ...
       kestrix-convert --watch DIR [options] [-o OUTPUT]
Converts pictures with the settings of Kestrix Picturist, without a display and without questions.
Folders are searched with their sub-folders for the picture types the window accepts
(the types below that are read); &apos;-&apos; reads one path per line from standard input.
Each file is converted once, in the order of its path.

</source>
        <translation>Aufruf: kestrix-convert [Optionen] DATEI|ORDNER|- ...
        kestrix-convert --watch ORDNER [Optionen] [-o AUSGABE]
Konvertiert Bilder mit den Einstellungen von Kestrix Picturist, ohne Bildschirm und ohne Rückfragen.
Ordner werden samt Unterordnern nach den Bildtypen durchsucht, die das Fenster annimmt
(den unten als lesbar genannten); &apos;-&apos; liest einen Pfad je Zeile von der Standardeingabe.
Jede Datei wird einmal konvertiert, in der Reihenfolge ihrer Pfade.

</translation>
    </message>
    <message>
        <source>Settings (applied in this order: defaults or file, --set, then the options below):
  --settings FILE        a settings file saved by the window&apos;s &quot;Export settings...&quot;
                         e.g. --settings weekly.ini
  --app-settings         the settings the window uses now
  --preset NAME          a preset saved in the window (&quot;Save as preset...&quot;) or installed
                         e.g. --preset &apos;Web: 1600 px WEBP&apos;
                         given again (or --settings again), each further one is an extra
                         output of every source, from the same decode, with that file&apos;s
                         settings alone (without a folder of its own, into the first&apos;s)
  --list-presets         the presets&apos; names, one a line
  --set KEY=VALUE        one stored setting by its key (repeatable; keys below)
                         e.g. --set textContent=&apos;(c) 2026&apos; --set textSize=24
  --to FORMAT            target format: %1
                         e.g. --to webp
  -o, --output DIR       output folder, made if missing     e.g. -o out
  --pdf FILE             one PDF document with a page per picture   e.g. --pdf album.pdf
  --quality N            quality 0..99 of the lossy target  e.g. --quality 85
  --scale PERCENT        scale by percent 0..400            e.g. --scale 50
  --width N, --height N  scale to a width and/or height (one alone keeps the aspect ratio)
                         e.g. --width 1600
  --fit MODE             with both --width and --height: stretch (default), inside (within
                         both), cover (filling both, cropped in the centre), cover-smart
                         (cropped on the part that draws the eye) or pad (within both,
                         padded with the background colour)   e.g. --fit cover-smart
  --resample FILTER      smooth (default), lanczos (Lanczos 3) or sharp (Lanczos 3,
                         sharpened after reducing)   e.g. --resample sharp
  --background COLOUR    what transparent pixels are laid on where the target has no
                         transparency (JPG), and the colour of --fit pad (default #ffffff)
                         e.g. --background &apos;#202020&apos;
  --pdf-dpi N            PDF sources: the first page rendered at N dots per inch, 36..1200
                         (default 150)   e.g. --pdf-dpi 300
  --raw MODE             camera RAW files: full (default), half (half size), or preview
                         (the embedded preview, much faster)   e.g. --raw preview
  --pdf-keep-jpeg        PDF documents: JPEG pictures that nothing changes keep their own data
                         (no second compression, much faster)
  --jpeg-lossless        JPG from JPEG: pictures only turned upright or stripped of metadata
                         keep their JPEG data, turned losslessly (an edge of partial blocks
                         is trimmed); others are encoded again
  --metadata CHOICE      what the outputs keep of the sources&apos; metadata: all (default),
                         no-location, profile (only the colour profile) or none
                         e.g. --metadata no-location
  --no-auto-orient       leave pictures as stored, their orientation tag kept
  --beside-source        write each output into its source&apos;s folder (needs a name pattern
                         that differs from the source&apos;s name, or another format)
                         e.g. --beside-source --set fileNamePattern={name}-web
  --colours MODE         keep (default: each source&apos;s colour profile goes with it) or srgb
                         (the pixels converted to sRGB)   e.g. --colours srgb
  --pages MODE           multi-page and animated sources: first (default, the first page),
                         each (every page or frame its own file: name-1, name-2, ... or
                         {page} in the name pattern), or animate (GIF and WEBP targets
                         stay animated)   e.g. --pages each
  --max-size SIZE        lossy targets: every file at most SIZE (K: 1000 bytes, M: 1000 K),
                         the quality searched; too large even at the lowest quality, the
                         picture is scaled down in steps of 10 %   e.g. --max-size 300K
  --min-quality N        the lowest quality --max-size may use, 0..99 (default 40)
  --no-shrink            with --max-size, never scale down: write at the lowest quality
                         and report the file as over the size

</source>
        <translation>Einstellungen (in dieser Reihenfolge: Vorgaben oder Datei, --set, dann die Optionen unten):
  --settings FILE        eine mit „Einstellungen exportieren …“ des Fensters gespeicherte Datei
                         z. B. --settings weekly.ini
  --app-settings         die Einstellungen, die das Fenster gerade verwendet
  --preset NAME          eine im Fenster gespeicherte („Als Vorlage speichern …“) oder installierte
                         Vorlage   z. B. --preset &apos;Web: 1600 px WEBP&apos;
                         erneut angegeben (oder erneut --settings) ist jede weitere eine
                         zusätzliche Ausgabe jeder Quelle, aus derselben Dekodierung, allein mit
                         den Einstellungen dieser Datei (ohne eigenen Ordner: in den der ersten)
  --list-presets         die Namen der Vorlagen, einer je Zeile
  --set KEY=VALUE        eine gespeicherte Einstellung über ihren Schlüssel (wiederholbar;
                         Schlüssel unten)   z. B. --set textContent=&apos;(c) 2026&apos; --set textSize=24
  --to FORMAT            Zielformat: %1
                         z. B. --to webp
  -o, --output DIR       Zielordner, wird bei Bedarf angelegt   z. B. -o out
  --pdf FILE             ein PDF-Dokument mit einer Seite je Bild   z. B. --pdf album.pdf
  --quality N            Qualität 0..99 des verlustbehafteten Ziels   z. B. --quality 85
  --scale PERCENT        um Prozent skalieren, 0..400       z. B. --scale 50
  --width N, --height N  auf eine Breite und/oder Höhe skalieren (eine allein wahrt das
                         Seitenverhältnis)   z. B. --width 1600
  --fit MODE             mit --width und --height: stretch (Vorgabe, gestreckt), inside (in
                         beide), cover (beide füllend, mittig beschnitten), cover-smart
                         (beschnitten auf den Teil, der den Blick anzieht) oder pad (in beide,
                         mit der Hintergrundfarbe aufgefüllt)   z. B. --fit cover-smart
  --resample FILTER      smooth (Vorgabe), lanczos (Lanczos 3) oder sharp (Lanczos 3, nach
                         dem Verkleinern geschärft)   z. B. --resample sharp
  --background COLOUR    worauf transparente Pixel gelegt werden, wo das Ziel keine
                         Transparenz kennt (JPG), und die Farbe von --fit pad (Vorgabe #ffffff)
                         z. B. --background &apos;#202020&apos;
  --pdf-dpi N            PDF-Quellen: die erste Seite mit N Punkten je Zoll gerendert,
                         36..1200 (Vorgabe 150)   z. B. --pdf-dpi 300
  --raw MODE             RAW-Dateien von Kameras: full (Vorgabe), half (halbe Größe) oder
                         preview (die eingebettete Vorschau, viel schneller)   z. B. --raw preview
  --pdf-keep-jpeg        PDF-Dokumente: JPEG-Bilder, an denen nichts geändert wird, behalten
                         ihre Daten (keine zweite Kompression, viel schneller)
  --jpeg-lossless        JPG aus JPEG: nur aufgerichtete oder von Metadaten befreite Bilder
                         behalten ihre JPEG-Daten, verlustfrei gedreht (ein Rand aus
                         unvollständigen Blöcken wird beschnitten); andere werden neu kodiert
  --metadata CHOICE      was die Ausgaben von den Metadaten der Quellen behalten: all (Vorgabe),
                         no-location, profile (nur das Farbprofil) oder none
                         z. B. --metadata no-location
  --no-auto-orient       Bilder wie gespeichert lassen, ihre Ausrichtungsangabe behalten
  --beside-source        jede Ausgabe in den Ordner ihrer Quelle schreiben (braucht ein
                         Namensmuster, das vom Namen der Quelle abweicht, oder ein anderes
                         Format)   z. B. --beside-source --set fileNamePattern={name}-web
  --colours MODE         keep (Vorgabe: das Farbprofil jeder Quelle geht mit) oder srgb
                         (die Pixel in sRGB umgewandelt)   z. B. --colours srgb
  --pages MODE           mehrseitige und animierte Quellen: first (Vorgabe, die erste Seite),
                         each (jede Seite oder jedes Einzelbild als eigene Datei: name-1,
                         name-2, ... oder {page} im Namensmuster) oder animate (GIF- und
                         WEBP-Ziele bleiben animiert)   z. B. --pages each
  --max-size SIZE        verlustbehaftete Ziele: jede Datei höchstens SIZE (K: 1000 Byte,
                         M: 1000 K), die Qualität wird gesucht; selbst bei der niedrigsten
                         Qualität zu groß, wird das Bild in Schritten von 10 % verkleinert
                         z. B. --max-size 300K
  --min-quality N        die niedrigste Qualität, die --max-size nutzen darf, 0..99 (Vorgabe 40)
  --no-shrink            mit --max-size nie verkleinern: mit der niedrigsten Qualität schreiben
                         und die Datei als zu groß melden

</translation>
    </message>
    <message>
        <source>Run:
  --existing MODE        a target that exists: skip (default), overwrite, or rename (name-1.ext, ...)
                         e.g. --existing rename
                         without it, the settings&apos; existingFilePolicy applies (Ask skips)
  --jobs N               files converted at once, 0 = one per core (default)   e.g. --jobs 4
  --shard I/N            convert only the I-th of N equal slices of the sorted list
                         e.g. --shard 2/4
  --watch DIR            convert each picture that lands in DIR or below once it is completely
                         written (unchanged for a second), until Ctrl+C; the journal
                         DIR/.kestrix-watch.journal keeps what was done, so that a restart
                         neither repeats nor misses a file (a file changed since is taken again)
                         e.g. --watch ~/Incoming -o ~/Converted (without -o: DIR/converted)
  --move-originals       with --watch: move each converted original into DIR/done/ and each
                         failed one into DIR/failed/ with NAME.txt giving the reason
  --quiet                print only failures
  --json                 print a summary as JSON on standard output
  -h, --help             this text
  --version              the version

</source>
        <translation>Ablauf:
  --existing MODE        ein Ziel, das existiert: skip (Vorgabe, überspringen), overwrite
                         (überschreiben) oder rename (name-1.ext, ...)   z. B. --existing rename
                         ohne die Option gilt existingFilePolicy der Einstellungen (Ask überspringt)
  --jobs N               gleichzeitig konvertierte Dateien, 0 = eine je Kern (Vorgabe)
                         z. B. --jobs 4
  --shard I/N            nur den I-ten von N gleichen Teilen der sortierten Liste konvertieren
                         z. B. --shard 2/4
  --watch DIR            jedes Bild, das in DIR oder darunter landet, konvertieren, sobald es
                         vollständig geschrieben ist (eine Sekunde unverändert), bis Strg+C; das
                         Journal DIR/.kestrix-watch.journal hält fest, was erledigt ist, sodass
                         ein Neustart keine Datei wiederholt oder auslässt (eine seither
                         geänderte Datei wird erneut genommen)
                         z. B. --watch ~/Incoming -o ~/Converted (ohne -o: DIR/converted)
  --move-originals       mit --watch: jedes konvertierte Original nach DIR/done/ verschieben und
                         jedes fehlgeschlagene nach DIR/failed/, mit NAME.txt und dem Grund
  --quiet                nur Fehlschläge ausgeben
  --json                 eine Zusammenfassung als JSON auf der Standardausgabe ausgeben
  -h, --help             dieser Text
  --version              die Version

</translation>
    </message>
    <message>
        <source>Exit status: 0 every file converted or skipped, 1 a file failed, 2 usage or settings error,
130 stopped by Ctrl+C (143 by SIGTERM). A stop finishes the file being written; nothing
half-written is left, and a rerun with --existing skip carries on where the run stopped.

</source>
        <translation>Rückgabewert: 0 jede Datei konvertiert oder übersprungen, 1 eine Datei fehlgeschlagen,
2 Aufruf- oder Einstellungsfehler, 130 mit Strg+C angehalten (143 mit SIGTERM). Ein Halt
beendet die Datei, die gerade geschrieben wird; nichts bleibt halb geschrieben zurück, und
ein neuer Lauf mit --existing skip setzt dort fort, wo der Lauf angehalten wurde.

</translation>
    </message>
    <message>
        <source>Examples:
  kestrix-convert --to webp -o out ~/Pictures
  find photos -name &apos;*.heic&apos; | kestrix-convert - --to jpg --quality 90 -o out
  kestrix-convert --settings weekly.ini --existing overwrite --json incoming/ &gt; report.json

</source>
        <translation>Beispiele:
  kestrix-convert --to webp -o out ~/Pictures
  find photos -name &apos;*.heic&apos; | kestrix-convert - --to jpg --quality 90 -o out
  kestrix-convert --settings weekly.ini --existing overwrite --json incoming/ &gt; report.json

</translation>
    </message>
    <message>
        <source>Picture types (extensions; read as sources; written by --to, named by the first extension):
</source>
        <translation>Bildtypen (Endungen; als Quellen gelesen; von --to geschrieben, nach der ersten Endung benannt):
</translation>
    </message>
    <message>
        <source>read</source>
        <translation>lesen</translation>
    </message>
    <message>
        <source>write</source>
        <translation>schreiben</translation>
    </message>
    <message>
        <source>
Keys for --set and settings files (group MainApp):
</source>
        <translation>
Schlüssel für --set und Einstellungsdateien (Gruppe MainApp):
</translation>
    </message>
    <message>
        <source>the interface font</source>
        <translation>die Schrift der Oberfläche</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>leer</translation>
    </message>
    <message>
        <source>  %1 %2 default %3
</source>
        <translation>  %1 %2 Vorgabe %3
</translation>
    </message>
    <message>
        <source>targeFileType counts the formats above from 0 (%1).
</source>
        <translation>targeFileType zählt die Formate oben ab 0 (%1).
</translation>
    </message>
    <message>
        <source>--settings, --preset and --app-settings exclude each other</source>
        <translation>--settings, --preset und --app-settings schließen einander aus</translation>
    </message>
    <message>
        <source>--set %1: expected KEY=VALUE</source>
        <translation>--set %1: erwartet wird SCHLÜSSEL=WERT</translation>
    </message>
    <message>
        <source>--to: unknown format &quot;%1&quot;; accepted: %2</source>
        <translation>--to: unbekanntes Format „%1“; möglich: %2</translation>
    </message>
    <message>
        <source>--%1: unknown mode &quot;%2&quot;; accepted: %3</source>
        <translation>--%1: unbekannter Modus „%2“; möglich: %3</translation>
    </message>
    <message>
        <source>--max-size: &quot;%1&quot; is not a size from 1K to 2000M, such as 300K or 2M</source>
        <translation>--max-size: „%1“ ist keine Größe von 1K bis 2000M wie 300K oder 2M</translation>
    </message>
    <message>
        <source>--existing: unknown mode &quot;%1&quot;; accepted: skip overwrite rename</source>
        <translation>--existing: unbekannter Modus „%1“; möglich: skip overwrite rename</translation>
    </message>
    <message>
        <source>--shard: &quot;%1&quot; is not I/N with 1 &lt;= I &lt;= N</source>
        <translation>--shard: „%1“ ist nicht I/N mit 1 &lt;= I &lt;= N</translation>
    </message>
    <message>
        <source>--watch takes no other input, nor --shard or --json</source>
        <translation>--watch nimmt keine weiteren Eingaben, auch nicht --shard oder --json</translation>
    </message>
    <message>
        <source>--watch: %1 is not a folder</source>
        <translation>--watch: %1 ist kein Ordner</translation>
    </message>
    <message>
        <source>no output folder: give -o DIR or --pdf FILE (or outputFolder in the settings)</source>
        <translation>kein Zielordner: -o ORDNER oder --pdf DATEI angeben (oder outputFolder in den Einstellungen)</translation>
    </message>
    <message>
        <source>no PDF file name: give --pdf FILE (or pdfFileName in the settings)</source>
        <translation>kein PDF-Dateiname: --pdf DATEI angeben (oder pdfFileName in den Einstellungen)</translation>
    </message>
    <message>
        <source>no input: name files, folders or &apos;-&apos;</source>
        <translation>keine Eingabe: Dateien, Ordner oder &apos;-&apos; angeben</translation>
    </message>
    <message>
        <source>--beside-source: the name pattern &quot;%1&quot; would write %2 over itself; add to the pattern, e.g. {name}-copy, or choose another format</source>
        <translation>--beside-source: das Namensmuster „%1“ würde %2 mit sich selbst überschreiben; ergänzen Sie das Muster, z. B. {name}-copy, oder wählen Sie ein anderes Format</translation>
    </message>
    <message>
        <source>kestrix-convert: cannot make the output folder %1
</source>
        <translation>kestrix-convert: der Zielordner %1 kann nicht angelegt werden
</translation>
    </message>
    <message>
        <source>--move-originals goes with --watch</source>
        <translation>--move-originals geht nur mit --watch</translation>
    </message>
    <message>
        <source>kestrix-convert: cannot make the output folder %1</source>
        <translation>kestrix-convert: der Zielordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Watching %1; Ctrl+C stops.</source>
        <translation>%1 wird überwacht; Strg+C hält an.</translation>
    </message>
</context>
<context>
    <name>KestrixConvertReason</name>
    <message>
        <source>the name is not valid UTF-8, which this program cannot open; rename it</source>
        <translation>der Name ist kein gültiges UTF-8, das dieses Programm nicht öffnen kann; benennen Sie die Datei um</translation>
    </message>
    <message>
        <source>not a picture type this program reads</source>
        <translation>kein Bildtyp, den dieses Programm liest</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>keine solche Datei und kein solcher Ordner</translation>
    </message>
    <message>
        <source>the target exists</source>
        <translation>das Ziel existiert</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Export settings…</source>
        <translation>Einstellungen &amp;exportieren …</translation>
    </message>
    <message>
        <source>&amp;Import settings…</source>
        <translation>Einstellungen &amp;importieren …</translation>
    </message>
    <message>
        <source>&amp;Presets</source>
        <translation>&amp;Vorlagen</translation>
    </message>
    <message>
        <source>&amp;Watch folder…</source>
        <translation>Ordner &amp;überwachen …</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Einstellungen exportieren</translation>
    </message>
    <message>
        <source>Settings files (*.ini);;All files (*)</source>
        <translation>Einstellungsdateien (*.ini);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1.</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Import settings</source>
        <translation>Einstellungen importieren</translation>
    </message>
    <message>
        <source>All files (*);;Settings files (*.ini *.conf)</source>
        <translation>Alle Dateien (*);;Einstellungsdateien (*.ini *.conf)</translation>
    </message>
    <message>
        <source>%1 is not a settings file.</source>
        <translation>%1 ist keine Einstellungsdatei.</translation>
    </message>
    <message>
        <source>These settings in %1 were ignored:
%2</source>
        <translation>Diese Einstellungen in %1 wurden übergangen:
%2</translation>
    </message>
    <message>
        <source>&amp;Save as preset…</source>
        <translation>Als Vorlage &amp;speichern …</translation>
    </message>
    <message>
        <source>&amp;Manage presets…</source>
        <translation>Vorlagen &amp;verwalten …</translation>
    </message>
    <message>
        <source>Save as preset</source>
        <translation>Als Vorlage speichern</translation>
    </message>
    <message>
        <source>Preset name:</source>
        <translation>Name der Vorlage:</translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; could not be read.</source>
        <translation>Die Vorlage „%1“ konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>These settings in the preset &quot;%1&quot; were ignored:
%2</source>
        <translation>Diese Einstellungen der Vorlage „%1“ wurden übergangen:
%2</translation>
    </message>
    <message>
        <source>Watched folder: %1</source>
        <translation>Überwachter Ordner: %1</translation>
    </message>
    <message>
        <source>Watching %1</source>
        <translation>%1 wird überwacht</translation>
    </message>
    <message>
        <source>A folder is being watched. End the watch and close the window?</source>
        <translation>Ein Ordner wird überwacht. Überwachung beenden und das Fenster schließen?</translation>
    </message>
</context>
<context>
    <name>OutputPlan</name>
    <message>
        <source>the target is one of the sources</source>
        <translation>das Ziel ist eine der Quellen</translation>
    </message>
    <message>
        <source>%1 also becomes %2</source>
        <translation>%1 wird ebenfalls zu %2</translation>
    </message>
    <message>
        <source>the target exists</source>
        <translation>das Ziel existiert</translation>
    </message>
    <message>
        <source>the target is a symbolic link</source>
        <translation>das Ziel ist eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>the file name is too long</source>
        <translation>der Dateiname ist zu lang</translation>
    </message>
</context>
<context>
    <name>OutputPrediction</name>
    <message>
        <source>Nothing would be written</source>
        <translation>Es würde nichts geschrieben</translation>
    </message>
    <message>
        <source>Too large to predict within the memory budget</source>
        <translation>Zu groß für eine Vorhersage im Speicherrahmen</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 lossless</source>
        <translation>%1 verlustfrei</translation>
    </message>
    <message>
        <source>%1 q%2</source>
        <translation>%1 Q%2</translation>
    </message>
    <message>
        <source>%1 (%2%3 %)</source>
        <translation>%1 (%2%3 %)</translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>PDF page</source>
        <translation>PDF-Seite</translation>
    </message>
</context>
<context>
    <name>OverwriteFileDialog</name>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Target File</source>
        <translation>Zieldatei</translation>
    </message>
    <message>
        <source>Source File</source>
        <translation>Quelldatei</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The following files already exist. Check all files that you wish to overwrite.</source>
        <translation>Die folgenden Dateien gibt es schon. Haken Sie alle Dateien an, die überschrieben werden sollen.</translation>
    </message>
    <message>
        <source>The following file already exist. Do you wish to overwrite it?</source>
        <translation>Die folgende Datei gibt es schon. Soll sie überschrieben werden?</translation>
    </message>
</context>
<context>
    <name>PhotoMetadata</name>
    <message>
        <source>The %1 (%2 MB) was not copied: it is over %3 MB.</source>
        <translation>%1 (%2 MB) wurde nicht kopiert: mehr als %3 MB.</translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation>Farbprofil</translation>
    </message>
</context>
<context>
    <name>PngReducer</name>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>there was not enough memory</source>
        <translation>es war nicht genug Speicher frei</translation>
    </message>
</context>
<context>
    <name>PredictedSizeLabel</name>
    <message>
        <source>Predicted output</source>
        <translation>Erwartete Ausgabe</translation>
    </message>
    <message>
        <source>The selected file&apos;s output at the current settings, made by the same writer as a conversion</source>
        <translation>Die Ausgabe der gewählten Datei mit den aktuellen Einstellungen, geschrieben wie bei einer Konvertierung</translation>
    </message>
    <message>
        <source>Predicting the size…</source>
        <translation>Größe wird ermittelt …</translation>
    </message>
</context>
<context>
    <name>Presets</name>
    <message>
        <source>Archive: lossless JPEG XL, keep metadata</source>
        <translation>Archiv: verlustfreies JPEG XL, Metadaten behalten</translation>
    </message>
    <message>
        <source>E-mail: 1024 px JPEG, no location</source>
        <translation>E-Mail: 1024 px JPEG, ohne Standort</translation>
    </message>
    <message>
        <source>Web: 1600 px WEBP</source>
        <translation>Web: 1600 px WEBP</translation>
    </message>
</context>
<context>
    <name>PresetsDialog</name>
    <message>
        <source>Installed presets cannot be renamed or deleted. A preset of yours saved under the same name takes the place of the installed one until you delete yours.</source>
        <translation>Installierte Vorlagen lassen sich weder umbenennen noch löschen. Eine eigene Vorlage gleichen Namens tritt an die Stelle der installierten, bis Sie Ihre löschen.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Vorlage „%1“ ersetzen?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is an installed preset. Put yours in its place? The installed one comes back when you delete yours.</source>
        <translation>„%1“ ist eine installierte Vorlage. Ihre an deren Stelle setzen? Die installierte kehrt zurück, wenn Sie Ihre löschen.</translation>
    </message>
    <message>
        <source>Manage presets</source>
        <translation>Vorlagen verwalten</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Anwenden</translation>
    </message>
    <message>
        <source>&amp;Rename…</source>
        <translation>&amp;Umbenennen …</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Open folder</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>%1 (installed)</source>
        <translation>%1 (installiert)</translation>
    </message>
    <message>
        <source>Rename preset</source>
        <translation>Vorlage umbenennen</translation>
    </message>
    <message>
        <source>New name:</source>
        <translation>Neuer Name:</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Vorlage „%1“ löschen?</translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Loading image. Please wait...</source>
        <translation>Bild wird geladen. Bitte warten …</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Fit the picture into the window (0)</source>
        <translation>Bild ins Fenster einpassen (0)</translation>
    </message>
    <message>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <source>Every pixel of the picture on a pixel of the screen (1)</source>
        <translation>Jedes Bildpixel auf einem Bildschirmpixel (1)</translation>
    </message>
    <message>
        <source>200 %</source>
        <translation>200 %</translation>
    </message>
    <message>
        <source>Every pixel of the picture on four of the screen (2)</source>
        <translation>Jedes Bildpixel auf vier Bildschirmpixeln (2)</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>The original beside the output as the current settings write it</source>
        <translation>Das Original neben der Ausgabe, wie die aktuellen Einstellungen sie schreiben</translation>
    </message>
    <message>
        <source>Zoom in: +, zoom out: -, fit: 0, close: Esc</source>
        <translation>Vergrößern: +, verkleinern: -, einpassen: 0, schließen: Esc</translation>
    </message>
    <message>
        <source>Making the output…</source>
        <translation>Ausgabe wird erstellt …</translation>
    </message>
    <message>
        <source>%1, %2, %3 × %4</source>
        <translation>%1, %2, %3 × %4</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>The output cannot be read back</source>
        <translation>Die Ausgabe lässt sich nicht zurücklesen</translation>
    </message>
    <message>
        <source>Preview - %1</source>
        <translation>Vorschau – %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Choose the folder the pictures are written to.</source>
        <translation>Wählen Sie den Ordner, in den die Bilder geschrieben werden.</translation>
    </message>
    <message>
        <source>Save to PDF File</source>
        <translation>Als PDF-Datei speichern</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>The conversion processes are completed.</source>
        <translation>Die Konvertierungen sind abgeschlossen.</translation>
    </message>
    <message>
        <source>The conversion process is completed.</source>
        <translation>Die Konvertierung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>%1 of 1 file could not be converted.</source>
        <translation>%1 von 1 Datei konnte nicht konvertiert werden.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted.</source>
        <translation>%1 von %2 Dateien konnten nicht konvertiert werden.</translation>
    </message>
    <message>
        <source>The conversion was stopped. %1 holds 1 page.</source>
        <translation>Die Konvertierung wurde angehalten. %1 enthält 1 Seite.</translation>
    </message>
    <message>
        <source>The conversion was stopped. %1 holds %2 pages.</source>
        <translation>Die Konvertierung wurde angehalten. %1 enthält %2 Seiten.</translation>
    </message>
    <message>
        <source>1 file was skipped because its target exists.</source>
        <translation>1 Datei wurde übersprungen, weil ihr Ziel existiert.</translation>
    </message>
    <message>
        <source>%1 files were skipped because their targets exist.</source>
        <translation>%1 Dateien wurden übersprungen, weil ihre Ziele existieren.</translation>
    </message>
    <message>
        <source>1 file was written under a new name.</source>
        <translation>1 Datei wurde unter einem neuen Namen geschrieben.</translation>
    </message>
    <message>
        <source>%1 files were written under new names.</source>
        <translation>%1 Dateien wurden unter neuen Namen geschrieben.</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Vergangen: %1</translation>
    </message>
    <message>
        <source>Elapsed %1, about %2 left</source>
        <translation>Vergangen: %1, noch etwa %2</translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation>Angehalten: %1 von %2 konvertiert</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1, %2 → %3</source>
        <translation>%1, %2 → %3</translation>
    </message>
    <message>
        <source>, %1%2 %</source>
        <translation>, %1%2 %</translation>
    </message>
    <message>
        <source>A preset needs a name.</source>
        <translation>Eine Vorlage braucht einen Namen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a preset.</source>
        <translation>„%1“ kann keine Vorlage benennen.</translation>
    </message>
    <message>
        <source>A preset name cannot hold / or \.</source>
        <translation>Ein Vorlagenname darf weder / noch \ enthalten.</translation>
    </message>
    <message>
        <source>A preset name cannot hold control characters.</source>
        <translation>Ein Vorlagenname darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>A preset name cannot begin or end with a space.</source>
        <translation>Ein Vorlagenname darf nicht mit einem Leerzeichen beginnen oder enden.</translation>
    </message>
    <message>
        <source>A preset name can have at most %1 characters.</source>
        <translation>Ein Vorlagenname darf höchstens %1 Zeichen haben.</translation>
    </message>
    <message>
        <source>The preset could not be saved in %1.</source>
        <translation>Die Vorlage konnte nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Only your own presets can be renamed.</source>
        <translation>Nur eigene Vorlagen lassen sich umbenennen.</translation>
    </message>
    <message>
        <source>There is already a preset named &quot;%1&quot;.</source>
        <translation>Es gibt schon eine Vorlage namens „%1“.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be renamed.</source>
        <translation>„%1“ konnte nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>Only your own presets can be deleted.</source>
        <translation>Nur eigene Vorlagen lassen sich löschen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be deleted.</source>
        <translation>„%1“ konnte nicht gelöscht werden.</translation>
    </message>
</context>
<context>
    <name>RemoveThumbnailsDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>The program removing unused thumbnail files. Please wait...</source>
        <translation>Das Programm entfernt nicht mehr benötigte Vorschaubilder. Bitte warten …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RenderedSources</name>
    <message>
        <source>damaged or not a drawing</source>
        <translation>beschädigt oder keine Zeichnung</translation>
    </message>
    <message>
        <source>the drawing&apos;s text is larger than %1 MB</source>
        <translation>der Text der Zeichnung ist größer als %1 MB</translation>
    </message>
    <message>
        <source>the PDF is protected by a password</source>
        <translation>das PDF ist durch ein Passwort geschützt</translation>
    </message>
    <message>
        <source>the PDF is encrypted in a way that cannot be read</source>
        <translation>das PDF ist auf eine nicht lesbare Weise verschlüsselt</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>the PDF has no pages</source>
        <translation>das PDF hat keine Seiten</translation>
    </message>
    <message>
        <source>the document has no page %1</source>
        <translation>das Dokument hat keine Seite %1</translation>
    </message>
    <message>
        <source>the page is larger than a picture can be</source>
        <translation>die Seite ist größer, als ein Bild sein kann</translation>
    </message>
    <message>
        <source>the page could not be rendered</source>
        <translation>die Seite konnte nicht gerendert werden</translation>
    </message>
    <message>
        <source>there was not enough memory</source>
        <translation>es war nicht genug Speicher frei</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>unknown key &quot;%1&quot;; the keys are: %2</source>
        <translation>unbekannter Schlüssel „%1“; die Schlüssel sind: %2</translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>eine ganze Zahl von %1 bis %2</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true oder false</translation>
    </message>
    <message>
        <source>a font family name</source>
        <translation>den Namen einer Schriftfamilie</translation>
    </message>
    <message>
        <source>a colour as #RRGGBB or a colour name</source>
        <translation>eine Farbe als #RRGGBB oder einen Farbnamen</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not accepted; use %3</source>
        <translation>%1: „%2“ ist nicht zulässig; erwartet wird %3</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot;</source>
        <translation>unbekannter Schlüssel „%1“</translation>
    </message>
    <message>
        <source>%1: a list of values; put the text in double quotes</source>
        <translation>%1: eine Liste von Werten; setzen Sie den Text in doppelte Anführungszeichen</translation>
    </message>
    <message>
        <source>no preset named &quot;%1&quot;; the presets are: %2</source>
        <translation>keine Vorlage namens „%1“; die Vorlagen sind: %2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 is not a settings file (no [MainApp] group)</source>
        <translation>%1 ist keine Einstellungsdatei (keine Gruppe [MainApp])</translation>
    </message>
</context>
<context>
    <name>SourceFiles</name>
    <message>
        <source>Image Files (%1)</source>
        <translation>Bilddateien (%1)</translation>
    </message>
</context>
<context>
    <name>SourceFrames</name>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it needs more than %3 MB</source>
        <translation>mit %1 x %2 Pixeln braucht es mehr als %3 MB</translation>
    </message>
</context>
<context>
    <name>TargetSize</name>
    <message>
        <source>Files scaled down to fit the size limit: %1</source>
        <translation>Verkleinerte Dateien, um die Größengrenze einzuhalten: %1</translation>
    </message>
    <message>
        <source>Files left over the size limit: %1</source>
        <translation>Dateien über der Größengrenze: %1</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>A size limit needs a lossy target (%1)</source>
        <translation>Eine Größengrenze braucht ein verlustbehaftetes Ziel (%1)</translation>
    </message>
    <message>
        <source>%1; %2 is set to lossless</source>
        <translation>%1; %2 ist auf verlustfrei gestellt</translation>
    </message>
    <message>
        <source>%1; %2 is not one</source>
        <translation>%1; %2 ist keines</translation>
    </message>
    <message>
        <source>scaled to %1 % to fit %2</source>
        <translation>auf %1 % verkleinert, um %2 einzuhalten</translation>
    </message>
    <message>
        <source>over the size: %1 at quality %2, more than %3</source>
        <translation>zu groß: %1 bei Qualität %2, mehr als %3</translation>
    </message>
    <message>
        <source>The metadata to keep (%1) does not fit %2</source>
        <translation>Die zu behaltenden Metadaten (%1) passen nicht in %2</translation>
    </message>
    <message>
        <source>metadata left out to fit %1</source>
        <translation>Metadaten weggelassen, um %1 einzuhalten</translation>
    </message>
    <message>
        <source>Does not fit %1 even scaled to %2 %: %3 at quality %4</source>
        <translation>Passt selbst auf %2 % verkleinert nicht in %1: %3 bei Qualität %4</translation>
    </message>
    <message>
        <source>Image is empty</source>
        <translation>Das Bild ist leer</translation>
    </message>
</context>
<context>
    <name>TiffDecoder</name>
    <message>
        <source>TIFF with inks other than CMYK is not supported</source>
        <translation>TIFF mit anderen Druckfarben als CMYK wird nicht unterstützt</translation>
    </message>
    <message>
        <source>%1 TIFF with premultiplied alpha is not supported</source>
        <translation>%1-TIFF mit vormultipliziertem Alpha wird nicht unterstützt</translation>
    </message>
    <message>
        <source>TIFF compression %1 is not supported</source>
        <translation>TIFF-Kompression %1 wird nicht unterstützt</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>there is not enough memory to decode it</source>
        <translation>zum Dekodieren ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>photometric %1</source>
        <translation>Photometrie %1</translation>
    </message>
    <message>
        <source>signed %1</source>
        <translation>vorzeichenbehaftetes %1</translation>
    </message>
    <message>
        <source>floating-point %1</source>
        <translation>Gleitkomma-%1</translation>
    </message>
    <message>
        <source>complex %1</source>
        <translation>komplexes %1</translation>
    </message>
    <message>
        <source>%1-bit %2 TIFF is not supported</source>
        <translation>%1-Bit-%2-TIFF wird nicht unterstützt</translation>
    </message>
    <message>
        <source>the picture size %1 x %2 is too large: at most %3 pixels a side and %4 MB</source>
        <translation>die Bildgröße %1 x %2 ist zu groß: höchstens %3 Pixel je Seite und %4 MB</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>palette</source>
        <translation>Palette</translation>
    </message>
</context>
<context>
    <name>WatchDialog</name>
    <message>
        <source>Watch folder</source>
        <translation>Ordner überwachen</translation>
    </message>
    <message>
        <source>Move originals into done/ and failed/</source>
        <translation>Originale nach done/ und failed/ verschieben</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Durchsuchen …</translation>
    </message>
    <message>
        <source>Folder to watch:</source>
        <translation>Überwachter Ordner:</translation>
    </message>
    <message>
        <source>Folder to watch</source>
        <translation>Überwachter Ordner</translation>
    </message>
    <message>
        <source>Settings:</source>
        <translation>Einstellungen:</translation>
    </message>
    <message>
        <source>Output folder:</source>
        <translation>Zielordner:</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Zielordner</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Current settings</source>
        <translation>Aktuelle Einstellungen</translation>
    </message>
    <message>
        <source>Choose the folder to watch.</source>
        <translation>Wählen Sie den zu überwachenden Ordner.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>übersprungen</translation>
    </message>
    <message>
        <source>converted</source>
        <translation>konvertiert</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: %2 (%3)</source>
        <translation>%1: %2 (%3)</translation>
    </message>
    <message>
        <source>Watching %1.</source>
        <translation>%1 wird überwacht.</translation>
    </message>
    <message>
        <source>Stopping after the files in progress…</source>
        <translation>Halt nach den laufenden Dateien …</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Angehalten.</translation>
    </message>
</context>
<context>
    <name>WatchSession</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
</context>
</TS>
