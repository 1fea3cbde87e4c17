"""Reads the record file that the Win32 helper programs append to.

A record is a block

    @record <kind>
    key=value
    ...
    @end

written in one piece by one helper (see helpers/records.h). '%', CR and LF in
values are written as %25, %0D and %0A.
"""

import ntpath


class Record:
    def __init__(self, kind, fields, complete):
        self.kind = kind
        self.fields = fields
        self.complete = complete  # False for a block cut off without @end

    def __getitem__(self, key):
        return self.fields[key]

    def get(self, key, default=None):
        return self.fields.get(key, default)

    @property
    def program(self):
        return self.fields.get("program", "")

    @property
    def program_name(self):
        """The program's file name, e.g. "Mixer.exe"."""
        return ntpath.basename(self.program)

    def __repr__(self):
        shown = {k: v for k, v in self.fields.items() if k not in ("pid", "tick")}
        return "<%s %s>" % (self.kind, shown)


def _decode(value):
    return value.replace("%0D", "\r").replace("%0A", "\n").replace("%25", "%")


def parse(text):
    records = []
    current = None
    for line in text.split("\n"):
        line = line.rstrip("\r")
        if line.startswith("@record "):
            if current is not None:
                records.append(Record(current[0], current[1], False))
            current = (_decode(line[len("@record "):]), {})
        elif line == "@end" and current is not None:
            records.append(Record(current[0], current[1], True))
            current = None
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            current[1][key] = _decode(value)
    if current is not None:
        records.append(Record(current[0], current[1], False))
    return records


def read(path):
    try:
        with open(path, encoding="latin-1") as f:
            return parse(f.read())
    except FileNotFoundError:
        return []


def select(records, kind=None, program=None, **fields):
    """Records of a kind, of a program (file name, without case), with fields."""
    chosen = []
    for record in records:
        if kind is not None and record.kind != kind:
            continue
        if program is not None and record.program_name.lower() != program.lower():
            continue
        if any(record.get(k) != v for k, v in fields.items()):
            continue
        chosen.append(record)
    return chosen
