#!/usr/bin/env bash
# The Debian package as a user gets it: made by cpack from the programs this build tree built, its
# control fields read, unpacked into a fresh folder and run from there with no other bundle reachable;
# and its desktop entry, software-centre metadata and manual pages checked with the distribution's own
# tools. Prints what failed and exits 1 at the first failure.
#
#   check-package.sh BUILD_TREE WORK_FOLDER SOURCE_TREE
set -euo pipefail
build=$1 work=$2 source=$3

fail() {
    echo "packaging: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/home"
root=$work/root

# cpack installs the tree's programs (already built) into its own staging folder below $work.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack could not make the package"
fi
version=$("$build/torvex" --version | sed -n 's/^torvex //p')
[ -n "$version" ] || fail "the build tree's torvex prints no version"
deb=$work/torvex_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = torvex ] || fail "Package is \"$(field Package)\""
[ "$(field Version)" = "$version" ] || fail "Version is \"$(field Version)\", not $version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for needed in fonts-urw-base35 xdg-utils libc6 libsdl2 libcairo2 libpango libcurl librsvg2 libexpat1; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

dpkg-deb --extract "$deb" "$root"
shipped=(
    usr/bin/torvex usr/bin/torvex-atlas usr/bin/torvex-check usr/share/torvex/torvex.xml
    usr/share/applications/org.torvex.Torvex.desktop usr/share/metainfo/org.torvex.Torvex.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/torvex.svg
    usr/share/doc/torvex/LICENSE usr/share/doc/torvex/NOTICE usr/share/doc/torvex/copyright
    usr/share/man/man1/torvex.1.gz usr/share/man/man1/torvex-atlas.1.gz usr/share/man/man1/torvex-check.1.gz
)
for file in "${shipped[@]}"; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done

# The unpacked programs run in a bare environment, from a folder that holds no bundle.
cd "$work/home"
run() { env -i HOME="$work/home" PATH=/usr/bin:/bin "$@"; }
for program in torvex torvex-atlas torvex-check; do
    printed=$(run "$root/usr/bin/$program" --version 2>&1) || fail "$program --version failed: $printed"
    [ "$printed" = "$program $version" ] || fail "$program --version printed \"$printed\""
done
summary=$(run "$root/usr/bin/torvex" --headless --summary 2>&1) || fail "--summary failed: $summary"
[[ "$summary" == *" index terms, "* ]] || fail "--summary printed: $summary"

# Built programs hold no path of the machine that built them: no bundle found there by accident.
for program in "$root"/usr/bin/*; do
    if strings -a "$program" | grep -F -e "$source" -e "$build"; then
        fail "$(basename "$program") holds a path of the build machine"
    fi
done

# The desktop's own validators, hints and warnings included.
appstreamcli validate --no-net "$root/usr/share/metainfo/org.torvex.Torvex.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metainfo"; }
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.torvex.Torvex.metainfo.xml" ||
    fail "the metainfo lists no release $version"
said=$(desktop-file-validate "$root/usr/share/applications/org.torvex.Torvex.desktop" 2>&1) ||
    fail "desktop-file-validate rejects the desktop entry: $said"
[ -z "$said" ] || fail "desktop-file-validate: $said"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    said=$(zcat "$page" | groff -man -ww -z 2>&1) || fail "groff fails on $(basename "$page"): $said"
    [ -z "$said" ] || fail "$(basename "$page"): $said"
done

echo "packaging: $(basename "$deb") installs, runs and validates"
