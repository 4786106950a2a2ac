#!/usr/bin/env bash
# Runs a test program under Wine in code page 936: Wine takes its ANSI code page from the
# locale, so a zh_CN.UTF-8 locale is made for it here. Only this program gets the locale:
# Wine's registry tools mangle Chinese names under other settings. 77 when it cannot be made.
# Usage: wine-profile-api-test.sh <test.exe>
set -euo pipefail
program=$1
locales=$(mktemp -d)
trap 'rm -rf "$locales"' EXIT
# localedef fails on warnings too, with the locale made all the same.
localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8" >"$locales/log" 2>&1 || true
if [[ ! -e $locales/zh_CN.UTF-8/LC_CTYPE ]]; then
    echo "cannot make the zh_CN.UTF-8 locale with localedef:"
    cat "$locales/log"
    exit 77
fi
LOCPATH=$locales LC_ALL=zh_CN.UTF-8 wine "$program"
