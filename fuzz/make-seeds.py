#!/usr/bin/env python3
"""Writes the fuzz targets' small seed corpora into fuzz/corpus from the
repository's own files: the sample disc's property lists in XML and binary
form, the strings tables, the window description, a whole small disc for the
catalogue target, and module paths for the Windows programs' text operations.
Run it again after those files change."""
import datetime
import pathlib
import plistlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / "fuzz" / "corpus"
disc = root / "sample-disc" / "ZORVANE" / "MacResources"
resources = root / "docshelf" / "resources"


def put(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode())


def both_forms(target, name, path):
    xml = path.read_bytes()
    put(target, name + ".xml", xml)
    put(target, name + ".binary", plistlib.dumps(plistlib.loads(xml), fmt=plistlib.FMT_BINARY))


for name in ("CDInfo", "ModelInfo", "CommonResource"):
    both_forms("property_list", name, disc / (name + ".plist"))
both_forms("property_list", "Documentation", resources / "Documentation.plist")
both_forms("window_description", "MainMenu", resources / "MainMenu.plist")
for name in ("CDInfo", "ModelInfo", "CommonResource"):
    both_forms("key_path", name, disc / (name + ".plist"))
both_forms("key_path", "Documentation", resources / "Documentation.plist")


def old_style(value, indent=""):
    """The old-style text form: { key = value; }, ( a, b ), <hex>, quoted strings."""
    if isinstance(value, dict):
        inner = "".join(f"{indent}    {old_style(k)} = {old_style(v, indent + '    ')};\n" for k, v in value.items())
        return "{\n" + inner + indent + "}"
    if isinstance(value, list):
        return "(" + ", ".join(old_style(v, indent) for v in value) + ")"
    if isinstance(value, bytes):
        return "<" + value.hex() + ">"
    text = str(value)
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def every_form(target, name, path):
    """The list in each form and encoding besides XML in UTF-8 and binary."""
    xml = path.read_bytes()
    declared16 = xml.replace(b'encoding="UTF-8"', b'encoding="UTF-16"').decode()
    text = "// old-style\n/* written by hand */\n" + old_style(plistlib.loads(xml)) + "\n"
    put(target, name + ".utf8-mark.xml", b"\xef\xbb\xbf" + xml)
    put(target, name + ".utf16le.xml", declared16.encode("utf-16"))
    put(target, name + ".utf16be.xml", b"\xfe\xff" + declared16.encode("utf-16-be"))
    put(target, name + ".utf16-declared.xml", declared16.encode("utf-16-le"))
    put(target, name + ".old-style.txt", text)
    put(target, name + ".old-style-utf16.txt", b"\xfe\xff" + text.encode("utf-16-be"))


for target in ("property_list", "key_path"):
    every_form(target, "CDInfo", disc / "CDInfo.plist")
    every_form(target, "Documentation", resources / "Documentation.plist")
# A key given twice at each level: the last value counts.
put("key_path", "repeated-keys.xml",
    "<plist><dict><key>ContainedModel</key><dict><key>QX-0000 Duo</key><string>first</string></dict>"
    "<key>ContainedModel</key><dict><key>QX-0000 Duo</key><dict/><key>QX-0000 Duo</key>"
    "<dict><key>Documentation</key><dict><key>Path</key><string>/a &amp; b</string></dict></dict></dict>"
    "</dict></plist>")
# Every kind of value, keys and strings with white space, entity references and
# letters beyond the BMP, in both forms.
edge = {" Model\t": {"a\n b": ["&<>\"'", " lead", "😀 é", -0, 2**62, -2**40, 1.5e300, -0.25, True, False,
                                b"\x00\xff" * 40, {}, [], datetime.datetime(2004, 2, 29, 23, 59, 58)]},
        "ContainedModel": {"QX-0000 Duo": {"Documentation": {"Path": "/a", "URL": "", "Language": ["x"]}},
                           "日本-0005": {}}}
