#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzzing harnesses into fuzz/corpus/<harness>/.

The seeds are committed; run this again only to change them. Each seed is a tiny valid (or
nearly valid) file of the kind the harness reads, so that the fuzzer starts inside the format.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(harness, name, data):
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
