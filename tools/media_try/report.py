"""report.json and the screenshots of a run: each picture cropped to its
window (the whole screen kept beside it), the events with the kinds and
fields of `plan --json`, the change list, the timeline and the timings."""

import getpass
import json
import os
import shutil
import subprocess
import time

from wine_machine.wine import wine_version
from wine_machine.wine_differences import KNOWN_DIFFERENCES

from . import boundary, observe, options as options_module, twin

SCREENS = "screens"
FULL = os.path.join(SCREENS, "full")


def _snapshot_file(folder, name):
    """The picture the harness took for a snapshot name ("NN-name.png")."""
    for entry in sorted(os.listdir(folder)):
        if entry.endswith("-%s.png" % name) and entry[:2].isdigit():
            return entry
    return None


def _crop(source, target, record):
    left, top = max(0, int(record["left"])), max(0, int(record["top"]))
    width = int(record["right"]) - left
    height = int(record["bottom"]) - top
    if width <= 0 or height <= 0:
        return None
    result = subprocess.run(["convert", source, "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                             "+repage", target], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        return None
    return width, height


def place_screenshots(out, records):
    """Moves the whole-screen pictures into screens/full/ and crops each to
    its window into screens/; returns {snapshot name: {file, full, width,
    height}} with paths relative to `out`."""
    os.makedirs(os.path.join(out, FULL), exist_ok=True)
    placed = {}
    for record in records:
        if record.kind != "snapshot":
            continue
        found = _snapshot_file(out, record["name"])
        if found is None:
            continue
        full = os.path.join(FULL, found)
        shutil.move(os.path.join(out, found), os.path.join(out, full))
        shot = {"file": full, "full": full, "width": None, "height": None}
        if "left" in record.fields:
            cropped = os.path.join(SCREENS, found)
            size = _crop(os.path.join(out, full), os.path.join(out, cropped), record)
            if size:
                shot.update(file=cropped, width=size[0], height=size[1])
        placed[record["name"]] = shot
    return placed


def timeline(runs, records, shots):
    """Every window, working state, program start and reboot of the runs
    and of the programs they started, in time order (ms since the first
    run's start), for the page."""
    if not runs:
        return []
    start = runs[0].start_tick
    entries = []
    for number, run in enumerate(runs):
        offset = run.start_tick - start
        label = "the installer" if number == 0 else "after the restart"
        for event in run.events:
            entry = {"t_ms": None if event["t_ms"] is None else event["t_ms"] + offset,
                     "run": label, "kind": event["kind"], "what": observe.describe(event),
                     "screenshot": shots.get(event.get("screenshot"))}
            entries.append(entry)
    for state in [r for r in records if r.kind == "window-state"]:
        entries.append({"t_ms": int(state["tick"]) - start, "run": "the installer",
                        "kind": "state", "what": "the main options dialog works: "
                        "\"Please wait\" shows while the driver installs",
                        "screenshot": shots.get(state.get("shot"))})
    for window in observe.other_windows(records, runs):
        entries.append({"t_ms": window["t_ms"], "run": window["program"], "kind": "other-window",
                        "what": "window \"%s\" of %s (not answered: not the installer's)"
                                % (window["caption"], window["program"]),
                        "screenshot": shots.get(window["screenshot"])})
    return sorted(entries, key=lambda e: (e["t_ms"] is None, e["t_ms"] or 0))


def _with_files(events, shots):
    """The events with each screenshot's name replaced by its file."""
    result = []
    for event in events:
        event = dict(event)
        if "screenshot" in event:
            shot = shots.get(event["screenshot"])
            event["screenshot"] = shot["file"] if shot else None
        result.append(event)
    return result


def build(options, outcome, total_s):
    """The report as a dict (what report.json holds)."""
    shots = place_screenshots(options.out, outcome.records)
    runs = outcome.runs
    first = runs[0] if runs else None
    report = {
        "tool": "w2kmedia try",
        "made": time.strftime("%Y-%m-%d %H:%M:%S"),
        "media": options.media,
        "image": options.image,
        "installer": "D:\\" + options.installer_name,
        "windows": options.windows,
        "windows_name": options.windows_name,
        "wine": wine_version(options.way),
        "build": twin.build_json(options),
        "sandbox": boundary.sandbox_json(outcome.confinement, getpass.getuser()),
        "language": options.lang or "en_US",
        "command_line": options.args,
        "device": options.device,
        "earlier_driver": options.earlier_driver,
        "answers": options_module.answers(options),
        "route": first.route if first else None,
        "route_text": observe.ROUTES.get(first.route) if first else None,
        "exit_code": first.exit_code if first else None,
        "silent": observe.silent_result(first),
        "reboot_requested": bool(first and any(e["kind"] == "reboot" for e in first.events)),
        "events": _with_files(first.events, shots) if first else [],
        "restart_runs": [],
        "other_windows": [dict(w, screenshot=(shots.get(w["screenshot"]) or {}).get("file"))
                          for w in observe.other_windows(outcome.records, runs)],
        "changes": outcome.change_list,
        "devices": outcome.devices,
        "timings": {"waits": observe.timings(runs),
                    "phases_s": {name: round(at, 1) for name, at in outcome.phases},
                    "total_s": round(total_s, 1)},
        "timeline": timeline(runs, outcome.records, shots),
        "problems": outcome.problems,
        "stop_screenshot": outcome.stop_screenshot,
        "known_wine_differences": [d.json() for d in KNOWN_DIFFERENCES],
        "prefix": outcome.prefix if options.keep else None,
    }
    for run in runs[1:]:
        shown = run.json(options.windows)
        shown["events"] = _with_files(shown["events"], shots)
        shown["started_by"] = run.started_by
        report["restart_runs"].append(shown)
    return report


def write_json(out, report):
    path = os.path.join(out, "report.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(report, f, indent=2, ensure_ascii=False)
        f.write("\n")
    return path
