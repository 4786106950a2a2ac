// Latency of whole client cycles against the engine through FreeTDS db-lib, as the launcher
// meets it: connect and log in, run a query, drain every result, close. 200 cycles one after
// the other, then 50 clients at once; prints median, 99th percentile and the error count.
#include "tests/support/EngineProcess.h"

#include <sybdb.h>
#include <sybfront.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<int> errors{0};

int CountError(DBPROCESS*, int, int, int, char*, char*) {
    ++errors;
    return INT_CANCEL;
}

int CountServerError(DBPROCESS*, DBINT, int, int severity, char*, char*, char*, int) {
    if (severity > 10)
        ++errors;
    return 0;
}

// One cycle; its duration in milliseconds, or a negative value when it failed.
double Cycle(const std::string& server) {
    const auto started = std::chrono::steady_clock::now();
    LOGINREC* login = dblogin();
    DBSETLUSER(login, "sa");
    DBSETLPWD(login, "tulip");
    DBSETLVERSION(login, DBVERSION_74);
    DBPROCESS* process = dbopen(login, server.c_str());
    dbloginfree(login);
    if (process == nullptr)
        return -1;
    bool ok = dbcmd(process, "SELECT name FROM sys.databases") == SUCCEED &&
              dbsqlexec(process) == SUCCEED;
    RETCODE result;
    while (ok && (result = dbresults(process)) != NO_MORE_RESULTS) {
        ok = result == SUCCEED;
        while (ok && dbnextrow(process) != NO_MORE_ROWS) {
        }
    }
    dbclose(process);
    if (!ok)
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
        .count();
}

void Report(const char* what, std::vector<double> latencies, int failed) {
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double fraction) {
        return latencies.empty()
                   ? 0.0
                   : latencies[static_cast<std::size_t>(fraction * (latencies.size() - 1))];
    };
    std::printf("%-32s cycles %3zu  median %7.2f ms  p99 %7.2f ms  errors %d\n", what,
                latencies.size(), at(0.5), at(0.99), failed);
}

} // namespace

int main() {
    testing_support::EngineProcess engine;
    const std::string server = "127.0.0.1:" + std::to_string(engine.Port());
    dbinit();
    dberrhandle(CountError);
    dbmsghandle(CountServerError);

    std::vector<double> sequential;
    int failed = 0;
    for (int i = 0; i < 200; ++i) {
        const double latency = Cycle(server);
        if (latency < 0)
            ++failed;
        else
            sequential.push_back(latency);
    }
    Report("200 sequential cycles", sequential, failed + errors.exchange(0));

    constexpr int clients = 50;
    std::vector<double> concurrent(clients, -1);
    std::barrier start(clients);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            concurrent[i] = Cycle(server);
        });
    for (std::thread& thread : threads)
        thread.join();
    failed = static_cast<int>(
        std::count_if(concurrent.begin(), concurrent.end(), [](double l) { return l < 0; }));
    std::erase_if(concurrent, [](double l) { return l < 0; });
    Report("50 concurrent clients", concurrent, failed + errors.exchange(0));
    dbexit();
    return 0;
}
