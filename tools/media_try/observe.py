"""What the runs of the installer showed and did, as seen from outside the
program: the windows and their answers (the responder's records), the
programs started and the reboot request (Wine's relay trace of a few calls),
each with its time on Wine's tick clock. The events have the kinds and
fields that `w2kmedia plan --json` prints (message, dialog, start, reboot),
so that a run under Wine and a plan can be compared."""

import ntpath

from wine_machine.wine import relay_arguments
from wine_machine.installer import (FIXED_WAITS_MS, MISSING_FILES, MISSING_PACKAGE,
                                    MIXER_CLOSE_PAUSE_MS, MIXER_LOOKUPS_MS, NOTICE,
                                    WIN2000_MIXER_PAUSE_MS)

INSTALLER = "w2ksetup.exe"
CREATE_PROCESS = "KERNEL32.CreateProcessA"
WIN_EXEC = "KERNEL32.WinExec"
SET_DIRECTORY = "KERNEL32.SetCurrentDirectoryA"
EXIT_WINDOWS = "user32.ExitWindowsEx"
# How Wine's session restart starts the Run entries.
RUN_ENTRY_START = "kernelbase.CreateProcessW"
TRACED_CALLS = (CREATE_PROCESS, WIN_EXEC, SET_DIRECTORY, EXIT_WINDOWS, RUN_ENTRY_START)
EWX_REBOOT = 2
STARTF_USESHOWWINDOW = 1
# How `plan` names a program's window state; others go by their number.
SHOW_NAMES = {0: "SW_HIDE", 5: "SW_SHOW"}
# WinExec's results of 31 and below, as `plan` words a program it cannot find.
WIN_EXEC_ERRORS = {2: "program not found", 3: "program not found"}

TEMPLATE_NAMES = {100: "about box", 102: "main options dialog",
                  131: "Windows 2000/XP options dialog", 132: "restart prompt"}
OLD_WINDOWS = ("95", "98", "me", "nt4")
# The unattended installation's command lines, upper-cased.
SILENT_ARGUMENTS = ("/S", "-S", "/SILENT", "-SILENT")
# "/S" waits the ten mixer polls 3 s apart (Wine has no mixer device) but
# shows no prompt, so it does not pause for one.
SILENT_WAIT_MS = FIXED_WAITS_MS - 5000
# What the exit code of "/S" tells; every other start ends with 0.
SILENT_EXIT_CODES = {0: "installed, no restart needed",
                     3010: "installed, a restart is needed",
                     1603: "nothing was installed or the installation failed",
                     1633: "this Windows has no unattended path"}

ROUTES = {
    "hand-over": "hands over to the media's Setup.exe (Windows 95 to NT 4)",
    "package": "installs the application package only",
    "driver-switch": "installs the driver without a dialog (/DRIVER or DriverOnly)",
    "web-silent": "installs the driver from its own folder without a dialog (web set-up)",
    "main-dialog": "asks in the main options dialog",
    "win2000-dialog": "asks in the Windows 2000/XP options dialog (web set-up)",
    "web-nothing": "ends at once: a web set-up without the WDM driver",
    "silent": "installs the driver with no window and tells its result in the exit code (/S)",
    "silent-unavailable": "ends at once: Windows 95 to NT 4 have no unattended path (/S)",
    "replace-mixer": "replaces the mixer after the restart",
    "nothing": "ends without doing anything",
}


def is_call(call, name):
    return call.function.lower() == name.lower()


def _process(call):
    return int(call.process, 16) if call.process else None


def _tick(record, field="tick"):
    return int(record[field])


def text_of(record, field):
    """A text the responder recorded (in UTF-8; the record file is read as
    Latin-1)."""
    return (record.get(field) or "").encode("latin-1").decode("utf-8", "replace")


def command_arguments(command_line):
    """The text after the program name, as the framework hands it over
    (one blank after the name dropped)."""
    text = command_line.lstrip()
    if text.startswith('"'):
        end = text.find('"', 1)
        rest = text[end + 1:] if end >= 0 else ""
    else:
        cut = len(text.split()[0]) if text.split() else 0
        rest = text[cut:]
    return rest[1:] if rest.startswith((" ", "\t")) else rest


