#include "parallel_batch.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <sstream>

namespace korvel::cli {
namespace {

void PutText(std::ostream& out, const std::string& s) { out << s.size() << ' ' << s << '\n'; }

std::string GetText(std::istream& in) {
    size_t size = 0;
    in >> size;
    in.get();
    std::string s(size, '\0');
    in.read(s.data(), static_cast<std::streamsize>(size));
    return s;
}

void PutExtreme(std::ostream& out, const Extreme& e) { out << e.value << ' ' << e.depth << '\n'; }

void WriteAll(int fd, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

std::string Escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

const char* StatusName(RunStatus s) {
    switch (s) {
        case RunStatus::Analysed: return "analysed";
        case RunStatus::DataError: return "data error";
        case RunStatus::Failed: break;
    }
    return "failed";
}

std::string JsonNumber(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
}

// A running worker: its pipe and the index of its file.
struct Worker {
    int fd;
    size_t index;
    std::string received;
};

}  // namespace

std::string SerialiseResult(const RunResult& r) {
    std::ostringstream out;
    out.precision(17);
    PutText(out, r.dataFile.string());
    out << static_cast<int>(r.status) << ' ' << r.sections << '\n';
    PutText(out, r.message);
    PutText(out, r.reportFile.string());
    out << r.results.size() << '\n';
    for (const SectionSummary& s : r.results) {
        out << s.iterations << ' ' << s.closed << ' ' << s.offCurves << ' ' << s.exceededStations
            << '\n';
        PutExtreme(out, s.deflection);
        PutExtreme(out, s.moment);
        PutExtreme(out, s.shear);
        PutText(out, s.lengthUnit);
        PutText(out, s.forceUnit);
        PutText(out, s.momentUnit);
    }
    return out.str();
}

RunResult DeserialiseResult(const std::string& text) {
    std::istringstream in(text);
    RunResult r;
    r.dataFile = GetText(in);
    int status = static_cast<int>(RunStatus::Failed);
    in >> status >> r.sections;
    r.status = static_cast<RunStatus>(status);
    r.message = GetText(in);
    r.reportFile = GetText(in);
    size_t count = 0;
    in >> count;
    for (size_t i = 0; i < count && in; ++i) {
        SectionSummary s;
        in >> s.iterations >> s.closed >> s.offCurves >> s.exceededStations;
        in >> s.deflection.value >> s.deflection.depth >> s.moment.value >> s.moment.depth >>
            s.shear.value >> s.shear.depth;
        s.lengthUnit = GetText(in);
        s.forceUnit = GetText(in);
        s.momentUnit = GetText(in);
        r.results.push_back(s);
    }
    if (!in) {
        r.status = RunStatus::Failed;
        r.message = "the worker's result could not be read";
    }
    return r;
}

std::vector<RunResult> AnalyseFiles(const std::vector<std::string>& files,
                                    const std::string& enginePath, int jobs,
                                    const ProgressCallback& progress) {
    std::vector<RunResult> results(files.size());
    size_t done = 0;
    if (jobs <= 1) {
        for (size_t i = 0; i < files.size(); ++i) {
            results[i] = AnalyseFile(files[i], enginePath);
            if (progress) progress(results[i], ++done, files.size());
        }
        return results;
    }

    std::fflush(nullptr);  // children must not write the parent's buffered output again
    std::vector<Worker> running;
    size_t next = 0;
    const auto finish = [&](Worker& w) {
        close(w.fd);
        RunResult r = DeserialiseResult(w.received);
        if (r.dataFile.empty()) {
            r.dataFile = files[w.index];
            r.status = RunStatus::Failed;
            if (r.message.empty()) r.message = "the worker ended without a result";
        }
        results[w.index] = r;
        if (progress) progress(r, ++done, files.size());
    };
    while (next < files.size() || !running.empty()) {
        while (next < files.size() && static_cast<int>(running.size()) < jobs) {
            int fds[2];
            if (pipe(fds) != 0) {
                results[next].dataFile = files[next];
                results[next].message = "cannot start a worker";
                if (progress) progress(results[next], ++done, files.size());
                ++next;
                continue;
            }
            const pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                WriteAll(fds[1], SerialiseResult(AnalyseFile(files[next], enginePath)));
                close(fds[1]);
                _exit(0);
            }
            close(fds[1]);
            if (pid < 0) {
                close(fds[0]);
                results[next].dataFile = files[next];
                results[next].message = "cannot start a worker";
                if (progress) progress(results[next], ++done, files.size());
            } else {
                running.push_back({fds[0], next, {}});
            }
            ++next;
        }
        if (running.empty()) continue;

        std::vector<pollfd> polls;
        for (const Worker& w : running) polls.push_back({w.fd, POLLIN, 0});
        if (poll(polls.data(), polls.size(), -1) < 0 && errno != EINTR) break;
        for (size_t i = running.size(); i-- > 0;) {
            if (!(polls[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[4096];
            const ssize_t n = read(running[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                running[i].received.append(buffer, static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            finish(running[i]);
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    while (waitpid(-1, nullptr, 0) > 0) {
    }
    return results;
}

std::string ResultsJson(const std::vector<RunResult>& results, double wallSeconds) {
    size_t sections = 0, failures = 0;
    for (const RunResult& r : results) {
        sections += r.results.size();
        if (r.status != RunStatus::Analysed) ++failures;
    }
    std::ostringstream out;
    out << "{\n  \"files\": " << results.size() << ",\n  \"sections\": " << sections
        << ",\n  \"failures\": " << failures << ",\n  \"wall_seconds\": " << JsonNumber(wallSeconds)
        << ",\n  \"results\": [";
    for (size_t i = 0; i < results.size(); ++i) {
        const RunResult& r = results[i];
        out << (i ? "," : "") << "\n    {\"file\": \"" << Escape(r.dataFile.string())
            << "\", \"status\": \"" << StatusName(r.status) << "\", \"message\": \""
            << Escape(r.message) << "\", \"report\": \"" << Escape(r.reportFile.string())
            << "\", \"sections\": [";
        for (size_t k = 0; k < r.results.size(); ++k) {
            const SectionSummary& s = r.results[k];
            out << (k ? "," : "") << "\n      {\"iterations\": " << s.iterations
                << ", \"closed\": " << (s.closed ? "true" : "false")
                << ", \"off_curves\": " << (s.offCurves ? "true" : "false")
                << ", \"exceeded_stations\": " << s.exceededStations << ", \"length_unit\": \""
                << Escape(s.lengthUnit) << "\", \"force_unit\": \"" << Escape(s.forceUnit)
                << "\", \"moment_unit\": \"" << Escape(s.momentUnit) << "\""
                << ", \"max_deflection\": {\"value\": " << JsonNumber(s.deflection.value)
                << ", \"depth\": " << JsonNumber(s.deflection.depth) << "}"
                << ", \"max_moment\": {\"value\": " << JsonNumber(s.moment.value)
                << ", \"depth\": " << JsonNumber(s.moment.depth) << "}"
                << ", \"max_shear\": {\"value\": " << JsonNumber(s.shear.value)
                << ", \"depth\": " << JsonNumber(s.shear.depth) << "}}";
        }
        out << (r.results.empty() ? "]}" : "\n    ]}");
    }
    out << "\n  ]\n}\n";
    return out.str();
}

}  // namespace korvel::cli
