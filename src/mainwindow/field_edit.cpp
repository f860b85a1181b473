#include "mainwindow/field_edit.h"

#include "mainwindow/navigation.h"
#include "store/text.h"

namespace core {

bool StoreEditBox(KovaState& s, KovaUi& ui, int box, const std::string& text) {
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return false;
    PageRow& row = s.Main.rows[s.DisplayRows];
    switch (box) {
        case 1:
            record->V1 = text;
            row.v[1] = text;
            break;
        case 2: {
            int16_t value = 0;
            try {
                value = ReadInt16(text);
            } catch (const Overflow16&) {
                ui.Message("The sequence number must lie between -32768 and 32767.", kProgramTitle,
                           Icon::Exclamation);
                return false;
            }
            record->V2 = value;
            row.v[2] = std::to_string(value);
            break;
        }
        case 3:
            record->V3 = text;
            row.v[3] = text;
            break;
        default:
            return false;
    }
    ui.MainChanged();
    return true;
}

void StoreText1(KovaState& s, const std::string& text) {
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return;
    if (record->V8 != text)
        record->V8 = text;
    // The model follows the box, so a later redraw of the window does not put
    // back an older text.
    s.Main.text1 = text;
    s.Main.text1Record = text;
}

}  // namespace core
