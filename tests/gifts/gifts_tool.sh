#!/bin/sh
# qv-import gifts as a script uses it: donors who match nobody refused until
# --add-contributors, a designation without a fund stopping everything, and
# the same file a second time adding nothing.
#   gifts_tool.sh QV_SAMPLE QV_IMPORT
set -u
sample=$1 import=$2
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$sample" "$dir/books.MDB" --contributors 10 --years 1 --last-year 2025 >/dev/null || fail "no sample data"
count() { sqlite3 "$dir/books.MDB" "SELECT COUNT(*) FROM Offering WHERE CollectionID IN (SELECT ID FROM Collection WHERE Notation LIKE 'Online gifts%');"; }
known=$(sqlite3 "$dir/books.MDB" "SELECT FirstNames || ' ' || LastName FROM Contributors WHERE ID > 1 AND FirstNames <> '' AND LastName NOT LIKE '% %' ORDER BY ID LIMIT 1;")
printf 'Date;Name;Amount;Fund;Id\n2025-06-01;%s;25,00;Mystery;A1\n2025-06-01;Zz Nobody;10,00;Mystery;A2\n' "$known" >"$dir/g.csv"

"$import" gifts "$dir/g.csv" "$dir/books.MDB" --mapping Plat >"$dir/out" 2>&1
[ $? -eq 1 ] || fail "a designation without a fund must stop with status 1: $(cat "$dir/out")"
grep -q 'No fund is chosen for the designation "Mystery"' "$dir/out" || fail "message: $(cat "$dir/out")"
[ "$(count)" = 0 ] || fail "something was written while stopped"

"$import" gifts "$dir/g.csv" "$dir/books.MDB" --mapping Plat --fund "Mystery=Operating Fund" >"$dir/out" 2>&1
[ $? -eq 3 ] || fail "a refused donor must end with status 3: $(cat "$dir/out")"
grep -q "Line 3: Zz Nobody is not matched to a contributor" "$dir/out" || fail "refusal: $(cat "$dir/out")"
[ "$(count)" = 1 ] || fail "the known donor's gift was not written once"

"$import" gifts "$dir/g.csv" "$dir/books.MDB" --mapping Plat --add-contributors >"$dir/out" 2>&1 \
    || fail "with --add-contributors: $(cat "$dir/out")"
grep -q "Gifts imported: 1," "$dir/out" && grep -q "New contributors: 1" "$dir/out" || fail "summary: $(cat "$dir/out")"
"$import" gifts "$dir/g.csv" "$dir/books.MDB" --mapping Plat >"$dir/out" 2>&1 || fail "third run: $(cat "$dir/out")"
grep -q "Skipped, imported before: 2" "$dir/out" || fail "third run: $(cat "$dir/out")"
[ "$(count)" = 2 ] || fail "the same file again added gifts"
echo "PASS"
