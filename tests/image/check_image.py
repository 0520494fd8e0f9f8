#!/usr/bin/env python3
"""Reads the built CradlePatch.exe back: PE header, imports, stripping, version record,
manifest and icon, and checks each against what the program must carry."""
import argparse
import importlib.util
import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET
import zlib

import pefile

DISCLAIMER = "免责声明：本程序仅供参考，技术分享。"
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "shlwapi.dll", "comdlg32.dll",
               "ntdll.dll", "msvcrt.dll", "gdi32.dll", "shell32.dll"}
MACHINES = {"i686": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"],
            "x86_64": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]}
MANIFEST_ARCH = {"i686": "x86", "x86_64": "amd64"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"

ARGS = None
PE = None


def resources(type_id):
    """{resource id: bytes} of one resource type (first language of each)."""
    found = {}
    for kind in PE.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != type_id:
            continue
        for entry in kind.directory.entries:
            data = entry.directory.entries[0].data.struct
            found[entry.id] = PE.get_data(data.OffsetToData, data.Size)
    return found


def png_rgba(data):
    """(width, height, rgba bytes) of an 8-bit RGBA PNG whose rows are all unfiltered."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour_type = header[:4]
    assert (depth, colour_type) == (8, 6), "icon images must be 32-bit RGBA"
    raw = zlib.decompress(idat)
    stride = width * 4 + 1
    assert all(raw[r * stride] == 0 for r in range(height)), "unexpected PNG filter"
    return width, height, b"".join(raw[r * stride + 1:(r + 1) * stride] for r in range(height))


class ImageTest(unittest.TestCase):
    def test_header_is_a_console_program_for_the_build_architecture(self):
        self.assertEqual(PE.FILE_HEADER.Machine, MACHINES[ARGS.arch])
        self.assertEqual(PE.OPTIONAL_HEADER.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"])
        self.assertTrue(PE.FILE_HEADER.Characteristics & 0x0002, "not an executable image")
        # Page-aligned sections, so that Wine maps the payloads from the file instead of copying them.
        self.assertEqual(PE.OPTIONAL_HEADER.FileAlignment, 0x1000)

    def test_imports_come_from_windows_system_dlls_only(self):
        names = {entry.dll.decode().lower() for entry in PE.DIRECTORY_ENTRY_IMPORT}
        self.assertIn("kernel32.dll", names)
        self.assertLessEqual(names, SYSTEM_DLLS, "the image needs DLLs Windows does not have")

    def test_release_images_are_stripped(self):
        if ARGS.build_type != "Release":
            self.skipTest("only release images are stripped")
        self.assertEqual(PE.FILE_HEADER.PointerToSymbolTable, 0)
        self.assertEqual(PE.FILE_HEADER.NumberOfSymbols, 0)
        sections = [s.Name.rstrip(b"\0").decode() for s in PE.sections]
        self.assertFalse([s for s in sections if s.startswith(".debug") or s.startswith("/")], sections)

    def test_version_record(self):
        self.assertIn(1, resources(RT_VERSION))
        fixed = PE.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0))
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0))
        self.assertEqual(fixed.FileType, 1)  # application
        tables, translations = [], []
        for info in PE.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                tables += info.StringTable
            elif info.Key == b"VarFileInfo":
                translations += [v.entry for v in info.Var]
        self.assertEqual([t.LangID for t in tables], [b"080404b0"])  # Chinese (PRC), UTF-16
        self.assertEqual(translations, [{b"Translation": "0x0804 0x04b0"}])
        strings = {k.decode(): v.decode("utf-8") for k, v in tables[0].entries.items()}
        self.assertEqual(strings["FileVersion"], "1.0.0.0")
        self.assertEqual(strings["ProductVersion"], "1.0.0.0")
        self.assertEqual(strings["Comments"], DISCLAIMER)
        self.assertEqual(strings["FileDescription"], " ".join([DISCLAIMER] + ARGS.link))

    def test_manifest_asks_for_common_controls_6_and_the_invoker_rights(self):
        root = ET.fromstring(resources(RT_MANIFEST)[1])
        arch = MANIFEST_ARCH[ARGS.arch]
        self.assertEqual(root.find(ASM_V1 + "assemblyIdentity").get("processorArchitecture"), arch)
        dependency = root.find(f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/{ASM_V1}assemblyIdentity")
        self.assertEqual(dict(dependency.attrib), {
            "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
            "processorArchitecture": arch, "publicKeyToken": "6595b64144ccf1df", "language": "*"})
        level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                          f"{ASM_V3}requestedExecutionLevel")
        self.assertEqual(dict(level.attrib), {"level": "asInvoker", "uiAccess": "false"})

    def test_payloads_lie_unchanged_in_read_only_data(self):
        section = next(s for s in PE.sections if s.Name.rstrip(b"\0") == b".rdata")
        self.assertFalse(section.Characteristics & 0x80000000, ".rdata is writable")
        data = section.get_data()
        for name in ("Assembly-CSharp.dll", "AliceInCradle.exe", "安装前.PNG", "安装后.PNG"):
            with open(os.path.join(ARGS.payload_dir, name), "rb") as f:
                payload = f.read()
            at = data.find(payload)
            self.assertGreaterEqual(at, 0, f"{name} is not in .rdata byte for byte")
            # The length the program uses is stored with the bytes: nothing is cut off or added.
            self.assertIn(struct.pack("<I", len(payload)), data)

    def test_icon_is_the_drawn_one_at_64_and_256_pixels(self):
        groups = resources(RT_GROUP_ICON)
        self.assertEqual(len(groups), 1)
        group = next(iter(groups.values()))
        reserved, kind, count = struct.unpack("<HHH", group[:6])
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        icons = resources(RT_ICON)
        module_spec = importlib.util.spec_from_file_location("draw_icon", ARGS.icon_script)
        draw_icon = importlib.util.module_from_spec(module_spec)
        module_spec.loader.exec_module(draw_icon)
        sizes = []
        for i in range(count):
            w, h, _, _, planes, bits, length, icon_id = struct.unpack(
                "<BBBBHHIH", group[6 + 14 * i:20 + 14 * i])
            size = w or 256
            self.assertEqual((w, h, planes, bits), (w, h, 1, 32))
            width, height, rgba = png_rgba(icons[icon_id])
            self.assertEqual((width, height), (size, size))
            self.assertEqual(rgba, draw_icon.render(size), f"{size}px icon differs from the script")
            sizes.append(size)
        self.assertEqual(sorted(sizes), [64, 256])


def main():
    global ARGS, PE
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("image")
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    parser.add_argument("--build-type", default="")
    parser.add_argument("--icon-script", required=True)
    parser.add_argument("--link", action="append", default=[])
    parser.add_argument("--payload-dir", required=True)
    ARGS, rest = parser.parse_known_args()
    PE = pefile.PE(ARGS.image)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
