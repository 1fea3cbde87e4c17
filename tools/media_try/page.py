"""report.html: one page that reads well without a network. It shows the
run's route, a timeline of the windows with each window's picture, the
change list in its groups, and the timings; everything it needs is in the
page or beside it (the pictures under screens/)."""

import html
import os

from . import changes

STYLE = """
body { font: 15px/1.45 "DejaVu Sans", Verdana, sans-serif; margin: 0; color: #1d232b;
       background: #f4f5f7; }
main { max-width: 1080px; margin: 0 auto; padding: 24px 28px 48px; background: #fff; }
h1 { font-size: 24px; margin: 0 0 4px; }
h2 { font-size: 19px; margin: 34px 0 10px; padding-bottom: 4px; border-bottom: 2px solid #d8dde4; }
h3 { font-size: 16px; margin: 20px 0 6px; }
.sub { color: #5b6573; margin: 0 0 18px; }
table { border-collapse: collapse; width: 100%; margin: 6px 0 12px; }
th, td { text-align: left; vertical-align: top; padding: 5px 8px; border-bottom: 1px solid #e3e6ea; }
th { background: #eef1f4; font-weight: 600; }
td.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
code, .path { font-family: "DejaVu Sans Mono", monospace; font-size: 13px; word-break: break-all; }
.route { font-size: 18px; padding: 12px 16px; background: #e8f2ff; border-left: 5px solid #2f6fd0; }
.route b { font-family: "DejaVu Sans Mono", monospace; }
.twin { padding: 10px 14px; background: #fff4e0; border-left: 5px solid #b35c00; }
.problem { padding: 10px 14px; background: #fdecea; border-left: 5px solid #c62828; }
.sandboxed { padding: 10px 14px; background: #edf7ee; border-left: 5px solid #2e7d32; }
.unsandboxed { padding: 16px 18px; background: #c62828; color: #fff; font-size: 17px;
               font-weight: 600; border: 3px solid #7f0000; }
.step { display: flex; gap: 18px; padding: 12px 0; border-bottom: 1px solid #e3e6ea; }
.when { flex: 0 0 84px; font-variant-numeric: tabular-nums; color: #5b6573; }
.step .text { flex: 1 1 auto; }
.step img { display: block; margin-top: 8px; max-width: 100%; border: 1px solid #c7ccd3;
            box-shadow: 0 1px 4px rgba(0,0,0,.15); }
.kind { display: inline-block; min-width: 72px; font-size: 12px; text-transform: uppercase;
        letter-spacing: .04em; color: #fff; background: #6b7685; border-radius: 3px;
        padding: 1px 6px; margin-right: 8px; text-align: center; }
.kind.dialog, .kind.message { background: #2f6fd0; }
.kind.start { background: #2e7d32; }
.kind.reboot { background: #b35c00; }
.added { color: #2e7d32; } .removed { color: #c62828; } .changed { color: #b35c00; }
.small { font-size: 13px; color: #5b6573; }
"""


def _e(value):
    return html.escape("" if value is None else str(value))


def _seconds(ms):
    return "" if ms is None else "%.1f s" % (ms / 1000.0)


def _table(headers, rows, numeric=()):
    head = "<tr>%s</tr>" % "".join("<th>%s</th>" % _e(h) for h in headers) if headers else ""
    body = ""
    for row in rows:
        body += "<tr>%s</tr>" % "".join(
            '<td class="num">%s</td>' % cell if i in numeric else "<td>%s</td>" % cell
            for i, cell in enumerate(row))
    return "<table>%s%s</table>" % (head, body)


def _summary(report):
    answers = report["answers"]
    jacks = ", ".join(answers["jacks"]) or "none"
    rows = [
        ("Media", '<span class="path">%s</span>' % _e(report["media"])
         + (" (a disc image, in a CD drive D: with its names as Windows shows them, every "
            "file read-only)" if report.get("image") else "")),
        ("Installer", '<span class="path">%s</span>' % _e(report["installer"])),
        ("Command line", "<code>%s</code>" % _e(report["command_line"]) if report["command_line"]
         else "(none)"),
        ("Windows", "%s (%s)" % (_e(report["windows_name"]), _e(report["wine"]))),
        ("Build", _e(report["build"]["summary"])),
        ("Language", _e(report["language"])),
        ("Sound device", _e(report["device"])
         + (", with an earlier driver and its mixer" if report["earlier_driver"] else "")),
        ("Answers", _e("applications %s, driver %s%s; board %s, jacks clicked: %s, legacy "
                       "device %s; restart %s" % (
                           answers["apps"], answers["driver"],
                           ", Cancel" if answers["cancel"] else "", answers["board"], jacks,
                           "disabled" if answers["legacy"] else "kept", answers["restart"]))),
    ]
    return _table(None, [("<b>%s</b>" % _e(k), v) for k, v in rows])


def _route(report):
    text = ""
    if report["build"]["twin"]:
        text += '<p class="twin">%s</p>' % _e(report["build"]["text"])
    text += '<p class="route">The installer %s: route <b>%s</b>. Exit code %s%s.</p>' % (
        _e(report["route_text"] or "did not run"), _e(report["route"]),
        _e(report["exit_code"]),
        "; it requested a reboot" if report["reboot_requested"] else "")
    silent = report.get("silent")
    if silent:
        shown = silent["windows_shown"]
        text += "<p>Exit code %s: %s. %s</p>" % (
            _e(report["exit_code"]), _e(silent["exit_code_meaning"]),
            "No window was shown." if shown == 0
            else '<span class="problem">%d window(s) were shown.</span>' % shown)
    for run in report["restart_runs"]:
        text += ("<p>After the restart, Wine started <code>%s</code> from the Run key: route "
                 "<b>%s</b>, exit code %s, %s.</p>" % (
                     _e(run["program_command_line"]), _e(run["route"]), _e(run["exit_code"]),
                     _seconds(run["wall_ms"])))
    for problem in report["problems"]:
        text += '<p class="problem">%s</p>' % _e(problem)
    if report.get("stop_screenshot"):
        text += ('<p>The screen when the run stopped:</p><p><img src="%s" alt="screenshot" '
                 'style="max-width: 100%%"></p>' % _e(report["stop_screenshot"]))
    return text


