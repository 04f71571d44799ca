#!/usr/bin/python3
"""Checks a PDF against the PDF/A-2b rules that the release step must keep, one by one.

Usage: pdfa_rules.py FILE.pdf
Prints one JSON object: {"rule name": ["problem", ...], ...}; a rule with an empty list holds.
This is no full validator: it checks the rules that the PDFs of the release step touch
(docs/zan-release.md lists them).
"""

import json
import re
import sys
import xml.etree.ElementTree as ET

import pikepdf
from pikepdf import Array, Dictionary, Name, Stream

RDF = "{http://www.w3.org/1999/02/22-rdf-syntax-ns#}"
NS = {
    "pdfaid": "http://www.aiim.org/pdfa/ns/id/",
    "dc": "http://purl.org/dc/elements/1.1/",
    "pdf": "http://ns.adobe.com/pdf/1.3/",
    "xmp": "http://ns.adobe.com/xap/1.0/",
}
FORBIDDEN_ACTIONS = {"/Launch", "/Sound", "/Movie", "/ResetForm", "/ImportData", "/JavaScript",
                     "/Hide", "/SetOCGState", "/Rendition", "/Trans", "/GoTo3DView"}
FORBIDDEN_ANNOTATIONS = {"/3D", "/Sound", "/Screen", "/Movie"}
KNOWN_ANNOTATIONS = {"/Text", "/Link", "/FreeText", "/Line", "/Square", "/Circle", "/Polygon",
                     "/PolyLine", "/Highlight", "/Underline", "/Squiggly", "/StrikeOut", "/Stamp",
                     "/Caret", "/Ink", "/Popup", "/FileAttachment", "/Widget", "/PrinterMark",
                     "/TrapNet", "/Watermark", "/Redact"}
ALLOWED_FILTERS = {"/FlateDecode", "/DCTDecode", "/CCITTFaxDecode", "/RunLengthDecode",
                   "/ASCIIHexDecode", "/ASCII85Decode", "/JBIG2Decode", "/JPXDecode"}
STANDARD_BLEND_MODES = {"/Normal", "/Compatible", "/Multiply", "/Screen", "/Overlay", "/Darken",
                        "/Lighten", "/ColorDodge", "/ColorBurn", "/HardLight", "/SoftLight",
                        "/Difference", "/Exclusion", "/Hue", "/Saturation", "/Color",
                        "/Luminosity"}
PRINT, HIDDEN, INVISIBLE, NOVIEW, TOGGLENOVIEW = 4, 2, 1, 32, 256


def names(value):
    if value is None:
        return []
    if isinstance(value, Array):
        return [str(v) for v in value]
    return [str(value)]


def text(value):
    return "" if value is None else str(value)


def pdf_date(value):
    """D:YYYYMMDDHHmmSS+HH'mm' as (digits, offset) for comparing with XMP."""
    m = re.match(r"D:(\d{14})([+-]\d\d)'(\d\d)'?$|D:(\d{14})Z", text(value))
    if not m:
        return None
    if m.group(4):
        return (m.group(4), "+00:00")
    return (m.group(1), "%s:%s" % (m.group(2), m.group(3)))


def xmp_date(value):
    m = re.match(r"(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)(Z|[+-]\d\d:\d\d)$", value or "")
    if not m:
        return None
    offset = "+00:00" if m.group(7) == "Z" else m.group(7)
    return ("".join(m.group(i) for i in range(1, 7)), offset)


def reachable(root):
    """Every dictionary and stream reachable from `root`, each indirect object once."""
    seen, todo = set(), [root]
    while todo:
        obj = todo.pop()
        if isinstance(obj, (Dictionary, Stream, Array)) and obj.is_indirect:
            if obj.objgen in seen:
                continue
            seen.add(obj.objgen)
        if isinstance(obj, Array):
            todo.extend(obj)
        elif isinstance(obj, (Dictionary, Stream)):
            yield obj
            todo.extend(obj[k] for k in obj.keys())


