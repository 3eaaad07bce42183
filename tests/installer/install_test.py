#!/usr/bin/env python3
"""Installs, upgrades, downgrades and removes the Windows Installer package silently with Wine's
msiexec, in a Wine prefix of its own, and checks what each step leaves behind.

    install_test.py INSTALLED_TESTS_EXE

INSTALLED_TESTS_EXE checks the installed product from inside the prefix (COM activation, menu,
shortcut, Windows Installer's own list of products). The keys the package writes are compared
with the keys the DLL's own registration writes for a DLL in the same place. Exits 77 (skipped)
when dist/ lacks a deliverable that the package needs and the build does not yet make.
"""
import os
import re
import shutil
import subprocess
import sys
import time
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

from checklog import check, failures

ROOT = Path(__file__).resolve().parents[2]
PREFIX = ROOT / 'build' / 'wine-msi'
WORK = ROOT / 'build' / 'install-test'
DIST = ROOT / 'dist'
CLASS_ID = '{6F2C1B8E-4A73-4D5B-9E21-7C8A3F1D5B42}'
# What the product registers; everything below these keys is compared.
PRODUCT_KEYS = [
    'Software\\Classes\\CLSID\\' + CLASS_ID,
    'Software\\Classes\\*\\ShellEx\\ContextMenuHandlers\\BrelvantaShExt',
    'Software\\Classes\\Folder\\ShellEx\\ContextMenuHandlers\\BrelvantaShExt',
]
# Wine runs as the Unix user; its Windows profile folder carries that name.
USER = os.environ.get('USER') or 'root'
USER_PROFILE = f'C:\\users\\{USER}'
USER_FOLDER = USER_PROFILE + '\\AppData\\Local\\Programs\\Brelvanta'
MACHINE_FOLDER = 'C:\\Program Files\\Brelvanta'
USER_PROGRAMS_MENU = USER_PROFILE + '\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs'
MACHINE_PROGRAMS_MENU = 'C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs'
SHORTCUT = 'Configure Brelvanta.lnk'



def wine_env():
    env = dict(os.environ, BRELVANTA_PREFIX=str(PREFIX), WINEPREFIX=str(PREFIX), WINEDEBUG='-all',
               BRELVANTA_XDG_DATA_HOME=str(WORK / 'xdg-data'))
    return env


def wine(*args, env=None, quiet=True):
    """Runs a Windows program in the test's prefix; returns its exit code."""
    run_env = wine_env()
    run_env.update(env or {})
    out = subprocess.DEVNULL if quiet else None
    return subprocess.run([str(ROOT / 'scripts' / 'wine-run'), *args], env=run_env, stdin=subprocess.DEVNULL,
                          stdout=out, stderr=out).returncode


def wait_for_wineserver():
    """The wineserver writes the registry to the prefix's files when it ends, a moment after the
    last program of the prefix."""
    subprocess.run(['wineserver', '-w'], env=wine_env(), check=False)


def unix_path(windows_path):
    drive, rest = windows_path.split(':', 1)
    assert drive.upper() == 'C'
    return PREFIX / 'drive_c' / rest.lstrip('\\').replace('\\', '/')


def windows_path(path):
    return 'Z:' + str(path).replace('/', '\\')


def msiexec(action, package, log_name, *properties):
    log = WORK / log_name
    code = wine('msiexec', action, windows_path(package), '/qn', '/l*v', windows_path(log), *properties)
    wait_for_wineserver()
    return code, log.read_text(encoding='utf-8', errors='replace') if log.exists() else ''


# ---- snapshots of the prefix: its files and its two registry hives -------------------------------

# Folders Wine or Windows Installer write to on every run (temporary files, its own logs).
VOLATILE_FOLDERS = ('windows/temp/', f'users/{USER}/temp/', f'users/{USER}/appdata/local/temp/')


