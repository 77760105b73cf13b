# Sourced by scripts/package and scripts/test-linux-download: what the Linux download takes from
# the system it runs on. Every library the program or its Qt plugins need that comes from none of
# these packages goes into the download; these stay out. They are what any Debian 12 desktop
# has, with names that stay the same across distributions, and some (OpenGL, fontconfig, D-Bus)
# belong to the machine's own drivers, fonts and session, which a bundled copy would get wrong.
system_packages=(
    # The C and C++ runtimes.
    libc6 libstdc++6 libgcc-s1
    # The X client libraries, keyboard maps and session management.
    libx11-6 libx11-xcb1 libxau6 libxdmcp6 libxcb1 libxcb-render0 libxcb-shm0 libxcb-randr0
    libxcb-xfixes0 libxcb-sync1 libxcb-shape0 libxkbcommon0 libsm6 libice6
    # OpenGL, through the system's own drivers.
    libegl1 libglx0 libopengl0 libglvnd0
    # Fonts and text.
    libfontconfig1 libfreetype6 libpng16-16 libharfbuzz0b libgraphite2-3 libbrotli1 libexpat1
    # The desktop session: GLib and D-Bus.
    libglib2.0-0 libdbus-1-3
    # What those bring with them from the base system.
    zlib1g libzstd1 liblzma5 liblz4-1 libsystemd0 libcap2 libgcrypt20 libgpg-error0
    libpcre2-8-0 libbsd0 libmd0 libuuid1 libffi8 libmount1 libblkid1 libselinux1
)

# The Qt plugins in the download, under plugins/: the X11 platform and the compose key.
bundled_plugins=(
    platforms/libqxcb.so
    platforminputcontexts/libcomposeplatforminputcontextplugin.so
)

# package_of FILE: the Debian package that holds a library, whichever of /lib and /usr/lib
# (one folder since the /usr merge) ldd named it under.
package_of() {
    local path=$1 owner
    for candidate in "$path" "/usr${path#/usr}" "${path#/usr}"; do
        owner=$(dpkg-query -S "$candidate" 2>/dev/null | head -n1) && break
    done
    [[ -n $owner ]] || { echo "No package holds $path" >&2; return 1; }
    owner=${owner%%: *}
    echo "${owner%%:*}"
}

# bundle FOLDER PLUGINS < LDD: copies into FOLDER/lib every library that LDD (ldd's output for
# the program and the plugins) names and no system package holds, and prints "PACKAGE FILE" for
# it and for each bundled plugin (found in PLUGINS), FILE relative to FOLDER. Fails, naming the
# file, on one that no package holds or that cannot be copied, so that nothing ships without
# its notice; every step says so itself, as set -e counts for nothing where the caller tests it.
bundle() {
    local folder=$1 plugins=$2 plugin package soname path
    for plugin in "${bundled_plugins[@]}"; do
        package=$(package_of "$plugins/$plugin") || return 1
        echo "$package plugins/$plugin"
    done
    local libraries
    libraries=$(awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }' | sort -u) || return 1
    while read -r soname path; do
        package=$(package_of "$path") || return 1
        [[ " ${system_packages[*]} " != *" $package "* ]] || continue
        cp -L "$path" "$folder/lib/$soname" || { echo "Cannot bundle $path" >&2; return 1; }
        echo "$package lib/$soname"
    done <<<"$libraries"
}
