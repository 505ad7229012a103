<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>for Linux</source>
        <translation>pour Linux</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version : </translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Site web :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Version: %1.%2.%3</source>
        <translation>Version : %1.%2.%3</translation>
    </message>
</context>
<context>
    <name>CocoaCode</name>
    <message>
        <source>Select folder ...</source>
        <translation>Choisir un dossier…</translation>
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
        <translation>Convertisseur d’images par lots</translation>
    </message>
    <message>
        <source>Convert, scale and watermark many pictures in one go</source>
        <translation>Convertir, redimensionner et filigraner de nombreuses images en une fois</translation>
    </message>
    <message>
        <source>convert;resize;scale;watermark;batch;photo;AVIF;HEIC;WEBP;JPEG;PDF;</source>
        <extracomment>Search words of the menu entry, each followed by &apos;;&apos;; the format names stay.</extracomment>
        <translation>convertir;redimensionner;échelle;filigrane;lot;photo;image;AVIF;HEIC;WEBP;JPEG;PDF;</translation>
    </message>
    <message>
        <source>Convert with Kestrix Picturist</source>
        <translation>Convertir avec Kestrix Picturist</translation>
    </message>
    <message>
        <source>Open the selected pictures and folders in Kestrix Picturist</source>
        <translation>Ouvrir les images et dossiers choisis dans Kestrix Picturist</translation>
    </message>
    <message>
        <source>Kestrix Picturist converts whole folders of pictures at once. Drop files and folders into its window, pick a target format and an output folder, and watch a live preview of the result before the list is converted.</source>
        <translation>Kestrix Picturist convertit des dossiers entiers d’images en une fois. Déposez des fichiers et des dossiers dans sa fenêtre, choisissez un format cible et un dossier de sortie, et voyez le résultat dans un aperçu en direct avant que la liste ne soit convertie.</translation>
    </message>
    <message>
        <source>Writes AVIF, GIF, HEIC, HEIF, JPEG, JPEG XL, PNG, TIFF, WEBP and multi-page PDF</source>
        <translation>Écrit AVIF, GIF, HEIC, HEIF, JPEG, JPEG XL, PNG, TIFF, WEBP et des PDF de plusieurs pages</translation>
    </message>
    <message>
        <source>Reads SVG drawings, PDF pages and camera RAW files besides these</source>
        <translation>Lit aussi les dessins SVG, les pages PDF et les fichiers RAW d’appareils photo</translation>
    </message>
    <message>
        <source>Scales, stamps text, picture and QR-code watermarks and adjusts colours</source>
        <translation>Redimensionne, appose des filigranes de texte, d’image et de QR code et ajuste les couleurs</translation>
    </message>
    <message>
        <source>Keeps photo metadata and colour profiles</source>
        <translation>Conserve les métadonnées des photos et les profils de couleurs</translation>
    </message>
    <message>
        <source>Comes with kestrix-convert, the same conversion on the command line</source>
        <translation>Fourni avec kestrix-convert, la même conversion en ligne de commande</translation>
    </message>
    <message>
        <source>The main window, ready for pictures to be dropped</source>
        <translation>La fenêtre principale, prête à recevoir des images</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>Cannot be read</source>
        <translation>Illisible</translation>
    </message>
</context>
<context>
    <name>RemoveThumbnailsDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialogue</translation>
    </message>
    <message>
        <source>The program removing unused thumbnail files. Please wait...</source>
        <translation>Le programme supprime les miniatures inutilisées. Veuillez patienter…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
</TS>
