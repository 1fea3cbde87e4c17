"""Reads and edits the registry files of a Wine prefix.

Wine keeps the registry in three text files at the top of the prefix:
system.reg (HKEY_LOCAL_MACHINE), user.reg (HKEY_CURRENT_USER) and userdef.reg
(HKEY_USERS\\.Default). The files are only current while the prefix's
wineserver is not running: it writes them when it ends. Edits made here must
likewise happen while no wineserver runs, or it overwrites them.

A file is kept as its header plus an ordered list of key blocks; a block is
changed only when a value in it is set or deleted, so everything else is
written back byte for byte.
"""

import os
import re
import time

REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 0, 1, 2, 3, 4
REG_MULTI_SZ = 7
TYPE_NAMES = {REG_NONE: "REG_NONE", REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ",
              REG_BINARY: "REG_BINARY", REG_DWORD: "REG_DWORD", REG_MULTI_SZ: "REG_MULTI_SZ"}

# The registry roots a case may name, and the file that holds each.
HIVE_FILES = {"HKLM": "system.reg", "HKCU": "user.reg", "HKU\\.DEFAULT": "userdef.reg"}
ROOT_ALIASES = {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_CURRENT_USER": "HKCU",
                "HKEY_USERS": "HKU"}


class RegistryError(Exception):
    pass


class Value:
    """One registry value: its name as written, its type and its data.

    Data is a str for REG_SZ and REG_EXPAND_SZ, a list of str for
    REG_MULTI_SZ, an int for REG_DWORD and bytes for every other type."""

    def __init__(self, name, type, data):
        self.name = name
        self.type = type
        self.data = data

    def __eq__(self, other):
        return (isinstance(other, Value) and self.type == other.type
                and self.data == other.data)

    def __repr__(self):
        return "%s %r" % (TYPE_NAMES.get(self.type, "type %d" % self.type), self.data)


def split_path(path):
    """'HKLM\\Software\\X' -> ('HKLM', 'Software\\X'); HKU\\.Default counts as a root."""
    parts = path.replace("/", "\\").strip("\\").split("\\")
    root = ROOT_ALIASES.get(parts[0].upper(), parts[0].upper())
    rest = parts[1:]
    if root == "HKU":
        if not rest or rest[0].upper() != ".DEFAULT":
            raise RegistryError("only HKU\\.Default is supported: %s" % path)
        root, rest = "HKU\\.DEFAULT", rest[1:]
    if root not in HIVE_FILES:
        raise RegistryError("unknown registry root in %s" % path)
    return root, "\\".join(rest)


# ---- text escapes of the file format --------------------------------------

_ESCAPES = {"a": "\a", "b": "\b", "e": "\x1b", "f": "\f", "n": "\n", "r": "\r", "t": "\t",
            "v": "\v", "\\": "\\", '"': '"'}


def unescape(text):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\" or i + 1 == len(text):
            out.append(c)
            i += 1
            continue
        n = text[i + 1]
        if n == "x":
            m = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
            out.append(chr(int(m.group(0), 16)) if m else "x")
            i += 2 + (len(m.group(0)) if m else 0)
        elif n in "01234567":
            m = re.match(r"[0-7]{1,3}", text[i + 1:])
            out.append(chr(int(m.group(0), 8)))
            i += 1 + len(m.group(0))
        else:
            out.append(_ESCAPES.get(n, n))
            i += 2
    return "".join(out)


def escape(text):
    out = []
    for c in text:
        if c == "\\":
            out.append("\\\\")
        elif c == '"':
            out.append('\\"')
        elif c == "\n":
            out.append("\\n")
        elif c == "\r":
            out.append("\\r")
        elif c == "\t":
            out.append("\\t")
        elif ord(c) < 32:
            out.append("\\%03o" % ord(c))
        elif ord(c) > 126:
            out.append("\\x%04x" % ord(c))
        else:
            out.append(c)
    return "".join(out)


def _quoted_end(text, start):
    """Index just past the closing quote of the quoted text starting at `start`."""
    i = start + 1
    while i < len(text):
        if text[i] == "\\":
            i += 2
        elif text[i] == '"':
            return i + 1
        else:
            i += 1
    raise RegistryError("unterminated string: %s" % text)