def file_snapshot():
    drive = PREFIX / 'drive_c'
    entries = {}
    for folder, folders, files in os.walk(drive):
        relative = Path(folder).relative_to(drive).as_posix()
        relative = '' if relative == '.' else relative + '/'
        if relative.lower().startswith(VOLATILE_FOLDERS):
            continue
        for name in folders:
            entries[relative + name + '/'] = None
        for name in files:
            path = Path(folder) / name
            if path.is_symlink():
                continue
            # Size and time tell a changed file; reading the whole prefix each time would be slow.
            status = path.stat()
            entries[relative + name] = (status.st_size, status.st_mtime_ns)
    return entries


def parse_hive(path):
    """A Wine registry file as {key: frozenset of its value lines}; times and classes left out."""
    keys = {}
    current = None
    pending = ''
    for line in path.read_text(encoding='utf-8', errors='replace').splitlines():
        if pending:
            line = pending + line.strip()
            pending = ''
        if line.endswith('\\') and current is not None and not line.startswith('['):
            pending = line[:-1]
            continue
        if line.startswith('['):
            current = line[1:line.rindex(']')].replace('\\\\', '\\')
            keys[current] = set()
        elif current is not None and line and not line.startswith('#'):
            keys[current].add(line)
    return {key: frozenset(values) for key, values in keys.items()}


def registry_snapshot():
    return {'HKLM': parse_hive(PREFIX / 'system.reg'), 'HKCU': parse_hive(PREFIX / 'user.reg')}


def snapshot():
    wait_for_wineserver()
    return {'files': file_snapshot(), 'registry': registry_snapshot()}


def product_keys(registry, hive):
    """The product's keys in one hive, as {key: values}."""
    found = {}
    for key, values in registry[hive].items():
        lowered = key.lower()
        if any(lowered == k.lower() or lowered.startswith(k.lower() + '\\') for k in PRODUCT_KEYS):
            found[key.lower()] = values
    return found


def differences(before, after):
    """What changed between two snapshots, as readable lines."""
    lines = []
    for path in sorted(set(before['files']) | set(after['files'])):
        old, new = before['files'].get(path, 'absent'), after['files'].get(path, 'absent')
        if old != new:
            state = 'left' if old == 'absent' else 'gone' if new == 'absent' else 'changed'
            lines.append(f'file {state}: {path}')
    for hive in ('HKLM', 'HKCU'):
        old_keys, new_keys = before['registry'][hive], after['registry'][hive]
        for key in sorted(set(old_keys) | set(new_keys)):
            old, new = old_keys.get(key), new_keys.get(key)
            if old == new:
                continue
            if old is None:
                lines.append(f'key left: {hive}\\{key} {sorted(new)}')
            elif new is None:
                lines.append(f'key gone: {hive}\\{key}')
            else:
                lines.append(f'values changed: {hive}\\{key}: {sorted(old ^ new)}')
    return lines


# What Wine itself rewrites whenever a program starts (a driver's date), and the stores Windows
# Installer makes for itself on its first use and leaves empty: a Windows machine has them all
# along. A product's own entry in them is a key of its own and still counts.
WINE_NOISE = ('"DriverDateData"=',)
INSTALLER_STORES = ('key left: HKLM\\Software\\Classes\\Installer\\',
                    'key left: HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\',
                    'key left: HKCU\\Software\\Microsoft\\Installer\\')
INSTALLER_FOLDERS = ('file left: windows/Installer/', f'file left: users/{USER}/AppData/Roaming/Microsoft/Installer/')


# Wine's msiexec also removes the shared parent keys of a removed key once they are empty, even
# when they were there before; on Windows they hold every other program's handlers.
SHARED_PARENTS = ('key gone: HKLM\\Software\\Classes\\*\\shellex\\ContextMenuHandlers',
                  'key gone: HKLM\\Software\\Classes\\folder\\shellex\\ContextMenuHandlers')


def is_wine_noise(line):
    if any(part in line for part in WINE_NOISE) or line in SHARED_PARENTS:
        return True
    if line.startswith(INSTALLER_STORES) and line.endswith(' []'):
        return True
    return line in INSTALLER_FOLDERS


def check_left_as_before(before, after, what):
    left = [line for line in differences(before, after) if not is_wine_noise(line)]
    for line in left[:40]:
        print('     ' + line)
    check(not left, what)


