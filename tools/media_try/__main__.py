"""tools/w2kmedia try MEDIA [options]: see `tools/w2kmedia try --help`.

Exit status: 0 when the run was carried out and reported (whatever the
installer did), 1 when it could not be carried out to its end (the report
then says how far it got), 2 for a command line or a media that cannot be
tried, and 130 when interrupted."""

import sys

from . import options as options_module
from . import page, report, session


def main(argv):
    progress = session.Progress()
    try:
        options = options_module.parse(argv)
        progress.say("trying %s on %s%s" % (options.media, options.windows_name,
                                            " with " + options.args if options.args else ""))
        outcome = session.run(options, progress)
    except options_module.UsageError as error:
        sys.stderr.write("w2kmedia try: %s\n" % error)
        return 2
    except session.TryError as error:
        sys.stderr.write("w2kmedia try: the run could not be carried out: %s\n" % error)
        return 1
    except KeyboardInterrupt:
        sys.stderr.write("w2kmedia try: interrupted; the prefix's programs were ended\n")
        return 130
    built = report.build(options, outcome, progress.elapsed())
    json_path = report.write_json(options.out, built)
    html_path = page.write(options.out, built)
    if outcome.runs:
        progress.say("route %s, exit code %s; %d change(s)" % (
            built["route"], outcome.runs[0].exit_code, len(built["changes"])))
    progress.say("report: %s" % json_path)
    progress.say("page:   %s" % html_path)
    if outcome.problems:
        sys.stderr.write("w2kmedia try: the run could not be carried out to its end: %s\n"
                         % outcome.problems[0])
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
