# xvfb.sh: sourced; starts one Xvfb for the run and exports DISPLAY. The caller ends it
# by the PID in xvfb_pid, never by name.
vt_start_xvfb() {
    if [ -n "${xvfb_pid:-}" ]; then
        return 0
    fi
    local fifo
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}
