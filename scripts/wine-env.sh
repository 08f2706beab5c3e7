# wine-env.sh: sourced by the scripts that run Wine; the project's prefixes and their safety checks.
# Every prefix lives under build/, never in ~/.wine. A prefix that runs deleting code must
# not reach the host's file system: Wine's z: drive is the host's /, so only c: may exist.

vt_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

export WINEDEBUG=-all
# Where 32-bit x86 code runs through qemu-user (see scripts/setup), a 2 GB guest address
# space matches a 32-bit Windows process and lets Wine reserve its memory quickly.
export QEMU_RESERVED_VA=0x7fff0000
unset WINELOADERNOEXEC

# vt_enter_sandbox SCRIPT ARGS...: runs the calling script again inside scripts/sandbox,
# unless it runs there already. Called once what needs the host (set-up) is done.
vt_enter_sandbox() {
    [ -n "${VT_SANDBOX:-}" ] || exec "$vt_root/scripts/sandbox" "$@"
}

# vt_outside_links DIR: lists the links inside DIR's drive_c that lead out of the prefix
# (Wine links the user's Desktop, Documents and the like to the host's home folder).
vt_outside_links() {
    local prefix="$1" link target
    find "$prefix/drive_c" -type l -print0 | while IFS= read -r -d '' link; do
        target="$(realpath -m "$link")"
        case "$target" in
            "$prefix"/*) ;;
            *) printf '%s\n' "$link" ;;
        esac
    done
}

# vt_check_prefix DIR: fails unless DIR is a prefix under build/ whose only drive is c:
# and whose drive_c holds no link that leads out of the prefix.
vt_check_prefix() {
    local prefix
    prefix="$(realpath -m "$1")"
    case "$prefix" in
        "$vt_root"/build/*) ;;
        *) echo "wine: refusing prefix outside build/: $prefix" >&2; return 1 ;;
    esac
    if [ ! -d "$prefix/dosdevices" ] || [ ! -d "$prefix/drive_c" ] || [ -L "$prefix/drive_c" ]; then
        echo "wine: $prefix is not a booted prefix" >&2
        return 1
    fi
    local link name
    for link in "$prefix"/dosdevices/*; do
        name="$(basename "$link")"
        case "$name" in
            c:) [ "$(readlink "$link")" = "../drive_c" ] || { echo "wine: c: of $prefix does not point at its drive_c" >&2; return 1; } ;;
            [a-z]:|[a-z]::) echo "wine: refusing to run: $prefix has drive $name" >&2; return 1 ;;
        esac
    done
    local outside
    outside="$(vt_outside_links "$prefix")"
    if [ -n "$outside" ]; then
        echo "wine: refusing to run: links in $prefix lead out of it:" >&2
        echo "$outside" >&2
        return 1
    fi
    return 0
}

# vt_strip_drives DIR: removes every drive link but c: (z: is the host's /).
vt_strip_drives() {
    local link name
    rm -f "$1/dosdevices/z:"
    for link in "$1"/dosdevices/*; do
        name="$(basename "$link")"
        case "$name" in
            c:) ;;
            [a-z]:|[a-z]::) rm -f "$link" ;;
        esac
    done
}

# vt_isolate DIR: strips the drives and replaces every link that leads out of drive_c
# with an empty folder of the same name.
vt_isolate() {
    local prefix="$1" link
    vt_strip_drives "$prefix"
    vt_outside_links "$prefix" | while IFS= read -r link; do
        rm -f "$link"
        mkdir -p "$link"
    done
}

# vt_make_prefix DIR: boots a prefix once (add-on installers disabled), isolates it from
# the host and turns off the automatic debugger, so a crashing program ends at once.
vt_make_prefix() {
    local prefix
    prefix="$(realpath -m "$1")"
    if [ ! -f "$prefix/.vt-ready" ]; then
        rm -rf "$prefix"
        mkdir -p "$prefix"
        WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX="$prefix" wineserver -w
        if [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows" ]; then
            echo "wine: booting $prefix failed" >&2
            return 1
        fi
        vt_isolate "$prefix"
        local view
        for view in /reg:64 /reg:32; do
            WINEPREFIX="$prefix" wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                /v Auto /t REG_SZ /d 0 /f $view >/dev/null 2>&1 || true
            WINEPREFIX="$prefix" wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                /v Debugger /f $view >/dev/null 2>&1 || true
        done
        WINEPREFIX="$prefix" wineserver -w
        touch "$prefix/.vt-ready"
    fi
    # Wine recreates missing drives and home links when it updates a prefix; isolate it
    # again every time.
    vt_isolate "$prefix"
    vt_check_prefix "$prefix"
}

# vt_start_server DIR / vt_stop_server DIR: one persistent wineserver for a run.
# The server and Wine's own services (started by a first, silent program) are detached
# from the caller's output, so a test runner reading a test's output never waits on them.
vt_start_server() {
    local prefix
    prefix="$(realpath -m "$1")"
    vt_check_prefix "$prefix" || return 1
    # A server already running for the prefix (left by an interrupted run) serves as well.
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1 || true
    (cd "$prefix/drive_c" && WINEPREFIX="$prefix" wine cmd /c exit </dev/null >/dev/null 2>&1) || true
}
vt_stop_server() {
    local prefix
    prefix="$(realpath -m "$1")"
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
}
