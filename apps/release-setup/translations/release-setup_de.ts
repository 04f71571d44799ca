<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>PdfSettings</name>
    <message>
        <source>its text is %1 characters long; at most %2 are allowed</source>
        <translation>sein Text ist %1 Zeichen lang; höchstens %2 sind erlaubt</translation>
    </message>
    <message>
        <source>it links to an index field without a name</source>
        <translation>er verweist auf ein Indexfeld ohne Namen</translation>
    </message>
    <message>
        <source>it links to a batch field without a name</source>
        <translation>er verweist auf ein Stapelfeld ohne Namen</translation>
    </message>
    <message>
        <source>its link type %1 is unknown (0 text, 1 index field, 2 batch field)</source>
        <translation>seine Verweisart %1 ist unbekannt (0 Text, 1 Indexfeld, 2 Stapelfeld)</translation>
    </message>
    <message>
        <source>The PDF document %1 is invalid: %2.</source>
        <translation>Die PDF-Dokumentangabe „%1“ ist ungültig: %2.</translation>
    </message>
    <message>
        <source>the path cannot be reached</source>
        <translation>der Pfad ist nicht erreichbar</translation>
    </message>
    <message>
        <source>it is no workgroup hub (a hub is a folder that holds a Workflows and a Dictionaries folder)</source>
        <translation>er ist kein Workgroup-Hub (ein Hub ist ein Ordner mit den Ordnern Workflows und Dictionaries)</translation>
    </message>
    <message>
        <source>the hub answered with status %1</source>
        <translation>der Hub antwortete mit Status %1</translation>
    </message>
    <message>
        <source>The confidence threshold %1 is invalid. Enter a value from 0 to 100.</source>
        <translation>Die Konfidenzschwelle %1 ist ungültig. Geben Sie einen Wert von 0 bis 100 ein.</translation>
    </message>
    <message>
        <source>the PDF engine &quot;%1&quot; is unknown; the settings can only be checked for engine &quot;2&quot; (OCR) or &quot;3&quot; (Acrobat Capture).</source>
        <translation>die PDF-Engine „%1“ ist unbekannt; die Einstellungen lassen sich nur für Engine „2“ (OCR) oder „3“ (Acrobat Capture) prüfen.</translation>
    </message>
    <message>
        <source>The workgroup hub is missing. Enter the folder of the Acrobat Capture workgroup hub.</source>
        <translation>Der Workgroup-Hub fehlt. Geben Sie den Ordner des Acrobat Capture-Workgroup-Hubs ein.</translation>
    </message>
    <message>
        <source>The watched folder is missing. Enter the folder that Acrobat Capture watches for new documents.</source>
        <translation>Der überwachte Ordner fehlt. Geben Sie den Ordner ein, den Acrobat Capture auf neue Dokumente überwacht.</translation>
    </message>
    <message>
        <source>The workflows of the workgroup hub &quot;%1&quot; could not be read (status %2), so no workflow can be chosen. Check the workgroup hub, then enter it again.</source>
        <translation>Die Arbeitsabläufe des Workgroup-Hubs „%1“ konnten nicht gelesen werden (Status %2); daher lässt sich kein Arbeitsablauf wählen. Prüfen Sie den Workgroup-Hub und geben Sie ihn erneut ein.</translation>
    </message>
    <message>
        <source>No workflow is chosen. Choose one of the workflows of the workgroup hub.</source>
        <translation>Kein Arbeitsablauf ist gewählt. Wählen Sie einen der Arbeitsabläufe des Workgroup-Hubs.</translation>
    </message>
    <message>
        <source>The workflow cannot be chosen because the workgroup hub is missing or invalid. Check the workgroup hub.</source>
        <translation>Der Arbeitsablauf lässt sich nicht wählen, weil der Workgroup-Hub fehlt oder ungültig ist. Prüfen Sie den Workgroup-Hub.</translation>
    </message>
    <message>
        <source>The workgroup hub &quot;%1&quot; offers no workflow &quot;%2&quot;. Choose one of its workflows.</source>
        <translation>Der Workgroup-Hub „%1“ bietet keinen Arbeitsablauf „%2“ an. Wählen Sie einen seiner Arbeitsabläufe.</translation>
    </message>
    <message>
        <source>The dictionaries of the workgroup hub &quot;%1&quot; could not be read (status %2), so no dictionary can be chosen. Check the workgroup hub, then enter it again.</source>
        <translation>Die Wörterbücher des Workgroup-Hubs „%1“ konnten nicht gelesen werden (Status %2); daher lässt sich kein Wörterbuch wählen. Prüfen Sie den Workgroup-Hub und geben Sie ihn erneut ein.</translation>
    </message>
    <message>
        <source>The dictionary cannot be chosen because the workgroup hub is missing or invalid. Check the workgroup hub.</source>
        <translation>Das Wörterbuch lässt sich nicht wählen, weil der Workgroup-Hub fehlt oder ungültig ist. Prüfen Sie den Workgroup-Hub.</translation>
    </message>
    <message>
        <source>The workgroup hub &quot;%1&quot; offers no dictionary &quot;%2&quot;. Choose one of its dictionaries.</source>
        <translation>Der Workgroup-Hub „%1“ bietet kein Wörterbuch „%2“ an. Wählen Sie eines seiner Wörterbücher.</translation>
    </message>
    <message>
        <source>The page content &quot;%1&quot; is invalid. Choose one of: %2.</source>
        <translation>Der Seiteninhalt „%1“ ist ungültig. Wählen Sie einen von: %2.</translation>
    </message>
    <message>
        <source>The page content &quot;Image Only&quot; needs the workflow &quot;PDF Image Only&quot;; the workflow &quot;%1&quot; is chosen.</source>
        <translation>Der Seiteninhalt „Nur Bild“ braucht den Arbeitsablauf „PDF Image Only“; gewählt ist der Arbeitsablauf „%1“.</translation>
    </message>
    <message>
        <source>The language &quot;%1&quot; is invalid. Choose one of the listed languages.</source>
        <translation>Die Sprache „%1“ ist ungültig. Wählen Sie eine der aufgeführten Sprachen.</translation>
    </message>
    <message>
        <source>The workgroup hub &quot;%1&quot; has not been opened, so its workflows and dictionaries are unknown. Enter the workgroup hub again.</source>
        <translation>Der Workgroup-Hub „%1“ wurde nicht geöffnet; seine Arbeitsabläufe und Wörterbücher sind daher unbekannt. Geben Sie den Workgroup-Hub erneut ein.</translation>
    </message>
    <message>
        <source>The workgroup hub &quot;%1&quot; cannot be opened: %2. Enter the folder of an Acrobat Capture workgroup hub.</source>
        <translation>Der Workgroup-Hub „%1“ lässt sich nicht öffnen: %2. Geben Sie den Ordner eines Acrobat Capture-Workgroup-Hubs ein.</translation>
    </message>
    <message>
        <source>The output format type %1 is invalid. Choose one of the listed output formats.</source>
        <translation>Das Ausgabeformat %1 ist ungültig. Wählen Sie eines der aufgeführten Ausgabeformate.</translation>
    </message>
    <message>
        <source>The language %1 is invalid. Choose one of the listed languages.</source>
        <translation>Die Sprache %1 ist ungültig. Wählen Sie eine der aufgeführten Sprachen.</translation>
    </message>
    <message>
        <source>The accuracy %1 is invalid. Choose one of the listed accuracy levels.</source>
        <translation>Die Genauigkeit %1 ist ungültig. Wählen Sie eine der aufgeführten Genauigkeitsstufen.</translation>
    </message>
    <message>
        <source>No page orientation is chosen. Choose at least one orientation to try.</source>
        <translation>Keine Seitenausrichtung ist gewählt. Wählen Sie mindestens eine Ausrichtung, die versucht wird.</translation>
    </message>
