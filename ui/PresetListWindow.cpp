#include "ui/PresetListWindow.h"

#include "model/MVModel.h"
#include "model/Rhythm.h"
#include "store/FileStoreIterator.h"
#include "ui/ModelTexts.h"
#include "ui/PracticePresets.h"
#include "ui/PresetDialog.h"

namespace {

const LPresetListWindowBase::Column kPresetListCols[] = {{QT_TRANSLATE_NOOP("LPresetListWindowBase", "Name"), 12},
                                                         {QT_TRANSLATE_NOOP("LPresetListWindowBase", "Tempo"), 12},
                                                         {QT_TRANSLATE_NOOP("LPresetListWindowBase", "Measure"), 12},
                                                         {QT_TRANSLATE_NOOP("LPresetListWindowBase", "Subdiv"), 12},
                                                         {QT_TRANSLATE_NOOP("LPresetListWindowBase", "Practice"), 16},
                                                         {"ID", 0}};

const LPresetListWindowBase::Words kPresetWords = {
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Preset"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Select Preset"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Select this preset"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected presets"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Edit the selected preset"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete Presets"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected preset?"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the %1 selected presets?"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase",
                      "%1 of the selected presets could not be deleted. Check that their folder can be written, "
                      "then try again."),
};

}  // namespace

LPresetListWindow::LPresetListWindow(LProfile& profile)
    : LPresetListWindowBase(profile, "PresetList", kPresetWords), m_records(profile) {}

void LPresetListWindow::InitDialog() {
  LPresetListWindowBase::InitDialog();
  setWindowTitle(tr("Presets"));
  Sorter().SetNumeric(kColTempo);
  SetColumns(kPresetListCols, sizeof(kPresetListCols) / sizeof(kPresetListCols[0]));
  FillList();
}

QString LPresetListWindow::TableName(const char* const* names, int index) {
  int count = 0;
  while (names[count]) ++count;
  if (index < 0 || index >= count) return QString::number(index);
  return LModelNameText(names[index]);
}

QString LPresetListWindow::MeasureText(const LRecord& rec, int index) {
  if (index < 0 || index >= LMeasure::kLegacyCount) return QString::number(index);
  return QString::fromStdString(LReadRhythm(rec, index).Describe());
}

void LPresetListWindow::FillList() {
  RefillList([this] {
    for (LDataStoreListIterator<LFileStoreDataStore, LUserPreset> it(m_records); it.IsValid(); it.Next()) {
      const LPresetValues v = ReadPresetValues(it.Record());
      AddRow({QString::fromStdString(it->GetString(preset_field::kName)), QString::asprintf("%d", v.tempo),
              MeasureText(it.Record(), v.measureIndex), TableName(LMVModel::GetSubDivNames(), v.subdiv),
              LPracticePresetText(it.Record()), QString::fromStdString(it->Key())});
    }
  });
}

void LPresetListWindow::CmProperties() {
  const std::string key = CurrentKey();
  if (key.empty()) return;
  LUserPreset rec;
  if (!m_records.Open(rec, key)) return;
  const std::string name = rec.GetString(preset_field::kName);
  const LPresetValues values = ReadPresetValues(rec);
  m_editedRhythm = LReadRhythm(rec, values.measureIndex);
  rec.Invalidate();
  EditPreset(key, name, values);
  FillList();
}

void LPresetListWindow::EditPreset(const std::string& key, const std::string& name, const LPresetValues& values) {
  LPresetDialog dialog(Profile(), name.c_str(), values.tempo, values.measureIndex, values.subdiv, this);
  dialog.SetRecordKey(key);
  // The dialog names the preset's own custom measure, and keeps it.
  dialog.SetRhythm(m_editedRhythm);
  dialog.Open(this);
}

bool LPresetListWindow::DeleteRecord(const std::string& key) { return m_records.Delete(key); }
