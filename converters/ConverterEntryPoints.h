#pragma once

// Each converter's whole run as a function taking the program's arguments and returning its
// exit code. The programs' main() only calls these; built with KESTROVA_CONVERTER_LIBRARY the
// converter sources leave main() out, so that a test harness can run conversions in-process.

namespace converters {

int pgm2ksv(int argc, char** argv);
int ksv2pgm(int argc, char** argv);
int bmp2ksv(int argc, char** argv);
int ksv2bmp(int argc, char** argv);
int fit2ksv(int argc, char** argv);
int ksv2fit(int argc, char** argv);

}  // namespace converters
