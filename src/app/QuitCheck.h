// The plan check of the "quit" command: today's study against the plan.
#pragma once

#include <QString>

class TDM1;

struct QuitCheck {
    enum Outcome { NoPlan, NotDone, Done, Exceeded };
    Outcome outcome = NoPlan;
    qint64 done = 0;      // answers or minutes done today
    qint64 planned = 0;
};

// Reads tab_plan and today's tab_rz row.  Throws store::DbError, and
// std::invalid_argument for a time text that is not h:m:s.
QuitCheck checkStudyPlan(TDM1 &dm);
