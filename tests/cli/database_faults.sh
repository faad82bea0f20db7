#!/usr/bin/env bash
# Faults of the market database that only a running program meets, tried on the built programs:
#
#   busy                   another program holds the database locked: the programs say "busy",
#                          never "damaged", and exit non-zero
#   read-only              the database in a read-only folder, a read-only file, a read-only file
#                          system: the lists show as before, an import is refused, the file is
#                          left as it was
#   swapped-during-import  the database file deleted or replaced while an import runs: the import
#                          fails naming the file, never "Imported" with exit 0
#
# Usage: database_faults.sh CASE QORVANT_MARKET [QORVANT_VIEWER]
# Exits 77 (skipped) when qorvant-market is not built or the case needs a tool that is missing;
# without a viewer (the sanitizer build has no shell) only qorvant-market is tried.
set -u

fault=$1
market=$2
viewer=${3:-}
failures=0
work=""
holder=""

skip() {
    echo "skipped: $*"
    exit 77
}

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

cleanup() {
    [[ -n "$holder" ]] && kill "$holder" 2>/dev/null
    [[ -n "$work" ]] && chmod -R u+rwx "$work" 2>/dev/null && rm -rf "$work"
}
trap cleanup EXIT

[[ -x "$market" ]] || skip "qorvant-market is not built ($market)"
[[ -n "$viewer" && ! -x "$viewer" ]] && viewer=""
work=$(mktemp -d)
chmod 755 "$work"

make_market() {
    "$market" --db "$1" create --stocks 20 --industries 4 --days 30 >/dev/null 2>&1 ||
        fail "cannot create a market in $1"
}

# run OUTPUT COMMAND...: runs the command with both streams in OUTPUT and its exit code in
# OUTPUT.rc.
run() {
    local output=$1
    shift
    "$@" >"$output" 2>&1
    echo $? >"$output.rc"
}

# check NAME RC-WANTED(0|fail) OUTPUT WANTED-TEXT [UNWANTED-TEXT]: judges what run recorded.
check() {
    local name=$1 wanted_rc=$2 output=$3 wanted=$4 unwanted=${5:-} rc
    local before=$failures
    rc=$(cat "$output.rc")
    if [[ "$wanted_rc" == 0 && $rc -ne 0 ]] || [[ "$wanted_rc" == fail && $rc -eq 0 ]]; then
        fail "$name: exit code $rc"
    fi
    grep -qF -- "$wanted" "$output" || fail "$name: no \"$wanted\" in the output"
    if [[ -n "$unwanted" ]] && grep -qF -- "$unwanted" "$output"; then
        fail "$name: \"$unwanted\" in the output"
    fi
    [[ $failures -eq $before ]] || sed 's/^/    /' "$output"
}

# Holds the database exclusively, as another program may, until release_lock: the sqlite3 command
# reads its commands from a pipe that stays open until then.
hold_lock() {
    local db=$1 ready=$work/ready
    mkfifo "$work/hold"
    sqlite3 "$db" <"$work/hold" >"$ready" &
    holder=$!
    exec 4>"$work/hold"
    printf 'PRAGMA locking_mode = EXCLUSIVE;\nBEGIN EXCLUSIVE;\n' >&4
    printf 'SELECT count(*) FROM stocks;\n.print locked\n' >&4
    for _ in $(seq 100); do
        grep -q locked "$ready" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the lock holder did not take the lock"
}

release_lock() {
    exec 4>&-
    wait "$holder"
    holder=""
}

case_busy() {
    command -v sqlite3 >/dev/null || skip "no sqlite3 command to hold a lock with"
    local db=$work/market.db
    make_market "$db"
    hold_lock "$db"
    # Each waits for the busy timeout; side by side, the waits overlap.
    run "$work/info" "$market" --db "$db" info &
    local info=$!
    [[ -n "$viewer" ]] && run "$work/print" "$viewer" --db "$db" --print
    wait "$info"
    release_lock
    local busy="$db: the database is busy: another program holds it locked"
    check "info on a locked database" fail "$work/info" "$busy" damaged
    [[ -n "$viewer" ]] && check "--print on a locked database" fail "$work/print" "$busy" damaged
}