class Run:
    """One process of the installer: the one started, or a copy that Wine's
    session restart started from the Run key."""

    def __init__(self, process_id, command_line, start_tick, directory=None, started_by="try"):
        self.process_id = process_id
        self.command_line = command_line
        self.arguments = command_arguments(command_line)
        self.start_tick = start_tick
        self.directory = directory
        self.started_by = started_by
        self.end_tick = None
        self.exit_code = None
        self.events = []
        self.route = None

    def json(self, windows):
        return {"windows": windows, "command_line": self.arguments,
                "program_command_line": self.command_line, "route": self.route,
                "exit_code": self.exit_code,
                "reboot_requested": any(e["kind"] == "reboot" for e in self.events),
                "wall_ms": None if self.end_tick is None else self.end_tick - self.start_tick,
                "events": self.events}


def is_installer(record):
    """Whether a process or window record is of a copy of the installer."""
    return record.get("exe", "").lower() == INSTALLER


def installer_starts(records):
    """The records of the installer's starts: the responder's start of it,
    then the process record of every copy started later (the restart's);
    none before the responder started it."""
    started = [r for r in records if r.kind == "installer-start" and r.get("process_id")]
    if not started:
        return []
    first = int(started[0]["process_id"])
    return started[:1] + [r for r in records if r.kind == "process" and is_installer(r)
                          and int(r["process_id"]) != first]


def installer_runs(records, calls):
    """The runs, first the one the responder started, then the restart's,
    with their ends and exit codes."""
    starts = installer_starts(records)
    if not starts:
        return []
    first, copies = starts[0], starts[1:]
    runs = [Run(int(first["process_id"]), first["command"], _tick(first),
                first.get("directory") or None)]
    entries = restart_entries(calls, runs[0].process_id)
    # Wine's relay trace does not give a new process's id: the n-th copy of
    # the installer is the restart's n-th Run entry that starts it.
    entries = [c for c in entries if INSTALLER in entry_command(c).lower()]
    for record in copies:
        call = entries[len(runs) - 1] if len(entries) >= len(runs) else None
        runs.append(Run(int(record["process_id"]),
                        entry_command(call) if call else "W2KSetup.exe",
                        call.time_ms if call and call.time_ms is not None else _tick(record),
                        started_by="the restart (Run key)"))
    for record in records:
        if record.kind == "process-end":
            for run in runs:
                if int(record["process_id"]) == run.process_id:
                    run.end_tick = _tick(record)
                    run.exit_code = int(record["exit_code"])
    return runs


def reboot_call(calls, process_ids):
    """The first traced ExitWindowsEx call of these processes that asked for
    a reboot, or None."""
    for call in calls:
        if (is_call(call, EXIT_WINDOWS) and _process(call) in process_ids
                and int(relay_arguments(call.arguments)[0][0], 16) & EWX_REBOOT):
            return call
    return None


def restart_entries(calls, process_id):
    """The CreateProcessW calls with which Wine's session restart started
    the Run entries, after the installer's reboot request (Wine's start-up
    of a session makes such calls too)."""
    reboot = reboot_call(calls, (process_id,))
    if reboot is None:
        return []
    return [c for c in calls if is_call(c, RUN_ENTRY_START)
            and (c.time_ms is None or reboot.time_ms is None or c.time_ms >= reboot.time_ms)]


def entry_command(call):
    arguments = relay_arguments(call.arguments)
    return arguments[1][1] or arguments[0][1] or ""


def start_command(call, code_page="cp1252"):
    """The command line of a traced CreateProcessA or WinExec call."""
    arguments = relay_arguments(call.arguments, code_page)
    if is_call(call, WIN_EXEC):
        return arguments[0][1]
    return arguments[1][1] if arguments[1][1] is not None else arguments[0][1]


def show_name(show):
    return SHOW_NAMES.get(show, str(show))


def control_states(text):
    states = {}
    for item in [i for i in text.split(",") if i]:
        control, _, state = item.partition("=")
        states[control] = {"1": "checked", "0": "unchecked"}.get(state, "missing")
    return states


def window_event(window, answer):
    """One window of the installer as `plan --json` gives it: a message with
    its text and caption, a dialog with its template, title and answer (the
    clicks and the button, "" when it was not answered); then what only a
    run under Wine shows: the boxes' states with the answer and the picture."""
    if window["kind"] == "message":
        event = {"kind": "message", "text": text_of(window, "text"),
                 "caption": text_of(window, "title")}
    else:
        event = {"kind": window["kind"], "template": int(window["template"]) or None,
                 "title": text_of(window, "title")}
        if window["kind"] == "dialog":
            event["answer"] = text_of(answer, "answer") if answer is not None else ""
    if answer is not None and answer.get("controls"):
        event["controls"] = control_states(answer["controls"])
    return event


