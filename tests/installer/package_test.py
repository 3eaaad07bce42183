#!/usr/bin/env python3
"""Checks the Windows 11 menu's package and the MSI that installs it, as scripts/package builds them.

    package_test.py            the package's invariants and the MSI's custom actions
    package_test.py signing    builds signed with throw-away certificates, verified by osslsigncode

Nothing of the package's registration exists under Wine: these checks read what was built. The
.msix is read from the MSI's own files (msiextract), so what is checked is what installs. Exits 77
(skipped) when dist/ lacks a deliverable, or, for signing, when osslsigncode is not installed.
"""
import base64
import hashlib
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

from checklog import STARTED, check, failures

ROOT = Path(__file__).resolve().parents[2]
DIST = ROOT / 'dist'
# Imported from the source tree, which keeps no compiled copy of it.
sys.dont_write_bytecode = True
sys.path.insert(0, str(ROOT / 'installer'))
import msix  # noqa: E402

NS = {'m': 'http://schemas.microsoft.com/appx/manifest/foundation/windows10',
      'uap': 'http://schemas.microsoft.com/appx/manifest/uap/windows10',
      'uap10': 'http://schemas.microsoft.com/appx/manifest/uap/windows10/10',
      'desktop4': 'http://schemas.microsoft.com/appx/manifest/desktop/windows10/4',
      'desktop5': 'http://schemas.microsoft.com/appx/manifest/desktop/windows10/5',
      'com': 'http://schemas.microsoft.com/appx/manifest/com/windows10',
      'b': 'http://schemas.microsoft.com/appx/2010/blockmap',
      'ct': 'http://schemas.openxmlformats.org/package/2006/content-types'}
EXPLORER_COMMAND_CLSID = '070D7289-EA5A-42FA-A267-958BEEEF4B00'
# Windows Installer's custom action type bits.
CONTINUE, IN_SCRIPT, NO_IMPERSONATE, EXE_FROM_PROPERTY = 0x40, 0x400, 0x800, 50



# ---- the .msix as a zip -------------------------------------------------------------------------

def check_package_file(path, what):
    """The zip's layout against its block map: every file but the block map, the content types and
    the signature is listed, with its size, its local header's size and each 64 KiB block's hash."""
    data = Path(path).read_bytes()
    with zipfile.ZipFile(path) as package:
        entries = package.infolist()
        names = [entry.filename for entry in entries]
        blocks = ET.fromstring(package.read('AppxBlockMap.xml'))
        types = ET.fromstring(package.read('[Content_Types].xml'))
        mapped = {file.get('Name'): file for file in blocks.findall('b:File', NS)}
        unmapped = ('AppxBlockMap.xml', '[Content_Types].xml', 'AppxSignature.p7x')
        listed = [name for name in names if name not in unmapped]
        check(sorted(mapped) == sorted(name.replace('/', '\\') for name in listed),
              f'{what}: the block map lists every file of the package ({", ".join(listed)})')
        check(blocks.get('HashMethod') == 'http://www.w3.org/2001/04/xmlenc#sha256',
              f'{what}: blocks hashed with SHA-256')
        for entry in entries:
            file = mapped.get(entry.filename.replace('/', '\\'))
            if file is None:
                continue
            content = package.read(entry)
            name_length, extra_length = struct.unpack_from('<HH', data, entry.header_offset + 26)
            expected = [base64.b64encode(hashlib.sha256(content[start:start + 65536]).digest()).decode()
                        for start in range(0, len(content), 65536)]
            check(int(file.get('Size')) == len(content) and int(file.get('LfhSize')) == 30 + name_length + extra_length
                  and [block.get('Hash') for block in file.findall('b:Block', NS)] == expected
                  and entry.compress_type == zipfile.ZIP_STORED,
                  f'{what}: {entry.filename} ({len(content)} bytes): size, local header and '
                  f'{len(expected)} block hashes')
        overrides = {item.get('PartName'): item.get('ContentType') for item in types.findall('ct:Override', NS)}
        check(overrides.get('/AppxManifest.xml') == 'application/vnd.ms-appx.manifest+xml'
              and overrides.get('/AppxBlockMap.xml') == 'application/vnd.ms-appx.blockmap+xml',
              f'{what}: the content types name the manifest and the block map')
        return {name: package.read(name) for name in names}


def check_block_maps():
    """Files of the sizes around a block's edges, with random content."""
    generator = random.Random(27)
    with tempfile.TemporaryDirectory() as work:
        for size in (0, 1, 65535, 65536, 65537, 3 * 65536 + 5):
            path = Path(work) / f'{size}.msix'
            files = [('AppxManifest.xml', b'<Package/>'), (f'Assets/data{size}.bin', generator.randbytes(size))]
            msix.write_package(path, files)
            check_package_file(path, f'a package with a {size}-byte file')