# Runs a command as a user who cannot write what root owns, when this script runs as root.
unprivileged() {
    if [[ $(id -u) -eq 0 ]]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}

# check_read_only PLACE DB REFERENCE-PRINT PREFIX...: the programs, run through PREFIX, read the
# database and refuse to import into it, and leave the file as it was.
check_read_only() {
    local place=$1 db=$2 reference=$3
    shift 3
    run "$work/info" "$@" "$market" --db "$db" info
    check "$place: info" 0 "$work/info" "Stocks          20"
    run "$work/import" "$@" "$market" --db "$db" import "$work/none.csv"
    check "$place: import" fail "$work/import" "$db: the database is read-only"
    if [[ -n "$viewer" ]]; then
        run "$work/print" "$@" "$viewer" --db "$db" --print --rows 5
        check "$place: --print" 0 "$work/print" "Stock Viewer"
        cmp -s "$reference" "$work/print" || fail "$place: --print shows another list"
    fi
    cmp -s "$db" "$work/pristine.db" || fail "$place: the database file changed"
}

case_read_only() {
    if [[ $(id -u) -eq 0 ]]; then
        command -v setpriv >/dev/null || skip "running as root without setpriv"
        setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$market" ||
            skip "the unprivileged user cannot run $market"
    fi
    local folder=$work/place db=$work/place/market.db
    mkdir "$folder"
    make_market "$db"
    : >"$work/none.csv"
    chmod 644 "$work/none.csv"
    if [[ -n "$viewer" ]]; then
        "$viewer" --db "$db" --print --rows 5 >"$work/reference" 2>&1 || fail "reference --print"
    fi
    cp "$db" "$work/pristine.db"

    chmod 555 "$folder"
    check_read_only folder "$db" "$work/reference" unprivileged

    chmod 777 "$folder"
    chmod 444 "$db"
    check_read_only file "$db" "$work/reference" unprivileged
    rm -f "$db-wal" "$db-shm"
    chmod 755 "$folder"
    chmod 644 "$db"

    # A read-only file system stops root as well; a mount namespace makes one where allowed.
    if [[ $(id -u) -eq 0 ]] && unshare --mount true 2>/dev/null; then
        check_read_only "file system" "$db" "$work/reference" \
            unshare --mount sh -c 'mount --bind "$0" "$0" && mount -o remount,ro,bind "$0" "$0" &&
                                   exec "$@"' "$folder"
    fi
}

case_swapped_during_import() {
    command -v mkfifo >/dev/null || skip "no mkfifo"
    printf 'Symbol,Name,Sector,Industry\nAAA,Alpha,Energy,Oil\nBBB,Beta,Energy,Pipes\n' \
        >"$work/constituents.csv"
    printf 'Symbol,Date,Open,High,Low,Close,AdjClose,Volume\n' >"$work/prices"
    printf 'AAA,2021-01-04,10,11,9,10,10,1000\nBBB,2021-01-04,20,21,19,20,20,500\n' >>"$work/prices"
    local swap
    for swap in deleted replaced; do
        local db=$work/$swap.db fifo=$work/$swap-prices.csv
        mkfifo "$fifo"
        # The importer opens the database before its input files, so once the price file's
        # reader is there the database is open; the import cannot end before the data is sent.
        (
            exec 3>"$fifo"
            if [[ $swap == deleted ]]; then
                rm "$db"
            else
                cp "$db" "$db.new" && mv "$db.new" "$db"
            fi
            cat "$work/prices" >&3
        ) &
        local writer=$!
        run "$work/import" timeout 120 "$market" --db "$db" import "$work/constituents.csv" "$fifo"
        kill "$writer" 2>/dev/null
        wait "$writer" 2>/dev/null
        local said="was deleted"
        [[ $swap == replaced ]] && said="was replaced by another file"
        check "import into a $swap database" fail "$work/import" "$db: the database file $said" \
            Imported
    done
}

case "$fault" in
    busy) case_busy ;;
    read-only) case_read_only ;;
    swapped-during-import) case_swapped_during_import ;;
    *) echo "unknown case $fault"; exit 2 ;;
esac
[[ $failures -eq 0 ]] || exit 1
echo "passed: $fault"
