#include "tools/ClassMode.h"

#include "teacher/ClassCsv.h"
#include "teacher/ClassHtml.h"
#include "tools/EvalTexts.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kUnreadLines = 1;
constexpr int kUsageError = 2;
constexpr int kIoFailure = 3;

bool FromStandardInput(const TClassOptions& options) {
    return !options.File || *options.File == "-";
}

void Complain(const std::string& message) {
    std::cerr << "formulon-eval: " << message << '\n';
}

// All the bytes there are to read, or nothing with errno saying why.
std::optional<std::string> ReadAll(int fd) {
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0)
            return bytes;
        else if (errno != EINTR)
            return std::nullopt;
    }
}

std::optional<std::string> ReadInput(const TClassOptions& options) {
    if (FromStandardInput(options)) {
        std::optional<std::string> bytes = ReadAll(STDIN_FILENO);
        if (!bytes)
            Complain(EvalTexts().ReadError);
        return bytes;
    }
    const int fd = open(options.File->c_str(), O_RDONLY | O_CLOEXEC);
    std::optional<std::string> bytes = fd >= 0 ? ReadAll(fd) : std::nullopt;
    const int error = errno;
    if (fd >= 0)
        close(fd);
    if (!bytes)
        Complain(Format(EvalTexts().CannotRead, *options.File) + ": " + FileErrorText(error));
    return bytes;
}

// The report must not take the place of the class file it reports on.
bool ReportOverClass(const TClassOptions& options) {
    struct stat input {
    }, report{};
    return options.Report && !FromStandardInput(options) &&
           stat(options.File->c_str(), &input) == 0 &&
           stat(options.Report->c_str(), &report) == 0 && input.st_dev == report.st_dev &&
           input.st_ino == report.st_ino;
}

// Tells each line that could not be read, with its number; true when any.
bool TellUnreadLines(const std::vector<TMarkedAnswer>& answers, const TClassOptions& options,
                     const TTaskTable& tasks) {
    const TEvalTexts& texts = EvalTexts();
    const std::string file = FromStandardInput(options) ? texts.StandardInput : *options.File;
    bool any = false;
    for (const TMarkedAnswer& answer : answers) {
        if (answer.Read.Problem == TLineProblem::None)
            continue;
        Complain(Format(texts.Line, file) + std::to_string(answer.Read.Number) + ": " +
                 ProblemText(EvalLanguage(), answer.Read, tasks));
        any = true;
    }
    return any;
}

bool WriteReport(const std::string& path, const std::string& html) {
    errno = 0;
    std::ofstream report(path, std::ios::binary | std::ios::trunc);
    if (report && report.write(html.data(), static_cast<std::streamsize>(html.size())) &&
        report.flush())
        return true;
    Complain(Format(EvalTexts().CannotWrite, path) + ": " +
             FileErrorText(errno != 0 ? errno : EIO));
    return false;
}

} // namespace

int MarkClassFile(const TClassOptions& options, const TTaskTable& tasks) {
    if (ReportOverClass(options)) {
        Complain(Format(EvalTexts().ReportOverClass, *options.Report));
        return kUsageError;
    }
    const std::optional<std::string> bytes = ReadInput(options);
    if (!bytes)
        return kIoFailure;
    const std::vector<TMarkedAnswer> answers =
        MarkClass(ReadClassFile(*bytes, options.Encoding, tasks), RightInSchoolMathematics, tasks);
    const TClassTotals totals = CountClass(answers, tasks);
    const bool unread = TellUnreadLines(answers, options, tasks);
    if (options.Report && !WriteReport(*options.Report, ClassHtml(answers, totals, EvalLanguage())))
        return kIoFailure;
    std::cout << ClassCsv(answers, totals, EvalLanguage());
    if (!std::cout.flush()) {
        Complain(EvalTexts().WriteError);
        return kIoFailure;
    }
    return unread ? kUnreadLines : 0;
}