</context>
<context>
    <name>zan::ZANLinks</name>
    <message>
        <source>Link source</source>
        <translation>Quelle des Werts</translation>
    </message>
    <message>
        <source>Where the value comes from: a text constant, an index field or a batch field</source>
        <translation>Woher der Wert kommt: ein fester Text, ein Indexfeld oder ein Stapelfeld</translation>
    </message>
    <message>
        <source>Text constant</source>
        <translation>Fester Text</translation>
    </message>
    <message>
        <source>Index field: %1</source>
        <translation>Indexfeld: %1</translation>
    </message>
    <message>
        <source>Batch field: %1</source>
        <translation>Stapelfeld: %1</translation>
    </message>
</context>
<context>
    <name>AboutBox</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>%1
Version %2.%3.%4
%5</source>
        <translation>%1
Version %2.%3.%4
%5</translation>
    </message>
</context>
<context>
    <name>zan::host::ReleaseSetupDialog</name>
    <message>
        <source>Pre&amp;view</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Show the settings on a sample page, as the PDF will show them</source>
        <translation>Die Einstellungen auf einer Beispielseite zeigen, so wie das PDF sie zeigen wird</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>How to use this dialog (F1)</source>
        <translation>So wird dieser Dialog bedient (F1)</translation>
    </message>
    <message>
        <source>About this program and the settings panels</source>
        <translation>Über dieses Programm und die Einstellungsbereiche</translation>
    </message>
    <message>
        <source>The settings could not be checked.</source>
        <translation>Die Einstellungen konnten nicht geprüft werden.</translation>
    </message>
    <message>
        <source>The settings could not be stored.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The setup file could not be saved.</source>
        <translation>Die Setup-Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The about box could not be shown.</source>
        <translation>Das Info-Fenster konnte nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Put every setting of this panel back to its default? The workgroup hub, the watched folder, the dictionary and workflow lists and the document information are cleared.</source>
        <translation>Alle Einstellungen dieses Bereichs auf ihre Standardwerte zurücksetzen? Workgroup-Hub, überwachter Ordner, Wörterbuch- und Arbeitsablauflisten und die Dokumentinformationen werden geleert.</translation>
    </message>
    <message>
        <source>Put every setting of this panel back to its default? The document information is cleared.</source>
        <translation>Alle Einstellungen dieses Bereichs auf ihre Standardwerte zurücksetzen? Die Dokumentinformationen werden geleert.</translation>
    </message>
    <message>
        <source>(no description)</source>
        <translation>(keine Beschreibung)</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
</context>
<context>
    <name>zan::host::HelpWindow</name>
    <message>
        <source>Release Setup Help</source>
        <translation>Hilfe zu Release Setup</translation>
    </message>
</context>
</TS>
