#!/bin/bash
# The .deb as `make package` builds it, made into a folder of its own from
# the build tree: unpacked as dpkg unpacks it, its programs run from there,
# its metainfo and desktop entry checked by their validators, its man pages
# and dependencies present, and lintian finding no error in it.
# Arguments: the build folder, the version.
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb="$work/out/vistrel_${version}_$(dpkg --print-architecture).deb"
dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"

"$usr/bin/vistrel-render" --version | tee "$work/version"
grep -qx "vistrel-render $version" "$work/version"
grep -q "^FFmpeg " "$work/version" && grep -q "^FFMS2 " "$work/version"
"$usr/bin/vistrel-sync" --help | grep -q "^Usage: .*vistrel-sync \[options\] CLIP"

appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml
desktop-file-validate "$usr/share/applications/vistrel.desktop"
for program in vistrel vistrel-render vistrel-sync; do
  zcat "$usr/share/man/man1/$program.1.gz" | grep -q "^\.TH ${program^^} \"1\" .* \"$program $version\""
done

dpkg-deb --field "$deb" Depends | tee "$work/depends"
grep -q "libavcodec" "$work/depends" && grep -q "libqt6widgets6" "$work/depends"
lintian --fail-on error "$deb"
