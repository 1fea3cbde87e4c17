"""Whether a plan and a try of the same media with the same answers agree.

The plan (`w2kmedia plan --json`) is the installer's own code on the
simulated Windows; the try (`w2kmedia try`, its report.json) is the real
W2KSetup.exe under Wine. Both give their runs (the one started, then the one
that a restart starts from the Run key) with the same kinds and fields of
events, and their changes in the same form. Compared are:

- the runs: their command lines, routes, exit codes and reboot requests;
- the windows shown, in order, with their texts and answers;
- the programs started, in order, with their command lines, current
  directories and window states;
- the files of drive C: the runs left changed, by their bytes (SHA-256);
- the registry values the runs left changed, by their types and data.

What differs must be explained by a known difference of wine_differences.py;
everything else is a disagreement. Where the try ran the x86-64 twin in the
product's place, the copies the installer makes of itself are the twin's
bytes where the plan's are the product's: that is explained too."""

import ntpath

from wine_machine import wine_differences

WINDOW_FIELDS = {"message": ("text", "caption"), "dialog": ("template", "title", "answer")}
START_FIELDS = ("command_line", "current_dir", "show")
RUN_FIELDS = ("command_line", "route", "exit_code", "reboot_requested")


class Comparison:
    """The outcome: the disagreements (one sentence each), what known
    differences explained (their names, with what each explained), and how
    many windows, programs, files and values both sides had."""

    def __init__(self):
        self.disagreements = []
        self.explained = []
        self.compared = {"windows": 0, "programs": 0, "files": 0, "values": 0}

    def differs(self, text):
        self.disagreements.append(text)

    def item_on_one_side(self, kind, item, side, what):
        difference = wine_differences.explain(kind, item)
        if difference is None:
            self.differs("only the %s has %s" % (side, what))
        else:
            self.explained.append((difference.name, "only the %s has %s" % (side, what)))

    def texts(self, kind, plan_value, try_value, what):
        if plan_value == try_value:
            return
        difference = wine_differences.explain_texts(kind, plan_value, try_value)
        line = "%s: the plan has %r, the try %r" % (what, plan_value, try_value)
        if difference is None:
            self.differs(line)
        else:
            self.explained.append((difference.name, line))

    def report(self):
        """The whole outcome as lines, for a case's log."""
        lines = ["compared on both sides: " + ", ".join(
            "%d %s" % (n, what) for what, n in self.compared.items())]
        lines.append("%d disagreement(s):" % len(self.disagreements))
        lines += ["  " + d for d in self.disagreements]
        lines.append("%d difference(s) explained by known Wine differences:"
                     % len(self.explained))
        lines += ["  [%s] %s" % item for item in self.explained]
        return "\n".join(lines)


def runs_of(report):
    """The run started and the runs after its restart, of a plan or a try."""
    return [report] + list(report.get("restart_runs") or [])


def compare(plan, tried):
    """Compares a plan (the parsed `plan --json`) with a try (the parsed
    report.json); returns a Comparison."""
    comparison = Comparison()
    plan_runs, try_runs = runs_of(plan), runs_of(tried)
    if len(plan_runs) != len(try_runs):
        comparison.differs("the plan has %d run(s), the try %d: %s against %s" % (
            len(plan_runs), len(try_runs), [r["command_line"] for r in plan_runs],
            [r["command_line"] for r in try_runs]))
    for number, (plan_run, try_run) in enumerate(zip(plan_runs, try_runs)):
        label = "the run started" if number == 0 else "the run after the restart"
        for field in RUN_FIELDS:
            if plan_run.get(field) != try_run.get(field):
                comparison.differs("%s, %s: the plan has %r, the try %r" % (
                    label, field, plan_run.get(field), try_run.get(field)))
        compare_windows(comparison, plan_run, try_run, label)
        compare_starts(comparison, plan_run, try_run, label)
    compare_files(comparison, plan["changes"], tried["changes"], tried.get("build"))
    compare_values(comparison, plan["changes"], tried["changes"])
    return comparison


def _events(run, kinds):
    return [e for e in run["events"] if e["kind"] in kinds]


def _window_text(event):
    return "%s %r" % (event["kind"], event.get("title") or event.get("text"))


def compare_windows(comparison, plan_run, try_run, label):
    """The windows in their order: each kind with its fields."""
    plan_windows = _events(plan_run, WINDOW_FIELDS)
    try_windows = _events(try_run, WINDOW_FIELDS)
    for number, (planned, tried) in enumerate(zip(plan_windows, try_windows), 1):
        comparison.compared["windows"] += 1
        what = "%s, window %d" % (label, number)
        if planned["kind"] != tried["kind"]:
            comparison.differs("%s: the plan shows %s, the try %s"
                               % (what, _window_text(planned), _window_text(tried)))
            continue
        for field in WINDOW_FIELDS[planned["kind"]]:
            comparison.texts("event", planned.get(field), tried.get(field),
                             "%s (%s), %s" % (what, planned["kind"], field))
    for side, extra in (("plan", plan_windows[len(try_windows):]),
                        ("try", try_windows[len(plan_windows):])):
        for event in extra:
            comparison.item_on_one_side("event", event, side,
                                        "%s: %s" % (label, _window_text(event)))


