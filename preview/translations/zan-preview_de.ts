<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>zan::preview::DocumentInfoBox</name>
    <message>
        <location filename="../document_info_box.cpp" line="13"/>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="14"/>
        <source>Subject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="15"/>
        <source>Author</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="16"/>
        <source>Keywords</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="21"/>
        <source>Document information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="33"/>
        <source>Sample &amp;values of the linked fields:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="36"/>
        <source>Sample values of the linked fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="37"/>
        <source>Field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="37"/>
        <source>Sample value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="82"/>
        <source>Index field %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../document_info_box.cpp" line="83"/>
        <source>Batch field %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zan::preview::Marks</name>
    <message>
        <location filename="../mark_style.cpp" line="16"/>
        <source>low confidence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="18"/>
        <source>not in the dictionary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="19"/>
        <source>mixed case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="21"/>
        <source>low font confidence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="23"/>
        <source>letters and digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../mark_style.cpp" line="24"/>
        <source>number</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zan::preview::PreviewPane</name>
    <message>
        <location filename="../preview_pane.cpp" line="87"/>
        <source>&amp;Page:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="90"/>
        <source>Page of the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="94"/>
        <source>&amp;Open page...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="95"/>
        <source>Preview another page image, TIFF or PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="98"/>
        <source>&amp;Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="99"/>
        <source>The whole page in the view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="102"/>
        <source>100 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="103"/>
        <source>Actual size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="104"/>
        <source>The page at its real size (Ctrl+wheel zooms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="109"/>
        <source>Recognising the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="111"/>
        <source>S&amp;top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="113"/>
        <source>Stop recognising the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="134"/>
        <source>Page as the PDF shows it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="141"/>
        <source>&amp;Export words...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="143"/>
        <source>Save the page&apos;s words as the release report has them (JSON)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="169"/>
        <source>Export words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="170"/>
        <source>JSON (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="240"/>
        <source>The page cannot be previewed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="247"/>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="264"/>
        <source>This PDF page carries text: the release keeps it as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="266"/>
        <source>Image only: the PDF holds the page image and no text; nothing is recognised or marked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="269"/>
        <source>Normal PDF: the PDF draws the recognised text, without the page image.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="283"/>
        <source>detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="284"/>
        <source>found by reading it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="285"/>
        <source>that orientation is not to be tried</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="287"/>
        <source>too little text to decide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="288"/>
        <source>no other orientation is to be tried</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="289"/>
        <source>The page stays as scanned (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="290"/>
        <source>The page is turned %1° clockwise to stand upright (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="297"/>
        <source>Open page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="298"/>
        <source>Pages (*.png *.tif *.tiff *.jpg *.jpeg *.pnm *.pgm *.ppm *.pbm *.bmp *.pdf);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="305"/>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="322"/>
        <source>No preview: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="352"/>
        <source>Recognition stopped; the page shown is from earlier settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="394"/>
        <source>There is no page to export yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../preview_pane.cpp" line="395"/>
        <source>%1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zan::preview::SuspectLegend</name>
    <message>
        <location filename="../suspect_legend.cpp" line="36"/>
        <location filename="../suspect_legend.cpp" line="47"/>
        <source>Suspect words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="48"/>
        <source>The words the PDF marks, with their reasons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="77"/>
        <source>&quot;%1&quot;: %2 (%3 %)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="86"/>
        <source>%1 (below %2 %)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="92"/>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../suspect_legend.cpp" line="98"/>
        <source>No suspect markers are ticked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../suspect_legend.cpp" line="99"/>
        <source>%n suspect word(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
