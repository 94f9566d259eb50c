// The bank's copies from the command line, without a display:
// --backup FILE, --restore FILE and --list-backups.  Each takes the
// program's single-instance lock first, so a running program keeps its
// bank to itself and the command ends with a clear refusal.
#pragma once

#include <QString>
#include <cstdio>

namespace bankcommands {

enum class Command { Backup, Restore, List };

// Runs one command on the bank (seams::bankPath()); messages go to out and
// err.  Returns the exit code: 0 done, 1 failed, 2 the bank is in use.
int run(Command command, const QString &file, std::FILE *out = stdout, std::FILE *err = stderr);

} // namespace bankcommands