# ---- the publisher: a certificate's subject as Windows writes it ------------------------------------

PUBLISHERS = [
    ('CN=Kaldrith Software', 'CN=Kaldrith Software'),
    ('CN=Kaldrith Software,O=Kaldrith Software,L=Bern,ST=Bern,C=CH',
     'CN=Kaldrith Software, O=Kaldrith Software, L=Bern, S=Bern, C=CH'),
    ('CN=Brelvanta Test,O=Kaldrith\\, Test,C=US', 'CN=Brelvanta Test, O="Kaldrith, Test", C=US'),
    ('CN=A \\"B\\" C', 'CN="A ""B"" C"'),
]


def check_publishers():
    for subject, expected in PUBLISHERS:
        got = msix.windows_subject(subject)
        check(got == expected, f'the subject {subject} is published as {expected} (got {got})')


# ---- the built MSI ---------------------------------------------------------------------------------

def package(output, env=None):
    result = subprocess.run([str(ROOT / 'scripts' / 'package'), '--no-build', '--output', str(output)],
                            capture_output=True, text=True, env=dict(os.environ, **(env or {})))
    print(result.stdout + result.stderr, end='')
    return result.returncode == 0


def extract(msi, folder):
    """The MSI's files; returns the folder they install into (the one with Brelvanta.dll)."""
    subprocess.run(['msiextract', '-C', str(folder), str(msi)], check=True, capture_output=True)
    return next(Path(folder).rglob('Brelvanta.dll')).parent


def msi_table(msi, table):
    lines = subprocess.run(['msiinfo', 'export', str(msi), table], capture_output=True, text=True,
                           check=True).stdout.splitlines()
    columns = lines[0].split('\t')
    return [dict(zip(columns, line.split('\t'))) for line in lines[3:]]


def guid_of_struct(text):
    """A CLSID written as {0x..., 0x..., 0x..., {0x.., ...}} in the registry's form."""
    numbers = [int(number, 16) for number in re.findall(r'0x([0-9a-fA-F]+)', text)]
    if len(numbers) != 11:
        return None
    tail = ''.join(f'{byte:02X}' for byte in numbers[3:])
    return f'{numbers[0]:08X}-{numbers[1]:04X}-{numbers[2]:04X}-{tail[:4]}-{tail[4:]}'


def source_clsids():
    """The CLSID constants that shellext/ declares, by name."""
    found = {}
    for header in (ROOT / 'shellext').glob('*.h'):
        text = header.read_text(encoding='utf-8', errors='replace')
        for name, value in re.findall(r'CLSID\s+(CLSID_\w+)\s*=\s*(\{[^;]*\})\s*;', text):
            found[name] = guid_of_struct(value)
    return found


def manifest_of(files):
    return ET.fromstring(files['AppxManifest.xml'])


def check_manifest(manifest, folder, package_files, version, publisher, what):
    """One class id everywhere; the identity; every file the manifest names in the install folder."""
    identity = manifest.find('m:Identity', NS)
    check(identity.get('Publisher') == publisher,
          f'{what}: the publisher is {publisher} (is {identity.get("Publisher")})')
    check(identity.get('Version') == version + '.0', f'{what}: the package version is {version}.0')
    check(manifest.findtext('m:Properties/uap10:AllowExternalContent', namespaces=NS) == 'true',
          f'{what}: the package allows external content')
    verbs = {item.get('Type'): [(verb.get('Id'), verb.get('Clsid')) for verb in item.findall('desktop5:Verb', NS)]
             for item in manifest.iterfind('.//desktop4:Extension[@Category="windows.fileExplorerContextMenus"]'
                                           '//desktop5:ItemType', NS)}
    check(verbs == {'*': [('Brelvanta', EXPLORER_COMMAND_CLSID)], 'Directory': [('Brelvanta', EXPLORER_COMMAND_CLSID)]},
          f'{what}: files (*) and folders (Directory) have the verb Brelvanta with the Explorer command class '
          f'({verbs})')
    classes = [(item.get('Id'), item.get('Path'), item.get('ThreadingModel')) for item in manifest.iterfind(
        './/com:Extension[@Category="windows.comServer"]/com:ComServer/com:SurrogateServer/com:Class', NS)]
    check(classes == [(EXPLORER_COMMAND_CLSID, 'Brelvanta.dll', 'STA')],
          f'{what}: the surrogate serves that class from Brelvanta.dll ({classes})')
    application = manifest.find('m:Applications/m:Application', NS)
    visuals = application.find('uap:VisualElements', NS)
    named = {'Logo': manifest.findtext('m:Properties/m:Logo', namespaces=NS),
             'Executable': application.get('Executable'),
             'Square150x150Logo': visuals.get('Square150x150Logo'), 'Square44x44Logo': visuals.get('Square44x44Logo')}
    named.update({f'class {clsid}': path for clsid, path, _ in classes})
    for role, path in named.items():
        check(bool(path) and (folder / path.replace('\\', '/')).is_file(),
              f'{what}: {role} {path} is installed beside the package')
        if 'Logo' in role:
            check(path.replace('\\', '/') in package_files, f'{what}: {role} {path} is in the package too')


