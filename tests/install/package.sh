#!/usr/bin/env bash
# The Debian package: one Release build (shared with `make deb`), cpack, the
# package's file list against the installed layout, its dependencies, lintian.
#   package.sh SOURCE_DIR RELEASE_BUILD_DIR [SDL]     (SDL: 1.2, the default, or 2)
source "$(dirname "$0")/../e2e/common.sh"
SRC=$(readlink -f "$1")
REL=$2
SDL=${3:-1.2}

# Configured as `make release` does, so the two share the build.
cmake -S "$SRC" -B "$REL" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DDRIFTWING_SDL="$SDL" \
        -DDRIFTWING_PACKAGE=ON >/dev/null \
    && cmake --build "$REL" -j2 --target driftwing installdata >/dev/null \
    && rm -f "$REL"/package/*.deb && (cd "$REL" && cpack >/dev/null 2>&1) \
    || { echo "FAIL: release build or cpack"; exit 1; }

# The two builds' files have names of their own; SDL 2's is the plain one.
if [ "$SDL" = 2 ]; then name=driftwing; runsOn="SDL 2"; else name=driftwing-sdl1.2; runsOn="SDL 1.2"; fi
set -- "$REL"/package/*.deb
deb=$1
[ "$#" -eq 1 ] && [ -f "$deb" ] && [[ "$(basename "$deb")" == ${name}_1.0_*.deb ]] && ok "built $(basename "$deb")" \
    || { echo "FAIL: not one ${name}_1.0_*.deb: $*"; exit 1; }
dpkg-deb -f "$deb" Description | grep -q "This build runs on $runsOn" || fail "description does not say $runsOn"

# The same sources give the same package, byte for byte: the game linked
# anew, the data made anew and every file touched, then packed again.
cp "$deb" "$REL/first.deb"
rm -f "$REL/driftwing" "$REL/dist/data.stamp" "$REL"/package/*.deb
find "$REL/dist" -type f -exec touch {} +
cmake --build "$REL" -j2 --target driftwing installdata >/dev/null && (cd "$REL" && cpack >/dev/null 2>&1) \
    || { echo "FAIL: second release build or cpack"; exit 1; }
cmp -s "$REL/first.deb" "$deb" && ok "built twice, the package is the same byte for byte" \
    || fail "a second build gives another package ($(cmp "$REL/first.deb" "$deb" 2>&1))"
rm -f "$REL/first.deb"

# Every file the package holds, and nothing else.
contents=$(dpkg-deb -c "$deb")
got=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$contents" | sort)
want=$( { (cd "$REL/dist/root" && find data Data -type f | sed 's|^|usr/share/games/driftwing/|')
        printf '%s\n' usr/{games,bin}/driftwing usr/share/doc/driftwing/{copyright,changelog.gz} \
            usr/share/{applications/driftwing.desktop,metainfo/driftwing.metainfo.xml,man/man6/driftwing.6.gz} \
            usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/driftwing.png; } | sort)
if [ "$got" = "$want" ]; then
    ok "file list matches the layout ($(echo "$got" | wc -l) files)"
else
    fail "file list differs:"; diff <(echo "$want") <(echo "$got") | head -20
fi
awk '$2 != "root/root" { bad = 1 } END { exit bad }' <<<"$contents" || fail "files not owned by root"
grep -q ' ./usr/bin/driftwing -> ../games/driftwing$' <<<"$contents" || fail "no driftwing command in /usr/bin"
grep -q '^-rwxr-xr-x .* ./usr/games/driftwing$' <<<"$contents" || fail "game not executable"

# The same package whichever SDL it is built on; only the libraries it
# depends on differ, and never both.
depends=$(dpkg-deb -f "$deb" Depends)
if [ "$SDL" = 2 ]; then
    libs="libsdl2-2.0-0 libsdl2-mixer-2.0-0 libc6"; others="libsdl1.2debian libsdl-mixer1.2"
else
    libs="libsdl1.2debian libsdl-mixer1.2 libc6"; others="libsdl2"
fi
for lib in $libs; do grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"; done
for lib in $others; do grep -q "$lib" <<<"$depends" && fail "Depends names $lib: $depends"; done
[ "$(dpkg-deb -f "$deb" Package)" = driftwing ] || fail "package is not named driftwing"
work=$(mktemp -d /tmp/driftwing-package-XXXXXX)
trap cleanup EXIT
dpkg-deb -x "$deb" "$work"
readelf -S "$work/usr/games/driftwing" | grep -q '\.debug_info\|\.symtab' && fail "binary not stripped"

# Installing it beside what the system has, simulated: its dependencies are
# met and nothing else is removed or broken.
sim=$(apt-get install -s "$(readlink -f "$deb")" 2>&1)
if [ $? -eq 0 ] && echo "$sim" | grep -q '^Inst driftwing' && ! echo "$sim" | grep -q '^Remv '; then
    ok "installs beside the system's packages, removing none (simulated)"
else
    fail "simulated install: $(echo "$sim" | grep -E '^(Remv|E:)|broken' | head -5)"
fi

# No error, and the binary hardened and stripped as Debian's own are.
out=$(lintian --fail-on error --display-info "$deb" 2>&1)
status=$?
out=$(echo "$out" | grep -v 'running with root privileges')
[ "$status" -eq 0 ] && ok "lintian reports no error${out:+ ($out)}" || fail "lintian: $out"
for tag in hardening-no-bindnow hardening-no-fortify-functions hardening-no-relro binary-has-unneeded-section; do
    echo "$out" | grep -q "$tag" && fail "lintian: $tag"
done

finish "package"
