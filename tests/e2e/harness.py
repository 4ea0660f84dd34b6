"""Drives the real tavrin.exe under Wine on the X display named by $DISPLAY.

Everything here observes the program from outside, as a person or another program would:
X window geometry and properties, pixels of the screen, settings.ini beside the executable,
and Win32 facts read by a small helper program inside the same Wine session.

Every call to an outside program has a time limit, and every process started here is ended
by its own process id.
"""
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

MAIN_TITLE = "Tavrin (CPM/CPS 0.1/0.3/0.5/1.0s)"
MAIN_CLASS = "TavrinWndShiftAware"
TARGET_TITLE = "Tavrin E2E Target"
# The colour the target window paints: what shows through Tavrin's transparent pixels.
TARGET_COLOR = (0, 128, 128)

COMMAND_TIMEOUT = 20  # one call of an X tool or of the Wine helper
WINDOW_TIMEOUT = 40  # a first start in a fresh prefix builds Wine's font cache
EXIT_TIMEOUT = 15  # a program asked to close has this long to end

WINE_ENV_DEFAULTS = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=,winemenubuilder.exe=d",
}
# What the running test chose for its Wine session (Session.use_wine): its language, or a
# prefix of its own.
_wine_overrides = {}


def time_limit(seconds):
    """Gives one long test a time limit of its own instead of the runner's: @time_limit(400)."""
    def mark(test):
        test.time_limit = seconds
        return test
    return mark


class HarnessError(AssertionError):
    """A step of the harness itself could not be carried out."""


def win_build_dir():
    return os.environ.get("TAVRIN_WIN_BUILD", os.path.join(REPO, "build", "win"))


def artifacts_dir():
    return os.environ.get("TAVRIN_E2E_ARTIFACTS", os.path.join(REPO, "build", "e2e-artifacts"))


def wine_env():
    env = dict(os.environ)
    for key, value in WINE_ENV_DEFAULTS.items():
        env.setdefault(key, value)
    env.update(_wine_overrides)
    return env


def dpi_prefix(dpi):
    """A Wine prefix beside the tests' own whose screens have this DPI (LogPixels), made once
    and kept: Wine reads the DPI when its server starts."""
    prefix = f"{os.environ['WINEPREFIX'].rstrip('/')}-dpi{dpi}"
    ready = os.path.join(prefix, ".tavrin-ready")
    if os.path.exists(ready):
        return prefix
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(wine_env(), WINEPREFIX=prefix)
    run(["wineboot", "-i"], timeout=300, env=env)
    # No sound device here: an empty driver keeps Wine from printing ALSA errors.
    run(["wine", "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/d", "", "/f"], timeout=120, env=env)
    run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
         "/d", str(dpi), "/f"], timeout=120, env=env)
    run(["wineserver", "-w"], timeout=120, env=env)
    with open(ready, "w"):
        pass
    return prefix


def check_environment():
    """Refuses to run where the tests would touch the user's own display or Wine prefix."""
    if not os.environ.get("DISPLAY"):
        raise HarnessError("DISPLAY is not set: run the end-to-end tests inside xvfb-run")
    if not os.environ.get("WINEPREFIX"):
        raise HarnessError("WINEPREFIX is not set: the tests need a throw-away Wine prefix")


def run(args, timeout=COMMAND_TIMEOUT, check=True, env=None):
    """Runs a command to its end, or kills it by its id when the time limit passes.

    The output goes through files, not pipes: a Wine program that finds no wineserver
    starts one, with explorer and services, and those keep every inherited pipe open
    for seconds after the program has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, stdout=out, stderr=err, env=env or wine_env(),
                                   stdin=subprocess.DEVNULL)
        try:
            returncode = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise HarnessError(f"{' '.join(args)} did not finish within {timeout} s") from None
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, returncode,
                                             out.read().decode("utf-8", "replace"),
                                             err.read().decode("utf-8", "replace"))
    if check and result.returncode != 0:
        raise HarnessError(f"{' '.join(args)} failed with {result.returncode}: "
                           f"{result.stderr.strip()[-500:]}")
    return result


def wait_until(what, probe, timeout, interval=0.1):
    """Calls probe until it returns something true and returns that, or fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


