"""The command line shared by the table generators: [--check] DIR."""
import os
import sys


def main(usage, generate):
    """generate(DIR) answers {path: text}. Writes every file, or with --check
    exits 1 naming the files that differ from what would be written."""
    args = sys.argv[1:]
    check = args[:1] == ["--check"]
    if check:
        args = args[1:]
    if len(args) != 1:
        sys.exit(usage)
    stale = []
    for path, text in sorted(generate(args[0]).items()):
        if check:
            try:
                with open(path, encoding="utf-8") as f:
                    if f.read() != text:
                        stale.append(path)
            except FileNotFoundError:
                stale.append(path)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
    if stale:
        sys.exit("out of date: " + " ".join(stale))
