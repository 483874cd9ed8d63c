#pragma once
// The bottom slab result page (any print style but 0, "底版ﾀｲﾌﾟ"): the member page with
// the bottom slab section force diagram ("底版断面力図").

#include <string>

namespace ormavex {

struct AppState;

/// Appends the bottom slab page of case `caseNo` to the current print file of
/// `state.report`, with the format file and style files of `state.dataFolder`.
/// False when the page failed (`reason` says why when given).
bool WriteBottomSlabPage(AppState& state, int caseNo, std::string* reason = nullptr);

} // namespace ormavex
