# Sourced by the scripts that run the Windows build under Wine (scripts/test-windows,
# tests/windows/e2e/run, bench/startup-windows): which build this kernel can run, the Wine
# packages for it, and a Wine prefix of the run's own, removed with wine_cleanup.
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

# Installs Wine and sets arches (the builds to make) and run_arch (the build that runs here):
# the 32-bit program itself where the kernel runs it, else the 64-bit build of the same sources.
wine_install() {
    "$root/scripts/install-missing" binutils
    if runs32; then
        arches=(i686)
        # Wine's 32-bit half comes from the i386 architecture, which apt must know first.
        dpkg --print-foreign-architectures | grep -qx i386 || {
            local sudo=()
            [[ $(id -u) -eq 0 ]] || sudo=(sudo)
            "${sudo[@]}" dpkg --add-architecture i386
            "${sudo[@]}" apt-get update -qq
        }
        "$root/scripts/install-missing" wine wine64 wine32:i386
    else
        arches=(i686 x86_64)
        echo "This kernel runs no 32-bit programs: the 64-bit build of the same sources runs."
        "$root/scripts/install-missing" wine wine64
    fi
    run_arch=${arches[-1]}
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