def _parse_data(text):
    if text.startswith('"'):
        return REG_SZ, unescape(text[1:_quoted_end(text, 0) - 1])
    m = re.match(r"str\((\d+)\):", text)
    if m:
        type = int(m.group(1))
        body = text[m.end():]
        s = unescape(body[1:_quoted_end(body, 0) - 1])
        return (type, s.split("\0")[:-1] if s.endswith("\0") else s.split("\0")) \
            if type == REG_MULTI_SZ else (type, s)
    if text.startswith("dword:"):
        return REG_DWORD, int(text[6:], 16)
    m = re.match(r"hex(?:\(([0-9a-fA-F]+)\))?:", text)
    if m:
        type = int(m.group(1), 16) if m.group(1) else REG_BINARY
        hex_text = re.sub(r"[\s\\]", "", text[m.end():])
        data = bytes(int(b, 16) for b in hex_text.split(",") if b)
        if type in (REG_SZ, REG_EXPAND_SZ):
            return type, data.decode("utf-16-le").rstrip("\0")
        if type == REG_MULTI_SZ:
            items = data.decode("utf-16-le").split("\0")
            while items and items[-1] == "":
                items.pop()
            return type, items
        return type, data
    raise RegistryError("value data not understood: %s" % text)


def format_value(value):
    name = "@" if value.name == "" else '"%s"' % escape(value.name)
    if value.type == REG_SZ:
        data = '"%s"' % escape(value.data)
    elif value.type == REG_EXPAND_SZ:
        data = 'str(2):"%s"' % escape(value.data)
    elif value.type == REG_MULTI_SZ:
        data = 'str(7):"%s"' % escape("".join(s + "\0" for s in value.data))
    elif value.type == REG_DWORD:
        data = "dword:%08x" % value.data
    else:
        prefix = "hex:" if value.type == REG_BINARY else "hex(%x):" % value.type
        data = prefix + ",".join("%02x" % b for b in value.data)
    return "%s=%s" % (name, data)


# ---- files ----------------------------------------------------------------

class KeyBlock:
    """One key of a registry file: its header line, meta lines and values."""

    def __init__(self, name, header, lines):
        self.name = name          # relative to the file's root, single backslashes
        self.header = header      # "[...] <time>" as read
        self.lines = lines        # everything after the header, as read
        self._values = None

    def values(self):
        if self._values is None:
            self._values = {}
            logical = []
            for line in self.lines:
                if logical and logical[-1].endswith("\\") and line.startswith("  "):
                    logical[-1] = logical[-1][:-1] + line.strip()
                else:
                    logical.append(line)
            for line in logical:
                if line.startswith("@="):
                    type, data = _parse_data(line[2:])
                    self._values[""] = Value("", type, data)
                elif line.startswith('"'):
                    end = _quoted_end(line, 0)
                    name = unescape(line[1:end - 1])
                    type, data = _parse_data(line[end + 1:])
                    self._values[name.lower()] = Value(name, type, data)
        return self._values

    def set(self, value):
        values = self.values()
        values[value.name.lower()] = value
        self._rewrite()

    def delete(self, name):
        values = self.values()
        if values.pop(name.lower(), None) is not None:
            self._rewrite()

    def _rewrite(self):
        meta = [line for line in self.lines if line.startswith("#")]
        self.lines = meta + [format_value(v) for v in self._values.values()]


def _key_from_header(header):
    end = header.rindex("]")
    return unescape(header[1:end])


