#include "WorkerPool.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <malloc.h>
#include <optional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "InProcessConverters.h"
#include "WorkerResult.h"
#include "gFileConvert.h"
#include "gFileWorkFolder.h"

namespace kestrova::batch {

namespace {

constexpr std::size_t kIdle = static_cast<std::size_t>(-1);

struct Worker {
    pid_t pid = -1;
    int jobs = -1;     // frame numbers to the worker, one a line
    int results = -1;  // "<length>\n<encoded result>" back
    std::size_t frame = kIdle;
    std::string received;
};

std::string frameFolder(const std::string& workRoot, std::size_t frame)
{
    return workRoot + "/" + std::to_string(frame);
}

// The next frame number from the parent; nothing at the end of the run.
std::optional<std::size_t> readFrameNumber(int fd)
{
    std::string line;
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        if (c == '\n')
            break;
        line += c;
    }
    return static_cast<std::size_t>(std::strtoull(line.c_str(), nullptr, 10));
}

[[noreturn]] void workerLoop(const FrameSettings& shared, const std::string& workRoot, const BatchOptions& options,
                             int jobs, int results)
{
    setInProcessConverterRunner(runConverterInProcess);
    // Frame-sized buffers stay with the worker from one frame to the next: taken from the heap
    // and not given back, the next frame finds its memory mapped already.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 30);
    ::mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    while (const auto frame = readFrameNumber(jobs)) {
        if (*frame >= options.images.size())
            break;
        FrameSettings settings = shared;
        settings.context.workFolder = frameFolder(workRoot, *frame);
        FrameResult result;
        if (::mkdir(settings.context.workFolder.c_str(), 0700) != 0)
            result.messages.push_back("Error - cannot create work folder in " + workRoot);
        else
            result = RunFrame(settings, options.images[*frame], frameOutputsOf(options, options.images[*frame]));
        removeFolder(settings.context.workFolder);
        const std::string bytes = encodeResult(result);
        if (!writeAll(results, std::to_string(bytes.size()) + '\n' + bytes))
            break;
    }
    ::_exit(0);  // never the parent's exit handlers: the work folder is the parent's
}

bool startWorker(const FrameSettings& shared, const std::string& workRoot, const BatchOptions& options,
                 const std::vector<Worker>& others, Worker& worker)
{
    int jobs[2];
    int results[2];
    if (::pipe(jobs) != 0)
        return false;
    if (::pipe(results) != 0) {
        ::close(jobs[0]);
        ::close(jobs[1]);
        return false;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            ::signal(signal, SIG_DFL);
        ::signal(SIGPIPE, SIG_DFL);
        for (const Worker& other : others) {  // only the parent may hold the others' pipes
            ::close(other.jobs);
            ::close(other.results);
        }
        ::close(jobs[1]);
        ::close(results[0]);
        workerLoop(shared, workRoot, options, jobs[0], results[1]);
    }
    ::close(jobs[0]);
    ::close(results[1]);
    if (pid < 0) {
        ::close(jobs[1]);
        ::close(results[0]);
        return false;
    }
    worker = Worker{pid, jobs[1], results[0], kIdle, {}};
    return true;
}

void endWorker(Worker& worker, bool kill)
{
    ::close(worker.jobs);
    if (kill)
        ::kill(worker.pid, SIGTERM);
    ::close(worker.results);
    while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// The complete result at the front of the received bytes, if there is one.
std::optional<FrameResult> takeResult(Worker& worker, bool& broken)
{
    const auto newline = worker.received.find('\n');
    if (newline == std::string::npos)
        return std::nullopt;
    const std::size_t length = std::strtoull(worker.received.c_str(), nullptr, 10);
    if (worker.received.size() - newline - 1 < length)
        return std::nullopt;
    auto result = decodeResult(worker.received.substr(newline + 1, length));
    worker.received.erase(0, newline + 1 + length);
    broken = !result;
    return result;
}

}  // namespace

std::vector<FrameResult> runFrames(const FrameSettings& shared, const std::string& workRoot,
                                   const BatchOptions& options, std::size_t jobs, const FrameEvents& events,
                                   const volatile std::sig_atomic_t& stop)
{
    const std::size_t total = options.images.size();
    std::vector<FrameResult> results(total);
    std::vector<Worker> workers;
    std::size_t next = 0;
    std::size_t done = 0;
    auto finish = [&](std::size_t frame, FrameResult result) {
        results[frame] = std::move(result);
        ++done;
        events.finished(frame, results[frame]);
    };
    auto failWorker = [&](std::size_t index) {
        Worker& worker = workers[index];
        if (worker.frame != kIdle) {
            removeFolder(frameFolder(workRoot, worker.frame));
            FrameResult failure;
            failure.messages.push_back(kWorkerEnded);
            finish(worker.frame, failure);
        }
        endWorker(worker, true);
        workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(index));
    };

    while (done < total && stop == 0) {
        // Every idle worker takes the next frame; workers are started while frames wait.
        while (next < total && workers.size() < jobs) {
            Worker worker;
            if (!startWorker(shared, workRoot, options, workers, worker))
                break;
            workers.push_back(worker);
        }
        if (workers.empty()) {  // no process can be started: the frames left fail
            for (; next < total; ++next)
                finish(next, FrameResult{false, {kWorkerEnded}, {}});
            break;
        }
        for (std::size_t i = 0; i < workers.size() && next < total; ++i) {
            if (workers[i].frame != kIdle)
                continue;
            if (!writeAll(workers[i].jobs, std::to_string(next) + '\n')) {
                failWorker(i--);
                continue;
            }
            workers[i].frame = next;
            events.started(next++);
        }

        std::vector<pollfd> polled;
        for (const Worker& worker : workers)
            polled.push_back(pollfd{worker.results, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), -1) < 0)
            continue;
        for (std::size_t i = workers.size(); i-- > 0;) {
            if (polled[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(workers[i].results, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                failWorker(i);
                continue;
            }
            workers[i].received.append(buffer, static_cast<std::size_t>(got));
            bool broken = false;
            if (auto result = takeResult(workers[i], broken)) {
                const std::size_t frame = workers[i].frame;
                workers[i].frame = kIdle;
                finish(frame, std::move(*result));
            } else if (broken) {
                failWorker(i);
            }
        }
    }
    for (Worker& worker : workers)
        endWorker(worker, stop != 0);
    return results;
}

}  // namespace kestrova::batch
