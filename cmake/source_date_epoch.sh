#!/bin/sh
# The time that W2KSetup.exe's PE header carries, so that one tree links to
# the same bytes in any folder, at any time, on any machine:
#   SOURCE_DATE_EPOCH when it is set (not empty), else the time of the tree's
#   last commit, else 0: a tree without git (an export) then still builds the
#   same bytes every time, and SOURCE_DATE_EPOCH gives it a release's time.
#
#   source_date_epoch.sh TREE FILE        writes the time to FILE, and touches
#                                         FILE only when the time changed, so
#                                         that a new commit relinks and nothing
#                                         else does
#   source_date_epoch.sh --link FILE COMMAND...
#                                         runs a link step with that time; GNU
#                                         ld writes SOURCE_DATE_EPOCH as the
#                                         PE timestamp
set -eu

if [ "$1" = --link ]; then
    SOURCE_DATE_EPOCH=$(cat "$2")
    export SOURCE_DATE_EPOCH
    shift 2
    exec "$@"
fi

tree=$1
file=$2
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$SOURCE_DATE_EPOCH
    from=SOURCE_DATE_EPOCH
# Only the tree's own repository: a tree exported into another one must not
# take that one's time.
elif [ -e "$tree/.git" ]; then
    epoch=$(git -C "$tree" log -1 --format=%ct) || {
        echo "source_date_epoch.sh: git gives no last commit of $tree; set SOURCE_DATE_EPOCH" >&2
        exit 1
    }
    from="the last commit"
else
    epoch=0
    from="neither SOURCE_DATE_EPOCH nor a git commit"
fi

# ld takes a malformed value for the current time and cuts a large one to 32
# bits; either would give other bytes without a word.
case $epoch in
    '' | *[!0-9]*) bad=1 ;;
    *) [ ${#epoch} -le 10 ] && [ "$epoch" -le 4294967295 ] && bad= || bad=1 ;;
esac
if [ -n "$bad" ]; then
    echo "source_date_epoch.sh: the time must be seconds since 1970 that fit in 32 bits, not '$epoch'" >&2
    exit 1
fi

if [ "$(cat "$file" 2>/dev/null)" != "$epoch" ]; then
    printf '%s\n' "$epoch" >"$file"
    echo "PE timestamp $epoch ($from)"
fi
