#!/usr/bin/env bash
# The menu entry passes desktop-file-validate, the metainfo passes appstreamcli validate, and the
# file types build into a MIME database with their globs, magic and comments.
set -euo pipefail
data=$1
for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
# Hints (such as two main categories, Office and Education, on purpose) are not faults.
report=$(desktop-file-validate "$data/narzedzia.desktop" 2>&1) || { echo "$report"; exit 1; }
if grep -v ': hint: ' <<<"$report"; then exit 1; fi
# The metainfo passes even the pedantic checks: not one note of any kind.
report=$(appstreamcli validate --pedantic --no-net "$data/pl.narzedzia.narzedzia.metainfo.xml" 2>&1) ||
    { echo "$report"; exit 1; }
if grep -E '^[EWIP]: ' <<<"$report"; then exit 1; fi

# The menu entry opens both kinds of file, many at once.
grep -qx 'MimeType=application/x-narzedzia-survey;application/x-narzedzia-results;' "$data/narzedzia.desktop"
grep -qx 'Exec=narzedzia %F' "$data/narzedzia.desktop"

share=$(mktemp -d)
trap 'rm -rf "$share"' EXIT
mime=$share/mime
mkdir -p "$mime/packages"
cp "$data/narzedzia.xml" "$mime/packages/"
report=$(XDG_DATA_DIRS=$share update-mime-database "$mime" 2>&1)
[[ -z $report ]] || { echo "$report"; exit 1; }
for expected in '50:application/x-narzedzia-survey:*.ank' '50:application/x-narzedzia-results:*.wyn'; do
    grep -qxF "$expected" "$mime/globs2" || { echo "globs2 lacks $expected"; cat "$mime/globs2"; exit 1; }
done
for first in 'TARVO\r' 'RESULTS\r'; do
    grep -qaF "$(printf "$first")" "$mime/magic" || { echo "magic lacks $first"; exit 1; }
done
for comment in 'Ankieta programu Narzędzia' 'Wyniki ankiety programu Narzędzia'; do
    grep -qF "$comment" "$mime"/application/x-narzedzia-*.xml || { echo "no comment $comment"; exit 1; }
done
