#!/usr/bin/env python3
"""Writes the three key-click sounds to resources/click1.wav, click2.wav and click3.wav.

Each click is a short burst of damped tones with a little noise at its attack, 16-bit PCM
mono at 44.1 kHz and well under 50 ms. The noise comes from a fixed linear congruential
generator, so the script writes the same bytes on every run and on every Python version.
"""
import math
import pathlib
import struct
import wave

RATE = 44100
PEAK = 0.8  # of full scale, leaving headroom for the mixer
FADE_IN_MS = 0.3  # a tiny ramp avoids a pop at the first sample
FADE_OUT_MS = 3.0


class Noise:
    """White noise in [-1, 1] from a 32-bit LCG (Numerical Recipes constants)."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (1664525 * self.state + 1013904223) & 0xFFFFFFFF
        return self.state / 0x7FFFFFFF - 1.0


# Per click: length, tones as (frequency Hz, amplitude, decay time ms), noise amount and
# its decay time, and the noise seed.
CLICKS = {
    "click1.wav": dict(length_ms=28, tones=[(2300, 1.0, 4.0), (4700, 0.35, 2.0)],
                       noise=0.5, noise_decay_ms=1.2, seed=1),
    "click2.wav": dict(length_ms=35, tones=[(820, 1.0, 7.0), (1650, 0.4, 4.0)],
                       noise=0.35, noise_decay_ms=2.0, seed=2),
    "click3.wav": dict(length_ms=22, tones=[(3400, 0.8, 2.5), (6100, 0.5, 1.5)],
                       noise=0.8, noise_decay_ms=0.8, seed=3),
}


def envelope(t_ms, length_ms):
    fade_in = min(1.0, t_ms / FADE_IN_MS)
    fade_out = min(1.0, (length_ms - t_ms) / FADE_OUT_MS)
    return max(0.0, fade_in * fade_out)


def render(length_ms, tones, noise, noise_decay_ms, seed):
    source = Noise(seed)
    count = int(RATE * length_ms / 1000)
    raw = []
    for i in range(count):
        t = i / RATE
        t_ms = t * 1000.0
        value = sum(a * math.exp(-t_ms / d) * math.sin(2 * math.pi * f * t) for f, a, d in tones)
        value += noise * math.exp(-t_ms / noise_decay_ms) * source.next()
        raw.append(value * envelope(t_ms, length_ms))
    scale = PEAK / max(abs(v) for v in raw)
    return [int(round(v * scale * 32767)) for v in raw]


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources"
    for name, shape in CLICKS.items():
        write(folder / name, render(**shape))
        print(folder / name)


if __name__ == "__main__":
    main()
