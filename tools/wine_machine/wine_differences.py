"""Where a run of the real installer under Wine (`w2kmedia try`) is known to
differ from the same run on the simulated Windows (`w2kmedia plan`), each
with its reason. This is the one place that lists them: a comparison of a
plan with a try leaves out what one of these explains, and nothing else.

A difference names what it applies to and matches the items of that kind:

- "file" and "folder": a change of the change list, by its path;
- "key" and "value": a registry change, by its key path;
- "event": an event of the run (kinds and fields as `plan --json` gives
  them), by a test of its fields;
- "timing": a wait of the timings, by its description.

A difference may instead explain a text that both sides have but spell
apart ("event" fields and "value" data): it then says whether the plan's
text and the try's are the same once that difference is allowed for.
"""

import re

from .installer import MEDIA_CLASS_KEY

# The Windows directory as each side spells it.
PLAN_WINDOWS_DIRECTORY = "C:\\WINDOWS"
WINE_WINDOWS_DIRECTORY = "C:\\windows"


class Difference:
    def __init__(self, name, applies_to, reason, pattern=None, test=None, same_text=None):
        self.name = name
        self.applies_to = applies_to
        self.reason = reason
        self._pattern = re.compile(pattern, re.IGNORECASE) if pattern else None
        self._test = test
        self._same_text = same_text

    def explains(self, kind, item):
        """Whether this difference explains an item (a dict) of that kind."""
        if kind not in self.applies_to or self._same_text is not None:
            return False
        if self._test is not None:
            return self._test(item)
        text = item.get("path") or item.get("key") or item.get("what") or ""
        return bool(self._pattern.search(text))

    def explains_texts(self, kind, plan_text, try_text):
        """Whether this difference explains why the plan's text and the
        try's differ."""
        return (kind in self.applies_to and self._same_text is not None
                and isinstance(plan_text, str) and isinstance(try_text, str)
                and self._same_text(plan_text, try_text))

    def json(self):
        return {"name": self.name, "applies_to": list(self.applies_to), "reason": self.reason}


def _is_start_show(event):
    return event.get("kind") == "start" and event.get("show") is None


def _is_reboot(event):
    return event.get("kind") == "reboot"


def _windows_directory_spelt_by_wine(plan_text, try_text):
    return plan_text != try_text and plan_text.replace(
        PLAN_WINDOWS_DIRECTORY, WINE_WINDOWS_DIRECTORY) == try_text


def _run_entry_directory(plan_text, try_text):
    return (plan_text.lower() == PLAN_WINDOWS_DIRECTORY.lower() + "\\system32"
            and try_text.lower() == WINE_WINDOWS_DIRECTORY.lower())


def _device_operation(*words):
    """A test for plan's "device" events whose operation names one of the
    words (without case and blanks)."""
    def test(event):
        operation = event.get("operation", "").lower()
        for mark in " _-":
            operation = operation.replace(mark, "")
        return event.get("kind") == "device" and any(w in operation for w in words)
    return test


