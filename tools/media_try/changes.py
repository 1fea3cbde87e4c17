"""What a run changed on the machine: files and folders of drive C and of
the media, registry keys and values, and the present devices, each with its
state before and after, in the groups a reader looks for."""

import re

from wine_machine import files, registry
from wine_machine.installer import INF_FOLDER, MEDIA_CLASS_KEY, QUARNEL, WINDOWS
from wine_machine.machine import WINE_FILE_NOISE, WINE_REGISTRY_NOISE

DEVICE_KEYS = "HKLM\\System\\CurrentControlSet\\Enum\\"

# The groups, in the order the report shows them; a change goes to the first
# whose kinds and path start (without case) fit it.
GROUPS = [
    ("Files under " + QUARNEL, ("file", "folder"), QUARNEL),
    ("The INF folder", ("file", "folder"), INF_FOLDER),
    ("Files in " + WINDOWS, ("file", "folder"), WINDOWS),
    ("The media (D:)", ("file", "folder"), "D:\\"),
    ("The driver key", ("key", "value"), MEDIA_CLASS_KEY),
    ("The device", ("key", "value"), DEVICE_KEYS),
    ("Registry values", ("key", "value"), ""),
    ("Other files", ("file", "folder"), ""),
]
GROUP_TITLES = [title for title, _, _ in GROUPS]


def group_of(kind, path):
    for title, kinds, start in GROUPS:
        if kind in kinds and path.lower().startswith(start.lower()):
            return title
    return "Other changes"


class Snapshot:
    """Drive C, the media and the registry at one moment."""

    def __init__(self, case, media_folder):
        self.drive_c, self.registry = case.snapshot()
        self.media = files.snapshot(media_folder, drive="D:")


def _file_state(state):
    if state is None:
        return None
    if not state:
        return {}
    digest = state["digest"]
    return {"size": state["size"],
            "sha256": None if digest is None or digest.startswith("mtime") else digest}


def value_json(value):
    """A registry Value as JSON: its type's name and its data (bytes as hex)."""
    if value is None:
        return None
    data = value.data.hex() if isinstance(value.data, bytes) else value.data
    return {"type": registry.TYPE_NAMES.get(value.type, "type %d" % value.type), "data": data}


def changes(before, after):
    """The change list: one dict a change, with its group."""
    found = []
    for change in (files.changes(before.drive_c, after.drive_c, WINE_FILE_NOISE)
                   + files.changes(before.media, after.media)):
        found.append({"group": group_of(change["kind"], change["path"]), "kind": change["kind"],
                      "change": change["change"], "path": change["path"],
                      "before": _file_state(change["before"]),
                      "after": _file_state(change["after"])})
    for change in registry.changes(before.registry, after.registry, WINE_REGISTRY_NOISE):
        item = {"group": group_of(change["kind"], change["key"]), "kind": change["kind"],
                "change": change["change"], "key": change["key"],
                "before": None if change["change"] == "added" else {},
                "after": None if change["change"] == "removed" else {}}
        if change["kind"] == "value":
            item.update(name=change["name"], before=value_json(change["before"]),
                        after=value_json(change["after"]))
        found.append(item)
    order = {title: i for i, title in enumerate(GROUP_TITLES + ["Other changes"])}
    return sorted(found, key=lambda c: order[c["group"]])


def dos_staged(change_list):
    """Whether the run made the DOS folders of the staging (only the
    installations that choose a media folder stage the DOS drivers)."""
    return any(c["kind"] == "folder" and c["change"] == "added"
               and re.search(r"\\Quarnel\\DOS\\$", c["path"], re.IGNORECASE)
               for c in change_list)


def grouped(change_list):
    """[(group title, [changes])] in the report's order, empty groups left out."""
    result = []
    for title in GROUP_TITLES + ["Other changes"]:
        chosen = [c for c in change_list if c["group"] == title]
        if chosen:
            result.append((title, chosen))
    return result

