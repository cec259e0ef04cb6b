#!/usr/bin/python3
"""Writes the script font the Letter window carries: resources/frostvale-script.otf.

Source: Dancing Script Bold from Debian's fonts-dancingscript (SIL Open Font
License 1.1, copyright 2010-2011 Pablo Impallari and Igino Marini). The copy
keeps the glyphs of the characters of Windows-1252, the code page of the
card's own texts, with their outlines and advances unchanged, and drops the
layout tables, which the system's text drawing does not use. The licence asks
that a modified copy not carry the reserved name "Dancing Script", so the copy
is named "Frostvale Script"; its copyright record stays, and its licence
record carries the whole licence (resources/frostvale-script-OFL.txt), so the
copy inside the program file brings its licence along.

The output is committed, so a build never needs this script. Run it again only
when the source font changes; it needs Debian's python3-fonttools:
    /usr/bin/python3 tools/make_script_font.py
"""

import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = "/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf"
TARGET = os.path.join(ROOT, "resources", "frostvale-script.otf")
LICENCE = os.path.join(ROOT, "resources", "frostvale-script-OFL.txt")
FAMILY = "Frostvale Script"
STYLE = "Bold"

# Windows-1252's printable characters (0x7F and the five unassigned bytes left out).
CODE_PAGE = sorted(
    {ord(bytes([b]).decode("cp1252")) for b in range(0x20, 0x100)
     if b not in (0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D)})


def rename(font):
    """Gives the copy its own family name in every name record that names it."""
    full = f"{FAMILY} {STYLE}"
    postscript = FAMILY.replace(" ", "") + "-" + STYLE
    with open(LICENCE, encoding="utf-8") as f:
        licence = f.read().strip()
    names = {1: FAMILY, 2: STYLE, 3: f"{postscript};1.2", 4: full, 6: postscript, 13: licence}
    for record in font["name"].names:
        if record.nameID in names:
            record.string = names[record.nameID]
    # Records that only repeat the family for other platforms' menus go.
    font["name"].names = [r for r in font["name"].names if r.nameID not in (16, 17, 18, 21, 22)]
    font["CFF "].cff.fontNames = [postscript]
    top = font["CFF "].cff.topDictIndex[0]
    top.FullName = full
    top.FamilyName = FAMILY


def main():
    font = TTFont(SOURCE)
    options = subset.Options()
    options.layout_features = []
    options.drop_tables += ["GPOS", "GSUB", "GDEF"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=CODE_PAGE)
    subsetter.subset(font)
    rename(font)
    missing = [c for c in CODE_PAGE if c not in font.getBestCmap()]
    font.save(TARGET)
    print(f"{TARGET}: {os.path.getsize(TARGET)} bytes, {len(font.getBestCmap())} characters;"
          f" not in the source font: {' '.join(f'U+{c:04X}' for c in missing) or 'none'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