def window_events(run, records):
    """The installer's windows in this run, with their answers."""
    answers = {r["hwnd"]: r for r in records if r.kind == "answer"}
    events = []
    for window in records:
        if window.kind != "window" or int(window["process_id"]) != run.process_id:
            continue
        answer = answers.get(window["hwnd"])
        event = {"t_ms": _tick(window, "seen") - run.start_tick}
        event.update(window_event(window, answer))
        if answer is not None:
            event["answered_ms"] = _tick(answer) - run.start_tick
        event["screenshot"] = window.get("shot") or None
        events.append(event)
    return events


def _directories(run, calls, code_page):
    """[(tick, folder)] of the run's successful SetCurrentDirectoryA calls,
    as Windows then reports the current directory (no trailing backslash
    but at a drive's root)."""
    found = []
    current = run.directory
    for call in calls:
        if is_call(call, SET_DIRECTORY) and _process(call) == run.process_id and call.result:
            path = relay_arguments(call.arguments, code_page)[0][1] or ""
            if not ntpath.splitdrive(path)[0] and current:
                path = ntpath.join(current, path)
            current = path if len(path) <= 3 else path.rstrip("\\")
            found.append((call.time_ms, current))
    return found


def _directory_at(run, directories, tick):
    current = run.directory
    for when, folder in directories:
        if when is not None and tick is not None and when <= tick:
            current = folder
    return current


def _recorded_start(records, command_line, after):
    """The stand-in program's own record of its start, when the started
    program is one of the harness's recorders."""
    for record in records:
        if (record.kind == "start" and record.get("cmdline") == command_line
                and (after is None or _tick(record) >= after)):
            return record
    return None


def call_events(run, records, calls, code_page):
    """The programs the run started and its reboot request."""
    directories = _directories(run, calls, code_page)
    events = []
    for call in calls:
        if _process(call) != run.process_id:
            continue
        at = None if call.time_ms is None else call.time_ms - run.start_tick
        if is_call(call, CREATE_PROCESS):
            arguments = relay_arguments(call.arguments, code_page)
            command = start_command(call, code_page)
            directory = arguments[7][1] or _directory_at(run, directories, call.time_ms)
            recorded = _recorded_start(records, command, call.time_ms)
            show = None
            if recorded is not None:
                directory = directory or recorded.get("cwd")
                if int(recorded["startup_flags"]) & STARTF_USESHOWWINDOW:
                    show = show_name(int(recorded["show_window"]))
            event = {"t_ms": at, "kind": "start", "command_line": command,
                     "current_dir": directory, "show": show}
            if not call.result:
                event["error"] = "CreateProcessA failed"
            events.append(event)
        elif is_call(call, WIN_EXEC):
            arguments = relay_arguments(call.arguments, code_page)
            event = {"t_ms": at, "kind": "start", "command_line": arguments[0][1],
                     "current_dir": _directory_at(run, directories, call.time_ms),
                     "show": show_name(int(arguments[1][0], 16))}
            # WinExec returns more than 31 when it started the program.
            if call.result is None or call.result <= 31:
                event["error"] = WIN_EXEC_ERRORS.get(call.result, "WinExec returned %s"
                                                     % call.result)
            events.append(event)
        elif is_call(call, EXIT_WINDOWS):
            flags = int(relay_arguments(call.arguments)[0][0], 16)
            if flags & EWX_REBOOT:
                events.append({"t_ms": at, "kind": "reboot", "accepted": bool(call.result)})
    return events


def route_of(run, windows, dos_staged):
    """The way through the installer that the run took, told from what it
    showed and did (and, between the two dialog-less driver installations,
    from whether it staged the DOS drivers)."""
    events = run.events
    arguments = run.arguments.strip().upper()
    starts = [e for e in events if e["kind"] == "start"]
    messages = [e for e in events if e["kind"] == "message"]
    templates = {e.get("template") for e in events if e["kind"] == "dialog"}
    if arguments == "-REPLACEMIXER" and any(e["command_line"].lower().endswith("mixer.exe /startup")
                                             for e in starts):
        return "replace-mixer"
    if arguments in SILENT_ARGUMENTS:
        return "silent-unavailable" if windows in OLD_WINDOWS else "silent"
    if windows in OLD_WINDOWS:
        return "hand-over"
    if 131 in templates:
        return "win2000-dialog"
    shown = [e for e in events if e["kind"] in ("message", "dialog")]
    if 102 in templates or (shown and shown[0].get("text") == MISSING_FILES):
        return "main-dialog"
    if any(m["text"] == NOTICE for m in messages):
        return "driver-switch" if dos_staged else "web-silent"
    if starts or any(m["text"] == MISSING_PACKAGE for m in messages):
        return "package"
    return "nothing" if arguments == "-REPLACEMIXER" else "web-nothing"


