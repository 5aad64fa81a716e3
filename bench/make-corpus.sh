#!/usr/bin/env bash
# Builds the benchmark corpora from the Japanese manual pages (Debian's manpages-ja):
#   corpus.txt          the pages' text, troff request and comment lines stripped
#   corpus-hankana.txt  the same with katakana and hiragana as half-width katakana
#   corpus-zenkaku.txt  the same with ASCII as full-width forms
#   corpus-url.txt      the same percent-encoded as UTF-8 (work for the unescapes)
#   corpus-html.txt     the same HTML-escaped
# Usage: bench/make-corpus.sh OUTDIR
set -euo pipefail
out=${1:?usage: make-corpus.sh OUTDIR}
mkdir -p "$out"
[ -s "$out/corpus.txt" ] && exit 0

find /usr/share/man/ja -name '*.gz' -print0 | sort -z | xargs -0 zcat -f \
    | grep -v -E "^[.'][^.]|^\.\\\\\"|^\.$" \
    | uconv -f utf-8 -t utf-8 --callback skip > "$out/corpus.txt"
uconv -f utf-8 -t utf-8 -x 'Hiragana-Katakana; Fullwidth-Halfwidth' < "$out/corpus.txt" > "$out/corpus-hankana.txt"
uconv -f utf-8 -t utf-8 -x 'Halfwidth-Fullwidth' < "$out/corpus.txt" > "$out/corpus-zenkaku.txt"
python3 -c 'import sys, urllib.parse; sys.stdout.write(urllib.parse.quote_plus(sys.stdin.read()))' \
    < "$out/corpus.txt" > "$out/corpus-url.txt"
python3 -c 'import sys, html; sys.stdout.write(html.escape(sys.stdin.read(), quote=True).replace("&#x27;", "'"'"'"))' \
    < "$out/corpus.txt" > "$out/corpus-html.txt"
