# Helpers of the end-to-end tests, sourced by them: a desktop session under Xvfb with a window
# manager, the real program started in it and closed the way a user closes it.
#
#   source tests/desktop_session.sh
#   e2e_enter_session "$@"        # first thing: re-runs the script inside its own X session
#   e2e_start [env ...] program   # starts the program; E2E_PID is its process
#   id=$(e2e_wait_window 'Стелворн v*')
#   e2e_close "$id"; e2e_wait_exit
# Window titles are matched as bash patterns against the whole title.

# Re-runs the calling script inside a fresh Xvfb display (access control off, so that a program
# started as another user may connect), then starts the window manager: it must run before a
# window maps, or it may never manage it.
e2e_enter_session() {
    if [[ -z "${STELVORN_E2E_SESSION:-}" ]]; then
        export STELVORN_E2E_SESSION=1
        exec xvfb-run -a -s "-screen 0 1024x768x24 -ac" bash "$0" "$@"
    fi
    # On a loaded machine the window manager may take long or, rarely, end before it manages the
    # display; it is started again then, and its own words are shown when it never comes up.
    local log attempt
    log=$(mktemp)
    for attempt in 1 2 3; do
        openbox >"$log" 2>&1 &
        E2E_WM=$!
        for _ in $(seq 150); do
            if wmctrl -m >/dev/null 2>&1; then
                rm -f "$log"
                return 0
            fi
            kill -0 "$E2E_WM" 2>/dev/null || break
            sleep 0.1
        done
        kill "$E2E_WM" 2>/dev/null || true
        wait "$E2E_WM" 2>/dev/null || true
        echo "the window manager did not come up (attempt $attempt):"
        cat "$log"
    done
    rm -f "$log"
    echo "the window manager did not start"
    return 1
}

e2e_fail() {
    echo "FAILED: $*"
    [[ -n "${E2E_PID:-}" ]] && kill "$E2E_PID" 2>/dev/null
    exit 1
}

# The windows, one a line: the id, a tab, the title.
e2e_windows() {
    local id desktop host title
    wmctrl -l 2>/dev/null | while read -r id desktop host title; do printf '%s\t%s\n' "$id" "$title"; done
}

# Waits (up to 10 s) for a window whose title matches the pattern and prints its id.
e2e_wait_window() {
    local pattern="$1" id title
    for _ in $(seq 100); do
        while IFS=$'\t' read -r id title; do
            # shellcheck disable=SC2053
            if [[ "$title" == $pattern ]]; then
                echo "$id"
                return 0
            fi
        done < <(e2e_windows)
        sleep 0.1
    done
    return 1
}

# Fails when a window whose title matches the pattern is open.
e2e_expect_no_window() {
    local pattern="$1" id title
    while IFS=$'\t' read -r id title; do
        # shellcheck disable=SC2053
        [[ "$title" == $pattern ]] && e2e_fail "unexpected window \"$title\" ($2)"
    done < <(e2e_windows)
    return 0
}

# The window class ("instance.Class") of a window.
e2e_window_class() {
    wmctrl -l -x | awk -v id="$1" '$1 == id { print $3 }'
}

e2e_start() {
    "$@" &
    E2E_PID=$!
}

# The window manager's close, as the title bar's close button does it.
e2e_close() {
    wmctrl -i -c "$1"
}

# Waits (up to 10 s) for the program to end and fails when it does not or ends with an error.
e2e_wait_exit() {
    for _ in $(seq 100); do kill -0 "$E2E_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$E2E_PID" 2>/dev/null && e2e_fail "the program did not end after the close"
    local status=0
    wait "$E2E_PID" || status=$?
    E2E_PID=
    [[ $status -eq 0 ]] || e2e_fail "the program ended with status $status"
}

# Starts the program, waits for its window, checks that no message box came up at the start,
# closes the window and waits for the end, which must come without a message box.
e2e_start_and_close() {
    e2e_start "$@"
    local main
    main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the window did not appear"
    sleep 0.3
    e2e_expect_no_window 'Стелворн' "at the start"
    e2e_close "$main"
    e2e_wait_exit
}

# Runs a command as a user who owns nothing of the test's (nobody, when the tests run as root,
# since root may write into any folder); otherwise as the current user. The command gets a home
# and a runtime folder of that user's. E2E_WORK must name the test's scratch folder.
e2e_as_other_user() {
    local home="$E2E_WORK/other-home"
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    if [[ $(id -u) -eq 0 ]]; then
        chown -R nobody:nogroup "$home"
        local options="${LSAN_OPTIONS:-}"
        # The leak suppressions of a sanitizer build, where that user can read them.
        if [[ "$options" =~ suppressions=([^:]*) ]]; then
            cp "${BASH_REMATCH[1]}" "$home/lsan.supp"
            chmod 644 "$home/lsan.supp"
            options="${options/${BASH_REMATCH[1]}/$home/lsan.supp}"
        fi
        env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" LSAN_OPTIONS="$options" \
            setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
    else
        env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" "$@"
    fi
}

# The folder listing below a folder, one relative path a line, sorted.
e2e_tree() {
    (cd "$1" && find . -mindepth 1 | LC_ALL=C sort)
}

# Checks that a settings file holds the section and the sixteen keys of a close.
e2e_expect_settings_written() {
    local file="$1"
    [[ -f "$file" ]] || e2e_fail "no settings file $file"
    local keys
    keys=$(grep -c -E '^(ShowHints|ClimaticRegion|TopLayer|BottomLayer|Thickness|Depth|Form|Width|Length|MutualDisposition|Number|IntervalMultiplicity|FormHor|WidthHor|SkinName|Skins)=' "$file")
    [[ "$(head -c 11 "$file")" == "[INTERFACE]" && $keys -eq 16 ]] ||
        e2e_fail "the settings file $file is not the one of a close: $(cat -A "$file")"
}
