// Random input for the soak test: dice, and the texts a user might type or
// paste into a box, from plain numbers to thousands of characters of garbage.
#pragma once

#include <QElapsedTimer>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <random>

namespace pendrio::soak {

using Rng = std::mt19937_64;

inline int roll(Rng& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}
inline bool chance(Rng& rng, int percent) {
    return roll(rng, 1, 100) <= percent;
}
template <typename T, std::size_t N> T pickOf(Rng& rng, const T (&items)[N]) {
    return items[roll(rng, 0, int(N) - 1)];
}

// The seed of a session: PENDRIO_SOAK_SEED=<number> repeats one,
// PENDRIO_SOAK_SEED=random draws a fresh one, else `fallback`.
std::uint64_t chosenSeed(std::uint64_t fallback);
// How many actions a session runs: PENDRIO_SOAK_ACTIONS=<number>, else `fallback`.
int chosenActionCount(int fallback);

// Runs a session of `actions` in `locale`, logging the seed, what the
// session went through and how long it took; empty if every check held,
// else what broke, with the seed to repeat it. Session(locale, seed) has
// run(count) and summary().
template <typename Session>
QString RunSession(const QLocale& locale, std::uint64_t seed, std::uint64_t localeSeed,
                   int actions) {
    QLocale::setDefault(locale); // the windows read it when they are made
    qInfo("seed %llu (repeat with PENDRIO_SOAK_SEED=%llu), locale %s, %d actions",
          static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed),
          qPrintable(locale.name()), actions);
    QElapsedTimer clock;
    clock.start();
    Session session(locale, localeSeed);
    const QString problem = session.run(actions);
    qInfo("%s; %lld ms", qPrintable(session.summary()), qint64(clock.elapsed()));
    return problem.isEmpty()
               ? problem
               : QStringLiteral("seed %1, locale %2, %3").arg(seed).arg(locale.name(), problem);
}

// Something a user might type or paste into a box. `point` is the locale's
// decimal separator, `other` the one it does not take.
QString randomText(Rng& rng, const QString& point, const QString& other);

} // namespace pendrio::soak
