// Appends numbered lines to a results log in a process of its own (ten at
// once, as another user, under a file size limit) and prints whether they
// were all tried, how often a failure was told and the first one.
#include "storage/ResultsLog.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc < 4)
        return 2;
    if (argc > 4) { // the size limit: a write past it fails with EFBIG
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = std::strtoull(argv[4], nullptr, 10);
        const struct rlimit limit { size, size };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
    }
    int told = 0;
    QString first;
    {
        TResultsLog log(argv[1]);
        log.SetFailureHandler(
            [&](const QString& failure) { told++ ? void() : void(first = failure); });
        for (int i = 0; i < std::atoi(argv[2]); ++i)
            log.Append(QByteArray(argv[3]) + ' ' + QByteArray::number(i) + ' ' +
                       QByteArray(100, 'x') + '\n');
        const bool tried = log.Finish(std::chrono::seconds(50));
        std::printf("%s %d %s\n", tried ? "tried" : "gave-up", told, qPrintable(first));
    }
    return 0;
}
