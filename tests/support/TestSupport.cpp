#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {

TempDir::TempDir()
{
    std::string base = std::filesystem::temp_directory_path().string() + "/kestrova-test-XXXXXX";
    if (::mkdtemp(base.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = base;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Folders made read-only by a test must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& path)
{
    const Bytes b = readBytes(path);
    return std::string(b.begin(), b.end());
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void writeText(const std::string& path, const std::string& text)
{
    writeBytes(path, Bytes(text.begin(), text.end()));
}

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> listFolder(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string binDir()
{
    return KESTROVA_BIN_DIR;
}

std::string program(const std::string& name)
{
    return binDir() + "/" + name;
}

RunResult run(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra,
              bool replaceEnvironment)
{
    std::map<std::string, std::string> environment;
    if (!replaceEnvironment) {
        for (char** e = environ; *e != nullptr; ++e) {
            const char* eq = std::strchr(*e, '=');
            if (eq != nullptr)
                environment[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
        }
    }
    for (const auto& [k, v] : extra)
        environment[k] = v;

    std::vector<std::string> envStrings;
    for (const auto& [k, v] : environment)
        envStrings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& s : args)
        argp.push_back(s.data());
    argp.push_back(nullptr);

    int errPipe[2];
    int outPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    pid_t pid = 0;
    RunResult result;
    const int rc = ::posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(errPipe[1]);
    ::close(outPipe[1]);
    if (rc != 0) {
        ::close(errPipe[0]);
        ::close(outPipe[0]);
        return result;
    }
    // Read both pipes until they close, so a chatty program never blocks on a full pipe.
    pollfd fds[2] = {{errPipe[0], POLLIN, 0}, {outPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? result.standardError : result.standardOutput).append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.exitCode = 128 + WTERMSIG(status);
    return result;
}

void putU16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

void putU32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::uint32_t getU32(const Bytes& b, std::size_t offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | b.at(offset + static_cast<std::size_t>(i));
    return v;
}

namespace {

template <typename T>
Bytes makeKsvOf(const std::string& headerText, const std::vector<T>& pixels)
{
    Bytes b(headerText.begin(), headerText.end());
    b.resize(256, 0);
    const auto* p = reinterpret_cast<const unsigned char*>(pixels.data());
    b.insert(b.end(), p, p + pixels.size() * 4);
    return b;
}

template <typename T>
std::vector<T> ksvPixelsOf(const Bytes& file)
{
    std::vector<T> values((file.size() - 256) / 4);
    std::memcpy(values.data(), file.data() + 256, values.size() * 4);
    return values;
}

}  // namespace

Bytes makeKsv(const std::string& headerText, const std::vector<std::int32_t>& pixels)
{
    return makeKsvOf(headerText, pixels);
}

Bytes makeKsvFloat(const std::string& headerText, const std::vector<float>& pixels)
{
    return makeKsvOf(headerText, pixels);
}

std::vector<std::int32_t> ksvIntPixels(const Bytes& file)
{
    return ksvPixelsOf<std::int32_t>(file);
}

std::vector<float> ksvFloatPixels(const Bytes& file)
{
    return ksvPixelsOf<float>(file);
}

std::string ksvHeaderText(const Bytes& file)
{
    std::string text;
    for (std::size_t i = 0; i < file.size() && i < 256 && file[i] != 0; ++i)
        text += static_cast<char>(file[i]);
    return text;
}

namespace {

bool processGroupRuns(int group)
{
    for (const std::string& name : listFolder("/proc")) {
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat("/proc/" + name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        std::istringstream fields(line.substr(line.rfind(')') + 1));
        char state = 0;
        long parent = 0;
        long processGroup = 0;
        if (fields >> state >> parent >> processGroup && processGroup == group && state != 'Z' && state != 'X')
            return true;
    }
    return false;
}

}  // namespace

bool processGroupEnds(int group)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (!processGroupRuns(group))
            return true;
        ::usleep(10000);
    }
    return false;
}

}  // namespace testsupport
