// Appends 200 lines "<tag> <number, 4 digits> <100 x>" to a results log in
// a process of its own, under a file size limit when one is given, and
// prints whether every line was tried, how often a failure was told and
// the first one.
#include "storage/ResultsLog.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

int main(int argc, char** argv) {
    const rlim_t size = argc > 3 && *argv[3] ? std::strtoull(argv[3], nullptr, 10) : RLIM_INFINITY;
    const struct rlimit limit { size, size };
    std::signal(SIGXFSZ, SIG_IGN); // past the limit a write fails with EFBIG
    if (argc < 3 || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    int told = 0;
    QString first;
    TResultsLog log(argv[1]);
    log.SetFailureHandler([&](const QString& failure) { first = told++ ? first : failure; });
    for (int i = 0; i < 200; ++i)
        log.Append(QByteArray(argv[2]) + QString::asprintf(" %04d ", i).toLatin1() +
                   QByteArray(100, 'x') + '\n');
    const bool tried = log.Finish(std::chrono::seconds(50));
    std::printf("%s %d %s\n", tried ? "tried" : "gave-up", told, qPrintable(first));
}
