"""The machine of a person who had an earlier driver of the device: its INF
and PNF in the INF folder, its mixer settings, and its mixer, which comes
back at every logon; and the sound device itself, as a PCI card lists its
IDs."""

from .installer import INF_FOLDER, LEGACY_INF, WINDOWS
from .machine import HARDWARE_ID, RUN_KEY

MIXER_SETTINGS = b"[RUNTIME]\r\nInitialize=1\r\nMaster=80\r\n"
# The old driver's mixer: Mixer.exe holds the window "Mixer" and comes back
# at every logon from a Run entry of its own (the replacement after the
# restart waits up to 100 s for its window).
OLD_MIXER = WINDOWS + "Mixer.exe"
OLD_MIXER_RUN_VALUE = "Quarnel Mixer"
OLD_MIXER_RUN_COMMAND = OLD_MIXER + " --max-ms 120000 Mixer"


def plant_earlier_driver(case):
    """What an earlier driver of the device left: its INF and PNF in the INF
    folder, mixerdef.ini, and its mixer, which comes back at every logon.
    Registry and files only; `start_old_mixer` starts the mixer."""
    case.put_file(OLD_MIXER, source=case.helper("window_holder"))
    case.reg_set(RUN_KEY, OLD_MIXER_RUN_VALUE, OLD_MIXER_RUN_COMMAND)
    case.put_file(INF_FOLDER + "oem7.inf", LEGACY_INF)
    case.put_file(INF_FOLDER + "oem7.PNF", b"precompiled")
    case.put_file(WINDOWS + "mixerdef.ini", MIXER_SETTINGS)


def start_old_mixer(case):
    case.hold_window("Mixer", program=OLD_MIXER)


def add_sound_device(case):
    """The device as a PCI card lists its IDs, the most specific first."""
    return case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)
