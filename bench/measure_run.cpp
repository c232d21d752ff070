// Runs one program to its end and says what it cost, measured from outside:
//   spawn_ns <ns>    the wall clock (CLOCK_REALTIME) just before it starts;
//   (the program's own output)
//   wall_ms <ms>     from just before it starts to its exit;
//   cpu_ms <ms>      the processor time it used, user and system: less
//                    disturbed than wall_ms by other work on the machine;
//   maxrss_kb <kB>   its peak resident memory.
// Starting it directly, rather than through a shell or /usr/bin/time, keeps
// anything else out of the time: a ratio of two programs' times is not
// flattened by a cost both would share. Exits with the program's status.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

extern char** environ;

namespace {

long long Nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    std::printf("spawn_ns %lld\n", Nanoseconds(CLOCK_REALTIME));
    std::fflush(stdout);
    const long long start = Nanoseconds(CLOCK_MONOTONIC);
    pid_t child = 0;
    if (const int error = posix_spawnp(&child, argv[1], nullptr, nullptr, argv + 1, environ)) {
        std::fprintf(stderr, "%s: cannot start %s: %s\n", argv[0], argv[1], std::strerror(error));
        return 127;
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("wait4");
            return 127;
        }
    }
    const long long end = Nanoseconds(CLOCK_MONOTONIC);
    const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("wall_ms %.2f\ncpu_ms %.2f\nmaxrss_kb %ld\n", (end - start) / 1e6, cpu,
                usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
