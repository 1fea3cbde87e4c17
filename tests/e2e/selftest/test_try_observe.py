"""What `w2kmedia try` reads out of a run: the runs of the installer, their
events in the kinds and fields of `plan --json`, the route and the timings,
from the responder's records and Wine's relay trace."""

import unittest

from wine_machine.installer import MISSING_FILES, MISSING_PACKAGE, NOTICE
from wine_machine.records import Record
from wine_machine.wine import RelayCall
from media_try import observe

FIRST = 0x104  # the installer the responder starts
COPY = 0x120   # its copy that the restart starts
BOOT = 0x118   # Wine's wineboot


def record(record_kind, tick, **fields):
    fields = {k: str(v) for k, v in fields.items()}
    fields["tick"] = str(tick)
    return Record(record_kind, fields, True)


def call(time_ms, process, function, arguments, result=1):
    traced = RelayCall(time_ms, "%04x" % process, "%04x" % (process + 4), function, arguments)
    traced.result = result
    return traced


def window(tick, hwnd, kind, template=0, title="", text="", process=FIRST, exe="W2KSetup.exe"):
    return record("window", tick + 300, seen=tick, hwnd=hwnd, process_id=process, exe=exe,
                  kind=kind, template=template, **{"class": "#32770"}, title=title, text=text,
                  shot="%s-%s" % (kind, hwnd))


def answer(tick, hwnd, text, controls=""):
    return record("answer", tick, hwnd=hwnd, answer=text, controls=controls)


STARTED = [record("installer-start", 1000, command='"D:\\W2KSetup.exe"', directory="D:\\",
                  process_id=FIRST)]


def typical_records():
    return STARTED + [
        window(1600, 11, "dialog", 102, "PCI Audio Device Driver And Applications Setup Program"),
        answer(2100, 11, "Install Applications (cleared), OK", "1001=0,1002=1"),
        window(2500, 12, "message", title="Setup", text=NOTICE),
        answer(2900, 12, "OK"),
        window(38100, 13, "dialog", 132, "Restarting Windows"),
        answer(38600, 13, "OK", "1000=1,1001=0"),
        record("process", 38700, process_id=BOOT, exe="wineboot.exe"),
        record("process-end", 38750, process_id=FIRST, exit_code=0),
        record("process", 39000, process_id=COPY, exe="W2KSetup.exe"),
        window(39500, 14, "window", title="Mixer", process=0x130, exe="Mixer.exe"),
        record("process-end", 40500, process_id=BOOT, exit_code=0),
        record("start", 42150, cmdline="C:\\windows\\Mixer.exe /startup", cwd="C:\\windows",
               startup_flags=1, show_window=0),
        record("process-end", 42300, process_id=COPY, exit_code=0),
    ]


def typical_calls():
    return [
        call(900, BOOT - 0x40, observe.RUN_ENTRY_START,
             '00000000,0078af80 L"C:\\\\windows\\\\system32\\\\services.exe"'),
        call(1700, FIRST, observe.SET_DIRECTORY, '0063fb50 "D:\\\\W2K-ME\\\\"'),
        call(1750, FIRST, observe.SET_DIRECTORY, '0063fb50 "D:\\\\WinXP\\\\"', result=0),
        call(38610, FIRST, observe.EXIT_WINDOWS, "00000002,00000000"),
        call(38900, BOOT, observe.RUN_ENTRY_START,
             '00000000,0078fb38 L"C:\\\\windows\\\\W2KSetup.exe -ReplaceMixer",00000000'),
        call(42100, COPY, observe.CREATE_PROCESS,
             '00000000,013f59a8 "C:\\\\windows\\\\Mixer.exe /startup",00000000,00000000,'
             '00000000,00000000,00000000,00000000,0063faac,0063fa9c'),
    ]


