#!/bin/sh
# qv-report as a script uses it: a report's PDF and CSV files from a data
# file, and its exit status and message on a bad argument or a missing set.
#   report_tool.sh QV_SAMPLE QV_REPORT
set -u
sample=$1 report=$2
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$sample" "$dir/books.MDB" --contributors 30 --years 1 --last-year 2025 >/dev/null || fail "no sample data"

"$report" "$dir/books.MDB" weekly --collection 10 --pdf "$dir/week.pdf" --csv "$dir/csv" >"$dir/out" 2>&1 \
    || fail "weekly report: $(cat "$dir/out")"
pages=$(pdfinfo "$dir/week.pdf" | awk '/^Pages:/ {print $2}')
[ "${pages:-0}" -ge 1 ] || fail "no pages in the PDF"
pdftotext -layout "$dir/week.pdf" "$dir/week.txt"
grep -q "Collection Number 10 for" "$dir/week.txt" || fail "no collection line"
head -1 "$dir/csv/Contributions.csv" | grep -q "^Envelope,Operating Fund Pledged,Operating Fund Unpledged," \
    || fail "contributions CSV header: $(head -1 "$dir/csv/Contributions.csv")"
# The PDF's grand total is the CSV's last line, and the sum of its funds.
csv_total=$(tr -d '\r' <"$dir/csv/Totals by Fund.csv" | awk -F, 'NR > 1 && $1 != "Total Amount Collected" {s += $NF} END {printf "%.2f", s}')
csv_line=$(tr -d '\r' <"$dir/csv/Totals by Fund.csv" | awk -F, '$1 == "Total Amount Collected" {print $NF}')
pdf_total=$(sed -n 's/.*Total Amount Collected *\$\([0-9,.]*\).*/\1/p' "$dir/week.txt" | tr -d ,)
[ -n "$pdf_total" ] && [ "$csv_total" = "$pdf_total" ] && [ "$csv_line" = "$pdf_total" ] \
    || fail "total $pdf_total in the PDF, $csv_total summed and $csv_line printed in the CSV"

"$report" "$dir/books.MDB" weekly --collection 9999 --pdf "$dir/x.pdf" >"$dir/out" 2>&1
[ $? -eq 1 ] || fail "a missing set must end with status 1"
grep -q "no collection set number 9999" "$dir/out" || fail "message of a missing set: $(cat "$dir/out")"
[ ! -e "$dir/x.pdf" ] || fail "a PDF was written for a missing set"

"$report" "$dir/books.MDB" weekly --collection ten --pdf "$dir/x.pdf" >"$dir/out" 2>&1
[ $? -eq 2 ] || fail "a bad number must end with status 2"
grep -q -- "--collection needs a number" "$dir/out" || fail "message of a bad number: $(cat "$dir/out")"

# A range that ends before it begins is refused, not printed as a range without gifts.
for cmd in "statements --which all-name" "pledges --fund -2025 --sort name" "funds --fund -2025"; do
    # shellcheck disable=SC2086
    "$report" "$dir/books.MDB" $cmd --from 2025-12-31 --to 2025-01-01 --pdf "$dir/x.pdf" >"$dir/out" 2>&1
    [ $? -ne 0 ] || fail "$cmd: a range ending before it begins must end with an error"
    grep -q "The date range ends on 1/1/2025, before it begins on 12/31/2025" "$dir/out" || fail "$cmd: $(cat "$dir/out")"
done

"$report" "$dir/none.MDB" weekly --collection 1 --pdf "$dir/x.pdf" >"$dir/out" 2>&1
[ $? -eq 1 ] || fail "a missing data file must end with status 1"
echo "PASS"
