"""Fonts of a prefix, so that the windows look as they do on a Windows in
the language the programs run in.

Wine draws each text in one font, and no font of a fresh prefix has the
characters of the Chinese, Japanese and Korean copies. A Windows in one of
those languages brings its own system font and links it to the Western
faces (FontLink\\SystemLink); the prefix gets the same from Debian's CJK
fonts:

- the faces of the dialogs (MS Sans Serif, MS Shell Dlg ...) are linked to
  them, as the fonts of a Windows in that language are;
- the faces that Wine names as the system font of such a locale when a
  program starts in it (PMingLiU, MS UI Gothic, Gulim ...; the caption bar
  is drawn in that face) are replaced by them: Wine writes its own links
  for those faces at every start, so a link alone would not last.

The caption buttons are drawn with Marlett, which a fresh prefix lacks
(the close button then shows an "r"); it is copied from Wine's own fonts.
"""

import os

FONT_LINK_KEY = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink"
FONT_SUBSTITUTES_KEY = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes"
FONT_REPLACEMENTS_KEY = "HKCU\\Software\\Wine\\Fonts\\Replacements"
FONTS_KEY = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"

CJK_FONT = "WenQuanYi Zen Hei"
LINKED_FONTS = ["wqy-zenhei.ttc,WenQuanYi Zen Hei",
                "DroidSansFallbackFull.ttf,Droid Sans Fallback"]
# Wine takes a character from the first linked font that maps it, even to an
# empty box: WenQuanYi does so for the hyphenation points of the Chinese wait
# text. A Chinese prefix links DejaVu Sans first, which has them and no CJK
# characters; the Japanese half-width katakana need WenQuanYi before it.
LINKED_FONTS_CHINESE = ["DejaVuSans.ttf,DejaVu Sans"] + LINKED_FONTS
LINKED_FACES = ["MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "MS Shell Dlg",
                "WenQuanYi Zen Hei"]
# The system faces of the Chinese, Japanese and Korean locales.
LOCALE_SYSTEM_FACES = ["PMingLiU", "MingLiU", "SimSun", "NSimSun", "MS UI Gothic",
                       "MS Gothic", "MS PGothic", "MS Mincho", "MS PMincho", "Gulim",
                       "GulimChe", "Batang"]
CJK_LANGUAGES = ("zh", "ja", "ko")

MARLETT = "marlett.ttf"
WINE_FONT_FOLDERS = ("/usr/share/wine/fonts", "/usr/lib/wine/fonts", "/opt/wine/share/wine/fonts")


def is_cjk(locale):
    """Whether a locale ("zh_TW.UTF-8") is Chinese, Japanese or Korean."""
    return bool(locale) and locale.split("_")[0].lower() in CJK_LANGUAGES


def link_cjk_fonts(case, locale=None):
    """The CJK characters for the dialogs' texts and for the caption bars,
    for the language of `locale` (or any CJK language). The links change the
    Latin texts' metrics too: give them only to a prefix whose programs run
    in a CJK language."""
    chinese = bool(locale) and locale.lower().startswith("zh")
    for face in LINKED_FACES:
        case.reg_set(FONT_LINK_KEY, face, LINKED_FONTS_CHINESE if chinese else LINKED_FONTS)
    for face in LOCALE_SYSTEM_FACES:
        case.reg_set(FONT_REPLACEMENTS_KEY, face, CJK_FONT)


# The restart prompt's "Courier New" is not in the prefix: Wine then takes a
# Chinese face by its character set, whose small glyphs come out cut at the
# top, and the caption's face has no Chinese at all. Liberation Mono has
# Courier New's metrics, so the prompt keeps the size it has on Windows; a
# link from it and from the caption's faces to Droid Sans Fallback supplies
# the Chinese glyphs, as a Chinese Windows links Courier New to its own font.
RESTART_PROMPT_FACES = ["Liberation Mono", "Liberation Sans", "Liberation Sans Bold"]


def give_restart_prompt_chinese_fonts(case):
    case.reg_set(FONT_SUBSTITUTES_KEY, "Courier New", "Liberation Mono")
    for face in RESTART_PROMPT_FACES:
        case.reg_set(FONT_LINK_KEY, face, ["DroidSansFallbackFull.ttf,Droid Sans Fallback"])


def give_caption_button_font(case):
    """Marlett in the prefix's Fonts folder; False when Wine's copy is not found."""
    for folder in WINE_FONT_FOLDERS:
        source = os.path.join(folder, MARLETT)
        if os.path.isfile(source):
            case.put_file("C:\\windows\\Fonts\\" + MARLETT, source=source)
            case.reg_set(FONTS_KEY, "Marlett (TrueType)", MARLETT)
            return True
    return False
