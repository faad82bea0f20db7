#!/usr/bin/env bash
# The command line of qorvant-viewer as a careless user meets it, run against a small generated
# market in a folder of its own. Each case is named after the fault it pins.
# Usage: qorvant_viewer_cli.sh QORVANT-VIEWER QORVANT-MARKET
set -uo pipefail

viewer=$1
market=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QV_LIBRARY_DIR="$work/library" XDG_CONFIG_HOME="$work/config" QV_DATABASE="$work/market.db"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# 80 trading days, more than 90 calendar days hold, ending Monday 2026-11-30 (so 2026-11-29 is a
# Sunday).
"$market" --db "$work/market.db" create --stocks 60 --industries 8 --days 80 >/dev/null 2>&1 ||
    { echo "cannot create the test market"; exit 1; }

failures=0
fail() {
    echo "FAIL $1: $2"
    failures=$((failures + 1))
}

# name; exit status; stderr must hold (text); stderr must not match (regular expression); arguments
cases=(
    "unknown-symbol-gave-an-empty-history;1;no stock with the symbol NOPE;;--print --type stock-history --symbol NOPE"
    "unknown-portfolio-gave-an-empty-list;1;no portfolio 99;;--print --type portfolio --portfolio 99"
    "unknown-portfolio-name-listed-nothing;1;no portfolio named 'Retirement';;--print --type portfolio --portfolio Retirement"
    "unknown-watch-list-gave-an-empty-list;1;no watch list 99;;--print --watch-list 99"
    "unknown-industry-gave-an-empty-list;1;no industry group with the code 999;;--print --industry 999"
    "date-past-the-data-showed-the-latest-day;1;no data for 2030-01-02: the market's data ends on 2026-11-30;;--print --date 2030-01-02"
    "date-before-the-data-gave-an-empty-list;1;no data for 2001-01-01: the market's data starts on;;--print --date 2001-01-01"
    "sunday-showed-fridays-list-unnamed;0;shown is 2026-11-27, the trading day before it;;--print --date 2026-11-29"
    "row-limit-reached-was-not-said;0;row limit of 5 rows;;--print --rows 5"
    "missing-database-folder-was-created;1;there is no folder $work/typo;;--print --db $work/typo/market.db"
    "missing-export-folder-was-created;1;there is no folder $work/typo;;--export $work/typo/stocks.csv"
    "unknown-screen-showed-rated-buy;1;the screens are: ;;--print --screen NoSuchScreen"
    "criteria-typo-showed-every-stock;1;Pirce;;--print --screen-criteria Pirce>10"
    "screen-that-nothing-meets-was-silent;0;No stock meets;;--print --screen-criteria Price<0"
    "screen-of-every-row-was-not-limited;0;row limit of 5 rows;;--print --screen-criteria Price>0 --rows 5"
)

for entry in "${cases[@]}"; do
    IFS=';' read -r name status wanted unwanted args <<<"$entry"
    # shellcheck disable=SC2086 # the arguments are words
    "$viewer" $args >"$work/out" 2>"$work/err"
    got=$?
    [[ $got -eq $status ]] || fail "$name" "exit status $got, not $status: $(cat "$work/err")"
    [[ -z $wanted ]] || grep -qF -- "$wanted" "$work/err" || fail "$name" "stderr lacks '$wanted': $(cat "$work/err")"
    [[ -z $unwanted ]] || ! grep -qE -- "$unwanted" "$work/err" || fail "$name" "stderr has '$unwanted': $(cat "$work/err")"
    [[ $status -eq 0 || ! -s $work/out ]] || fail "$name" "a failure printed a list"
    [[ ! -e $work/typo ]] || fail "$name" "created $work/typo"
done

# A screen saved from the command line runs by name in any letter case until it is deleted; a
# shipped screen is never deleted.
"$viewer" --save-screen Leaders --screen-criteria "RSRank >= 90" >"$work/out" 2>"$work/err" ||
    fail saved-screen-was-lost "$(cat "$work/err")"
"$viewer" --print --screen LEADERS >"$work/out" 2>"$work/err" ||
    fail saved-screen-was-lost "$(cat "$work/err")"
grep -q "Finder Results — Leaders" "$work/out" || fail saved-screen-was-lost "$(head -1 "$work/out")"
"$viewer" --delete-screen "Rated Buy" >/dev/null 2>"$work/err" &&
    fail shipped-screen-was-deleted "$(cat "$work/err")"
"$viewer" --delete-screen leaders >/dev/null 2>"$work/err" ||
    fail deleted-screen-still-ran "$(cat "$work/err")"
"$viewer" --print --screen Leaders >/dev/null 2>&1 && fail deleted-screen-still-ran "it printed"

# A history with --rows 0 stopped at 90 calendar days; it has every trading day.
"$viewer" --export "$work/history.csv" --type stock-history --rows 0 2>"$work/err" ||
    fail history-rows-0-gave-65-rows "$(cat "$work/err")"