class RunsTest(unittest.TestCase):
    def test_the_first_run_and_the_copy_the_restart_started(self):
        runs = observe.observe(typical_records(), typical_calls(), "xp", dos_staged=True)
        self.assertEqual([(r.process_id, r.arguments, r.exit_code, r.route) for r in runs],
                         [(FIRST, "", 0, "main-dialog"),
                          (COPY, "-ReplaceMixer", 0, "replace-mixer")])
        self.assertEqual((runs[1].start_tick, runs[1].end_tick), (38900, 42300))

    def test_the_events_of_the_first_run(self):
        first = observe.observe(typical_records(), typical_calls(), "xp", True)[0]
        self.assertEqual([(e["t_ms"], e["kind"]) for e in first.events],
                         [(600, "dialog"), (1500, "message"), (37100, "dialog"),
                          (37610, "reboot")])
        dialog, message, prompt, reboot = first.events
        self.assertEqual((dialog["template"], dialog["title"], dialog["answer"],
                          dialog["controls"]),
                         (102, "PCI Audio Device Driver And Applications Setup Program",
                          "Install Applications (cleared), OK",
                          {"1001": "unchecked", "1002": "checked"}))
        # A message has plan's fields, and no answer: every message box gets OK.
        self.assertEqual((message["text"], message["caption"], message["answered_ms"]),
                         (NOTICE, "Setup", 1900))
        self.assertNotIn("answer", message)
        self.assertEqual(prompt["controls"]["1000"], "checked")
        self.assertTrue(reboot["accepted"])

    def test_a_start_gets_the_current_directory_and_the_recorded_window_state(self):
        copy = observe.observe(typical_records(), typical_calls(), "xp", True)[1]
        self.assertEqual(copy.events, [{
            "t_ms": 3200, "kind": "start", "command_line": "C:\\windows\\Mixer.exe /startup",
            "current_dir": "C:\\windows", "show": "SW_HIDE"}])

    def test_the_directory_a_program_inherits_is_the_last_one_made_current(self):
        calls = typical_calls()[:3] + [
            call(1800, FIRST, observe.CREATE_PROCESS,
                 '00000000,013f59a8 "D:\\\\W2K-ME\\\\app\\\\Setup.exe",00000000,00000000,'
                 '00000000,00000000,00000000,00000000,0063faac,0063fa9c', result=0),
            call(1900, FIRST, observe.WIN_EXEC, '0063fb50 "D:\\\\Setup.exe /AP",00000005',
                 result=2)]
        first = observe.observe(STARTED, calls, "xp", True)[0]
        self.assertEqual([(e["command_line"], e["current_dir"], e["show"], e.get("error"))
                          for e in first.events],
                         [("D:\\W2K-ME\\app\\Setup.exe", "D:\\W2K-ME", None,
                           "CreateProcessA failed"),
                          ("D:\\Setup.exe /AP", "D:\\W2K-ME", "SW_SHOW", "program not found")])

    def test_other_programs_windows_are_kept_apart(self):
        records = typical_records()
        runs = observe.observe(records, typical_calls(), "xp", True)
        self.assertEqual([(w["t_ms"], w["program"], w["caption"]) for w in
                          observe.other_windows(records, runs)], [(38500, "Mixer.exe", "Mixer")])

    def test_texts_come_back_from_utf8(self):
        caption = "\u91cd\u65b0\u555f\u52d5".encode("utf-8").decode("latin-1")
        records = STARTED + [window(1500, 20, "dialog", 132, caption), answer(1600, 20, "OK")]
        first = observe.observe(records, [], "xp", False)[0]
        self.assertEqual(first.events[0]["title"], "\u91cd\u65b0\u555f\u52d5")

    def test_a_dialog_not_answered_has_an_empty_answer(self):
        records = STARTED + [window(1500, 21, "dialog", 102, "Setup")]
        self.assertEqual(observe.observe(records, [], "xp", False)[0].events[0]["answer"], "")


