#pragma once

#include "engine/EngineQuestions.h"
#include "engine/ListViewHooks.h"
#include "engine/OperationReport.h"
#include "engine/SettingSource.h"
#include "engine/SongRows.h"
#include "engine/WorkProgress.h"

namespace tt {

// The engine's collaborators in a front end: the questions and the rows are
// needed; the rest may be left out (no progress shown, no view to refresh, no
// report, the settings' defaults).
struct EngineFrontEnd {
    EngineQuestions& questions;
    SongRows& rows;
    ProgressAndStop* progress = nullptr;
    ListViewHooks* view = nullptr;
    OperationReport* report = nullptr;
    SettingSource* settings = nullptr;
};

}  // namespace tt
