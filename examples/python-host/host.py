#!/usr/bin/python3
"""python-host: a Python host that places a ZANPdf3 panel on its own PyQt6 dialog and drives it
through the library's C entry points (ctypes), as a host in any language with a C foreign-function
interface would.

    /usr/bin/python3 host.py [--library PATH] [--show]

--library  the library file (default: libZANPdfCtl4.so.5 from the loader's search path)
--show     keeps the dialog open for the user; without it the host runs unattended and prints
           each step. Exits 0 when every step succeeded.
"""

import argparse
import ctypes
import os
import sys
import tempfile

from PyQt6 import sip
from PyQt6.QtWidgets import QApplication, QDialog, QPushButton, QVBoxLayout, QWidget

VT_EMPTY, VT_LONG, VT_STRING, VT_OBJECT, VT_BOOLEAN = 0, 3, 8, 9, 11
METHOD, PROPERTY_GET, PROPERTY_PUT = 1, 2, 4


class Variant(ctypes.Structure):
    _fields_ = [("type", ctypes.c_uint16), ("number", ctypes.c_int32),
                ("text", ctypes.c_char_p), ("object", ctypes.c_void_p)]


def string(text):
    return Variant(VT_STRING, 0, text.encode(), None)


def obj(pointer):
    return Variant(VT_OBJECT, 0, None, pointer)


EventCallback = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p,
                                 ctypes.POINTER(Variant), ctypes.c_int32)


class Library:
    """The entry points this host uses, with their C signatures."""

    def __init__(self, path):
        lib = ctypes.CDLL(path)
        self.lib = lib
        signatures = {
            "ZANDllGetVersion": (ctypes.c_char_p, [ctypes.c_void_p] * 3),
            "ZANDllGetLastError": (ctypes.c_char_p, []),
            "ZANDllCanUnloadNow": (ctypes.c_int32, []),
            "ZANVariantClear": (None, [ctypes.POINTER(Variant)]),
            "ZANSetupDataCreate": (ctypes.c_void_p, []),
            "ZANSetupDataLoad": (ctypes.c_void_p, [ctypes.c_char_p]),
            "ZANSetupDataSave": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_char_p]),
            "ZANSetupDataFree": (None, [ctypes.c_void_p]),
            "ZANSetupDataSetValue": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_int32,
                                                      ctypes.c_char_p, ctypes.POINTER(Variant)]),
            "ZANSetupDataGetValue": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_int32,
                                                      ctypes.c_char_p, ctypes.POINTER(Variant)]),
            "ZANPanelCreate": (ctypes.c_void_p, [ctypes.c_char_p, ctypes.c_void_p]),
            "ZANPanelDestroy": (None, [ctypes.c_void_p]),
            "ZANPanelInvoke": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_uint16,
                                                ctypes.POINTER(Variant), ctypes.c_int32,
                                                ctypes.POINTER(Variant)]),
            "ZANPanelConnect": (ctypes.c_int32, [ctypes.c_void_p, ctypes.c_char_p, EventCallback,
                                                 ctypes.c_void_p, ctypes.POINTER(ctypes.c_uint32)]),
        }
        for name, (result, arguments) in signatures.items():
            function = getattr(lib, name)
            function.restype, function.argtypes = result, arguments
            setattr(self, name, function)

    def check(self, status, what):
        if status != 0:
            raise RuntimeError("%s failed (%#x): %s" % (what, status & 0xFFFFFFFF,
                                                       self.ZANDllGetLastError().decode()))

    def call(self, panel, name, flags, *args):
        """Calls a member by name; answers its result as a Python value and the arguments as
        the member left them."""
        array = (Variant * max(len(args), 1))(*args)
        result = Variant()
        self.check(self.ZANPanelInvoke(panel, name.encode(), flags, array, len(args),
                                       ctypes.byref(result)), name)
        value = {VT_STRING: lambda: result.text.decode(), VT_OBJECT: lambda: result.object,
                 VT_BOOLEAN: lambda: result.number != 0}.get(result.type, lambda: result.number)()
        self.ZANVariantClear(ctypes.byref(result))
        return value, array

    def setup_value(self, setup, part, key):
        value = Variant()
        self.check(self.ZANSetupDataGetValue(setup, part, key.encode(), ctypes.byref(value)), key)
        text = value.text.decode() if value.type == VT_STRING else value.number
        self.ZANVariantClear(ctypes.byref(value))
        return text


