#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzzing harnesses into fuzz/corpus/<harness>/.

The seeds are committed; run this again only to change them. Each seed is a tiny valid (or
nearly valid) file of the kind the harness reads, so that the fuzzer starts inside the format.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(harness, name, data):
    # The main program reads the same KSV files as the from-KSV converters.
    if harness == "ksv_reader":
        put("main_ksv_reader", name, data)
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def ksv(header, pixels, fmt="<i"):
    text = header.encode("ascii")
    return text + bytes(256 - len(text)) + b"".join(struct.pack(fmt, p) for p in pixels)


def ksv_seeds():
    put("ksv_reader", "int8", ksv("KSV V000\r 8\r 3\r 2\r 0\r 200\r", [0, 10, 20, 100, 150, 200]))
    put("ksv_reader", "int16-negative", ksv("KSV V000\r 16\r 2\r 2\r -100\r 100\r", [-100, 0, 50, 100]))
    put("ksv_reader", "int32-wide", ksv("KSV V000\r 32\r 2\r 1\r 0\r 100000\r", [0, 100000]))
    put("ksv_reader", "float", ksv("KSV V000\r -32\r 2\r 2\r -1.500000\r 100.000000\r",
                                   [-1.5, 0.2, 99.0, 100.0], "<f"))
    put("ksv_reader", "float-big", ksv("KSV V000\r -64\r 1\r 2\r 0.000000\r 1000000.000000\r",
                                       [0.0, 1e6], "<f"))
    put("ksv_reader", "lf-header", ksv("KSV V001\n 20\n 1\n 3\n 0\n 65535\n", [0, 300, 65535]))
    put("ksv_reader", "strip-33-rows", ksv("KSV V000\r 8\r 1\r 33\r 0\r 32\r", list(range(33))))
    put("ksv_reader", "short-block", ksv("KSV V000\r 8\r 4\r 4\r 0\r 1\r", [0, 1]))


def pgm_seeds():
    put("pgm_reader", "8bit", b"P5\n3 2\n255\n" + bytes([0, 1, 2, 253, 254, 255]))
    put("pgm_reader", "16bit", b"P5\n2 2\n65535\n" + bytes([0, 0, 1, 0, 255, 255, 0x12, 0x34]))
    put("pgm_reader", "comments", b"# a\nP5\n# b\n2 1\n# c\n255\n" + bytes([7, 9]))
    put("pgm_reader", "max256", b"P5\n1 1\n256\n" + bytes([1, 0]))
    put("pgm_reader", "strip-33-rows", b"P5\n1 33\n255\n" + bytes(range(33)))
    put("pgm_reader", "size-on-magic-line", b"P5 2 1 255\n" + bytes([1, 2]))
    put("pgm_reader", "short-raster", b"P5\n4 4\n255\n" + bytes([1, 2, 3]))


def bmp(width, height, bits, rows, offset=54, info_size=40):
    stride = (width * bits // 8 + 3) // 4 * 4
    raster = b""
    for row in rows:
        data = b"".join(bytes(px) for px in row)
        raster += data + bytes(stride - len(data))
    info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, 0, len(raster), 0, 0, 0, 0)
    info += bytes(info_size - 40)
    gap = bytes(offset - 14 - len(info))
    return struct.pack("<2sIHHI", b"BM", offset + len(raster), 0, 0, offset) + info + gap + raster


def bmp_seeds():
    put("bmp_reader", "24bit-3x2", bmp(3, 2, 24, [[(255, 255, 255), (0, 0, 1), (1, 1, 0)],
                                                 [(10, 20, 30), (0, 0, 0), (9, 9, 9)]]))
    put("bmp_reader", "32bit-2x2", bmp(2, 2, 32, [[(1, 2, 3, 0), (200, 100, 50, 255)],
                                                 [(0, 0, 0, 0), (255, 255, 255, 0)]]))
    put("bmp_reader", "big-info-header", bmp(1, 1, 24, [[(7, 8, 9)]], offset=14 + 124, info_size=124))
    put("bmp_reader", "33-rows", bmp(1, 33, 24, [[(i, i, i)] for i in range(33)]))
    put("bmp_reader", "short-raster", bmp(4, 4, 24, [[(1, 2, 3)]])[:70])


def fits_card(key, value=None):
    if value is None:
        card = key
    elif isinstance(value, bool):
        card = "%-8s= %20s" % (key, "T" if value else "F")
    else:
        card = "%-8s= %20s" % (key, value)
    return card.ljust(80).encode("ascii")


