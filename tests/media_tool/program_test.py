#!/usr/bin/env python3
"""w2kmedia from outside, as a person or a script runs it: the exit status,
JSON that parses, a message and never a trace on bad input, and the sample
media of tools/make_media.py with the built installer checking clean.

usage: program_test.py W2KMEDIA SOURCE_DIR [WIN32_BUILD_DIR]
"""

import hashlib
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

W2KMEDIA = ""
SOURCE_DIR = ""
WIN32_BUILD = ""

RUN_KEYS = ["windows", "command_line", "route", "exit_code", "reboot_requested",
            "virtual_ms", "events"]
PLAN_KEYS = ["media"] + RUN_KEYS + ["restart_runs", "changes"]
# The fields of the changes, as `w2kmedia try` gives them.
CHANGE_FIELDS = {"file": ["kind", "change", "path", "before", "after"],
                 "value": ["kind", "change", "key", "name", "before", "after"]}
# The fields each kind of event carries at least.
EVENT_FIELDS = {
    "message": {"text", "caption"},
    "dialog": {"template", "answer"},
    "mkdir": {"path"},
    "copy": {"from", "to"},
    "delete": {"path"},
    "reg-set": {"key", "value", "type", "data"},
    "reg-delete": {"key", "value"},
    "ini-write": {"file", "section", "key", "value"},
    "start": {"command_line", "current_dir", "show"},
    "close-window": {"title"},
    "sleep": {"ms"},
    "device": {"operation", "result"},
    "reboot": set(),
}
NOBODY = 65534