def check_clsid_sources():
    clsids = source_clsids()
    classic = clsids.get('CLSID_BrelvantaShExt')
    check(classic is not None and classic != EXPLORER_COMMAND_CLSID,
          f'the classic handler ({classic}) and the Explorer command are two classes')
    command = clsids.get('CLSID_BrelvantaExplorerCommand')
    check(command == EXPLORER_COMMAND_CLSID, f'the DLL serves the manifest\'s class ({command})')
    wxs = (ROOT / 'installer' / 'Brelvanta.wxs').read_text(encoding='utf-8')
    # The marker the registration writes is the one the classic handler reads to step aside.
    header = (ROOT / 'shellext' / 'PackagedMenu.h').read_text(encoding='utf-8')
    marker = re.search(r'kPackagedMenuValue\[\]\s*=\s*L"([^"]+)"', header)
    check(marker is not None and f'/v {marker.group(1)} ' in wxs,
          f'the registration writes the value the handler reads ({marker.group(1) if marker else None})')
    check(classic is not None and classic in wxs and EXPLORER_COMMAND_CLSID not in wxs,
          'the MSI registers the classic class only: the package declares the Explorer command')


def check_custom_actions(msi):
    """The package's registration: after the files are in place, removed before they go, run as the
    installing user, and never failing the install."""
    actions = {row['Action']: row for row in msi_table(msi, 'CustomAction')}
    sequence = {row['Action']: row for row in msi_table(msi, 'InstallExecuteSequence')}
    files = {row['File']: row for row in msi_table(msi, 'File')}
    order = {action: int(row['Sequence']) for action, row in sequence.items()}
    powershell = actions.get('FindPowerShell', {})
    check(powershell.get('Source') == 'POWERSHELL' and powershell.get('Target', '').endswith('\\powershell.exe')
          and order.get('FindPowerShell', 10**6) < order['InstallInitialize'],
          'POWERSHELL is set to powershell.exe before the install script is written')
    # (action, component state that runs it, what it must run, runs after, runs before)
    expected = [
        ('RegisterExplorerCommandPackage', 3, ('Add-AppxPackage -Path \\"[#BrelvantaMsix]\\"',
                                               '-ExternalLocation \\"[INSTALLDIR].\\"',
                                               'reg.exe add \\"HKCU\\Software\\Kaldrith Software\\Brelvanta\\" '
                                               '/v ExplorerCommandPackage /t REG_DWORD /d 1'),
         ('InstallFiles', 'WriteRegistryValues'), ('InstallFinalize',)),
        ('RemoveExplorerCommandPackage', 2, ('Get-AppxPackage -Name KaldrithSoftware.Brelvanta | Remove-AppxPackage',
                                             'reg.exe delete \\"HKCU\\Software\\Kaldrith Software\\Brelvanta\\" '
                                             '/v ExplorerCommandPackage'),
         ('InstallInitialize',), ('RemoveFiles',)),
    ]
    for action, state, commands, after, before in expected:
        row, step = actions.get(action), sequence.get(action)
        if not check(row is not None and step is not None, f'{action} is a custom action of the sequence'):
            continue
        kind = int(row['Type'])
        check(kind & 0x3F == EXE_FROM_PROPERTY and row['Source'] == 'POWERSHELL',
              f'{action} runs the program POWERSHELL names (type {kind})')
        check(kind & IN_SCRIPT and not kind & NO_IMPERSONATE,
              f'{action} is deferred and runs as the installing user (type {kind})')
        check(kind & CONTINUE, f'{action}: its failure never fails the install (type {kind} has 64)')
        check(all(command in row['Target'] for command in commands) and not re.search(r'[{}]', row['Target']),
              f'{action} runs {"; ".join(commands)}')
        check(step['Condition'] == f'$ExplorerCommandPackage={state}',
              f'{action} runs when the package\'s component is {"installed" if state == 3 else "removed"} '
              f'({step["Condition"]})')
        check(all(order[other] < order[action] for other in after)
              and all(order[action] < order[other] for other in before),
              f'{action} runs after {", ".join(after)} and before {", ".join(before)}')
    msix_file = files.get('BrelvantaMsix', {})
    check(msix_file.get('FileName', '').endswith('Brelvanta.msix')
          and files.get('BrelvantaDll', {}).get('Component_') == 'ShellExtension'
          and msix_file.get('Component_') == 'ExplorerCommandPackage',
          'the package installs Brelvanta.msix in a component of its own')


