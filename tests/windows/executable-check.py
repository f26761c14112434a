#!/usr/bin/env python3
"""The Windows executable is the described one, read back with pefile: a 64-bit GUI program that
carries the icon (16x16 in 256 colours, 32x32 in 16 and in 256) and the version record, in
Italian (0x0410, code page 1200), with every entry as written and the numeric version 1.0.0.0,
and no link time in its headers.

    executable-check.py Quilvane.exe
"""
import sys

import pefile

EXPECTED_ENTRIES = {
    "Comments": "Calcolo e stampa grafico delle medie mensili e annuale del numero di Wolf.",
    "CompanyName": "nessuna",
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "ProductName": "Quilvane",
    "InternalName": "Quilvane",
    "OriginalFilename": "Quilvane.exe",
}
EXPECTED_ICONS = [(16, 16, 8), (32, 32, 4), (32, 32, 8)]  # width, height, bits a pixel

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def string_tables(pe):
    for info in getattr(pe, "FileInfo", []) or []:
        for entry in info if isinstance(info, list) else [info]:
            for table in getattr(entry, "StringTable", []) or []:
                yield table


def main(path):
    pe = pefile.PE(path)
    check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"],
          f"machine {pe.FILE_HEADER.Machine:#x}, not x86-64")
    check(pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
          f"subsystem {pe.OPTIONAL_HEADER.Subsystem}: a console window would open")
    check(pe.FILE_HEADER.TimeDateStamp == 0,
          f"a link time in the header ({pe.FILE_HEADER.TimeDateStamp}): two builds would differ")

    tables = list(string_tables(pe))
    check(len(tables) == 1, f"{len(tables)} string tables, not one")
    for table in tables:
        check(table.LangID.lower() in (b"041004b0", "041004b0"),
              f"string table {table.LangID!r}, not Italian in code page 1200 (041004b0)")
        entries = {k.decode(): v.decode() for k, v in table.entries.items()}
        for name, value in EXPECTED_ENTRIES.items():
            check(entries.get(name) == value, f"{name} is {entries.get(name)!r}, not {value!r}")
    translations = [var.entry for info in pe.FileInfo for entry in info
                    for var in getattr(entry, "Var", [])]
    check(any(t.get(b"Translation") == "0x0410 0x04b0" for t in translations),
          f"translation {translations}, not 0x0410 0x04b0")
    fixed = pe.VS_FIXEDFILEINFO[0]
    for name, (high, low) in {"file": (fixed.FileVersionMS, fixed.FileVersionLS),
                              "product": (fixed.ProductVersionMS, fixed.ProductVersionLS)}.items():
        version = (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)
        check(version == (1, 0, 0, 0), f"numeric {name} version {version}, not 1.0.0.0")

    icons = []
    groups = 0
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != pefile.RESOURCE_TYPE["RT_GROUP_ICON"]:
            continue
        for resource in kind.directory.entries:
            groups += 1
            language = resource.directory.entries[0]
            data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
            count = int.from_bytes(data[4:6], "little")
            for i in range(count):
                entry = data[6 + 14 * i:6 + 14 * (i + 1)]
                width, height = entry[0] or 256, entry[1] or 256
                bits = int.from_bytes(entry[6:8], "little")
                icons.append((width, height, bits))
    check(groups == 1, f"{groups} icons in the executable, not one")
    check(sorted(icons) == sorted(EXPECTED_ICONS), f"icon images {icons}, not {EXPECTED_ICONS}")

    for failure in failures:
        print(f"FAIL: {path}: {failure}")
    if not failures:
        print(f"PASS: {path}: 64-bit GUI program, its icon and its Italian version record")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