# ---------------------------------------------------------------------------- processes

class Process:
    """A program started under Wine; `wine prog.exe` becomes the program's own process."""

    def __init__(self, name, args, cwd):
        self.name = name
        self.log = tempfile.TemporaryFile()
        self.popen = subprocess.Popen(args, cwd=cwd, env=wine_env(), stdin=subprocess.DEVNULL,
                                      stdout=self.log, stderr=subprocess.STDOUT)

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """The exit code once the process has ended by itself."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired as e:
            raise HarnessError(f"{self.name} (pid {self.pid}) still runs after {timeout} s") from e

    def stop(self):
        if self.running():
            os.kill(self.pid, signal.SIGKILL)
            self.popen.wait(timeout=EXIT_TIMEOUT)
        self.log.close()

    def output(self):
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")


def end_wine_session():
    """Ends the wineserver and with it every Windows process and window still left."""
    run(["wineserver", "-k"], check=False)
    run(["wineserver", "-w"], check=False)


# ---------------------------------------------------------------------------- X windows

def _title_pattern(title):
    # xdotool matches POSIX extended regular expressions, case-insensitively.
    return "^" + re.sub(r"([\\^$.|?*+()\[\]{}])", r"\\\1", title) + "$"


def find_windows(title):
    """X ids of the visible windows with exactly this title, now."""
    result = run(["xdotool", "search", "--onlyvisible", "--name", _title_pattern(title)],
                 check=False)
    return [int(line) for line in result.stdout.split()]


def wait_for_window(title, timeout=WINDOW_TIMEOUT):
    """X id of the first visible window with this title, waiting for it to appear."""
    result = run(["xdotool", "search", "--sync", "--onlyvisible", "--name", _title_pattern(title)],
                 timeout=timeout, check=False)
    ids = [int(line) for line in result.stdout.split()]
    if not ids:
        raise HarnessError(f'no window "{title}" appeared: {result.stderr.strip()}')
    return ids[0]


def wait_window_gone(title, timeout=EXIT_TIMEOUT):
    wait_until(f'window "{title}" to disappear', lambda: not find_windows(title), timeout)


def window_geometry(xid):
    """(left, top, width, height) of an X window on the screen."""
    out = run(["xwininfo", "-id", str(xid)]).stdout
    fields = {}
    for name, label in (("left", "Absolute upper-left X"), ("top", "Absolute upper-left Y"),
                        ("width", "Width"), ("height", "Height")):
        match = re.search(rf"^\s*{label}:\s*(-?\d+)", out, re.MULTILINE)
        if not match:
            raise HarnessError(f"xwininfo printed no {label} for window {xid}")
        fields[name] = int(match.group(1))
    return fields["left"], fields["top"], fields["width"], fields["height"]


def window_opacity(xid):
    """The window's _NET_WM_WINDOW_OPACITY, or None when the property is absent."""
    out = run(["xprop", "-id", str(xid), "_NET_WM_WINDOW_OPACITY"], check=False).stdout
    match = re.search(r"=\s*(\d+)", out)
    return int(match.group(1)) if match else None


def focus_window(xid):
    run(["xdotool", "windowfocus", "--sync", str(xid)])


def focused_window():
    return int(run(["xdotool", "getwindowfocus"]).stdout.strip())


def screen_size():
    out = run(["xwininfo", "-root"]).stdout
    width = int(re.search(r"^\s*Width:\s*(\d+)", out, re.MULTILINE).group(1))
    height = int(re.search(r"^\s*Height:\s*(\d+)", out, re.MULTILINE).group(1))
    return width, height


# ---------------------------------------------------------------------------- pixels

