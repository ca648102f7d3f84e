// Starts the real program's start-up and the bare baseline alternately as whole processes, on
// the offscreen platform with an empty settings folder, and compares median wall time and peak
// memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms;
    long maxRssKiB;
};

Run runOnce(const std::string& program) {
    char folder[] = "/tmp/kestrelon-startup-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    // Qt's notes on the offscreen platform would come between the figures: they are shown only
    // when the run fails.
    const std::string log = std::string(folder) + "/stderr.log";
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", folder, 1);
        setenv("XDG_RUNTIME_DIR", folder, 1);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0)
            dup2(fd, STDERR_FILENO);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    const bool failed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    if (failed) {
        std::ifstream messages(log);
        std::fprintf(stderr, "%s",
                     std::string(std::istreambuf_iterator<char>(messages), {}).c_str());
    }
    std::error_code removeError;
    std::filesystem::remove_all(folder, removeError);
    if (removeError)
        std::fprintf(stderr, "could not remove %s: %s\n", folder, removeError.message().c_str());
    if (failed) {
        std::fprintf(stderr, "%s failed (status %d)\n", program.c_str(), status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s KESTRELON_STARTUP BARE_STARTUP [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 21;
    runOnce(argv[1]); // warm the file cache for both
    runOnce(argv[2]);
    std::vector<double> appMs, bareMs;
    std::vector<long> appKiB, bareKiB;
    for (int i = 0; i < runs; ++i) {
        const Run app = runOnce(argv[1]);
        const Run bare = runOnce(argv[2]);
        appMs.push_back(app.ms);
        bareMs.push_back(bare.ms);
        appKiB.push_back(app.maxRssKiB);
        bareKiB.push_back(bare.maxRssKiB);
    }
    const double timeRatio = median(appMs) / median(bareMs);
    const double memRatio = double(median(appKiB)) / double(median(bareKiB));
    std::printf("start-up to first paint, median of %d runs each\n", runs);
    std::printf("  kestrelon   %8.1f ms  %7ld KiB peak\n", median(appMs), median(appKiB));
    std::printf("  bare window %8.1f ms  %7ld KiB peak\n", median(bareMs), median(bareKiB));
    std::printf("  ratio       %8.2f x (goal <= 1.30)  %5.2f x (goal <= 1.20)\n", timeRatio,
                memRatio);
    return 0;
}
