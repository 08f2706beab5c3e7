#!/usr/bin/env bash
# unix-helper.sh: does for the tests under Wine what no Windows program can do there: put a
# unix symbolic link in the place of a folder. Wine 8 makes no link through any Win32 call,
# and MoveFile on a link moves its target, so a test asks this helper instead.
# Usage: unix-helper.sh start PREFIX PIDFILE | stop PIDFILE | serve PREFIX
# A test writes C:\vt\requests\<name>.req holding three lines: "swap", the folder, the
# link's target (Windows paths below C:\). The helper renames the folder to "<folder>.moved",
# puts a link to the target in its place, and answers in <name>.done with "ok" or the error.
# "unlink" and a path removes the path when it is a link, else every link below it, so the
# test can clean up.
# It acts only inside the prefix's drive_c, on paths without "." or ".." components.
set -euo pipefail

# to_host PREFIX WINPATH: the host path of "C:\..." inside drive_c; fails for anything else.
to_host() {
    local prefix="$1" path="$2" rest part
    case "$path" in
        [Cc]:\\*) rest="${path:3}" ;;
        *) return 1 ;;
    esac
    IFS='\' read -r -a parts <<<"$rest"
    for part in "${parts[@]}"; do
        case "$part" in
            ""|.|..) return 1 ;;
        esac
    done
    printf '%s/drive_c/%s' "$prefix" "${rest//\\//}"
}

serve() {
    local prefix requests request name op folder target host_folder host_target started
    prefix="$(realpath -m "$1")"
    requests="$prefix/drive_c/vt/requests"
    mkdir -p "$requests"
    started=$SECONDS
    # Ends by itself after an hour, should nobody stop it.
    while [ $((SECONDS - started)) -lt 3600 ]; do
        for request in "$requests"/*.req; do
            [ -f "$request" ] || continue
            name="${request%.req}"
            { read -r op; read -r folder; read -r target; } < <(tr -d '\r' <"$request") || true
            rm -f "$request"
            if [ "${op:-}" = swap ] && host_folder="$(to_host "$prefix" "${folder:-}")" \
                && host_target="$(to_host "$prefix" "${target:-}")" \
                && [ -d "$host_folder" ] && [ ! -L "$host_folder" ] && [ ! -e "$host_folder.moved" ] \
                && mv "$host_folder" "$host_folder.moved" && ln -s "$host_target" "$host_folder"; then
                echo ok >"$name.tmp"
            elif [ "${op:-}" = unlink ] && host_folder="$(to_host "$prefix" "${folder:-}")"; then
                # Wine removes no link through any Win32 call either.
                if [ -L "$host_folder" ]; then
                    rm -f "$host_folder"
                elif [ -d "$host_folder" ]; then
                    find "$host_folder" -type l -delete
                fi
                echo ok >"$name.tmp"
            else
                echo "error: cannot $op '${folder:-}' '${target:-}'" >"$name.tmp"
            fi
            mv "$name.tmp" "$name.done"
        done
        sleep 0.05
    done
}

case "${1:-}" in
    start)
        [ $# = 3 ] || { echo "usage: unix-helper.sh start PREFIX PIDFILE" >&2; exit 2; }
        rm -rf "$2/drive_c/vt/requests"
        # Links that a test ended before removing would stop the next run's clean-up.
        if [ -d "$2/drive_c/vt/tests" ]; then
            find "$2/drive_c/vt/tests" -type l -delete
        fi
        # Detached from CTest's pipes, so the fixture test ends at once.
        setsid "$0" serve "$2" </dev/null >/dev/null 2>&1 &
        echo $! >"$3"
        ;;
    stop)
        [ $# = 2 ] || { echo "usage: unix-helper.sh stop PIDFILE" >&2; exit 2; }
        if [ -f "$2" ]; then
            kill "$(cat "$2")" 2>/dev/null || true
            rm -f "$2"
        fi
        ;;
    serve)
        [ $# = 2 ] || { echo "usage: unix-helper.sh serve PREFIX" >&2; exit 2; }
        serve "$2"
        ;;
    *)
        echo "usage: unix-helper.sh start PREFIX PIDFILE | stop PIDFILE | serve PREFIX" >&2
        exit 2
        ;;
esac
