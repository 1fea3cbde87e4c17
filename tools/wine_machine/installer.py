"""What is known of the installer from outside: the texts and places a user
and the next program see, its fixed waits, and the driver package it
stages. `w2kmedia try` reads its runs with these; the end-to-end cases
check them."""

WINDOWS = "C:\\windows\\"
INF_FOLDER = WINDOWS + "inf\\"
QUARNEL = "C:\\Program Files\\Quarnel\\"
STAGING = QUARNEL + "WIN_ME\\"
DOS = QUARNEL + "DOS\\"
MEDIA_CLASS_KEY = ("HKLM\\System\\CurrentControlSet\\Control\\Class\\"
                   "{4D36E96C-E325-11CE-BFC1-08002BE10318}")
MIXER_RUN_VALUE = "Replace Quarnel Mixer"
MIXER_RUN_COMMAND = "C:\\windows\\W2KSetup.exe -ReplaceMixer"

MAIN_DIALOG = "PCI Audio Device Driver And Applications Setup Program"
WIN2000_DIALOG = "PCI Audio Device Driver Setup Program for Windows 2000"
RESTART_PROMPT = "Restarting Windows"
NOTICE = "The driver will be installed now. It need a few minutes to complete."
MISSING_FILES = "Can not find installation files."
MISSING_PACKAGE = "Can not find the PCI Audio Applications setup program."
# mixerGetNumDevs is 0 under Wine: ten polls 3 s apart without a new mixer,
# then 5 s before the prompt.
FIXED_WAITS_MS = 35000
# The Windows 2000/XP dialog's installation pauses once more after it has
# closed the "Mixer" window.
WIN2000_MIXER_PAUSE_MS = 500
# The run after the restart: one pause after the mixer's WM_CLOSE, and up to
# 100 lookups a second apart while no window "Mixer" exists.
MIXER_CLOSE_PAUSE_MS = 1000
MIXER_LOOKUPS_MS = 100000
# How long a case waits for the prompt after the notice: the fixed waits
# and room for a slow machine.
PROMPT_WAIT_MS = 90000

# An INF of an earlier driver generation, which every driver installation
# removes first (with its PNF).
LEGACY_INF = (b"[Version]\r\nSignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n\r\n[Strings]\r\n"
              b"SSC-Legacy.DeviceDesc=\"QNI5740 PCI Audio (Legacy)\"\r\n")

# The restart prompt's reboot request, as Wine's relay trace names it, and
# its arguments: EWX_REBOOT, reason 0.
REBOOT_CALL = "user32.ExitWindowsEx"
REBOOT_ARGUMENTS = "00000002,00000000"

DRIVER_PACKAGE = ("QNAUDIO.INF", "qnaudio.sys", "Mixer.dat", "W2KSetup.dat")
DOS_FILES = ("QNSBDRV.COM", "QNINIT.EXE", "QNDOS.TXT")
DOS_APPLICATIONS = ("QNMIXDOS.EXE", "QNPLAY.EXE")

JACK_CONFIG_LINE = b'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0'
ENABLE_LEGACY_LINE = b'HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0'
VALUE_DIGIT_OFFSET = 48

