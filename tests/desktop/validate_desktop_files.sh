#!/usr/bin/env bash
# The menu entry passes desktop-file-validate and the metainfo passes appstreamcli validate.
set -euo pipefail
data=$1
for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
# Hints (such as two main categories, Office and Education, on purpose) are not faults.
report=$(desktop-file-validate "$data/narzedzia.desktop" 2>&1) || { echo "$report"; exit 1; }
if grep -v ': hint: ' <<<"$report" | grep -q .; then echo "$report"; exit 1; fi
appstreamcli validate --no-net "$data/pl.narzedzia.Narzedzia.metainfo.xml"