def _picture(shot):
    if not shot:
        return ""
    size = ""
    if shot.get("width"):
        size = ' width="%d" height="%d"' % (shot["width"], shot["height"])
    return '<a href="%s"><img src="%s" alt="screenshot"%s></a>' % (
        _e(shot["full"]), _e(shot["file"]), size)


def _timeline(report):
    if not report["timeline"]:
        return "<p>Nothing was shown or started.</p>"
    steps = ""
    for entry in report["timeline"]:
        steps += ('<div class="step"><div class="when">%s</div><div class="text">'
                  '<span class="kind %s">%s</span>%s <span class="small">(%s)</span>%s</div></div>'
                  % (_seconds(entry["t_ms"]), _e(entry["kind"]), _e(entry["kind"]),
                     _e(entry["what"]), _e(entry["run"]), _picture(entry["screenshot"])))
    return steps


def _state(change, side):
    state = change[side]
    if state is None:
        return "&mdash;"
    if change["kind"] == "file":
        digest = state.get("sha256")
        return "%s bytes%s" % (state["size"],
                               '<br><span class="small">sha256 %s&hellip;</span>' % digest[:16]
                               if digest else "")
    if change["kind"] == "value":
        return "%s <code>%s</code>" % (_e(state["type"]), _e(state["data"]))
    return "present"


def _changes(report):
    groups = changes.grouped(report["changes"])
    if not groups:
        return "<p>The run changed nothing on drive C, on the media or in the registry.</p>"
    text = ""
    for title, chosen in groups:
        rows = []
        for change in chosen:
            where = change.get("path") or change["key"]
            if change["kind"] == "value":
                where += " [%s]" % (change["name"] or "@")
            rows.append(('<span class="%s">%s %s</span>' % (_e(change["change"]), _e(change["kind"]),
                                                            _e(change["change"])),
                         '<span class="path">%s</span>' % _e(where),
                         _state(change, "before"), _state(change, "after")))
        text += "<h3>%s</h3>%s" % (_e(title), _table(("Change", "Where", "Before", "After"), rows))
    return text


def _devices(report):
    """The sound device before and after, side by side."""
    before = {d["instance"]: d for d in report["devices"]["before"]}
    after = {d["instance"]: d for d in report["devices"]["after"]}
    rows = []
    for instance in sorted(set(before) | set(after)):
        old, new = before.get(instance), after.get(instance)
        rows.append(('<span class="path">%s</span>' % _e(instance),
                     '<span class="path">%s</span>' % _e(" | ".join((old or new)["hwids"])),
                     _device_state(old), _device_state(new)))
    if not rows:
        return "<p>The sound device was not present, before or after.</p>"
    return _table(("Device", "Hardware IDs", "Before", "After"), rows)


def _device_state(device):
    if device is None:
        return "not present"
    if not device.get("driver"):
        return "present, no driver"
    return 'present, driver key <span class="path">%s</span>' % _e(device["driver"])


def _timings(report):
    timings = report["timings"]
    rows = [(_e(w["what"]), _seconds(w["observed_ms"]), _seconds(w.get("fixed_ms")),
             _seconds(w.get("overhead_ms")), _e(w.get("note", "")))
            for w in timings["waits"]]
    text = _table(("Wait", "Observed", "Fixed waits", "Beyond them", "Why"), rows,
                  numeric=(1, 2, 3))
    phases = ", ".join("%s ready at %.1f s" % (name, at)
                       for name, at in timings["phases_s"].items())
    text += "<p class=\"small\">The whole try took %.1f s (%s).</p>" % (timings["total_s"], phases)
    return text


def _boundary(report):
    """The sandbox the run had, or in a box no one can miss, that it had none."""
    shown = report["sandbox"]
    if not shown["sandboxed"]:
        return '<p class="unsandboxed">%s</p>' % _e(shown["text"])
    return '<p class="sandboxed">%s</p>' % _e(shown["text"])


def _differences(report):
    return "<ul>%s</ul>" % "".join("<li><b>%s</b>: %s</li>" % (_e(d["name"]), _e(d["reason"]))
                                   for d in report["known_wine_differences"])


def render(report):
    """The page for a report (the dict of report.json)."""
    sections = [
        ("The run", _summary(report) + _route(report)),
        ("Timeline", _timeline(report)),
        ("What changed", _changes(report)),
        ("The devices", _devices(report)),
        ("Timings", _timings(report)),
        ("Where Wine differs from Windows", _differences(report)),
    ]
    body = "".join("<h2>%s</h2>%s" % (_e(title), content) for title, content in sections)
    return ("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
            "<title>%s</title><style>%s</style></head><body><main>"
            "<h1>W2KSetup.exe on %s</h1><p class=\"sub\">%s &middot; %s &middot; "
            "<a href=\"report.json\">report.json</a> &middot; <a href=\"wine.log\">wine.log</a></p>"
            "%s%s</main></body></html>\n" % (
                _e("Try: %s on %s" % (os.path.basename(report["media"]), report["windows_name"])),
                STYLE, _e(report["windows_name"]), _e(report["media"]), _e(report["made"]),
                _boundary(report), body))


def write(out, report):
    path = os.path.join(out, "report.html")
    with open(path, "w", encoding="utf-8") as f:
        f.write(render(report))
    return path
