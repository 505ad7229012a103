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
    <name>CmykJpeg</name>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>there is not enough memory to decode it</source>
        <translation>pas assez de mémoire pour le décoder</translation>
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
    <name>CompareView</name>
    <message>
        <source>Compare the original with the output</source>
        <translation>Comparer l&apos;original et le résultat</translation>
    </message>
    <message>
        <source>Left and Right move the divider</source>
        <translation>Gauche et Droite déplacent la séparation</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <translation>Original : %1</translation>
    </message>
    <message>
        <source>Output: %1</source>
        <translation>Résultat : %1</translation>
    </message>
</context>
<context>
    <name>ConvertImageForm</name>
    <message>
        <source>Convert Images</source>
        <translation>Convertir les images</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Ajouter des fichiers</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vider</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>&amp;Output:</source>
        <translation>&amp;Sortie :</translation>
    </message>
    <message>
        <source>&amp;Quality</source>
        <translation>&amp;Qualité</translation>
    </message>
    <message>
        <source>Lossless</source>
        <translation>Sans perte</translation>
    </message>
    <message>
        <source>At most</source>
        <translation>Au plus</translation>
    </message>
    <message>
        <source> KB per file</source>
        <translation> Ko par fichier</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Drop images to convert here</source>
        <translation>Déposez ici les images à convertir</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Ou&amp;tput</source>
        <translation>Sor&amp;tie</translation>
    </message>
    <message>
        <source>Save converted files to:</source>
        <translation>Enregistrer les fichiers convertis dans :</translation>
    </message>
    <message>
        <source>Same folder as each source</source>
        <translation>Dossier de chaque source</translation>
    </message>
    <message>
        <source>Also write:</source>
        <translation>Aussi :</translation>
    </message>
    <message>
        <source>Metadata:</source>
        <translation>Métadonnées :</translation>
    </message>
    <message>
        <source>keep all</source>
        <translation>tout garder</translation>
    </message>
    <message>
        <source>keep all but location</source>
        <translation>tout sauf le lieu</translation>
    </message>
    <message>
        <source>keep only the colour profile</source>
        <translation>seulement le profil colorimétrique</translation>
    </message>
    <message>
        <source>remove all</source>
        <translation>tout retirer</translation>
    </message>
    <message>
        <source>Keep file dates</source>
        <translation>Garder les dates des fichiers</translation>
    </message>
    <message>
        <source>Ignore the orientation tag</source>
        <translation>Ignorer l&apos;orientation enregistrée</translation>
    </message>
    <message>
        <source>If the file exists:</source>
        <translation>Si le fichier existe :</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Demander</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Écraser</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <source>Keep both</source>
        <translation>Garder les deux</translation>
    </message>
    <message>
        <source>Keep folder structure</source>
        <translation>Garder la structure des dossiers</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Nom de fichier :</translation>
    </message>
    <message>
        <source>PNG compression level:</source>
        <translation>Niveau de compression PNG :</translation>
    </message>
    <message>
        <source>TIFF compression:</source>
        <translation>Compression TIFF :</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Never below quality:</source>
        <translation>Jamais sous la qualité :</translation>
    </message>
    <message>
        <source>Scale down to fit</source>
        <translation>Réduire pour tenir</translation>
    </message>
    <message>
        <source>Save to PDF</source>
        <translation>Enregistrer en PDF</translation>
    </message>
    <message>
        <source>PDF file name:</source>
        <translation>Nom du fichier PDF :</translation>
    </message>
    <message>
        <source>Paper size:</source>
        <translation>Format du papier :</translation>
    </message>
    <message>
        <source>Resize Image to Paper Size</source>
        <translation>Adapter l&apos;image au format du papier</translation>
    </message>
    <message>
        <source>Smooth Edges on Resize</source>
        <translation>Lisser les bords au redimensionnement</translation>
    </message>
    <message>
        <source>Keep JPEG pictures as they are</source>
        <translation>Garder les images JPEG telles quelles</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualité :</translation>
    </message>
    <message>
        <source>Page Orientation:</source>
        <translation>Orientation de la page :</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Paysage</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Marge :</translation>
    </message>
    <message>
        <source>No Margin</source>
        <translation>Sans marge</translation>
    </message>
    <message>
        <source>Add Margin</source>
        <translation>Avec marge</translation>
    </message>
    <message>
        <source>Margin Size:</source>
        <translation>Taille de la marge :</translation>
    </message>
    <message>
        <source>RAW pictures:</source>
        <translation>Images RAW :</translation>
    </message>
    <message>
        <source>full quality</source>
        <translation>pleine qualité</translation>
    </message>
    <message>
        <source>half size</source>
        <translation>demi-taille</translation>
    </message>
    <message>
        <source>fast: the embedded preview</source>
        <translation>rapide : l&apos;aperçu intégré</translation>
    </message>
    <message>
        <source>PDF pages at:</source>
        <translation>Pages PDF à :</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> ppp</translation>
    </message>
    <message>
        <source>Pages and frames:</source>
        <translation>Pages et images :</translation>
    </message>
    <message>
        <source>first only</source>
        <translation>la première seulement</translation>
    </message>
    <message>
        <source>every page as its own file</source>
        <translation>chaque page dans son fichier</translation>
    </message>
    <message>
        <source>keep animations</source>
        <translation>garder les animations</translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation>Couleurs :</translation>
    </message>
    <message>
        <source>Keep the source&apos;s profile</source>
        <translation>Garder le profil de la source</translation>
    </message>
    <message>
        <source>Convert to sRGB</source>
        <translation>Convertir en sRGB</translation>
    </message>
    <message>
        <source>Sc&amp;ale</source>
        <translation>T&amp;aille</translation>
    </message>
    <message>
        <source>Scale Image</source>
        <translation>Redimensionner l&apos;image</translation>
    </message>
    <message>
        <source>By percentage:</source>
        <translation>En pourcentage :</translation>
    </message>
    <message>
        <source>By absolute size</source>
        <translation>À une taille fixe</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Largeur :</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Hauteur :</translation>
    </message>
    <message>
        <source>By relative size</source>
        <translation>En gardant les proportions</translation>
    </message>
    <message>
        <source>Relative to:</source>
        <translation>Par rapport à :</translation>
    </message>
    <message>
        <source>Long edge:</source>
        <translation>Grand côté :</translation>
    </message>
    <message>
        <source>Do not enlarge</source>
        <translation>Ne pas agrandir</translation>
    </message>
    <message>
        <source>Te&amp;xt</source>
        <translation>Te&amp;xte</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Texte :</translation>
    </message>
    <message>
        <source>Font:</source>
        <translation>Police :</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Couleur :</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Changer</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Position :</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Opacité :</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>Image:</source>
        <translation>Image :</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Select...</source>
        <translation>Choisir…</translation>
    </message>
    <message>
        <source>Scale:</source>
        <translation>Échelle :</translation>
    </message>
    <message>
        <source>QR Co&amp;de</source>
        <translation>C&amp;ode QR</translation>
    </message>
    <message>
        <source>Ad&amp;justments</source>
        <translation>A&amp;justements</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Niveaux de gris</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sépia</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>Contraste :</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Luminosité :</translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation>Gamma :</translation>
    </message>
    <message>
        <source>Invert Colors:</source>
        <translation>Inverser les couleurs :</translation>
    </message>
    <message>
        <source>Gaussian Blur Radius: </source>
        <translation>Rayon du flou gaussien : </translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Reset Settings</source>
        <translation>Réinitialiser les paramètres</translation>
    </message>
    <message>
        <source>Choose the output folder</source>
        <translation>Choisir le dossier de destination</translation>
    </message>
    <message>
        <source>Choose the PDF file</source>
        <translation>Choisir le fichier PDF</translation>
    </message>
    <message>
        <source>Clear the text</source>
        <translation>Effacer le texte</translation>
    </message>
    <message>
        <source>Clear the image</source>
        <translation>Retirer l&apos;image</translation>
    </message>
    <message>
        <source>Clear the QR code text</source>
        <translation>Effacer le texte du code QR</translation>
    </message>
    <message>
        <source>Change the colour</source>
        <translation>Changer la couleur</translation>
    </message>
    <message>
        <source>Files to convert</source>
        <translation>Fichiers à convertir</translation>
    </message>
    <message>
        <source>Largest file size</source>
        <translation>Taille maximale du fichier</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Pourcentage</translation>
    </message>
    <message>
        <source>Long edge</source>
        <translation>Grand côté</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>paysage</translation>
    </message>
    <message>
        <source>portrait</source>
        <translation>portrait</translation>
    </message>
    <message>
        <source>Page: %1, %2</source>
        <translation>Page : %1, %2</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>ligne %1 : %2</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>The output folder %1 does not exist. Create it?</source>
        <translation>Le dossier de destination %1 n&apos;existe pas. Le créer ?</translation>
    </message>
    <message>
        <source>The output folder %1 could not be made. %2</source>
        <translation>Le dossier de destination %1 n&apos;a pas pu être créé. %2</translation>
    </message>
    <message>
        <source>The system refused it.</source>
        <translation>Le système l’a refusé.</translation>
    </message>
    <message>
        <source>There is nothing to convert.</source>
        <translation>Il n&apos;y a rien à convertir.</translation>
    </message>
    <message>
        <source>Confirm overwrite</source>
        <translation>Confirmer l&apos;écrasement</translation>
    </message>
    <message>
        <source>Are you sure you want to overwrite </source>
        <translation>Voulez-vous vraiment écraser </translation>
    </message>
    <message>
        <source>The file name pattern &quot;%1&quot; would write %2 over itself. Add to the pattern, such as {name}-copy, or choose another format.</source>
        <translation>Le modèle de nom « %1 » écrirait %2 sur lui-même. Complétez le modèle, par exemple {name}-copy, ou choisissez un autre format.</translation>
    </message>
    <message>
        <source>Also write: %1</source>
        <translation>Aussi : %1</translation>
    </message>
    <message>
        <source>Further outputs go with pictures, not with a PDF document</source>
        <translation>Les sorties supplémentaires valent pour les images, pas pour un document PDF</translation>
    </message>
    <message>
        <source>Presets to write as further outputs of each picture</source>
        <translation>Préréglages à écrire en sorties supplémentaires de chaque image</translation>
    </message>
    <message>
        <source>Also write</source>
        <translation>Écrire aussi</translation>
    </message>
    <message>
        <source>Relative height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Relative width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder.</source>
        <translation>%1 est un fichier, pas un dossier.</translation>
    </message>
    <message>
        <source>%1 is on a read-only disk.</source>
        <translation>%1 est sur un disque en lecture seule.</translation>
    </message>
    <message>
        <source>You have no permission to make folders in %1.</source>
        <translation>Vous n&apos;avez pas le droit de créer des dossiers dans %1.</translation>
    </message>
    <message>
        <source>Top - Left</source>
        <translation>Haut – Gauche</translation>
    </message>
    <message>
        <source>Top - Center</source>
        <translation>Haut – Centre</translation>
    </message>
    <message>
        <source>Top - Right</source>
        <translation>Haut – Droite</translation>
    </message>
    <message>
        <source>Center - Left</source>
        <translation>Centre – Gauche</translation>
    </message>
    <message>
        <source>Center - Center</source>
        <translation>Centre – Centre</translation>
    </message>
    <message>
        <source>Center - Right</source>
        <translation>Centre – Droite</translation>
    </message>
    <message>
        <source>Bottom - Left</source>
        <translation>Bas – Gauche</translation>
    </message>
    <message>
        <source>Bottom - Center</source>
        <translation>Bas – Centre</translation>
    </message>
    <message>
        <source>Bottom - Right</source>
        <translation>Bas – Droite</translation>
    </message>
    <message>
        <source>File List</source>
        <translation>Liste des fichiers</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Lettre US</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>Légal US</translation>
    </message>
    <message>
        <source>Executive</source>
        <translation>Executive</translation>
    </message>
    <message>
        <source>Are you sure you want to reset all settings to their default values?</source>
        <translation>Voulez-vous vraiment remettre tous les paramètres à leurs valeurs par défaut ?</translation>
    </message>
    <message>
        <source>Add Image Files</source>
        <translation>Ajouter des fichiers d&apos;images</translation>
    </message>
    <message>
        <source>Preset: %1 (changed)</source>
        <translation>Préréglage : %1 (modifié)</translation>
    </message>
    <message>
        <source>Preset: %1</source>
        <translation>Préréglage : %1</translation>
    </message>
    <message>
        <source>Orientation tag ignored</source>
        <translation>Orientation enregistrée ignorée</translation>
    </message>
    <message>
        <source>Saved beside each source</source>
        <translation>Enregistré à côté de chaque source</translation>
    </message>
    <message>
        <source>At most %1 KB, never scaled down</source>
        <translation>Au plus %1 Ko, jamais réduit</translation>
    </message>
    <message>
        <source>&amp;Background:</source>
        <translation>&amp;Fond :</translation>
    </message>
    <message>
        <source>&amp;Keep JPEG data when nothing changes the pixels</source>
        <translation>&amp;Garder les données JPEG quand rien ne change les pixels</translation>
    </message>
    <message>
        <source>So&amp;urces</source>
        <translation>So&amp;urces</translation>
    </message>
    <message>
        <source>&amp;Fit:</source>
        <translation>Ajuste&amp;ment :</translation>
    </message>
    <message>
        <source>stretch</source>
        <translation>étirer</translation>
    </message>
    <message>
        <source>fit inside</source>
        <translation>ajuster à l&apos;intérieur</translation>
    </message>
    <message>
        <source>fill and crop</source>
        <translation>remplir et rogner</translation>
    </message>
    <message>
        <source>fill and crop on the interesting part</source>
        <translation>remplir et rogner sur la partie intéressante</translation>
    </message>
    <message>
        <source>pad</source>
        <translation>compléter</translation>
    </message>
    <message>
        <source>&amp;Resampling:</source>
        <translation>Rééc&amp;hantillonnage :</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Lisse</translation>
    </message>
    <message>
        <source>Lanczos 3</source>
        <translation>Lanczos 3</translation>
    </message>
    <message>
        <source>Lanczos 3, sharpened</source>
        <translation>Lanczos 3, accentué</translation>
    </message>
