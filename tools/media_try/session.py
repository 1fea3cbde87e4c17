"""One run of `w2kmedia try`: a fresh prefix of the chosen Windows version
with the media as drive D:, the device, a display; the responder starts the
installer and answers its windows; the run is followed through a restart
into the installer's run from the Run key; then everything in the prefix is
ended and what changed is collected.

Every phase prints one line with the time since the start; a wait prints a
line every 10 s, so a person sees it working through the installer's fixed
waits."""

import hashlib
import os
import shutil
import sys
import time
import types

from wine_machine import display as display_module
from wine_machine import records as records_module
from wine_machine import sandbox, wine
from wine_machine.earlier_driver import add_sound_device, plant_earlier_driver, start_old_mixer
from wine_machine.fonts import (give_caption_button_font, give_restart_prompt_chinese_fonts,
                                is_cjk, link_cjk_fonts)
from wine_machine.installer import FIXED_WAITS_MS, MIXER_LOOKUPS_MS, NOTICE
from wine_machine.machine import HARDWARE_ID, HELPERS, Machine, MachineError, missing_helpers

from . import changes, observe, options as options_module, twin

DRIVES_KEY = "HKLM\\Software\\Wine\\Drives"
POLL_S = 0.1
HEARTBEAT_S = 10
# Limits of the waits, before --time-scale.
INSTALLER_START_S = 30
INSTALLER_RUN_S = 300
RESTART_S = 30
RESTART_RUN_S = MIXER_LOOKUPS_MS // 1000 + 60
# Time the programs the installer started get to show their windows once it
# has ended.
AFTERMATH_S = 2
# The code page of the installer's 8-bit strings, by language.
CODE_PAGES = {"zh_TW": "cp950", "zh_HK": "cp950", "zh_CN": "cp936", "ja_JP": "cp932",
              "ko_KR": "cp949"}


class TryError(Exception):
    """The run could not be carried out; the text says why."""


class Progress:
    def __init__(self, stream=None):
        self.stream = stream or sys.stdout
        self.began = time.monotonic()
        self._last = self.began

    def elapsed(self):
        return time.monotonic() - self.began

    def say(self, text):
        self._last = time.monotonic()
        self.stream.write("[%6.1f s] %s\n" % (self.elapsed(), text))
        self.stream.flush()

    def heartbeat(self, text):
        """Says `text` when nothing was said for a while."""
        if time.monotonic() - self._last >= HEARTBEAT_S:
            self.say(text)


class Outcome:
    """What a run left for the report."""

    def __init__(self):
        self.runs = []
        self.records = []
        self.calls = []
        self.change_list = []
        self.devices = {"before": [], "after": []}
        self.phases = []
        self.problems = []
        self.prefix = None
        self.artifacts = None
        self.stop_screenshot = None
        self.confinement = None


def _helpers_present(windows_build):
    missing = missing_helpers(windows_build, ("responder",) + HELPERS)
    if missing:
        raise TryError("the helper programs %s are missing from %s: build the Windows "
                       "configuration (scripts/build.sh)"
                       % (", ".join(missing), os.path.join(windows_build, "e2e-helpers")))


def start_display(options):
    """The display, before any Wine process: a private Xvfb, or $DISPLAY."""
    try:
        if options.visible:
            return display_module.Display.current()
        return display_module.Display.xvfb()
    except display_module.DisplayError as error:
        raise options_module.UsageError("the display cannot start: %s" % error)


def case_name(out):
    """The name of the run's folder under <work>/cases: the output folder's
    name and a short hash of its whole path, so that tries whose output
    folders share a name do not share a prefix."""
    return "%s-%s" % (os.path.basename(out), hashlib.sha1(out.encode()).hexdigest()[:8])


def prepare_out(out):
    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)
    open(os.path.join(out, options_module.OUTPUT_MARK), "w").close()