class RegistryFile:
    def __init__(self, path):
        self.path = path
        self.header = []
        self.blocks = []
        self.by_name = {}
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            text = f.read()
        current = None
        for line in text.split("\n"):
            if line.startswith("["):
                current = KeyBlock(_key_from_header(line), line, [])
                self.blocks.append(current)
                self.by_name[current.name.lower()] = current
            elif current is None:
                self.header.append(line)
            elif line != "":
                current.lines.append(line)

    def key(self, name, create=False):
        block = self.by_name.get(name.lower())
        if block is None and create:
            # Parents need no block of their own: Wine leaves out keys that
            # hold nothing but subkeys, and makes them when it loads the file.
            header = "[%s] %d" % (escape(name).replace('\\"', '"'), int(time.time()))
            block = KeyBlock(name, header, [])
            self.blocks.append(block)
            self.by_name[name.lower()] = block
        return block

    def has_key(self, name):
        """Whether the key exists, as a block or as the parent of one."""
        lower = name.lower()
        return lower in self.by_name or any(k.startswith(lower + "\\") for k in self.by_name)

    def save(self):
        # Header, a blank line, then the key blocks separated by blank lines.
        text = "\n".join(self.header) + "\n"
        text += "\n\n".join("\n".join([b.header] + b.lines) for b in self.blocks) + "\n"
        tmp = self.path + ".e2e-tmp"
        with open(tmp, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(text)
        os.replace(tmp, self.path)


class Registry:
    """The registry of one prefix, read from (and written to) its files."""

    def __init__(self, prefix):
        self.prefix = prefix
        self._files = {}

    def _file(self, root):
        if root not in self._files:
            self._files[root] = RegistryFile(os.path.join(self.prefix, HIVE_FILES[root]))
        return self._files[root]

    def key_exists(self, path):
        root, key = split_path(path)
        return self._file(root).has_key(key)

    def value(self, path, name):
        """The Value, or None when the key or the value is missing."""
        root, key = split_path(path)
        block = self._file(root).key(key)
        return block.values().get(name.lower()) if block else None

    def values(self, path):
        root, key = split_path(path)
        block = self._file(root).key(key)
        return {v.name: v for v in block.values().values()} if block else {}

    def create_key(self, path):
        root, key = split_path(path)
        self._file(root).key(key, create=True)

    def set(self, path, name, data, type=None):
        """Sets a value: a str is REG_SZ, an int REG_DWORD, bytes REG_BINARY,
        a list REG_MULTI_SZ, unless `type` says otherwise."""
        if type is None:
            type = (REG_DWORD if isinstance(data, int) else REG_MULTI_SZ if isinstance(data, list)
                    else REG_BINARY if isinstance(data, bytes) else REG_SZ)
        root, key = split_path(path)
        self._file(root).key(key, create=True).set(Value(name, type, data))

    def delete(self, path, name):
        root, key = split_path(path)
        block = self._file(root).key(key)
        if block:
            block.delete(name)

    def save(self):
        for f in self._files.values():
            f.save()

    def snapshot(self):
        """Every value of the three hives: {(full key path lower, name lower): (path, Value)}."""
        result = {}
        for root in HIVE_FILES:
            for block in self._file(root).blocks:
                full = root + ("\\" + block.name if block.name else "")
                result[(full.lower(), None)] = (full, None)
                for lname, value in block.values().items():
                    result[(full.lower(), lname)] = (full, value)
        return result


def changes(before, after, ignore=()):
    """What changed between two snapshots, in key order: dicts with kind
    ("key" or "value"), change ("added", "removed", "changed"), key (the full
    path), and for a value its name and its before and after (Value, or None
    where it did not exist). Keys matching one of the `ignore` regular
    expressions (on the full key path) are left out."""
    patterns = [re.compile(p, re.IGNORECASE) for p in ignore]
    found = []
    for id in sorted(set(before) | set(after), key=lambda k: (k[0], k[1] is not None, k[1] or "")):
        old, new = before.get(id), after.get(id)
        path = (old or new)[0]
        if any(p.search(path) for p in patterns):
            continue
        change = "added" if old is None else "removed" if new is None else "changed"
        if id[1] is None:
            if change != "changed":
                found.append({"kind": "key", "change": change, "key": path})
        elif change != "changed" or old[1] != new[1]:
            found.append({"kind": "value", "change": change, "key": path,
                          "name": (old or new)[1].name, "before": old and old[1],
                          "after": new and new[1]})
    return found


def diff(before, after, ignore=()):
    """The changes as readable lines, for messages."""
    lines = []
    for change in changes(before, after, ignore):
        if change["kind"] == "key":
            lines.append("key %s: %s" % (change["change"], change["key"]))
            continue
        shown = change["name"] or "@"
        if change["change"] == "added":
            lines.append("value added: %s [%s] = %r" % (change["key"], shown, change["after"]))
        elif change["change"] == "removed":
            lines.append("value removed: %s [%s] (was %r)" % (change["key"], shown,
                                                             change["before"]))
        else:
            lines.append("value changed: %s [%s] %r -> %r" % (change["key"], shown,
                                                             change["before"], change["after"]))
    return lines
