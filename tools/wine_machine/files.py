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


def snapshot(folder, drive="C:"):
    """{path below the folder, lower case: (path on `drive`, size, digest or
    mtime)} of every file and folder below `folder`; the digest is the
    SHA-256 of the bytes, "mtime N" for a file shared with the template or
    too large to read; a folder has neither size nor digest."""
    result = {}
    for parent, dirs, files in os.walk(folder):
        for name in files:
            path = os.path.join(parent, name)
            try:
                # A link (the media as `try` shows it to the twin) counts as
                # the file it leads to.
                info = os.stat(path)
            except FileNotFoundError:
                continue
            relative = os.path.relpath(path, folder)
            if info.st_nlink == 1 and info.st_size <= HASH_LIMIT:
                with open(path, "rb") as f:
                    mark = hashlib.sha256(f.read()).hexdigest()
            else:
                mark = "mtime %d" % info.st_mtime_ns
            result[relative.lower()] = (drive + "\\" + relative.replace("/", "\\"), info.st_size,
                                        mark)
        for name in dirs:
            relative = os.path.relpath(os.path.join(parent, name), folder)
            result[relative.lower() + "/"] = (drive + "\\" + relative.replace("/", "\\") + "\\",
                                              None, None)
    return result


def changes(before, after, ignore=()):
    """What changed between two snapshots, oldest path first: dicts with
    kind ("file" or "folder"), change ("added", "removed", "changed"), path,
    and before and after ({size, digest} of a file, {} of a folder, None
    where it did not exist). Paths matching one of the `ignore` regular
    expressions are left out."""
    patterns = [re.compile(p, re.IGNORECASE) for p in ignore]
    found = []
    for key in sorted(set(before) | set(after)):
        old, new = before.get(key), after.get(key)
        path = (old or new)[0]
        if any(p.search(path) for p in patterns):
            continue
        if old is not None and new is not None and old[1:] == new[1:]:
            continue
        kind = "folder" if key.endswith("/") else "file"
        found.append({"kind": kind, "path": path,
                      "change": "added" if old is None else "removed" if new is None
                      else "changed",
                      "before": _state(kind, old), "after": _state(kind, new)})
    return found


def _state(kind, entry):
    if entry is None:
        return None
    return {} if kind == "folder" else {"size": entry[1], "digest": entry[2]}


def diff(before, after, ignore=()):
    """The changes as readable lines ("file added: C:\\..."), for messages."""
    lines = []
    for change in changes(before, after, ignore):
        if change["change"] == "changed":
            lines.append("file changed: %s (%s bytes -> %s bytes)"
                         % (change["path"], change["before"]["size"], change["after"]["size"]))
        else:
            lines.append("%s %s: %s" % (change["kind"], change["change"], change["path"]))
    return lines