def run(arguments, user=None, program=None, env=None):
    """Runs w2kmedia, as `user` when given; returns (status, stdout as text,
    stderr as text)."""
    done = subprocess.run([program or W2KMEDIA] + arguments, capture_output=True, timeout=120,
                          preexec_fn=(lambda: os.setuid(user)) if user is not None else None,
                          env=env)
    # Output must be valid UTF-8 whatever the media's names hold.
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def write(path, data=b"x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def write_media(root, installer=b"MZ installer"):
    """A complete media in the sample's layout, the outside programs stand-ins."""
    inf = ("[Version]\r\nSignature=\"$Windows NT$\"\r\n[QNAUDIO.AddReg]\r\n"
           'HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0\r\n'
           'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0\r\n').encode("ascii")
    write(os.path.join(root, "setup.ini"), b"[InstallOption]\r\nWebSetup=0\r\n")
    write(os.path.join(root, "W2KSetup.exe"), installer)
    write(os.path.join(root, "Setup.exe"), b"MZ setup")
    write(os.path.join(root, "Dosdrv", "QNSB.COM"))
    for folder in ("WinXP", "W2K-ME", "WIN_ME"):
        drv = os.path.join(root, folder, "drv")
        write(os.path.join(drv, "QNAUDIO.INF"), inf)
        write(os.path.join(drv, "Mixer.dat"), b"MZ mixer")
        write(os.path.join(drv, "W2KSetup.dat"), installer)
    write(os.path.join(root, "W2K-ME", "app", "Setup.exe"), b"MZ package")


def write_image(folder, image, *options):
    """An ISO 9660 image of the folder, with Joliet names unless the options
    say otherwise, written by xorriso."""
    subprocess.run(["xorriso", "-outdev", "stdio:" + image, "-joliet", "on"] + list(options)
                   + ["-map", folder, "/"], check=True, capture_output=True, timeout=300)


def loop_folder(image, name):
    """Points the folder `name` (upper case) of the image, in its ISO 9660 and
    its Joliet tree, at the root of that tree, so that its folders loop."""
    with open(image, "r+b") as disc:
        data = bytearray(disc.read())
        roots = {}
        sector = 16
        while data[sector * 2048] != 255:
            roots[data[sector * 2048]] = data[sector * 2048 + 158:sector * 2048 + 166]
            sector += 1
        for kind, spelled in ((1, name.encode()), (2, name.lower().encode("utf-16-be"))):
            at = data.index(bytes([len(spelled)]) + spelled) - 32
            data[at + 2:at + 10] = roots[kind]
        disc.seek(0)
        disc.write(data)


class Program(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="w2kmedia-program-")
        os.chmod(self.work, 0o755)
        self.media = os.path.join(self.work, "media")
        write_media(self.media)

    def tearDown(self):
        for folder, _, _ in os.walk(self.work):
            os.chmod(folder, 0o755)
        shutil.rmtree(self.work)

    def assert_clear_message(self, status, err, expected_status, says):
        self.assertEqual(status, expected_status, err)
        self.assertIn(says, err)
        for trace in ("Traceback", "terminate called", "Segmentation", "what():"):
            self.assertNotIn(trace, err)

    def test_plan_json_is_the_object_of_the_issue_table(self):
        for arguments in (["--args", "/DRIVER"], ["--windows", "98", "--args", "/AP"],
                          ["--args", "-ReplaceMixer", "--device", "fails"]):
            status, out, err = run(["plan", self.media, "--json"] + arguments)
            self.assertEqual(status, 0, err)
            plan = json.loads(out)
            self.assertEqual(list(plan), PLAN_KEYS)
            for run_ in [{k: v for k, v in plan.items() if k != "media"}] + plan["restart_runs"]:
                self.assertEqual(list(run_)[:len(RUN_KEYS)], RUN_KEYS)
                for event in run_["events"]:
                    self.assertEqual(list(event)[:2], ["t_ms", "kind"])
                    required = EVENT_FIELDS.get(event["kind"], set())
                    self.assertTrue(required <= set(event), event)
            for change in plan["changes"]:
                self.assertEqual(list(change), CHANGE_FIELDS[change["kind"]], change)
        status, out, _ = run(["plan", self.media, "--json", "--args", "/DRIVER"])
        plan = json.loads(out)
        kinds = [event["kind"] for event in plan["events"]]
        for kind in ("message", "mkdir", "copy", "reg-set", "ini-write", "sleep", "device",
                     "dialog", "reboot"):
            self.assertIn(kind, kinds)
        # The restart is followed; the staged files carry the digests of the
        # media's bytes.
        self.assertEqual([(r["command_line"], r["route"]) for r in plan["restart_runs"]],
                         [("-ReplaceMixer", "replace-mixer")])
        staged = {c["path"]: c["after"] for c in plan["changes"] if c["kind"] == "file"}
        with open(os.path.join(self.media, "WinXP", "drv", "QNAUDIO.INF"), "rb") as f:
            inf = f.read()
        self.assertEqual(staged["C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"],
                         {"size": len(inf), "sha256": hashlib.sha256(inf).hexdigest()})

    def test_names_with_blanks_and_other_bytes_give_valid_json(self):
        write(os.path.join(self.media, "WinXP", "drv", "Liesmich \xfc.txt").encode("utf-8"))
        write(os.path.join(self.media, "WinXP", "drv").encode() + b"/raw \xfc\xfe.sys")
        status, out, err = run(["plan", self.media, "--json", "--args", "/DRIVER"])
        self.assertEqual(status, 0, err)
        copied = [event["from"] for event in json.loads(out)["events"] if event["kind"] == "copy"]
        self.assertIn("D:\\WinXP\\drv\\Liesmich \u00fc.txt", copied)
        self.assertIn("D:\\WinXP\\drv\\raw \u00fc\u00fe.sys", copied)
        status, out, err = run(["check", self.media, "--json"])
        self.assertEqual((status, json.loads(out)), (0, {"media": self.media, "findings": []}))

    def test_check_json_and_exit_status(self):
        write(os.path.join(self.media, "Setup.exe"), b"MZ installer")
        status, out, _ = run(["check", self.media, "--json"])
        self.assertEqual(status, 1)
        findings = json.loads(out)["findings"]
        self.assertEqual([list(f) for f in findings], [["severity", "code", "path", "message"]])
        self.assertEqual((findings[0]["severity"], findings[0]["code"], findings[0]["path"]),
                         ("error", "handover-loop", "D:\\Setup.exe"))

    def test_folders_that_are_no_media(self):
        status, _, err = run(["check", os.path.join(self.work, "none")])
        self.assert_clear_message(status, err, 2, "cannot read the media folder")
        status, _, err = run(["plan", os.path.join(self.media, "setup.ini")])
        self.assert_clear_message(status, err, 2, "is a file, not a media folder")
        empty = os.path.join(self.work, "empty")
        os.mkdir(empty)
        status, _, err = run(["plan", empty])
        self.assert_clear_message(status, err, 2, "there is no W2KSetup.exe")
        status, out, err = run(["check", empty])
        self.assertEqual(status, 1, err)
        self.assertIn("installer-missing", out)
        status, _, err = run(["plan"])
        self.assert_clear_message(status, err, 2, "needs the media folder")

    def test_a_link_that_leads_back_into_the_media(self):
        os.symlink("..", os.path.join(self.media, "WinXP", "loop"))
        os.symlink(os.path.join(self.media, "WIN_ME"), os.path.join(self.media, "WIN_ME", "again"))
        status, out, err = run(["check", self.media])
        self.assertEqual(status, 0, err)
        self.assertIn("link-loop D:\\WinXP\\loop", out)
        self.assertIn("link-loop D:\\WIN_ME\\again", out)

    def test_ten_thousand_files(self):
        for index in range(10000):
            write(os.path.join(self.media, "extras", "set %02d" % (index % 40), "file %05d" % index))
        status, out, err = run(["check", self.media])
        self.assertEqual((status, err), (0, ""))
        self.assertIn("No findings", out)
        # Beside the installer, a web set-up copies every one of them.
        write(os.path.join(self.media, "setup.ini"), b"[InstallOption]\r\nWebSetup=2\r\n")
        for index in range(10000):
            write(os.path.join(self.media, "f%05d.dat" % index))
        status, out, err = run(["plan", self.media, "--json"])
        self.assertEqual(status, 0, err)
        copies = [e for e in json.loads(out)["events"] if e["kind"] == "copy"]
        self.assertGreater(len(copies), 10000)

    def test_files_and_folders_that_cannot_be_read(self):
        # Root reads everything; the program runs as another user for this,
        # from a copy that user may run.
        user = NOBODY if os.geteuid() == 0 else None
        program = os.path.join(self.work, "w2kmedia")
        shutil.copy(W2KMEDIA, program)
        for folder, _, files in os.walk(self.work):
            os.chmod(folder, 0o755)
            for name in files:
                os.chmod(os.path.join(folder, name), 0o755)
        os.chmod(os.path.join(self.media, "Dosdrv", "QNSB.COM"), 0)
        os.chmod(os.path.join(self.media, "W2K-ME", "app"), 0)
        os.mkfifo(os.path.join(self.media, "pipe"))
        status, out, err = run(["check", self.media], user, program)
        self.assertEqual(status, 1, err)  # the package cannot be found
        self.assertIn("unreadable D:\\Dosdrv\\QNSB.COM", out)
        self.assertIn("unreadable D:\\W2K-ME\\app\\\n    w2kmedia cannot read D:\\W2K-ME\\app\\ ("
                      "Permission denied)", out)
        self.assertIn("package-missing D:\\W2K-ME\\app\\Setup.exe", out)
        self.assertTrue(out.endswith("\n2 error(s), 2 warning(s), 1 note(s).\n"), out)
        os.chmod(self.media, 0)
        status, _, err = run(["check", self.media], user, program)
        self.assert_clear_message(status, err, 2, "cannot read the media folder")

    def test_images_that_cannot_be_read(self):
        image = os.path.join(self.work, "media.iso")
        os.makedirs(os.path.join(self.media, "loopa", "loopb"))
        write_image(self.media, image, "-padding", "0")
        with open(image, "rb") as disc:
            whole = disc.read()
        broken = {"cut.iso": whole[:len(whole) // 2], "notes.ISO": b"not a disc\n" * 5000,
                  "empty.iso": b"", "no-system-area.iso": whole[32768:]}
        for name, data in broken.items():
            with open(os.path.join(self.work, name), "wb") as out:
                out.write(data)
        # Found by the fuzzer: libarchive lists its root over and over.
        with open(os.path.join(SOURCE_DIR, "tests", "fuzz", "iso_image", "corpus",
                               "joliet_root_listed_over_and_over"), "rb") as seed:
            with open(os.path.join(self.work, "endless.iso"), "wb") as out:
                out.write(bytes(32768) + seed.read())
        loop = os.path.join(self.work, "loop.iso")
        shutil.copy(image, loop)
        loop_folder(loop, "LOOPB")
        says = {"cut.iso": "cannot read the image", "notes.ISO": "it is no ISO 9660 image",
                "empty.iso": "it is empty", "no-system-area.iso": "it is no ISO 9660 image",
                "loop.iso": "contains loop", "endless.iso": "hold one another over and over"}
        for name, said in says.items():
            path = os.path.join(self.work, name)
            for arguments in (["check", path], ["plan", path],
                              ["extract", path, os.path.join(self.work, "tree")]):
                status, _, err = run(arguments)
                self.assertEqual(status, 2, arguments)
                self.assert_clear_message(status, err, 2, said)
                self.assertIn(name, err)
                self.assertEqual(len(err.splitlines()), 1, err)

    def test_an_xorriso_that_fails_without_saying_why(self):
        # Its last five lines are all a person gets.
        fake = os.path.join(self.work, "bin", "xorriso")
        write(fake, b"#!/bin/sh\nfor n in 1 2 3 4 5 6 7; do echo line $n; done\nexit 5\n")
        os.chmod(fake, 0o755)
        image = os.path.join(self.work, "media.iso")
        env = dict(os.environ, PATH=os.path.dirname(fake) + os.pathsep + os.environ["PATH"])
        status, _, err = run(["image", self.media, image], env=env)
        self.assertEqual((status, err), (2, "w2kmedia: xorriso could not write " + image + ":\n"
                                         + "".join("  xorriso: line %d\n" % n for n in range(3, 8))))
        self.assertFalse(os.path.exists(image))

    def test_an_image_whose_folders_hold_one_another(self):
        # Found by the fuzzer: its ISO 9660 folders hold one another over and
        # over, which libarchive lists without end; Windows reads its Joliet.
        seed = os.path.join(SOURCE_DIR, "tests", "fuzz", "iso_image", "corpus",
                            "iso9660_folders_that_hold_one_another")
        image = os.path.join(self.work, "repeating.iso")
        with open(seed, "rb") as source, open(image, "wb") as out:
            out.write(bytes(32768) + source.read())
        status, out, err = run(["check", image])
        self.assertEqual((status, err), (1, ""))
        self.assertIn("installer-missing", out)

    def test_an_image_of_ten_thousand_files_with_names_beyond_ascii(self):
        for index in range(10000):
            write(os.path.join(self.media, "extras", "Satz \u00fc %02d" % (index % 40),
                               "file %05d \u20ac" % index))
        image = os.path.join(self.work, "many.iso")
        status, out, err = run(["image", self.media, image])
        self.assertEqual((status, err), (0, ""), out)
        folders = sum(len(names) for _, names, _ in os.walk(self.media))
        files = sum(len(names) for _, _, names in os.walk(self.media))
        self.assertIn("%d folders and %d files" % (folders, files), out)
        status, out, err = run(["check", image, "--json"])
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(json.loads(out), {"media": image, "findings": []})
        status, out, err = run(["plan", image, "--json", "--args", "/DRIVER"])
        self.assertEqual(status, 0, err)
        self.assertEqual(json.loads(out)["media"], image)
        tree = os.path.join(self.work, "tree")
        status, out, err = run(["extract", image, tree])
        self.assertEqual((status, err), (0, ""))
        extracted = os.path.join(tree, "extras", "Satz \u00fc 07", "file 00007 \u20ac")
        self.assertTrue(os.path.isfile(extracted))
        for path in (tree, os.path.dirname(extracted), extracted):
            self.assertFalse(os.stat(path).st_mode & 0o222, path)

    def test_the_generated_sample_media_checks_clean(self):
        installer = os.path.join(WIN32_BUILD, "W2KSetup.exe")
        recorder = os.path.join(WIN32_BUILD, "e2e-helpers", "recorder.exe")
        if not WIN32_BUILD or not os.path.isfile(installer):
            self.skipTest("no Windows build with W2KSetup.exe")
        sample = os.path.join(self.work, "sample")
        for read_only in ([], ["--read-only"]):
            shutil.rmtree(sample, ignore_errors=True)
            subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "tools", "make_media.py"),
                            sample, "--installer", installer, "--programs", recorder,
                            "--web-setup", "0", "--quiet"] + read_only, check=True)
            status, out, err = run(["check", sample, "--json"])
            self.assertEqual((status, err), (0, ""))
            self.assertEqual(json.loads(out)["findings"], [])


if __name__ == "__main__":
    W2KMEDIA, SOURCE_DIR = sys.argv[1], sys.argv[2]
    WIN32_BUILD = sys.argv[3] if len(sys.argv) > 3 else ""
    unittest.main(argv=[sys.argv[0]])