</context>
<context>
    <name>ConvertImagePreviewLabel</name>
    <message>
        <source>1 of %1</source>
        <translation>1 sur %1</translation>
    </message>
</context>
<context>
    <name>ConvertImagesThread</name>
    <message>
        <source>Cannot write %1</source>
        <translation>Impossible d&apos;écrire %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>the colour profile was kept: its pixels cannot be made sRGB</source>
        <translation>le profil colorimétrique a été conservé : ses pixels ne peuvent pas être convertis en sRGB</translation>
    </message>
    <message>
        <source>trimmed to %1 x %2 pixels: a turned edge was not whole JPEG blocks</source>
        <translation>rogné à %1 x %2 pixels : un bord tourné ne formait pas des blocs JPEG entiers</translation>
    </message>
    <message>
        <source>stopped at frame %1 of %2</source>
        <translation>arrêté à l&apos;image %1 sur %2</translation>
    </message>
    <message>
        <source>animation kept as its first frame</source>
        <translation>animation gardée comme sa première image</translation>
    </message>
    <message>
        <source>only the first of its %1 pages was written: pages are not made into an animation</source>
        <translation>seule la première de ses %1 pages a été écrite : les pages ne deviennent pas une animation</translation>
    </message>
    <message>
        <source>stopped after page %1 of %2</source>
        <translation>arrêté après la page %1 sur %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>page %1: %2</source>
        <translation>page %1 : %2</translation>
    </message>
    <message>
        <source>the target was made by another program meanwhile</source>
        <translation>la cible a été créée entre-temps par un autre programme</translation>
    </message>
    <message>
        <source>a PDF document cannot be written with extra outputs</source>
        <translation>un document PDF ne peut pas être écrit avec des sorties supplémentaires</translation>
    </message>
    <message>
        <source>a PDF document cannot be an extra output</source>
        <translation>un document PDF ne peut pas être une sortie supplémentaire</translation>
    </message>
    <message>
        <source>every page as a file of its own cannot be an extra output</source>
        <translation>chaque page dans son propre fichier ne peut pas être une sortie supplémentaire</translation>
    </message>
    <message>
        <source>the target is one of the sources</source>
        <translation>la cible est l&apos;une des sources</translation>
    </message>
    <message>
        <source>the target is a symbolic link</source>
        <translation>la cible est un lien symbolique</translation>
    </message>
    <message>
        <source>Cannot put the picture into %1</source>
        <translation>Impossible de placer l&apos;image dans %1</translation>
    </message>
    <message>
        <source>%1 (files written: %2)</source>
        <translation>%1 (fichiers écrits : %2)</translation>
    </message>
