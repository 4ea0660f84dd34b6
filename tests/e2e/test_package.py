"""The release archive: what it holds, and tavrin.exe started from it as a user would start it.

The archive is made here with the same CPack configuration that scripts/package.sh uses, from
the Windows build under test, so the check never meets a stale archive.
"""
import os
import re
import zipfile

from harness import (MAIN_TITLE, REPO, Expectations, HarnessError, Process, find_windows,
                     focus_window, read_ini, run, wait_until, win_build_dir, write_ini,
                     WINDOW_TIMEOUT)

SHIPPED = ["tavrin.exe", "click1.wav", "click2.wav", "click3.wav", "README.md", "LICENSE"]
SOURCES = {"click1.wav": "resources/click1.wav", "click2.wav": "resources/click2.wav",
           "click3.wav": "resources/click3.wav", "README.md": "README.md", "LICENSE": "LICENSE"}
PACK_TIMEOUT = 120
CLICK_TIMEOUT = 15


def project_version():
    """The version project() sets in CMakeLists.txt, as the configured build recorded it."""
    with open(os.path.join(win_build_dir(), "CMakeCache.txt"), encoding="utf-8") as f:
        match = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(\S+)$", f.read(), re.MULTILINE)
    if not match:
        raise HarnessError("the Windows build records no project version")
    return match.group(1)


def pack(folder):
    """The path of the archive CPack makes into folder."""
    config = os.path.join(win_build_dir(), "CPackConfig.cmake")
    if not os.path.isfile(config):
        raise HarnessError(f"{config} is missing: configure the Windows build again")
    os.makedirs(folder, exist_ok=True)
    run(["cpack", "--config", config, "-B", folder], timeout=PACK_TIMEOUT)
    archives = [name for name in os.listdir(folder) if name.endswith(".zip")]
    if len(archives) != 1:
        raise HarnessError(f"CPack made {archives} instead of one archive")
    return os.path.join(folder, archives[0])


def unpack(archive, folder):
    """Extracts the archive into folder; returns the archive's top folder there."""
    with zipfile.ZipFile(archive) as z:
        z.extractall(folder)
        top = {name.split("/")[0] for name in z.namelist()}
    return os.path.join(folder, top.pop())


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def test_archive_holds_the_program_its_sounds_readme_and_licence_under_its_version(s):
    version = project_version()
    archive = pack(os.path.join(s.app_dir, "package"))
    top = f"tavrin-{version}-win64"

    expect = Expectations()
    expect.equal("archive name", os.path.basename(archive), f"{top}.zip")
    with zipfile.ZipFile(archive) as z:
        expect.equal("archive contents", sorted(z.namelist()), sorted(f"{top}/{n}" for n in SHIPPED))
        for name, source in SOURCES.items():
            if f"{top}/{name}" in z.namelist():
                expect.true(f"{name} is {source}",
                            z.read(f"{top}/{name}") == read_bytes(os.path.join(REPO, source)))
        program = z.read(f"{top}/tavrin.exe") if f"{top}/tavrin.exe" in z.namelist() else b""
    expect.true("tavrin.exe is a Windows program", program.startswith(b"MZ"))
    # The version resource's FileVersion text, UTF-16 as the resource compiler stores it.
    file_version = (re.escape("FileVersion".encode("utf-16-le")) + rb"(?:\x00\x00)+"
                    + re.escape(version.encode("utf-16-le")) + rb"\x00\x00")
    expect.true(f"tavrin.exe says it is version {version}", re.search(file_version, program))
    licence = read_bytes(os.path.join(REPO, "LICENSE")).decode("utf-8")
    expect.true("MIT licence of the Tavrin project",
                "MIT License" in licence and "The Tavrin project" in licence)
    expect.check()


def test_program_from_the_archive_starts_and_clicks_with_the_sounds_beside_it(s):
    # Started from another folder, with no sounds in it, so the clicks can only come from
    # the files that ship beside tavrin.exe.
    folder = unpack(pack(os.path.join(s.app_dir, "package")), os.path.join(s.app_dir, "unpacked"))
    settings = os.path.join(folder, "settings.ini")
    write_ini(settings, [("main", [("soundOn", "1"), ("soundSel", "2")])])
    # A read of a sound moves its access time forward only when that lies behind its
    # modification time (relatime), so it is set back first.
    sounds = {n: os.path.join(folder, n) for n in ("click1.wav", "click2.wav", "click3.wav")}
    for path in sounds.values():
        modified = os.stat(path).st_mtime
        os.utime(path, (modified - 3600, modified))
    accessed = {n: os.stat(p).st_atime for n, p in sounds.items()}

    _, target_xid = s.start_target()
    focus_window(target_xid)
    tavrin = Process("tavrin", ["wine", os.path.join(folder, "tavrin.exe")], cwd=s.app_dir)
    s.processes.append(tavrin)

    def shown():
        if not tavrin.running():
            raise HarnessError(f"tavrin.exe ended early with code {tavrin.popen.returncode}")
        return find_windows(MAIN_TITLE)

    wait_until("Tavrin's window", shown, WINDOW_TIMEOUT, interval=0.2)
    run(["xdotool", "key", "--delay", "80", "a"])

    def clicked():
        return os.stat(sounds["click2.wav"]).st_atime != accessed["click2.wav"]

    expect = Expectations()
    try:
        wait_until("click2.wav beside tavrin.exe to be read", clicked, CLICK_TIMEOUT)
    except HarnessError as e:
        expect.true(str(e), False)
    for name in ("click1.wav", "click3.wav"):
        expect.equal(f"{name} untouched", os.stat(sounds[name]).st_atime, accessed[name])
    s.tool("close")
    expect.equal("exit code", tavrin.wait_exit(), 0)
    main = dict(next((entries for name, entries in read_ini(settings) if name == "main"), []))
    expect.equal("settings.ini beside tavrin.exe keeps the sound choice",
                 (main.get("soundOn"), main.get("soundSel")), ("1", "2"))
    expect.true("no settings.ini in the folder it was started from",
                not os.path.exists(os.path.join(s.app_dir, "settings.ini")))
    expect.check()
