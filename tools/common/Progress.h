// How far a long job has come, for a window's progress bar. A job reports
// its share done in thousandths through a callback, which may answer false to
// stop the job (it then stops before it writes anything). A job made of steps
// hands each step a Part of its own range, so the steps need not know where
// they sit in the whole.
#pragma once

#include <cstddef>
#include <functional>

namespace quillon::tools {

// The error of a job stopped through its progress.
inline constexpr const char* kStoppedError = "stopped before it was done";

class Progress {
public:
    // Thousandths done so far; false asks the job to stop.
    using Callback = std::function<bool(int permille)>;

    Progress() = default;
    explicit Progress(const Callback* report) : report_(report) {}

    // The share [from, to) of this progress, both in thousandths of it.
    Progress Part(int from, int to) const {
        Progress part(report_);
        part.from_ = Within(from);
        part.to_ = Within(to);
        return part;
    }
    // Reports done of total steps of this part; false when the job should
    // stop. A total of 0 counts as done.
    bool Step(std::size_t done, std::size_t total) const {
        if (!report_ || !*report_) return true;
        const double share = total == 0 || done >= total ? 1.0 : static_cast<double>(done) / total;
        return (*report_)(from_ + static_cast<int>((to_ - from_) * share));
    }

private:
    int Within(int permille) const {
        const int clamped = permille < 0 ? 0 : permille > 1000 ? 1000 : permille;
        return from_ + (to_ - from_) * clamped / 1000;
    }

    const Callback* report_ = nullptr;
    int from_ = 0;
    int to_ = 1000;
};

} // namespace quillon::tools
