#include "mainwindow/field_edit.h"

#include "mainwindow/navigation.h"
#include "store/record_edit.h"
#include "store/text.h"

namespace core {

bool StoreEditBox(KovaState& s, KovaUi& ui, int box, const std::string& text) {
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr || box < 1 || box > 3)
        return false;
    int16_t value = 0;
    FieldGrowth growth;
    if (box == 2) {
        try {
            value = ReadInt16(text);
        } catch (const Overflow16&) {
            ui.Message("The sequence number must lie between -32768 and 32767.", kProgramTitle,
                       Icon::Exclamation);
            return false;
        }
        growth.Number(*record, value);
    } else {
        growth.Field(*record, box, text);
    }
    if (!FitsFieldWrite(s, ui, s.ViewMode, growth))
        return false;
    PageRow& row = s.Main.rows[s.DisplayRows];
    if (box == 2) {
        record->V2 = value;
        row.v[2] = std::to_string(value);
    } else {
        *TextField(*record, box) = text;
        row.v[box] = text;
    }
    ui.MainChanged();
    return true;
}

bool StoreText1(KovaState& s, KovaUi& ui, const std::string& text) {
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return true;
    if (record->V8 != text) {
        FieldGrowth growth;
        growth.Field(*record, 8, text);
        if (!FitsTextBoxWrite(s, ui, growth.bytes))
            return false;
        record->V8 = text;
    }
    // The model follows the box, so a later redraw of the window does not put
    // back an older text.
    s.Main.text1 = text;
    s.Main.text1Record = text;
    return true;
}

}  // namespace core
