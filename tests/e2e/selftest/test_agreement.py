"""The comparison of a plan with a try: what agrees, what a known Wine
difference explains, and every kind of disagreement it must find."""

import copy
import unittest

from harness import agreement
from wine_machine.installer import MEDIA_CLASS_KEY

RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
NOTICE = "The driver will be installed now. It need a few minutes to complete."
MAIN = "PCI Audio Device Driver And Applications Setup Program"


def file_change(path, size, digest, change="added"):
    return {"kind": "file", "change": change, "path": path, "before": None,
            "after": {"size": size, "sha256": digest}}


def value_change(key, name, data, type="REG_SZ"):
    return {"kind": "value", "change": "added", "key": key, "name": name, "before": None,
            "after": {"type": type, "data": data}}


def run(command_line, route, events, reboot=False):
    return {"windows": "xp", "command_line": command_line, "route": route, "exit_code": 0,
            "reboot_requested": reboot, "events": events}


def plan():
    """A plan of the main dialog with a restart, and the run after it."""
    first = run("", "main-dialog", [
        {"t_ms": 0, "kind": "ini-write", "file": "C:\\WINDOWS\\QNCDPLAY.INI"},
        {"t_ms": 0, "kind": "dialog", "template": 102, "title": MAIN,
         "answer": "Install Applications (cleared), OK"},
        {"t_ms": 200, "kind": "message", "text": NOTICE, "caption": "Setup"},
        {"t_ms": 200, "kind": "copy", "from": "D:\\a", "to": "C:\\b"},
        {"t_ms": 11200, "kind": "dialog", "template": 132, "title": "Restarting Windows",
         "answer": "OK"},
        {"t_ms": 11200, "kind": "reboot"}], reboot=True)
    first["restart_runs"] = [run("-ReplaceMixer", "replace-mixer", [
        {"t_ms": 100000, "kind": "start", "command_line": "C:\\WINDOWS\\Mixer.exe /startup",
         "current_dir": "C:\\WINDOWS\\system32", "show": "SW_HIDE"}])]
    first["changes"] = [
        file_change("C:\\Program Files\\Quarnel\\WIN_ME\\qnaudio.sys", 37, "aa"),
        file_change("C:\\WINDOWS\\INF\\oem0.inf", 851, "bb"),
        file_change("C:\\WINDOWS\\INF\\oem0.PNF", 3, "cc"),
        file_change("C:\\WINDOWS\\Mixer.exe", 100, "dd"),
        value_change(RUN_KEY, "Keep", "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer")]
    return first


def tried():
    """The same run under Wine, with every known difference it shows."""
    first = run("", "main-dialog", [
        {"t_ms": 600, "kind": "dialog", "template": 102, "title": MAIN,
         "answer": "Install Applications (cleared), OK", "controls": {}, "screenshot": None},
        {"t_ms": 1500, "kind": "message", "text": NOTICE, "caption": "Setup",
         "answered_ms": 1900},
        {"t_ms": 37100, "kind": "dialog", "template": 132, "title": "Restarting Windows",
         "answer": "OK"},
        {"t_ms": 37610, "kind": "reboot", "accepted": True}], reboot=True)
    first["restart_runs"] = [run("-ReplaceMixer", "replace-mixer", [
        {"t_ms": 3200, "kind": "start", "command_line": "C:\\windows\\Mixer.exe /startup",
         "current_dir": "C:\\windows", "show": "SW_HIDE"}])]
    first["changes"] = [
        {"kind": "folder", "change": "added", "path": "C:\\Program Files\\Quarnel\\",
         "before": None, "after": {}},
        file_change("C:\\Program Files\\Quarnel\\WIN_ME\\qnaudio.sys", 37, "aa"),
        file_change("C:\\windows\\inf\\QNAUDIO.INF", 851, "bb"),
        file_change("C:\\windows\\inf\\QNAUDIO.pnf", 60, "ee"),
        file_change("C:\\windows\\Mixer.exe", 100, "dd"),
        file_change("C:\\windows\\system32\\drivers\\qnaudio.sys", 37, "aa"),
        file_change("D:\\left.txt", 1, "ff"),
        value_change(RUN_KEY, "Keep", "C:\\windows\\W2KSetup.exe -ReplaceMixer"),
        value_change(MEDIA_CLASS_KEY + "\\0000\\Settings", "JackConfig", 0, "REG_DWORD"),
        {"kind": "key", "change": "added", "key": "HKLM\\System\\CurrentControlSet\\Enum\\ROOT"
         "\\MEDIA\\0000", "before": None, "after": {}}]
    return first


