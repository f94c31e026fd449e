#!/usr/bin/env python3
"""Writes tests/data/calculations/corpus.txt: calculations for the engine to
make on every platform, the edge cases by name and the rest drawn at random
from a fixed seed. Each line is a name, then the length, the height at start
and both gradients in degrees as the 16 hex digits of their doubles (read the
same everywhere, with no decimal conversion), then the number of sections;
the decimal values follow '#' for a reader.

    tools/make-calculation-corpus.py > tests/data/calculations/corpus.txt
"""
import math
import random
import struct

METRE = 19685.03937
EDGES = [
    # name, length, height at start, start gradient, end gradient, sections
    ("default", 100 * METRE, 0, 0, 0, 1),
    ("one-section-crest", 1000 * METRE, 12.5, 1.5, -2.5, 1),
    ("max-sections-sag", 1000 * METRE, -12.5, -2.5, 1.5, 256),
    ("no-sections", 1000 * METRE, 0, 1, 2, 0),
    ("too-many-sections", 1000 * METRE, 0, 1, 2, 257),
    ("negative-sections", 1000 * METRE, 0, 1, 2, -3),
    ("zero-length", 0.0, 0, 1, 2, 16),
    ("negative-length", -1000 * METRE, 0, 1, 2, 16),
    ("huge-length", 1e300, 0, 1, 2, 16),
    ("largest-length", 1.7976931348623157e308, 0, 1, 2, 256),
    ("largest-length-level", 1.7976931348623157e308, 0, 0, 0, 256),
    ("tiny-length", 1e-300, 0, 1, 2, 16),
    ("subnormal-length", 5e-324, 0, 1, 2, 256),
    ("plus-90-to-minus-90", 1000 * METRE, 0, 90, -90, 256),
    ("minus-90-to-plus-90", 1000 * METRE, 0, -90, 90, 1),
    ("level-to-90", 1000 * METRE, 0, 0, 90, 256),
    ("90-to-90", 1000 * METRE, 0, 90, 90, 7),
    ("near-90", 1000 * METRE, 0, 89.9999999, 89.99999999999, 256),
    ("beyond-90", 1000 * METRE, 0, 100, 170, 16),
    ("full-turns", 1000 * METRE, 0, 360, -400, 16),
    ("half-turn", 1000 * METRE, 0, 180, 0, 16),
    ("huge-gradients", 1000 * METRE, 0, 1e300, -1e300, 16),
    ("huge-gradient-1e15", 1000 * METRE, 0, 1e15, 1, 256),
    ("largest-gradient", 1000 * METRE, 0, 1.7976931348623157e308, 0, 2),
    ("subnormal-gradient", 1000 * METRE, 0, 5e-324, -5e-324, 256),
    ("tiny-gradients", 1000 * METRE, 0, 1e-300, 2e-300, 16),
    ("equal-gradients", 1000 * METRE, 3, 2.5, 2.5, 16),
    ("equal-negative-gradients", 1000 * METRE, 3, -45, -45, 256),
    ("equal-level", 1000 * METRE, 3, 0, 0, 256),
    ("height-huge", 1000 * METRE, 1e308, 1, 2, 16),
    ("height-largest-negative", 1000 * METRE, -1.7976931348623157e308, -1, -2, 16),
    ("height-subnormal", 1000 * METRE, 5e-324, 1, -1, 3),
    ("steep-overflow", 1.5e308, 0, 0, 89, 2),
    ("textbook-0-to-atan-0.1", 1000.0, 0, 0, math.degrees(math.atan(0.1)), 2),
]


def hexbits(value):
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def line(name, length, height, start, end, sections):
    numbers = " ".join("%016x" % hexbits(v) for v in (length, height, start, end))
    return "%s %s %d # %r %r %r %r" % (name, numbers, sections, length, height, start, end)


def random_rows(count):
    rng = random.Random(20261208)
    for i in range(count):
        sections = rng.choice([1, 2, 3, 16, 255, 256]) if i % 4 == 0 else rng.randint(1, 256)
        length = 10 ** rng.uniform(-3, 9) * (1 if i % 7 else METRE)
        height = rng.uniform(-1e6, 1e6) if i % 3 else 0.0
        limit = 90 if i % 5 == 0 else rng.choice([2, 5, 10, 45])
        start, end = rng.uniform(-limit, limit), rng.uniform(-limit, limit)
        yield ("random-%03d" % i, length, height, start, end, sections)


print("# Calculations the engine makes the same on every platform:"
      " tools/make-calculation-corpus.py")
for row in EDGES + list(random_rows(510)):
    print(line(*row))
