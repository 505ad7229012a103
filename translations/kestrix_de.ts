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
    <name>CocoaCode</name>
    <message>
        <source>Select folder ...</source>
        <translation>Ordner auswählen …</translation>
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
</TS>