class Screenshot:
    """The whole screen as 8-bit RGB, read from a binary PPM."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    @classmethod
    def take(cls):
        shot = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=COMMAND_TIMEOUT,
                              stdin=subprocess.DEVNULL)
        if shot.returncode != 0:
            raise HarnessError(f"import failed: {shot.stderr.decode(errors='replace').strip()}")
        return cls.parse_ppm(shot.stdout)

    @classmethod
    def parse_ppm(cls, data):
        # P6, then width, height and maximum value separated by white space, then one byte.
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        if not match or int(match.group(3)) != 255:
            raise HarnessError("the screenshot is not an 8-bit binary PPM")
        width, height = int(match.group(1)), int(match.group(2))
        pixels = data[match.end():match.end() + width * height * 3]
        if len(pixels) != width * height * 3:
            raise HarnessError("the screenshot is cut short")
        return cls(width, height, pixels)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise HarnessError(f"pixel ({x}, {y}) lies outside the screen")
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.pixels[y * self.width * 3:(y + 1) * self.width * 3]
                       for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------- settings.ini

def decode_ini(data):
    """Text of an INI file as the profile functions store it: UTF-16LE with BOM, or ANSI."""
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", "replace")


def parse_ini(text):
    """[(section, [(key, value), ...]), ...] in file order; names keep their case."""
    sections = []
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            sections.append((line[1:-1], []))
        elif "=" in line and sections:
            key, value = line.split("=", 1)
            sections[-1][1].append((key.strip(), value.strip()))
    return sections


def read_ini(path):
    with open(path, "rb") as f:
        return parse_ini(decode_ini(f.read()))


def write_ini(path, sections, utf16=False):
    """Writes [(section, [(key, value), ...]), ...] with Windows line ends."""
    lines = []
    for name, entries in sections:
        lines.append(f"[{name}]")
        lines.extend(f"{key}={value}" for key, value in entries)
    text = "\r\n".join(lines) + "\r\n"
    data = b"\xff\xfe" + text.encode("utf-16-le") if utf16 else text.encode("ascii")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------- a test's world

class Session:
    """One test's copy of the program in a folder of its own, and what it started."""

    def __init__(self, name):
        build = win_build_dir()
        self.name = name
        self.tavrin_exe = os.path.join(build, "tavrin.exe")
        self.target_exe = os.path.join(build, "tests", "tavrin_e2e_target.exe")
        self.tool_exe = os.path.join(build, "tests", "tavrin_e2e_tool.exe")
        self.app_dir = tempfile.mkdtemp(prefix="tavrin-e2e-")
        self.processes = []

    @property
    def settings_path(self):
        return os.path.join(self.app_dir, "settings.ini")

    def _require(self, path):
        if not os.path.isfile(path):
            raise HarnessError(f"{path} is missing: build the Windows tree first")

    def start(self, name, exe, *args):
        self._require(exe)
        process = Process(name, ["wine", exe, *map(str, args)], cwd=self.app_dir)
        self.processes.append(process)
        return process

    def start_target(self, left=0, top=0, width=None, height=None, fields=False, topmost=False):
        """The typing target, by default covering the whole screen as a known background;
        with fields, also a password field and one of a class of its own; with topmost, a
        topmost window, as full-screen games and players make themselves."""
        screen_width, screen_height = screen_size()
        width = screen_width if width is None else width
        height = screen_height if height is None else height
        args = [left, top, width, height] + (["fields"] if fields else []) + (["topmost"] if topmost else [])
        process = self.start("target", self.target_exe, *args)
        return process, wait_for_window(TARGET_TITLE)

    def start_tavrin(self):
        """Tavrin started from its own folder; returns the process and its X window."""
        known = set(find_windows(MAIN_TITLE))
        process = self.start_tavrin_unmapped()

        def new_window():
            self._require_running(process)
            return [xid for xid in find_windows(MAIN_TITLE) if xid not in known]

        xid = wait_until("Tavrin's window", new_window, WINDOW_TIMEOUT, interval=0.2)[0]
        return process, xid

    def start_tavrin_unmapped(self):
        """Tavrin started without waiting for an X window, which Wine does not map for a
        window that lies wholly off the screen."""
        self._require(self.tavrin_exe)
        app_exe = os.path.join(self.app_dir, "tavrin.exe")
        if not os.path.exists(app_exe):
            shutil.copy(self.tavrin_exe, app_exe)
            for sound in ("click1.wav", "click2.wav", "click3.wav"):
                source = os.path.join(os.path.dirname(self.tavrin_exe), sound)
                if os.path.exists(source):
                    shutil.copy(source, self.app_dir)
        return self.start("tavrin", app_exe)

    def wait_for_main_window_info(self, process):
        """The helper's view of the main window once Windows shows it."""
        def shown():
            self._require_running(process)
            info = self.tool("info", check=False)
            return info if info.get("visible") == "1" else None

        return wait_until("Tavrin's window to be shown", shown, WINDOW_TIMEOUT, interval=0.2)

    @staticmethod
    def _require_running(process):
        if not process.running():
            raise HarnessError(f"{process.name} ended early with code {process.popen.returncode}")

    def tool(self, command, *args, check=True):
        """Runs the Wine-side helper; returns its key=value lines as a dict."""
        info = {}
        for key, value in self.tool_lines(command, *args, check=check):
            info[key] = value
        return info

    def tool_lines(self, command, *args, check=True):
        """Runs the Wine-side helper; returns its key=value lines as (key, value) pairs."""
        self._require(self.tool_exe)
        result = run(["wine", self.tool_exe, command, *map(str, args)], check=False)
        if check and result.returncode != 0:
            raise HarnessError(f"tavrin_e2e_tool {command} failed with {result.returncode}: "
                               f"{result.stdout.strip()} {result.stderr.strip()[-300:]}")
        pairs = []
        for line in result.stdout.splitlines():
            key, sep, value = line.rstrip("\r").partition("=")
            if sep:
                pairs.append((key, value))
        return pairs

    def close_tavrin(self, process):
        """Sends WM_CLOSE, as Windows does when a window is closed, and waits for the exit."""
        self.tool("close")
        return process.wait_exit()

    def write_settings(self, sections, utf16=False):
        write_ini(self.settings_path, sections, utf16)

    def read_settings(self):
        return read_ini(self.settings_path)

    def save_artifacts(self):
        """Keeps what shows why a test failed: the screen, settings.ini, program output."""
        folder = os.path.join(artifacts_dir(), self.name)
        os.makedirs(folder, exist_ok=True)
        try:
            Screenshot.take().save_png(os.path.join(folder, "screen.png"))
        except (HarnessError, OSError, subprocess.SubprocessError):
            pass
        if os.path.exists(self.settings_path):
            shutil.copy(self.settings_path, folder)
        for process in self.processes:
            with open(os.path.join(folder, f"{process.name}-{process.pid}.log"), "w") as f:
                f.write(process.output())
        return folder

    def use_wine(self, language=None, prefix=None):
        """Runs every Wine program from now on with this LANG (the language Wine gives the
        program's menus and dialogs) and in this prefix; what runs already is ended first."""
        self.end_programs()
        _wine_overrides.clear()
        if language:
            _wine_overrides["LANG"] = language
        if prefix:
            _wine_overrides["WINEPREFIX"] = prefix

    def end_programs(self):
        for process in reversed(self.processes):
            process.stop()
        self.processes = []
        end_wine_session()

    def close(self):
        self.end_programs()
        _wine_overrides.clear()
        shutil.rmtree(self.app_dir, ignore_errors=True)


# ---------------------------------------------------------------------------- checking

class Expectations:
    """Collects every mismatch of a test before failing, so one run shows all of them."""

    def __init__(self):
        self.failures = []

    def equal(self, what, actual, expected):
        if actual != expected:
            self.failures.append(f"{what}: got {actual!r}, expected {expected!r}")

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)

    def pixels(self, shot, expected, what="pixel"):
        """expected: {(x, y): (r, g, b)} in screen coordinates."""
        for (x, y), colour in expected.items():
            self.equal(f"{what} at ({x}, {y})", shot.pixel(x, y), colour)

    def check(self):
        if self.failures:
            raise AssertionError("\n  ".join([f"{len(self.failures)} mismatch(es):"]
                                             + self.failures))


def wait_for_pixel(xy, colour, timeout=WINDOW_TIMEOUT):
    """The first screenshot in which the pixel at xy has this colour."""
    last = {}

    def probe():
        shot = Screenshot.take()
        last["colour"] = shot.pixel(*xy)
        return shot if last["colour"] == colour else None

    try:
        return wait_until(f"colour {colour} at {xy}", probe, timeout, interval=0.2)
    except HarnessError as e:
        raise HarnessError(f"{e}; the pixel stayed {last.get('colour')}") from None