def silent_result(run):
    """For a run of "/S": what its exit code tells and the windows it
    showed; None for any other run."""
    if run is None or run.route not in ("silent", "silent-unavailable"):
        return None
    return {"exit_code_meaning": SILENT_EXIT_CODES.get(run.exit_code, "not an exit code of /S"),
            "windows_shown": len([e for e in run.events if e["kind"] in ("message", "dialog")])}


def observe(records, calls, windows, dos_staged, code_page="cp1252"):
    """The runs with their events and routes."""
    runs = installer_runs(records, calls)
    for run in runs:
        run.events = sorted(window_events(run, records) + call_events(run, records, calls, code_page),
                            key=lambda e: (e["t_ms"] is None, e["t_ms"] or 0))
        run.route = route_of(run, windows, dos_staged)
    return runs


def other_windows(records, runs):
    """Windows of other programs (those the installer started, Wine's own),
    which the responder photographed but did not answer."""
    ours = {run.process_id for run in runs}
    start = runs[0].start_tick if runs else 0
    return [{"t_ms": _tick(w, "seen") - start, "program": w.get("exe"),
             "caption": text_of(w, "title"), "class": w["class"],
             "text": text_of(w, "text") or None, "screenshot": w.get("shot") or None}
            for w in records if w.kind == "window" and int(w["process_id"]) not in ours]


def timings(runs):
    """The observed waits against the installer's fixed waits."""
    found = []
    if not runs:
        return found
    first = runs[0]
    if first.end_tick is not None:
        whole = {"what": "the installer, from its start to its end",
                 "observed_ms": first.end_tick - first.start_tick}
        # An unattended run that handed the driver over waits for its mixers.
        if first.route == "silent" and first.exit_code in (0, 3010):
            whole.update(fixed_ms=SILENT_WAIT_MS, overhead_ms=whole["observed_ms"] - SILENT_WAIT_MS,
                         note="ten mixer polls 3 s apart, and no pause for a prompt it does "
                              "not show")
        found.append(whole)
    notice = next((e for e in first.events if e.get("text") == NOTICE and "answered_ms" in e),
                  None)
    prompt = next((e for e in first.events if e.get("template") == 132), None)
    if notice and prompt:
        fixed = FIXED_WAITS_MS + (WIN2000_MIXER_PAUSE_MS if first.route == "win2000-dialog" else 0)
        observed = prompt["t_ms"] - notice["answered_ms"]
        found.append({"what": "the driver notice answered to the restart prompt",
                      "observed_ms": observed, "fixed_ms": fixed, "overhead_ms": observed - fixed,
                      "note": "ten mixer polls 3 s apart and 5 s before the prompt: Wine has "
                              "no mixer device, so the completion wait runs its full length"})
    reboot = next((e for e in first.events if e["kind"] == "reboot"), None)
    for run in runs[1:]:
        if reboot is not None and reboot["t_ms"] is not None:
            found.append({"what": "the reboot request to the installer's start from the Run key",
                          "observed_ms": run.start_tick - first.start_tick - reboot["t_ms"],
                          "note": "Wine restarts the session at once, without a reboot"})
        if run.end_tick is not None:
            found.append({"what": "the run after the restart (%s)" % run.arguments.strip(),
                          "observed_ms": run.end_tick - run.start_tick,
                          "fixed_ms": MIXER_CLOSE_PAUSE_MS,
                          "overhead_ms": run.end_tick - run.start_tick - MIXER_CLOSE_PAUSE_MS,
                          "note": "1 s after the mixer's WM_CLOSE; up to %d s more while no "
                                  "window \"Mixer\" exists" % (MIXER_LOOKUPS_MS // 1000)})
    return found


def describe(event):
    """One line for the progress output and the page."""
    if event["kind"] == "message":
        line = "message \"%s\" (%s)" % (event["text"], event["caption"])
        return line + (", answered OK" if "answered_ms" in event else "")
    if event["kind"] == "dialog":
        name = TEMPLATE_NAMES.get(event.get("template"), "dialog")
        line = "%s \"%s\"" % (name, event["title"])
        return line + (" -> " + event["answer"] if event["answer"] else "")
    if event["kind"] == "start":
        line = "started %s (in %s)" % (event["command_line"], event["current_dir"] or "?")
        if "error" in event:
            line += ", which failed: " + event["error"]
        if "cannot_start" in event:
            line += ", which cannot start here: " + event["cannot_start"]
        return line
    if event["kind"] == "reboot":
        return "requested a reboot (ExitWindowsEx EWX_REBOOT)"
    return "window \"%s\"" % event.get("title", "")
