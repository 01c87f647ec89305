#!/usr/bin/env python3
"""Runs the pre-process and then the post-process over every .epub of a
folder and tells, for each book, whether the conversion kept it intact:

  - the exit statuses of both runs of zef;
  - whether the text of every content document (the XHTML items of the
    manifest) survived: markup, comments, ruby readings (rt, rp) and the
    page list of the navigation document left aside, references decoded,
    the characters must be the same;
  - whether every other file came back byte for byte under the same name;
  - when EPUBCheck is installed, the message codes the output has and the
    input has not.

The last line is "N passed, M failed"; the exit status is 1 when a book
failed. Usage: tools/conformance.py [--zef PROGRAM] [--keep FOLDER] FOLDER
"""

import argparse
import html
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse
import xml.etree.ElementTree as ET
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EPUBCHECK_JAR = "/usr/share/java/epubcheck.jar"
CONTAINER_NS = "urn:oasis:names:tc:opendocument:xmlns:container"
OPF_NS = "http://www.idpf.org/2007/opf"


def entry_name(info):
    """The entry's name; one without the UTF-8 flag is read as UTF-8 too when
    it is valid UTF-8 (as EPUB requires), as zef reads it."""
    if info.flag_bits & 0x800:
        return info.filename
    try:
        return info.filename.encode("cp437").decode("utf-8")
    except UnicodeError:
        return info.filename


def entries(book):
    with zipfile.ZipFile(book) as archive:
        return {entry_name(info): archive.read(info) for info in archive.infolist() if not info.is_dir()}


def content_documents(files):
    """The archive names of the XHTML items of the book's manifests."""
    names = set()
    try:
        container = ET.fromstring(files["META-INF/container.xml"])
    except (KeyError, ET.ParseError):
        return names
    for rootfile in container.iter("{%s}rootfile" % CONTAINER_NS):
        opf = urllib.parse.unquote(rootfile.get("full-path", ""))
        try:
            package = ET.fromstring(files[opf])
        except (KeyError, ET.ParseError):
            continue
        folder = posixpath.dirname(opf)
        for item in package.iter("{%s}item" % OPF_NS):
            media = item.get("media-type", "").split(";")[0].strip().lower()
            if media == "application/xhtml+xml" and item.get("href"):
                href = urllib.parse.unquote(item.get("href").split("#")[0])
                names.add(posixpath.normpath(posixpath.join(folder, href)))
    return names


TOKEN = re.compile(r"<!--.*?-->|<!\[CDATA\[(.*?)\]\]>|<\?.*?\?>|<!DOCTYPE[^>\[]*(\[.*?\])?\s*>|<[^>]*>|&[^;<&\s]*;|[^<&]+|&",
                   re.S)


PAGE_LIST = re.compile(r"<nav\b[^>]*\btype\s*=\s*[\"'][^\"']*\bpage-list\b.*?</nav\s*>", re.S)


def reader_text(data):
    """The characters of an XHTML document as a reader sees them, without
    the readings of ruby (rt, rp) and without a page list (which the
    post-process rebuilds from the page spans)."""
    text = PAGE_LIST.sub("", data.decode("utf-8-sig", errors="replace"))
    out = []
    reading = 0
    for match in TOKEN.finditer(text):
        token = match.group(0)
        if token.startswith("<![CDATA["):
            if not reading:
                out.append(match.group(1))
        elif token.startswith("<"):
            if token.startswith(("<!", "<?")):
                continue
            name = re.match(r"</?\s*([^\s/>]*)", token).group(1).split(":")[-1]
            if name in ("rt", "rp") and not token.endswith("/>"):
                reading += -1 if token.startswith("</") else 1
        elif not reading:
            out.append(html.unescape(token) if token.startswith("&") else token)
    return "".join(out)


def epubcheck_codes(book):
    if not (os.path.exists(EPUBCHECK_JAR) and shutil.which("java")):
        return None
    run = subprocess.run(["java", "-jar", EPUBCHECK_JAR, book], capture_output=True, text=True, errors="replace")
    return set(re.findall(r"(?:FATAL|ERROR|WARNING)\([A-Z]+-[0-9]+[a-z]?\)", run.stdout + run.stderr))


def convert(zef, book, folder):
    pre = os.path.join(folder, "pre.epub")
    post = os.path.join(folder, "post.epub")
    statuses = []
    messages = []
    for arguments in (["-a", book, pre], [pre, post]):
        run = subprocess.run([zef] + arguments, capture_output=True, text=True, errors="replace")
        statuses.append(run.returncode)
        messages.append(run.stderr.strip().splitlines()[0] if run.stderr.strip() else "")
        if run.returncode != 0:
            break
    return statuses, messages, post


def check(zef, book, keep):
    folder = tempfile.mkdtemp(prefix="conformance.")
    try:
        statuses, messages, post = convert(zef, book, folder)
        report = ["pre %d" % statuses[0]] + (["post %d" % statuses[1]] if len(statuses) > 1 else [])
        if any(statuses):
            report.append(next(m for m in messages if m) if any(messages) else "no message")
            return False, report
        before = entries(book)
        after = entries(post)
        documents = content_documents(before)
        lost = [name for name in sorted(documents & before.keys())
                if name not in after or reader_text(before[name]) != reader_text(after[name])]
        changed = [name for name in sorted(before.keys() - documents)
                   if name not in after or after[name] != before[name]]
        added = sorted(after.keys() - before.keys())
        report.append("text kept (%d documents)" % len(documents & before.keys()) if not lost
                      else "text changed: " + ", ".join(lost))
        others = len(before.keys() - documents)
        report.append("other files identical (%d)" % others if not changed and not added
                      else "files changed: " + ", ".join(changed + ["+" + name for name in added]))
        ok = not lost and not changed and not added
        codes_before = epubcheck_codes(book)
        if codes_before is not None:
            new = sorted(epubcheck_codes(post) - codes_before)
            report.append("EPUBCheck: " + (" ".join(new) + " new" if new else "nothing new"))
            ok = ok and not new
        if keep:
            shutil.copy(post, os.path.join(keep, os.path.basename(book)))
        return ok, report
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description="Pre- and post-process every EPUB of a folder and check the result.")
    parser.add_argument("folder")
    parser.add_argument("--zef", default=os.path.join(ROOT, "build", "zef", "zef"), help="the converter to run")
    parser.add_argument("--keep", help="a folder to copy every converted book into")
    options = parser.parse_args()
    books = sorted(name for name in os.listdir(options.folder) if name.endswith(".epub"))
    passed = failed = 0
    for name in books:
        ok, report = check(options.zef, os.path.join(options.folder, name), options.keep)
        print("%s: %s: %s" % (name, ", ".join(report), "passed" if ok else "FAILED"), flush=True)
        passed += ok
        failed += not ok
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
