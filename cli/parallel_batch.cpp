#include "parallel_batch.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <sstream>

namespace korvel::cli {
namespace {

void PutText(std::ostream& out, const std::string& s) {
    out << s.size() << ' ' << s << '\n';
}

std::string GetText(std::istream& in) {
    size_t size = 0;
    in >> size;
    in.get();
    std::string s(size, '\0');
    in.read(s.data(), static_cast<std::streamsize>(size));
    return s;
}

void PutExtreme(std::ostream& out, const Extreme& e) {
    out << e.value << ' ' << e.depth << '\n';
}

void WriteAll(int fd, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

// A worker process: it reads file indices, one a line, and answers each with
// its serialised result, framed by the byte count on a line of its own.
struct Worker {
    pid_t pid = -1;
    int toWorker = -1;
    int fromWorker = -1;
    std::string received;
    size_t index = 0;  // the file being analysed
    bool busy = false;
};

[[noreturn]] void WorkerLoop(int in, int out, const std::vector<std::string>& files,
                             const std::string& enginePath) {
    std::string pending;
    char buffer[256];
    while (true) {
        const size_t eol = pending.find('\n');
        if (eol == std::string::npos) {
            const ssize_t n = read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) _exit(0);
            pending.append(buffer, static_cast<size_t>(n));
            continue;
        }
        const size_t index = std::stoul(pending.substr(0, eol));
        pending.erase(0, eol + 1);
        const std::string result = SerialiseResult(AnalyseFile(files.at(index), enginePath));
        WriteAll(out, std::to_string(result.size()) + "\n" + result);
    }
}

// Starts a worker; false when the system refuses a pipe or a process.
bool StartWorker(Worker& w, const std::vector<std::string>& files, const std::string& enginePath) {
    int down[2], up[2];
    if (pipe(down) != 0) return false;
    if (pipe(up) != 0) {
        close(down[0]);
        close(down[1]);
        return false;
    }
    std::fflush(nullptr);  // the child must not write the parent's buffered output again
    const pid_t pid = fork();
    if (pid == 0) {
        close(down[1]);
        close(up[0]);
        WorkerLoop(down[0], up[1], files, enginePath);
    }
    close(down[0]);
    close(up[1]);
    if (pid < 0) {
        close(down[1]);
        close(up[0]);
        return false;
    }
    w = Worker{pid, down[1], up[0], {}, 0, false};
    return true;
}

// A complete framed result at the front of `received`, if one has arrived.
bool TakeFrame(std::string& received, std::string& frame) {
    const size_t eol = received.find('\n');
    if (eol == std::string::npos) return false;
    const size_t size = std::stoul(received.substr(0, eol));
    if (received.size() < eol + 1 + size) return false;
    frame = received.substr(eol + 1, size);
    received.erase(0, eol + 1 + size);
    return true;
}

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
        for (const SignedExtremes* e : {&s.deflectionRange, &s.momentRange, &s.shearRange}) {
            PutExtreme(out, e->max);
            PutExtreme(out, e->min);
        }
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
        for (SignedExtremes* e : {&s.deflectionRange, &s.momentRange, &s.shearRange}) {
            in >> e->max.value >> e->max.depth >> e->min.value >> e->min.depth;
        }
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

    std::vector<Worker> workers;
    size_t next = 0;
    const auto fail = [&](size_t index, const std::string& message) {
        results[index].dataFile = files[index];
        results[index].status = RunStatus::Failed;
        results[index].message = message;
        if (progress) progress(results[index], ++done, files.size());
    };
    const auto assign = [&](Worker& w) {
        if (next == files.size()) {
            close(w.toWorker);  // no more work: the worker ends on end of input
            w.toWorker = -1;
            return;
        }
        w.index = next++;
        w.busy = true;
        WriteAll(w.toWorker, std::to_string(w.index) + "\n");
    };
    const size_t count = std::min(files.size(), static_cast<size_t>(jobs));
    for (size_t i = 0; i < count; ++i) {
        Worker w;
        if (!StartWorker(w, files, enginePath)) break;
        workers.push_back(w);
        assign(workers.back());
    }
    if (workers.empty()) {
        while (next < files.size()) fail(next++, "cannot start a worker");
    }

