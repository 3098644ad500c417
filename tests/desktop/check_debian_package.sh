#!/usr/bin/env bash
# `cpack -G DEB` from the build makes a package holding the program, its desktop files, its file
# types, its manual page, copyright and changelog, of the project's version, depending on Qt (found
# by dpkg-shlibdeps), the fonts and Qt's Polish texts; lintian, when installed, finds no error and
# no warning in it.
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
./usr/share/doc/narzedzia/changelog.gz
./usr/share/doc/narzedzia/copyright
./usr/share/icons/hicolor/scalable/apps/narzedzia.svg
./usr/share/icons/hicolor/scalable/mimetypes/application-x-narzedzia-results.svg
./usr/share/icons/hicolor/scalable/mimetypes/application-x-narzedzia-survey.svg
./usr/share/man/man1/narzedzia.1.gz
./usr/share/metainfo/pl.narzedzia.narzedzia.metainfo.xml
./usr/share/mime/packages/narzedzia.xml'
[[ $files == "$expected" ]] || { printf 'files:\n%s\nexpected:\n%s\n' "$files" "$expected"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 fonts-liberation fonts-dejavu-core qt6-translations-l10n; do
    [[ $depends == *"$needed"* ]] || { echo "Depends lacks $needed: $depends"; exit 1; }
done

# The changelog's latest entry is the package's version.
dpkg-deb -x "$deb" "$out/root"
entry=$(zcat "$out/root/usr/share/doc/narzedzia/changelog.gz" | sed -n 1p)
[[ $entry == "narzedzia ($version) "* ]] || { echo "changelog's latest entry: $entry"; exit 1; }

if command -v lintian >/dev/null; then
    report=$(lintian --fail-on none "$deb" 2>&1)
    if grep -E '^[EW]: ' <<<"$report"; then exit 1; fi
else
    echo "lintian is not installed: the package's form was not checked"
fi

