#!/usr/bin/env bash
# Builds the Debian package from the build folder $1, unpacks it into a temporary
# root and runs what it installed there; the desktop entry must validate and lintian
# must find no error. $2 is the samples folder.
set -euo pipefail
build=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$work"/package/vandrel_*.deb)
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

for path in bin/vandrel bin/vandrel-count bin/vandrel-fractal libexec/vandrel/vandrel-metafile \
            share/applications/vandrel.desktop share/icons/hicolor/48x48/apps/vandrel.png \
            share/man/man1/vandrel.1.gz share/man/man1/vandrel-count.1.gz share/man/man1/vandrel-fractal.1.gz \
            share/doc/vandrel/README.md share/doc/vandrel/copyright share/doc/vandrel/samples/carpet.png; do
  [[ -e "$usr/$path" ]] || { echo "not installed: /usr/$path"; exit 1; }
done

# The installed programs run from where they were installed.
"$usr/bin/vandrel-count" --version
"$usr/bin/vandrel-count" --format csv "$usr/share/doc/vandrel/samples/carpet.png" | grep '^log(d),log(N(d))$' >/dev/null
"$usr/bin/vandrel-fractal" carpet --size 27 "$work/carpet.png"
[[ -s "$work/carpet.png" ]]
echo "" | "$usr/libexec/vandrel/vandrel-metafile" wmf >/dev/null 2>&1 && { echo "an empty metafile converted"; exit 1; }
QT_QPA_PLATFORM=offscreen timeout 3 "$usr/bin/vandrel" || [[ $? == 124 ]] # still running after 3 s: it started
zcat "$usr/share/man/man1/vandrel-count.1.gz" | grep 'memory.-limit' >/dev/null # hyphens are escaped in troff

if compgen -G "$usr/lib/python3/dist-packages/vandrel*.so" >/dev/null; then
  PYTHONPATH="$usr/lib/python3/dist-packages" /usr/bin/python3 -c \
    'import numpy, vandrel; assert vandrel.count(numpy.ones((4, 4), bool), [1, 2]) == [16, 4]'
fi

desktop-file-validate "$usr/share/applications/vandrel.desktop"
if lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep '^E:'; then
  echo "lintian reports errors"
  exit 1
fi
echo "package $(basename "$deb") installs and runs"
