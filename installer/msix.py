#!/usr/bin/env python3
"""Builds Brelvanta.msix, the package that gives the DLL an identity, so that the Windows 11 file
manager shows the Explorer command at the top of its menu. The package holds only its manifest and
the logo; its files stay where the MSI put them (the manifest's external location).

    msix.py build TEMPLATE ICON VERSION PUBLISHER OUT.msix   the package, unsigned (an empty
                                                             PUBLISHER: the unsigned builds' one)
    msix.py publisher SUBJECT                                a certificate's subject as Windows
                                                             writes it (SUBJECT: openssl's RFC 2253 form)
    msix.py logo ICON OUT.png                                the logo the manifest names

A package is a zip of its files, AppxBlockMap.xml (the SHA-256 of every 64 KiB block of each file)
and [Content_Types].xml. The files are stored, not compressed: they are small, and a stored file's
blocks are its bytes (the block map and the content types themselves are compressed). Signing
(osslsigncode) adds AppxSignature.p7x. Identity/@Publisher must equal the signing certificate's
subject exactly, in Windows' form: the parts in RFC 2253's order, separated by ", ", ST written
S, a value holding a separator in double quotes.
"""
import base64
import hashlib
import struct
import sys
import zipfile
from xml.sax.saxutils import escape, quoteattr

BLOCK = 65536
LOGO = 'Brelvanta.png'
# The publisher of a build that is not signed; a release certificate for this name signs it as it is.
DEFAULT_PUBLISHER = 'CN=Kaldrith Software'
# Zip entries carry this date, so that the same inputs make the same package.
DATE = (2024, 1, 1, 0, 0, 0)
BLOCK_MAP_NAMESPACE = 'http://schemas.microsoft.com/appx/2010/blockmap'
SHA256 = 'http://www.w3.org/2001/04/xmlenc#sha256'


def windows_subject(rfc2253):
    """'CN=A,O=B\\, C,ST=D' (openssl x509 -subject -nameopt RFC2253) as 'CN=A, O="B, C", S=D'."""
    parts, current, escaped = [], '', False
    for char in rfc2253:
        if escaped:
            current += char
            escaped = False
        elif char == '\\':
            escaped = True
        elif char in ',+':
            parts.append(current)
            current = ''
        else:
            current += char
    parts.append(current)
    names = {'ST': 'S', 'emailAddress': 'E', 'street': 'STREET', 'DC': 'DC', 'UID': 'UID'}
    written = []
    for part in parts:
        key, _, value = part.partition('=')
        key = names.get(key, key)
        if any(char in value for char in ',+=<>#;"\n') or value != value.strip():
            value = '"' + value.replace('"', '""') + '"'
        written.append(f'{key}={value}')
    return ', '.join(written)


def largest_png(icon):
    """The largest image of an .ico that is stored as PNG (the 256-pixel one)."""
    count = struct.unpack_from('<HHH', icon)[2]
    best = None
    for index in range(count):
        width, _, _, _, _, _, size, offset = struct.unpack_from('<BBBBHHII', icon, 6 + 16 * index)
        image = icon[offset:offset + size]
        if image.startswith(b'\x89PNG\r\n\x1a\n') and (best is None or (width or 256) > best[0]):
            best = (width or 256, image)
    if best is None:
        raise SystemExit('msix.py: the icon has no PNG image for the logo')
    return best[1]


def manifest(template, version, publisher):
    """The template with its identity filled in; the version gets Windows' fourth part."""
    if version.count('.') == 2:
        version += '.0'
    return (template.replace('@VERSION@', escape(version))
            .replace('@PUBLISHER@', escape(publisher, {'"': '&quot;'}))).encode('utf-8')


def block_map(entries):
    """AppxBlockMap.xml for entries [(name, data, local header size)]."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             f'<BlockMap xmlns="{BLOCK_MAP_NAMESPACE}" HashMethod="{SHA256}">']
    for name, data, header in entries:
        lines.append(f'<File Name={quoteattr(name.replace("/", chr(92)))} Size="{len(data)}" LfhSize="{header}">')
        for start in range(0, len(data), BLOCK):
            digest = base64.b64encode(hashlib.sha256(data[start:start + BLOCK]).digest()).decode()
            lines.append(f'<Block Hash="{digest}"/>')
        lines.append('</File>')
    lines.append('</BlockMap>')
    return '\r\n'.join(lines).encode('utf-8')


def content_types(names):
    extensions = sorted({name.rsplit('.', 1)[1].lower() for name in names if '.' in name} - {'xml'})
    types = {'png': 'image/png', 'dll': 'application/x-msdownload', 'exe': 'application/x-msdownload'}
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">']
    lines += [f'<Default Extension="{ext}" ContentType="{types.get(ext, "application/octet-stream")}"/>'
              for ext in extensions]
    lines += ['<Override PartName="/AppxManifest.xml" ContentType="application/vnd.ms-appx.manifest+xml"/>',
              '<Override PartName="/AppxBlockMap.xml" ContentType="application/vnd.ms-appx.blockmap+xml"/>',
              '</Types>']
    return '\r\n'.join(lines).encode('utf-8')


def write_package(output, files):
    """A package of files [(name, bytes)]; AppxManifest.xml among them."""
    def info(name, compression=zipfile.ZIP_STORED):
        entry = zipfile.ZipInfo(name, DATE)
        entry.compress_type = compression
        entry.create_system = 0
        return entry

    entries = []
    with zipfile.ZipFile(output, 'w') as package:
        for name, data in files:
            entry = info(name)
            package.writestr(entry, data)
            # The local header: 30 bytes, the name, no extra field.
            entries.append((name, data, 30 + len(entry.filename.encode('utf-8'))))
        # These two are compressed, as packaging tools write them: osslsigncode writes the content
        # types again, compressed, whatever the entry said before.
        package.writestr(info('AppxBlockMap.xml', zipfile.ZIP_DEFLATED), block_map(entries))
        package.writestr(info('[Content_Types].xml', zipfile.ZIP_DEFLATED),
                         content_types([name for name, _ in files]))


def main(argv):
    if len(argv) == 7 and argv[1] == 'build':
        template, icon, version, publisher, output = argv[2:]
        with open(template, encoding='utf-8') as file:
            text = file.read()
        with open(icon, 'rb') as file:
            logo = largest_png(file.read())
        write_package(output, [('AppxManifest.xml', manifest(text, version, publisher or DEFAULT_PUBLISHER)),
                               (LOGO, logo)])
    elif len(argv) == 3 and argv[1] == 'publisher':
        print(windows_subject(argv[2]))
    elif len(argv) == 4 and argv[1] == 'logo':
        with open(argv[2], 'rb') as file:
            logo = largest_png(file.read())
        with open(argv[3], 'wb') as file:
            file.write(logo)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
