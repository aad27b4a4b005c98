#include "ui/SoundSchemeListWindow.h"

#include "store/FileStoreIterator.h"
#include "ui/SoundSchemeSaveDialog.h"

namespace {

const LPresetListWindowBase::Column kSoundSchemeListCols[] = {{QT_TRANSLATE_NOOP("LPresetListWindowBase", "Name"), 20},
                                                              {"ID", 0}};

const LPresetListWindowBase::Words kSchemeWords = {
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Scheme"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Select Scheme"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Select this sound scheme"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected sound schemes"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Edit the selected sound scheme"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete Sound Schemes"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected sound scheme?"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the %1 selected sound schemes?"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase",
                      "%1 of the selected sound schemes could not be deleted. Check that their folder can be "
                      "written, then try again."),
};

}  // namespace

LSoundSchemeListWindow::LSoundSchemeListWindow(LProfile& profile)
    : LPresetListWindowBase(profile, "SoundSchemeList", kSchemeWords), m_records(profile) {}

void LSoundSchemeListWindow::InitDialog() {
  LPresetListWindowBase::InitDialog();
  setWindowTitle(tr("Sound Schemes"));
  SetColumns(kSoundSchemeListCols, sizeof(kSoundSchemeListCols) / sizeof(kSoundSchemeListCols[0]));
  FillList();
}

void LSoundSchemeListWindow::FillList() {
  RefillList([this] {
    for (LDataStoreListIterator<LFileStoreDataStore, LSoundSchemeRecord> it(m_records); it.IsValid(); it.Next())
      AddRow({QString::fromStdString(it->GetString(scheme_field::kName)), QString::fromStdString(it->Key())});
  });
}

void LSoundSchemeListWindow::CmProperties() {
  const std::string key = CurrentKey();
  if (key.empty()) return;
  LSoundSchemeRecord rec;
  if (!m_records.Open(rec, key)) return;
  const std::string name = rec.GetString(scheme_field::kName);
  rec.Invalidate();
  EditScheme(key, name);
  FillList();
}

void LSoundSchemeListWindow::EditScheme(const std::string& key, const std::string& name) {
  LSoundSchemeSaveDialog dialog(Profile(), name.c_str(), this);
  dialog.SetRecordKey(key);
  dialog.Open(this);
}

bool LSoundSchemeListWindow::DeleteRecord(const std::string& key) { return m_records.Delete(key); }
