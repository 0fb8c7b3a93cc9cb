#pragma once
// Layout helpers of the edits that hold a button inside their right end.
namespace platform {
class TCustomEdit;
}

namespace edit {

// The text area from (left, top) to rightGap pixels short of the client's right edge,
// one pixel below the client's bottom (EM_SETRECTNP).
void SetTextArea(platform::TCustomEdit* e, int left, int top, int rightGap);
// The font's character height plus a quarter of the smaller of it and the screen font's.
int EditMinHeight(platform::TCustomEdit* e);

}  // namespace edit
