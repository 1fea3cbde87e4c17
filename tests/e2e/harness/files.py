"""Files of a prefix as a case sees them: INI contents read the way Windows
reads profile files, and snapshots of drive C to find what a run changed."""

import hashlib
import os
import re

# Files are hashed when they are not shared with the template and not large.
HASH_LIMIT = 8 * 1024 * 1024


def parse_ini(data):
    """{section lower: {key lower: value}} with Windows' profile rules: names
    without case, values trimmed, one pair of surrounding quotes dropped."""
    sections = {}
    current = None
    for raw in data.decode("latin-1").replace("\r\n", "\n").split("\n"):
        line = raw.strip()
        if line.startswith("["):
            end = line.find("]")
            name = line[1:end if end >= 0 else len(line)].strip().lower()
            current = sections.setdefault(name, {})
        elif current is not None and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            value = value.strip()
            if len(value) >= 2 and value[0] == value[-1] and value[0] in "'\"":
                value = value[1:-1]
            current.setdefault(key.strip().lower(), value)
    return sections


def snapshot(drive_c):
    """{path below drive C, lower case: (path, size, digest or mtime)}."""
    result = {}
    for folder, dirs, files in os.walk(drive_c):
        for name in files:
            path = os.path.join(folder, name)
            try:
                info = os.lstat(path)
            except FileNotFoundError:
                continue
            relative = os.path.relpath(path, drive_c)
            if info.st_nlink == 1 and info.st_size <= HASH_LIMIT:
                with open(path, "rb") as f:
                    mark = hashlib.sha1(f.read()).hexdigest()
            else:
                mark = "mtime %d" % info.st_mtime_ns
            result[relative.lower()] = ("C:\\" + relative.replace("/", "\\"), info.st_size, mark)
        for name in dirs:
            relative = os.path.relpath(os.path.join(folder, name), drive_c)
            result[relative.lower() + "/"] = ("C:\\" + relative.replace("/", "\\") + "\\",
                                              None, None)
    return result


def diff(before, after, ignore=()):
    patterns = [re.compile(p, re.IGNORECASE) for p in ignore]
    lines = []
    for key in sorted(set(before) | set(after)):
        old, new = before.get(key), after.get(key)
        path = (old or new)[0]
        if any(p.search(path) for p in patterns):
            continue
        kind = "folder" if key.endswith("/") else "file"
        if old is None:
            lines.append("%s added: %s" % (kind, path))
        elif new is None:
            lines.append("%s removed: %s" % (kind, path))
        elif old[1:] != new[1:]:
            lines.append("file changed: %s (%s bytes -> %s bytes)" % (path, old[1], new[1]))
    return lines
