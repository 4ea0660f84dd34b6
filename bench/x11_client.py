"""A few Xlib calls through ctypes, for measuring from outside with sub-millisecond timing.

The command-line X tools start a process per call (several milliseconds each), which is too
coarse to time a key press to the screen. This keeps one connection open and uses the XTEST
extension to press keys, XGetImage to read pixels and the DAMAGE extension to hear when a
window's contents are drawn. Only libX11, libXtst and libXdamage are needed, which Xvfb,
xdotool and Wine already bring.
"""
import ctypes
import ctypes.util

KEY_PRESS_EVENT = True
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
DAMAGE_REPORT_RAW_RECTANGLES = 0
DAMAGE_NOTIFY = 0  # offset of DamageNotify from the extension's event base


class X11Error(RuntimeError):
    pass


def _load(name):
    path = ctypes.util.find_library(name)
    if not path:
        raise X11Error(f"lib{name} is not installed")
    return ctypes.CDLL(path)


class _XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


class _XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong),
                ("damage", ctypes.c_ulong), ("level", ctypes.c_int), ("more", ctypes.c_int),
                ("timestamp", ctypes.c_ulong), ("area", _XRectangle), ("geometry", _XRectangle)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("damage", _XDamageNotifyEvent),
                ("pad", ctypes.c_long * 24)]


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p)]


class Display:
    """One connection to $DISPLAY."""

    def __init__(self):
        self.x = _load("X11")
        self.xtst = _load("Xtst")
        self.xdamage = _load("Xdamage")
        x = self.x
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XStringToKeysym.restype = ctypes.c_ulong
        x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x.XKeysymToKeycode.restype = ctypes.c_ubyte
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XGetImage.restype = ctypes.POINTER(_XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XGetPixel.restype = ctypes.c_ulong
        x.XGetPixel.argtypes = [ctypes.POINTER(_XImage), ctypes.c_int, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_XEvent)]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        d = self.xdamage
        d.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                            ctypes.POINTER(ctypes.c_int)]
        d.XDamageCreate.restype = ctypes.c_ulong
        d.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        d.XDamageDestroy.argtypes = [ctypes.c_void_p, ctypes.c_ulong]

        self.dpy = x.XOpenDisplay(None)
        if not self.dpy:
            raise X11Error("cannot open the X display named by $DISPLAY")
        self.root = x.XDefaultRootWindow(self.dpy)

    def close(self):
        if self.dpy:
            self.x.XCloseDisplay(self.dpy)
            self.dpy = None

    # ------------------------------------------------------------------ keys

    def keycode(self, keysym_name):
        sym = self.x.XStringToKeysym(keysym_name.encode())
        code = self.x.XKeysymToKeycode(self.dpy, sym) if sym else 0
        if not code:
            raise X11Error(f"no key types {keysym_name!r}")
        return code

    def key(self, keycode, press):
        """Presses or releases a key as the keyboard would; the request leaves at once."""
        self.xtst.XTestFakeKeyEvent(self.dpy, keycode, 1 if press else 0, 0)
        self.x.XFlush(self.dpy)

    # ------------------------------------------------------------------ pixels

    def pixel(self, x, y):
        """(r, g, b) of one screen pixel, read from the root window (a 24-bit TrueColor
        screen, as Xvfb's default is)."""
        image = self.x.XGetImage(self.dpy, self.root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise X11Error(f"cannot read the pixel at ({x}, {y})")
        value = self.x.XGetPixel(image, 0, 0)
        self.x.XDestroyImage(image)
        return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF

    # ------------------------------------------------------------------ damage

    def watch_damage(self, window):
        """Reports every drawing into `window` from now on, as raw rectangles."""
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if not self.xdamage.XDamageQueryExtension(self.dpy, ctypes.byref(event_base),
                                                  ctypes.byref(error_base)):
            raise X11Error("the X server has no DAMAGE extension")
        self._damage_event = event_base.value + DAMAGE_NOTIFY
        self._damage = self.xdamage.XDamageCreate(self.dpy, window, DAMAGE_REPORT_RAW_RECTANGLES)
        self.x.XSync(self.dpy, 0)

    def stop_watching_damage(self):
        """Ends the reports; call it while the window still exists (its end ends them too)."""
        self.xdamage.XDamageDestroy(self.dpy, self._damage)
        self.x.XSync(self.dpy, 0)
        self.damaged_areas()

    def damaged_areas(self):
        """(x, y, width, height) of every damage reported since the last call, relative to the
        watched window, without waiting."""
        areas = []
        event = _XEvent()
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(event))
            if event.type == self._damage_event:
                a = event.damage.area
                areas.append((a.x, a.y, a.width, a.height))
        return areas