</context>
<context>
    <name>ConvertProgressForm</name>
    <message>
        <source>Converting images in progress. Please wait...</source>
        <translation>Conversion des images en cours. Veuillez patienter…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Files that could not be converted</source>
        <translation>Fichiers qui n&apos;ont pas pu être convertis</translation>
    </message>
    <message>
        <source>Cancel the conversion</source>
        <translation>Annuler la conversion</translation>
    </message>
    <message>
        <source>Conversion progress</source>
        <translation>Progression de la conversion</translation>
    </message>
    <message>
        <source>Stopping after the current file…</source>
        <translation>Arrêt après le fichier en cours…</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Échecs : %1</translation>
    </message>
    <message>
        <source>Kestrix Picturist</source>
        <translation>Kestrix Picturist</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir le dossier</translation>
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
    <name>FolderWatch</name>
    <message>
        <source>a watched folder is converted to pictures, not to a PDF document</source>
        <translation>un dossier surveillé est converti en images, pas en document PDF</translation>
    </message>
    <message>
        <source>a watched folder is converted into an output folder, not beside the sources (outputBesideSource=false)</source>
        <translation>un dossier surveillé est converti dans un dossier de destination, pas à côté des sources (outputBesideSource=false)</translation>
    </message>
    <message>
        <source>the output folder is the watched folder; give another one</source>
        <translation>le dossier de destination est le dossier surveillé ; indiquez-en un autre</translation>
    </message>
    <message>
        <source>cannot watch %1</source>
        <translation>impossible de surveiller %1</translation>
    </message>
    <message>
        <source>another watch (process %1) converts %2 already</source>
        <translation>une autre surveillance (processus %1) convertit déjà %2</translation>
    </message>
    <message>
        <source>cannot write the lock %1</source>
        <translation>impossible d&apos;écrire le verrou %1</translation>
    </message>
    <message>
        <source>the watched folder %1 is gone; waiting for it to come back</source>
        <translation>le dossier surveillé %1 a disparu ; attente de son retour</translation>
    </message>
    <message>
        <source>the watched folder %1 is back</source>
        <translation>le dossier surveillé %1 est de retour</translation>
    </message>
    <message>
        <source>cannot write the journal %1</source>
        <translation>impossible d&apos;écrire le journal %1</translation>
    </message>
    <message>
        <source>cannot write the journal %1: %2</source>
        <translation>impossible d&apos;écrire le journal %1 : %2</translation>
    </message>
    <message>
        <source>cannot move %1 into %2</source>
        <translation>impossible de déplacer %1 dans %2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>impossible d&apos;écrire %1</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 n&apos;est pas un dossier</translation>
    </message>
</context>
<context>
    <name>ImageMagickUtil</name>
    <message>
        <source>The image could not be read: %1.</source>
        <translation>L&apos;image n&apos;a pas pu être lue : %1.</translation>
    </message>
    <message>
        <source>The image could not be read.</source>
        <translation>L&apos;image n&apos;a pas pu être lue.</translation>
    </message>
    <message>
        <source>a damaged or unsupported image sequence</source>
        <translation>une séquence d&apos;images endommagée ou non prise en charge</translation>
    </message>
    <message>
        <source>HDR (%1) pictures are not supported</source>
        <translation>les images HDR (%1) ne sont pas prises en charge</translation>
    </message>
    <message>
        <source>CMYK JPEG XL is not supported</source>
        <translation>le JPEG XL en CMJN n&apos;est pas pris en charge</translation>
    </message>
    <message>
        <source>its content is not a %1 picture: the file is damaged or misnamed</source>
        <translation>son contenu n&apos;est pas une image %1 : le fichier est endommagé ou mal nommé</translation>
    </message>
    <message>
        <source>not a picture type this program reads</source>
        <translation>pas un type d&apos;image que ce programme lit</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it is longer than %3 pixels a side</source>
        <translation>à %1 x %2 pixels, un côté dépasse %3 pixels</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it needs more than %3 MB</source>
        <translation>à %1 x %2 pixels, il faut plus de %3 Mo</translation>
    </message>
    <message>
        <source>it has no page %1</source>
        <translation>il n&apos;a pas de page %1</translation>
    </message>
    <message>
        <source>the drawing has no size</source>
        <translation>le dessin n&apos;a pas de taille</translation>
    </message>
    <message>
        <source>the file ends early; the missing part is grey</source>
        <translation>le fichier se termine trop tôt ; la partie manquante est grise</translation>
    </message>
    <message>
        <source>the file also holds an image sequence; its still picture was taken</source>
        <translation>le fichier contient aussi une séquence d&apos;images ; son image fixe a été prise</translation>
    </message>
    <message>
        <source>there is not enough memory to convert its colours</source>
        <translation>pas assez de mémoire pour convertir ses couleurs</translation>
    </message>
    <message>
        <source>The scaled size %1 x %2 is empty.</source>
        <translation>La taille mise à l’échelle %1 x %2 est vide.</translation>
    </message>
    <message>
        <source>The scaled size %1 x %2 is too large: at most %3 pixels a side and %4 MB.</source>
        <translation>La taille mise à l’échelle %1 x %2 est trop grande : au plus %3 pixels par côté et %4 Mo.</translation>
    </message>
    <message>
        <source>not enlarged: %1 x %2 kept, %3 x %4 asked</source>
        <translation>non agrandi : %1 x %2 conservé, %3 x %4 demandé</translation>
    </message>
    <message>
        <source>There was not enough memory to process the image.</source>
        <translation>Il n&apos;y avait pas assez de mémoire pour traiter l&apos;image.</translation>
    </message>