    while (std::any_of(workers.begin(), workers.end(), [](const Worker& w) { return w.busy; })) {
        std::vector<pollfd> polls;
        std::vector<Worker*> polled;
        for (Worker& w : workers) {
            if (!w.busy) continue;
            polls.push_back({w.fromWorker, POLLIN, 0});
            polled.push_back(&w);
        }
        if (poll(polls.data(), polls.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (size_t i = 0; i < polls.size(); ++i) {
            if (!(polls[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            Worker& w = *polled[i];
            char buffer[4096];
            const ssize_t n = read(w.fromWorker, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                // The worker died on this file; a new one takes the rest.
                w.busy = false;
                fail(w.index, "the worker ended without a result");
                close(w.fromWorker);
                if (w.toWorker >= 0) close(w.toWorker);
                if (next < files.size() && StartWorker(w, files, enginePath)) assign(w);
                continue;
            }
            w.received.append(buffer, static_cast<size_t>(n));
            std::string frame;
            if (!TakeFrame(w.received, frame)) continue;
            RunResult r = DeserialiseResult(frame);
            if (r.dataFile.empty()) r.dataFile = files[w.index];
            results[w.index] = r;
            if (progress) progress(r, ++done, files.size());
            w.busy = false;
            assign(w);
        }
    }
    for (Worker& w : workers) {
        if (w.toWorker >= 0) close(w.toWorker);
        close(w.fromWorker);
    }
    while (next < files.size()) fail(next++, "cannot start a worker");
    while (waitpid(-1, nullptr, 0) > 0) {
    }
    return results;
}

const char* StatusName(RunStatus s) {
    switch (s) {
        case RunStatus::Analysed:
            return "analysed";
        case RunStatus::DataError:
            return "data error";
        case RunStatus::Failed:
            break;
    }
    return "failed";
}

std::string SectionJsonFields(const SectionSummary& s) {
    std::ostringstream out;
    out << "{\"iterations\": " << s.iterations << ", \"closed\": " << (s.closed ? "true" : "false")
        << ", \"off_curves\": " << (s.offCurves ? "true" : "false")
        << ", \"exceeded_stations\": " << s.exceededStations
        << ", \"length_unit\": " << JsonString(s.lengthUnit)
        << ", \"force_unit\": " << JsonString(s.forceUnit)
        << ", \"moment_unit\": " << JsonString(s.momentUnit)
        << ", \"max_deflection\": {\"value\": " << JsonNumber(s.deflection.value)
        << ", \"depth\": " << JsonNumber(s.deflection.depth) << "}"
        << ", \"max_moment\": {\"value\": " << JsonNumber(s.moment.value)
        << ", \"depth\": " << JsonNumber(s.moment.depth) << "}"
        << ", \"max_shear\": {\"value\": " << JsonNumber(s.shear.value)
        << ", \"depth\": " << JsonNumber(s.shear.depth) << "}";
    return out.str();
}

namespace {

void ExtremeJson(JsonWriter& json, const char* name, const Extreme& e) {
    json.Key(name).BeginObject().Member("value", e.value).Member("depth", e.depth).EndObject();
}

void SignedJson(JsonWriter& json, const char* name, const SignedExtremes& e) {
    json.Key(name).BeginObject();
    ExtremeJson(json, "max", e.max);
    ExtremeJson(json, "min", e.min);
    json.EndObject();
}

void SectionJson(JsonWriter& json, const RunResult& r, size_t k, const SectionJsonHook& hook) {
    const SectionSummary& s = r.results[k];
    json.BeginObject()
        .Member("section", k + 1)
        .Member("iterations", s.iterations)
        .Member("closed", s.closed)
        .Member("off_curves", s.offCurves)
        .Member("exceeded_stations", s.exceededStations)
        .Member("valid", ResultsValid(s))
        .Member("problems", ResultProblems(s));
    json.Key("units")
        .BeginObject()
        .Member("length", s.lengthUnit)
        .Member("deflection", s.lengthUnit)
        .Member("moment", s.momentUnit)
        .Member("force", s.forceUnit)
        .EndObject();
    json.Member("length_unit", s.lengthUnit)
        .Member("force_unit", s.forceUnit)
        .Member("moment_unit", s.momentUnit);
    ExtremeJson(json, "max_deflection", s.deflection);
    ExtremeJson(json, "max_moment", s.moment);
    ExtremeJson(json, "max_shear", s.shear);
    SignedJson(json, "deflection", s.deflectionRange);
    SignedJson(json, "moment", s.momentRange);
    SignedJson(json, "shear", s.shearRange);
    json.Key("tiebacks").BeginArray();
    for (size_t t = 0; t < s.tiebacks.size(); ++t) {
        const TiebackResult& f = s.tiebacks[t];
        json.BeginObject()
            .Member("tieback", t + 1)
            .Member("station", f.station)
            .Member("depth", f.depth)
            .Member("deflection", f.deflection)
            .Member("force_on_wall", f.forceOnWall)
            .Member("force_per_anchor", f.forcePerAnchor)
            .EndObject();
    }
    json.EndArray();
    if (hook) hook(json, r, k);
    json.EndObject();
}

bool FileValid(const RunResult& r) {
    if (r.status != RunStatus::Analysed) return false;
    for (const SectionSummary& s : r.results) {
        if (!ResultsValid(s)) return false;
    }
    return true;
}

}  // namespace

std::string ResultsJson(const std::vector<RunResult>& results, double wallSeconds,
                        const SectionJsonHook& sectionHook) {
    size_t sections = 0, failures = 0, invalid = 0;
    for (const RunResult& r : results) {
        sections += r.results.size();
        if (r.status != RunStatus::Analysed)
            ++failures;
        else if (!FileValid(r))
            ++invalid;
    }
    JsonWriter json;
    json.BeginObject()
        .Member("schema", "korvel-run results")
        .Member("schema_version", kResultsSchemaVersion)
        .Member("files", results.size())
        .Member("sections", sections)
        .Member("failures", failures)
        .Member("invalid", invalid)
        .Member("wall_seconds", wallSeconds);
    json.Key("results").BeginArray();
    for (const RunResult& r : results) {
        json.BeginObject()
            .Member("file", r.dataFile.string())
            .Member("status", StatusName(r.status))
            .Member("message", r.message)
            .Member("report", r.reportFile.string())
            .Member("valid", FileValid(r));
        json.Key("sections").BeginArray();
        for (size_t k = 0; k < r.results.size(); ++k) SectionJson(json, r, k, sectionHook);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

}  // namespace korvel::cli
