"""The Python module against vandrel-count and against box counts done by numpy.

Run by ctest with PYTHONPATH holding the built module, VANDREL_COUNT naming the
vandrel-count program and VANDREL_SAMPLES the samples folder."""

import json
import os
import struct
import subprocess
import unittest
import zlib

import numpy as np

import vandrel

SAMPLES = os.environ["VANDREL_SAMPLES"]


def read_palette_png(path):
    """An H x W x 3 uint8 array of a non-interlaced palette PNG, as the samples are."""
    with open(path, "rb") as file:
        data = file.read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += length + 12
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = np.frombuffer(body, np.uint8).reshape(-1, 3)
        elif kind == b"IDAT":
            idat += body
    assert colour_type == 3 and interlace == 0 and depth in (1, 2, 4, 8)
    raw, stride = zlib.decompress(idat), (width * depth + 7) // 8
    rows, above = np.zeros((height, stride), np.uint8), bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left, up, corner = (line[i - 1], above[i], above[i - 1]) if i else (0, above[i], 0)
            if kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predicted = left if pa <= pb and pa <= pc else up if pb <= pc else corner
            else:
                predicted = [0, left, up, (left + up) // 2][kind]
            line[i] = (line[i] + predicted) & 0xFF
        rows[y], above = line, line
    bits = np.unpackbits(rows, axis=1).reshape(height, -1, depth)
    indices = (bits * (1 << np.arange(depth - 1, -1, -1))).sum(axis=2)[:, :width]
    return palette[indices]


def offset_boxes(mask, d, ox, oy):
    """Boxes of size d holding a set cell, their edges at x = ox + k d, y = oy + k d."""
    padded = np.pad(mask, (((d - oy) % d, 0), ((d - ox) % d, 0)))
    h, w = padded.shape
    padded = np.pad(padded, ((0, -h % d), (0, -w % d)))
    return int(padded.reshape(padded.shape[0] // d, d, -1, d).any(axis=(1, 3)).sum())


def vandrel_count_json(picture, *options):
    out = subprocess.run([os.environ["VANDREL_COUNT"], "--format", "json", "--details", *options, picture],
                         check=True, capture_output=True, text=True).stdout
    result = json.loads(out)
    del result["file"], result["provenance"]["sha256"]
    return result


class MeasureLikeVandrelCount(unittest.TestCase):
    def test_sample_gives_the_same_report_as_vandrel_count(self):
        path = os.path.join(SAMPLES, "carpet.png")
        rgb = read_palette_png(path)
        rgba = np.dstack([rgb, np.full(rgb.shape[:2], 255, np.uint8)])
        cases = [
            ([], {}),
            (["--grid", "all", "--sizes", "1,3,9,27,81,243", "--fit", "auto"],
             dict(grid="all", sizes=[243, 1, 27, 3, 81, 9, 9], fit="auto")),
            (["--threshold", "otsu", "--light", "--grid", "min", "--fit", "20:80"],
             dict(threshold="otsu", side="light", grid="min", fit=(20, 80))),
            (["--colour", "white", "--tolerance", "3", "--outline"], dict(colour="#ffffff", tolerance=3, outline=True)),
        ]
        for options, arguments in cases:
            with self.subTest(options=options):
                expected = vandrel_count_json(path, *options)
                self.assertEqual(vandrel.measure(rgb, **arguments), expected)
                self.assertEqual(vandrel.measure(rgba, **arguments), expected)

    def test_rule_takes_the_pixels_numpy_takes(self):
        rng = np.random.default_rng(7)
        for _ in range(20):
            rgba = rng.choice([0, 40, 41, 200, 255], size=(37, 53, 4)).astype(np.uint8)
            opaque = rgba[..., 3] == 255
            rgb = rgba[..., :3].astype(int)
            weighed = 299 * rgb[..., 0] + 587 * rgb[..., 1] + 114 * rgb[..., 2]
            whole, rest = np.divmod(weighed, 1000)
            luminance = whole + ((rest > 500) | ((rest == 500) & (whole % 2 == 1)))
            level, tolerance = int(rng.integers(0, 256)), int(rng.integers(0, 50))
            near = (np.abs(rgb - [40, 200, 0]) <= tolerance).all(axis=2)
            for arguments, chosen in [(dict(threshold=level), luminance <= level),
                                      (dict(threshold=level, side="light"), luminance > level),
                                      (dict(colour=0x28C800, tolerance=tolerance), near)]:
                shape = (chosen & opaque)[::-1, 1::2]
                if not shape.any():
                    continue
                measured = vandrel.measure(rgba[::-1, 1::2], sizes=[1, 2, 5], **arguments)
                self.assertEqual(measured["boxes"], vandrel.measure(shape, sizes=[1, 2, 5])["boxes"])


class CountLikeNumpy(unittest.TestCase):
    def test_counts_of_every_grid_over_generated_masks_and_views(self):
        rng = np.random.default_rng(21)
        for _ in range(40):
            base = rng.random((int(rng.integers(1, 90)), int(rng.integers(1, 90)))) < rng.random() ** 3
            mask = [base, base[::2, ::3], base[::-1, ::-2], base.T, base.astype(np.uint8)][int(rng.integers(0, 5))]
            sizes = [int(d) for d in rng.integers(1, 40, size=4)]
            self.assertEqual(vandrel.count(mask, sizes), [offset_boxes(mask, d, 0, 0) for d in sizes])
            per_offset = [[offset_boxes(mask, d, ox, oy) for oy in range(d) for ox in range(d)] for d in sizes]
            self.assertEqual(vandrel.count(mask, sizes, grid="min"), [min(counts) for counts in per_offset])
            for got, d, counts in zip(vandrel.count(mask, sizes, grid="all"), sizes, per_offset):
                self.assertEqual((got["d"], got["topleft"], got["min"], got["max"]), (d, counts[0], min(counts), max(counts)))
                self.assertAlmostEqual(got["mean"], sum(counts) / len(counts))


class RefusesWhatItCannotMeasure(unittest.TestCase):
    def test_wrong_dtype_shape_or_argument_is_a_clear_error(self):
        mask = np.eye(8, dtype=bool)
        for call, error, words in [
            (lambda: vandrel.count(mask.astype(float), [1]), TypeError, "got dtype float64"),
            (lambda: vandrel.measure(np.zeros((8, 8, 3), np.int64)), TypeError, "got dtype int64"),
            (lambda: vandrel.measure(np.zeros((8, 8, 2), np.uint8)), ValueError, "of shape (8, 8, 2)"),
            (lambda: vandrel.count(np.zeros((8, 8, 3), np.uint8), [1]), ValueError, "of shape (8, 8, 3)"),
            (lambda: vandrel.count(np.zeros(8, bool), [1]), ValueError, "of shape (8,)"),
            (lambda: vandrel.count(np.zeros((0, 8), bool), [1]), ValueError, "holds no pixel"),
            (lambda: vandrel.count(mask * np.uint8(255), [1]), ValueError, "holds 255 at row 0, column 0"),
            (lambda: vandrel.count(mask, [0]), ValueError, "sizes: 0 is not from 1 to 65535"),
            (lambda: vandrel.count(mask, [1], grid="middle"), ValueError, "is not one of"),
            (lambda: vandrel.measure(mask, colour="red"), ValueError, "a mask is counted as it is"),
            (lambda: vandrel.measure(mask, fit=(31, 40)), ValueError, "holds 1 of the box sizes"),
            (lambda: vandrel.measure(mask, sizes=[4]), ValueError, "a line needs at least two"),
            (lambda: vandrel.measure(np.zeros((8, 8), bool)), ValueError, "nothing to count"),
            (lambda: vandrel.measure(np.zeros((8, 8, 3), np.uint8), colour="red"), ValueError,
             "The colour #ff0000 occurs nowhere in the picture"),
            (lambda: vandrel.measure(np.zeros((8, 8, 3), np.uint8), threshold=9, colour="red"), ValueError,
             "give it without colour"),
        ]:
            with self.subTest(words=words):
                with self.assertRaises(error) as raised:
                    call()
                self.assertIn(words, str(raised.exception))


if __name__ == "__main__":
    unittest.main()