</context>
<context>
    <name>ImageWriters</name>
    <message>
        <source>A %1 file cannot hold an animation</source>
        <translation>Un fichier %1 ne peut pas contenir une animation</translation>
    </message>
    <message>
        <source>Image is empty</source>
        <translation>L&apos;image est vide</translation>
    </message>
    <message>
        <source>GIF encoder error %1</source>
        <translation>Erreur %1 de l&apos;encodeur GIF</translation>
    </message>
    <message>
        <source>A GIF picture can be at most 65,535 pixels wide and high</source>
        <translation>Une image GIF peut avoir au plus 65 535 pixels de large et de haut</translation>
    </message>
    <message>
        <source>Cannot reduce the image to 256 colours</source>
        <translation>Impossible de réduire l&apos;image à 256 couleurs</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels does not fit the %3 x %4 animation</source>
        <translation>Une image de %1 x %2 pixels ne tient pas dans l&apos;animation de %3 x %4</translation>
    </message>
    <message>
        <source>The GIF file was not written</source>
        <translation>Le fichier GIF n&apos;a pas été écrit</translation>
    </message>
    <message>
        <source>No encoder for &quot;%1&quot; files</source>
        <translation>Aucun encodeur pour les fichiers « %1 »</translation>
    </message>
    <message>
        <source>The %1 encoder failed: %2</source>
        <translation>L&apos;encodeur %1 a échoué : %2</translation>
    </message>
    <message>
        <source>Write error</source>
        <translation>Erreur d&apos;écriture</translation>
    </message>
    <message>
        <source>There is not enough memory to encode the picture</source>
        <translation>Il n&apos;y a pas assez de mémoire pour encoder l&apos;image</translation>
    </message>
    <message>
        <source>The jpg encoder failed: %1</source>
        <translation>L&apos;encodeur jpg a échoué : %1</translation>
    </message>
    <message>
        <source>The picture is too large for WEBP: at most %1 pixels a side</source>
        <translation>L&apos;image est trop grande pour le WEBP : au plus %1 pixels par côté</translation>
    </message>
    <message>
        <source>The webp encoder cannot start</source>
        <translation>L&apos;encodeur webp ne peut pas démarrer</translation>
    </message>
    <message>
        <source>The webp encoder failed: out of memory</source>
        <translation>L&apos;encodeur webp a échoué : mémoire insuffisante</translation>
    </message>
    <message>
        <source>The webp encoder failed: %1</source>
        <translation>L&apos;encodeur webp a échoué : %1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>The webp encoder failed: error %1</source>
        <translation>L&apos;encodeur webp a échoué : erreur %1</translation>
    </message>
</context>
<context>
    <name>KestrixConvert</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation>%1 : fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 échec : %2</translation>
    </message>
    <message>
        <source>%1 -&gt; %2 skipped: %3</source>
        <translation>%1 -&gt; %2 ignoré : %3</translation>
    </message>
    <message>
        <source>%1 -&gt; %2 %3 s</source>
        <translation>%1 -&gt; %2 %3 s</translation>
    </message>
    <message>
        <source>%1 files/s, %2:%3 left</source>
        <translation>%1 fichiers/s, %2:%3 restant</translation>
    </message>
    <message>
        <source>kestrix-convert: %1
Try &apos;kestrix-convert --help&apos;.
</source>
        <translation>kestrix-convert : %1
Essayez &apos;kestrix-convert --help&apos;.
</translation>
    </message>
    <message>
        <source>quality %1</source>
        <translation>qualité %1</translation>
    </message>
    <message>
        <source>lossless %1</source>
        <translation>sans perte %1</translation>
    </message>
    <message>
        <source>level %1</source>
        <translation>niveau %1</translation>
    </message>
    <message>
        <source>compression %1</source>
        <translation>compression %1</translation>
    </message>
    <message>
        <source>integer</source>
        <translation>entier</translation>
    </message>
    <message>
        <source>font family</source>
        <translation>famille de police</translation>
    </message>
    <message>
        <source>colour #RRGGBB</source>
        <translation>couleur #RRGGBB</translation>
    </message>
    <message>
        <source>text</source>
        <translation>texte</translation>
    </message>
    <message>
        <source>Usage: kestrix-convert [options] FILE|FOLDER|- ...
       kestrix-convert --watch DIR [options] [-o OUTPUT]
Converts pictures with the settings of Kestrix Picturist, without a display and without questions.
Folders are searched with their sub-folders for the picture types the window accepts
(the types below that are read); &apos;-&apos; reads one path per line from standard input.
Each file is converted once, in the order of its path.

</source>
        <translation>Usage : kestrix-convert [options] FICHIER|DOSSIER|- ...
        kestrix-convert --watch DOSSIER [options] [-o SORTIE]
