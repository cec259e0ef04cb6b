#!/usr/bin/env python3
"""Checks the shipped program files without running them, so a host that
cannot run 32-bit programs still checks the 32-bit ones.

    check_release.py <dist folder> <version>

For the two cards and the two Orvex.dll: the machine and PE kind, a Windows
GUI program (the cards), imports of system DLLs only, the version record with <version>,
the resources each must carry, and at most 1 MiB. Prints one line per file
and each fault; exits 1 on any fault.
"""
import struct
import sys
import zipfile
from pathlib import Path

MAX_SIZE = 1 << 20
I386, AMD64 = 0x14C, 0x8664
PE32, PE32_PLUS = 0x10B, 0x20B
IMAGE_FILE_DLL = 0x2000
SUBSYSTEM_WINDOWS_GUI = 2
RT_BITMAP, RT_RCDATA, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 10, 12, 14, 16, 24
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD

# DLLs every Windows has; anything else would have to be shipped beside the file.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msimg32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "ws2_32.dll", "ntdll.dll", "shcore.dll",
}
CURSOR_IDS = set(range(32761, 32768))


class Image:
    """The parts of a PE file this check reads."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, opt_size, self.characteristics) = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if self.magic == PE32 else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, opt + opt_size + 40 * i)
            self.sections.append((va, max(vsize, rsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"address {rva:#x} lies in no section")

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii", "replace")

    def imports(self):
        rva, size = self.directories[1]
        names, at = [], self.offset(rva) if size else None
        while at is not None:
            name_rva = struct.unpack_from("<IIIII", self.data, at)[3]
            if name_rva == 0:
                break
            names.append(self.cstring(name_rva))
            at += 20
        return names

    def resources(self):
        """{type: {name or id: bytes}} of the first language of each entry."""
        rva, size = self.directories[2]
        if not size:
            return {}
        base = self.offset(rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        out = {}
        for kind, names in entries(0):
            for name, languages in entries(names & 0x7FFFFFFF):
                _, leaf = next(entries(languages & 0x7FFFFFFF))
                data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                at = self.offset(data_rva)
                out.setdefault(kind, {})[name] = self.data[at:at + data_size]
        return out


def fixed_versions(record):
    """File and product versions of a VS_VERSIONINFO record, as "a.b.c.d"."""
    at = record.find(struct.pack("<I", VS_FIXEDFILEINFO_SIGNATURE))
    if at < 0:
        return None, None
    fms, fls, pms, pls = struct.unpack_from("<IIII", record, at + 8)

    def text(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

    return text(fms, fls), text(pms, pls)


def check(path, machine, is_dll, version):
    faults = []
    data = path.read_bytes()
    try:
        image = Image(data)
    except (ValueError, struct.error) as e:
        return [f"not a program file: {e}"]
    want_magic = PE32 if machine == I386 else PE32_PLUS
    if image.machine != machine or image.magic != want_magic:
        faults.append(f"machine {image.machine:#x} with optional header {image.magic:#x},"
                      f" not {machine:#x} with {want_magic:#x}")
    if not is_dll and image.subsystem != SUBSYSTEM_WINDOWS_GUI:
        faults.append(f"subsystem {image.subsystem}, not the Windows GUI")
    if bool(image.characteristics & IMAGE_FILE_DLL) != is_dll:
        faults.append("a DLL" if not is_dll else "not a DLL")
    imports = image.imports()
    foreign = [n for n in imports if n.lower() not in SYSTEM_DLLS]
    if not imports or foreign:
        faults.append(f"imports other than system DLLs: {foreign or 'none at all'}")
    if len(data) > MAX_SIZE:
        faults.append(f"{len(data)} bytes, more than 1 MiB")

    res = image.resources()
    file_version, product_version = fixed_versions(next(iter(res.get(RT_VERSION, {}).values()), b""))
    if (file_version, product_version) != (version, version):
        faults.append(f"version record {file_version}/{product_version}, not {version}")
    if not CURSOR_IDS <= set(res.get(RT_GROUP_CURSOR, {})):
        faults.append("the cursors are missing")
    if not is_dll:
        bitmaps = set(res.get(RT_BITMAP, {}))
        wanted = {"FVLCLOSEBUTTON", "LETTER", "SNOWFLAKE", "SNOWMANFACE"}
        if not wanted <= bitmaps:
            faults.append(f"bitmaps missing: {sorted(wanted - bitmaps)}")
        raw = res.get(RT_RCDATA, {})
        if not raw.get("SCREENVIEW", b"").startswith(b"\xff\xd8\xff"):
            faults.append("the about window's JPEG picture is missing")
        if not raw.get("FROSTVALESCRIPT", b"").startswith(b"OTTO"):
            faults.append("the script font is missing")
        if "MAINICON" not in res.get(RT_GROUP_ICON, {}):
            faults.append("the program icon is missing")
        manifest = res.get(RT_MANIFEST, {}).get(1, b"")
        if b"Common-Controls" not in manifest or b'processorArchitecture="x86"' in manifest:
            faults.append("no manifest for any architecture's common controls")
    return faults


def main():
    dist, version = Path(sys.argv[1]), sys.argv[2]
    card = dist / f"Frostvale-Karte-{version}"
    sdk = dist / f"Orvex-SDK-{version}"
    files = [(card / "Frostvale-Karte.exe", I386, False),
             (card / "Frostvale-Karte-x64.exe", AMD64, False),
             (sdk / "bin/x86/Orvex.dll", I386, True),
             (sdk / "bin/x64/Orvex.dll", AMD64, True)]
    failed = False
    for path, machine, is_dll in files:
        shown = path.relative_to(dist)
        faults = check(path, machine, is_dll, version) if path.is_file() else ["missing"]
        failed |= bool(faults)
        print(f"release: {shown}: " + ("; ".join(faults) if faults else "ok") +
              (f" ({path.stat().st_size} bytes)" if path.is_file() else ""))
    with zipfile.ZipFile(dist / f"{card.name}.zip") as z:
        sizes = {info.filename: info.file_size for info in z.infolist()}
    for exe in ("Frostvale-Karte.exe", "Frostvale-Karte-x64.exe"):
        entry = f"{card.name}/{exe}"
        if not (card / exe).is_file() or sizes.get(entry) != (card / exe).stat().st_size:
            print(f"release: {card.name}.zip does not hold {exe} as shipped")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