# ---- the steps --------------------------------------------------------------------------------------

def msi_table(msi, table):
    """The rows of one table of the package, each as {column: value}."""
    lines = subprocess.run(['msiinfo', 'export', str(msi), table], capture_output=True, text=True,
                           check=True).stdout.splitlines()
    columns = lines[0].split('\t')
    return [dict(zip(columns, line.split('\t'))) for line in lines[3:]]


# The package's folders in the user's profile when it installs per user.
PROFILE_FOLDERS = {'ProgramsFolder', 'INSTALLDIR', 'ProgramMenuFolder'}


def check_package_registration(log, installing, what):
    """Wine's msiexec runs the custom actions that register and remove the Windows 11 menu's
    package when their conditions hold; Wine has no package manager (its PowerShell does nothing),
    so only the choice of action, and that the install goes on, can be seen here."""
    ran = {action: re.search(rf'^Action start [0-9:]+: {action}\.', log, re.MULTILINE) is not None
           for action in ('RegisterExplorerCommandPackage', 'RemoveExplorerCommandPackage')}
    expected = {'RegisterExplorerCommandPackage': installing, 'RemoveExplorerCommandPackage': not installing}
    check(ran == expected, f'{what}: the package\'s registration action runs, its removal does not' if installing
          else f'{what}: the package\'s removal action runs, its registration does not')


def check_tables(msi):
    """The Windows Installer rules that apply to this package, read from its tables."""
    features = {row['Feature'] for row in msi_table(msi, 'Feature')}
    for row in msi_table(msi, 'Shortcut'):
        check(row['Target'] not in features and row['Target'].startswith('[#'),
              f'the shortcut {row["Shortcut"]} is not advertised: it names its file ({row["Target"]})')
        check(bool(row['Icon_']), f'the shortcut {row["Shortcut"]} has its icon')
    registry = {row['Registry']: row for row in msi_table(msi, 'Registry')}
    for row in msi_table(msi, 'Component'):
        key = registry.get(row['KeyPath'])
        # HKMU (-1) is HKCU in a per-user install.
        check(row['Directory_'] not in PROFILE_FOLDERS or (key is not None and key['Root'] in ('-1', '1')),
              f'the component {row["Component"]} in the user\'s profile has a registry key path')
    removed = {row['DirProperty'] for row in msi_table(msi, 'RemoveFile') if row['InstallMode'] in ('2', '3')}
    for folder in PROFILE_FOLDERS - {'ProgramMenuFolder'}:
        check(folder in removed, f'the folder {folder} in the user\'s profile is removed on uninstall')
    check('StartMenuShortcut' in features, 'the Start-menu shortcut is a feature of its own')


def project_version():
    for line in (ROOT / 'CMakeLists.txt').read_text().splitlines():
        if line.startswith('project(Brelvanta VERSION '):
            return line.split()[2]
    raise SystemExit('no project version in CMakeLists.txt')


def lower_version(version):
    major, minor, patch = (int(part) for part in version.split('.'))
    if patch:
        return f'{major}.{minor}.{patch - 1}'
    if minor:
        return f'{major}.{minor - 1}.0'
    return f'{major - 1}.99.0'


def package(*arguments):
    result = subprocess.run([str(ROOT / 'scripts' / 'package'), '--no-build', *arguments], capture_output=True,
                            text=True)
    print(result.stdout + result.stderr, end='')
    if result.returncode != 0:
        raise SystemExit('scripts/package failed')


def fresh_prefix():
    """The test's own prefix, made once. A run that did not end leaves a mark: then it starts over."""
    unfinished = PREFIX / '.install-test-running'
    if unfinished.exists():
        print('the last run did not finish: making the prefix again')
        subprocess.run(['wineserver', '-k'], env=wine_env(), check=False)
        shutil.rmtree(PREFIX)
    subprocess.run(['bash', '-c', f'. "{ROOT}/scripts/wine-env" && make_prefix "{PREFIX}" null'], check=True)
    # Wine mirrors Start-menu shortcuts into the desktop's menus outside the prefix: not here.
    wine('reg', 'add', 'HKCU\\Software\\Wine\\DllOverrides', '/v', 'winemenubuilder.exe', '/d', '', '/f')
    unfinished.touch()
    return unfinished


