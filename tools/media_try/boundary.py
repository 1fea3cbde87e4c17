"""What the media's programs could reach during a try, in the report's
words: the sandbox they ran in, or, with --no-sandbox, the plain fact that
they ran on this machine with its user's rights."""

NOT_SANDBOXED = (
    "NOT SANDBOXED: this run was made with --no-sandbox. The media's programs ran on this "
    "machine itself, as Wine alone runs them: they could read and write every file that "
    "%s can, reach the network, and start programs that outlive the run. Try a media "
    "that you did not build yourself without --no-sandbox.")


def sandbox_json(confinement, user):
    """report.json's "sandbox": the confinement's own data and one
    sentence (`text`) that the page shows."""
    shown = dict(confinement.describe())
    if not shown["sandboxed"]:
        shown["text"] = NOT_SANDBOXED % user
        return shown
    display = (", and the X display %s (its socket only)" % ", ".join(shown["displays"])
               if shown["displays"] else "")
    shown["text"] = (
        "Sandboxed (%s): every program of this run, Wine's own and the media's, ran in a "
        "sandbox of its own. It could write only the work folder of this run, %s. It could "
        "read Wine's installation, the helper programs and the media (read-only, as a CD), "
        "and nothing else of this machine: not its home folders, /tmp, /var/tmp or /root. Its "
        "Windows had the drives C: and D: only. It had no network, a process space of its own "
        "that ended with the run%s." % (shown["tool"], ", ".join(shown["writable"]), display))
    return shown
