#!/usr/bin/env python3
"""Times kestrino-conv next to the tools people use for the same job, whole processes on the
same input, and prints each pair's throughput ratio (ours / theirs; the goal is 5 or more).

Usage: compare.py KESTRINO_CONV CORPUS_DIR [RUNS]
"""
import os
import subprocess
import sys
import time

PY_HTML = "import sys, html; sys.stdout.write(html.escape(sys.stdin.read()))"
PY_QUOTE = "import sys, urllib.parse; sys.stdout.write(urllib.parse.quote_plus(sys.stdin.read()))"

# (our task, their tool, input corpus, how the jobs differ)
PAIRS = [
    (["hiragana"], ["nkf", "-w", "-h1"], "corpus.txt", "same job"),
    (["katakana"], ["nkf", "-w", "-h2"], "corpus.txt", "same job"),
    (["halfwidth", "--target", "alnum"], ["nkf", "-w", "-Z1"], "corpus-zenkaku.txt",
     "nkf -Z1 also turns the ideographic space and full-width symbols into ASCII"),
    (["kana-fullwidth"], ["nkf", "-w", "-X"], "corpus-hankana.txt", "same job"),
    (["hiragana"], ["uconv", "-f", "utf-8", "-t", "utf-8", "-x", "Katakana-Hiragana"], "corpus.txt",
     "uconv also maps half-width katakana"),
    (["halfwidth"], ["uconv", "-f", "utf-8", "-t", "utf-8", "-x", "Fullwidth-Halfwidth"], "corpus-zenkaku.txt",
     "uconv leaves voiced katakana whole"),
    (["lower"], ["uconv", "-f", "utf-8", "-t", "utf-8", "-x", "Any-Lower"], "corpus.txt",
     "uconv uses full (context-sensitive) case mapping"),
    (["html-escape"], ["python3", "-c", PY_HTML], "corpus.txt", "Python also escapes the apostrophe"),
    (["form-url-escape", "--codepage", "65001"], ["python3", "-c", PY_QUOTE], "corpus.txt",
     "Python keeps ~ and escapes ! ( ) * differently"),
]


def best_seconds(command, input_path, runs):
    best = float("inf")
    for _ in range(runs):
        with open(input_path, "rb") as source:
            start = time.perf_counter()
            subprocess.run(command, stdin=source, stdout=subprocess.DEVNULL, check=True)
            best = min(best, time.perf_counter() - start)
    return best


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    ours, corpus = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    print(f"{'kestrino-conv task':<34} {'MB/s':>8}  {'other tool':<34} {'MB/s':>8}  {'ratio':>6}  difference")
    for task, tool, name, difference in PAIRS:
        path = os.path.join(corpus, name)
        megabytes = os.path.getsize(path) / 1e6
        our_rate = megabytes / best_seconds([ours] + task, path, runs)
        their_rate = megabytes / best_seconds(tool, path, runs)
        label = {PY_HTML: "python3 html.escape", PY_QUOTE: "python3 urllib.parse.quote_plus"}.get(tool[-1], " ".join(tool))
        print(f"{' '.join(task):<34} {our_rate:8.1f}  {label[:34]:<34} {their_rate:8.1f}  {our_rate / their_rate:6.1f}  {difference}")


if __name__ == "__main__":
    main()