Convertit des images avec les paramètres de Kestrix Picturist, sans écran et sans questions.
Les dossiers sont parcourus avec leurs sous-dossiers à la recherche des types d&apos;images que la
fenêtre accepte (ceux lus ci-dessous) ; &apos;-&apos; lit un chemin par ligne sur l&apos;entrée standard.
Chaque fichier est converti une fois, dans l&apos;ordre de son chemin.

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
        <translation>Paramètres (appliqués dans cet ordre : défauts ou fichier, --set, puis les options ci-dessous) :
  --settings FILE        un fichier enregistré par « Exporter les paramètres… » de la fenêtre
                         par ex. --settings weekly.ini
  --app-settings         les paramètres qu&apos;utilise la fenêtre en ce moment
  --preset NAME          un préréglage enregistré dans la fenêtre (« Enregistrer comme
                         préréglage… ») ou installé   par ex. --preset &apos;Web: 1600 px WEBP&apos;
                         donné à nouveau (ou --settings à nouveau), chaque suivant est une
                         sortie supplémentaire de chaque source, du même décodage, avec les
                         seuls paramètres de ce fichier (sans dossier propre : dans celui du premier)
  --list-presets         les noms des préréglages, un par ligne
  --set KEY=VALUE        un paramètre enregistré par sa clé (répétable ; clés ci-dessous)
                         par ex. --set textContent=&apos;(c) 2026&apos; --set textSize=24
  --to FORMAT            format cible : %1
                         par ex. --to webp
  -o, --output DIR       dossier de destination, créé s&apos;il manque   par ex. -o out
  --pdf FILE             un document PDF avec une page par image   par ex. --pdf album.pdf
  --quality N            qualité 0..99 de la cible avec perte   par ex. --quality 85
  --scale PERCENT        mettre à l&apos;échelle en pourcentage 0..400   par ex. --scale 50
  --width N, --height N  mettre à une largeur et/ou hauteur (une seule garde les proportions)
                         par ex. --width 1600
  --fit MODE             avec --width et --height : stretch (défaut, étiré), inside (dans les
                         deux), cover (remplissant les deux, rogné au centre), cover-smart
                         (rogné sur la partie qui attire l&apos;œil) ou pad (dans les deux,
                         complété avec la couleur de fond)   par ex. --fit cover-smart
  --resample FILTER      smooth (défaut), lanczos (Lanczos 3) ou sharp (Lanczos 3, accentué
                         après réduction)   par ex. --resample sharp
  --background COLOUR    le fond des pixels transparents là où la cible n&apos;a pas de
                         transparence (JPG), et la couleur de --fit pad (défaut #ffffff)
                         par ex. --background &apos;#202020&apos;
  --pdf-dpi N            sources PDF : la première page rendue à N points par pouce, 36..1200
                         (défaut 150)   par ex. --pdf-dpi 300
  --raw MODE             fichiers RAW d&apos;appareils photo : full (défaut), half (demi-taille) ou
                         preview (l&apos;aperçu intégré, bien plus rapide)   par ex. --raw preview
  --pdf-keep-jpeg        documents PDF : les images JPEG que rien ne modifie gardent leurs
                         propres données (pas de seconde compression, bien plus rapide)
  --jpeg-lossless        JPG depuis JPEG : les images seulement redressées ou privées de
                         métadonnées gardent leurs données JPEG, tournées sans perte (un bord
                         de blocs partiels est rogné) ; les autres sont encodées à nouveau
  --metadata CHOICE      ce que les sorties gardent des métadonnées des sources : all (défaut),
                         no-location, profile (seulement le profil colorimétrique) ou none
                         par ex. --metadata no-location
  --no-auto-orient       laisser les images telles qu&apos;enregistrées, leur orientation conservée
  --beside-source        écrire chaque sortie dans le dossier de sa source (demande un modèle
                         de nom différent du nom de la source, ou un autre format)
                         par ex. --beside-source --set fileNamePattern={name}-web
  --colours MODE         keep (défaut : le profil colorimétrique de chaque source le suit) ou
                         srgb (les pixels convertis en sRGB)   par ex. --colours srgb
  --pages MODE           sources multipages et animées : first (défaut, la première page),
                         each (chaque page ou image dans son fichier : name-1, name-2, ... ou
                         {page} dans le modèle de nom) ou animate (les cibles GIF et WEBP
                         restent animées)   par ex. --pages each
  --max-size SIZE        cibles avec perte : chaque fichier au plus SIZE (K : 1000 octets,
                         M : 1000 K), la qualité étant cherchée ; trop grande même à la plus
                         basse qualité, l&apos;image est réduite par pas de 10 %   par ex. --max-size 300K
  --min-quality N        la plus basse qualité que --max-size peut utiliser, 0..99 (défaut 40)
  --no-shrink            avec --max-size, ne jamais réduire : écrire à la plus basse qualité
                         et signaler le fichier comme trop grand

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
        <translation>Exécution :
  --existing MODE        une cible qui existe : skip (défaut, ignorer), overwrite (écraser) ou
                         rename (name-1.ext, ...)   par ex. --existing rename
                         sans elle, existingFilePolicy des paramètres s&apos;applique (Ask ignore)
  --jobs N               fichiers convertis à la fois, 0 = un par cœur (défaut)   par ex. --jobs 4
  --shard I/N            ne convertir que la I-ième de N tranches égales de la liste triée
                         par ex. --shard 2/4
  --watch DIR            convertir chaque image qui arrive dans DIR ou en dessous dès qu&apos;elle est
                         entièrement écrite (inchangée pendant une seconde), jusqu&apos;à Ctrl+C ; le
                         journal DIR/.kestrix-watch.journal garde ce qui a été fait, afin qu&apos;un
                         redémarrage ne répète ni n&apos;oublie aucun fichier (un fichier modifié
                         depuis est repris)
                         par ex. --watch ~/Incoming -o ~/Converted (sans -o : DIR/converted)
  --move-originals       avec --watch : déplacer chaque original converti dans DIR/done/ et
                         chaque échec dans DIR/failed/ avec NAME.txt donnant la raison
  --quiet                n&apos;afficher que les échecs
  --json                 afficher un résumé en JSON sur la sortie standard
  -h, --help             ce texte
  --version              la version

</translation>
    </message>
    <message>
        <source>Exit status: 0 every file converted or skipped, 1 a file failed, 2 usage or settings error,
130 stopped by Ctrl+C (143 by SIGTERM). A stop finishes the file being written; nothing
half-written is left, and a rerun with --existing skip carries on where the run stopped.

</source>
        <translation>Code de sortie : 0 chaque fichier converti ou ignoré, 1 un fichier a échoué, 2 erreur d&apos;usage
ou de paramètres, 130 arrêté par Ctrl+C (143 par SIGTERM). Un arrêt termine le fichier en cours
d&apos;écriture ; rien n&apos;est laissé à moitié écrit, et une nouvelle exécution avec --existing skip
reprend là où l&apos;exécution s&apos;est arrêtée.

</translation>
    </message>
    <message>
        <source>Examples:
  kestrix-convert --to webp -o out ~/Pictures
  find photos -name &apos;*.heic&apos; | kestrix-convert - --to jpg --quality 90 -o out
  kestrix-convert --settings weekly.ini --existing overwrite --json incoming/ &gt; report.json

</source>
        <translation>Exemples :
  kestrix-convert --to webp -o out ~/Pictures
  find photos -name &apos;*.heic&apos; | kestrix-convert - --to jpg --quality 90 -o out
  kestrix-convert --settings weekly.ini --existing overwrite --json incoming/ &gt; report.json

</translation>
    </message>
    <message>
        <source>Picture types (extensions; read as sources; written by --to, named by the first extension):
</source>
        <translation>Types d&apos;images (extensions ; lus comme sources ; écrits par --to, nommés par la première extension) :
</translation>
    </message>
    <message>
        <source>read</source>
        <translation>lu</translation>
    </message>
    <message>
        <source>write</source>
        <translation>écrit</translation>
    </message>
    <message>
        <source>
Keys for --set and settings files (group MainApp):
</source>
        <translation>
Clés de --set et des fichiers de paramètres (groupe MainApp) :
</translation>
    </message>
    <message>
        <source>the interface font</source>
        <translation>la police de l&apos;interface</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>vide</translation>
    </message>
    <message>
        <source>  %1 %2 default %3
</source>
        <translation>  %1 %2 par défaut %3
</translation>
    </message>
    <message>
        <source>targeFileType counts the formats above from 0 (%1).
</source>
        <translation>targeFileType numérote les formats ci-dessus à partir de 0 (%1).
</translation>
    </message>
    <message>
        <source>--settings, --preset and --app-settings exclude each other</source>
        <translation>--settings, --preset et --app-settings s&apos;excluent mutuellement</translation>
    </message>
    <message>
        <source>--set %1: expected KEY=VALUE</source>
        <translation>--set %1 : CLÉ=VALEUR attendu</translation>
    </message>
    <message>
        <source>--to: unknown format &quot;%1&quot;; accepted: %2</source>
        <translation>--to : format inconnu « %1 » ; acceptés : %2</translation>
    </message>
    <message>
        <source>--%1: unknown mode &quot;%2&quot;; accepted: %3</source>
        <translation>--%1 : mode inconnu « %2 » ; acceptés : %3</translation>
    </message>
    <message>
        <source>--max-size: &quot;%1&quot; is not a size from 1K to 2000M, such as 300K or 2M</source>
        <translation>--max-size : « %1 » n&apos;est pas une taille de 1K à 2000M, comme 300K ou 2M</translation>
    </message>
    <message>
        <source>--existing: unknown mode &quot;%1&quot;; accepted: skip overwrite rename</source>
        <translation>--existing : mode inconnu « %1 » ; acceptés : skip overwrite rename</translation>
    </message>
    <message>
        <source>--shard: &quot;%1&quot; is not I/N with 1 &lt;= I &lt;= N</source>
        <translation>--shard : « %1 » n&apos;est pas I/N avec 1 &lt;= I &lt;= N</translation>
    </message>
    <message>
        <source>--watch takes no other input, nor --shard or --json</source>
        <translation>--watch ne prend pas d&apos;autre entrée, ni --shard ni --json</translation>
    </message>
    <message>
        <source>--watch: %1 is not a folder</source>
        <translation>--watch : %1 n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>no output folder: give -o DIR or --pdf FILE (or outputFolder in the settings)</source>
        <translation>aucun dossier de destination : indiquez -o DOSSIER ou --pdf FICHIER (ou outputFolder dans les paramètres)</translation>
    </message>
    <message>
        <source>no PDF file name: give --pdf FILE (or pdfFileName in the settings)</source>
        <translation>aucun nom de fichier PDF : indiquez --pdf FICHIER (ou pdfFileName dans les paramètres)</translation>
    </message>
    <message>
        <source>no input: name files, folders or &apos;-&apos;</source>
        <translation>aucune entrée : indiquez des fichiers, des dossiers ou &apos;-&apos;</translation>
    </message>
    <message>
        <source>--beside-source: the name pattern &quot;%1&quot; would write %2 over itself; add to the pattern, e.g. {name}-copy, or choose another format</source>
        <translation>--beside-source : le modèle de nom « %1 » écrirait %2 sur lui-même ; complétez le modèle, par ex. {name}-copy, ou choisissez un autre format</translation>
    </message>
    <message>
        <source>kestrix-convert: cannot make the output folder %1
</source>
        <translation>kestrix-convert : impossible de créer le dossier de destination %1
</translation>
    </message>
    <message>
        <source>--move-originals goes with --watch</source>
        <translation>--move-originals ne va qu&apos;avec --watch</translation>
    </message>
    <message>
        <source>kestrix-convert: cannot make the output folder %1</source>
        <translation>kestrix-convert : impossible de créer le dossier de destination %1</translation>
    </message>
    <message>
        <source>Watching %1; Ctrl+C stops.</source>
        <translation>Surveillance de %1 ; Ctrl+C arrête.</translation>
    </message>
</context>
<context>
    <name>KestrixConvertReason</name>
    <message>
        <source>the name is not valid UTF-8, which this program cannot open; rename it</source>
        <translation>le nom n&apos;est pas de l&apos;UTF-8 valide, que ce programme ne peut pas ouvrir ; renommez-le</translation>
    </message>
    <message>
        <source>not a picture type this program reads</source>
        <translation>pas un type d&apos;image que ce programme lit</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>the target exists</source>
        <translation>la cible existe</translation>
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
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>&amp;Export settings…</source>
        <translation>&amp;Exporter les paramètres…</translation>
    </message>
    <message>
        <source>&amp;Import settings…</source>
        <translation>&amp;Importer des paramètres…</translation>
    </message>
    <message>
        <source>&amp;Presets</source>
        <translation>Pré&amp;réglages</translation>
    </message>
    <message>
        <source>&amp;Watch folder…</source>
        <translation>Surveiller un &amp;dossier…</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Exporter les paramètres</translation>
    </message>
    <message>
        <source>Settings files (*.ini);;All files (*)</source>
        <translation>Fichiers de paramètres (*.ini);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1.</source>
        <translation>Les paramètres n&apos;ont pas pu être enregistrés dans %1.</translation>
    </message>
    <message>
        <source>Import settings</source>
        <translation>Importer des paramètres</translation>
    </message>
    <message>
        <source>All files (*);;Settings files (*.ini *.conf)</source>
        <translation>Tous les fichiers (*);;Fichiers de paramètres (*.ini *.conf)</translation>
    </message>
    <message>
        <source>%1 is not a settings file.</source>
        <translation>%1 n&apos;est pas un fichier de paramètres.</translation>
    </message>
    <message>
        <source>These settings in %1 were ignored:
%2</source>
        <translation>Ces paramètres de %1 ont été ignorés :
%2</translation>
    </message>
    <message>
        <source>&amp;Save as preset…</source>
        <translation>&amp;Enregistrer comme préréglage…</translation>
    </message>
    <message>
        <source>&amp;Manage presets…</source>
        <translation>&amp;Gérer les préréglages…</translation>
    </message>
    <message>
        <source>Save as preset</source>
        <translation>Enregistrer comme préréglage</translation>
    </message>
    <message>
        <source>Preset name:</source>
        <translation>Nom du préréglage :</translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; could not be read.</source>
        <translation>Le préréglage « %1 » n&apos;a pas pu être lu.</translation>
    </message>
    <message>
        <source>These settings in the preset &quot;%1&quot; were ignored:
%2</source>
        <translation>Ces paramètres du préréglage « %1 » ont été ignorés :
%2</translation>
    </message>
    <message>
        <source>Watched folder: %1</source>
        <translation>Dossier surveillé : %1</translation>
    </message>
    <message>
        <source>Watching %1</source>
        <translation>Surveillance de %1</translation>
    </message>
    <message>
        <source>A folder is being watched. End the watch and close the window?</source>
        <translation>Un dossier est surveillé. Arrêter la surveillance et fermer la fenêtre ?</translation>
    </message>
</context>
<context>
    <name>OutputPlan</name>
    <message>
        <source>the target is one of the sources</source>
        <translation>la cible est l&apos;une des sources</translation>
    </message>
    <message>
        <source>%1 also becomes %2</source>
        <translation>%1 devient aussi %2</translation>
    </message>
    <message>
        <source>the target exists</source>
        <translation>la cible existe</translation>
    </message>
    <message>
        <source>the target is a symbolic link</source>
        <translation>la cible est un lien symbolique</translation>
    </message>
    <message>
        <source>the file name is too long</source>
        <translation>le nom de fichier est trop long</translation>
    </message>
</context>
<context>
    <name>OutputPrediction</name>
    <message>
        <source>Nothing would be written</source>
        <translation>Rien ne serait écrit</translation>
    </message>
    <message>
        <source>Too large to predict within the memory budget</source>
        <translation>Trop grand pour être prévu dans la mémoire allouée</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 lossless</source>
        <translation>%1 sans perte</translation>
    </message>
    <message>
        <source>%1 q%2</source>
        <translation>%1 q%2</translation>
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
        <translation>page PDF</translation>
    </message>
</context>
<context>
    <name>OverwriteFileDialog</name>
    <message>
        <source>Overwrite</source>
        <translation>Écraser</translation>
    </message>
    <message>
        <source>Target File</source>
        <translation>Fichier cible</translation>
    </message>
    <message>
        <source>Source File</source>
        <translation>Fichier source</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The following files already exist. Check all files that you wish to overwrite.</source>
        <translation>Les fichiers suivants existent déjà. Cochez tous les fichiers à écraser.</translation>
    </message>
    <message>
        <source>The following file already exist. Do you wish to overwrite it?</source>
        <translation>Le fichier suivant existe déjà. Voulez-vous l’écraser ?</translation>
    </message>
</context>
<context>
    <name>PhotoMetadata</name>
    <message>
        <source>The %1 (%2 MB) was not copied: it is over %3 MB.</source>
        <translation>%1 (%2 Mo) n&apos;a pas été copié : plus de %3 Mo.</translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation>profil colorimétrique</translation>
    </message>
</context>
<context>
    <name>PngReducer</name>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>there was not enough memory</source>
        <translation>il n&apos;y avait pas assez de mémoire</translation>
    </message>
</context>
<context>
    <name>PredictedSizeLabel</name>
    <message>
        <source>Predicted output</source>
        <translation>Résultat prévu</translation>
    </message>
    <message>
        <source>The selected file&apos;s output at the current settings, made by the same writer as a conversion</source>
        <translation>Le résultat du fichier sélectionné avec les paramètres actuels, écrit comme lors d’une conversion</translation>
    </message>
    <message>
        <source>Predicting the size…</source>
        <translation>Estimation de la taille…</translation>
    </message>
</context>
<context>
    <name>Presets</name>
    <message>
        <source>Archive: lossless JPEG XL, keep metadata</source>
        <translation>Archive : JPEG XL sans perte, métadonnées gardées</translation>
    </message>
    <message>
        <source>E-mail: 1024 px JPEG, no location</source>
        <translation>E-mail : JPEG 1024 px, sans lieu</translation>
    </message>
    <message>
        <source>Web: 1600 px WEBP</source>
        <translation>Web : WEBP 1600 px</translation>
    </message>
</context>
<context>
    <name>PresetsDialog</name>
    <message>
        <source>Installed presets cannot be renamed or deleted. A preset of yours saved under the same name takes the place of the installed one until you delete yours.</source>
        <translation>Les préréglages installés ne peuvent être ni renommés ni supprimés. Un préréglage à vous enregistré sous le même nom remplace celui installé jusqu&apos;à ce que vous supprimiez le vôtre.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Remplacer le préréglage « %1 » ?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is an installed preset. Put yours in its place? The installed one comes back when you delete yours.</source>
        <translation>« %1 » est un préréglage installé. Mettre le vôtre à sa place ? Celui installé revient quand vous supprimez le vôtre.</translation>
    </message>
    <message>
        <source>Manage presets</source>
        <translation>Gérer les préréglages</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>&amp;Rename…</source>
        <translation>&amp;Renommer…</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Open folder</source>
        <translation>&amp;Ouvrir le dossier</translation>
    </message>
    <message>
        <source>%1 (installed)</source>
        <translation>%1 (installé)</translation>
    </message>
    <message>
        <source>Rename preset</source>
        <translation>Renommer le préréglage</translation>
    </message>
    <message>
        <source>New name:</source>
        <translation>Nouveau nom :</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Supprimer le préréglage « %1 » ?</translation>
    </message>
</context>
<context>
    <name>PreviewDialog</name>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Loading image. Please wait...</source>
        <translation>Chargement de l&apos;image. Veuillez patienter…</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>Fit the picture into the window (0)</source>
        <translation>Ajuster l&apos;image à la fenêtre (0)</translation>
    </message>
    <message>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <source>Every pixel of the picture on a pixel of the screen (1)</source>
        <translation>Chaque pixel de l&apos;image sur un pixel de l&apos;écran (1)</translation>
    </message>
    <message>
        <source>200 %</source>
        <translation>200 %</translation>
    </message>
    <message>
        <source>Every pixel of the picture on four of the screen (2)</source>
        <translation>Chaque pixel de l&apos;image sur quatre pixels de l&apos;écran (2)</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Comparer</translation>
    </message>
    <message>
        <source>The original beside the output as the current settings write it</source>
        <translation>L&apos;original à côté du résultat tel que l&apos;écrivent les paramètres actuels</translation>
    </message>
    <message>
        <source>Zoom in: +, zoom out: -, fit: 0, close: Esc</source>
        <translation>Zoom avant : +, zoom arrière : -, ajuster : 0, fermer : Échap</translation>
    </message>
    <message>
        <source>Making the output…</source>
        <translation>Création du résultat…</translation>
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
        <translation>Le résultat ne peut pas être relu</translation>
    </message>
    <message>
        <source>Preview - %1</source>
        <translation>Aperçu – %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Choose the folder the pictures are written to.</source>
        <translation>Choisissez le dossier où les images sont écrites.</translation>
    </message>
    <message>
        <source>Save to PDF File</source>
        <translation>Enregistrer en fichier PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Fichiers PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The conversion processes are completed.</source>
        <translation>Les conversions sont terminées.</translation>
    </message>
    <message>
        <source>The conversion process is completed.</source>
        <translation>La conversion est terminée.</translation>
    </message>
    <message>
        <source>%1 of 1 file could not be converted.</source>
        <translation>%1 fichier sur 1 n&apos;a pas pu être converti.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted.</source>
        <translation>%1 fichiers sur %2 n&apos;ont pas pu être convertis.</translation>
    </message>
    <message>
        <source>The conversion was stopped. %1 holds 1 page.</source>
        <translation>La conversion a été arrêtée. %1 contient 1 page.</translation>
    </message>
    <message>
        <source>The conversion was stopped. %1 holds %2 pages.</source>
        <translation>La conversion a été arrêtée. %1 contient %2 pages.</translation>
    </message>
    <message>
        <source>1 file was skipped because its target exists.</source>
        <translation>1 fichier a été ignoré car sa cible existe.</translation>
    </message>
    <message>
        <source>%1 files were skipped because their targets exist.</source>
        <translation>%1 fichiers ont été ignorés car leurs cibles existent.</translation>
    </message>
    <message>
        <source>1 file was written under a new name.</source>
        <translation>1 fichier a été écrit sous un nouveau nom.</translation>
    </message>
    <message>
        <source>%1 files were written under new names.</source>
        <translation>%1 fichiers ont été écrits sous de nouveaux noms.</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>Écoulé : %1</translation>
    </message>
    <message>
        <source>Elapsed %1, about %2 left</source>
        <translation>Écoulé : %1, environ %2 restant</translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation>Arrêté : %1 sur %2 convertis</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 fichier</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 fichiers</translation>
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
        <translation>Un préréglage a besoin d’un nom.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a preset.</source>
        <translation>« %1 » ne peut pas nommer un préréglage.</translation>
    </message>
    <message>
        <source>A preset name cannot hold / or \.</source>
        <translation>Un nom de préréglage ne peut contenir ni / ni \.</translation>
    </message>
    <message>
        <source>A preset name cannot hold control characters.</source>
        <translation>Un nom de préréglage ne peut pas contenir de caractères de contrôle.</translation>
    </message>
    <message>
        <source>A preset name cannot begin or end with a space.</source>
        <translation>Un nom de préréglage ne peut pas commencer ni finir par une espace.</translation>
    </message>
    <message>
        <source>A preset name can have at most %1 characters.</source>
        <translation>Un nom de préréglage peut avoir au plus %1 caractères.</translation>
    </message>
    <message>
        <source>The preset could not be saved in %1.</source>
        <translation>Le préréglage n&apos;a pas pu être enregistré dans %1.</translation>
    </message>
    <message>
        <source>Only your own presets can be renamed.</source>
        <translation>Seuls vos propres préréglages peuvent être renommés.</translation>
    </message>
    <message>
        <source>There is already a preset named &quot;%1&quot;.</source>
        <translation>Il existe déjà un préréglage nommé « %1 ».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be renamed.</source>
        <translation>« %1 » n&apos;a pas pu être renommé.</translation>
    </message>
    <message>
        <source>Only your own presets can be deleted.</source>
        <translation>Seuls vos propres préréglages peuvent être supprimés.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be deleted.</source>
        <translation>« %1 » n&apos;a pas pu être supprimé.</translation>
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
<context>
    <name>RenderedSources</name>
    <message>
        <source>damaged or not a drawing</source>
        <translation>endommagé ou pas un dessin</translation>
    </message>
    <message>
        <source>the drawing&apos;s text is larger than %1 MB</source>
        <translation>le texte du dessin dépasse %1 Mo</translation>
    </message>
    <message>
        <source>the PDF is protected by a password</source>
        <translation>le PDF est protégé par un mot de passe</translation>
    </message>
    <message>
        <source>the PDF is encrypted in a way that cannot be read</source>
        <translation>le PDF est chiffré d&apos;une manière illisible</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>the PDF has no pages</source>
        <translation>le PDF n&apos;a pas de pages</translation>
    </message>
    <message>
        <source>the document has no page %1</source>
        <translation>le document n&apos;a pas de page %1</translation>
    </message>
    <message>
        <source>the page is larger than a picture can be</source>
        <translation>la page est plus grande qu’une image ne peut l’être</translation>
    </message>
    <message>
        <source>the page could not be rendered</source>
        <translation>la page n&apos;a pas pu être rendue</translation>
    </message>
    <message>
        <source>there was not enough memory</source>
        <translation>il n&apos;y avait pas assez de mémoire</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>unknown key &quot;%1&quot;; the keys are: %2</source>
        <translation>clé inconnue « %1 » ; les clés sont : %2</translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>un nombre entier de %1 à %2</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true ou false</translation>
    </message>
    <message>
        <source>a font family name</source>
        <translation>un nom de famille de police</translation>
    </message>
    <message>
        <source>a colour as #RRGGBB or a colour name</source>
        <translation>une couleur en #RRGGBB ou un nom de couleur</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not accepted; use %3</source>
        <translation>%1 : « %2 » n&apos;est pas accepté ; utilisez %3</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot;</source>
        <translation>clé inconnue « %1 »</translation>
    </message>
    <message>
        <source>%1: a list of values; put the text in double quotes</source>
        <translation>%1 : une liste de valeurs ; mettez le texte entre guillemets doubles</translation>
    </message>
    <message>
        <source>no preset named &quot;%1&quot;; the presets are: %2</source>
        <translation>aucun préréglage nommé « %1 » ; les préréglages sont : %2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>impossible de lire %1</translation>
    </message>
    <message>
        <source>%1 is not a settings file (no [MainApp] group)</source>
        <translation>%1 n&apos;est pas un fichier de paramètres (pas de groupe [MainApp])</translation>
    </message>
</context>
<context>
    <name>SourceFiles</name>
    <message>
        <source>Image Files (%1)</source>
        <translation>Fichiers d&apos;images (%1)</translation>
    </message>
</context>
<context>
    <name>SourceFrames</name>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>at %1 x %2 pixels it needs more than %3 MB</source>
        <translation>à %1 x %2 pixels, il faut plus de %3 Mo</translation>
    </message>
</context>
<context>
    <name>TargetSize</name>
    <message>
        <source>Files scaled down to fit the size limit: %1</source>
        <translation>Fichiers réduits pour respecter la limite de taille : %1</translation>
    </message>
    <message>
        <source>Files left over the size limit: %1</source>
        <translation>Fichiers au-delà de la limite de taille : %1</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>A size limit needs a lossy target (%1)</source>
        <translation>Une limite de taille exige une cible avec perte (%1)</translation>
    </message>
    <message>
        <source>%1; %2 is set to lossless</source>
        <translation>%1 ; %2 est réglé sans perte</translation>
    </message>
    <message>
        <source>%1; %2 is not one</source>
        <translation>%1 ; %2 n&apos;en est pas une</translation>
    </message>
    <message>
        <source>scaled to %1 % to fit %2</source>
        <translation>réduit à %1 % pour tenir dans %2</translation>
    </message>
    <message>
        <source>over the size: %1 at quality %2, more than %3</source>
        <translation>trop grand : %1 en qualité %2, plus de %3</translation>
    </message>
    <message>
        <source>The metadata to keep (%1) does not fit %2</source>
        <translation>Les métadonnées à garder (%1) ne tiennent pas dans %2</translation>
    </message>
    <message>
        <source>metadata left out to fit %1</source>
        <translation>métadonnées omises pour tenir dans %1</translation>
    </message>
    <message>
        <source>Does not fit %1 even scaled to %2 %: %3 at quality %4</source>
        <translation>Ne tient pas dans %1 même réduit à %2 % : %3 en qualité %4</translation>
    </message>
    <message>
        <source>Image is empty</source>
        <translation>L&apos;image est vide</translation>
    </message>
</context>
<context>
    <name>TiffDecoder</name>
    <message>
        <source>TIFF with inks other than CMYK is not supported</source>
        <translation>les TIFF avec des encres autres que CMJN ne sont pas pris en charge</translation>
    </message>
    <message>
        <source>%1 TIFF with premultiplied alpha is not supported</source>
        <translation>les TIFF %1 avec alpha prémultiplié ne sont pas pris en charge</translation>
    </message>
    <message>
        <source>TIFF compression %1 is not supported</source>
        <translation>la compression TIFF %1 n&apos;est pas prise en charge</translation>
    </message>
    <message>
        <source>damaged or truncated</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>there is not enough memory to decode it</source>
        <translation>pas assez de mémoire pour le décoder</translation>
    </message>
    <message>
        <source>photometric %1</source>
        <translation>photométrie %1</translation>
    </message>
    <message>
        <source>signed %1</source>
        <translation>%1 signé</translation>
    </message>
    <message>
        <source>floating-point %1</source>
        <translation>%1 à virgule flottante</translation>
    </message>
    <message>
        <source>complex %1</source>
        <translation>%1 complexe</translation>
    </message>
    <message>
        <source>%1-bit %2 TIFF is not supported</source>
        <translation>les TIFF %2 en %1 bits ne sont pas pris en charge</translation>
    </message>
    <message>
        <source>the picture size %1 x %2 is too large: at most %3 pixels a side and %4 MB</source>
        <translation>la taille %1 x %2 est trop grande : au plus %3 pixels par côté et %4 Mo</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>niveaux de gris</translation>
    </message>
    <message>
        <source>palette</source>
        <translation>palette</translation>
    </message>
</context>
<context>
    <name>WatchDialog</name>
    <message>
        <source>Watch folder</source>
        <translation>Surveiller un dossier</translation>
    </message>
    <message>
        <source>Move originals into done/ and failed/</source>
        <translation>Déplacer les originaux dans done/ et failed/</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Parcourir…</translation>
    </message>
    <message>
        <source>Folder to watch:</source>
        <translation>Dossier à surveiller :</translation>
    </message>
    <message>
        <source>Folder to watch</source>
        <translation>Dossier à surveiller</translation>
    </message>
    <message>
        <source>Settings:</source>
        <translation>Paramètres :</translation>
    </message>
    <message>
        <source>Output folder:</source>
        <translation>Dossier de destination :</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Dossier de destination</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Current settings</source>
        <translation>Paramètres actuels</translation>
    </message>
    <message>
        <source>Choose the folder to watch.</source>
        <translation>Choisissez le dossier à surveiller.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n&apos;est pas un dossier.</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>ignoré</translation>
    </message>
    <message>
        <source>converted</source>
        <translation>converti</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>%1: %2 (%3)</source>
        <translation>%1 : %2 (%3)</translation>
    </message>
    <message>
        <source>Watching %1.</source>
        <translation>Surveillance de %1.</translation>
    </message>
    <message>
        <source>Stopping after the files in progress…</source>
        <translation>Arrêt après les fichiers en cours…</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Arrêté.</translation>
    </message>
</context>
<context>
    <name>WatchSession</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Le dossier %1 ne peut pas être créé.</translation>
    </message>
</context>
</TS>