def make_hub(root):
    """A workgroup hub on disk: a folder with Workflows and Dictionaries."""
    for name in ("Workflows/PDF Standard", "Dictionaries/English"):
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "w").close()
    return root


def run(arguments):
    app = QApplication(sys.argv[:1])
    lib = Library(arguments.library)
    print("library version", lib.ZANDllGetVersion(None, None, None).decode())
    work = tempfile.TemporaryDirectory()
    hub = make_hub(os.path.join(work.name, "hub"))

    setup = lib.ZANSetupDataCreate()
    lib.check(lib.ZANSetupDataSetValue(setup, 2, b"WorkgroupHub", string(hub)), "set hub")
    lib.check(lib.ZANSetupDataSetValue(setup, 2, b"WatchedFolder",
                                       string(os.path.join(hub, "watched"))), "set folder")

    dialog = QDialog()
    layout = QVBoxLayout(dialog)
    panel = lib.ZANPanelCreate(b"ZANPdf3", sip.unwrapinstance(dialog))
    if not panel:
        raise RuntimeError("create failed: " + lib.ZANDllGetLastError().decode())
    layout.addWidget(sip.wrapinstance(panel, QWidget))
    ok = QPushButton("OK", dialog)
    layout.addWidget(ok)
    print("panel object name", sip.wrapinstance(panel, QWidget).objectName())

    events = []

    def on_event(_context, name, args, count):
        events.append(name.decode())
        if name == b"Error":
            print("Error event %d: %s" % (args[0].number, args[1].text.decode()))

    callback = EventCallback(on_event)  # kept alive as long as the panel
    cookie = ctypes.c_uint32()
    for event in (b"Change", b"Error"):
        lib.check(lib.ZANPanelConnect(panel, event, callback, None, ctypes.byref(cookie)), "connect")

    lib.call(panel, "DisableElementDuringHubSearch", METHOD, obj(sip.unwrapinstance(ok)))
    _, back = lib.call(panel, "Init", METHOD, obj(setup))
    print("Init kept the setup data:", back[0].object == setup)
    watched = os.path.join(hub, "watched-too")
    lib.call(panel, "WatchedFolder", PROPERTY_PUT, string(watched))
    print("WatchedFolder ->", lib.call(panel, "WatchedFolder", PROPERTY_GET)[0] == watched)
    dialog.show()
    app.processEvents()
    verdict, _ = lib.call(panel, "Validate", METHOD)
    print("Validate ->", verdict)
    if verdict != 0:
        print("ValidateError ->", lib.call(panel, "ValidateError", PROPERTY_GET)[0])
        return 1
    lib.call(panel, "Apply", METHOD, obj(setup))
    print("Change events:", events.count("Change"))

    path = os.path.join(work.name, "release-setup.json").encode()
    lib.check(lib.ZANSetupDataSave(setup, path), "save")
    lib.ZANSetupDataFree(setup)
    reloaded = lib.ZANSetupDataLoad(path)
    if not reloaded:
        raise RuntimeError("load failed: " + lib.ZANDllGetLastError().decode())
    print("saved and reloaded WatchedFolder:",
          lib.setup_value(reloaded, 2, "WatchedFolder") == watched)
    lib.ZANSetupDataFree(reloaded)

    if arguments.show:
        dialog.exec()
    lib.ZANPanelDestroy(panel)
    print("can unload after:", "yes" if lib.ZANDllCanUnloadNow() == 0 else "no")
    print("python-host: ok")
    return 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", default="libZANPdfCtl4.so.5")
    parser.add_argument("--show", action="store_true")
    try:
        sys.exit(run(parser.parse_args()))
    except RuntimeError as failure:
        print("python-host:", failure, file=sys.stderr)
        sys.exit(1)
