// The waits of addresses that sent wrong codes.
#include "collect/wrong_codes.h"

#include <algorithm>
#include <chrono>

#include "platform/http_request.h"

namespace collect {
namespace {

constexpr std::int64_t kFirstShutOutMs = 1000;
constexpr std::int64_t kLongestShutOutMs = 60000;
constexpr int kMaxAddressesRemembered = 4096;

std::int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

WrongCodeWaits::WrongCodeWaits(Clock clock) : clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {}

std::int64_t WrongCodeWaits::WaitOf(const QString& address) const {
    const auto wrong = byGroup_.constFind(platform::AddressGroup(address));
    if (wrong == byGroup_.constEnd()) return 0;
    return std::max<std::int64_t>(0, wrong->shutUntil - clock_());
}

void WrongCodeWaits::Note(const QString& address) {
    const QString group = platform::AddressGroup(address);
    if (byGroup_.size() >= kMaxAddressesRemembered && !byGroup_.contains(group)) {
        // So that many addresses cannot fill memory: those that have not come near the wait are
        // forgotten first, then those not shut out now.
        const std::int64_t now = clock_();
        byGroup_.removeIf([now](const auto& entry) {
            return entry.value().count < kFreeWrongCodes && entry.value().shutUntil <= now;
        });
        if (byGroup_.size() >= kMaxAddressesRemembered) {
            byGroup_.removeIf([now](const auto& entry) { return entry.value().shutUntil <= now; });
        }
    }
    WrongCodes& wrong = byGroup_[group];
    ++wrong.count;
    if (wrong.count >= kFreeWrongCodes) {
        const int doublings = std::min(wrong.count - kFreeWrongCodes, 6);
        wrong.shutUntil = clock_() + std::min(kFirstShutOutMs << doublings, kLongestShutOutMs);
    }
}

}  // namespace collect
