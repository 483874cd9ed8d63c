#pragma once
// The front wall result page (print style 0, "側壁ﾀｲﾌﾟ"): the member page with
// the front wall section force diagram ("前壁断面力図").

#include <string>

namespace ormavex {

struct AppState;

/// Appends the front wall page of case `caseNo` to the current print file of
/// `state.report`, with the format file and style files of `state.dataFolder`.
/// False when the page failed (`reason` says why when given).
bool WriteFrontWallPage(AppState& state, int caseNo, std::string* reason = nullptr);

} // namespace ormavex
