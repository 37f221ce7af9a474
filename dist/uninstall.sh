#!/bin/sh
# Removes what `make install` put under PREFIX (DESTDIR in the environment
# goes in front of it, as for the install): the game, its link, its data, the
# menu entry, icons, metadata, manual page and documents. The players' best
# scores, in their own folders, stay.
#   uninstall.sh PREFIX
set -eu
root="${DESTDIR:-}$1"
rm -f "$root/games/driftwing" "$root/bin/driftwing" \
    "$root/share/applications/driftwing.desktop" "$root/share/metainfo/driftwing.metainfo.xml" \
    "$root/share/man/man6/driftwing.6.gz"
for size in 48 128 256; do
    rm -f "$root/share/icons/hicolor/${size}x$size/apps/driftwing.png"
done
rm -rf "$root/share/games/driftwing" "$root/share/doc/driftwing"
echo "driftwing: removed from $root"
