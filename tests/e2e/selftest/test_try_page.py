"""report.html of `w2kmedia try`: every part of the report is on the page,
texts from the installer and the media are shown as text, and each picture
is linked to its whole screen."""

import re
import unittest

from media_try import page


def sample_report(**changes):
    shot = {"file": "screens/01-main-dialog-1.png", "full": "screens/full/01-main-dialog-1.png",
            "width": 386, "height": 295}
    report = {
        "media": "/media/Sound <CD>", "installer": "D:\\W2KSetup.exe", "windows": "xp",
        "windows_name": "Windows XP", "wine": "wine-8.0", "language": "en_US",
        "build": {"way": "i686", "twin": False, "replaced": [], "summary": "the media's own",
                  "text": "The media's own D:\\W2KSetup.exe ran under Wine's 32-bit loader."},
        "sandbox": {"sandboxed": True, "text": "Sandboxed (bubblewrap 0.8.0): ..."},
        "command_line": "", "device": "present", "earlier_driver": False, "made": "now",
        "answers": {"apps": "no", "driver": "yes", "cancel": False, "board": "motherboard",
                    "jacks": ["rear"], "legacy": False, "restart": "yes"},
        "route": "main-dialog", "route_text": "asks in the main options dialog", "exit_code": 0,
        "reboot_requested": True,
        "restart_runs": [{"program_command_line": "C:\\windows\\W2KSetup.exe -ReplaceMixer",
                          "route": "replace-mixer", "exit_code": 0, "wall_ms": 3400}],
        "problems": [],
        "timeline": [{"t_ms": 650, "run": "the installer", "kind": "dialog",
                      "what": 'main options dialog "<script>alert(1)</script>" -> OK',
                      "screenshot": shot},
                     {"t_ms": 37992, "run": "the installer", "kind": "reboot",
                      "what": "requested a reboot", "screenshot": None}],
        "changes": [{"group": "The INF folder", "kind": "file", "change": "added",
                     "path": "C:\\windows\\inf\\QNAUDIO.INF", "before": None,
                     "after": {"size": 851, "sha256": "06430e5bb1641929" + "0" * 48}},
                    {"group": "Registry values", "kind": "value", "change": "added",
                     "key": "HKLM\\Software\\Run", "name": "", "before": None,
                     "after": {"type": "REG_SZ", "data": "a & b"}}],
        "devices": {"before": [{"instance": "ROOT\\MEDIA\\0000", "hwids": ["PCI\\VEN_7E2D"],
                                "driver": ""}],
                    "after": []},
        "timings": {"waits": [{"what": "the driver notice answered to the restart prompt",
                               "observed_ms": 35518, "fixed_ms": 35000, "overhead_ms": 518,
                               "note": "ten polls"}],
                    "phases_s": {"prefix": 10.3}, "total_s": 59.1},
        "known_wine_differences": [{"name": "oem-inf-name", "reason": "Wine keeps the name"}],
    }
    report.update(changes)
    return report


class PageTest(unittest.TestCase):
    def test_every_part_of_the_report_is_shown(self):
        text = page.render(sample_report())
        for heading in ("The run", "Timeline", "What changed", "The devices", "Timings",
                        "Where Wine differs from Windows"):
            self.assertIn("<h2>%s</h2>" % heading, text)
        self.assertIn("route <b>main-dialog</b>", text)
        self.assertIn("route <b>replace-mixer</b>", text)
        self.assertIn("<h3>The INF folder</h3>", text)
        self.assertIn("35.5 s", text)
        self.assertIn("oem-inf-name", text)
        self.assertIn("present, no driver", text)
        self.assertIn("not present", text)
        self.assertNotIn('<p class="twin">', text)

    def test_a_run_of_the_twin_says_so_above_the_route(self):
        build = {"way": "x86-64", "twin": True, "replaced": ["D:\\W2KSetup.exe"], "summary": "",
                 "text": "The x86-64 build of this tree ran & why."}
        text = page.render(sample_report(build=build))
        self.assertIn('<p class="twin">The x86-64 build of this tree ran &amp; why.</p>'
                      '<p class="route">', text)

    def test_a_run_without_the_sandbox_says_so_first_in_a_box(self):
        shown = {"sandboxed": False, "text": "NOT SANDBOXED: & more"}
        text = page.render(sample_report(sandbox=shown))
        self.assertRegex(text, r'</p><p class="unsandboxed">NOT SANDBOXED: &amp; more</p>'
                               r'<h2>The run</h2>')

    def test_a_silent_run_shows_its_exit_code_and_whether_a_window_came(self):
        silent = sample_report(command_line="/S", route="silent", exit_code=3010,
                               silent={"exit_code_meaning": "installed, a restart is needed",
                                       "windows_shown": 0})
        self.assertIn("<p>Exit code 3010: installed, a restart is needed. No window was shown.</p>",
                      page.render(silent))
        silent["silent"]["windows_shown"] = 2
        self.assertIn("2 window(s) were shown.", page.render(silent))
        self.assertNotIn("No window was shown", page.render(sample_report()))

    def test_texts_are_escaped(self):
        text = page.render(sample_report())
        self.assertNotIn("<script>alert", text)
        self.assertIn("&lt;script&gt;alert(1)&lt;/script&gt;", text)
        self.assertIn("/media/Sound &lt;CD&gt;", text)
        self.assertIn("a &amp; b", text)

    def test_each_picture_has_its_size_and_links_its_whole_screen(self):
        text = page.render(sample_report())
        self.assertEqual(re.findall(r'<a href="([^"]+)"><img src="([^"]+)" alt="screenshot" '
                                    r'width="(\d+)" height="(\d+)">', text),
                         [("screens/full/01-main-dialog-1.png", "screens/01-main-dialog-1.png",
                           "386", "295")])

    def test_a_run_that_did_not_get_far(self):
        text = page.render(sample_report(route=None, route_text=None, exit_code=None,
                                         reboot_requested=False, restart_runs=[], timeline=[],
                                         changes=[], problems=["the installer did not end"],
                                         devices={"before": [], "after": []}))
        self.assertIn("did not run", text)
        self.assertIn("Nothing was shown or started.", text)
        self.assertIn("changed nothing", text)
        self.assertIn('<p class="problem">the installer did not end</p>', text)


if __name__ == "__main__":
    unittest.main()
