#!/usr/bin/env bash
# render_page  Loads a tide table page in headless Chromium: the browser must parse it into the
# expected table (eight cells a day row, the green cells kept) and draw a screenshot of it.
# The page is tests/fixtures/htmltables/short-month.html, which tst_TideTableMonth proves to be
# byte for byte what the page writer makes of short-month.txt.
# Usage: render_page.sh PAGE WORKDIR
# Chromium is part of the test set-up (tools/test installs it): without it the test fails.
set -euo pipefail
page="$1"
work="$2"
chromium="$(command -v chromium || command -v chromium-browser || true)"
if [ -z "$chromium" ]; then
    echo "render_page: Chromium is not installed; tools/test installs it (Debian package chromium)" >&2
    exit 1
fi
mkdir -p "$work"
profile="$(mktemp -d "$work/profile.XXXXXX")"
trap 'rm -rf "$profile"' EXIT
# Tests run as root in CI, where Chromium's sandbox cannot start: run without it.
flags=(--headless --no-sandbox --disable-gpu --disable-background-networking --no-first-run
       --user-data-dir="$profile" --window-size=900,1200)

fail() { echo "render_page: $*" >&2; exit 1; }
count() { grep -o -- "$1" "$work/dom.html" | wc -l; }

timeout 60 "$chromium" "${flags[@]}" --dump-dom "file://$page" >"$work/dom.html" 2>"$work/dom.log" ||
    fail "chromium could not load the page (see $work/dom.log)"
# Two navigation rows of three cells, the heading row of eight, three day rows of eight.
[ "$(count '<tr')" -eq 6 ] || fail "expected 6 table rows, found $(count '<tr')"
[ "$(count '<td')" -eq 38 ] || fail "expected 38 cells, found $(count '<td')"
[ "$(count '<td style="color: rgb(51, 204, 0);">')" -eq 3 ] || fail "expected 3 green cells"
[ "$(count 'href="2009-02-tides.html"')" -eq 2 ] || fail "previous-month links missing"

rm -f "$work/page.png"
timeout 60 "$chromium" "${flags[@]}" --screenshot="$work/page.png" "file://$page" \
    >"$work/shot.log" 2>&1 || fail "chromium could not draw the page (see $work/shot.log)"
[ -f "$work/page.png" ] || fail "no screenshot written"
[ "$(head -c 8 "$work/page.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "the screenshot is not a PNG"
[ "$(stat -c %s "$work/page.png")" -gt 20000 ] || fail "the screenshot looks blank"
echo "render_page: $work/page.png"
