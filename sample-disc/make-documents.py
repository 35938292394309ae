#!/usr/bin/env python3
"""Writes the sample disc's small manuals and read-me files.

Run from this folder after changing the list below; the files it writes are
committed, so the build does not need Python.
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ZORVANE", "Documentation")

# (documentation folder, language folder, title, start document kind, with read-me)
DOCUMENTS = [
    ("Manuals", "English", "QX-500 series User Guide", "pdf", True),
    ("Manuals", "German", "QX-500 Serie Benutzerhandbuch", "pdf", True),
    ("Manuals", "French", "Guide de l'utilisateur QX-500", "html", True),
    ("Manuals", "Japanese", "QX-500 User Guide (Japanese edition)", "pdf", True),
    ("Manuals", "Spanish", "QX-500 Guia del usuario", "html", True),
    ("QX-750", "English", "QX-750 Duo User Guide", "pdf", True),
    ("QX-750", "Italian", "QX-750 Duo Guida per l'utente", "html", True),
    ("QX-750", "Dutch", "QX-750 Duo Gebruikershandleiding", "html", True),
]


def pdf(title):
    text = title.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
    content = f"BT /F1 24 Tf 72 720 Td ({text}) Tj ET".encode("latin-1")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


def html(title):
    return (f"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>{title}</title></head>\n"
            f"<body><h1>{title}</h1><p>Chapter 1: Setting up the device.</p></body></html>\n").encode()


def readme(folder, language):
    return ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Helvetica;}}\\f0\\fs24 "
            f"Read me first: {folder} documentation, {language}.\\par "
            "Install the driver before connecting the device.\\par}\n").encode()


for folder, language, title, kind, with_readme in DOCUMENTS:
    path = os.path.join(ROOT, folder, language)
    os.makedirs(path, exist_ok=True)
    if kind == "pdf":
        open(os.path.join(path, "top.pdf"), "wb").write(pdf(title))
    elif kind == "html":
        open(os.path.join(path, "top.html"), "wb").write(html(title))
    if with_readme:
        open(os.path.join(path, "MacOS_X_readme.rtf"), "wb").write(readme(folder, language))
