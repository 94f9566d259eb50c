// The demo question bank: a deterministic, fictional bank for five
// editions that follows every rule of the bank's data, used beside the
// program, by tests and (scaled up) by benchmarks.
#pragma once

#include <QString>

namespace demobank {

struct Options {
    // Total number of questions wanted; 0 = the ordinary demo size.  A
    // larger number scales every group up while keeping every rule.
    int questions = 0;
    quint32 seed = 20261209;
};

// Writes a complete bank at path (which must not exist yet).  Throws
// store::DbError with the engine's text on failure.
void generate(const QString &path, const Options &options = {});

} // namespace demobank
