#!/bin/bash
# Times "narzedzia raport" on the largest legal results file (250 questions of 9 answers) and on
# 1000 results files of a 20-question survey, and PSPP's FREQUENCIES /BARCHART on the same counts
# when pspp is installed. Prints one line per run: wall-clock seconds, processor seconds,
# resident memory and what was made.
#
#   bench/report_bench.sh [build/src/app/narzedzia]
set -euo pipefail

program=$(realpath "${1:-build/src/app/narzedzia}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The largest legal results file: 250 questions, 9 answers each, counts up to 200.
awk 'BEGIN { ORS = "\r\n"; print "RESULTS"; print "Najwieksza"; print 1000; print 250
             for (q = 1; q <= 250; q++) { print 9; for (a = 1; a <= 9; a++) print (q * 7 + a * 13) % 200 + 1 }
             print "Treść ankiety" }' > largest.wyn

# 1000 results files of one class each: 20 questions of 4 answers, 30 respondents.
mkdir klasy
awk 'BEGIN { ORS = "\r\n"
             for (f = 1; f <= 1000; f++) {
                 name = sprintf("klasy/klasa-%04d.wyn", f)
                 print "RESULTS" > name; print "Klasy" > name; print 30 > name; print 20 > name
                 for (q = 1; q <= 20; q++) { print 4 > name; for (a = 1; a <= 4; a++) print (f + q * a) % 16 > name }
                 close(name) } }'

# The same counts as PSPP data: question, answer, count.
awk 'BEGIN { for (q = 1; q <= 250; q++) for (a = 1; a <= 9; a++) print q, a, (q * 7 + a * 13) % 200 + 1 }' > counts.txt
cat > frequencies.sps <<'SPS'
DATA LIST LIST FILE='counts.txt' /question answer count.
WEIGHT BY count.
SORT CASES BY question.
SPLIT FILE BY question.
FREQUENCIES /VARIABLES=answer /BARCHART.
SPS

measure() {  # what, command...
    local what=$1
    shift
    /usr/bin/time -f "%e s wall, %U+%S s processor, %M KB resident" -o time.txt "$@" > /dev/null 2> errors.txt ||
        { cat errors.txt >&2; return 1; }
    printf '%-58s %s\n' "$what" "$(cat time.txt)"
}

measure "narzedzia raport --formats pdf --charts bar (largest)" \
    "$program" raport -o pdf-bar --formats pdf --charts bar largest.wyn
echo "    $(pdfinfo pdf-bar/*.pdf 2>/dev/null | grep Pages || true)"
measure "narzedzia raport, whole report (largest)" "$program" raport -o whole largest.wyn
echo "    $(ls whole | wc -l) files, $(du -sh whole | cut -f1)"
measure "narzedzia raport, whole report (1000 files of 20 questions)" "$program" raport -o klasy-raport klasy
echo "    $(ls klasy-raport | wc -l) files, $(du -sh klasy-raport | cut -f1)"
if command -v pspp > /dev/null; then
    measure "pspp FREQUENCIES /BARCHART (largest)" pspp -o pspp.pdf frequencies.sps
    echo "    $(pdfinfo pspp.pdf 2>/dev/null | grep Pages || true)"
else
    echo "pspp is not installed: apt-get install pspp to compare"
fi
