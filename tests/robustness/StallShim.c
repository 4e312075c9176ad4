/* Preloaded into a converter by the robustness tests: once the converter has reserved its
 * output file (the first mkstemp or O_TMPFILE open), its next fread stops the process with
 * SIGSTOP before reading. The test then changes the world (shrinks the input, sends a signal)
 * and lets it go on, at exactly that point of the conversion, without any timing. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/types.h>

static int armed;

static void arm(void)
{
    armed = 1;
}

int mkstemp(char* pattern)
{
    int (*real)(char*) = (int (*)(char*))dlsym(RTLD_NEXT, "mkstemp");
    const int fd = real(pattern);
    if (fd >= 0)
        arm();
    return fd;
}

int mkstemp64(char* pattern)
{
    int (*real)(char*) = (int (*)(char*))dlsym(RTLD_NEXT, "mkstemp64");
    const int fd = real(pattern);
    if (fd >= 0)
        arm();
    return fd;
}

static int openWith(const char* name, const char* path, int flags, va_list rest)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE)
        mode = (mode_t)va_arg(rest, int);
    int (*real)(const char*, int, ...) = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, name);
    const int fd = real(path, flags, mode);
    if (fd >= 0 && (flags & O_TMPFILE) == O_TMPFILE)
        arm();
    return fd;
}

int open(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = openWith("open", path, flags, rest);
    va_end(rest);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = openWith("open64", path, flags, rest);
    va_end(rest);
    return fd;
}

size_t fread(void* buffer, size_t size, size_t count, FILE* stream)
{
    size_t (*real)(void*, size_t, size_t, FILE*) = (size_t(*)(void*, size_t, size_t, FILE*))dlsym(RTLD_NEXT, "fread");
    if (armed) {
        armed = 0;
        raise(SIGSTOP);
    }
    return real(buffer, size, count, stream);
}