class Monitor:
    """Follows the run through the records and the relay trace as they
    grow, and tells the progress as it goes."""

    def __init__(self, case, progress, time_scale):
        self.case = case
        self.progress = progress
        self.time_scale = time_scale
        self.relay = wine.RelayReader(case.wine_log,
                                      observe.TRACED_CALLS)
        self.records = []
        self.calls = []
        self._told_windows = set()
        self._told_calls = 0
        self._told_processes = set()

    def update(self):
        self.records = records_module.read(self.case.record_file)
        self.calls += self.relay.read()
        self._tell()

    def installer_pids(self):
        return [int(r["process_id"]) for r in observe.installer_starts(self.records)]

    def ended(self, pid):
        return any(r.kind == "process-end" and int(r["process_id"]) == pid for r in self.records)

    def reboot_call(self):
        """The installer's traced ExitWindowsEx call that asked for a reboot."""
        return observe.reboot_call(self.calls, self.installer_pids()[:1])

    def restart_settled(self, since_ms):
        """Wine's session restart has started the Run entries: every wineboot
        that came after the reboot request has ended."""
        boots = [r for r in self.records if r.kind == "process"
                 and r.get("exe", "").lower() == "wineboot.exe" and int(r["tick"]) >= since_ms]
        return bool(boots) and all(self.ended(int(r["process_id"])) for r in boots)

    def _tell(self):
        answers = {r["hwnd"]: r for r in self.records if r.kind == "answer"}
        for record in self.records:
            if record.kind == "window" and record["hwnd"] not in self._told_windows:
                answer = answers.get(record["hwnd"])
                ours = observe.is_installer(record)
                if ours and answer is None and record["kind"] != "window":
                    continue  # told once it is answered
                self._told_windows.add(record["hwnd"])
                event = observe.window_event(record, answer)
                if answer is not None:
                    event["answered_ms"] = int(answer["tick"])
                line = observe.describe(event)
                owner = "window: " if ours else "window of %s: " % (record["exe"] or "a program")
                self.progress.say(owner + line)
                if event.get("text") == NOTICE and answer is not None:
                    self.progress.say("the driver installation runs: the completion wait and "
                                      "the pause before the restart prompt take %d s under Wine"
                                      % (FIXED_WAITS_MS // 1000))
            elif record.kind == "process-end" and record["process_id"] not in self._told_processes:
                if int(record["process_id"]) in self.installer_pids():
                    self._told_processes.add(record["process_id"])
                    self.progress.say("the installer (process %s) ended with exit code %s"
                                      % (record["process_id"], record["exit_code"]))
        pids = self.installer_pids()
        entries = observe.restart_entries(self.calls, pids[0]) if pids else []
        for call in self.calls[self._told_calls:]:
            if call in entries:
                self.progress.say("the restart started the Run entry %s"
                                  % observe.entry_command(call))
            elif call.process and int(call.process, 16) in pids:
                if observe.is_call(call, observe.EXIT_WINDOWS):
                    self.progress.say("the installer requested a reboot; Wine restarts the "
                                      "session and runs the Run entries")
                elif observe.is_call(call, observe.CREATE_PROCESS) or observe.is_call(
                        call, observe.WIN_EXEC):
                    self.progress.say("the installer started a program: %s"
                                      % observe.start_command(call))
        self._told_calls = len(self.calls)

    def wait(self, done, limit_s, waiting_text):
        """Polls until `done()` holds; False after `limit_s` (scaled)."""
        deadline = time.monotonic() + limit_s * self.time_scale
        began = time.monotonic()
        while True:
            self.update()
            if done():
                return True
            if time.monotonic() > deadline:
                return False
            if waiting_text:
                self.progress.heartbeat("%s (%.0f s so far)"
                                        % (waiting_text, time.monotonic() - began))
            time.sleep(POLL_S)


def _harness_options(options):
    return types.SimpleNamespace(
        work=options.work, windows_build=options.windows_build, way=options.way,
        visible=options.visible, winedebug=None, lang=options.lang,
        time_scale=options.time_scale, sandbox=options.sandbox,
        # The twin's view of the media links to the media's own files.
        readable=[options.media_tree])


def drive_d(case, options, progress):
    """The folder that is drive D:: the media folder or the image's tree,
    or where the twin runs in place of the installer, a view of it with the
    twin in those files."""
    if not options.replaced:
        return options.media_tree
    view = os.path.join(case.work, "drive-d")
    twin.make_view(options.media_tree, view, options.replaced, options.twin_installer)
    progress.say("this machine runs no 32-bit programs: the x86-64 twin of this tree runs in "
                 "place of %s" % ", ".join(twin.drive_path(r) for r in options.replaced))
    return view


def _prepare_machine(case, options, progress, drive):
    """Readies the prefix; returns the responder's environment."""
    case.prefix.map_drive("D:", drive)
    if options.image:
        # A disc in a CD drive, as people who hold the image use it.
        case.reg_set(DRIVES_KEY, "d:", "cdrom")
    give_caption_button_font(case)
    if is_cjk(options.lang):
        link_cjk_fonts(case, options.lang)
        if options.lang.startswith("zh"):
            give_restart_prompt_chinese_fonts(case)
    # The calls the report reads from Wine's relay trace, in the responder
    # and every program started from it (the installer, Wine's restart):
    # the environment returned is the responder's.
    traced = case.trace_calls(*observe.TRACED_CALLS)
    if options.earlier_driver:
        plant_earlier_driver(case)
    if options.device != "absent":
        instance = add_sound_device(case)
        progress.say("the sound device is present as %s" % instance)
    return traced


def _sound_devices(case):
    """The present devices that are the sound device (by its hardware ID)."""
    return [d for d in case.devices()
            if any(HARDWARE_ID.lower() in h.lower() for h in d["hwids"])]


def _follow_restart(monitor, progress, reboot):
    """Waits for Wine's session restart, then for the ends of the copies of
    the installer that its Run entries started."""
    since = reboot.time_ms or 0
    if not monitor.wait(lambda: monitor.restart_settled(since), RESTART_S,
                        "waiting for Wine's session restart"):
        progress.say("Wine's session restart did not finish within %d s" % RESTART_S)
    # A copy that the last Run entry started shows in the next polls.
    monitor.wait(lambda: len(monitor.installer_pids()) > 1, 1, "")
    copies = monitor.installer_pids()[1:]
    if not copies:
        progress.say("the restart did not start the installer again (no Run value for it)")
        return
    progress.say("the installer runs again after the restart; it looks for the window "
                 "\"Mixer\" for up to %d s when no mixer runs" % (MIXER_LOOKUPS_MS // 1000))
    if not monitor.wait(lambda: all(monitor.ended(pid) for pid in copies), RESTART_RUN_S,
                        "the installer's run after the restart is still going"):
        raise TryError("the installer's run after the restart did not end within %d s"
                       % RESTART_RUN_S)


def _drive(case, options, progress, outcome, environment):
    monitor = Monitor(case, progress, options.time_scale)
    try:
        _drive_with(monitor, case, options, progress, outcome, environment)
    finally:
        outcome.records, outcome.calls = monitor.records, monitor.calls


def _drive_with(monitor, case, options, progress, outcome, environment):
    command = '"D:\\%s"' % options.installer_name + (" " + options.args if options.args else "")
    settings = os.path.join(case.work, "responder.txt")
    stop_file = os.path.join(case.work, "stop")
    with open(settings, "w", encoding="cp1252", errors="replace") as f:
        f.write(options_module.responder_settings(options, command, "D:\\",
                                                  case.windows_path(stop_file)))
    shutil.copy(settings, case.artifacts)
    responder = case.start(case.windows_path(case.helper("responder")),
                           [case.windows_path(settings)],
                           env=environment)
    progress.say("the installer starts: %s (in D:\\ = %s)" % (command, options.media))
    if not monitor.wait(lambda: monitor.installer_pids() or not responder.running(),
                        INSTALLER_START_S, "waiting for the installer to start"):
        raise TryError("the installer did not start within %d s" % INSTALLER_START_S)
    failed = [r for r in monitor.records if r.kind == "installer-start" and r.get("error")]
    if failed:
        raise TryError("%s did not start: Windows error %s%s" % (
            command, failed[0]["error"],
            " (not a valid Windows program)" if failed[0]["error"] == "193" else ""))
    if not monitor.installer_pids():
        raise TryError("the responder ended before it started the installer (exit code %s)"
                       % responder.popen.poll())
    first = monitor.installer_pids()[0]
    if not monitor.wait(lambda: monitor.ended(first), INSTALLER_RUN_S,
                        "the installer is still running"):
        windows = case.describe_windows()
        raise TryError("the installer did not end within %d s; its windows then:\n%s"
                       % (INSTALLER_RUN_S, windows or "  (none)"))
    outcome.phases.append(("installer", progress.elapsed()))
    reboot = monitor.reboot_call()
    if reboot is not None:
        _follow_restart(monitor, progress, reboot)
        outcome.phases.append(("restart", progress.elapsed()))
    monitor.wait(lambda: False, AFTERMATH_S, "")
    open(stop_file, "w").close()
    monitor.wait(lambda: not responder.running(), 10, "")
    monitor.update()


def run(options, progress):
    """Runs the installer on the media as the options say; returns an
    Outcome. Raises UsageError or TryError; whatever happens, no program is
    left running in the prefix."""
    _helpers_present(options.windows_build)
    display = start_display(options)
    progress.say("display %s ready" % display.name
                 + (" (yours)" if options.visible else " (a private Xvfb)"))
    if options.sandbox:
        progress.say("the programs run in a sandbox: no network, no files of this machine "
                     "but Wine's and the media (read-only), and only the run's work folder "
                     "to write")
    else:
        progress.say("NOT SANDBOXED (--no-sandbox): the media's programs run with your "
                     "rights on this machine")
    case = None
    outcome = Outcome()
    outcome.confinement = sandbox.Confinement(options.sandbox)
    try:
        prepare_out(options.out)
        progress.say("preparing %s (the first time Wine boots a template prefix, about "
                     "20 s)" % options.windows_name)
        case = Machine(case_name(options.out), options.wine_version, _harness_options(options),
                       display=display, artifacts=options.out)
        outcome.prefix = case.prefix.path
        outcome.confinement = case.prefix.confinement
        outcome.artifacts = case.artifacts
        drive = drive_d(case, options, progress)
        environment = _prepare_machine(case, options, progress, drive)
        outcome.devices["before"] = _sound_devices(case)
        before = changes.Snapshot(case, drive)
        if options.earlier_driver:
            start_old_mixer(case)
            progress.say("the earlier driver's mixer runs (window \"Mixer\")")
        progress.say("%s ready, the media is drive D:" % options.windows_name)
        outcome.phases.append(("prefix", progress.elapsed()))
        try:
            _drive(case, options, progress, outcome, environment)
        except TryError as error:
            # What the run got to still goes into the report.
            outcome.problems.append(str(error))
            progress.say("the run stopped: %s" % str(error).split("\n")[0])
            outcome.stop_screenshot = os.path.basename(case.screenshot("stopped"))
        progress.say("collecting what changed")
        # The devices first, while Wine still runs: the snapshot ends it.
        outcome.devices["after"] = _sound_devices(case)
        after = changes.Snapshot(case, drive)
        outcome.change_list = changes.changes(before, after)
        code_page = CODE_PAGES.get((options.lang or "").split(".")[0], "cp1252")
        outcome.runs = observe.observe(outcome.records, outcome.calls, options.windows,
                                       changes.dos_staged(outcome.change_list), code_page)
        twin.mark_unstartable(outcome.runs, case.prefix, options.way)
        return outcome
    except (MachineError, wine.WineError) as error:
        raise TryError(str(error))
    finally:
        if case is not None:
            case.finish()
            if not options.keep:
                shutil.rmtree(case.work, ignore_errors=True)
        else:
            display.stop()
