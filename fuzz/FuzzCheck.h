#pragma once
// A broken property is a crash, so that the fuzzer keeps the input that broke it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

#include <QByteArray>

// Two byte strings that must be equal; when they are not, where they part is printed first.
inline void fuzzSameBytes(const QByteArray &a, const QByteArray &b, const char *what)
{
    if (a == b)
        return;
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const qsizetype from = at > 40 ? at - 40 : 0;
    std::fprintf(stderr, "%s differ at byte %lld:\n--- %s\n+++ %s\n", what, static_cast<long long>(at),
                 a.mid(from, 120).toPercentEncoding(" =[]").constData(),
                 b.mid(from, 120).toPercentEncoding(" =[]").constData());
    std::abort();
}
