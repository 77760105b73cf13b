# Sourced by the scripts that run the Windows build under Wine (scripts/test-windows,
# tests/windows/e2e/run, scripts/test-installer, bench/startup-windows): which build can run
# here, the Wine packages for it, and a Wine prefix of the run's own, removed with wine_cleanup.
# Expects $root (the tree) to be set.

# Whether this kernel runs 32-bit programs: a three-instruction one that exits at once says.
runs32() {
    local dir status=0
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/p.s"
    { as --32 -o "$dir/p.o" "$dir/p.s" && ld -m elf_i386 -o "$dir/p" "$dir/p.o" &&
        "$dir/p"; } 2>/dev/null || status=1
    rm -rf "$dir"
    return $status
}

# Installs Wine and sets arches (the builds to make), run_arch (the build that runs here) and
# run_why (why that one): the 32-bit program itself where the kernel runs it and Wine's 32-bit
# half can be had, else the 64-bit build of the same sources.
wine_install() {
    "$root/scripts/install-missing" binutils
    if ! runs32; then
        run_why="this kernel runs no 32-bit programs"
        echo "This kernel runs no 32-bit programs: the 64-bit build of the same sources runs."
    elif wine32_install; then
        arches=(i686) run_arch=i686 run_why="the release program itself"
        return
    fi
    arches=(i686 x86_64) run_arch=x86_64
    "$root/scripts/install-missing" wine wine64
}

# Wine with its 32-bit half, which comes from the i386 architecture. When apt cannot give it
# (a mirror mid-sync, sources without i386), says why in one line, sets run_why and fails,
# having taken back the architecture if this run added it and nothing of it got installed.
# A run that ends during the install (a failure, Ctrl+C, a kill) takes it back too, by a trap
# that stands only while the install runs and then hands back the caller's own.
wine32_install() {
    local errors
    wine_sudo=()
    [[ $(id -u) -eq 0 ]] || wine_sudo=(sudo)
    wine_added=false
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        wine_traps=$(trap -p EXIT INT TERM HUP)
        local signal
        for signal in EXIT INT TERM HUP; do
            # shellcheck disable=SC2064
            trap "wine_interrupted $signal" "$signal"
        done
        "${wine_sudo[@]}" dpkg --add-architecture i386 && wine_added=true
    fi
    # install-missing's warnings and its closing reason come on stderr, apt's output on stdout.
    if { errors=$("$root/scripts/install-missing" wine wine64 wine32:i386 2>&1 >&3); } 3>&1; then
        [[ -z $errors ]] || echo "$errors" >&2
        wine_added=false
        wine_restore_traps
        return 0
    fi
    local reason=${errors##*$'\n'}
    [[ $errors != *$'\n'* ]] || echo "${errors%$'\n'*}" >&2
    echo "Wine's 32-bit half cannot be installed (${reason#install-missing: })" \
        "- the 64-bit build of the same sources runs." >&2
    run_why="Wine's 32-bit half could not be installed"
    wine_take_back
    wine_restore_traps
    return 1
}

# Removes the i386 architecture if this run added it. dpkg keeps an architecture that packages
# of it are installed from, and then its own message says so.
wine_take_back() {
    $wine_added || return 0
    wine_added=false
    local said
    said=$("${wine_sudo[@]}" dpkg --remove-architecture i386 2>&1) ||
        echo "The i386 architecture stays: ${said:-dpkg --remove-architecture i386 failed}" >&2
}

wine_restore_traps() {
    [[ -n ${wine_traps+set} ]] || return 0
    trap - EXIT INT TERM HUP
    eval "$wine_traps"
    unset wine_traps
}

# wine_interrupted SIGNAL: the run ends during the install. The architecture goes first; then
# the caller's traps are back, and the run ends as it would have without this one.
wine_interrupted() {
    local status=$? signal=$1 line
    wine_take_back
    wine_restore_traps
    if [[ $signal == EXIT ]]; then
        line=$(trap -p EXIT)
        [[ -z $line ]] || { eval "set -- $line"; eval "$3"; }
        exit $status
    fi
    kill -s "$signal" "$BASHPID"
}

# wine_ran STAGE ARCH: the line that tells a log which build STAGE tested.
wine_ran() {
    if [[ $2 == i686 ]]; then
        echo "$1: ran the 32-bit build (i686), the release program itself."
    else
        echo "$1: ran the 64-bit build ($2) of the same sources, as $run_why."
    fi
}

# A prefix of the run's own under a new scratch folder: nothing goes to the user's home, and
# Wine offers to fetch nothing. With "null", windows live in memory, without any display;
# otherwise they go to $DISPLAY. Sets wine (the loader) and scratch.
wine_prefix() {
    scratch=$(mktemp -d)
    export WINEPREFIX=$scratch/prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINESERVER=/usr/lib/wine/wineserver64
    export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_CACHE_HOME=$scratch/cache
    # The 64-bit loader hands a 32-bit program to the 32-bit one itself.
    wine=/usr/lib/wine/wine64
    timeout 300 "$wine" wineboot --init >/dev/null 2>&1
    if [[ ${1:-} == null ]]; then
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    "$WINESERVER" -w
}

wine_cleanup() {
    if [[ -n ${WINESERVER:-} ]]; then
        "$WINESERVER" -k 2>/dev/null || true
        "$WINESERVER" -w 2>/dev/null || true
    fi
    [[ -z ${scratch:-} ]] || rm -rf "$scratch"
}
