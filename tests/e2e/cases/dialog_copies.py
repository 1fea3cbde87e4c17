"""What the dialog screenshot cases share: the copies of the main options
dialog with the locale that picks each and the texts a user checks, and one
scripted run of a copy (open, about box, working state, screenshots)."""

import os
import time

from wine_machine.installer import NOTICE, PROMPT_WAIT_MS
from harness.installer import quoted

UNINSTALL_KEY = ("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "PCI Audio Applications")
UNINSTALLER = "C:\\Uninst\\Uninst.exe"
# Long enough for the user to look at the working dialog while the
# uninstaller runs.
UNINSTALLER_STAYS_MS = 4000

# The copies of the main options dialog: the locale that picks each, the
# ANSI code page its texts come back in, and the texts the user checks.
MAIN_DIALOG_COPIES = [
    ("en", "en_US.UTF-8", "cp1252", {
        "caption": "PCI Audio Device Driver And Applications Setup Program", "ok": "OK",
        "cancel": "Cancel", "wait": "Please wait .....", "apps": "Install Applications",
        "driver": "Install Device Driver"}),
    ("zh-tw", "zh_TW.UTF-8", "cp950", {
        "caption": "安裝 PCI 音效設備驅動程式與應用程式", "ok": "確認", "cancel": "取消",
        "wait": "請稍後‧‧‧", "apps": "安裝應用程式", "driver": "安裝驅動程式"}),
    ("fr", "fr_FR.UTF-8", "cp1252", {
        "caption": "Programme d'installation du pilote de peripherique Audio PCI et des "
                   "applications", "ok": "OK", "cancel": "Annuler",
        "wait": "Patientez quelques instants ...", "apps": "Installer les applications",
        "driver": "Installer le pilote de peripherique"}),
    ("ja", "ja_JP.UTF-8", "cp932", {
        "caption": "PCI Audio ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ/ｱﾌﾟﾘｹｰｼｮﾝ ｲﾝｽﾄｰﾙﾌﾟﾛｸﾞﾗﾑ ", "ok": "OK",
        "cancel": "ｷｬﾝｾﾙ ", "wait": "お待ちください .....", "apps": "ｱﾌﾟﾘｹｰｼｮﾝをｲﾝｽﾄｰﾙする ",
        "driver": "ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞをｲﾝｽﾄｰﾙする"}),
    ("ko", "ko_KR.UTF-8", "cp949", {
        "caption": "PCI Audio 드라이버 및 응용프로그램 설치", "ok": "네", "cancel": "닫기",
        "wait": "잠시만 기다려 주십시오 .....", "apps": "응용프로그램 설치",
        "driver": "드라이버 설치"}),
]

ABOUT_ITEM = 0x10

# The copies of the restart prompt, as MAIN_DIALOG_COPIES. Of its two
# texts without an id the user can read the first (0xFFFF).
RESTART_PROMPT_COPIES = [
    ("en", "en_US.UTF-8", "cp1252", {
        "caption": "Restarting Windows", "ok": "OK",
        "text": "The audio driver has installed into your computer. Before you use the "
                "functions of this new driver, you must restart Windows or your computer.",
        "yes": "Yes, I want to restart my computer now.",
        "no": "No, I will restart my computer later."}),
    ("zh-tw", "zh_TW.UTF-8", "cp950", {
        "caption": "重新啟動", "ok": "確認",
        "text": "音效驅動程式已經安裝到您的電腦中，在您使用新的驅動程式所提供的完整功能之前，"
                "您必須重新啟動視窗或您的電腦。",
        "yes": "是，我想立即重新啟動我的電腦。", "no": "不，我將稍後再重新啟動我的電腦。"}),
]

def main_dialog_script(name, texts, with_about_box):
    script = '''
        window %(caption)s 20000
        expect 1001 checked visible enabled
        expect 1002 checked visible enabled
        expect 1003 hidden
        expect 1 enabled
        expect-text 1 %(ok)s
        expect-text 2 %(cancel)s
        expect-text 1001 %(apps)s
        expect-text 1002 %(driver)s
        expect-text 1003 %(wait)s
        snapshot main-%(name)s
    ''' % dict(name=name, **{k: quoted(v) for k, v in texts.items()})
    if with_about_box:
        script += '''
        syscommand %d
        window "About Setup" 10000
        expect-text 1 "OK"
        snapshot about
        ok
        gone 5000
        window %s 5000
        expect 1001 checked visible
        ''' % (ABOUT_ITEM, quoted(texts["caption"]))
    # The applications only: the dialog shows the wait text while the
    # previous package's uninstaller runs, then hides itself.
    script += '''
        click 1002
        sleep 300
        expect 1002 unchecked
        expect 1 enabled
        ok
        sleep 1500
        expect 1003 visible
        expect 1001 hidden
        expect 1002 hidden
        snapshot wait-%s
        gone 15000
    ''' % name
    return script


def restart_prompt_script(name, texts):
    """Answers the driver notice, checks the restart prompt's copy as it comes
    after the completion wait, takes its picture and answers "No"."""
    return '''
        msgbox %(notice)s 30000
        ok
        gone 5000
        window %(caption)s %(wait)d
        expect 1000 checked
        expect 1001 unchecked
        expect-text 1 %(ok)s
        expect-text 0xFFFF %(text)s
        expect-text 1000 %(yes)s
        expect-text 1001 %(no)s
        snapshot restart-%(name)s
        click 1001
        sleep 300
        expect 1001 checked
        ok
        gone 5000
    ''' % dict(name=name, notice=quoted(NOTICE), wait=PROMPT_WAIT_MS,
               **{k: quoted(v) for k, v in texts.items()})


def prepare_uninstaller(case):
    """A previous package whose uninstaller runs long enough for the user to
    look at the working dialog."""
    case.put_file(UNINSTALLER, source=case.helper("recorder"))
    case.reg_set(UNINSTALL_KEY, "UninstallString", UNINSTALLER)


def run_copies(case, media, copies, about_box_in=None):
    """Each copy of the main options dialog in turn; checks that each run
    started its package setup program after the uninstaller."""
    stay = {"E2E_STAY_MS_UNINST_EXE": str(UNINSTALLER_STAYS_MS)}
    for name, locale, code_page, texts in copies:
        language = {"LANG": locale, "LC_ALL": locale}
        installer = case.start_installer(media, env=dict(language, **stay))
        case.user(main_dialog_script(name, texts, with_about_box=name == about_box_in),
                  timeout=60, env=language, encoding=code_page)
        installer.expect_exit(0, timeout=20)

    # The last package setup program may record its start just after the
    # installer has ended: it is not waited for.
    deadline = time.monotonic() + 5
    while (len(case.records("start", program="Setup.exe")) < len(copies)
           and time.monotonic() < deadline):
        time.sleep(0.1)
    case.expect_equal(len(case.records("start", program="Setup.exe")), len(copies),
                      "package setup programs started, one a language")
    case.expect_equal(len(case.records("start", program="Uninst.exe")), len(copies),
                      "uninstaller runs, one a language")


def expect_screenshots(case, names):
    shots = sorted(f for f in os.listdir(case.artifacts) if f.endswith(".png"))
    case.log("screenshots: %s" % ", ".join(shots))
    for name in names:
        case.expect(any(shot.endswith("-%s.png" % name) for shot in shots),
                    "no screenshot " + name)
