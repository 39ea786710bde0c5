#!/usr/bin/env bash
# Regenerates the pictures of the help: the five formula pictures and КОНТУР in help/pages/, and
# the four 16 x 16 toolbar images in help/icons/. The PNGs are committed, so the normal build needs
# none of this; run it after changing formulas.tex, kontur.svg or an icon's SVG, and commit the PNGs.
#
# Needs, at development time only:
#   - node and npm (Debian: nodejs, npm); this folder's package.json brings MathJax (mathjax-full),
#     the TeX typesetter that sets the formulas as SVG;
#   - rsvg-convert (Debian: librsvg2-bin), which renders each SVG to an 8-bit RGBA PNG;
#   - a serif font with Cyrillic letters for the subscripts (Debian: fonts-dejavu-core).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
for tool in node npm rsvg-convert; do
    command -v "$tool" >/dev/null || { echo "generate.sh: $tool is missing" >&2; exit 1; }
done
[[ -d "$here/node_modules/mathjax-full" ]] || (cd "$here" && npm install --no-audit --no-fund >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Formulas: file name, width, height, TeX.
while read -r name width height tex; do
    [[ -z $name || $name == %* ]] && continue
    node "$here/typeset.mjs" "$width" "$height" "$tex" >"$work/$name.svg"
    rsvg-convert "$work/$name.svg" -o "$root/help/pages/$name.png"
done <"$here/formulas.tex"

rsvg-convert "$here/kontur.svg" -o "$root/help/pages/kontur.png"
for icon in back forward home shield; do
    rsvg-convert -w 16 -h 16 "$root/help/icons/$icon.svg" -o "$root/help/icons/$icon.png"
done
echo "generate.sh: pictures written to help/pages and help/icons"