def compare_starts(comparison, plan_run, try_run, label):
    """The programs started in their order, and whether each start failed."""
    plan_starts = _events(plan_run, ("start",))
    try_starts = _events(try_run, ("start",))
    for number, (planned, tried) in enumerate(zip(plan_starts, try_starts), 1):
        comparison.compared["programs"] += 1
        what = "%s, program %d (%s)" % (label, number, planned["command_line"])
        for field in START_FIELDS:
            if field == "show" and tried["show"] is None:
                # The window state is seen only when the harness's recorder starts.
                comparison.item_on_one_side("event", tried, "plan",
                                            "%s: the window state %s" % (what, planned["show"]))
                continue
            comparison.texts("event", planned[field], tried[field], "%s, %s" % (what, field))
        if ("error" in planned) != ("error" in tried):
            comparison.differs("%s: the plan says %s, the try %s" % (
                what, planned.get("error", "it started"), tried.get("error", "it started")))
    for side, extra in (("plan", plan_starts[len(try_starts):]),
                        ("try", try_starts[len(plan_starts):])):
        for event in extra:
            comparison.item_on_one_side("event", event, side,
                                        "%s: the start of %s" % (label, event["command_line"]))


def _on_drive_c(change):
    return change["kind"] == "file" and change["path"].lower().startswith("c:\\")


def _file_state(change):
    after = change["after"]
    return None if after is None else (after["size"], after["sha256"])


def _twin_for_product(build, plan_change, try_change):
    """Whether the try's file is the twin where the plan's is the product."""
    if not build or not build["twin"]:
        return False
    product, twin = build["product_file"], build["twin_file"]
    return (_file_state(plan_change) == (product["size"], product["sha256"])
            and _file_state(try_change) == (twin["size"], twin["sha256"]))


def compare_files(comparison, plan_changes, try_changes, build=None):
    """The files of drive C: by their path (without case, as Windows names
    them) and their bytes after the runs; `build` is the try's."""
    planned = {c["path"].lower(): c for c in plan_changes if _on_drive_c(c)}
    tried = {c["path"].lower(): c for c in try_changes if _on_drive_c(c)}
    for path in sorted(set(planned) & set(tried)):
        comparison.compared["files"] += 1
        if _twin_for_product(build, planned[path], tried[path]):
            comparison.explained.append(("x86-64-twin", "the file %s is the twin where the "
                                         "plan's is the product" % planned[path]["path"]))
        elif _file_state(planned[path]) != _file_state(tried[path]):
            comparison.differs("the file %s: the plan leaves %s, the try %s" % (
                planned[path]["path"], _describe_file(planned[path]),
                _describe_file(tried[path])))
    plan_only = [planned[p] for p in sorted(set(planned) - set(tried))]
    try_only = [tried[p] for p in sorted(set(tried) - set(planned))]
    for change in list(plan_only):
        renamed = _same_bytes_renamed(change, try_only)
        if renamed is not None:
            comparison.compared["files"] += 1
            plan_only.remove(change)
            try_only.remove(renamed[0])
            comparison.explained.append((renamed[1].name, "the plan's %s is the try's %s"
                                         % (change["path"], renamed[0]["path"])))
    for side, changes in (("plan", plan_only), ("try", try_only)):
        for change in changes:
            comparison.item_on_one_side("file", change, side, "the file %s (%s)" % (
                change["path"], _describe_file(change)))


def _same_bytes_renamed(change, others):
    """A file of the other side in the same folder with the same bytes, whose
    name a known difference explains (Wine's name for a copied INF), with
    that difference; or None."""
    if change["after"] is None:
        return None
    folder = ntpath.dirname(change["path"]).lower()
    for other in others:
        difference = wine_differences.explain("file", other)
        if (difference is not None and _file_state(other) == _file_state(change)
                and ntpath.dirname(other["path"]).lower() == folder):
            return other, difference
    return None


def _describe_file(change):
    if change["after"] is None:
        return "it removed"
    return "%d bytes, SHA-256 %s" % (change["after"]["size"],
                                     (change["after"]["sha256"] or "unknown")[:12])


def _values(changes):
    return {(c["key"].lower(), c["name"].lower()): c for c in changes if c["kind"] == "value"}


def compare_values(comparison, plan_changes, try_changes):
    """The registry values by key (without case) and name, with their type
    and data after the runs."""
    planned, tried = _values(plan_changes), _values(try_changes)
    for key in sorted(set(planned) & set(tried)):
        comparison.compared["values"] += 1
        plan_after, try_after = planned[key]["after"], tried[key]["after"]
        what = "the value %s \"%s\"" % (planned[key]["key"], planned[key]["name"])
        if plan_after is None or try_after is None:
            if plan_after != try_after:
                comparison.differs("%s: the plan leaves %s, the try %s" % (what, plan_after,
                                                                          try_after))
            continue
        if plan_after["type"] != try_after["type"]:
            comparison.differs("%s: the plan writes a %s, the try a %s"
                               % (what, plan_after["type"], try_after["type"]))
            continue
        comparison.texts("value", plan_after["data"], try_after["data"], what)
    for side, values, others in (("plan", planned, tried), ("try", tried, planned)):
        for key in sorted(set(values) - set(others)):
            change = values[key]
            comparison.item_on_one_side("value", change, side, "the value %s \"%s\" (%s)" % (
                change["key"], change["name"], change["after"] or "removed"))