def plant_user_files():
    """What the user made with the product: menu arrangement, presets, remembered settings."""
    folder = unix_path(USER_PROFILE + '\\AppData\\Roaming\\Kaldrith\\Brelvanta')
    folder.mkdir(parents=True, exist_ok=True)
    # An arrangement of their own, which the installed DLL then shows.
    (folder / 'MenuCommands.xml').write_text(
        '<?xml version="1.0" encoding="utf-8"?>\n<BrelvantaConfig><MainMenu><Command><Type>COPY_FILENAME</Type>'
        '<Show>true</Show></Command></MainMenu><SubMenu><Command><Type>CONFIGURE</Type><Show>true</Show></Command>'
        '</SubMenu></BrelvantaConfig>\n')
    (folder / 'Presets.xml').write_text('<Presets/>\n')
    wine('reg', 'add', 'HKCU\\Software\\Kaldrith Software\\Brelvanta', '/v', 'Remembered', '/d', 'kept', '/f')
    return folder


def installed_tests(exe, folder, version, shortcut, filter_):
    env = {'BRELVANTA_INSTALLED_FOLDER': folder, 'BRELVANTA_INSTALLED_VERSION': version,
           'BRELVANTA_SHORTCUT': shortcut}
    code = wine(exe, f'--gtest_filter=InstalledProductTest.{filter_}', env=env, quiet=False)
    return code == 0


def check_installed_files(folder):
    for name in ('Brelvanta.dll', 'BrelvantaConfigure.exe', 'presets.xml', 'reference.html'):
        path = unix_path(folder + '\\' + name)
        check(path.exists() and path.read_bytes() == (DIST / name).read_bytes(), f'{folder}\\{name} is the one of dist/')
    check_menu_package(folder)
    license_text = unix_path(folder + '\\License.txt')
    check(license_text.exists() and license_text.read_bytes() == (ROOT / 'LICENSE').read_bytes(),
          f'{folder}\\License.txt is the license')


MANIFEST = {'m': 'http://schemas.microsoft.com/appx/manifest/foundation/windows10',
            'uap': 'http://schemas.microsoft.com/appx/manifest/uap/windows10',
            'com': 'http://schemas.microsoft.com/appx/manifest/com/windows10'}


def check_menu_package(folder):
    """Brelvanta.msix lies beside the DLL, and so does every file its manifest names: the install
    folder is the package's external location."""
    package = unix_path(folder + '\\Brelvanta.msix')
    if not check(package.exists() and zipfile.is_zipfile(package), f'{folder}\\Brelvanta.msix is installed'):
        return
    with zipfile.ZipFile(package) as archive:
        manifest = ET.fromstring(archive.read('AppxManifest.xml'))
    named = [manifest.findtext('m:Properties/m:Logo', namespaces=MANIFEST)]
    for application in manifest.iterfind('m:Applications/m:Application', MANIFEST):
        named.append(application.get('Executable'))
        visuals = application.find('uap:VisualElements', MANIFEST)
        named += [visuals.get('Square150x150Logo'), visuals.get('Square44x44Logo')]
    named += [item.get('Path') for item in manifest.iterfind('.//com:Class', MANIFEST)]
    absent = [name for name in named if not name or not unix_path(folder + '\\' + name).is_file()]
    check(not absent, f'every file the package\'s manifest names is in {folder} '
                      f'({", ".join(sorted(set(named), key=str))})')


