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
        <source>Sources</source>
        <translation>Quellen</translation>
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
        <translation>Anpass&amp;ungen</translation>
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
    <name>ImagePass</name>
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
    <name>PdfPass</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
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
</context>
<context>
    <name>PhotoMetadata</name>
    <message>
        <source>The %1 (%2 MB) was not copied: it is over %3 MB.</source>
        <translation>%1 (%2 MB) wurde nicht kopiert: mehr als %3 MB.</translation>
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
    <name>TargetSize</name>
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
