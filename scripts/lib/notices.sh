# Sourced by scripts/package and installer/make-installer: the THIRD-PARTY-NOTICES.txt of each
# download, made from this machine's own copyright files as its Debian packages ship them, so
# that every notice is the one of the very files the download holds. Expects package_of from
# scripts/lib/linux-download.sh.

# debian_version PACKAGE: the installed version (one line, whichever architectures have it).
debian_version() {
    dpkg-query -W -f='${Version}\n' "$1" | sort -u | head -n1
}

# windows_notices TRIPLE (i686-w64-mingw32, x86_64-w64-mingw32): the notices of quorvex.exe,
# which links the compiler's runtime statically. Each part names the files linked in, found
# where that compiler takes them from, and the package that holds them; each package's
# copyright file follows once, whole.
windows_notices() {
    local cxx=$1-g++-posix part name files file package
    local -a parts=(
        "The MinGW-w64 runtime: start-up code and C runtime support|crt2.o libmingw32.a libmingwex.a libmsvcrt.a"
        "winpthreads, the MinGW-w64 POSIX thread library|libwinpthread.a"
        "GCC's runtime libraries, under the GCC Runtime Library Exception|libgcc.a libgcc_eh.a libstdc++.a"
    )
    local -a packages=()
    cat <<EOF
Third-party notices for Quorvex for Windows
===========================================

quorvex.exe is Quorvex's own code (see LICENSE.txt) linked statically with the following
parts of its compiler's runtime. Each part is named with the files linked in and the
Debian package they were taken from; each package's copyright file, with the licence texts
and notices it holds, follows in full below. The GNU General Public License that GCC's
copyright file refers to is at https://www.gnu.org/licenses/gpl-3.0.txt.

EOF
    local -A printed=()
    for part in "${parts[@]}"; do
        name=${part%%|*} files=${part#*|}
        local -a own=()
        for file in $files; do
            package=$(package_of "$(realpath "$("$cxx" -print-file-name="$file")")")
            printf '%s\n' "${own[@]}" | grep -qxF "$package" || own+=("$package")
        done
        echo "- $name ($files), from the Debian package(s):"
        for package in "${own[@]}"; do
            echo "  $package $(debian_version "$package")"
            printf '%s\n' "${packages[@]}" | grep -qxF "$package" || packages+=("$package")
        done
    done
    # Packages of one source share one copyright file: it follows once.
    for package in "${packages[@]}"; do
        file=/usr/share/doc/$package/copyright
        local sum
        sum=$(sha256sum <"$file")
        printf '\n\n==== %s %s: %s ====\n' "$package" "$(debian_version "$package")" "$file"
        if [[ -n ${printed[$sum]:-} ]]; then
            echo "The same file as the one of ${printed[$sum]} above."
        else
            printed[$sum]=$package
            cat "$file"
        fi
    done
}

# linux_notices < LIST: the notices of the Linux download, whose LIST holds one line
# "PACKAGE FILE" for every file under lib/ and plugins/, FILE relative to the download's folder;
# licenses/PACKAGE.copyright holds each package's copyright file.
linux_notices() {
    local list package source
    list=$(sort -u)
    cat <<EOF
Third-party notices for Quorvex for Linux
=========================================

quorvex is Quorvex's own code (see LICENSE). This folder also holds the following libraries
and Qt plugins, byte for byte as Debian 12 ships them. Each is named with its Debian package,
its version and source package, and the file in licenses/ that holds its copyright notices
and licence texts: Debian's own copyright file for that package.

EOF
    for package in $(cut -d' ' -f1 <<<"$list" | sort -u); do
        source=$(dpkg-query -W -f='${source:Package} ${source:Version}\n' "$package" | sort -u | head -n1)
        echo "- $package $(debian_version "$package") (source package $source):" \
            "licenses/$package.copyright"
        sed -n "s|^$package |    |p" <<<"$list"
    done
    cat <<EOF

The exact sources of these libraries, the LGPL ones (Qt) among them, are the Debian source
packages of the versions in licenses/packages.txt (each named above with its own version),
from Debian's archive: https://deb.debian.org/debian/pool/main/, and every past version at
https://snapshot.debian.org/.
EOF
}