class AgreementTest(unittest.TestCase):
    def disagreements(self, plan_report, try_report):
        return agreement.compare(plan_report, try_report).disagreements

    def test_the_same_run_agrees_with_each_known_difference_named(self):
        comparison = agreement.compare(plan(), tried())
        self.assertEqual(comparison.disagreements, [], comparison.report())
        self.assertEqual(comparison.compared,
                         {"windows": 3, "programs": 1, "files": 3, "values": 1})
        self.assertEqual(sorted({name for name, _ in comparison.explained}),
                         ["device-installer-files", "driver-key", "oem-inf-name",
                          "run-entry-directory", "windows-directory-spelling"])
        # The plan's oemN.inf is the try's QNAUDIO.INF by its bytes.
        self.assertIn(("oem-inf-name", "the plan's C:\\WINDOWS\\INF\\oem0.inf is the try's "
                       "C:\\windows\\inf\\QNAUDIO.INF"), comparison.explained)

    def test_windows_and_their_answers(self):
        other = tried()
        other["events"][0]["answer"] = "OK"
        self.assertEqual(self.disagreements(plan(), other), [
            "the run started, window 1 (dialog), answer: the plan has "
            "'Install Applications (cleared), OK', the try 'OK'"])
        other = tried()
        other["events"][1] = dict(other["events"][0])
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        other = tried()
        other["events"].insert(2, {"kind": "message", "text": "Can not find installation "
                                   "files.", "caption": "Setup"})
        self.assertEqual(self.disagreements(plan(), other), [
            "the run started, window 3: the plan shows dialog 'Restarting Windows', the try "
            "message 'Can not find installation files.'",
            "only the try has the run started: dialog 'Restarting Windows'"])

    def test_programs_started(self):
        other = tried()
        other["restart_runs"][0]["events"][0]["current_dir"] = "D:\\"
        self.assertEqual(self.disagreements(plan(), other), [
            "the run after the restart, program 1 (C:\\WINDOWS\\Mixer.exe /startup), "
            "current_dir: the plan has 'C:\\\\WINDOWS\\\\system32', the try 'D:\\\\'"])
        other = tried()
        other["restart_runs"][0]["events"][0]["error"] = "CreateProcessA failed"
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        other = tried()
        other["restart_runs"][0]["events"][0]["show"] = "SW_SHOW"
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        other = tried()
        other["restart_runs"][0]["events"][0]["show"] = None
        self.assertEqual(self.disagreements(plan(), other), [], "not seen under Wine")
        other = tried()
        other["restart_runs"][0]["events"] = []
        self.assertEqual(self.disagreements(plan(), other), [
            "only the plan has the run after the restart: the start of "
            "C:\\WINDOWS\\Mixer.exe /startup"])

    def test_runs(self):
        other = tried()
        other["restart_runs"] = []
        self.assertIn("the plan has 2 run(s), the try 1: ['', '-ReplaceMixer'] against ['']",
                      self.disagreements(plan(), other))
        other = tried()
        other["route"], other["exit_code"] = "web-silent", 1
        self.assertEqual(self.disagreements(plan(), other), [
            "the run started, route: the plan has 'main-dialog', the try 'web-silent'",
            "the run started, exit_code: the plan has 0, the try 1"])

    def test_files_by_their_bytes(self):
        other = tried()
        other["changes"][1]["after"]["sha256"] = "a0"
        self.assertEqual(self.disagreements(plan(), other), [
            "the file C:\\Program Files\\Quarnel\\WIN_ME\\qnaudio.sys: the plan leaves 37 bytes, "
            "SHA-256 aa, the try 37 bytes, SHA-256 a0"])
        # A patched INF that reached the INF folder with other bytes.
        other = tried()
        other["changes"][2]["after"]["sha256"] = "b0"
        self.assertEqual(self.disagreements(plan(), other), [
            "only the plan has the file C:\\WINDOWS\\INF\\oem0.inf (851 bytes, SHA-256 bb)"])
        other = tried()
        del other["changes"][4]
        self.assertEqual(self.disagreements(plan(), other), [
            "only the plan has the file C:\\WINDOWS\\Mixer.exe (100 bytes, SHA-256 dd)"])
        other = tried()
        other["changes"].append(file_change("C:\\windows\\QNISETUP.INI", 10, "99"))
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        other = tried()
        other["changes"][4]["after"] = None
        self.assertEqual(len(self.disagreements(plan(), other)), 1, "removed instead")

    def test_the_twin_stands_for_the_product_only_in_its_own_bytes(self):
        planned, other = plan(), tried()
        planned["changes"].append(file_change("C:\\WINDOWS\\W2KSetup.exe", 96, "product"))
        other["changes"].append(file_change("C:\\windows\\W2KSetup.exe", 102, "twin"))
        other["build"] = {"twin": True, "product_file": {"size": 96, "sha256": "product"},
                          "twin_file": {"size": 102, "sha256": "twin"}}
        comparison = agreement.compare(planned, other)
        self.assertEqual(comparison.disagreements, [])
        self.assertIn("x86-64-twin", [name for name, _ in comparison.explained])
        other["changes"][-1]["after"]["sha256"] = "something else"
        self.assertEqual(len(self.disagreements(planned, other)), 1)
        other["changes"][-1]["after"]["sha256"] = "twin"
        other["build"]["twin"] = False
        self.assertEqual(len(self.disagreements(planned, other)), 1)

    def test_registry_values(self):
        other = tried()
        other["changes"][7]["after"]["data"] = "C:\\windows\\W2KSetup.exe /DRIVER"
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        other = tried()
        other["changes"][7]["after"]["type"] = "REG_EXPAND_SZ"
        self.assertEqual(self.disagreements(plan(), other), [
            "the value %s \"Keep\": the plan writes a REG_SZ, the try a REG_EXPAND_SZ" % RUN_KEY])
        other = tried()
        del other["changes"][7]
        self.assertEqual(len(self.disagreements(plan(), other)), 1)
        planned = plan()
        planned["changes"].append(value_change("HKCU\\Software\\Quarnel", "Level", "1"))
        self.assertEqual(self.disagreements(planned, tried()), [
            "only the plan has the value HKCU\\Software\\Quarnel \"Level\" "
            "({'type': 'REG_SZ', 'data': '1'})"])

    def test_the_report_lists_both(self):
        other = copy.deepcopy(tried())
        other["events"][0]["answer"] = "OK"
        text = agreement.compare(plan(), other).report()
        self.assertTrue(text.startswith("compared on both sides: 3 windows, 1 programs, 3 files, "
                                        "1 values\n1 disagreement(s):\n  the run started, "
                                        "window 1"), text)
        self.assertIn("[run-entry-directory] the run after the restart", text)


if __name__ == "__main__":
    unittest.main()
