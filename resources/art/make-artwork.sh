#!/bin/sh
# Regenerates Tessarine's bitmaps and icons in resources/ and checks them.
#
#   resources/art/make-artwork.sh [contact-sheet.png]
#
# Needs: python3, ImageMagick (/usr/bin/convert), librsvg2-bin (rsvg-convert)
# and the Tango icon theme (tango-icon-theme, /usr/share/icons/Tango).
# On Debian:  apt-get install imagemagick librsvg2-bin tango-icon-theme python3
set -eu
here=$(cd "$(dirname "$0")" && pwd)

for tool in python3 rsvg-convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done
# /usr/bin/convert is named explicitly: it is the real ImageMagick.
[ -x "${IM_CONVERT:-/usr/bin/convert}" ] || { echo "missing: ImageMagick convert" >&2; exit 1; }
[ -d "${TANGO_DIR:-/usr/share/icons/Tango}/scalable" ] || { echo "missing: Tango icon theme" >&2; exit 1; }

python3 "$here/make_artwork.py"
python3 "$here/check_artwork.py" "${1:-/tmp/artwork-sheet.png}"
