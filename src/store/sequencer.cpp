// Kept apart from the other record operations: it is the one that redraws the
// page.
#include "store/record_edit.h"
#include "store/view.h"

namespace core {

void RenumberSequencer(KovaState& s, KovaUi& ui) {
    if (s.ViewMode != 1) {
        return;
    }
    NumberSequence(s.Records1, s.RecordCount1);
    int16_t current = s.CurrentRecord1;
    RefreshRecordList1(s, ui, current);
}

}  // namespace core
