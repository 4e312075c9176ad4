#include "ConverterFrame.h"

#include <climits>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "ConverterMessages.h"
#include "ExitCodes.h"

namespace ksv {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The error file is a text file with CR LF line ends.
std::string withLineEnds(const std::string& text, ErrorChannel channel)
{
    if (channel != ErrorChannel::ErrorFile)
        return text;
    std::string converted;
    converted.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    return converted;
}

// Follows a chain of symbolic links, also one that ends at a name that does not exist yet.
std::string withoutLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
            break;
        const std::string link(buffer, static_cast<std::size_t>(length));
        const auto slash = current.find_last_of('/');
        current = link.front() == '/' || slash == std::string::npos ? link : current.substr(0, slash + 1) + link;
    }
    std::error_code ignored;
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(current, ignored), ignored);
    return resolved.empty() ? current : resolved.string();
}

// True when both names lead to one file: the same name, the same file through a link, or
// hard links to one file (device and inode).
bool sameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    if (a == b || withoutLinks(a) == withoutLinks(b))
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace

ConverterArguments parseConverterArguments(ConverterKind kind, int argc, const char* const* argv)
{
    ConverterArguments arguments;
    const bool toKsv = kind == ConverterKind::ToKsv;
    switch (argc) {
    case 1:
        arguments.input = environmentValue(toKsv ? "HLV_INFN" : "HLV_KSVINFN");
        arguments.output = environmentValue(toKsv ? "HLV_KSVOUTFN" : "HLV_OUTFN");
        arguments.errorFile = environmentValue("HLV_ERROUTFN");
        arguments.channel = ErrorChannel::ErrorFile;
        arguments.countValid = true;
        break;
    case 3:
        if (toKsv)
            break;
        arguments.input = argv[1];
        arguments.output = argv[2];
        arguments.channel = ErrorChannel::StandardError;
        arguments.countValid = true;
        break;
    case 4:
        arguments.input = argv[1];
        arguments.output = argv[2];
        if (toKsv) {
            arguments.channel = ErrorChannel::StandardError;
        } else {
            arguments.errorFile = argv[3];
            arguments.channel = ErrorChannel::ErrorFile;
        }
        arguments.countValid = true;
        break;
    case 5:
        if (!toKsv)
            break;
        arguments.input = argv[1];
        arguments.output = argv[2];
        arguments.errorFile = argv[4];
        arguments.channel = ErrorChannel::ErrorFile;
        arguments.countValid = true;
        break;
    default:
        break;
    }
    return arguments;
}

void fail(int code, std::string libraryReport)
{
    throw ConversionError{code, std::move(libraryReport)};
}

ConverterRun::ConverterRun(ConverterArguments arguments) : arguments_(std::move(arguments))
{
    // An error file that is the input or the output would destroy it: report on standard error.
    if (arguments_.channel == ErrorChannel::ErrorFile &&
        (sameFile(arguments_.errorFile, arguments_.input) || sameFile(arguments_.errorFile, arguments_.output)))
        arguments_.channel = ErrorChannel::StandardError;
    if (arguments_.channel == ErrorChannel::ErrorFile && !arguments_.errorFile.empty())
        errorStream_ = std::fopen(arguments_.errorFile.c_str(), "wb");
}

ConverterRun::~ConverterRun()
{
    output_.abandon();
    if (errorStream_ != nullptr)
        std::fclose(errorStream_);
}

std::FILE* ConverterRun::openInput(const std::string& path, int openCode, int closeCode)
{
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        fail(openCode);
    atCleanup([file](std::string&) { return std::fclose(file) == 0; }, closeCode, false);
    return file;
}

std::FILE* ConverterRun::createOutput(int createCode, int closeCode)
{
    outputCloseCode_ = closeCode;
    if (!output_.create(arguments_.output))
        fail(createCode);
    return output_.stream();
}

std::string ConverterRun::reserveOutput(int createCode, int closeCode)
{
    outputCloseCode_ = closeCode;
    if (!output_.reserve(arguments_.output))
        fail(createCode);
    return output_.writePath();
}

void ConverterRun::atCleanup(std::function<bool(std::string&)> close, int closeCode, bool outputSide)
{
    steps_.push_back({std::move(close), closeCode, outputSide});
}

void ConverterRun::report(int code, const std::string& libraryReport)
{
    std::FILE* stream = nullptr;
    if (arguments_.channel == ErrorChannel::StandardError)
        stream = stderr;
    else if (arguments_.channel == ErrorChannel::ErrorFile)
        stream = errorStream_;
    if (stream == nullptr)
        return;
    std::string text = libraryReport;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    if (const auto message = converterMessage(code))
        text.append(*message);
    text += "\n\n";
    text = withLineEnds(text, arguments_.channel);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int ConverterRun::runCleanup(int exitCode)
{
    for (auto& step : steps_) {
        std::string libraryReport;
        if (step.close(libraryReport))
            continue;
        report(step.code, libraryReport);
        if (step.outputSide && exitCode == NoError)
            exitCode = step.code;
    }
    steps_.clear();
    return exitCode;
}

int ConverterRun::finish(int exitCode)
{
    exitCode = runCleanup(exitCode);
    if (output_.isOpen()) {
        if (exitCode != NoError) {
            output_.abandon();
        } else if (!output_.commit()) {
            exitCode = outputCloseCode_;
            report(exitCode);
        }
    }
    if (errorStream_ != nullptr) {
        std::fclose(errorStream_);
        errorStream_ = nullptr;
        if (exitCode == NoError)
            std::remove(arguments_.errorFile.c_str());
    }
    return exitCode;
}

int runConverter(ConverterKind kind, int argc, char** argv, const std::function<void(ConverterRun&)>& convert)
{
    ConverterArguments arguments = parseConverterArguments(kind, argc, argv);
    if (!arguments.countValid)
        return IncorrectArgumentCount;

    // A converter stopped by a signal takes its unfinished output with it.
    removeTemporaryOnSignals();

    ConverterRun run(std::move(arguments));
    try {
        convert(run);
    } catch (const ConversionError& error) {
        run.report(error.code, error.libraryReport);
        return run.finish(error.code);
    }
    return run.finish(NoError);
}

}  // namespace ksv