def check(path):
    rules = {r: [] for r in (
        "header", "trailer", "no encryption", "metadata stream", "pdfa identification",
        "information mirrored in metadata", "output intent", "device colour spaces",
        "fonts embedded", "no .notdef glyph", "annotations printable with appearances",
        "no forbidden actions", "no javascript", "stream filters", "images",
        "transparency", "no external streams", "no embedded files")}
    raw = open(path, "rb").read()

    # The header: %PDF-1.n (n at most 7) and a comment of at least four bytes above 127.
    m = re.match(rb"%PDF-1\.([0-7])\r?\n%([^\r\n]*)", raw)
    if not m:
        rules["header"].append("no %PDF-1.0 to 1.7 header followed by a comment line")
    elif sum(1 for b in m.group(2) if b > 127) < 4:
        rules["header"].append("the second line is no comment of four bytes above 127")

    pdf = pikepdf.open(path)
    trailer, root = pdf.trailer, pdf.Root
    ids = trailer.get("/ID")
    if not isinstance(ids, Array) or len(ids) != 2:
        rules["trailer"].append("no /ID of two strings in the trailer")
    if "/Encrypt" in trailer:
        rules["no encryption"].append("the trailer has /Encrypt")

    # The XMP metadata: an unfiltered XML stream whose packet header has no bytes or
    # encoding attributes, claiming part 2, conformance B.
    metadata = root.get("/Metadata")
    xmp = None
    if not isinstance(metadata, Stream):
        rules["metadata stream"].append("the catalog has no /Metadata stream")
    else:
        if metadata.get("/Type") != Name.Metadata or metadata.get("/Subtype") != Name.XML:
            rules["metadata stream"].append("not /Type /Metadata /Subtype /XML")
        if "/Filter" in metadata:
            rules["metadata stream"].append("the metadata stream is filtered")
        data = metadata.read_bytes()
        header = re.search(rb"<\?xpacket begin=[^>]*\?>", data)
        if not header:
            rules["metadata stream"].append("no xpacket header")
        elif b"bytes=" in header.group(0) or b"encoding=" in header.group(0):
            rules["metadata stream"].append("the xpacket header has bytes or encoding")
        if not re.search(rb"<\?xpacket end=['\"][rw]['\"]\?>", data):
            rules["metadata stream"].append("no xpacket trailer")
        try:
            xmp = ET.fromstring(re.sub(rb"<\?xpacket[^>]*\?>", b"", data))
        except ET.ParseError as e:
            rules["metadata stream"].append("not well-formed XML: %s" % e)

    def xmp_value(prefix, name):
        if xmp is None:
            return None
        for description in xmp.iter(RDF + "Description"):
            attribute = description.get("{%s}%s" % (NS[prefix], name))
            if attribute is not None:
                return attribute
            element = description.find("{%s}%s" % (NS[prefix], name))
            if element is not None:
                items = element.findall(".//" + RDF + "li")
                return items[0].text or "" if items else (element.text or "")
        return None

    if xmp_value("pdfaid", "part") != "2":
        rules["pdfa identification"].append("pdfaid:part is %r, not 2" % xmp_value("pdfaid", "part"))
    if xmp_value("pdfaid", "conformance") != "B":
        rules["pdfa identification"].append(
            "pdfaid:conformance is %r, not B" % xmp_value("pdfaid", "conformance"))

    # The document information and its XMP equivalents say the same.
    info = trailer.get("/Info")
    if info is not None:
        for key, prefix, name in (("/Title", "dc", "title"), ("/Author", "dc", "creator"),
                                  ("/Subject", "dc", "description"),
                                  ("/Keywords", "pdf", "Keywords"),
                                  ("/Creator", "xmp", "CreatorTool"),
                                  ("/Producer", "pdf", "Producer")):
            if key in info and text(info[key]) != (xmp_value(prefix, name) or ""):
                rules["information mirrored in metadata"].append(
                    "%s %r but %s:%s %r" % (key, text(info[key]), prefix, name,
                                            xmp_value(prefix, name)))
        for key, name in (("/CreationDate", "CreateDate"), ("/ModDate", "ModifyDate")):
            if key in info and pdf_date(info[key]) != xmp_date(xmp_value("xmp", name)):
                rules["information mirrored in metadata"].append(
                    "%s %s but xmp:%s %s" % (key, text(info[key]), name, xmp_value("xmp", name)))

    # One PDF/A output intent with an RGB ICC profile of a monitor or printer, version 2 to 4.
    intents = [i for i in root.get("/OutputIntents", Array()) if i.get("/S") == Name.GTS_PDFA1]
    if len(intents) != 1:
        rules["output intent"].append("%d GTS_PDFA1 output intents, not one" % len(intents))
    else:
        profile = intents[0].get("/DestOutputProfile")
        if not isinstance(profile, Stream):
            rules["output intent"].append("no DestOutputProfile stream")
        else:
            icc = profile.read_bytes()
            if icc[36:40] != b"acsp":
                rules["output intent"].append("the profile is no ICC profile")
            if icc[16:20] != b"RGB " or int(profile.get("/N", 0)) != 3:
                rules["output intent"].append("the profile is not RGB with /N 3")
            if icc[12:16] not in (b"mntr", b"prtr"):
                rules["output intent"].append("the profile's class is %r" % icc[12:16])
            if not 2 <= icc[8] <= 4:
                rules["output intent"].append("ICC version %d" % icc[8])
        if "/OutputConditionIdentifier" not in intents[0]:
            rules["output intent"].append("no OutputConditionIdentifier")

    # Every dictionary and stream reachable from the trailer, direct or indirect: colour
    # spaces, fonts, filters, images, transparency, actions, external streams.
    for obj in reachable(trailer):
        for key in ("/F", "/FFilter", "/FDecodeParms") if isinstance(obj, Stream) else ():
            if key in obj:
                rules["no external streams"].append("a stream has %s" % key)
        if isinstance(obj, Stream):
            for f in names(obj.get("/Filter")):
                if f not in ALLOWED_FILTERS:
                    rules["stream filters"].append("filter %s" % f)
        subtype, kind = obj.get("/Subtype"), obj.get("/Type")
        if subtype == Name.Image:
            space = obj.get("/ColorSpace")
            spaces = names(space) if isinstance(space, Array) else [str(space)]
            if "/DeviceCMYK" in spaces:
                rules["device colour spaces"].append("a DeviceCMYK image with an RGB intent")
            for key in ("/Alternates", "/OPI"):
                if key in obj:
                    rules["images"].append("an image has %s" % key)
            if obj.get("/Interpolate") is True:
                rules["images"].append("an image has /Interpolate true")
        if kind == Name.Font and subtype in (Name.TrueType, Name.Type1, Name.CIDFontType2,
                                             Name.CIDFontType0, Name.MMType1):
            d = obj.get("/FontDescriptor")
            if d is None or not any(k in d for k in ("/FontFile", "/FontFile2", "/FontFile3")):
                rules["fonts embedded"].append("%s is not embedded" % obj.get("/BaseFont"))
            if subtype == Name.CIDFontType2 and "/CIDToGIDMap" not in obj:
                rules["fonts embedded"].append("a CIDFontType2 without CIDToGIDMap")
            if d is not None and "/CIDSet" in d:
                rules["fonts embedded"].append("a CIDSet, which PoDoFo writes incomplete")
        if kind == Name.Font and subtype == Name.Type3:
            rules["fonts embedded"].append("a Type 3 font")
        if kind == Name.ExtGState or "/BM" in obj:
            for mode in names(obj.get("/BM")):
                if mode not in STANDARD_BLEND_MODES:
                    rules["transparency"].append("blend mode %s" % mode)
            for key in ("/TR", "/HTP"):
                if key in obj:
                    rules["transparency"].append("a graphics state with %s" % key)
            if "/TR2" in obj and obj["/TR2"] != Name.Default:
                rules["transparency"].append("a graphics state with /TR2")
        action = obj.get("/S") if kind == Name.Action or "/URI" in obj else None
        if action is not None and str(action) in FORBIDDEN_ACTIONS:
            rules["no forbidden actions"].append("action %s" % action)
        if "/AA" in obj:
            rules["no forbidden actions"].append("additional actions (/AA)")
        if "/JS" in obj or obj.get("/S") == Name.JavaScript:
            rules["no javascript"].append("JavaScript")
        if "/EmbeddedFile" == str(kind) or "/EmbeddedFiles" in obj:
            rules["no embedded files"].append("an embedded file")

    for obj in reachable(trailer):  # appearance streams and other forms paint in RGB or grey
        if isinstance(obj, Stream) and obj.get("/Subtype") == Name.Form:
            for operands, operator in pikepdf.parse_content_stream(obj):
                if str(operator) in ("k", "K"):
                    rules["device colour spaces"].append("a form paints in DeviceCMYK")

    names_tree = root.get("/Names")
    if names_tree is not None and "/JavaScript" in names_tree:
        rules["no javascript"].append("document JavaScript in the name tree")
    open_action = root.get("/OpenAction")
    if isinstance(open_action, Dictionary) and str(open_action.get("/S")) in FORBIDDEN_ACTIONS:
        rules["no forbidden actions"].append("open action %s" % open_action.get("/S"))

    # Annotations: a known, allowed type; printable and not hidden; an appearance of /N only,
    # except for links and pop-ups.
    for number, page in enumerate(pdf.pages, 1):
        for annot in page.obj.get("/Annots", Array()):
            subtype = str(annot.get("/Subtype"))
            where = "page %d %s" % (number, subtype)
            if subtype in FORBIDDEN_ANNOTATIONS or subtype not in KNOWN_ANNOTATIONS:
                rules["annotations printable with appearances"].append(where + ": type not allowed")
            flags = int(annot.get("/F", 0))
            if not flags & PRINT or flags & (HIDDEN | INVISIBLE | NOVIEW | TOGGLENOVIEW):
                rules["annotations printable with appearances"].append(where + ": flags %d" % flags)
            if subtype in ("/Link", "/Popup"):
                continue
            appearance = annot.get("/AP")
            if appearance is None or "/N" not in appearance:
                rules["annotations printable with appearances"].append(where + ": no appearance")
            elif set(appearance.keys()) != {"/N"}:
                rules["annotations printable with appearances"].append(
                    where + ": appearance keys %s" % sorted(appearance.keys()))

        # Text shown with a CID font never draws glyph 0 (.notdef).
        fonts = page.obj.get("/Resources", Dictionary()).get("/Font", Dictionary())
        two_byte = {k for k in fonts.keys() if fonts[k].get("/Subtype") == Name.Type0}
        current = None
        for operands, operator in pikepdf.parse_content_stream(page):
            op = str(operator)
            if op in ("k", "K"):
                rules["device colour spaces"].append("page %d paints in DeviceCMYK" % number)
            if op == "Tf":
                current = str(operands[0])
            elif op in ("Tj", "'", '"', "TJ") and current in two_byte:
                shown = operands[-1]
                strings = [s for s in shown if isinstance(s, pikepdf.String)] \
                    if isinstance(shown, Array) else [shown]
                for s in strings:
                    b = bytes(s)
                    if any(b[i:i + 2] == b"\0\0" for i in range(0, len(b) - 1, 2)):
                        rules["no .notdef glyph"].append("page %d draws glyph 0" % number)
    return rules


if __name__ == "__main__":
    json.dump(check(sys.argv[1]), sys.stdout, indent=1)
    print()