class RouteTest(unittest.TestCase):
    def route(self, events, windows="xp", arguments="", dos_staged=False):
        run = observe.Run(FIRST, '"D:\\W2KSetup.exe" ' + arguments, 0)
        run.events = events
        return observe.route_of(run, windows, dos_staged)

    def test_each_route_by_what_the_run_showed_and_did(self):
        dialog = lambda template: {"kind": "dialog", "template": template}
        message = lambda text: {"kind": "message", "text": text}
        start = lambda command: {"kind": "start", "command_line": command}
        self.assertEqual(self.route([start("D:\\Setup.exe")], windows="98"), "hand-over")
        self.assertEqual(self.route([], windows="nt4"), "hand-over")
        self.assertEqual(self.route([dialog(131), message(NOTICE)]), "win2000-dialog")
        self.assertEqual(self.route([dialog(102), message(NOTICE)]), "main-dialog")
        self.assertEqual(self.route([message(MISSING_FILES)]), "main-dialog")
        self.assertEqual(self.route([message(NOTICE), message(MISSING_FILES)],
                                    dos_staged=True), "driver-switch")
        self.assertEqual(self.route([message(NOTICE)]), "web-silent")
        self.assertEqual(self.route([start("D:\\W2K-ME\\app\\Setup.exe")], arguments="/AP"),
                         "package")
        self.assertEqual(self.route([message(MISSING_PACKAGE)], arguments="/AP"), "package")
        self.assertEqual(self.route([]), "web-nothing")
        self.assertEqual(self.route([start("C:\\windows\\Mixer.exe /startup")],
                                    arguments="-ReplaceMixer"), "replace-mixer")
        self.assertEqual(self.route([], arguments="-replacemixer"), "nothing")
        # "/S" shows nothing whatever it does; before 2000 it starts nothing.
        self.assertEqual(self.route([], arguments="/s"), "silent")
        self.assertEqual(self.route([], windows="me", arguments="-SILENT"), "silent-unavailable")
        self.assertEqual(self.route([], windows="me", arguments="/S /AP"), "hand-over")

    def test_a_silent_run_tells_its_exit_code_and_the_windows_it_showed(self):
        run = observe.Run(FIRST, '"D:\\W2KSetup.exe" /S', 0)
        run.route, run.exit_code, run.events = "silent", 3010, []
        self.assertEqual(observe.silent_result(run), {
            "exit_code_meaning": "installed, a restart is needed", "windows_shown": 0})
        run.exit_code, run.events = 1603, [{"kind": "message", "text": NOTICE}]
        self.assertEqual(observe.silent_result(run), {
            "exit_code_meaning": "nothing was installed or the installation failed",
            "windows_shown": 1})
        run.route = "driver-switch"
        self.assertIsNone(observe.silent_result(run))


class TimingsTest(unittest.TestCase):
    def test_the_waits_against_the_fixed_waits(self):
        runs = observe.observe(typical_records(), typical_calls(), "xp", True)
        waits = {w["what"]: w for w in observe.timings(runs)}
        completion = waits["the driver notice answered to the restart prompt"]
        self.assertEqual((completion["observed_ms"], completion["fixed_ms"],
                          completion["overhead_ms"]), (35200, 35000, 200))
        self.assertEqual(waits["the installer, from its start to its end"]["observed_ms"], 37750)
        self.assertEqual(
            waits["the reboot request to the installer's start from the Run key"]["observed_ms"],
            290)
        self.assertEqual(waits["the run after the restart (-ReplaceMixer)"]["overhead_ms"], 2400)

    def test_an_unattended_run_waits_for_the_mixers_without_the_prompts_pause(self):
        records = [record("installer-start", 1000, command='"D:\\W2KSetup.exe" /S',
                          directory="D:\\", process_id=FIRST),
                   record("process-end", 31500, process_id=FIRST, exit_code=3010)]
        runs = observe.observe(records, [], "xp", True)
        self.assertEqual(runs[0].route, "silent")
        whole = observe.timings(runs)[0]
        self.assertEqual((whole["observed_ms"], whole["fixed_ms"], whole["overhead_ms"]),
                         (30500, 30000, 500))

    def test_the_win2000_dialog_pauses_once_more(self):
        records = STARTED + [window(1500, 1, "dialog", 131), answer(1600, 1, "Install"),
                             window(2000, 2, "message", text=NOTICE), answer(2500, 2, "OK"),
                             window(38000, 3, "dialog", 132)]
        waits = observe.timings(observe.observe(records, [], "2000", False))
        self.assertEqual([(w["fixed_ms"], w["observed_ms"]) for w in waits],
                         [(35500, 35500)])


class DescribeTest(unittest.TestCase):
    def test_each_kind_in_one_line(self):
        self.assertEqual(observe.describe({
            "kind": "dialog", "template": 131, "title": "X",
            "answer": "Disable legacy device (MIDI/GAME port) (checked), Install"}),
            'Windows 2000/XP options dialog "X" -> '
            'Disable legacy device (MIDI/GAME port) (checked), Install')
        self.assertEqual(observe.describe({"kind": "dialog", "template": 132, "title": "Y",
                                           "answer": ""}), 'restart prompt "Y"')
        self.assertEqual(observe.describe({"kind": "message", "text": "T", "caption": "Setup",
                                           "answered_ms": 5}),
                         'message "T" (Setup), answered OK')
        self.assertEqual(observe.describe({"kind": "start", "command_line": "a.exe",
                                           "current_dir": None, "show": None,
                                           "error": "program not found"}),
                         "started a.exe (in ?), which failed: program not found")


if __name__ == "__main__":
    unittest.main()
