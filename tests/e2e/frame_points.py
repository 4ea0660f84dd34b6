"""Where the frame's fixed parts are on the screen, for checks of Tavrin's pixels."""

GRIP_FILL = (255, 128, 0)
GRIP_EDGE = (180, 80, 0)
WHITE = (255, 255, 255)

# Points of a 932 x 316 frame that nothing draws on: margins, the gap between "4" and "5",
# between two rows, right of the Space bar, right of the speed panel, below it. None lies
# where Wine puts its "Wine System Tray" window, (3, 22) to (163, 42), which shows through.
TRANSPARENT_POINTS = [(5, 5), (234, 38), (300, 68), (700, 300), (925, 100), (850, 309),
                      (5, 310), (931, 5)]


def grip_size(scale):
    return min(max(int(scale * 22 + 0.5), 18), 40)


def grip_fill_point(left, top, width, height, scale=1.0):
    """A pixel of the grip square clear of its dark edge and its white strokes."""
    g = grip_size(scale)
    return left + width - g + 2, top + height - g + 3


def expect_grip(expect, shot, left, top, width, height, scale=1.0):
    """The orange square with its dark top and left edges and its four white strokes."""
    right, bottom = left + width, top + height
    g = grip_size(scale)
    expect.pixels(shot, {grip_fill_point(left, top, width, height, scale): GRIP_FILL,
                         (right - g + 6, bottom - g + 2): GRIP_FILL,
                         (right - g + 4, bottom - g): GRIP_EDGE,
                         (right - g, bottom - g + 8): GRIP_EDGE}, "grip")
    # The strokes run from (right - d, bottom) to (right, bottom - d); check their middles.
    for d in (4, 9, 14, 19):
        t = d // 2
        expect.equal(f"grip stroke {d} at ({right - d + t}, {bottom - t})",
                     shot.pixel(right - d + t, bottom - t), WHITE)