def project_version():
    for line in (ROOT / 'CMakeLists.txt').read_text().splitlines():
        if line.startswith('project(Brelvanta VERSION '):
            return line.split()[2]
    raise SystemExit('no project version in CMakeLists.txt')


def invariants(work):
    check_block_maps()
    check_publishers()
    check_clsid_sources()
    msi = work / 'unsigned.msi'
    if not check(package(msi), 'scripts/package builds the unsigned package'):
        return
    check_custom_actions(msi)
    folder = extract(msi, work / 'unsigned')
    files = check_package_file(folder / 'Brelvanta.msix', 'the installed Brelvanta.msix')
    check('AppxSignature.p7x' not in files, 'an unsigned build has an unsigned package')
    check_manifest(manifest_of(files), folder, files, project_version(), msix.DEFAULT_PUBLISHER, 'unsigned')


# ---- signing -----------------------------------------------------------------------------------------

SUBJECT = '/C=US/O=Kaldrith, Test/CN=Brelvanta Test'
PUBLISHER = 'CN=Brelvanta Test, O="Kaldrith, Test", C=US'


def openssl(*arguments):
    subprocess.run(['openssl', *arguments], check=True, capture_output=True)


def verified(path, ca):
    result = subprocess.run(['osslsigncode', 'verify', '-CAfile', str(ca), '-in', str(path)], capture_output=True,
                            text=True)
    return result.returncode == 0 and 'Signature verification: ok' in result.stdout


def signing(work):
    if shutil.which('osslsigncode') is None:
        print('SKIPPED: osslsigncode is not installed (scripts/setup installs it where Debian has it)')
        return 77
    # A throw-away certificate for code signing, with a separator in its subject.
    key, cert, pfx, locked = work / 'key.pem', work / 'cert.pem', work / 'cert.pfx', work / 'locked.pem'
    password = 's3cret word'
    openssl('req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', str(key), '-out', str(cert), '-days', '1',
            '-subj', SUBJECT, '-addext', 'extendedKeyUsage=codeSigning')
    openssl('pkcs12', '-export', '-in', str(cert), '-inkey', str(key), '-out', str(pfx), '-passout', f'pass:{password}')
    openssl('pkey', '-in', str(key), '-out', str(locked), '-aes256', '-passout', f'pass:{password}')
    ways = [('a certificate and its key', {'BRELVANTA_SIGN_CERT': str(cert), 'BRELVANTA_SIGN_KEY': str(key)}),
            ('a certificate and its locked key', {'BRELVANTA_SIGN_CERT': str(cert), 'BRELVANTA_SIGN_KEY': str(locked),
                                                  'BRELVANTA_SIGN_PASSWORD': password}),
            ('a PFX with a password', {'BRELVANTA_SIGN_PFX': str(pfx), 'BRELVANTA_SIGN_PASSWORD': password})]
    for number, (what, env) in enumerate(ways):
        msi = work / f'signed-{number}.msi'
        if not check(package(msi, env), f'scripts/package signs with {what}'):
            continue
        check(verified(msi, cert), f'{what}: osslsigncode verifies the MSI')
        folder = extract(msi, work / msi.stem)
        for name in ('Brelvanta.dll', 'BrelvantaConfigure.exe', 'Brelvanta.msix'):
            check(verified(folder / name, cert), f'{what}: osslsigncode verifies the installed {name}')
        files = check_package_file(folder / 'Brelvanta.msix', f'{what}: the signed Brelvanta.msix')
        check('AppxSignature.p7x' in files, f'{what}: the package holds its signature')
        check_manifest(manifest_of(files), folder, files, project_version(), PUBLISHER, what)
    unsigned = work / 'unsigned.msi'
    if check(package(unsigned), 'without a certificate the package is built unsigned'):
        check(not verified(unsigned, cert), 'osslsigncode finds no signature on it')
    wrong = {'BRELVANTA_SIGN_CERT': str(cert)}
    check(not package(work / 'half.msi', wrong) and not (work / 'half.msi').exists(),
          'a certificate without its key fails the build and leaves no package')
    return None


def main():
    missing = [name for name in ('Brelvanta.dll', 'BrelvantaConfigure.exe', 'presets.xml')
               if not (DIST / name).exists()]
    if missing:
        print(f'SKIPPED: dist/ lacks {", ".join(missing)}; the package needs them (scripts/build puts them there)')
        return 77
    with tempfile.TemporaryDirectory(prefix='package-test-') as work:
        if sys.argv[1:] == ['signing']:
            code = signing(Path(work))
            if code is not None:
                return code
        else:
            invariants(Path(work))
    print(f'package test: {len(failures)} failed, {time.monotonic() - STARTED:.0f} s')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