def fits_unit(cards, data=b""):
    header = b"".join(fits_card(*c) for c in cards) + fits_card("END")
    header += b" " * (-len(header) % 2880)
    return header + data + bytes(-len(data) % 2880)


def fits_image(bitpix, axes, values, extra=(), primary=True):
    fmt = {8: "B", 16: "h", 32: "i", 64: "q", -32: "f", -64: "d"}[bitpix]
    cards = [("SIMPLE", True) if primary else ("XTENSION", "'IMAGE   '"), ("BITPIX", bitpix), ("NAXIS", len(axes))]
    cards += [("NAXIS%d" % (i + 1), n) for i, n in enumerate(axes)]
    if not primary:
        cards += [("PCOUNT", 0), ("GCOUNT", 1)]
    cards += list(extra)
    return fits_unit(cards, struct.pack(">%d%s" % (len(values), fmt), *values))


def fits_seeds():
    put("fits_reader", "bitpix8", fits_image(8, [3, 2], [0, 1, 2, 253, 254, 255]))
    put("fits_reader", "bitpix16-unsigned", fits_image(16, [2, 2], [-32768, 0, 100, 32767], [("BZERO", 32768)]))
    put("fits_reader", "bitpix32", fits_image(32, [2, 1], [-5, 2000000000]))
    put("fits_reader", "bitpix64", fits_image(64, [2, 1], [-5, 1 << 40]))
    put("fits_reader", "float", fits_image(-32, [2, 2], [-1.5, 0.2, 99.0, 100.0]))
    put("fits_reader", "double", fits_image(-64, [1, 2], [0.0, 1e300]))
    put("fits_reader", "scaled", fits_image(16, [2, 1], [1, 2], [("BSCALE", 0.5), ("BZERO", 10)]))
    put("fits_reader", "extension", fits_unit([("SIMPLE", True), ("BITPIX", 8), ("NAXIS", 0), ("EXTEND", True)])
        + fits_image(8, [2, 1], [4, 5], primary=False))
    put("fits_reader", "cube", fits_image(8, [1, 1, 2], [1, 2]))
    put("fits_reader", "33-rows", fits_image(8, [1, 33], list(range(33))))


def number_bytes(selector, value):
    return bytes([selector]) + struct.pack("<d", value)


def text_seeds():
    for name, text in [("line", "400, 0.5\r"), ("five", "1.5E+2,0.25,-1E-3,2E-6,0\r\nrest"),
                       ("no-line-end", "400,0.5"), ("lf", "400,0.5\n"), ("six-commas", "1,2,3,4,5,6\r"),
                       ("semicolon", "1;2\r"), ("signs", "1,+-\r")]:
        put("speccal_reader", name, text)
    for name, text in [("defaults", " 1\r 0.02\r 1\r 0.02\r"), ("off", " 0\r 5\r 1\r 40.00\r"),
                       ("crlf", "1\r\n0.5\r\n0\r\n7\r\n"), ("commas", "1,2.5,1,3"), ("short", " 1\r 0.02\r")]:
        put("initialvalues_reader", name, text)
    # Read as a display settings file and as an analysis settings file.
    for name, text in [("display", " 172.80\r 1\r 1\r 0.02\r 20\r 0\r 0.50\r 90\r"),
                       ("display-lf-zoom-text", "abc\n0\n0\n5\n1234\n1\n2.5\n21475E+5\n"),
                       ("analysis", " 1\r 1\r 2\r 1\r 4\r 2\r 1\r 2\r 2\r 4\r 3\r 0\r 1\r 1\r 20\r 0\r kept\r"),
                       ("analysis-thresholds", "0,0,1,1,4,3,1,9,9,9,9,1,1,1,7.5,1,12.5"),
                       ("analysis-wide", " 0\r 1\r 1\r 1\r 5\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r 110\r")]:
        put("settings_reader", name, text)
    for name, text in [("integer", "42"), ("decimal", " -3.25 "), ("exponent", "1.5e-3"), ("big", "1E+39"),
                       ("half", "2.5"), ("int16-edge", "32767.5"), ("not", "+-")]:
        put("numeric_text", name, text)
    for i, value in enumerate([0.0, 2.675, -123456.0, 1e-7, 6.02e23, 99999.5]):
        put("number_format", "value-%d" % i, number_bytes(i % 15, value))
    put("number_format", "any-pattern", number_bytes(200, 12.5) + b"#,##0.0E-00")


if __name__ == "__main__":
    ksv_seeds()
    pgm_seeds()
    text_seeds()
    bmp_seeds()
    fits_seeds()