def dll_registration(folder, baseline):
    """The keys the DLL's own per-user registration writes for a DLL at folder. What it leaves by
    design (the shared parent keys) and the folders made for it go again unless they were there."""
    dll = unix_path(folder + '\\Brelvanta.dll')
    made = [parent for parent in reversed(dll.parents) if not parent.exists()]
    dll.parent.mkdir(parents=True)
    shutil.copyfile(DIST / 'Brelvanta.dll', dll)
    wine('regsvr32', '/s', '/i:user', '/n', folder + '\\Brelvanta.dll')
    keys = product_keys(snapshot()['registry'], 'HKCU')
    wine('regsvr32', '/s', '/u', '/i:user', '/n', folder + '\\Brelvanta.dll')
    dll.unlink()
    for parent in reversed(made):
        parent.rmdir()
    for key in ('Software\\Classes\\*', 'Software\\Classes\\Folder', 'Software\\Classes\\CLSID',
                'Software\\Classes'):
        if key.lower() not in (known.lower() for known in baseline['registry']['HKCU']):
            wine('reg', 'delete', 'HKCU\\' + key, '/f')
    return keys


def main():
    installed_exe = windows_path(Path(sys.argv[1]).resolve())
    missing = [name for name in ('Brelvanta.dll', 'BrelvantaConfigure.exe', 'presets.xml', 'reference.html')
               if not (DIST / name).exists()]
    if missing:
        print(f'SKIPPED: dist/ lacks {", ".join(missing)}; the package needs them (scripts/build puts them there)')
        return 77
    started = time.monotonic()
    shutil.rmtree(WORK, ignore_errors=True)
    WORK.mkdir(parents=True)
    version = project_version()
    older = lower_version(version)
    package()
    current_msi = DIST / f'Brelvanta-{version}.msi'
    older_msi = WORK / f'Brelvanta-{older}.msi'
    package('--version', older, '--output', str(older_msi))
    # The same version built again has a product code of its own.
    rebuilt_msi = WORK / f'Brelvanta-{version}-rebuilt.msi'
    package('--version', version, '--output', str(rebuilt_msi))
    # What a user downloads stays small.
    dll_size, msi_size = (DIST / 'Brelvanta.dll').stat().st_size, current_msi.stat().st_size
    check(dll_size <= 1536 * 1024, f'Brelvanta.dll is {dll_size} bytes, at most 1.5 MiB')
    check(msi_size <= 1024 * 1024, f'{current_msi.name} is {msi_size} bytes, at most 1 MiB')
    check_tables(current_msi)

    unfinished = fresh_prefix()
    user_files = plant_user_files()
    user_file_bytes = {path.name: path.read_bytes() for path in user_files.iterdir()}
    baseline = snapshot()

    print(f'-- per user: {older}, then {version} over it')
    code, _ = msiexec('/i', older_msi, 'install-older.log')
    check(code == 0, f'{older} installs per user')
    code, log = msiexec('/i', current_msi, 'upgrade.log')
    check(code == 0, f'{version} installs over {older}')
    check_package_registration(log, True, f'{version} over {older}')
    per_user = snapshot()
    check_installed_files(USER_FOLDER)
    per_user_keys = product_keys(per_user['registry'], 'HKCU')
    check(bool(per_user_keys), 'the handler is registered under HKCU\\Software\\Classes')
    check(not product_keys(per_user['registry'], 'HKLM'), 'nothing is registered for the machine')
    check(installed_tests(installed_exe, USER_FOLDER, version, USER_PROGRAMS_MENU + '\\' + SHORTCUT,
                          'StartMenuShortcut*:*OneProduct*'),
          f'one product, {version}, with its Start-menu shortcut')

    print(f'-- per user: a rebuild of {version} over it')
    code, _ = msiexec('/i', rebuilt_msi, 'rebuild.log')
    check(code == 0, f'the rebuild of {version} installs over it')
    check(installed_tests(installed_exe, USER_FOLDER, version, USER_PROGRAMS_MENU + '\\' + SHORTCUT, 'OneProduct*'),
          f'one product, {version}')
    before_downgrade = snapshot()

    print(f'-- per user: {older} over {version} is refused')
    code, log = msiexec('/i', older_msi, 'downgrade.log')
    # Wine hands on only the low byte of msiexec's exit code. Its log records the finding of the
    # newer product but, unlike Windows, not the launch condition's message.
    check(code in (1603, 1603 & 0xFF), f'installing {older} over {version} fails as fatal (exit code {code})')
    check('WIX_DOWNGRADE_DETECTED = {' in log, 'because it found the newer product')
    check_left_as_before(before_downgrade, snapshot(), 'the refused downgrade changed nothing')

    print('-- per user: uninstall')
    code, log = msiexec('/x', rebuilt_msi, 'uninstall.log')
    check(code == 0, 'the per-user install uninstalls')
    check_package_registration(log, False, 'the per-user uninstall')
    check_left_as_before(baseline, snapshot(), 'nothing of the per-user install is left, and nothing else went')

    print('-- for every user (ALLUSERS=1)')
    code, log = msiexec('/i', current_msi, 'install-machine.log', 'ALLUSERS=1')
    check(code == 0, f'{version} installs for every user')
    check_package_registration(log, True, 'the install for every user')
    per_machine = snapshot()
    check_installed_files(MACHINE_FOLDER)
    machine_keys = product_keys(per_machine['registry'], 'HKLM')
    check(not product_keys(per_machine['registry'], 'HKCU'), 'nothing is registered for the user alone')
    # Windows puts the shortcut of a per-machine install into the common Start menu; Wine's
    # msiexec puts it into the user's.
    shortcut = next((folder + '\\' + SHORTCUT for folder in (MACHINE_PROGRAMS_MENU, USER_PROGRAMS_MENU)
                     if unix_path(folder + '\\' + SHORTCUT).exists()), 'no shortcut')
    check(installed_tests(installed_exe, MACHINE_FOLDER, version, shortcut, '*'),
          'the shell creates the handler from Program Files; its menu copies a name; one product')
    # Windows finds the product of a package in either scope; Wine's msiexec looks only in the
    # scope the command line names.
    code, log = msiexec('/x', current_msi, 'uninstall-machine.log', 'ALLUSERS=1')
    check(code == 0, 'the per-machine install uninstalls')
    check_package_registration(log, False, 'the per-machine uninstall')
    check_left_as_before(baseline, snapshot(), 'nothing of the per-machine install is left, and nothing else went')

    print('-- per user, without the Start-menu shortcut (ADDLOCAL=Brelvanta)')
    code, _ = msiexec('/i', current_msi, 'install-no-shortcut.log', 'ADDLOCAL=Brelvanta')
    check(code == 0, f'{version} installs without its shortcut')
    check_installed_files(USER_FOLDER)
    check(not unix_path(USER_PROGRAMS_MENU + '\\' + SHORTCUT).exists(), 'no Start-menu shortcut was made')
    code, _ = msiexec('/x', current_msi, 'uninstall-no-shortcut.log')
    check(code == 0, 'it uninstalls')
    check_left_as_before(baseline, snapshot(), 'nothing of it is left')

    print('-- the package writes the keys the DLL writes')
    reference = dll_registration(USER_FOLDER, baseline)
    check(bool(reference), 'the DLL registers itself per user')
    check(per_user_keys == reference, 'per user: the same keys and values as the DLL\'s own registration')
    as_machine = {key: frozenset(value.replace(USER_FOLDER.replace('\\', '\\\\'), MACHINE_FOLDER.replace('\\', '\\\\'))
                                 for value in values) for key, values in reference.items()}
    check(machine_keys == as_machine, 'for every user: the same keys and values, in HKLM')
    if per_user_keys != reference or machine_keys != as_machine:
        print(f'     package per user: {per_user_keys}\n     package per machine: {machine_keys}\n'
              f'     DLL: {reference}')

    kept = {path.name: path.read_bytes() for path in user_files.iterdir()}
    check(kept == user_file_bytes, "the user's MenuCommands.xml and Presets.xml are as they were")
    final = snapshot()
    check(any('"Remembered"="kept"' in values for key, values in final['registry']['HKCU'].items()
              if key.lower() == 'software\\kaldrith software\\brelvanta'), "the user's remembered settings stay")
    check_left_as_before(baseline, final, 'the prefix is as it was before the first install')

    print(f'install test: {len(failures)} failed, {time.monotonic() - started:.0f} s')
    if not failures:
        unfinished.unlink()
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
