"""What the cases read of the installer's log on request: its lines, the
one line that holds a text, and the steps its call lines go through."""

# A call line: the time right-aligned in 7 places, " ms  ", the step (never
# two blanks in a row) and at least two blanks before the call.
STEP_COLUMN = 12


def log_lines(case, path):
    """The log's lines without their CR LF, or [] when there is no log."""
    data = case.read_file(path)
    if data is None:
        return []
    return data.decode("latin-1").split("\r\n")[:-1]


def the_line(case, lines, part):
    """The one line that holds `part`; '' (and a failed check) otherwise."""
    found = [line for line in lines if part in line]
    case.expect_equal(len(found), 1, "lines of the log with %r" % part)
    return found[0] if found else ""


def steps(lines):
    """The steps of the call lines in their order, without repeats in a row."""
    result = []
    for line in lines:
        if line[7:STEP_COLUMN] != " ms  ":
            continue
        step = line[STEP_COLUMN:line.find("  ", STEP_COLUMN)]
        if not result or result[-1] != step:
            result.append(step)
    return result


def expect_steps(case, lines, expected):
    case.expect_equal(steps(lines), expected, "the steps of the log")
