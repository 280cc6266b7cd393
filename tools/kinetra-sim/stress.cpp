#include "kinetra-sim/stress.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "host/process_probe.h"
#include "kinetra-sim/runner.h"
#include "kinetra-sim/stress_cycle.h"
#include "kinetra-sim/stress_random.h"

namespace kinetra_sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Cycles short enough that even a few seconds hold enough of them to judge the heap.
constexpr milliseconds kShortestCycle{300};
constexpr milliseconds kLongestCycle{1500};

std::string Counts(const StressTotals& totals) {
    std::ostringstream line;
    line << "cycles " << totals.cycles << ", messages " << totals.toPlugin << " in / "
         << totals.toEngine << " out, requests " << totals.requests << ", pushes " << totals.pushes
         << ", audio blocks " << totals.audioBlocks;
    return line.str();
}

// Shows how far the run is on `out` while it lasts: on a terminal one line rewritten in place
// four times a second, otherwise a line after each cycle (a log keeps every one).
class Progress {
public:
    Progress(const StressTotals& totals, std::chrono::seconds duration, std::ostream& out,
             bool terminal)
        : mTotals(totals), mEnd(Clock::now() + duration), mOut(out), mTerminal(terminal) {
        if (mTerminal) {
            mThread = std::thread([this] {
                std::unique_lock lock(mMutex);
                while (!mWake.wait_for(lock, milliseconds(250), [this] { return mDone; })) {
                    const std::string line = Line();
                    mOut << "\r" << line
                         << std::string(mShown > line.size() ? mShown - line.size() : 0, ' ')
                         << std::flush;
                    mShown = line.size();
                }
                mOut << "\r" << std::string(mShown, ' ') << "\r" << std::flush;
            });
        }
    }
    ~Progress() {
        if (mThread.joinable()) {
            {
                std::lock_guard lock(mMutex);
                mDone = true;
            }
            mWake.notify_one();
            mThread.join();
        }
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void CycleDone() {
        if (!mTerminal) {
            mOut << Line() << std::endl;
        }
    }

private:
    std::string Line() const {
        const auto left = std::chrono::duration_cast<std::chrono::seconds>(
            std::max(mEnd - Clock::now(), Clock::duration::zero()));
        return "kinetra-sim stress: " + Counts(mTotals) + ", " + std::to_string(left.count()) +
               " s left";
    }

    const StressTotals& mTotals;
    const Clock::time_point mEnd;
    std::ostream& mOut;
    const bool mTerminal;
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mDone = false;
    std::size_t mShown = 0;
    std::thread mThread;
};

}  // namespace

int RunStress(const StressOptions& options, const std::string& libraryPath, std::ostream& out,
              std::ostream& progressOut) {
    CycleSettings settings;
    settings.library = libraryPath;
    settings.secretMarker = SecretMarker(options.seed);
    settings.length =
        std::clamp<milliseconds>(std::chrono::duration_cast<milliseconds>(options.duration) / 10,
                                 kShortestCycle, kLongestCycle);
    LogCheck log(PrepareLogFolder(), settings.secretMarker);
    HeapTrend heap;
    StressTotals totals;
    std::size_t threadsAfterFirst = 0;
    Broken broken;
    const auto start = Clock::now();
    {
        Progress progress(totals, options.duration, progressOut, options.progressInPlace);
        for (std::uint64_t cycle = 0;
             !broken && (Clock::now() - start < options.duration || cycle < kHeapMinCycles);
             ++cycle) {
            settings.seed = options.seed * 1000003 + cycle;
            settings.abrupt = cycle % 2 == 1;
            const CycleOutcome outcome = RunStressCycle(settings, totals);
            broken = outcome.broken ? outcome.broken : log.CheckNewLines();
            if (cycle == 0) {
                threadsAfterFirst = outcome.threadsAfter;
            } else if (!broken && outcome.threadsAfter > threadsAfterFirst) {
                broken = "thread left running: " + std::to_string(outcome.threadsAfter) +
                         " threads after the unload of cycle " + std::to_string(cycle) + ", " +
                         std::to_string(threadsAfterFirst) + " after the first";
            }
            if (const auto bytes = sim::LiveHeapBytes()) {
                heap.Add(*bytes);
            }
            progress.CycleDone();
            if (broken) {
                out << "kinetra-sim stress: cycle " << cycle << ": " << *broken << std::endl;
            }
        }
    }
    broken = broken ? broken : heap.Check();
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
    out << "kinetra-sim stress: seed " << options.seed << ", " << seconds << " s, "
        << Counts(totals) << ", log lines " << log.Lines() << " (+" << log.Continued()
        << " continued), " << heap.Describe() << ": "
        << (broken ? "FAILED, " + *broken : std::string("every invariant held")) << std::endl;
    if (broken && broken->starts_with("library:")) {
        return 1;
    }
    return broken ? kInvariantBroken : 0;
}

}  // namespace kinetra_sim
