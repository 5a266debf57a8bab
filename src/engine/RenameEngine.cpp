#include "engine/RenameEngine.h"

namespace tt {

namespace {

// Stand-ins for the collaborators a front end leaves out: they show nothing,
// never stop and log nothing.
ProgressAndStop g_noProgress;
OperationReport g_noReport;

}  // namespace

RenameEngine::RenameEngine(FileSystem& fs, const EngineFrontEnd& frontEnd)
    : m_fs(fs),
      m_questions(frontEnd.questions),
      m_rows(frontEnd.rows),
      m_progress(frontEnd.progress ? *frontEnd.progress : g_noProgress),
      m_view(frontEnd.view),
      m_report(frontEnd.report ? *frontEnd.report : g_noReport),
      m_settings(frontEnd.settings) {}

std::string RenameEngine::StoredDestination() {
    return m_settings ? m_settings->ReadSettingString("DestinationFolder", "") : std::string();
}

}  // namespace tt
