#!/usr/bin/env python3
"""Turns the user guide (Markdown) into one self-contained HTML page for the release package: the
same text, its pictures embedded, readable in any browser without the repository.

    guide_html.py docs/user-guide.md OUT.html

Uses Debian's python3-markdown. The output depends only on the guide and its pictures."""

import base64
import html
import os
import re
import sys


sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from debian_python import require  # noqa: E402

markdown = require("markdown")

STYLE = """
body { font-family: "Segoe UI", system-ui, sans-serif; max-width: 46em; margin: 2em auto; padding: 0 1em;
       line-height: 1.5; color: #1c1c22; }
h1, h2, h3 { line-height: 1.2; }
code, pre { font-family: Consolas, monospace; background: #f2f2f5; border-radius: 4px; padding: 0 .25em; }
pre { padding: .6em; overflow-x: auto; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #d0d0d8; padding: .3em .6em; text-align: left; vertical-align: top; }
img { max-width: 100%; border: 1px solid #d0d0d8; border-radius: 6px; }
"""


def embed_images(body, base):
    def inline(match):
        path = os.path.join(base, html.unescape(match.group(1)))
        with open(path, "rb") as picture:
            data = base64.b64encode(picture.read()).decode("ascii")
        return 'src="data:image/png;base64,%s"' % data
    return re.sub(r'src="([^":]+\.png)"', inline, body)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8") as source:
        text = source.read()
    title = next((line[2:].strip() for line in text.splitlines() if line.startswith("# ")), "Tavisk")
    body = markdown.markdown(text, extensions=["tables", "fenced_code"])
    body = embed_images(body, os.path.dirname(os.path.abspath(argv[1])))
    page = ("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>%s</title>\n"
            "<style>%s</style>\n</head>\n<body>\n%s\n</body>\n</html>\n" % (html.escape(title), STYLE, body))
    with open(argv[2], "w", encoding="utf-8", newline="\r\n") as out:
        out.write(page)


if __name__ == "__main__":
    main(sys.argv)
