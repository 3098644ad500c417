#!/usr/bin/env bash
# `cpack -G DEB` from the build makes a package holding the program and its desktop files, of the
# project's version, depending on Qt (found by dpkg-shlibdeps), the fonts and Qt's Polish texts.
set -euo pipefail
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" ||
    { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/narzedzia_"$version"_*.deb)
[[ -f $deb ]] || { echo "no package narzedzia_${version}_*.deb"; ls "$out"; exit 1; }

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
expected='./usr/bin/narzedzia
./usr/share/applications/narzedzia.desktop
./usr/share/icons/hicolor/scalable/apps/narzedzia.svg
./usr/share/metainfo/pl.narzedzia.Narzedzia.metainfo.xml'
[[ $files == "$expected" ]] || { printf 'files:\n%s\nexpected:\n%s\n' "$files" "$expected"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 fonts-liberation fonts-dejavu-core qt6-translations-l10n; do
    [[ $depends == *"$needed"* ]] || { echo "Depends lacks $needed: $depends"; exit 1; }
done
