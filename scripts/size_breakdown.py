#!/usr/bin/env python3
"""Where the bytes of W2KSetup.exe go, read from the link map that the
release build writes beside it (build/win32/W2KSetup.map).

    scripts/size_breakdown.py [build/win32]

Each input section of the map is counted for the part its file belongs to;
what the parts leave of the file's size is the PE headers and the padding of
each section to the file alignment."""

import os
import re
import sys

# The first pattern that matches an input file's name names its part.
PARTS = [
    ("the system", r"libsetup_system\.a"),
    ("the log on request", r"libplatform_logging\.a"),
    ("the win32 adapter", r"libwin32_adapter\.a|winmain\.cpp|runtime_compat\.cpp"),
    ("C++ library (std::string)", r"no_exceptions\.cpp|libstdc\+\+|libsupc\+\+"),
    ("libgcc", r"libgcc"),
    ("C runtime", r"crt2\.o|crtbegin\.o|crtend\.o|libmingw|libmsvcrt"),
    ("resources", r"\.res\)?$"),
    ("import tables", r"lib\w+\.a\(lib\w+[sht]\d*\.o\)"),
]
SECTION_LINE = re.compile(r"^ (\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$")
CONTINUED_LINE = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$")
LOADED_SECTIONS = (".text", ".data", ".rdata", ".eh_frame", ".idata", ".CRT", ".tls", ".rsrc",
                   ".reloc")


def part_of(input_file, section):
    if section.startswith(".reloc"):
        return "relocations"
    for name, pattern in PARTS:
        if re.search(pattern, input_file):
            return name
    return "other"


def breakdown(map_text):
    sizes = {}
    memory_map = map_text.split("Linker script and memory map", 1)[-1]
    pending = None
    for line in memory_map.splitlines():
        match = SECTION_LINE.match(line)
        if match:
            section, size, input_file = match.group(1), int(match.group(3), 16), match.group(4)
        elif pending and CONTINUED_LINE.match(line):
            match = CONTINUED_LINE.match(line)
            section, size, input_file = pending, int(match.group(2), 16), match.group(3)
        else:
            pending = line.split()[0] if re.match(r"^ \.\S+$", line) else None
            continue
        pending = None
        if size and section.startswith(LOADED_SECTIONS) and not input_file.startswith("*"):
            part = part_of(input_file.strip(), section)
            sizes[part] = sizes.get(part, 0) + size
    return sizes


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join("build", "win32")
    exe = os.path.join(build, "W2KSetup.exe")
    with open(os.path.join(build, "W2KSetup.map")) as map_file:
        sizes = breakdown(map_file.read())
    total = os.path.getsize(exe)
    print("%s: %d bytes" % (exe, total))
    for part, size in sorted(sizes.items(), key=lambda item: -item[1]):
        print("  %-42s %7d" % (part, size))
    print("  %-42s %7d" % ("headers and section padding", total - sum(sizes.values())))


if __name__ == "__main__":
    main()