lines=$(wc -l <"$work/history.csv" 2>/dev/null || echo 0)
[[ $lines -eq 80 ]] || fail history-rows-0-gave-65-rows "$lines lines, not 80 days"

# A thousands separator ("#,##0" volumes and prices) split one value into two fields: every line
# of the stock list has as many fields as the first.
"$viewer" --export "$work/stocks.csv" 2>"$work/err" || fail thousands-split-values "$(cat "$work/err")"
widths=$(awk -F, '{print NF}' "$work/stocks.csv" 2>/dev/null | sort -u | wc -l)
[[ $widths -eq 1 ]] || fail thousands-split-values "lines of $widths different widths"
grep -q $'\r$' "$work/stocks.csv" || fail thousands-split-values "lines do not end in CR LF"

# The finder's rows lacked the growth-rate and market-cap fields of its layout: empty columns,
# each logged as a missing field.
rm -f "$QV_LIBRARY_DIR/qorvant-viewer.log"
"$viewer" --export "$work/finder.csv" --type finder 2>"$work/err" ||
    fail finder-lacked-growth-rate-and-market-cap "$(cat "$work/err")"
! grep -qE "GRT|Mkt Cap" "$work/err" || fail finder-lacked-growth-rate-and-market-cap "$(cat "$work/err")"
! grep -q "DataSource" "$QV_LIBRARY_DIR/qorvant-viewer.log" 2>/dev/null ||
    fail finder-lacked-growth-rate-and-market-cap "$(cat "$QV_LIBRARY_DIR/qorvant-viewer.log")"

# The window itself, as the README's run command starts it, offscreen: it opens the market, shows
# the list asked for and saves its picture.
QT_QPA_PLATFORM=offscreen "$viewer" --screenshot "$work/window.png" --size 800x500 \
    --type industries >"$work/out" 2>&1 || fail window-drew-no-picture "$(cat "$work/out")"
[[ "$(head -c 4 "$work/window.png" 2>/dev/null | tail -c 3)" == PNG ]] ||
    fail window-drew-no-picture "no PNG at $work/window.png"

# A chart drawn off screen: the PNG exists and holds more than an empty page would.
"$viewer" --png "$work/chart.png" --size 900x600 --advanced \
    --chart "$(sqlite3 "$work/market.db" "SELECT symbol FROM stocks LIMIT 1")" >"$work/out" 2>&1 ||
    fail chart-drew-no-picture "$(cat "$work/out")"
[[ $(stat -c %s "$work/chart.png" 2>/dev/null || echo 0) -gt 20000 ]] ||
    fail chart-drew-no-picture "no PNG of more than 20000 bytes at $work/chart.png"

# A damaged stocks table exited 0 with an empty list and replaced a good export with 3 bytes.
if ! command -v sqlite3 >/dev/null; then
    fail damaged-stocks-table-exited-0 "no sqlite3 command to damage a copy of the market with (scripts/setup-debian installs it)"
else
    cp "$work/market.db" "$work/damaged.db"
    root=$(sqlite3 "$work/damaged.db" "SELECT rootpage FROM sqlite_schema WHERE name = 'stocks'")
    size=$(sqlite3 "$work/damaged.db" "PRAGMA page_size")
    head -c "$size" /dev/zero | tr '\0' '\377' |
        dd of="$work/damaged.db" bs="$size" seek=$((root - 1)) conv=notrunc status=none
    printf 'Symbol\r\nKEEP\r\n' >"$work/keep.csv"
    for mode in "--print" "--export $work/keep.csv"; do
        # shellcheck disable=SC2086
        "$viewer" $mode --db "$work/damaged.db" >"$work/out" 2>"$work/err"
        got=$?
        [[ $got -ne 0 ]] || fail "damaged-stocks-table-exited-0 ($mode)" "exit status 0"
        grep -q malformed "$work/err" || fail "damaged-stocks-table-exited-0 ($mode)" "stderr: $(cat "$work/err")"
        [[ ! -s $work/out ]] || fail "damaged-stocks-table-exited-0 ($mode)" "printed a list"
    done
    [[ $(cat "$work/keep.csv") == $'Symbol\r\nKEEP\r' ]] || fail damaged-stocks-table-replaced-the-export "the previous file changed"
    leftovers=$(find "$work" -maxdepth 1 -name 'keep.csv.tmp*' | wc -l)
    [[ $leftovers -eq 0 ]] || fail damaged-stocks-table-replaced-the-export "a temporary file was left"
fi

# Asking the sample generator for more industry groups than it has names for gave fewer, silently.
"$market" --db "$work/big.db" create --stocks 400 --industries 197 --days 5 >/dev/null 2>"$work/err" ||
    fail generator-cut-industries-silently "$(cat "$work/err")"
grep -q "197 industry groups asked for, 125 made" "$work/err" ||
    fail generator-cut-industries-silently "stderr: $(cat "$work/err")"

[[ $failures -eq 0 ]] && echo "all command-line cases passed"
exit $((failures > 0))
