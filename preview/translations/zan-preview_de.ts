<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>zan::preview::DocumentInfoBox</name>
    <message>
        <location filename="../document_info_box.cpp" line="13"/>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="14"/>
        <source>Subject</source>
        <translation>Thema</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="15"/>
        <source>Author</source>
        <translation>Autor</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="16"/>
        <source>Keywords</source>
        <translation>Stichwörter</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="21"/>
        <source>Document information</source>
        <translation>Dokumentinformationen</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="33"/>
        <source>Sample values of the linked fields:</source>
        <translation>Beispielwerte der verknüpften Felder:</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="36"/>
        <source>Sample values of the linked fields</source>
        <translation>Beispielwerte der verknüpften Felder</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="37"/>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="37"/>
        <source>Sample value</source>
        <translation>Beispielwert</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="82"/>
        <source>Index field %1</source>
        <translation>Indexfeld %1</translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="83"/>
        <source>Batch field %1</source>
        <translation>Stapelfeld %1</translation>
    </message>
</context>
<context>
    <name>zan::preview::Marks</name>
    <message>
        <location filename="../mark_style.cpp" line="17"/>
        <source>low confidence</source>
        <translation>geringe Konfidenz</translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="19"/>
        <source>not in the dictionary</source>
        <translation>nicht im Wörterbuch</translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="20"/>
        <source>mixed case</source>
        <translation>gemischte Schreibung</translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="22"/>
        <source>low font confidence</source>
        <translation>geringe Schriftkonfidenz</translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="24"/>
        <source>letters and digits</source>
        <translation>Buchstaben und Ziffern</translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="25"/>
        <source>number</source>
        <translation>Zahl</translation>
    </message>
</context>
<context>
    <name>zan::preview::PreviewPane</name>
    <message>
        <location filename="../preview_pane.cpp" line="86"/>
        <source>Page:</source>
        <translation>Seite:</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="89"/>
        <source>Page of the file</source>
        <translation>Seite der Datei</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="93"/>
        <source>Open page...</source>
        <translation>Seite öffnen...</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="94"/>
        <source>Preview another page image, TIFF or PDF (%1)</source>
        <translation>Ein anderes Seitenbild, TIFF oder PDF in der Vorschau zeigen (%1)</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="97"/>
        <source>F&amp;it</source>
        <translation>E&amp;inpassen</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="98"/>
        <source>The whole page in the view</source>
        <translation>Die ganze Seite in der Ansicht</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="101"/>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="102"/>
        <source>Actual size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="103"/>
        <source>The page at its real size (Ctrl+wheel zooms)</source>
        <translation>Die Seite in ihrer wirklichen Größe (Strg+Mausrad zoomt)</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="108"/>
        <source>Recognising the page</source>
        <translation>Die Seite wird erkannt</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="110"/>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="112"/>
        <source>Stop recognising the page</source>
        <translation>Die Erkennung der Seite anhalten</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="133"/>
        <source>Page as the PDF shows it</source>
        <translation>Seite, wie das PDF sie zeigt</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="141"/>
        <source>&amp;Export words...</source>
        <translation>Wörter e&amp;xportieren...</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="144"/>
        <source>Save the page&apos;s words as the release report has them (JSON)</source>
        <translation>Die Wörter der Seite so speichern, wie der Freigabebericht sie enthält (JSON)</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="169"/>
        <source>Export words</source>
        <translation>Wörter exportieren</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="171"/>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="241"/>
        <source>The page cannot be previewed: %1</source>
        <translation>Für die Seite gibt es keine Vorschau: %1</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="248"/>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="265"/>
        <source>This PDF page carries text: the release keeps it as it is.</source>
        <translation>Diese PDF-Seite enthält Text: die Freigabe übernimmt sie unverändert.</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="268"/>
        <source>Image only: the PDF holds the page image and no text; nothing is recognised or marked.</source>
        <translation>Nur Bild: das PDF enthält das Seitenbild und keinen Text; nichts wird erkannt oder markiert.</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="272"/>
        <source>Normal PDF: the PDF draws the recognised text, without the page image.</source>
        <translation>Normales PDF: das PDF zeigt den erkannten Text ohne das Seitenbild.</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="286"/>
        <source>detected</source>
        <translation>erkannt</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="287"/>
        <source>found by reading it</source>
        <translation>beim Lesen gefunden</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="289"/>
        <source>that orientation is not to be tried</source>
        <translation>diese Ausrichtung soll nicht versucht werden</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="291"/>
        <source>too little text to decide</source>
        <translation>zu wenig Text für eine Entscheidung</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="292"/>
        <source>no other orientation is to be tried</source>
        <translation>keine andere Ausrichtung soll versucht werden</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="293"/>
        <source>The page stays as scanned (%1).</source>
        <translation>Die Seite bleibt wie gescannt (%1).</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="294"/>
        <source>The page is turned %1° clockwise to stand upright (%2).</source>
        <translation>Die Seite wird um %1° im Uhrzeigersinn aufgerichtet (%2).</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="301"/>
        <source>Open page</source>
        <translation>Seite öffnen</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="302"/>
        <source>Pages (*.png *.tif *.tiff *.jpg *.jpeg *.pnm *.pgm *.ppm *.pbm *.bmp *.pdf);;All files (*)</source>
        <translation>Seiten (*.png *.tif *.tiff *.jpg *.jpeg *.pnm *.pgm *.ppm *.pbm *.bmp *.pdf);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="309"/>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="326"/>
        <source>No preview: %1</source>
        <translation>Keine Vorschau: %1</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="364"/>
        <source>Recognition stopped; the page shown is from earlier settings.</source>
        <translation>Erkennung angehalten; die gezeigte Seite stammt von früheren Einstellungen.</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="409"/>
        <source>There is no page to export yet.</source>
        <translation>Es gibt noch keine Seite zum Exportieren.</translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="410"/>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>zan::preview::SuspectLegend</name>
    <message>
        <location filename="../suspect_legend.cpp" line="36"/>
        <location filename="../suspect_legend.cpp" line="47"/>
        <source>Suspect words</source>
        <translation>Verdächtige Wörter</translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="48"/>
        <source>The words the PDF marks, with their reasons</source>
        <translation>Die Wörter, die das PDF markiert, mit ihren Gründen</translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="76"/>
        <source>&quot;%1&quot;: %2 (%3 %)</source>
        <translation>„%1“: %2 (%3 %)</translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="87"/>
        <source>%1 (below %2 %)</source>
        <translation>%1 (unter %2 %)</translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="93"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="99"/>
        <source>No suspect markers are ticked.</source>
        <translation>Keine Verdachtsmarkierung ist angekreuzt.</translation>
    </message>
    <message numerus="yes">
        <location filename="../suspect_legend.cpp" line="100"/>
        <source>%n suspect word(s)</source>
        <translation>
            <numerusform>%n verdächtiges Wort</numerusform>
            <numerusform>%n verdächtige Wörter</numerusform>
        </translation>
    </message>
</context>
</TS>
