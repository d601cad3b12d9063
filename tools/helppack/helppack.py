#!/usr/bin/env python3
"""Packs an HTML page and the pictures it names into one MHTML document
(multipart/related: the page first, quoted-printable, then each picture in base64,
found by its Content-Location), so that a browser shows the page with its pictures
from the single file.

usage: helppack.py PAGE.html OUT.mht"""
import base64
import mimetypes
import os
import quopri
import re
import sys

BOUNDARY = '----=_NextPart_vorpen_help'


def pictures(html):
    seen = []
    for name in re.findall(r'<img[^>]+src="([^"]+)"', html):
        if '://' not in name and name not in seen:
            seen.append(name)
    return seen


def pack(page_path):
    with open(page_path, encoding='utf-8') as f:
        html = f.read()
    folder = os.path.dirname(os.path.abspath(page_path))
    base = 'file:///vorpen-help/'
    parts = []
    body = quopri.encodestring(html.replace('\r\n', '\n').encode('utf-8')).decode('ascii')
    parts.append('Content-Type: text/html; charset="utf-8"\r\n'
                 'Content-Transfer-Encoding: quoted-printable\r\n'
                 'Content-Location: ' + base + 'index.html\r\n\r\n' + body.replace('\n', '\r\n'))
    for name in pictures(html):
        path = os.path.join(folder, name)
        with open(path, 'rb') as f:
            data = base64.encodebytes(f.read()).decode('ascii').replace('\n', '\r\n')
        kind = mimetypes.guess_type(name)[0] or 'application/octet-stream'
        parts.append('Content-Type: ' + kind + '\r\n'
                     'Content-Transfer-Encoding: base64\r\n'
                     'Content-Location: ' + base + name + '\r\n\r\n' + data)
    head = ('MIME-Version: 1.0\r\n'
            'Subject: =?utf-8?B?' + base64.b64encode('时钟桌面日历操作说明'.encode('utf-8')).decode('ascii') + '?=\r\n'
            'Snapshot-Content-Location: ' + base + 'index.html\r\n'
            'Content-Type: multipart/related; type="text/html"; boundary="' + BOUNDARY + '"\r\n\r\n'
            'This is a multi-part message in MIME format.\r\n\r\n')
    return head + ''.join('--' + BOUNDARY + '\r\n' + p + '\r\n' for p in parts) + '--' + BOUNDARY + '--\r\n'


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    text = pack(sys.argv[1])
    with open(sys.argv[2], 'w', encoding='ascii', newline='') as f:
        f.write(text)


if __name__ == '__main__':
    main()
