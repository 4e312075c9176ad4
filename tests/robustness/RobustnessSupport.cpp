#include "RobustnessSupport.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "ExitCodes.h"

extern char** environ;

namespace robustness {

using namespace testsupport;

namespace {

int sample(int x, int y)
{
    return (x * 7 + y * 13) % 251;
}

void putBigEndian(Bytes& b, std::uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::string fitsCard(const std::string& key, const std::string& value)
{
    std::string card = key;
    card.resize(8, ' ');
    if (!value.empty()) {
        card += "= ";
        card += std::string(value.size() < 20 ? 20 - value.size() : 0, ' ') + value;
    }
    card.resize(80, ' ');
    return card;
}

std::vector<std::string> environmentWith(const std::vector<std::pair<std::string, std::string>>& extra)
{
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        bool replaced = false;
        for (const auto& [key, value] : extra)
            replaced = replaced || std::strncmp(*e, (key + "=").c_str(), key.size() + 1) == 0;
        if (!replaced)
            entries.emplace_back(*e);
    }
    for (const auto& [key, value] : extra)
        entries.push_back(key + "=" + value);
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> p;
    for (auto& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& extra,
            const std::string& folder, const std::string& standardError)
{
    std::vector<std::string> args = argv;
    std::vector<std::string> env = environmentWith(extra);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, standardError.empty() ? "/dev/null" : standardError.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

}  // namespace

Bytes pgmImage(int width, int height)
{
    const std::string header = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes b(header.begin(), header.end());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.push_back(static_cast<unsigned char>(sample(x, y)));
    return b;
}

Bytes bmpImage(int width, int height)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const auto imageSize = static_cast<std::uint32_t>(stride * height);
    Bytes b{'B', 'M'};
    putU32(b, 54 + imageSize);
    putU32(b, 0);
    putU32(b, 54);
    putU32(b, 40);
    putU32(b, static_cast<std::uint32_t>(width));
    putU32(b, static_cast<std::uint32_t>(height));
    putU16(b, 1);
    putU16(b, 24);
    putU32(b, 0);
    putU32(b, imageSize);
    for (int i = 0; i < 4; ++i)
        putU32(b, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                b.push_back(static_cast<unsigned char>(sample(x, y)));
        for (int p = width * 3; p < stride; ++p)
            b.push_back(0);
    }
    return b;
}

Bytes fitsImage(int width, int height)
{
    std::string header = fitsCard("SIMPLE", "T") + fitsCard("BITPIX", "16") + fitsCard("NAXIS", "2") +
                         fitsCard("NAXIS1", std::to_string(width)) + fitsCard("NAXIS2", std::to_string(height)) +
                         fitsCard("END", "");
    header.resize((header.size() + 2879) / 2880 * 2880, ' ');
    Bytes b(header.begin(), header.end());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            putBigEndian(b, static_cast<std::uint32_t>(sample(x, y) * 100), 2);
    b.resize((b.size() + 2879) / 2880 * 2880, 0);
    return b;
}

Bytes ksvImage(int width, int height)
{
    std::vector<std::int32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(sample(x, y));
    const std::string header =
        "KSV V000\r 8\r " + std::to_string(width) + "\r " + std::to_string(height) + "\r 0\r 250\r";
    return makeKsv(header, pixels);
}

const std::vector<ConverterCase>& converterCases()
{
    using namespace ksv;
    static const std::vector<ConverterCase> cases = {
        {"pgm2ksv", true, "in.pgm", "out.ksv", pgmImage, PgmRead, KsvOutputOpen, {KsvWrite, KsvOutputClose}},
        {"bmp2ksv", true, "in.bmp", "out.ksv", bmpImage, BmpRead, KsvOutputOpen, {KsvWrite, KsvOutputClose}},
        {"fit2ksv", true, "in.fits", "out.ksv", fitsImage, FitsRead, KsvOutputOpen, {KsvWrite, KsvOutputClose}},
        {"ksv2pgm", false, "in.ksv", "out.pgm", ksvImage, KsvRead, PgmOutputOpen, {PgmWrite, PgmOutputClose}},
        {"ksv2bmp",
         false,
         "in.ksv",
         "out.bmp",
         ksvImage,
         KsvRead,
         BmpOutputOpen,
         {BmpWrite, BmpOutputClose, BmpFileHeaderWrite, BmpInfoHeaderWrite}},
        // The FITS library refuses to create its file on a device at all.
        {"ksv2fit",
         false,
         "in.ksv",
         "out.fits",
         ksvImage,
         KsvRead,
         FitsCreateFile,
         {FitsWrite, FitsOutputClose, FitsCreateImage, FitsCreateFile}},
    };
    return cases;
}

void PrintTo(const ConverterCase& c, std::ostream* out)
{
    *out << c.name;
}

bool isBuilt(const ConverterCase& c)
{
    return ::access(program(c.name).c_str(), X_OK) == 0;
}

std::vector<std::string> arguments(const ConverterCase& c, const std::string& input, const std::string& output)
{
    // to-KSV: three names, the third ignored; from-KSV: two names. Both report on standard error.
    if (c.toKsv)
        return {program(c.name), input, output, "ignored"};
    return {program(c.name), input, output};
}

bool startStalled(const std::vector<std::string>& argv, pid_t& pid, int& exitCode, const std::string& standardError)
{
    std::string asan = "verify_asan_link_order=0";
    if (const char* current = std::getenv("ASAN_OPTIONS"); current != nullptr && *current != '\0')
        asan = std::string(current) + ":" + asan;
    pid = spawn(argv, {{"LD_PRELOAD", KESTROVA_STALL_SHIM}, {"ASAN_OPTIONS", asan}}, "", standardError);
    int status = 0;
    while (::waitpid(pid, &status, WUNTRACED) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid");
    }
    if (WIFSTOPPED(status))
        return true;
    exitCode = exitCodeOf(status);
    return false;
}

int resume(pid_t pid, int signal)
{
    if (signal != 0)
        ::kill(pid, signal);
    ::kill(pid, SIGCONT);
    int status = 0;
    for (;;) {
        if (::waitpid(pid, &status, 0) < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return exitCodeOf(status);
    }
}

int runIn(const std::string& folder, const std::vector<std::string>& argv,
          const std::vector<std::pair<std::string, std::string>>& environment)
{
    const pid_t pid = spawn(argv, environment, folder, "");
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return exitCodeOf(status);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

}  // namespace robustness
