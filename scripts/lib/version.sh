# Sourced by the scripts that name release files: sets version from the one project() line of
# the tree's CMakeLists.txt, the version the build gives the program. Expects $root to be set.
version=$(sed -n 's/^project(Quorvex VERSION \([0-9]\+\.[0-9]\+\.[0-9]\+\).*/\1/p' \
    "$root/CMakeLists.txt")
[[ -n $version ]] || { echo "No project version in $root/CMakeLists.txt" >&2; exit 1; }
