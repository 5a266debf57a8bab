#pragma once

// What every benchmark shares: how it was asked to run, and how it reports.
//
//   --quick          smaller work, one run: checks the results and prints the
//                    timings, compares no budget (tools/test runs this)
//   --check-budgets  compares every timing with its budget and fails when one is
//                    over; meant for a benchmark run on its own on a quiet machine
//
// A wrong result always fails. A timing fails only with --check-budgets, so a
// loaded machine never fails a test run.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tt::bench {

// Time taken, by the clock and by this process's threads on a processor (a scan
// reads on threads of its own). On a machine shared with other work the clock also
// counts the waits for a processor; the processor time does not, so its ratios stay
// steady while the clock's wander.
struct Elapsed {
    double wall = 1e9;
    double cpu = 1e9;

    // The better of two runs, figure by figure.
    void KeepBest(const Elapsed& other) {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

class Timer {
  public:
    Timer() : m_wall(std::chrono::steady_clock::now()), m_cpu(ProcessCpu()) {}
    Elapsed Stop() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(),
                ProcessCpu() - m_cpu};
    }

  private:
    static double ProcessCpu() {
        timespec now{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    }

    std::chrono::steady_clock::time_point m_wall;
    double m_cpu;
};

class BenchReport {
  public:
    BenchReport(int argc, char** argv) {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--quick")
                m_quick = true;
            else if (arg == "--check-budgets")
                m_checkBudgets = true;
            else
                m_args.push_back(arg);
        }
    }

    bool quick() const { return m_quick; }
    // The arguments other than the two options.
    const std::vector<std::string>& args() const { return m_args; }

    // Prints a measured figure and its budget: at most `budget` (or at least, when
    // `atLeast`). Compared only with --check-budgets; a quick run prints no budget.
    void Figure(const std::string& what, double value, const char* unit, double budget,
                bool atLeast = false) {
        if (m_quick) {
            std::printf("%s: %.3g%s\n", what.c_str(), value, unit);
            return;
        }
        const bool within = atLeast ? value >= budget : value <= budget;
        std::printf("%s: %.3g%s (budget %s%.3g%s)%s\n", what.c_str(), value, unit,
                    atLeast ? "at least " : "", budget, unit,
                    !m_checkBudgets ? ""
                    : within        ? " ok"
                                    : " OVER BUDGET");
        if (m_checkBudgets && !within)
            ++m_overBudget;
    }

    // A checked result: always counts.
    void Result(const std::string& what, bool correct) {
        std::printf("%s: %s\n", what.c_str(), correct ? "correct" : "WRONG");
        if (!correct)
            ++m_wrong;
    }

    // 0 when every result was right and (when checked) every figure within budget.
    int ExitCode() const {
        if (m_wrong > 0)
            std::printf("%d results WRONG\n", m_wrong);
        if (m_overBudget > 0)
            std::printf("%d figures over budget\n", m_overBudget);
        return m_wrong > 0 || m_overBudget > 0 ? 1 : 0;
    }

  private:
    bool m_quick = false;
    bool m_checkBudgets = false;
    std::vector<std::string> m_args;
    int m_wrong = 0;
    int m_overBudget = 0;
};

}  // namespace tt::bench
