#include "analyses/analysis_commands.h"

#include "analyses/cross_tables.h"
#include "analyses/interrater.h"
#include "analyses/output_file.h"
#include "analyses/range_options.h"
#include "store/open_save.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

bool OpenKov2(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    // Put back on a Cancel, so that the page shown is the set the view mode
    // names and edits land where the user sees them.
    const ShownView before(s);
    const std::string data2Before = s.DataFileName2;
    // The set whose storage data set 2 takes: data set 2 itself, or the
    // filter lines.
    const int16_t replaced = !s.DataFileName2.empty() ? 2 : !s.FilterFileName.empty() ? 3 : 0;
    bool opened = false;
    if (replaced == 0 || SwitchToSetAndAskToSave(s, ui, replaced)) {
        std::optional<std::string> name =
            ChooseFileToOpen(dialog, {"", kDataFilter, "Open Second Interrater Datafile"});
        opened = name && !name->empty() && OpenData2File(s, ui, *name);
    }
    if (!opened) {
        s.DataFileName2 = data2Before;
        before.Restore(s, ui, ViewRestore::Redrawn);
    }
    return opened;
}

void InterraterMenuItem(KovaState& s, KovaUi& ui, int index, FileChooser& dialog,
                        const std::function<void()>& askOptions, const ReportClock& clock) {
    if (s.ViewMode == 3 || s.DataFileName1.empty())
        return;
    s.EpisodeFilling = 0;
    s.DialogCancelled = 0;
    s.Lag = 0;
    if (index == 1) {
        OpenKov2(s, ui, dialog);
        return;
    }
    const bool one = index >= 3 && index <= 9;
    if ((!one && index != 11) || s.DataFileName2.empty())
        return;
    askOptions();
    if (s.DialogCancelled != 0)
        return;
    const int16_t first = one ? static_cast<int16_t>(index - 2) : 1;
    const int16_t last = one ? first : 7;
    const int reportsBefore = s.AnalysisReportsWritten;
    for (int16_t v = first; v <= last; ++v)
        if (!RunInterraterAgreement(s, ui, v, clock))
            return;
    ShowAnalysisFileIfWritten(s, ui, reportsBefore);
}

bool PrepareCrossTables(KovaState& s) {
    if (s.ViewMode != 1 || s.DataFileName1.empty())
        return false;
    s.EpisodeFilling = 0;
    s.EpisodeFillingY = 0;
    s.DialogCancelled = 0;
    return true;
}

std::array<std::string_view, 6> CrossTableVariables(const KovaState& s) {
    std::array<std::string_view, 6> labels;
    for (size_t i = 0; i < labels.size(); ++i)
        labels[i] = s.Varnaam[i + 2];
    return labels;
}

InterraterOptions InterraterPreset(const KovaState& s) {
    InterraterOptions o;
    auto range1 = ShownRangePreset(s.Records1, s.RecordCount1, PlainNumber);
    auto range2 = ShownRangePreset(s.Records2, s.RecordCount2, PlainNumber);
    o.from1 = range1[0];
    o.to1 = range1[1];
    o.from2 = range2[0];
    o.to2 = range2[1];
    o.episodeFilling = s.EpisodeFilling != 0;
    o.tableBased = s.TableBasedCategories != 0;
    // Until an OK has set them, the switches show what a user comparing two
    // coders wants to see: the table and the kappas.
    if (s.InterraterOptionsSet) {
        o.frequencyTable = s.ShowFrequencyTable != 0;
        o.expectedTable = s.ShowExpectedTable != 0;
        o.residualsTable = s.ShowResidualsTable != 0;
        o.categoryKappas = s.ShowCategoryKappas != 0;
        o.agreementKappa = s.ShowAgreementKappa != 0;
    }
    return o;
}

bool ApplyInterraterOptions(KovaState& s, KovaUi& ui, const InterraterOptions& o) {
    int16_t from1 = 0, to1 = 0, from2 = 0, to2 = 0;
    if (!ReadAndMapRange(ui, s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, o.from1,
                         o.to1, from1, to1) ||
        !ReadAndMapRange(ui, s.Records2, s.RecordCount2, s.SelectionShown2 != kFalse, o.from2,
                         o.to2, from2, to2))
        return false;
    s.EpisodeFilling = o.episodeFilling ? 1 : 0;
    s.TableBasedCategories = o.tableBased ? 1 : 0;
    s.ShowFrequencyTable = o.frequencyTable ? 1 : 0;
    s.ShowExpectedTable = o.expectedTable ? 1 : 0;
    s.ShowResidualsTable = o.residualsTable ? 1 : 0;
    s.ShowCategoryKappas = o.categoryKappas ? 1 : 0;
    s.ShowAgreementKappa = o.agreementKappa ? 1 : 0;
    s.InterraterOptionsSet = true;
    s.FromRecord = from1;
    s.ToRecord = to1;
    s.FromRecord2 = from2;
    s.ToRecord2 = to2;
    return true;
}

std::array<std::string, 2> CrossRangePreset(const KovaState& s) {
    return ShownRangePreset(s.Records1, s.RecordCount1, PlainNumber);
}

bool RunCrossTablesFromDialog(KovaState& s, KovaUi& ui, const CrossOptions& o,
                              const ReportClock& clock) {
    int16_t from = 0, to = 0;
    if (!ReadAndMapRange(ui, s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, o.from, o.to,
                         from, to))
        return false;
    if (o.lag < 0 || o.lag > 20) {
        ui.Message("The lag is a whole number from 0 to 20.", "Error", Icon::Exclamation);
        return false;
    }
    if (o.varX < 1 || o.varX > 7 || o.varY < 1 || o.varY > 7) {
        ui.Message("Choose a variable in each list.", "Error", Icon::Exclamation);
        return false;
    }
    s.Lag = o.lag;
    s.EpisodeFilling = o.fillingX ? 1 : 0;
    s.EpisodeFillingY = o.fillingY ? 1 : 0;
    s.TableBasedCategories = o.tableBased ? 1 : 0;
    s.ShowFrequencyTable = o.frequencyTable ? 1 : 0;
    s.ShowExpectedTable = o.expectedTable ? 1 : 0;
    s.ShowResidualsTable = o.residualsTable ? 1 : 0;
    s.FromRecord = from;
    s.ToRecord = to;
    const int reportsBefore = s.AnalysisReportsWritten;
    if (!RunCrossTables(s, ui, static_cast<int16_t>(o.varX), static_cast<int16_t>(o.varY), clock))
        return false;
    ShowAnalysisFileIfWritten(s, ui, reportsBefore);
    return true;
}

}  // namespace core