put("key_path", "every-kind.xml", plistlib.dumps(edge, sort_keys=False))
put("key_path", "every-kind.binary", plistlib.dumps(edge, fmt=plistlib.FMT_BINARY, sort_keys=False))

for table in sorted(resources.glob("*.lproj/InfoPlist.strings")):
    put("strings_table", table.parent.stem + ".strings", table.read_bytes())
put("strings_table", "utf16.strings", "\ufeff\"UG_BTN_README\" = \"Read me\";\n".encode("utf-16-le"))
put("strings_table", "plist.strings", plistlib.dumps({"APP_MENU_QUIT": "Quit"}, fmt=plistlib.FMT_BINARY))

for picture in ("Background.png", "Docshelf.png"):
    put("png_header", picture, (resources / picture).read_bytes())
# A picture bomb's header: 65,536 pixels a side in 29 bytes.
put("png_header", "bomb.png", b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" +
    struct.pack(">II", 65536, 65536) + bytes([8, 6, 0, 0, 0]))

# FuzzedDataProvider's ConsumeRandomLengthString: a backslash and any other byte
# ends the string; two backslashes stand for one.
def text(value):
    data = value if isinstance(value, bytes) else value.encode()
    return data.replace(b"\\", b"\\\\") + b"\\x"


cd_info = (disc / "CDInfo.plist").read_text().replace("/Volumes/ZORVANE", "@DISC@")
cd_info = cd_info.replace("@DISC@/Documentation/Manuals", "@DISC@/Documentation")
messages = root / "sample-disc" / "ZORVANE" / "MacResources" / "CDCommonMessage.bundle" / "Contents" / "Resources"
windows = (text((messages / "English.lproj" / "Localizable.strings").read_bytes()) +
           text("[Setup]\nExeprog=Setup.exe\nArgv=\n") + text("MZ"))
put("catalogue", "sample-disc",
    text((resources / "Documentation.plist").read_text()) + text(cd_info) +
    text((disc / "ModelInfo.plist").read_text()) + windows +
    text("English") + text("German") + text("Japanese") + bytes([3, 1, 4]))

# Hostile lists: one string named by many references, a lone UTF-16 surrogate,
# an empty array one level deeper than the reader takes.
shared = b"bplist00" + bytes([0xAF, 0x10, 40]) + bytes([1] * 40) + bytes([0x5F, 0x10, 200]) + b"s" * 200
offsets = [8, 8 + 3 + 40]
table = len(shared)
shared += bytes(offsets) + bytes(6) + bytes([1, 1]) + struct.pack(">QQQ", 2, 0, table)
put("property_list", "shared-string.binary", shared)
surrogate = b"bplist00" + bytes([0x62, 0x00, 0x41, 0xD8, 0x00])
put("property_list", "lone-surrogate.binary",
    surrogate + bytes([8]) + bytes(6) + bytes([1, 1]) + struct.pack(">QQQ", 1, 0, len(surrogate)))
put("property_list", "empty-array-too-deep.xml",
    "<plist>" + "<array>" * 128 + "<array/>" + "</array>" * 128 + "</plist>")

for name, path in (("plain", "C:\\disc\\vps_QX-500.exe"), ("dots", "D:\\a.b\\VPS_QX.750 Duo.exe"),
                   ("no-prefix", "C:\\Supplies.exe"), ("slashes", "C:/web/viewer.EXEC -url %1")):
    put("vendpost_text", name, struct.pack("<Q", len(path) + 1) + text(path) +
        b"\"C:\\Program Files\\Web\\viewer.exe\" -url \"%1\"")
for name, path in (("plain", "C:\\Disc\\Start.exe"), ("two-dots", "C:\\Disc.1\\Start.Here.exe"),
                   ("drive-root", "D:Start.exe"), ("no-folder", "Start")):
    put("startwick_text", name, path.encode() + bytes([200]))
