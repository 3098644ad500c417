// Wrong codes counted per address, for the whole of a collection or a phone scanning: after a few
// the address waits before its next try, longer after each further one, so that a code cannot be
// guessed by trying; a right code does not clear the count.
#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>

namespace collect {

class WrongCodeWaits {
public:
    using Clock = std::function<std::int64_t()>;  // milliseconds, never going back

    // After this many wrong codes from one address (an IPv6 /64), the address is shut out for a
    // second, and after each further one for twice as long as before, up to a minute.
    static constexpr int kFreeWrongCodes = 5;

    explicit WrongCodeWaits(Clock clock = {});

    // How long the client at `address` must still wait before its next try, in milliseconds; 0
    // when it may try now.
    std::int64_t WaitOf(const QString& address) const;
    // A wrong code from `address`.
    void Note(const QString& address);

private:
    struct WrongCodes {
        int count = 0;
        std::int64_t shutUntil = 0;
    };
    Clock clock_;
    QHash<QString, WrongCodes> byGroup_;  // by address group
};

}  // namespace collect