KNOWN_DIFFERENCES = [
    Difference(
        "oem-inf-name", ("file",),
        "Wine keeps the INF's own name in the INF folder (QNAUDIO.INF, with its "
        "QNAUDIO.pnf) where Windows names the copy oemN.inf: the INF the installer copies "
        "there itself (SetupCopyOEMInfA) is compared by its bytes, not by its name. The copy "
        "that a direct update makes reaches the INF folder only under Wine: the simulated "
        "Windows records the update call, not the device installer's own work.",
        pattern=r"^C:\\windows\\inf\\(?!oem\d+\.inf$)[^\\]+\.(inf|pnf)$"),
    Difference(
        "device-installer-files", ("file", "folder"),
        "Wine's device installer carries out the INF's CopyFiles (qnaudio.sys into the "
        "system's drivers folder); the simulated Windows records the update call, not the "
        "device installer's own work.",
        pattern=r"^C:\\windows\\system32\\drivers(\\|$)"),
    Difference(
        "driver-key", ("key", "value"),
        "The driver key is written by Wine's device installer from the INF's AddReg, and "
        "Wine reads the byte fields of a 0x00010001 line (\"0x05,0,0,0\") as 0; the "
        "simulated Windows records the update call, not the values it leads to.",
        pattern="^" + re.escape(MEDIA_CLASS_KEY) + r"(\\|$)"),
    Difference(
        "test-device", ("key", "value"),
        "The device under Wine is a root-enumerated stand-in (ROOT\\MEDIA\\nnnn) that the "
        "harness creates, and Wine's device installer writes its Enum key; the simulated "
        "Windows keeps its devices in its own tables.",
        pattern=r"^HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\MEDIA(\\|$)"),
    Difference(
        "completion-wait", ("timing",),
        "mixerGetNumDevs is 0 under Wine, so the completion wait always runs its ten polls "
        "(30 s) and the restart prompt comes 35 s after the notice, even when the device was "
        "updated; the plan's mixer count follows its machine.",
        pattern=r"notice answered to the restart prompt"),
    Difference(
        "reboot-restarts-the-session", ("event", "timing"),
        "ExitWindowsEx(EWX_REBOOT) returns TRUE under Wine and restarts the session at once "
        "in the same prefix, running the Run entries, instead of rebooting: the run from the "
        "Run key follows a second or two after the request, where a plan's follows the "
        "restart at once.",
        test=lambda item: _is_reboot(item) or "reboot request" in item.get("what", "")),
    Difference(
        "windows-directory-spelling", ("event", "value"),
        "Wine's Windows directory is C:\\windows, in lower case, where the simulated "
        "Windows has C:\\WINDOWS as Windows XP spells it. Paths compare without case, but "
        "the texts the installer builds from GetWindowsDirectoryA keep the spelling: the Run "
        "value \"C:\\windows\\W2KSetup.exe -ReplaceMixer\" and the new mixer's command "
        "line \"C:\\windows\\Mixer.exe /startup\" under Wine.",
        same_text=_windows_directory_spelt_by_wine),
    Difference(
        "run-entry-directory", ("event",),
        "Wine's session restart (wineboot) starts the Run entries with CreateProcessW and no "
        "directory of their own, so they inherit its current directory, C:\\windows; the "
        "logon of Windows starts them in the system folder, C:\\WINDOWS\\system32, as the "
        "simulated Windows does. The run after the restart starts the new mixer without a "
        "directory either, so the mixer starts there too (recorded: C:\\windows).",
        same_text=_run_entry_directory),
    Difference(
        "source-list", ("event",),
        "SetupQuerySourceListA and SetupSetSourceListA are stubs under Wine that end the "
        "process; the installer does not call them there, so under Wine the forced "
        "reinstall leaves the installation-source list as it was.",
        test=_device_operation("sourcelist")),
    Difference(
        "no-reenumeration", ("event",),
        "CM_Locate_DevNodeA(root) returns CR_FAILURE under Wine, so the forced reinstall "
        "does not re-enumerate the device tree, and a removed device stays removed.",
        test=_device_operation("locate", "reenumerat")),
    Difference(
        "update-without-inf", ("event",),
        "Wine's UpdateDriverForPlugAndPlayDevicesA returns TRUE for a present device even "
        "when the staged INF does not exist, so under Wine a missing staged INF does not "
        "lead to the forced reinstall.",
        test=_device_operation("update")),
    Difference(
        "start-window-state", ("event",),
        "How a program started with CreateProcessA is to show its window is not visible "
        "from outside the installer under Wine: try gives it only when the started program "
        "is the harness's recorder, and null otherwise.",
        test=_is_start_show),
]


def explain(kind, item):
    """The known difference that explains an item, or None."""
    for difference in KNOWN_DIFFERENCES:
        if difference.explains(kind, item):
            return difference
    return None


def explain_texts(kind, plan_text, try_text):
    """The known difference that explains why a text of the plan and the
    same text of the try differ, or None."""
    for difference in KNOWN_DIFFERENCES:
        if difference.explains_texts(kind, plan_text, try_text):
            return difference
    return None
